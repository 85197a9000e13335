#include "desktop/app/command_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace trelvanox {

namespace {

const QColor kInk(0x40, 0x40, 0x40);
const QColor kPaper(0xfc, 0xfc, 0xfc);

void DrawCut(QPainter& p) {
    // Scissors: two crossing blades over two finger rings.
    p.setPen(QPen(kInk, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4.5, 1.5), QPointF(10.0, 10.0));
    p.drawLine(QPointF(11.5, 1.5), QPointF(6.0, 10.0));
    p.setPen(QPen(QColor(0xc0, 0x30, 0x30), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4.5, 12.0), 2.3, 2.3);
    p.drawEllipse(QPointF(11.5, 12.0), 2.3, 2.3);
}

void DrawPage(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kInk, 1.0));
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setPen(QPen(QColor(0x70, 0x90, 0xc0), 1.0));
    for (double y = r.top() + 2.5; y < r.bottom() - 1.0; y += 2.0)
        p.drawLine(QPointF(r.left() + 2.0, y), QPointF(r.right() - 2.0, y));
}

void DrawCopy(QPainter& p) {
    DrawPage(p, QRectF(1.5, 1.5, 8.0, 10.0));
    DrawPage(p, QRectF(6.5, 4.5, 8.0, 10.0));
}

void DrawPaste(QPainter& p) {
    // A clipboard with a page on it.
    p.setPen(QPen(QColor(0x6a, 0x4a, 0x2a), 1.0));
    p.setBrush(QColor(0xc8, 0x98, 0x58));
    p.drawRoundedRect(QRectF(1.5, 2.5, 10.0, 12.0), 1.0, 1.0);
    p.setPen(QPen(kInk, 1.0));
    p.setBrush(QColor(0xa0, 0xa0, 0xa0));
    p.drawRect(QRectF(4.0, 1.0, 5.0, 3.0));
    DrawPage(p, QRectF(6.5, 6.5, 8.0, 8.0));
}

void DrawPrint(QPainter& p) {
    p.setPen(QPen(kInk, 1.0));
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 1.5, 7.0, 5.0));
    p.setBrush(QColor(0x90, 0x90, 0x98));
    p.drawRoundedRect(QRectF(1.5, 6.0, 13.0, 6.0), 1.0, 1.0);
    DrawPage(p, QRectF(4.5, 10.0, 7.0, 5.0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0xc0, 0x30));
    p.drawRect(QRectF(12.0, 7.5, 1.5, 1.5));
}

void DrawLabelColors(QPainter& p) {
    // Four swatches: the index-to-colour map.
    const QColor colors[] = {Qt::blue, Qt::red, QColor(0x00, 0xc0, 0x00), Qt::yellow};
    p.setPen(QPen(kInk, 1.0));
    for (int i = 0; i < 4; ++i) {
        p.setBrush(colors[i]);
        p.drawRect(QRectF(1.5 + (i % 2) * 7.0, 1.5 + (i / 2) * 7.0, 6.0, 6.0));
    }
}

void DrawSkin(QPainter& p, const QColor& top, const QColor& bottom) {
    // A ribbon strip in the style's tones.
    QLinearGradient gradient(0.0, 2.0, 0.0, 14.0);
    gradient.setColorAt(0.0, top);
    gradient.setColorAt(1.0, bottom);
    p.setPen(QPen(kInk, 1.0));
    p.setBrush(gradient);
    p.drawRoundedRect(QRectF(1.5, 2.5, 13.0, 11.0), 2.0, 2.0);
    p.setPen(QPen(QColor(255, 255, 255, 120), 1.0));
    p.drawLine(QPointF(3.0, 6.5), QPointF(13.0, 6.5));
}

// Colours with a dark outline, so that the two read on the dark ribbon as well as on the light.
void DrawZeroPosition(QPainter& p) {
    // Back to the start: a bar at the origin and an arrow running to it.
    p.setPen(QPen(kInk, 1.0));
    p.setBrush(QColor(0xf0, 0x90, 0x20));
    p.drawRect(QRectF(1.5, 2.5, 2.5, 11.0));
    const QPointF arrow[] = {{5.0, 8.0},   {10.0, 3.0},  {10.0, 6.0}, {14.5, 6.0},
                             {14.5, 10.0}, {10.0, 10.0}, {10.0, 13.0}};
    p.drawPolygon(arrow, 7);
}

void DrawExit(QPainter& p) {
    // An open door and an arrow leaving through it.
    p.setPen(QPen(kInk, 1.0));
    p.setBrush(QColor(0xb0, 0x78, 0x40));
    p.drawRect(QRectF(1.5, 1.5, 7.0, 13.0));
    p.setBrush(QColor(0xe0, 0x40, 0x30));
    const QPointF arrow[] = {{5.5, 6.5},   {10.5, 6.5}, {10.5, 3.5}, {15.0, 8.0},
                             {10.5, 12.5}, {10.5, 9.5}, {5.5, 9.5}};
    p.drawPolygon(arrow, 7);
}

void DrawRadargram(QPainter& p) {
    // A profile seen as a picture: the ground line, the hyperbola of a buried object under it
    // and a label line, in a frame; bold strokes so that it reads on a large button.
    p.setPen(QPen(kInk, 1.0));
    p.setBrush(QColor(0xd8, 0xdc, 0xe4));
    p.drawRect(QRectF(1.5, 1.5, 13.0, 13.0));
    p.setPen(QPen(QColor(0x60, 0x60, 0x68), 1.2));
    p.drawLine(QPointF(2.5, 4.5), QPointF(13.5, 4.5));
    QPainterPath hyperbola(QPointF(2.5, 14.0));
    hyperbola.quadTo(QPointF(8.0, 1.5), QPointF(13.5, 14.0));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x20, 0x20, 0x28), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(hyperbola);
    p.setPen(QPen(QColor(0xd0, 0x30, 0x30), 1.0));
    p.drawLine(QPointF(11.5, 2.0), QPointF(11.5, 14.0));
}

void Draw(QPainter& p, TCommandGlyph glyph) {
    switch (glyph) {
        case TCommandGlyph::Cut:
            return DrawCut(p);
        case TCommandGlyph::Copy:
            return DrawCopy(p);
        case TCommandGlyph::Paste:
            return DrawPaste(p);
        case TCommandGlyph::Print:
            return DrawPrint(p);
        case TCommandGlyph::LabelColors:
            return DrawLabelColors(p);
        case TCommandGlyph::SkinObsidian:
            return DrawSkin(p, QColor(0x5a, 0x5a, 0x5e), QColor(0x1c, 0x1c, 0x20));
        case TCommandGlyph::SkinSilver:
            return DrawSkin(p, QColor(0xf4, 0xf5, 0xf7), QColor(0xae, 0xb4, 0xbe));
        case TCommandGlyph::SkinLuna:
            return DrawSkin(p, QColor(0xe3, 0xef, 0xff), QColor(0x7f, 0xa8, 0xe0));
        case TCommandGlyph::ZeroPosition:
            return DrawZeroPosition(p);
        case TCommandGlyph::Exit:
            return DrawExit(p);
        case TCommandGlyph::Radargram:
            return DrawRadargram(p);
        case TCommandGlyph::Standard:
            return;
    }
}

}  // namespace

QIcon GlyphIcon(TCommandGlyph glyph) {
    if (glyph == TCommandGlyph::Standard) return {};
    QIcon icon;
    // Drawn on a 16-unit grid and scaled, so both sizes are sharp vector drawings.
    for (int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        Draw(painter, glyph);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace trelvanox
