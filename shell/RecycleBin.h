#pragma once
#include <string>
#include <vector>

// The names of the files (not folders) in `folder`, which ends in a separator.
std::vector<std::string> fileNamesIn(const std::string& folder);

// Moves the file `path` to the Recycle Bin, from where the user can restore it.
// True once it has left its folder.
bool moveToRecycleBin(const std::string& path);
