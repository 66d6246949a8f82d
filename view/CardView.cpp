#include "view/CardView.h"

#include "platform/WinConstants.h"
#include "view/ControlIds.h"

namespace {
const char showCaption[] = "&Show";
const char infoCaption[] = "&Info";

constexpr int firstBoxRadio = ids::box1Radio;
constexpr int lastBoxRadio = ids::box5Radio;

void setBoxRadiosEnabled(DialogPort& dialog, bool enable) {
    for (int id = firstBoxRadio; id <= lastBoxRadio; ++id) {
        dialog.enableControl(id, enable);
    }
}

void setPanesReadOnly(DialogPort& dialog, bool readOnly) {
    dialog.setReadOnly(ids::questionPane, readOnly);
    dialog.setReadOnly(ids::answerPane, readOnly);
}
}  // namespace

CardFace CardView::faceIn(int pane) const {
    return pane == ids::questionPane ? faces().upper : faces().lower(answerShown);
}

bool isControlEnabled(DialogPort& dialog, int id) {
    // Command ids arrive with the notification code in the high word.
    return dialog.isControlEnabled(id & 0xFFFF);
}

void disableCardButtons(DialogPort& dialog) {
    dialog.enableControl(ids::backButton, false);
    dialog.enableControl(ids::moveButton, false);
    dialog.enableControl(ids::showButton, false);
    dialog.enableControl(ids::nextButton, false);
    dialog.enableMenuItem(ids::previousItem, false);
}

void disableMoveButton(DialogPort& dialog) { dialog.enableControl(ids::moveButton, false); }

void disableBackButton(DialogPort& dialog) { dialog.enableControl(ids::backButton, false); }

void enableBackButton(DialogPort& dialog) {
    // Back stays off while editing: it would send the card being edited away.
    if (!isEditMode(dialog)) {
        dialog.enableControl(ids::backButton, true);
    }
}

void enableCardButtons(DialogPort& dialog) {
    if (!isEditMode(dialog)) {
        dialog.enableControl(ids::moveButton, true);
        dialog.enableMenuItem(ids::insertItem, false);
        dialog.enableMenuItem(ids::deleteItem, false);
    }
    dialog.enableControl(ids::nextButton, true);
    dialog.enableControl(ids::showButton, true);
    dialog.enableMenuItem(ids::previousItem, true);
}

void enableGetNewCard(DialogPort& dialog) {
    dialog.enableMenuItem(ids::getNewCardItem, true);
    dialog.drawMenuBar();
}

void disableGetNewCard(DialogPort& dialog) {
    dialog.enableMenuItem(ids::getNewCardItem, false);
    dialog.drawMenuBar();
}

void enableEditNavigateMenus(DialogPort& dialog) {
    dialog.enableMenuPopup(ids::editPopupPosition, true);
    dialog.enableMenuPopup(ids::navigatePopupPosition, true);
    dialog.drawMenuBar();
}

void disableEditNavigateMenus(DialogPort& dialog) {
    dialog.enableMenuPopup(ids::editPopupPosition, false);
    dialog.enableMenuPopup(ids::navigatePopupPosition, false);
    dialog.drawMenuBar();
}

void clearCardPanes(DialogPort& dialog) {
    dialog.setControlText(ids::questionPane, "");
    dialog.setControlText(ids::answerPane, "");
    dialog.setControlText(ids::showButton, showCaption);
}

void initCardView(CardView& view, DialogPort& dialog) {
    dialog.enableMenuItem(ids::insertItem, false);
    dialog.enableMenuItem(ids::deleteItem, false);
    dialog.enableMenuItem(ids::previousItem, false);
    dialog.setCheck(ids::box1Radio, true);
    dialog.enableControl(ids::backButton, false);
    showCard(view, dialog);
}

void showCard(CardView& view, DialogPort& dialog) {
    view.answerShown = false;
    for (const int pane : {ids::questionPane, ids::answerPane}) {
        dialog.setControlText(pane, std::string(faceText(*view.currentCard, view.faceIn(pane))));
    }
    dialog.setControlText(ids::showButton, showCaption);
}

void toggleAnswerInfo(CardView& view, DialogPort& dialog) {
    view.answerShown = !view.answerShown;
    dialog.setControlText(ids::answerPane,
                          std::string(faceText(*view.currentCard, view.faceIn(ids::answerPane))));
    dialog.setControlText(ids::showButton, view.answerShown ? infoCaption : showCaption);
}

void showNoCards(DialogPort& dialog) {
    dialog.setControlText(ids::questionPane, "");
    dialog.setControlText(ids::answerPane, "no cards.");
}

void clickBox1(DialogPort& dialog) { dialog.click(ids::box1Radio); }

void disableBoxRadios(DialogPort& dialog) { setBoxRadiosEnabled(dialog, false); }

void enableBoxRadios(DialogPort& dialog) { setBoxRadiosEnabled(dialog, true); }

void selectBoxRadio(DialogPort& dialog, int id) {
    for (int radio = firstBoxRadio; radio <= lastBoxRadio; ++radio) {
        dialog.setCheck(radio, false);
    }
    dialog.setPushed(id, false);
    dialog.setCheck(id, true);
}

int getSelectedBox(DialogPort& dialog) {
    for (int radio = firstBoxRadio; radio <= lastBoxRadio; ++radio) {
        if (dialog.isChecked(radio)) {
            return radio - firstBoxRadio + 1;
        }
    }
    if (dialog.isMenuItemChecked(ids::box0Item)) {
        return 0;
    }
    if (dialog.isMenuItemChecked(ids::box6Item)) {
        return 6;
    }
    return -1;
}

void setControlText(DialogPort& dialog, int id, const std::string& text) {
    dialog.setControlText(id, text);
}

void keepTypedText(CardView& view, DialogPort& dialog) {
    if (isEditMode(dialog)) {
        commitCardEdits(view, dialog);
    }
}

void commitCardEdits(CardView& view, DialogPort& dialog) {
    // Only real changes are written, so a card's changed flag means what it says.
    Card& card = *view.currentCard;
    for (const int pane : {ids::questionPane, ids::answerPane}) {
        if (!dialog.isModified(pane)) {
            continue;
        }
        const std::string text = dialog.controlText(pane);
        const CardFace face = view.faceIn(pane);
        if (text != faceText(card, face)) {
            setFaceText(card, face, text);
        }
    }
}

void toggleEditMode(DialogPort& dialog, MessageBoxes& boxes) {
    if (isEditMode(dialog)) {
        dialog.checkMenuItem(ids::editItem, false);
        setPanesReadOnly(dialog, true);
        dialog.enableMenuItem(ids::insertItem, false);
        dialog.enableMenuItem(ids::deleteItem, false);
        return;
    }
    dialog.checkMenuItem(ids::editItem, true);
    dialog.enableMenuItem(ids::insertItem, true);
    dialog.enableMenuItem(ids::deleteItem, true);
    setPanesReadOnly(dialog, false);
    dialog.enableControl(ids::moveButton, false);
    dialog.enableControl(ids::backButton, false);
    boxes.show(dialog.window(), "Switch off by clicking edit again.", "Edit Mode:", MB_OK);
    dialog.setFocus(ids::questionPane);
}

bool isEditMode(DialogPort& dialog) { return dialog.isMenuItemChecked(ids::editItem); }

void uncheckMenuBoxes(DialogPort& dialog) {
    dialog.checkMenuItem(ids::box0Item, false);
    dialog.checkMenuItem(ids::box6Item, false);
}

void checkMenuBox0(DialogPort& dialog) {
    dialog.checkMenuItem(ids::box0Item, true);
    dialog.setFocus(ids::questionPane);
}

void checkMenuBox6(DialogPort& dialog) {
    dialog.checkMenuItem(ids::box6Item, true);
    dialog.setFocus(ids::questionPane);
}

void markSelectedBox(DialogPort& dialog, int commandId) {
    uncheckMenuBoxes(dialog);
    selectBoxRadio(dialog, commandId);
    if (commandId == ids::box0Item) {
        checkMenuBox0(dialog);
    } else if (commandId == ids::box6Item) {
        checkMenuBox6(dialog);
    }
}

void enableButtonsForBox(DialogPort& dialog, int box, bool found) {
    const bool menuBox = box == 0 || box == CardBoxes::lastBox;
    if (found) {
        enableCardButtons(dialog);
        // Back has nowhere to send a card that is in box 1 or not yet drawn.
        if (box <= 1) {
            disableBackButton(dialog);
        } else {
            enableBackButton(dialog);
        }
        if (box == CardBoxes::lastBox) {
            disableMoveButton(dialog);
        }
        if (menuBox) {
            disableGetNewCard(dialog);
        }
    } else if (!menuBox) {
        enableGetNewCard(dialog);
    }
}

void enableFileCommands(DialogPort& dialog) {
    enableEditNavigateMenus(dialog);
    enableBoxRadios(dialog);
    dialog.enableMenuItem(ids::saveAsItem, true);
}
