#pragma once
#include <functional>

#include "model/CardBoxes.h"
#include "view/CardView.h"
#include "view/DialogPort.h"

// Edit mode with nothing shown starts with a fresh card in the selected box, put
// there and shown by `insert`; that card becomes the active one.
void insertWhenEditingWithoutCard(DialogPort& dialog, CardBoxes& deck, CardRef& active,
                                  const CardView& view, const std::function<void()>& insert);
