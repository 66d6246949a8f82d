#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "fakes/FakeCaseFolding.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialog.h"
#include "fakes/FakeFileDialogs.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMessageBoxes.h"
#include "fakes/FakeRandom.h"
#include "fakes/FakeRecentStore.h"
#include "fakes/FakeRecoveryPlace.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeStrings.h"
#include "platform/Platform.h"
#include "view/CommandDispatch.h"
#include "view/ControlIds.h"
#include "view/MQMainView.h"

// Remembers where the keyboard focus was while each box was up, and lets a test
// act (as an impatient user would) while a box is up.
class BoxesSeeingFocus : public FakeMessageBoxes {
public:
    explicit BoxesSeeingFocus(const FakeDialog& dialog) : dialog_(dialog) {}
    int show(WindowRef owner, const std::string& text, const char* caption,
             unsigned type) override {
        focusDuringBox.push_back(dialog_.focus);
        if (whileShown) whileShown(text);
        return FakeMessageBoxes::show(owner, text, caption, type);
    }
    std::vector<int> focusDuringBox;
    std::function<void(const std::string& text)> whileShown;

private:
    const FakeDialog& dialog_;
};

// One card of a card file; its texts are derived from its name.
struct FileCard {
    int box;
    std::string name;
};

inline std::string cardFileText(std::initializer_list<FileCard> cards) {
    std::string text;
    for (const FileCard& c : cards) {
        text += "<C>\r\n<S>" + std::to_string(c.box) + "</S>\r\n<Q>" + c.name + "?</Q>\r\n<A>" +
                c.name + "!</A>\r\n<I>" + c.name + ".</I>\r\n</C>\r\n";
    }
    return text;
}

// A controller on a freshly created dialog; clicks come back as commands.
class ViewTest : public ::testing::Test {
protected:
    static constexpr const char* deckPath = "C:\\cards\\deck.mqf";

    static FakeStrings stringTable() {
        FakeStrings table;
        table.table[ids::infoTextString] = "Mnemoquill\nFuer weitere Hilfe lesen sie Liesmich.";
        table.table[ids::noNewCardString] = "Es kann keine neue Karte gefunden werden.";
        return table;
    }

    ViewTest() {
        dialog.commandSink = [this](int id) { dispatchCommand(view, dialog, id); };
        view.onInitDialog(dialog);
    }

    CommandOutcome press(int id) { return dispatchCommand(view, dialog, id); }

    // Opens `text` as a card file through the Open dialog.
    void open(const std::string& text, const std::string& path = deckPath) {
        files.files[path] = text;
        fileDialogs.openWillChoose(path);
        press(ids::openItem);
    }

    std::string question() const { return dialog.text(ids::questionPane); }
    std::string answerPane() const { return dialog.text(ids::answerPane); }
    std::string count(int box) const { return dialog.text(ids::box1Count + box - 1); }
    std::vector<std::string> questionsIn(int box) const {
        std::vector<std::string> questions;
        for (const CardRef& card : view.deck()->box(box))
            questions.emplace_back(card->getQuestion());
        return questions;
    }
    // Whether Back, Move, Show and Next can be pressed.
    std::vector<bool> cardButtons() const {
        return {dialog.enabled(ids::backButton), dialog.enabled(ids::moveButton),
                dialog.enabled(ids::showButton), dialog.enabled(ids::nextButton)};
    }

    FakeDialog dialog;
    BoxesSeeingFocus boxes{dialog};
    FakeFileSystem files;
    FakeFileDialogs fileDialogs;
    FakeStrings strings = stringTable();
    FakeCaseFolding caseFolding;
    FakeRecentStore recentStore;
    FakeClock clock;
    FakeSettingsStore settings;
    FakeRandom random;
    FakeRecoveryPlace recovery{files};
    Platform platform{boxes, files,    fileDialogs, strings, caseFolding,
                      clock, settings, random,      recovery};
    MQMainView view{platform, recentStore};
};

inline const std::vector<bool> allOff{false, false, false, false};
