#pragma once

#include <QPainter>
#include <QRectF>

// The device of the family whose profile file section is section, drawn as a generic device
// without any maker's marks, centred in box, as large as its proportions allow. A family
// without a drawing of its own (and a null section) shows the generic media player.
void DrawDevice(QPainter& painter, const char* section, const QRectF& box);
