#include "platform/WinConstants.h"
#include "view/ControlIds.h"
#include "view/FindCard.h"
#include "view/MQMainView.h"

void MQMainView::onFind(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    std::string text = findText_;
    if (!userWait_.whileAsking([&] { return dialog.askFindText(text); }) || text.empty()) {
        return;
    }
    findText_ = text;
    onFindNext(dialog);
}

void MQMainView::onFindNext(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    if (findText_.empty()) {
        onFind(dialog);
        return;
    }
    // What was typed counts as the card's text, as Next would store it.
    keepTypedText(view_, dialog);
    const int box = getSelectedBox(dialog);
    const Card* shown = activeCard_->isInit() ? view_.currentCard.get() : nullptr;
    const auto found = findCard(*deck_, box, shown, findText_, platform_.caseFolding);
    if (!found) {
        platform_.messageBoxes.show(dialog.window(), "Cannot find \"" + findText_ + "\".",
                                    "Mnemoquill", MB_OK | MB_ICONINFORMATION);
        return;
    }
    onSelectBox(dialog, ids::box0Item + found->box);
    deck_->turnTo(found->box, found->index, activeCard_);
    bringToFront(dialog, activeCard_);
}
