#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/TextCoding.h"
#include "platform/TextKnowledge.h"

// Unicode as far as the answer tests reach: the accented letters, cases and
// punctuation of the scripts they use, by table. Under Windows the same tests run
// against the system, so a table entry that the system disagrees with shows.
class FakeTextKnowledge : public TextKnowledge {
public:
    std::string compose(std::string_view text) override {
        const std::u32string apart = decomposed(text);
        std::u32string composed;
        for (std::size_t at = 0; at < apart.size();) {
            std::size_t marks = 0;
            while (at + 1 + marks < apart.size() && combiningClass(apart[at + 1 + marks]) != 0) {
                ++marks;
            }
            // The longest run of a letter and its first marks that one character stands for.
            std::size_t taken = 0;
            char32_t whole = apart[at];
            for (std::size_t length = marks + 1; length > 1 && taken == 0; --length) {
                for (const auto& [character, parts] : table()) {
                    if (apart.compare(at, length, parts) == 0) {
                        whole = character;
                        taken = length;
                        break;
                    }
                }
            }
            composed += whole;
            const std::size_t next = at + std::max<std::size_t>(taken, 1);
            composed.append(apart, next, at + 1 + marks - next);
            at += 1 + marks;
        }
        return utf8(composed);
    }
    std::string decompose(std::string_view text) override { return utf8(decomposed(text)); }
    std::string foldCase(std::string_view text) override {
        std::u32string folded = codePoints(text);
        for (char32_t& c : folded) c = lower(c);
        return utf8(folded);
    }
    std::vector<CharacterKind> kinds(std::string_view text) override {
        std::vector<CharacterKind> kinds;
        for (const char32_t c : codePoints(text)) kinds.push_back(kind(c));
        return kinds;
    }

    static CharacterKind kind(char32_t c) {
        static const std::u32string punctuation =
            U"!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~«»¿¡·。、「」・—–‘’“”„…;؟،।";
        static const std::u32string spaces = U" \t\r\n\u00A0\u3000";
        if ((c >= 0x300 && c <= 0x36F) || c == 0x3099 || c == 0x309A) return CharacterKind::accent;
        if (punctuation.find(c) != std::u32string::npos) return CharacterKind::punctuation;
        if (spaces.find(c) != std::u32string::npos) return CharacterKind::space;
        return CharacterKind::letter;
    }
    // Every character of the table with the parts it is made of, fully decomposed.
    static const std::vector<std::pair<char32_t, std::u32string>>& table() {
        static const std::vector<std::pair<char32_t, std::u32string>> entries = {
            {U'À', U"A\u0300"},       {U'É', U"E\u0301"},       {U'Ä', U"A\u0308"},
            {U'Ö', U"O\u0308"},       {U'Ü', U"U\u0308"},       {U'à', U"a\u0300"},
            {U'á', U"a\u0301"},       {U'â', U"a\u0302"},       {U'ä', U"a\u0308"},
            {U'ç', U"c\u0327"},       {U'è', U"e\u0300"},       {U'é', U"e\u0301"},
            {U'ê', U"e\u0302"},       {U'í', U"i\u0301"},       {U'ñ', U"n\u0303"},
            {U'ó', U"o\u0301"},       {U'ö', U"o\u0308"},       {U'ú', U"u\u0301"},
            {U'ü', U"u\u0308"},       {U'ă', U"a\u0306"},       {U'Ά', U"Α\u0301"},
            {U'Έ', U"Ε\u0301"},       {U'Ό', U"Ο\u0301"},       {U'ά', U"α\u0301"},
            {U'έ', U"ε\u0301"},       {U'ή', U"η\u0301"},       {U'ί', U"ι\u0301"},
            {U'ό', U"ο\u0301"},       {U'ύ', U"υ\u0301"},       {U'ώ', U"ω\u0301"},
            {U'ơ', U"o\u031B"},       {U'ư', U"u\u031B"},       {U'ạ', U"a\u0323"},
            {U'ả', U"a\u0309"},       {U'ầ', U"a\u0302\u0300"}, {U'ẹ', U"e\u0323"},
            {U'ế', U"e\u0302\u0301"}, {U'ệ', U"e\u0323\u0302"}, {U'Ệ', U"E\u0323\u0302"},
            {U'ố', U"o\u0302\u0301"}, {U'ờ', U"o\u031B\u0300"}, {U'ữ', U"u\u031B\u0303"},
            {U'й', U"и\u0306"},       {U'Й', U"И\u0306"},       {U'ё', U"е\u0308"},
            {U'が', U"か\u3099"},     {U'ご', U"こ\u3099"},     {U'ば', U"は\u3099"},
            {U'ぱ', U"は\u309A"},     {U'ガ', U"カ\u3099"},
        };
        return entries;
    }

private:
    static int combiningClass(char32_t c) {
        switch (c) {
            case 0x0323:
                return 220;
            case 0x0327:
                return 202;
            case 0x031B:
                return 216;
            case 0x3099:
            case 0x309A:
                return 8;
            default:
                return kind(c) == CharacterKind::accent ? 230 : 0;
        }
    }
    static char32_t lower(char32_t c) {
        static const std::u32string upper = U"ΆΈΉΊΌΎΏςƠƯĂĐЁ";
        static const std::u32string lowered = U"άέήίόύώσơưăđё";
        const std::size_t at = upper.find(c);
        if (at != std::u32string::npos) return lowered[at];
        const bool shiftedBy32 =
            (c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
            (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F);
        if (shiftedBy32) return c + 0x20;
        return c >= 0x1EA0 && c <= 0x1EF9 && c % 2 == 0 ? c + 1 : c;
    }
    static std::u32string decomposed(std::string_view text) {
        std::u32string apart;
        for (const char32_t c : codePoints(text)) {
            const auto found = std::find_if(table().begin(), table().end(),
                                            [c](const auto& entry) { return entry.first == c; });
            apart += found == table().end() ? std::u32string(1, c) : found->second;
        }
        // Canonical order: a run of marks sorted by combining class, stable.
        for (std::size_t at = 0; at < apart.size();) {
            std::size_t end = at;
            while (end < apart.size() && combiningClass(apart[end]) != 0) ++end;
            std::stable_sort(apart.begin() + at, apart.begin() + end, [](char32_t a, char32_t b) {
                return combiningClass(a) < combiningClass(b);
            });
            at = end + 1;
        }
        return apart;
    }
    static std::u32string codePoints(std::string_view text) {
        std::u32string points;
        std::uint32_t c = 0;
        for (std::size_t at = 0; at < text.size();) {
            at += nextUtf8(text, at, c);
            points += static_cast<char32_t>(c);
        }
        return points;
    }
    static std::string utf8(const std::u32string& points) {
        std::string text;
        for (const char32_t c : points) appendUtf8(text, c);
        return text;
    }
};
