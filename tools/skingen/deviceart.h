#pragma once

#include <QPainter>
#include <QRectF>

// The device families, drawn as generic devices without any maker's marks.
enum class TDevice { Phone, Handheld, MusicPlayer, Pda, Media };

// Draws the device centred in box, as large as its proportions allow.
void DrawDevice(QPainter& painter, TDevice device, const QRectF& box);
