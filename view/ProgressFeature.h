#pragma once
#include "cardfile/CardFile.h"
#include "chart/ProgressData.h"
#include "platform/Clock.h"
#include "view/DueCards.h"
#include "view/Feature.h"

// The Progress window: opened by its command, and charted anew after every
// command while it is open.
class ProgressFeature : public Feature {
public:
    ProgressFeature(const DueCards& dueCards, Clock& clock) : dueCards_(dueCards), clock_(clock) {}

    void show(DialogPort& dialog, const CardBoxes& deck, const CardFile& file);
    void commandEnded(DialogPort& dialog, CommandEnd& end) override;

private:
    ProgressData progressNow(const CardBoxes& deck, const CardFile& file) const;

    const DueCards& dueCards_;
    Clock& clock_;
};
