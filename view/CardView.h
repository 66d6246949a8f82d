#pragma once
#include <cstdint>
#include <string>

#include "model/CardBoxes.h"
#include "platform/MessageBoxes.h"
#include "view/CardFaces.h"
#include "view/DialogPort.h"

// What the two panes show: the card, which way round, and whether the lower pane
// holds the side Show reveals.
struct CardView {
    CardRef currentCard;
    bool answerShown = false;
    CardDirection direction = CardDirection::questionFirst;

    PaneFaces faces() const { return facesOf(direction); }
    // The field the pane stores into, as it shows it now.
    CardFace faceIn(int pane) const;
};

// Operations that put one piece of the dialog into a named state. Edit mode and the
// selected box live only in the dialog and are read back from it.
bool isControlEnabled(DialogPort& dialog, int id);
void disableCardButtons(DialogPort& dialog);
void disableMoveButton(DialogPort& dialog);
void disableBackButton(DialogPort& dialog);
void enableBackButton(DialogPort& dialog);
void enableCardButtons(DialogPort& dialog);
void enableGetNewCard(DialogPort& dialog);
void disableGetNewCard(DialogPort& dialog);
void enableEditNavigateMenus(DialogPort& dialog);
void disableEditNavigateMenus(DialogPort& dialog);
void clearCardPanes(DialogPort& dialog);
void initCardView(CardView& view, DialogPort& dialog);
void showCard(CardView& view, DialogPort& dialog);
void toggleAnswerInfo(CardView& view, DialogPort& dialog);
void showNoCards(DialogPort& dialog);
void clickBox1(DialogPort& dialog);
void disableBoxRadios(DialogPort& dialog);
void enableBoxRadios(DialogPort& dialog);
void selectBoxRadio(DialogPort& dialog, int id);
int getSelectedBox(DialogPort& dialog);
void setControlText(DialogPort& dialog, int id, const std::string& text);
void commitCardEdits(CardView& view, DialogPort& dialog);
// In edit mode, stores what was typed into the panes in the card shown.
void keepTypedText(CardView& view, DialogPort& dialog);
void toggleEditMode(DialogPort& dialog, MessageBoxes& boxes);
bool isEditMode(DialogPort& dialog);
void uncheckMenuBoxes(DialogPort& dialog);
void checkMenuBox0(DialogPort& dialog);
void checkMenuBox6(DialogPort& dialog);
// Box selection's marks and buttons, for the box of `commandId`.
void markSelectedBox(DialogPort& dialog, int commandId);
void enableButtonsForBox(DialogPort& dialog, int box, bool found);
// What a card file makes usable: the Edit and Navigate menus, the box radio
// buttons and Save As.
void enableFileCommands(DialogPort& dialog);
