#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/CaseFolding.h"
#include "platform/RecentStore.h"

// The card files most recently opened, made or saved under a name, most recent
// first, as the File menu lists them.
class RecentFiles {
public:
    static constexpr std::size_t limit = 4;

    RecentFiles(RecentStore& store, CaseFolding& folding) : store_(store), folding_(folding) {}

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
    // Paths name the same file as the system compares file names: case aside.
    bool sameFile(const std::string& a, const std::string& b) const;

    RecentStore& store_;
    CaseFolding& folding_;
    std::vector<std::string> paths_;
};
