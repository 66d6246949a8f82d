#pragma once
#include <string>
#include <vector>

#include "cardfile/CardFile.h"

// The question before saving over a card file another program changed, naming it.
std::string changedFileQuestion(const std::string& fileName);
// The button chosen in that question.
ChangedFileChoice changedFileChoice(int button);

// The question at the open of a deck beside which a sync client left conflicted
// copies of it, naming them.
std::string conflictedCopiesQuestion(const std::vector<std::string>& paths);
