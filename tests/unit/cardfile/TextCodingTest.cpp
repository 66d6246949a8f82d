#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "cardfile/CardFileText.h"
#include "platform/TextCoding.h"

namespace {

// A file that gives one byte to every read.
class ByteByByte : public InputFile {
public:
    explicit ByteByByte(std::string_view bytes) : bytes_(bytes) {}
    std::uint32_t size() override { return static_cast<std::uint32_t>(bytes_.size()); }
    bool read(std::string& out, std::uint32_t count, ErrorCode&) override {
        const std::string_view taken = bytes_.substr(0, count == 0 ? 0 : 1);
        out.append(taken);
        bytes_.remove_prefix(taken.size());
        return true;
    }

private:
    std::string_view bytes_;
};

TEST(TextCoding, EveryCodePage1252ByteMakesOneCharacterAndComesBack) {
    for (int byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        const std::string original(1, static_cast<char>(byte));
        const std::string utf8 = cp1252ToUtf8(original);
        EXPECT_EQ(utf8.size(), utf8SizeOfCp1252(original));
        EXPECT_EQ(firstInvalidUtf8(utf8), std::string::npos);
        std::string back = utf8;
        ASSERT_TRUE(convertUtf8ToCp1252(back, 0));
        EXPECT_EQ(back, original);
    }
    // All of them at once, between runs of ASCII long and short, both ways.
    std::string all;
    for (int byte = 255; byte >= 0; --byte) {
        all += std::string(static_cast<std::size_t>(byte % 19), 'a') + static_cast<char>(byte);
    }
    std::string converted = "head" + cp1252ToUtf8(all);
    EXPECT_TRUE(convertUtf8ToCp1252(converted, 4));
    EXPECT_EQ(converted, "head" + all);
    // Windows' own mapping, the bytes it leaves undefined included.
    EXPECT_EQ(cp1252ToUtf8("\x80\x81\x8D\x8F\x90\x9D\x9F\xFC"),
              "\xE2\x82\xAC\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D\xC5\xB8\xC3\xBC");

    // Characters the code page lacks, and bytes that are no UTF-8, do not fit.
    for (const char* lacking :
         {"\xC5\x81", "\xC2\x80", "\xE6\x9D\xB1", "\xF0\x9F\x98\x80", "\xFF"}) {
        EXPECT_FALSE(fitsCp1252(lacking));
        std::string kept = std::string("\xC3\xBC") + lacking + "\xC3\xBC";
        EXPECT_FALSE(convertUtf8ToCp1252(kept, 0));
        EXPECT_EQ(kept, std::string("\xFC") + lacking + "\xFC");
    }
    EXPECT_EQ(firstInvalidUtf8("ok \xC3\xBC \xE2\x82 no"), 6u);
}

// The conversions take texts a block at a time; one character at a time is the
// yardstick. Long texts of ASCII runs of every length between characters of one to
// four bytes, characters the code page lacks and bytes that are no UTF-8 put every
// kind of character at every place in a block, and across the conversion's buffers.
TEST(TextCoding, LongMixedTextsConvertAsOneCharacterAtATime) {
    const std::string pieces[] = {"\xC3\xA4", "\xC2\xA0", "\xE2\x82\xAC", "\xC5\xB8",
                                  "\xC2\x81", "\xC5\x81", "\xE6\x9D\xB1", "\xF0\x9F\x98\x80",
                                  "\xFF",     "\xC3",     "\xE2\x82",     "\x80"};
    std::mt19937 random(7);
    for (const int highShare : {2, 20, 70}) {
        SCOPED_TRACE(highShare);
        std::string cp1252, utf8;
        for (int n = 0; n < 20000; ++n) {
            if (static_cast<int>(random() % 100) < highShare) {
                cp1252 += static_cast<char>(0x80 + random() % 0x80);
                utf8 += pieces[random() % std::size(pieces)];
            } else {
                const std::string ascii(random() % 40, static_cast<char>('a' + n % 26));
                cp1252 += ascii;
                utf8 += ascii;
            }
        }
        std::string expected;
        for (const char byte : cp1252) {
            appendUtf8(expected, cp1252CodePoint(static_cast<unsigned char>(byte)));
        }
        EXPECT_EQ(cp1252ToUtf8(cp1252), expected);
        // Text by text, as the texts of a card file are: ending at every place of a
        // few blocks, alone and followed by more text.
        for (std::size_t length = 0; length < 300; ++length) {
            const std::vector<char> exact(cp1252.begin(), cp1252.begin() + length);
            const std::vector<char> more(cp1252.begin(), cp1252.begin() + length + length % 40);
            const auto widened = [length](const std::vector<char>& from) {
                std::string into(3 * length + widenSlackBytes, '\0');
                into.resize(
                    static_cast<std::size_t>(widenCp1252ToUtf8({from.data(), length}, into.data(),
                                                               from.data() + from.size()) -
                                             into.data()));
                return into;
            };
            ASSERT_EQ(widened(exact), cp1252ToUtf8(cp1252.substr(0, length))) << length;
            ASSERT_EQ(widened(more), cp1252ToUtf8(cp1252.substr(0, length))) << length;
        }

        std::string narrowed;
        bool fits = true;
        for (std::size_t at = 0; at < utf8.size();) {
            std::uint32_t codePoint = 0;
            const std::size_t length = decodeUtf8(utf8, at, codePoint);
            const int byte = length == 0 ? -1 : cp1252Byte(codePoint);
            const std::size_t taken = length == 0 ? 1 : length;
            narrowed +=
                byte >= 0 ? std::string(1, static_cast<char>(byte)) : utf8.substr(at, taken);
            fits = fits && byte >= 0;
            at += taken;
        }
        std::string converted = "head" + utf8;
        EXPECT_EQ(convertUtf8ToCp1252(converted, 4), fits);
        EXPECT_EQ(converted, "head" + narrowed);
        EXPECT_EQ(fitsCp1252(utf8), fits);
        // Into another buffer: whole, and ending at every place of a few blocks,
        // inside characters too.
        for (std::size_t length = 0; length < 300; ++length) {
            const std::vector<char> exact(utf8.begin(), utf8.begin() + length);
            std::string expected(exact.begin(), exact.end());
            convertUtf8ToCp1252(expected, 0);
            std::string into(length + narrowSlackBytes, '\0');
            into.resize(static_cast<std::size_t>(
                narrowUtf8ToCp1252({exact.data(), length}, into.data()) - into.data()));
            ASSERT_EQ(into, expected) << length;
        }
        std::string into(utf8.size() + narrowSlackBytes, '\0');
        into.resize(static_cast<std::size_t>(narrowUtf8ToCp1252(utf8, into.data()) - into.data()));
        EXPECT_EQ(into, narrowed);
    }
}

TEST(CardFileText, TheByteOrderMarkMakesAFileUtf8WhereverItsPiecesBreak) {
    struct Case {
        std::string bytes;
        CardEncoding encoding;
        std::string kept;
    } cases[] = {
        {"<Q>\xFC\x80</Q>", CardEncoding::cp1252, "<Q>\xFC\x80</Q>"},
        {"\xEF\xBB\xBF<Q>\xC3\xBC\xFF</Q>", CardEncoding::utf8, "<Q>\xC3\xBC\xFF</Q>"},
        // UTF-8 without the mark is code page 1252.
        {"\xC3\xBC", CardEncoding::cp1252, "\xC3\xBC"},
        {"\xEF\xBB", CardEncoding::cp1252, "\xEF\xBB"},
        {"\xEF\xBB\xBF", CardEncoding::utf8, ""},
        {"", CardEncoding::cp1252, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        const CardFileText whole = cardFileText(c.bytes);
        EXPECT_EQ(whole.encoding, c.encoding);
        EXPECT_EQ(whole.bytes, c.kept);
        ByteByByte file(c.bytes);
        CardFileText pieced;
        ErrorCode error = 0;
        EXPECT_TRUE(readCardFileText(file, pieced, error));
        EXPECT_EQ(pieced.encoding, c.encoding);
        EXPECT_EQ(pieced.bytes, c.kept);
    }
}

}  // namespace
