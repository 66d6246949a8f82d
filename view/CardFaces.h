#pragma once
#include <string>
#include <string_view>

#include "model/Card.h"

// Which way round a card is drilled: its question asked for its answer, or the
// answer asked for the question.
enum class CardDirection { questionFirst, answerFirst };

enum class CardFace { question, answer, info };

// What the two panes show of a card drilled one way: the upper pane the side asked,
// the lower pane the info until Show reveals the other side. Typing into a pane
// changes exactly the field it shows.
struct PaneFaces {
    CardFace upper;
    CardFace revealed;

    CardFace lower(bool revealShown) const { return revealShown ? revealed : CardFace::info; }
};

PaneFaces facesOf(CardDirection direction);

std::string_view faceText(const Card& card, CardFace field);
void setFaceText(Card& card, CardFace field, std::string_view text);
