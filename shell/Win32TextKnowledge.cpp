#include "shell/Win32TextKnowledge.h"

#include <windows.h>

#include <algorithm>

#include "platform/WideText.h"

namespace {
std::string normalized(std::string_view text, NORM_FORM form) {
    const std::u16string from = utf8ToUtf16(text);
    if (from.empty()) return {};
    const int length = static_cast<int>(from.size());
    // The first call estimates; a text that grows beyond the estimate says by how much.
    int size = NormalizeString(form, wide(from), length, nullptr, 0);
    for (int attempt = 0; attempt < 4 && size > 0; ++attempt) {
        std::u16string to(static_cast<std::size_t>(size), u'\0');
        const int written = NormalizeString(form, wide(from), length, wide(to), size);
        if (written > 0) {
            to.resize(static_cast<std::size_t>(written));
            return utf16ToUtf8(to);
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
        size = -written;
    }
    return std::string(text);  // what cannot be normalised is compared as it is
}

CharacterKind kindOf(WORD type1, WORD type3) {
    if (type1 & C1_SPACE) return CharacterKind::space;
    if (type1 & C1_PUNCT) return CharacterKind::punctuation;
    // The system also calls a precomposed letter "nonspacing" and "diacritic"; an
    // accent is a mark that is no letter itself, and a vowel sign is part of its word.
    const bool mark = (type3 & C3_NONSPACING) && !(type3 & C3_VOWELMARK);
    const bool letter = (type1 & C1_ALPHA) || (type3 & C3_ALPHA);
    return mark && !letter ? CharacterKind::accent : CharacterKind::letter;
}

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
}  // namespace

std::string Win32TextKnowledge::compose(std::string_view text) {
    return normalized(text, NormalizationC);
}

std::string Win32TextKnowledge::decompose(std::string_view text) {
    return normalized(text, NormalizationD);
}

std::string Win32TextKnowledge::foldCase(std::string_view text) {
    const std::u16string from = utf8ToUtf16(text);
    if (from.empty()) return {};
    const DWORD flags = LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING;
    const int length = static_cast<int>(from.size());
    const int size = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, wide(from), length, nullptr, 0,
                                   nullptr, nullptr, 0);
    if (size <= 0) return std::string(text);
    std::u16string to(static_cast<std::size_t>(size), u'\0');
    const int written = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, wide(from), length, wide(to),
                                      size, nullptr, nullptr, 0);
    if (written <= 0) return std::string(text);
    to.resize(static_cast<std::size_t>(written));
    // Lower case keeps the Greek final sigma apart; case folding makes it a sigma.
    std::replace(to.begin(), to.end(), u'\u03C2', u'\u03C3');
    return utf16ToUtf8(to);
}

std::vector<CharacterKind> Win32TextKnowledge::kinds(std::string_view text) {
    const std::u16string units = utf8ToUtf16(text);
    std::vector<CharacterKind> kinds;
    if (units.empty()) return kinds;
    std::vector<WORD> type1(units.size()), type3(units.size());
    const int length = static_cast<int>(units.size());
    if (!GetStringTypeW(CT_CTYPE1, wide(units), length, type1.data()) ||
        !GetStringTypeW(CT_CTYPE3, wide(units), length, type3.data())) {
        return kinds;  // every code point then counts as a letter
    }
    for (std::size_t at = 0; at < units.size(); ++at) {
        // The system types each unit; a character beyond the first 65536 has no type.
        if (isHighSurrogate(units[at]) && at + 1 < units.size()) {
            kinds.push_back(CharacterKind::letter);
            ++at;
            continue;
        }
        kinds.push_back(kindOf(type1[at], type3[at]));
    }
    return kinds;
}
