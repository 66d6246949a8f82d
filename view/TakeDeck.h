#pragma once
#include <functional>

#include "model/CardBoxes.h"
#include "view/DialogPort.h"

// Shows the card file's deck in place of the one shown: in `box`, on the card
// that is the same as `shown` when the deck holds one (box 1 and its first card
// for an opened deck).
using TakeDeck = std::function<void(DialogPort& dialog, int box, const CardRef& shown)>;
