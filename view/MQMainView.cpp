#include "view/MQMainView.h"

#include <memory>
#include <optional>
#include <string_view>

#include "platform/MQMessage.h"
#include "platform/WinConstants.h"
#include "view/ControlIds.h"

namespace {
// The release label comes from the version-control keyword, so a tagged checkout
// names itself.
constexpr std::string_view releaseKeyword = "$Name: V_0_0_5_4_BBETA $";
constexpr char versionText[] = "0.0.5.4 BETA";
// The string table entry is loaded the way the platform's 260-byte buffer takes it.
constexpr std::size_t infoStringCapacity = 260;

// From the keyword's first blank on, less the closing " $".
std::string releaseLabel(std::string_view keyword) {
    const std::size_t blank = keyword.find(' ');
    if (blank == std::string_view::npos || keyword.size() - blank < 2) {
        return std::string();
    }
    return std::string(keyword.substr(blank, keyword.size() - blank - 2));
}

bool holdsAnyCard(const CardBoxes& deck) {
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        if (deck.count(box) > 0) {
            return true;
        }
    }
    return false;
}
}  // namespace

MQMainView::MQMainView(Platform& platform, RecentStore& recentStore)
    : userWait_(platform.messageBoxes, platform.fileDialogs),
      platform_{userWait_,         platform.files,       userWait_,
                platform.strings,  platform.caseFolding, platform.clock,
                platform.settings, platform.random,      platform.recovery},
      recovery_(platform_),
      cardFile_(platform_),
      recentFiles_(recentStore, platform.caseFolding),
      dueCards_(platform.settings),
      direction_(platform.settings, platform.random) {
    view_.answerShown = 0;
    history_.setReplayLog(&replayLog_);
    takeEmptyActiveCard();
    buildInfoTexts();
}

void MQMainView::buildInfoTexts() {
    infoText_ = platform_.strings.load(ids::infoTextString, infoStringCapacity);
    if (infoText_.size() > infoStringCapacity - 1) {
        infoText_.resize(infoStringCapacity - 1);
    }
    infoText_ += "\nBuilt :";
    infoText_ += __DATE__;
    infoText_ += "::";
    infoText_ += __TIME__;
    infoText_ += "\nLabel: ";
    infoText_ += releaseLabel(releaseKeyword);

    infoCaption_ = "Mnemoquill Info; ";
    infoCaption_ += versionText;
}

void MQMainView::takeEmptyActiveCard() {
    activeCard_ = std::make_shared<Card>();
    activeCard_->setInit(0);
    view_.currentCard = activeCard_;
}

void MQMainView::onInitDialog(DialogPort& dialog) {
    initCardView(view_, dialog);
    disableCardButtons(dialog);
    disableGetNewCard(dialog);
    disableBoxRadios(dialog);
    disableEditNavigateMenus(dialog);
    dialog.enableMenuItem(ids::saveAsItem, false);
    showUndoState(dialog);
    recentFiles_.load();
    showRecentFiles(dialog, true, 0);
    dueCards_.load();
    dialog.checkMenuItem(ids::dueOnlyItem, false);
    direction_.load();
    dialog.checkMenuRadioItem(ids::questionFirstItem, ids::bothWaysItem,
                              DrillDirection::menuItem(direction_.choice()));
}

void MQMainView::rememberCardFile(DialogPort& dialog) {
    ErrorCode error = 0;
    const std::optional<std::string>& name = cardFile_.fileName();
    const bool changed = name && recentFiles_.add(*name, error);
    showRecentFiles(dialog, changed, error);
}

void MQMainView::forgetCardFile(DialogPort& dialog, const std::string& path) {
    ErrorCode error = 0;
    const bool changed = recentFiles_.remove(path, error);
    showRecentFiles(dialog, changed, error);
}

void MQMainView::showRecentFiles(DialogPort& dialog, bool changed, ErrorCode error) {
    if (changed) {
        dialog.showRecentFiles(recentFiles_.menuLabels());
        dialog.drawMenuBar();
    }
    // The list still serves this run and no card is at stake, so one box a run
    // says it will be lost; one at every open would only nag.
    if (error == 0 || recentStoreFailureShown_) {
        return;
    }
    recentStoreFailureShown_ = true;
    showError(platform_.messageBoxes, "The recent card files can't be kept",
              static_cast<std::int32_t>(error));
}

void MQMainView::enableFileCommands(DialogPort& dialog) {
    enableEditNavigateMenus(dialog);
    enableBoxRadios(dialog);
    dialog.enableMenuItem(ids::saveAsItem, true);
}

void MQMainView::showActiveCard(DialogPort& dialog) {
    view_.currentCard = activeCard_;
    showCurrentCard(dialog);
}

void MQMainView::showCurrentCard(DialogPort& dialog) {
    if (directionDrawnFor_.lock() != view_.currentCard) {
        view_.direction = direction_.directionForCard();
        directionDrawnFor_ = view_.currentCard;
    }
    showCard(view_, dialog);
}

void MQMainView::refreshCounts(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    for (int box = 1; box <= 5; ++box) {
        setControlText(dialog, ids::box1Count + box - 1, std::to_string(deck_->count(box)));
    }
    dueCards_.show(dialog, *deck_, platform_.clock.today());
}

bool MQMainView::offerToSaveBeforeReplacing(DialogPort& dialog) {
    // Any card counts, also one inserted into a deck that started empty: the reader's
    // hasCards flag would let such a deck go without asking.
    const CardBoxes* deck = cardFile_.deck();
    if (!cardFile_.hasFile() || deck == nullptr || !holdsAnyCard(*deck)) {
        return true;
    }
    const int answer = platform_.messageBoxes.show(dialog.window(), "Save CardFile?", "Save ?",
                                                   MB_YESNO | MB_ICONQUESTION);
    return answer != IDYES || saveWithEdits(dialog);
}

void MQMainView::keepTypedText(DialogPort& dialog) {
    if (isEditMode(dialog) == 1) {
        commitCardEdits(view_, dialog);
    }
}

bool MQMainView::saveWithEdits(DialogPort& dialog) {
    keepTypedText(dialog);
    if (!cardFile_.save(dialog)) {
        return false;
    }
    recovery_.restart();
    return true;
}
