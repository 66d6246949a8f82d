#include "model/AnswerLetters.h"

#include <algorithm>

#include "platform/TextCoding.h"

namespace {
// The kana voicing marks make another letter of the syllabary (か and が are keys
// of their own), not an accented one, though Unicode files them with the accents.
bool isKanaVoicing(std::uint32_t codePoint) { return codePoint == 0x3099 || codePoint == 0x309A; }

CharacterKind kindAt(const std::vector<CharacterKind>& kinds, std::size_t index) {
    return index < kinds.size() ? kinds[index] : CharacterKind::letter;
}
}  // namespace

AnswerLetters LetterReader::read(std::string_view text, TextSpan span) {
    const std::string_view part = text.substr(span.from, span.to - span.from);
    const std::vector<CharacterKind> kinds = knowledge_.kinds(part);
    AnswerLetters letters;
    std::uint32_t codePoint = 0;
    std::size_t index = 0;
    for (std::size_t at = 0; at < part.size(); ++index) {
        const std::size_t length = nextUtf8(part, at, codePoint);
        const CharacterKind kind = kindAt(kinds, index);
        if (kind == CharacterKind::accent && !letters.empty()) {
            letters.back().at.to += length;  // an accent typed apart stays on its letter
        } else {
            AnswerLetter letter;
            letter.kind = kind == CharacterKind::accent ? CharacterKind::letter : kind;
            letter.at = {span.from + at, span.from + at + length};
            letters.push_back(std::move(letter));
        }
        at += length;
    }
    for (AnswerLetter& letter : letters) {
        if (letter.kind == CharacterKind::space) {
            letter.exact = letter.plain = " ";  // a tab or a wide blank is a blank
            continue;
        }
        const Forms& known =
            forms(std::string(text.substr(letter.at.from, letter.at.to - letter.at.from)));
        letter.exact = known.exact;
        letter.plain = known.plain;
    }
    return letters;
}

const LetterReader::Forms& LetterReader::forms(const std::string& letter) {
    const auto found = seen_.find(letter);
    if (found != seen_.end()) return found->second;
    Forms forms;
    forms.exact = knowledge_.compose(letter);
    if (ignoreCase_) forms.exact = knowledge_.foldCase(forms.exact);
    forms.plain = withoutAccents(forms.exact);
    return seen_.emplace(letter, std::move(forms)).first->second;
}

std::string LetterReader::withoutAccents(const std::string& letter) {
    const std::string apart = knowledge_.decompose(letter);
    const std::vector<CharacterKind> kinds = knowledge_.kinds(apart);
    std::string kept;
    std::uint32_t codePoint = 0;
    std::size_t index = 0;
    for (std::size_t at = 0; at < apart.size(); ++index) {
        const std::size_t length = nextUtf8(apart, at, codePoint);
        if (kindAt(kinds, index) != CharacterKind::accent || isKanaVoicing(codePoint)) {
            kept.append(apart, at, length);
        }
        at += length;
    }
    // A mark alone is all its letter has: it stays rather than leave nothing.
    return kept.empty() ? letter : knowledge_.compose(kept);
}

void settleBlanks(AnswerLetters& letters) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const bool blank = letters[i].kind == CharacterKind::space;
        if (blank && (kept == 0 || letters[kept - 1].kind == CharacterKind::space)) continue;
        if (kept != i) letters[kept] = std::move(letters[i]);
        ++kept;
    }
    if (kept > 0 && letters[kept - 1].kind == CharacterKind::space) --kept;
    letters.resize(kept);
}

AnswerLetters withoutPunctuation(const AnswerLetters& letters, bool asBlank) {
    AnswerLetters left;
    left.reserve(letters.size());
    for (const AnswerLetter& letter : letters) {
        if (letter.kind != CharacterKind::punctuation) {
            left.push_back(letter);
        } else if (asBlank) {
            left.push_back({" ", " ", CharacterKind::space, letter.at});
        }
    }
    settleBlanks(left);
    return left;
}
