#pragma once
#include <string>
#include <string_view>

#include "model/CardEncoding.h"
#include "platform/FileSystem.h"

// A card file as read: its bytes, not decoded (a card read from them decodes its
// texts when first asked for them), and its kind. A file that begins with the UTF-8 byte-order mark
// is UTF-8, invalid sequences and all, and is kept without the mark; any other file is code page
// 1252.
struct CardFileText {
    std::string bytes;
    CardEncoding encoding = CardEncoding::cp1252;
};

CardFileText cardFileText(std::string_view bytes);

// Reads what is left of `file` into `text` (which should be new). False on a
// failed read; `text` then holds what arrived before it.
bool readCardFileText(InputFile& file, CardFileText& text, ErrorCode& error);
