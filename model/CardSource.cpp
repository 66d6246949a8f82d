#include "model/CardSource.h"

#include <algorithm>
#include <utility>

CardSourceText::CardSourceText(std::string fileBytes, CardEncoding encoding)
    : bytes_(std::move(fileBytes)), encoding_(encoding) {}

void CardSourceText::addBlock(std::size_t needed) {
    // Western text takes one byte more for one character in a few, so the texts of
    // a file fit in its size and an eighth; text that does not takes a few blocks
    // more, never one per text.
    const std::size_t size = std::max(
        needed, decoded_.empty() ? bytes_.size() + bytes_.size() / 8 : decoded_.back().size);
    decoded_.push_back(Block{std::unique_ptr<char[]>(new char[size]), size, 0});
}
