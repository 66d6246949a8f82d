#include "cardfile/CardFileText.h"

#include "platform/TextCoding.h"

CardFileText cardFileText(std::string_view bytes) {
    if (startsWithByteOrderMark(bytes)) {
        return {std::string(bytes.substr(utf8ByteOrderMark.size())), CardEncoding::utf8};
    }
    return {std::string(bytes), CardEncoding::cp1252};
}

bool readCardFileText(InputFile& file, CardFileText& text, ErrorCode& error) {
    // The first read asks for the whole size after the first bytes were taken.
    text.bytes.reserve(std::size_t{file.size()} + utf8ByteOrderMark.size());
    // The first bytes tell the kind of file.
    const bool read = readUpTo(file, text.bytes, utf8ByteOrderMark.size(), error);
    if (startsWithByteOrderMark(text.bytes)) {
        text.encoding = CardEncoding::utf8;
        text.bytes.clear();
    } else {
        text.encoding = CardEncoding::cp1252;
    }
    return read && readToEnd(file, text.bytes, error);
}
