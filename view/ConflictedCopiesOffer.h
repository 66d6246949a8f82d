#pragma once
#include <functional>

#include "cardfile/CardFile.h"
#include "platform/Platform.h"
#include "view/DialogPort.h"
#include "view/RecoveryKeeper.h"

// Once a card file has opened: when a sync client left conflicted copies of it
// beside it that hold most of its cards, asks once, naming them, whether to merge
// them in. Yes merges each, saves, has `takeDeck` show the merged deck and sums
// it up in a box; only a saved merge moves the copies to the Recycle Bin, so that
// nothing is lost while it is unsaved (the recovery record holds it then). No
// leaves everything, to be asked again at the next open.
void offerConflictedCopies(CardFile& file, Platform& platform, DialogPort& dialog,
                           RecoveryKeeper& recovery, const std::function<void()>& takeDeck);
