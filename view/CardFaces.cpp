#include "view/CardFaces.h"

PaneFaces facesOf(CardDirection direction) {
    return direction == CardDirection::answerFirst
               ? PaneFaces{CardFace::answer, CardFace::question}
               : PaneFaces{CardFace::question, CardFace::answer};
}

std::string_view faceText(const Card& card, CardFace field) {
    switch (field) {
        case CardFace::question:
            return card.getQuestion();
        case CardFace::answer:
            return card.getAnswer();
        case CardFace::info:
            break;
    }
    return card.getInfo();
}

void setFaceText(Card& card, CardFace field, std::string_view text) {
    switch (field) {
        case CardFace::question:
            card.setQuestion(text);
            return;
        case CardFace::answer:
            card.setAnswer(text);
            return;
        case CardFace::info:
            card.setInfo(text);
            return;
    }
}
