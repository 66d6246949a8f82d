#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "model/CardBoxes.h"
#include "platform/FileSystem.h"

// The text of a card file as the reader takes it: UTF-8, whatever the file's kind.
struct CardFileText {
    std::string text;
    CardEncoding encoding = CardEncoding::cp1252;
};

// Turns the bytes of a card file, in pieces as they arrive, into that text. A file
// that begins with the UTF-8 byte-order mark is UTF-8 and is taken as it is, mark
// left out, invalid sequences and all; any other file is code page 1252. Decoding
// as the bytes arrive means a code page 1252 deck is never held in both forms.
class CardTextDecoder {
public:
    // `expectedBytes`, the file's size, lets the text be made in one piece of memory.
    explicit CardTextDecoder(std::size_t expectedBytes);
    void take(std::string_view bytes);
    // True once the bytes are known to be UTF-8, which is taken as it is.
    bool takesBytesAsTheyAre() const { return decided_ && out_.encoding == CardEncoding::utf8; }
    CardFileText finish();

private:
    void decide();

    std::size_t expectedBytes_;
    std::string firstBytes_;  // held until they tell the file's kind
    bool decided_ = false;
    CardFileText out_;
};

CardFileText decodeCardFile(std::string_view bytes);

// Reads what is left of `file` into `text` (which should be new). False on a
// failed read; `text` then holds what arrived before it.
bool readCardFileText(InputFile& file, CardFileText& text, ErrorCode& error);
