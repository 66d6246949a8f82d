#pragma once
#include <string>
#include <string_view>

// The core keeps texts as UTF-8; the system's wide calls take UTF-16. Neither
// direction fails: what cannot be converted becomes U+FFFD, so a damaged text
// still shows, marked where it is damaged.

// Each maximal part of an ill-formed sequence (as the Unicode standard counts
// them) becomes one U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);

// An unpaired surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);
