#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fakes/FakeRecentStore.h"
#include "view/CommandLine.h"
#include "view/RecentFiles.h"

namespace {
using Strings = std::vector<std::string>;
}  // namespace

TEST(CommandLineTest, SplitsAsCommandLineToArgvW) {
    const struct {
        const char* line;
        Strings arguments;
    } rows[] = {
        {"", {}},
        {" \t ", {}},
        {"a  b\tc", {"a", "b", "c"}},
        {R"("C:\My Decks\x.mqf")", {R"(C:\My Decks\x.mqf)"}},
        {R"(C:\My" "Decks)", {R"(C:\My Decks)"}},
        {R"("C:\Decks\\" next)", {R"(C:\Decks\)", "next"}},
        {R"("C:\Decks\" next)", {R"(C:\Decks" next)"}},
        {R"(a\\\"b c\d)", {R"(a\"b)", R"(c\d)"}},
        {R"("a""b" "")", {R"(a"b ")"}},
        {R"(x "" y)", {"x", "", "y"}},
        {R"("a"""b")", {R"(a"b)"}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(splitArguments(row.line), row.arguments) << row.line;
    }
}

TEST(CommandLineTest, TakesOnePathEvenUnquoted) {
    const struct {
        const char* line;
        std::optional<std::string> deck;
    } rows[] = {
        {"", std::nullopt},
        {R"("")", std::nullopt},
        {R"( Latein.mqf )", "Latein.mqf"},
        {R"("C:\My Decks\Latein.mqf")", R"(C:\My Decks\Latein.mqf)"},
        {R"( C:\My  Decks\Latein 2.mqf  )", R"(C:\My  Decks\Latein 2.mqf)"},
        {R"("C:\My Decks"\Latein 2.mqf)", R"(C:\My Decks\Latein 2.mqf)"},
        {u8"\"Слова 1.mqf\"", u8"Слова 1.mqf"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(deckArgument(row.line), row.deck) << row.line;
    }
}

TEST(CommandLineTest, ResolvesAgainstTheWorkingFolder) {
    const struct {
        const char* path;
        const char* folder;
        const char* absolute;
    } rows[] = {
        {"Latein.mqf", R"(C:\Users\ana\Decks)", R"(C:\Users\ana\Decks\Latein.mqf)"},
        {"Latein.mqf", R"(C:\)", R"(C:\Latein.mqf)"},
        {R"(..\Old\x.mqf)", R"(C:\Users\ana\Decks\)", R"(C:\Users\ana\Old\x.mqf)"},
        {R"(.\sub/x.mqf)", R"(C:\Users\ana\Decks)", R"(C:\Users\ana\Decks\sub\x.mqf)"},
        {R"(\x.mqf)", R"(C:\Users\ana)", R"(C:\x.mqf)"},
        {R"(c:x.mqf)", R"(C:\Users\ana)", R"(C:\Users\ana\x.mqf)"},
        {R"(D:x.mqf)", R"(C:\Users\ana)", R"(D:\x.mqf)"},
        {R"(D:\a\..\x.mqf)", R"(C:\Users\ana)", R"(D:\x.mqf)"},
        {R"(\\srv\share\x.mqf)", R"(C:\Users)", R"(\\srv\share\x.mqf)"},
        {R"(x.mqf)", R"(\\srv\share\decks)", R"(\\srv\share\decks\x.mqf)"},
        {R"(\..\x.mqf)", R"(\\srv\share\decks)", R"(\\srv\share\x.mqf)"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(absolutePath(row.path, row.folder), row.absolute)
            << row.path << " in " << row.folder;
    }
}

TEST(RecentFilesTest, ComparesFileNamesAsWindowsDoes) {
    const struct {
        const char* a;
        const char* b;
        bool same;
    } rows[] = {
        {R"(C:\Decks\Latein.mqf)", R"(c:\DECKS\latein.MQF)", true},
        {R"(C:\Decks\Latein.mqf)", R"(C:\Decks\Latein.txt)", false},
        {u8"été.mqf", u8"ÉTÉ.MQF", true},
        {u8"слова", u8"СЛОВА", true},
        {u8"λόγος", u8"ΛΌΓΟΣ", true},
        {u8"łódź", u8"ŁÓDŹ", true},
        {u8"単語", u8"単語", true},
        {u8"straße", "STRASSE", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(sameFileName(row.a, row.b), row.same) << row.a << " / " << row.b;
    }
}

TEST(RecentFilesTest, KeepsFourMostRecentFirstWithoutDuplicates) {
    FakeRecentStore store;
    RecentFiles recent(store);
    ErrorCode error = 1;
    for (const char* path :
         {R"(C:\a.mqf)", R"(C:\b.mqf)", R"(C:\c.mqf)", R"(C:\d.mqf)", R"(C:\e.mqf)"}) {
        EXPECT_TRUE(recent.add(path, error));
    }
    EXPECT_EQ(error, 0u);
    EXPECT_EQ(store.kept, (Strings{R"(C:\e.mqf)", R"(C:\d.mqf)", R"(C:\c.mqf)", R"(C:\b.mqf)"}));

    EXPECT_FALSE(recent.add(R"(C:\e.mqf)", error));  // already on top: nothing to write
    EXPECT_TRUE(recent.add(R"(c:\C.MQF)", error));
    EXPECT_EQ(recent.paths(),
              (Strings{R"(c:\C.MQF)", R"(C:\e.mqf)", R"(C:\d.mqf)", R"(C:\b.mqf)"}));
    EXPECT_TRUE(recent.remove(R"(C:\D.mqf)", error));
    EXPECT_FALSE(recent.remove(R"(C:\x.mqf)", error));
    EXPECT_EQ(store.kept, (Strings{R"(c:\C.MQF)", R"(C:\e.mqf)", R"(C:\b.mqf)"}));

    // A failed write still leaves the list for this run.
    store.failWith = 5;
    EXPECT_TRUE(recent.add(R"(C:\f.mqf)", error));
    EXPECT_EQ(error, 5u);
    EXPECT_EQ(recent.paths().front(), R"(C:\f.mqf)");

    // What is read back obeys the same rules.
    store.kept = {R"(C:\a.mqf)", "",           R"(C:\A.MQF)", R"(C:\b.mqf)", R"(C:\c.mqf)",
                  R"(C:\d.mqf)", R"(C:\e.mqf)"};
    recent.load();
    EXPECT_EQ(recent.paths(),
              (Strings{R"(C:\a.mqf)", R"(C:\b.mqf)", R"(C:\c.mqf)", R"(C:\d.mqf)"}));
}

TEST(RecentFilesTest, LabelsNameTheFileOrTheWholePathWhenNamesMeet) {
    FakeRecentStore store;
    store.kept = {R"(D:\Old\LATEIN.mqf)", R"(C:\Tom & Jerry.mqf)", R"(C:\Decks\Latein.mqf)",
                  u8"Z:\\Слова.mqf"};
    RecentFiles recent(store);
    recent.load();
    EXPECT_EQ(recent.menuLabels(), (Strings{R"(&1 D:\Old\LATEIN.mqf)", "&2 Tom && Jerry.mqf",
                                            R"(&3 C:\Decks\Latein.mqf)", u8"&4 Слова.mqf"}));
}
