#pragma once
#include <optional>
#include <string>
#include <utility>

#include "cardfile/CardFile.h"
#include "model/CardBoxes.h"
#include "platform/Platform.h"
#include "platform/RecentStore.h"
#include "view/CardView.h"
#include "view/CommandRecorder.h"
#include "view/DialogPort.h"
#include "view/DrillDirection.h"
#include "view/DueCards.h"
#include "view/Feature.h"
#include "view/ProgressFeature.h"
#include "view/RecentFilesMenu.h"
#include "view/RecoveryKeeper.h"
#include "view/RecoveryOffer.h"
#include "view/SaveQuestions.h"
#include "view/UndoFeature.h"
#include "view/UserWait.h"

// The controller behind the main dialog: one per run, alive until the process ends.
// Every handler is given the dialog it acts on. It keeps the commands and their
// wiring; a feature that follows the commands (undo, the recovery record, the due
// counts, the Progress window) attaches to their moments (view/Feature.h).
class MQMainView {
public:
    MQMainView(Platform& platform, RecentStore& recentStore);

    void onInitDialog(DialogPort& dialog);

    // Learning commands.
    void onShow(DialogPort& dialog);
    void onNext(DialogPort& dialog);
    void onPrevious(DialogPort& dialog);
    void onMove(DialogPort& dialog);
    void onBack(DialogPort& dialog);
    void onGetNewCard(DialogPort& dialog);
    void onSelectBox(DialogPort& dialog, int commandId);

    // Editing and file commands.
    void onEdit(DialogPort& dialog);
    void onInsert(DialogPort& dialog);
    void onDelete(DialogPort& dialog);
    void onNew(DialogPort& dialog);
    void onOpen(DialogPort& dialog);
    void onSave(DialogPort& dialog);
    void onSaveAs(DialogPort& dialog);
    void onInfo(DialogPort& dialog);
    // Edit > Undo and Redo, told apart by `commandId`.
    void onUndoRedo(DialogPort& dialog, int commandId);
    void onFind(DialogPort& dialog);
    void onFindNext(DialogPort& dialog);
    void onDueOnly(DialogPort& dialog);
    // Navigate > Question First, Answer First or Both Ways.
    void onDirection(DialogPort& dialog, int commandId);
    void onSchedule(DialogPort& dialog);
    void onProgress(DialogPort& dialog);
    // The platform's periodic tick: a new day changes what is due.
    void onDayTick(DialogPort& dialog);

    // A feature from outside the core attaches after the core's own (view/Feature.h).
    void attach(Feature& feature) { features_.attach(feature); }

    // Once at start-up, before a card file given to the program opens: offers to
    // bring back the changes of a run that did not end normally.
    void offerRecovery(DialogPort& dialog);
    // The recovery record's tick, at most 2 s apart: its entries go to the disk.
    void onRecoveryTick() { recovery_.tick(); }
    // The program became active again: a card file that another program changed
    // opens anew when the deck holds no unsaved changes (its next save asks if it
    // does).
    void onActivated(DialogPort& dialog);

    // Every command runs inside one: what it changed in the deck becomes a step
    // that Undo takes back, or navigation that goes back with the last step. Given
    // a walk, it ends, while Due Cards Only is on, on a due card of the selected
    // box (view/DueCards.h) before its changes are taken.
    class Command {
    public:
        Command(MQMainView& view, DialogPort& dialog, std::optional<DueWalk> walk = std::nullopt);
        ~Command();
        Command(const Command&) = delete;
        Command& operator=(const Command&) = delete;

    private:
        MQMainView& view_;
        DialogPort& dialog_;
        std::optional<DueWalk> walk_;
    };

    // File > 1 to 4.
    void onRecentFile(DialogPort& dialog, int commandId);

    // A card file named on the command line, by a second start or by a drop; of
    // several given before one opens, the last, which the user asked for last.
    void giveDeck(std::string path) { givenDeck_ = std::move(path); }
    // Opens the card file given as Open opens the file chosen. True while it has
    // to wait for a box or file dialog of a command to go: then ask again.
    bool openGivenDeck(DialogPort& dialog);

    // Closing the dialog or the main window: the save question, then true when the
    // program may end. A save the user asked for that failed keeps it open, and so
    // does a close that arrives while a question is still up.
    bool onClose(DialogPort& dialog);

    // A box or file dialog of a command is up; commands the user gives now are
    // dropped.
    bool waitingForUser() const { return userWait_.waiting(); }

    const CardFile& cardFile() const { return cardFile_; }
    const CardBoxes* deck() const { return deck_; }
    const CardRef& activeCard() const { return activeCard_; }
    const CardView& view() const { return view_; }
    const RecoveryKeeper& recovery() const { return recovery_; }

private:
    // Shows `card` the way round it is drilled, its answer hidden.
    void bringToFront(DialogPort& dialog, const CardRef& card);
    void refreshCounts(DialogPort& dialog);
    // While Due Cards Only is on, shows a due card (see DueCards::turnToDueCard).
    void walkToDueCard(DialogPort& dialog, DueWalk walk);
    // Open and New take the card file's deck: nothing may refer to the old one's
    // cards any more, and the new one starts with nothing to undo.
    void takeDeck(DialogPort& dialog);
    // Open, question first, for a file named otherwise than in the Open dialog.
    void openNamedDeck(DialogPort& dialog, const std::string& path);
    // What Open does once a card file has been read, however it was named; then,
    // for a deck that replaced one the user was learning in, the same box and card.
    void takeOpenedDeck(DialogPort& dialog, int box, const CardRef& shown);

    UserWait userWait_;
    Platform platform_;
    // The version of a changed card file last opened on activation.
    std::optional<FileStamp> reloadTried_;
    // The features, attached in the constructor in this order.
    Features features_;
    CommandRecorder command_{features_};
    RecoveryKeeper recovery_;
    UndoFeature undo_{command_.replayLog()};
    DueCards dueCards_;
    ProgressFeature progress_;
    CardView view_;
    CardFile cardFile_;
    CardBoxes* deck_ = nullptr;
    CardRef activeCard_;
    std::string infoCaption_;
    std::string infoText_;
    std::string findText_;
    RecentFilesMenu recentFiles_;
    std::optional<std::string> givenDeck_;
    DrillDirection direction_;
    SaveQuestions saving_;
};
