#include "view/RecentFiles.h"

#include <algorithm>

#include "platform/WideText.h"

namespace {

// The simple upper case Windows gives file names for comparison, for the scripts
// with case that names are written in: Latin (with its first extension), Greek,
// Cyrillic, Armenian and the full-width Latin letters. Characters of other scripts
// have no case, and those left out here compare as they are.
char16_t upperCase(char16_t c) {
    const auto less = [c](int by) { return static_cast<char16_t>(c - by); };
    const bool odd = (c & 1) != 0;
    if (c >= u'a' && c <= u'z') return less(32);
    if (c < 0xE0) return c;
    if (c <= 0xFE) return c == 0xF7 ? c : less(32);  // not the division sign
    if (c == 0xFF) return 0x178;
    // Latin Extended-A: pairs of capital and small, the capital even in most.
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
        return odd ? less(1) : c;
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return odd ? c : less(1);
    // Greek: final sigma and the small letters with tonos stand apart.
    if (c == 0x3C2) return 0x3A3;
    if (c >= 0x3B1 && c <= 0x3CB) return less(32);
    if (c == 0x3AC) return 0x386;
    if (c >= 0x3AD && c <= 0x3AF) return less(37);
    if (c == 0x3CC) return 0x38C;
    if (c == 0x3CD || c == 0x3CE) return less(63);
    // Cyrillic.
    if (c >= 0x430 && c <= 0x44F) return less(32);
    if (c >= 0x450 && c <= 0x45F) return less(80);
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F)) {
        return odd ? less(1) : c;
    }
    if (c >= 0x4C1 && c <= 0x4CE) return odd ? c : less(1);
    if (c == 0x4CF) return 0x4C0;
    if (c >= 0x561 && c <= 0x586) return less(48);  // Armenian
    if (c >= 0xFF41 && c <= 0xFF5A) return less(32);
    return c;
}

std::u16string upperCase(const std::string& text) {
    std::u16string units = utf8ToUtf16(text);
    for (char16_t& unit : units) unit = upperCase(unit);
    return units;
}

std::string fileNameOf(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace

bool sameFileName(const std::string& a, const std::string& b) {
    return a == b || upperCase(a) == upperCase(b);
}

void RecentFiles::load() {
    paths_.clear();
    // Whatever another hand left in the store is held to the same rules.
    for (const std::string& path : store_.load()) {
        if (paths_.size() == limit) break;
        const auto same = [&](const std::string& kept) { return sameFileName(kept, path); };
        if (!path.empty() && std::none_of(paths_.begin(), paths_.end(), same)) {
            paths_.push_back(path);
        }
    }
}

bool RecentFiles::add(const std::string& path, ErrorCode& error) {
    error = 0;
    if (path.empty() || (!paths_.empty() && paths_.front() == path)) return false;
    const auto same = [&](const std::string& kept) { return sameFileName(kept, path); };
    paths_.erase(std::remove_if(paths_.begin(), paths_.end(), same), paths_.end());
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > limit) paths_.resize(limit);
    store_.save(paths_, error);
    return true;
}

bool RecentFiles::remove(const std::string& path, ErrorCode& error) {
    error = 0;
    const auto same = [&](const std::string& kept) { return sameFileName(kept, path); };
    const auto gone = std::remove_if(paths_.begin(), paths_.end(), same);
    if (gone == paths_.end()) return false;
    paths_.erase(gone, paths_.end());
    store_.save(paths_, error);
    return true;
}

std::vector<std::string> RecentFiles::menuLabels() const {
    std::vector<std::string> labels;
    for (std::size_t i = 0; i < paths_.size(); ++i) {
        const std::string name = fileNameOf(paths_[i]);
        bool shared = false;
        for (std::size_t other = 0; other < paths_.size(); ++other) {
            shared = shared || (other != i && sameFileName(fileNameOf(paths_[other]), name));
        }
        std::string label = "&" + std::to_string(i + 1) + " ";
        for (const char c : shared ? paths_[i] : name) {
            label += c == '&' ? "&&" : std::string(1, c);
        }
        labels.push_back(std::move(label));
    }
    return labels;
}
