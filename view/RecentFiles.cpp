#include "view/RecentFiles.h"

#include <algorithm>

namespace {

std::string fileNameOf(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace

bool RecentFiles::sameFile(const std::string& a, const std::string& b) const {
    return a == b || folding_.foldFileName(a) == folding_.foldFileName(b);
}

void RecentFiles::load() {
    paths_.clear();
    // Whatever another hand left in the store is held to the same rules.
    for (const std::string& path : store_.load()) {
        if (paths_.size() == limit) break;
        const auto same = [&](const std::string& kept) { return sameFile(kept, path); };
        if (!path.empty() && std::none_of(paths_.begin(), paths_.end(), same)) {
            paths_.push_back(path);
        }
    }
}

bool RecentFiles::add(const std::string& path, ErrorCode& error) {
    error = 0;
    if (path.empty() || (!paths_.empty() && paths_.front() == path)) return false;
    const auto same = [&](const std::string& kept) { return sameFile(kept, path); };
    paths_.erase(std::remove_if(paths_.begin(), paths_.end(), same), paths_.end());
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > limit) paths_.resize(limit);
    store_.save(paths_, error);
    return true;
}

bool RecentFiles::remove(const std::string& path, ErrorCode& error) {
    error = 0;
    const auto same = [&](const std::string& kept) { return sameFile(kept, path); };
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
            shared = shared || (other != i && sameFile(fileNameOf(paths_[other]), name));
        }
        std::string label = "&" + std::to_string(i + 1) + " ";
        for (const char c : shared ? paths_[i] : name) {
            label += c == '&' ? "&&" : std::string(1, c);
        }
        labels.push_back(std::move(label));
    }
    return labels;
}
