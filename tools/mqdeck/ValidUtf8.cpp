#include "tools/mqdeck/ValidUtf8.h"

#include "platform/TextCoding.h"

void appendValidUtf8(std::string& out, std::string_view text) {
    constexpr std::string_view replacement = "\xEF\xBF\xBD";
    for (std::size_t bad = firstInvalidUtf8(text); bad != std::string_view::npos;
         bad = firstInvalidUtf8(text)) {
        out.append(text.substr(0, bad));
        out.append(replacement);
        text.remove_prefix(bad + 1);
    }
    out.append(text);
}
