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

// "Built" and "Label" follow the string table's text.
std::string infoTextFrom(StringResources& strings) {
    std::string text = strings.load(ids::infoTextString, infoStringCapacity);
    if (text.size() > infoStringCapacity - 1) {
        text.resize(infoStringCapacity - 1);
    }
    text += "\nBuilt :";
    text += __DATE__;
    text += "::";
    text += __TIME__;
    text += "\nLabel: ";
    text += releaseLabel(releaseKeyword);
    return text;
}
}  // namespace

MQMainView::MQMainView(Platform& platform, RecentStore& recentStore)
    : userWait_(platform.messageBoxes, platform.fileDialogs),
      platform_{userWait_,         platform.files,       userWait_,
                platform.strings,  platform.caseFolding, platform.clock,
                platform.settings, platform.random,      platform.recovery},
      recovery_(platform_),
      dueCards_(platform.settings),
      progress_(dueCards_, platform.clock),
      cardFile_(platform_),
      activeCard_(std::make_shared<Card>()),
      infoCaption_(std::string("Mnemoquill Info; ") + versionText),
      infoText_(infoTextFrom(platform_.strings)),
      recentFiles_(recentStore, platform.caseFolding, platform_.messageBoxes),
      direction_(platform.settings, platform.random),
      saving_(platform_, cardFile_, view_, recovery_, features_,
              [this](DialogPort& dialog, int box, const CardRef& shown) {
                  takeOpenedDeck(dialog, box, shown);
              }) {
    view_.currentCard = activeCard_;
    // The recovery record reads a command's changes before the history takes them.
    features_.attach(recovery_);
    features_.attach(undo_);
    features_.attach(dueCards_);
    features_.attach(progress_);
}

void MQMainView::onInitDialog(DialogPort& dialog) {
    initCardView(view_, dialog);
    disableCardButtons(dialog);
    disableGetNewCard(dialog);
    disableBoxRadios(dialog);
    disableEditNavigateMenus(dialog);
    dialog.enableMenuItem(ids::saveAsItem, false);
    undo_.showState(dialog);
    recentFiles_.load(dialog);
    dueCards_.load();
    dialog.checkMenuItem(ids::dueOnlyItem, false);
    direction_.load();
    dialog.checkMenuRadioItem(ids::questionFirstItem, ids::bothWaysItem,
                              DrillDirection::menuItem(direction_.choice()));
}

void MQMainView::bringToFront(DialogPort& dialog, const CardRef& card) {
    view_.currentCard = card;
    direction_.turn(view_);
    showCard(view_, dialog);
    features_.cardShown(dialog, view_);
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
