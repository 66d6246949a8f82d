#pragma once
#include <string>
#include <string_view>
#include <vector>

// What a character is, as far as judging a typed answer goes. Symbols count with
// punctuation, as the system's character types put them; a letter, digit or
// mark that is no accent is a `letter`.
enum class CharacterKind : unsigned char { letter, accent, punctuation, space };

// The little Unicode knowledge that comparing a typed answer with a card needs,
// for every script. Texts are UTF-8 both ways.
class TextKnowledge {
public:
    virtual ~TextKnowledge() = default;
    // Canonical composition: "é" typed as one character or as "e" and a combining
    // accent becomes the same text.
    virtual std::string compose(std::string_view text) = 0;
    // Canonical decomposition: each letter apart from the accents it carries.
    virtual std::string decompose(std::string_view text) = 0;
    // Two texts that differ only in case become the same text.
    virtual std::string foldCase(std::string_view text) = 0;
    // The kind of each code point of `text`, in order.
    virtual std::vector<CharacterKind> kinds(std::string_view text) = 0;
};
