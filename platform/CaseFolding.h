#pragma once
#include <string>
#include <string_view>

// Case as the system ignores it: two UTF-8 texts that differ only in case fold to
// the same text.
class CaseFolding {
public:
    virtual ~CaseFolding() = default;
    // As the system compares text for its user, in the user's language.
    virtual std::string fold(std::string_view text) = 0;
    // As the system compares file names, the same in every language.
    virtual std::string foldFileName(std::string_view name) = 0;
};
