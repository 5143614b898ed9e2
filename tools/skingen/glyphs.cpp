#include "glyphs.h"

#include <QPainterPath>

namespace {

void Fill(QPainter& painter, const QPainterPath& path, const QColor& colour) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(path);
}

void Stroke(QPainter& painter, const QPainterPath& path, const QColor& colour, qreal width) {
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

QPainterPath Polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

QPainterPath Box(qreal x, qreal y, qreal w, qreal h, qreal r = 0) {
    QPainterPath path;
    if (r > 0) {
        path.addRoundedRect(x, y, w, h, r, r);
    } else {
        path.addRect(x, y, w, h);
    }
    return path;
}

void DrawPlay(QPainter& p, const QColor& c) {
    Fill(p, Polygon({{4.5, 2.5}, {13.5, 8}, {4.5, 13.5}}), c);
}

void DrawPause(QPainter& p, const QColor& c) {
    Fill(p, Box(4, 3, 3, 10, 0.75) + Box(9, 3, 3, 10, 0.75), c);
}

void DrawStop(QPainter& p, const QColor& c) {
    Fill(p, Box(3.5, 3.5, 9, 9, 1.5), c);
}

// A bracket with a small flag: the trim start (in) or end (out).
void DrawMark(QPainter& p, const QColor& c, bool in) {
    QPainterPath bracket;
    if (in) {
        bracket.moveTo(7, 2.5);
        bracket.lineTo(3.5, 2.5);
        bracket.lineTo(3.5, 13.5);
        bracket.lineTo(7, 13.5);
    } else {
        bracket.moveTo(9, 2.5);
        bracket.lineTo(12.5, 2.5);
        bracket.lineTo(12.5, 13.5);
        bracket.lineTo(9, 13.5);
    }
    Stroke(p, bracket, c, 2);
    if (in) {
        Fill(p, Polygon({{7.5, 5}, {12.5, 8}, {7.5, 11}}), c);
    } else {
        Fill(p, Polygon({{8.5, 5}, {3.5, 8}, {8.5, 11}}), c);
    }
}

void DrawAdd(QPainter& p, const QColor& c) {
    Fill(p, Box(7, 2, 2, 12, 0.5) + Box(2, 7, 12, 2, 0.5), c);
}

void DrawRemove(QPainter& p, const QColor& c) {
    Fill(p, Box(2, 7, 12, 2, 0.5), c);
}

void DrawEdit(QPainter& p, const QColor& c) {
    QPainterPath pencil;
    pencil.moveTo(10.5, 2.5);
    pencil.lineTo(13.5, 5.5);
    pencil.lineTo(6, 13);
    pencil.lineTo(2.5, 13.5);
    pencil.lineTo(3, 10);
    pencil.closeSubpath();
    Stroke(p, pencil, c, 1.5);
    QPainterPath joint;
    joint.moveTo(9, 4);
    joint.lineTo(12, 7);
    Stroke(p, joint, c, 1.5);
}

void DrawHelp(QPainter& p, const QColor& c) {
    QPainterPath hook;
    hook.moveTo(5, 5.5);
    hook.cubicTo(5, 3.5, 6.5, 2.5, 8, 2.5);
    hook.cubicTo(9.8, 2.5, 11, 3.7, 11, 5.3);
    hook.cubicTo(11, 7.5, 8, 7.8, 8, 10);
    Stroke(p, hook, c, 2);
    QPainterPath dot;
    dot.addEllipse(QPointF(8, 13.2), 1.2, 1.2);
    Fill(p, dot, c);
}

void DrawMinimise(QPainter& p, const QColor& c) {
    Fill(p, Box(3, 11, 10, 2), c);
}

void DrawClose(QPainter& p, const QColor& c) {
    QPainterPath cross;
    cross.moveTo(4, 4);
    cross.lineTo(12, 12);
    cross.moveTo(12, 4);
    cross.lineTo(4, 12);
    Stroke(p, cross, c, 2);
}

void DrawFolder(QPainter& p, const QColor& c) {
    QPainterPath folder;
    folder.moveTo(1.5, 4);
    folder.lineTo(1.5, 13.5);
    folder.lineTo(14.5, 13.5);
    folder.lineTo(14.5, 5.5);
    folder.lineTo(7.5, 5.5);
    folder.lineTo(6, 3);
    folder.lineTo(2.5, 3);
    folder.closeSubpath();
    Stroke(p, folder, c, 1.5);
    QPainterPath lip;
    lip.moveTo(1.5, 7.5);
    lip.lineTo(14.5, 7.5);
    Stroke(p, lip, c, 1);
}

// A screen outline with corner arrows (free) or a fixed 16:9 picture inside it (kept).
void DrawAspect(QPainter& p, const QColor& c, bool kept) {
    Stroke(p, Box(1.5, 3.5, 13, 9, 1), c, 1);
    if (kept) {
        Fill(p, Box(4, 5, 8, 6, 0.5), c);
        return;
    }
    QPainterPath arrows;
    arrows.moveTo(4, 8);
    arrows.lineTo(12, 8);
    Stroke(p, arrows, c, 1.5);
    Fill(p, Polygon({{3, 8}, {6, 5.5}, {6, 10.5}}), c);
    Fill(p, Polygon({{13, 8}, {10, 5.5}, {10, 10.5}}), c);
}

void DrawHome(QPainter& p, const QColor& c) {
    QPainterPath roof;
    roof.moveTo(1.5, 8);
    roof.lineTo(8, 2);
    roof.lineTo(14.5, 8);
    Stroke(p, roof, c, 1.5);
    QPainterPath house;
    house.moveTo(3.5, 7);
    house.lineTo(3.5, 13.5);
    house.lineTo(12.5, 13.5);
    house.lineTo(12.5, 7);
    Stroke(p, house, c, 1.5);
    Fill(p, Box(7, 9.5, 2, 4), c);
}

void DrawMail(QPainter& p, const QColor& c) {
    Stroke(p, Box(1.5, 3.5, 13, 9, 1), c, 1.5);
    QPainterPath flap;
    flap.moveTo(2, 4);
    flap.lineTo(8, 9);
    flap.lineTo(14, 4);
    Stroke(p, flap, c, 1.5);
}

void DrawConvert(QPainter& p, const QColor& c) {
    QPainterPath shaft;
    shaft.moveTo(2, 8);
    shaft.lineTo(10, 8);
    Stroke(p, shaft, c, 2.5);
    Fill(p, Polygon({{9, 3}, {15, 8}, {9, 13}}), c);
}

void DrawCheck(QPainter& p, const QColor& c) {
    QPainterPath tick;
    tick.moveTo(3, 8.5);
    tick.lineTo(6.5, 12);
    tick.lineTo(13, 4.5);
    Stroke(p, tick, c, 2);
}

// The product's mark: a rounded frame holding a play triangle and a converting arrow.
void DrawAppMark(QPainter& p, const QColor& c) {
    QPainterPath frame;
    frame.addRoundedRect(0.5, 1.5, 15, 13, 3.5, 3.5);
    Fill(p, frame, c);
    Fill(p, Polygon({{5.5, 4.5}, {11.5, 8}, {5.5, 11.5}}), QColor(255, 255, 255));
}

}  // namespace

void DrawGlyph(QPainter& painter, TGlyph glyph, const QRectF& box, const QColor& colour) {
    if (glyph == TGlyph::None) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(box.topLeft());
    painter.scale(box.width() / 16.0, box.height() / 16.0);
    switch (glyph) {
        case TGlyph::Play:
            DrawPlay(painter, colour);
            break;
        case TGlyph::Pause:
            DrawPause(painter, colour);
            break;
        case TGlyph::Stop:
            DrawStop(painter, colour);
            break;
        case TGlyph::MarkIn:
            DrawMark(painter, colour, true);
            break;
        case TGlyph::MarkOut:
            DrawMark(painter, colour, false);
            break;
        case TGlyph::Add:
            DrawAdd(painter, colour);
            break;
        case TGlyph::Remove:
            DrawRemove(painter, colour);
            break;
        case TGlyph::Edit:
            DrawEdit(painter, colour);
            break;
        case TGlyph::Help:
            DrawHelp(painter, colour);
            break;
        case TGlyph::Minimise:
            DrawMinimise(painter, colour);
            break;
        case TGlyph::Close:
            DrawClose(painter, colour);
            break;
        case TGlyph::Folder:
            DrawFolder(painter, colour);
            break;
        case TGlyph::AspectFree:
            DrawAspect(painter, colour, false);
            break;
        case TGlyph::AspectKept:
            DrawAspect(painter, colour, true);
            break;
        case TGlyph::Home:
            DrawHome(painter, colour);
            break;
        case TGlyph::Mail:
            DrawMail(painter, colour);
            break;
        case TGlyph::Convert:
            DrawConvert(painter, colour);
            break;
        case TGlyph::Check:
            DrawCheck(painter, colour);
            break;
        case TGlyph::AppMark:
            DrawAppMark(painter, colour);
            break;
        case TGlyph::None:
            break;
    }
    painter.restore();
}
