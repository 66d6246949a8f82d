#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/RecentStore.h"

// Whether two paths name the same file as Windows compares file names: without
// regard to case, in every script that has case.
bool sameFileName(const std::string& a, const std::string& b);

// The card files most recently opened, made or saved under a name, most recent
// first, as the File menu lists them.
class RecentFiles {
public:
    static constexpr std::size_t limit = 4;

    explicit RecentFiles(RecentStore& store) : store_(store) {}

    void load();
    // Each gives whether the list changed; the store then holds the new list, as
    // far as it could be written (`error` says why not).
    bool add(const std::string& path, ErrorCode& error);
    bool remove(const std::string& path, ErrorCode& error);

    const std::vector<std::string>& paths() const { return paths_; }
    // "&1 NAME" and on: the file's name, or its whole path where another listed
    // file has the same name; an ampersand doubled so the menu shows it.
    std::vector<std::string> menuLabels() const;

private:
    RecentStore& store_;
    std::vector<std::string> paths_;
};
