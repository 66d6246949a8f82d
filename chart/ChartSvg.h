#pragma once
#include <string>

#include "chart/ProgressData.h"

// The three progress charts as one SVG document (UTF-8), each chart a group with
// its title, drawn with the layout the program's window uses.
std::string progressSvg(const ProgressData& data);

// `text` fit for XML character data and attribute values: markup characters as
// references, bytes that are no UTF-8 as U+FFFD, and controls XML forbids left out.
std::string xmlEscaped(std::string_view text);
