#pragma once

#include <QPainter>

// Rough drawings of each window's own form parts (labels, lists, edits, group boxes) with the
// texts and colours the forms give them, for the pictures of the windows: the skin never holds
// them, but a picture without them would not show how the window reads.
namespace formsketch {

void Main(QPainter& painter);
void Progress(QPainter& painter);
void Profile(QPainter& painter);
void About(QPainter& painter);

}  // namespace formsketch
