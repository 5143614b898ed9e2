#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

enum class TGlyph {
    None,
    Play,
    Pause,
    Stop,
    MarkIn,
    MarkOut,
    Add,
    Remove,
    Edit,
    Help,
    Minimise,
    Close,
    Folder,
    AspectFree,
    AspectKept,
    Home,
    Mail,
    Convert,
    Check,
    AppMark,
};

// Draws a glyph as vector paths in box. The glyphs are designed on a 16 x 16 grid with their
// strokes on pixel centres, so a box of 16 (or a multiple) at whole coordinates keeps them crisp.
void DrawGlyph(QPainter& painter, TGlyph glyph, const QRectF& box, const QColor& colour);
