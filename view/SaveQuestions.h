#pragma once
#include "cardfile/CardFile.h"
#include "platform/Platform.h"
#include "view/CardView.h"
#include "view/DialogPort.h"
#include "view/Feature.h"
#include "view/RecoveryKeeper.h"
#include "view/TakeDeck.h"

// Save's question, and the one Open and New ask before the deck goes. Yes keeps
// what was typed into the panes and saves the card file; when another program
// changed the file, the user may merge, and the merged deck then replaces the
// one shown (through `takeDeck`), saved or not.
class SaveQuestions {
public:
    SaveQuestions(Platform& platform, CardFile& file, CardView& view, RecoveryKeeper& recovery,
                  Features& features, TakeDeck takeDeck);

    // Save's question; false only when the user said Yes and the save failed.
    bool askToSave(DialogPort& dialog);
    // Before Open or New replace a deck that holds a card; false when the user
    // asked for a save that did not happen, so the deck must stay.
    bool askBeforeReplacing(DialogPort& dialog);

private:
    bool saveWithEdits(DialogPort& dialog);

    Platform& platform_;
    CardFile& file_;
    CardView& view_;
    RecoveryKeeper& recovery_;
    Features& features_;
    TakeDeck takeDeck_;
};
