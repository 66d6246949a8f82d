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

#ifdef _WIN32
// The wide calls take UTF-16 as wchar_t, which is a UTF-16 unit only on Windows.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t must be a UTF-16 unit");
inline const wchar_t* wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline wchar_t* wide(std::u16string& text) { return reinterpret_cast<wchar_t*>(text.data()); }
inline std::string utf8FromWide(const wchar_t* text) {
    return utf16ToUtf8(reinterpret_cast<const char16_t*>(text));
}
#endif
