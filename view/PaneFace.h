#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Cards come in any script, and no one face holds every script everywhere: a card
// pane draws each text with the first of its faces (best first) that has all of
// the text's characters, or else the one that lacks fewest. `missingIn(face)`
// tells how many characters of the text a face lacks; faces after the first that
// lacks none are not asked, since loading a large face costs.
std::size_t choosePaneFace(std::size_t faces,
                           const std::function<std::size_t(std::size_t)>& missingIn);

// The characters of a pane's text that a face must have a glyph for: not line
// breaks and other controls, nor the halves of characters beyond the Basic
// Multilingual Plane, which a face's glyph table cannot be asked about.
std::u16string charactersToDraw(std::u16string_view text);

// The two edits that show a card's texts.
bool isCardPane(int controlId);
