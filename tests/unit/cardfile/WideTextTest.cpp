#include <gtest/gtest.h>

#include <string>

#include "platform/WideText.h"

namespace {

struct Texts {
    const char* utf8;
    std::u16string utf16;
};

TEST(WideText, WellFormedTextsConvertBothWaysUnchanged) {
    const Texts cases[] = {
        {"", u""},
        {"domus\r\n", u"domus\r\n"},
        {"\xE1\xBC\x80\xCE\xBB\xCE\xB7\xCE\xB8\xCE\xB5\xCE\xB9\xCE\xB1",
         u"\u1F00\u03BB\u03B7\u03B8\u03B5\u03B9\u03B1"},
        {"\xE4\xB8\xAD\xE6\x96\x87 \xED\x95\x9C", u"\u4E2D\u6587 \uD55C"},
        {"\xF0\x9F\x98\x80!", u"\xD83D\xDE00!"},
        {"\xF4\x8F\xBF\xBF\xEF\xBF\xBF\xC2\x80", u"\xDBFF\xDFFF\uFFFF\u0080"},
    };
    for (const Texts& c : cases) {
        EXPECT_EQ(utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(utf16ToUtf8(c.utf16), c.utf8) << c.utf8;
    }
}

TEST(WideText, IllFormedPartsBecomeOneReplacementEach) {
    const Texts fromUtf8[] = {
        {"a\xFF!", u"a\uFFFD!"},
        {"\xC3", u"\uFFFD"},
        {"\xF0\x9F\x98!", u"\uFFFD!"},                      // cut off
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                      // overlong
        {"\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},            // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
    };
    for (const Texts& c : fromUtf8) EXPECT_EQ(utf8ToUtf16(c.utf8), c.utf16) << c.utf8;

    const Texts fromUtf16[] = {
        {"a\xEF\xBF\xBD!", u"a\xD83D!"},
        {"\xEF\xBF\xBD\xEF\xBF\xBD", u"\xDE00\xD83D"},  // the wrong order is no pair
        {"\xEF\xBF\xBD\xF0\x9F\x98\x80", u"\xD83D\xD83D\xDE00"},
    };
    for (const Texts& c : fromUtf16) EXPECT_EQ(utf16ToUtf8(c.utf16), c.utf8) << c.utf8;
}

}  // namespace
