#pragma once
#include <string>

#include "model/CardBoxes.h"

// Cards per box, each with a bar of "#" scaled so that the fullest box fills a
// line of `width` columns, then the cards in boxes 1 to 6 (learning), in box 6
// (learned) and in all.
std::string formatStats(const CardBoxes& deck, int width);
