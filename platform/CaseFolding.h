#pragma once
#include <string>
#include <string_view>

// Case as the system ignores it when it compares text for its user: two UTF-8
// texts that differ only in case fold to the same text.
class CaseFolding {
public:
    virtual ~CaseFolding() = default;
    virtual std::string fold(std::string_view text) = 0;
};
