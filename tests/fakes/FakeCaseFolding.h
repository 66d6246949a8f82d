#pragma once
#include <string>
#include <string_view>

#include "platform/CaseFolding.h"
#include "platform/TextCoding.h"

// Lower case for ASCII and the Latin-1 letters, enough to tell a comparison that
// ignores case from one that does not.
class FakeCaseFolding : public CaseFolding {
public:
    std::string fold(std::string_view text) override {
        std::string folded;
        std::uint32_t codePoint = 0;
        for (std::size_t at = 0; at < text.size();) {
            at += nextUtf8(text, at, codePoint);
            const bool upper = (codePoint >= 'A' && codePoint <= 'Z') ||
                               (codePoint >= 0xC0 && codePoint <= 0xDE && codePoint != 0xD7);
            appendUtf8(folded, upper ? codePoint + 0x20 : codePoint);
        }
        return folded;
    }
    std::string foldFileName(std::string_view name) override { return fold(name); }
};
