#pragma once

#include "card/QuestionCard.h"

// How a window wants its card's controls made.
struct CardStyle {
    bool textBoxes = false;        // question and options as read-only text boxes (the editor)
    bool ruleUnderQuestion = true; // the thin rule Shape1 (the exam has option circles instead)
    bool chooser = true;           // the category chooser's caption and list
    bool navPictures = true;       // the move buttons' arrows (the exam draws its own keys)
};

// The card's controls, made with their names, fonts and colours, for a window to place with its
// own layout table: the question, the four options with their numbers and colons, the position
// and its colon, the count with its caption and colon, the category title, the hidden bound
// labels, the rule under the question, the picture, the four move buttons and the chooser.
CardControls BuildCardControls(QWidget* form, const CardStyle& style = {});
