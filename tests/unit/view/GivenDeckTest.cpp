#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fakes/FakeCaseFolding.h"
#include "fakes/FakeRecentStore.h"
#include "view/CommandLine.h"
#include "view/RecentFiles.h"

namespace {
using Strings = std::vector<std::string>;
}  // namespace

TEST(CommandLineTest, SplitsAsCommandLineToArgvW) {
    const std::pair<const char*, Strings> rows[] = {
        {" \t ", {}},
        {"a  b\tc", {"a", "b", "c"}},
        {R"(C:\My" "Decks x)", {R"(C:\My Decks)", "x"}},
        {R"("C:\Decks\\" next)", {R"(C:\Decks\)", "next"}},
        {R"("C:\Decks\" next)", {R"(C:\Decks" next)"}},
        {R"(a\\\"b c\d)", {R"(a\"b)", R"(c\d)"}},
        {R"("a""b" "")", {R"(a"b ")"}},
        {R"("a"""b" "" y)", {R"(a"b)", "", "y"}},
    };
    for (const auto& [line, arguments] : rows) EXPECT_EQ(splitArguments(line), arguments) << line;
}

TEST(CommandLineTest, NamesOneDeckMadeAbsoluteInTheWorkingFolder) {
    const std::pair<const char*, std::optional<std::string>> rows[] = {
        {R"( "" )", std::nullopt},
        {R"( C:\My  Decks\Latein 2.mqf  )", R"(C:\My  Decks\Latein 2.mqf)"},
        {R"("C:\My Decks"\Latein.mqf)", R"(C:\My Decks\Latein.mqf)"},
        {u8"\"Слова 1.mqf\"", u8"C:\\Users\\ana\\Decks\\Слова 1.mqf"},
        {R"(..\Old\.\x.mqf)", R"(C:\Users\ana\Old\x.mqf)"},
        {R"(\x.mqf)", R"(C:\x.mqf)"},
        {R"(c:sub/x.mqf)", R"(C:\Users\ana\Decks\sub\x.mqf)"},
        {R"(D:x.mqf)", R"(D:\x.mqf)"},
        {R"(\\srv\share\x.mqf)", R"(\\srv\share\x.mqf)"},
    };
    for (const auto& [line, deck] : rows) {
        const std::optional<std::string> given = deckArgument(line);
        EXPECT_EQ(given ? absolutePath(*given, R"(C:\Users\ana\Decks)") : given, deck) << line;
    }
    EXPECT_EQ(absolutePath(R"(\..\x.mqf)", R"(\\srv\share\decks)"), R"(\\srv\share\x.mqf)");
    EXPECT_EQ(absolutePath("x.mqf", R"(C:\)"), R"(C:\x.mqf)");
}

TEST(RecentFilesTest, KeepsFourMostRecentFirstWithoutDuplicates) {
    FakeRecentStore store;
    FakeCaseFolding folding;
    RecentFiles recent(store, folding);
    ErrorCode error = 1;
    for (const char* path : {"C:\\a", "C:\\b", "C:\\c", "C:\\d", "C:\\e"}) {
        EXPECT_TRUE(recent.add(path, error));
    }
    EXPECT_EQ(store.kept, (Strings{"C:\\e", "C:\\d", "C:\\c", "C:\\b"}));
    EXPECT_FALSE(recent.add("C:\\e", error));  // already on top: nothing to write
    EXPECT_TRUE(recent.add("c:\\C", error));
    EXPECT_TRUE(recent.remove("C:\\D", error));
    EXPECT_FALSE(recent.remove("C:\\x", error));
    EXPECT_EQ(store.kept, (Strings{"c:\\C", "C:\\e", "C:\\b"}));

    store.failWith = 5;  // the list still serves this run
    EXPECT_TRUE(recent.add("C:\\f", error));
    EXPECT_EQ(error, 5u);
    EXPECT_EQ(recent.paths().front(), "C:\\f");

    // What is read back obeys the same rules.
    store.kept = {"C:\\a", "", "C:\\A", "C:\\b", "C:\\c", "C:\\d", "C:\\e"};
    recent.load();
    EXPECT_EQ(recent.paths(), (Strings{"C:\\a", "C:\\b", "C:\\c", "C:\\d"}));
}

TEST(RecentFilesTest, LabelsNameTheFileOrTheWholePathWhenNamesMeet) {
    FakeRecentStore store;
    store.kept = {R"(D:\Old\LATEIN.mqf)", R"(C:\Tom & Jerry.mqf)", R"(C:\Decks\Latein.mqf)",
                  u8"Z:\\Слова.mqf"};
    FakeCaseFolding folding;
    RecentFiles recent(store, folding);
    recent.load();
    EXPECT_EQ(recent.menuLabels(), (Strings{R"(&1 D:\Old\LATEIN.mqf)", "&2 Tom && Jerry.mqf",
                                            R"(&3 C:\Decks\Latein.mqf)", u8"&4 Слова.mqf"}));
}
