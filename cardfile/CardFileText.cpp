#include "cardfile/CardFileText.h"

#include <algorithm>
#include <utility>

#include "platform/TextCoding.h"

CardTextDecoder::CardTextDecoder(std::size_t expectedBytes) : expectedBytes_(expectedBytes) {}

void CardTextDecoder::decide() {
    decided_ = true;
    std::string_view held = firstBytes_;
    if (startsWithByteOrderMark(held)) {
        out_.encoding = CardEncoding::utf8;
        held.remove_prefix(utf8ByteOrderMark.size());
        out_.text.reserve(expectedBytes_);
        out_.text.append(held);
    } else {
        // Few code page 1252 characters take more than one byte more; pages reserved
        // but never written cost no memory.
        out_.text.reserve(expectedBytes_ + expectedBytes_ / 8);
        appendCp1252AsUtf8(out_.text, held);
    }
    firstBytes_.clear();
}

void CardTextDecoder::take(std::string_view bytes) {
    if (!decided_) {
        const std::size_t wanted = utf8ByteOrderMark.size() - firstBytes_.size();
        firstBytes_.append(bytes.substr(0, wanted));
        bytes.remove_prefix(std::min(wanted, bytes.size()));
        if (firstBytes_.size() < utf8ByteOrderMark.size()) {
            return;
        }
        decide();
    }
    if (out_.encoding == CardEncoding::utf8) {
        out_.text.append(bytes);
    } else {
        appendCp1252AsUtf8(out_.text, bytes);
    }
}

CardFileText CardTextDecoder::finish() {
    if (!decided_) {
        decide();
    }
    return std::move(out_);
}

CardFileText decodeCardFile(std::string_view bytes) {
    CardTextDecoder decoder(bytes.size());
    decoder.take(bytes);
    return decoder.finish();
}

bool readCardFileText(InputFile& file, CardFileText& text, ErrorCode& error) {
    const std::uint32_t size = file.size();
    CardTextDecoder decoder(size);
    std::string piece;
    // The first bytes tell the kind of file.
    bool read = readUpTo(file, piece, utf8ByteOrderMark.size(), error);
    decoder.take(piece);
    if (decoder.takesBytesAsTheyAre()) {
        // Straight into the text, without a piece between.
        text = decoder.finish();
        return read && readToEnd(file, text.text, error);
    }
    const std::uint32_t pieceBytes = pieceBytesFor(size);
    piece.reserve(pieceBytes);
    while (read && !piece.empty()) {
        piece.clear();
        read = file.read(piece, pieceBytes, error);
        decoder.take(piece);
    }
    text = decoder.finish();
    return read;
}
