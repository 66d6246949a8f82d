#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "keyboard/AccelManager.h"
#include "platform/WinConstants.h"

namespace {

namespace fs = std::filesystem;

const std::string noSuchFile = "no-such-dir-for-accels/accels.txt";

struct Message {
    unsigned message;
    std::uintptr_t wParam;
};

bool operator==(const Message& a, const Message& b) {
    return a.message == b.message && a.wParam == b.wParam;
}

std::ostream& operator<<(std::ostream& out, const Message& m) {
    return out << "{0x" << std::hex << m.message << ", " << std::dec << m.wParam << "}";
}

// A manager whose table was read from `text`; its trace line is kept out of the test log.
AccelManager fromText(const std::string& text) {
    testing::internal::CaptureStdout();
    AccelManager manager(nullptr, noSuchFile);
    testing::internal::GetCapturedStdout();
    std::istringstream in(text);
    manager.readAccelText(in);
    return manager;
}

Message send(AccelManager& manager, unsigned message, std::uintptr_t wParam) {
    manager.filterMessage(message, wParam);
    return {message, wParam};
}

Message keyDown(AccelManager& manager, std::uintptr_t key) {
    return send(manager, WM_KEYDOWN, key);
}

const Message unchangedS{WM_KEYDOWN, 'S'};
constexpr unsigned vkF4 = 115;

TEST(AccelManager, CtrlSBecomesTheCharacterGivenByNumberOrByCharacter) {
    for (const std::string value : {"115", "s"}) {
        SCOPED_TRACE(value);
        AccelManager manager = fromText("FCONTROL :: S :: " + value + "\n");
        ASSERT_EQ(manager.entryCount(), 1);

        EXPECT_EQ(keyDown(manager, 'S'), unchangedS);  // no modifier yet
        EXPECT_EQ(keyDown(manager, VK_CONTROL), (Message{WM_KEYDOWN, VK_CONTROL}));
        EXPECT_EQ(send(manager, WM_CHAR, 'S'), (Message{WM_CHAR, 'S'}));  // not a key-down
        EXPECT_EQ(keyDown(manager, 'S'), (Message{WM_CHAR, 's'}));
    }
}

TEST(AccelManager, ValueWordsTakeTheirNumberOrElseTheirFirstCharacter) {
    AccelManager manager = fromText(
        ":: A :: 0\n"       // number 0: the character '0'
        ":: B :: 7\n"       // a control character by number
        ":: C :: 65599\n"   // kept in 16 bits
        ":: D :: -1\n"      // negative wraps too
        ":: E :: 42abc\n"   // the leading number only
        ":: F :: x9\n"      // no leading number
        ":: G :: \xE4\n"    // a character above 127 stays positive
        ":: H :: \x80\n");  // code page 1252 bytes become their characters
    ASSERT_EQ(manager.entryCount(), 8);
    const AccelManager::Table& table = *manager.entries();
    EXPECT_EQ(table[0].cmd, 48);
    EXPECT_EQ(table[1].cmd, 7);
    EXPECT_EQ(table[2].cmd, 63);
    EXPECT_EQ(table[3].cmd, 0xFFFF);
    EXPECT_EQ(table[4].cmd, 42);
    EXPECT_EQ(table[5].cmd, 'x');
    EXPECT_EQ(table[6].cmd, 0xE4);
    EXPECT_EQ(table[7].cmd, 0x20AC);
    EXPECT_EQ(table[8].cmd, 0);  // the rest of the table stays zeroed
}

TEST(AccelManager, KeyIsTheFirstCharacterComparedWithVirtualKeyCodes) {
    AccelManager manager = fromText(":: s :: x\n:: \xE4 :: y\n:: Zebra Q :: z\n");
    ASSERT_EQ(manager.entryCount(), 3);
    EXPECT_EQ(manager.entries()->at(1).key, 0xFFE4);  // a signed character, widened
    EXPECT_EQ(manager.entries()->at(2).key, 'Q');     // the last key word counts

    EXPECT_EQ(keyDown(manager, 'S'), unchangedS);  // lower-case s is F4's code
    EXPECT_EQ(keyDown(manager, vkF4), (Message{WM_CHAR, 'x'}));
    EXPECT_EQ(keyDown(manager, 0xE4), (Message{WM_KEYDOWN, 0xE4}));
    EXPECT_EQ(keyDown(manager, 'Z'), (Message{WM_KEYDOWN, 'Z'}));
    EXPECT_EQ(keyDown(manager, 'Q'), (Message{WM_CHAR, 'z'}));
}

TEST(AccelManager, ModifiersAccumulateUntilAnyKeyIsReleased) {
    AccelManager manager = fromText(
        "FCONTROL :: S :: s\n"
        "FSHIFT FCONTROL :: S :: S\n"
        "FALT :: S :: 1\n");

    keyDown(manager, VK_CONTROL);
    EXPECT_EQ(keyDown(manager, 'S'), (Message{WM_CHAR, 's'}));
    EXPECT_EQ(send(manager, WM_KEYUP, 'S'), (Message{WM_KEYUP, 'S'}));
    EXPECT_EQ(manager.modifierState(), 0);
    // Ctrl is still held, but no new key-down of it arrived since the release.
    EXPECT_EQ(keyDown(manager, 'S'), unchangedS);

    keyDown(manager, VK_CONTROL);
    keyDown(manager, VK_SHIFT);
    EXPECT_EQ(manager.modifierState(), FCONTROL | FSHIFT);
    EXPECT_EQ(keyDown(manager, 'S'), (Message{WM_CHAR, 'S'}));  // exact match, not Ctrl alone

    send(manager, WM_SYSKEYUP, VK_SHIFT);
    EXPECT_EQ(manager.modifierState(), 0);
    EXPECT_EQ(send(manager, WM_SYSKEYDOWN, VK_MENU), (Message{WM_SYSKEYDOWN, VK_MENU}));
    EXPECT_EQ(send(manager, WM_SYSKEYDOWN, 'S'), (Message{WM_CHAR, 1}));
}

TEST(AccelManager, EntriesWithFlagsNoKeyCanProduceNeverMatch) {
    AccelManager manager = fromText(
        "FVIRTKEY :: S :: a\n"
        "FVIRTKEY FCONTROL :: S :: b\n"
        "FNOINVERT :: S :: c\n"
        "fcontrol Fcontrol FCONTROLX :: T :: d\n");  // no flag names: a bare T
    ASSERT_EQ(manager.entryCount(), 4);
    EXPECT_EQ(manager.entries()->at(1).fVirt, FVIRTKEY | FCONTROL);
    EXPECT_EQ(manager.entries()->at(3).fVirt, 0);

    EXPECT_EQ(keyDown(manager, 'S'), unchangedS);
    EXPECT_EQ(keyDown(manager, 'T'), (Message{WM_CHAR, 'd'}));
    keyDown(manager, VK_CONTROL);
    EXPECT_EQ(keyDown(manager, 'S'), unchangedS);
}

TEST(AccelManager, EveryEntryAppliesToTheMessageAsTheEarlierOnesLeftIt) {
    AccelManager manager = fromText(
        "FCONTROL :: S :: 1\n"
        "FCONTROL :: S :: 2\n"     // shadowed: the message no longer carries S
        "FCONTROL :: A :: 66\n"    // Ctrl+A gives B ...
        "FCONTROL :: B :: 67\n");  // ... which this entry turns into C
    keyDown(manager, VK_CONTROL);
    EXPECT_EQ(keyDown(manager, 'S'), (Message{WM_CHAR, 1}));
    EXPECT_EQ(keyDown(manager, 'A'), (Message{WM_CHAR, 'C'}));
    EXPECT_EQ(keyDown(manager, 'B'), (Message{WM_CHAR, 'C'}));
}

TEST(AccelManager, LineStructureCarriesNoMeaning) {
    const std::string oneEntryPerLine = "FCONTROL :: S :: s\nFALT FSHIFT :: M :: m\n:: 1 :: 0\n";
    const std::string reflowed =
        "\r\n\tFCONTROL\r\n::\r\nS\r\n::\r\ns FALT\vFSHIFT\f:: M ::   m :: 1 :: 0";
    const AccelManager expected = fromText(oneEntryPerLine);
    const AccelManager actual = fromText(reflowed);
    ASSERT_EQ(expected.entryCount(), 3);
    ASSERT_EQ(actual.entryCount(), 3);
    for (std::size_t i = 0; i < AccelManager::maxEntries; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(actual.entries()->at(i).fVirt, expected.entries()->at(i).fVirt);
        EXPECT_EQ(actual.entries()->at(i).key, expected.entries()->at(i).key);
        EXPECT_EQ(actual.entries()->at(i).cmd, expected.entries()->at(i).cmd);
    }
}

TEST(AccelManager, MalformedSeparatorsAndIncompleteEntriesAddNothing) {
    // A third separator in one entry ends the reading of entries for good.
    AccelManager third = fromText("FALT :: X :: 1\nFCONTROL :: S :: :: 2\nFCONTROL :: A :: 3\n");
    EXPECT_EQ(third.entryCount(), 1);
    EXPECT_EQ(third.entries()->at(1).cmd, 0);

    // Two separators in a row leave the key at 0 but still make an entry.
    AccelManager doubled = fromText("FCONTROL :: :: 5\n");
    ASSERT_EQ(doubled.entryCount(), 1);
    EXPECT_EQ(doubled.entries()->at(0).key, 0);
    EXPECT_EQ(doubled.entries()->at(0).cmd, 5);

    // An entry that never gets its value is dropped, and with nothing complete
    // the filter no longer even tracks modifiers.
    for (const std::string text : {"", "  \r\n", "FCONTROL :: S ::", ":::: S :: s"}) {
        SCOPED_TRACE(text);
        AccelManager empty = fromText(text);
        EXPECT_EQ(empty.entryCount(), 0);
        EXPECT_EQ(keyDown(empty, VK_CONTROL), (Message{WM_KEYDOWN, VK_CONTROL}));
        EXPECT_EQ(empty.modifierState(), 0);
    }
}

TEST(AccelManager, EntriesBeyondTheTableAreDropped) {
    std::string text;
    for (int i = 1; i <= 150; ++i) {
        text += "FCONTROL :: S :: " + std::to_string(i) + "\n";
    }
    AccelManager manager = fromText(text + "FCONTROL :: S :: :: 7\n");
    EXPECT_EQ(manager.entryCount(), AccelManager::maxEntries);
    EXPECT_EQ(manager.entries()->back().cmd, 100);
}

TEST(AccelManager, OverlongWordsAreSkippedWhole) {
    const std::string longest(AccelManager::maxWordLength, '7');
    const std::string tooLong(AccelManager::maxWordLength + 1, '7');
    const std::string huge = ":::::" + std::string(5000, ':');  // not a separator either

    EXPECT_EQ(fromText(":: S :: " + longest).entryCount(), 1);
    EXPECT_EQ(fromText(":: S :: " + tooLong).entryCount(), 0);

    AccelManager manager =
        fromText("FCONTROL " + huge + " :: S " + huge + " :: " + std::string(5000, '9') + " 115\n");
    ASSERT_EQ(manager.entryCount(), 1);
    EXPECT_EQ(manager.entries()->at(0).fVirt, FCONTROL);
    EXPECT_EQ(manager.entries()->at(0).key, 'S');
    EXPECT_EQ(manager.entries()->at(0).cmd, 115);
}

TEST(AccelManager, WithoutAFileKeysPassUnchangedAndNoFileIsCreated) {
    testing::internal::CaptureStdout();
    AccelManager manager(nullptr, noSuchFile);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(manager.entryCount(), -1);
    EXPECT_EQ(manager.entries(), nullptr);
    EXPECT_EQ(manager.readAccelFile(), 0);
    EXPECT_EQ(manager.entryCount(), -1);

    EXPECT_EQ(keyDown(manager, VK_CONTROL), (Message{WM_KEYDOWN, VK_CONTROL}));
    EXPECT_EQ(manager.modifierState(), FCONTROL);  // still tracked
    EXPECT_EQ(keyDown(manager, 'S'), unchangedS);
    EXPECT_EQ(keyDown(manager, 0), (Message{WM_KEYDOWN, 0}));
    EXPECT_FALSE(fs::exists(noSuchFile));
}

// Runs in a fresh folder as the current directory, where the program finds accels.txt.
class AccelFileTest : public testing::Test {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        folder_ = fs::temp_directory_path() /
                  ("accel-test-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::create_directories(folder_);
        fs::current_path(folder_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(folder_);
    }

    fs::path previous_;
    fs::path folder_;
};

TEST_F(AccelFileTest, ConstructorTracesAndReadsAccelsTxtFromTheCurrentDirectory) {
    {
        std::ofstream file("accels.txt", std::ios::binary);
        file << "FCONTROL :: S :: 115\r\nFALT :: M ::\r\nm\r\n";
    }
    testing::internal::CaptureStdout();
    AccelManager manager;
    const std::string trace = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(std::regex_match(trace, std::regex("AccelManager\\.cpp:AccelManager: [0-9]+: "
                                                   "constructor\n")))
        << trace;

    ASSERT_EQ(manager.entryCount(), 2);
    EXPECT_EQ(manager.entries()->at(1).cmd, 'm');  // not "m\r": CR is white space
    keyDown(manager, VK_CONTROL);
    EXPECT_EQ(keyDown(manager, 'S'), (Message{WM_CHAR, 's'}));
}

TEST_F(AccelFileTest, MissingAccelsTxtIsNotCreated) {
    testing::internal::CaptureStdout();
    AccelManager manager;
    EXPECT_FALSE(testing::internal::GetCapturedStdout().empty());
    EXPECT_EQ(manager.entryCount(), -1);
    EXPECT_FALSE(fs::exists("accels.txt"));
}

}  // namespace
