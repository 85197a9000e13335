#include "desktop/app/command_icons.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <numbers>

namespace trelvanox {

namespace {

// Every glyph is drawn on a square of kDesign units, which the icon maps onto 16 or 32 pixels.
// Outlines are kLine units wide and lie on odd coordinates, so they come out as one crisp
// pixel at 16 and two at 32.
constexpr double kDesign = 32.0;
constexpr double kLine = 2.0;

const QColor kInk(0x30, 0x30, 0x30);
const QColor kPaper(0xfc, 0xfc, 0xfc);
const QColor kTextLine(0x70, 0x90, 0xc0);
const QColor kGreen(0x2e, 0xa0, 0x3a);
const QColor kRed(0xd8, 0x3a, 0x2e);
const QColor kBlue(0x2a, 0x6a, 0xd0);

QPen Outline(const QColor& color = kInk, double width = kLine) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawPage(QPainter& p, const QRectF& r) {
    p.setPen(Outline());
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setPen(Outline(kTextLine));
    for (double y = r.top() + 5.0; y < r.bottom() - 2.0; y += 4.0)
        p.drawLine(QPointF(r.left() + 4.0, y), QPointF(r.right() - 4.0, y));
}

// A table: a blue header row over a grid of cells.
void DrawTable(QPainter& p, const QRectF& r) {
    p.setPen(Outline());
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6a, 0x9a, 0xe0));
    p.drawRect(QRectF(r.left() + 1.0, r.top() + 1.0, r.width() - 2.0, 5.0));
    p.setPen(Outline(QColor(0x80, 0x80, 0x88), 1.0));
    for (double y = r.top() + 11.0; y < r.bottom() - 1.0; y += 5.0)
        p.drawLine(QPointF(r.left() + 1.0, y), QPointF(r.right() - 1.0, y));
    const double middle = r.left() + r.width() / 2.0;
    p.drawLine(QPointF(middle, r.top() + 6.0), QPointF(middle, r.bottom() - 1.0));
}

// A block arrow along y from x0 to the tip at x1 (either way), 12 units high.
void DrawArrow(QPainter& p, double x0, double x1, double y, const QColor& fill) {
    const double dir = x1 > x0 ? 1.0 : -1.0;
    const double neck = x1 - dir * 8.0;
    const QPointF arrow[] = {{x0, y - 3.0},   {neck, y - 3.0}, {neck, y - 7.0}, {x1, y},
                             {neck, y + 7.0}, {neck, y + 3.0}, {x0, y + 3.0}};
    p.setPen(Outline());
    p.setBrush(fill);
    p.drawPolygon(arrow, 7);
}

// A round badge: a filled disc with an outline.
void DrawDisc(QPainter& p, const QPointF& centre, double radius, const QColor& fill) {
    p.setPen(Outline());
    p.setBrush(fill);
    p.drawEllipse(centre, radius, radius);
}

void DrawCut(QPainter& p) {
    // Scissors: two crossing blades over two finger rings.
    p.setPen(Outline(kInk, 2.8));
    p.drawLine(QPointF(9.0, 3.0), QPointF(20.0, 20.0));
    p.drawLine(QPointF(23.0, 3.0), QPointF(12.0, 20.0));
    p.setPen(Outline(kRed, 2.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(9.0, 24.0), 4.5, 4.5);
    p.drawEllipse(QPointF(23.0, 24.0), 4.5, 4.5);
}

void DrawCopy(QPainter& p) {
    DrawPage(p, QRectF(3.0, 3.0, 16.0, 20.0));
    DrawPage(p, QRectF(13.0, 9.0, 16.0, 20.0));
}

void DrawPaste(QPainter& p) {
    // A clipboard with a page on it.
    p.setPen(Outline(QColor(0x6a, 0x4a, 0x2a)));
    p.setBrush(QColor(0xc8, 0x98, 0x58));
    p.drawRoundedRect(QRectF(3.0, 5.0, 20.0, 24.0), 2.0, 2.0);
    p.setPen(Outline());
    p.setBrush(QColor(0xa0, 0xa0, 0xa0));
    p.drawRect(QRectF(8.0, 2.0, 10.0, 6.0));
    DrawPage(p, QRectF(13.0, 13.0, 16.0, 16.0));
}

void DrawPrint(QPainter& p) {
    p.setPen(Outline());
    p.setBrush(kPaper);
    p.drawRect(QRectF(9.0, 3.0, 14.0, 10.0));
    p.setBrush(QColor(0x90, 0x90, 0x98));
    p.drawRoundedRect(QRectF(3.0, 12.0, 26.0, 12.0), 2.0, 2.0);
    DrawPage(p, QRectF(9.0, 19.0, 14.0, 10.0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0xd0, 0x30));
    p.drawRect(QRectF(24.0, 15.0, 3.0, 3.0));
}

void DrawLabelColors(QPainter& p) {
    // Four swatches: the index-to-colour map.
    const QColor colors[] = {Qt::blue, Qt::red, QColor(0x00, 0xc0, 0x00), Qt::yellow};
    p.setPen(Outline());
    for (int i = 0; i < 4; ++i) {
        p.setBrush(colors[i]);
        p.drawRect(QRectF(3.0 + (i % 2) * 14.0, 3.0 + (i / 2) * 14.0, 12.0, 12.0));
    }
}

void DrawSkin(QPainter& p, const QColor& top, const QColor& bottom) {
    // A ribbon strip in the style's tones.
    QLinearGradient gradient(0.0, 5.0, 0.0, 27.0);
    gradient.setColorAt(0.0, top);
    gradient.setColorAt(1.0, bottom);
    p.setPen(Outline());
    p.setBrush(gradient);
    p.drawRoundedRect(QRectF(3.0, 5.0, 26.0, 22.0), 4.0, 4.0);
    p.setPen(Outline(QColor(255, 255, 255, 140)));
    p.drawLine(QPointF(6.0, 13.0), QPointF(26.0, 13.0));
}

void DrawZeroPosition(QPainter& p) {
    // Back to the start: a bar at the origin and an arrow running to it.
    p.setPen(Outline());
    p.setBrush(QColor(0xf0, 0x90, 0x20));
    p.drawRect(QRectF(3.0, 5.0, 5.0, 22.0));
    DrawArrow(p, 29.0, 10.0, 16.0, QColor(0xf0, 0x90, 0x20));
}

void DrawExit(QPainter& p) {
    // An open door and an arrow leaving through it.
    p.setPen(Outline());
    p.setBrush(QColor(0xb0, 0x78, 0x40));
    p.drawRect(QRectF(3.0, 3.0, 14.0, 26.0));
    DrawArrow(p, 11.0, 30.0, 16.0, kRed);
}

void DrawReadFile(QPainter& p) {
    // Read again: a circular arrow, an outlined green band ending in an arrowhead.
    const QRectF circle(6.0, 6.0, 20.0, 20.0);
    constexpr int kStart = 30 * 16;
    constexpr int kSpan = 290 * 16;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, 7.0, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(circle, kStart, kSpan);
    p.setPen(QPen(kGreen, 3.6, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(circle, kStart, kSpan);
    // The arrowhead at the arc's end (320 degrees), pointing along the way round.
    const double end = (30.0 + 290.0) * std::numbers::pi / 180.0;
    const QPointF tip(16.0 + 10.0 * std::cos(end), 16.0 - 10.0 * std::sin(end));
    const QPointF along(-std::sin(end), -std::cos(end));
    const QPointF across(std::cos(end), -std::sin(end));
    const QPointF head[] = {tip + along * 6.0, tip + across * 6.0, tip - across * 6.0};
    p.setPen(Outline());
    p.setBrush(kGreen);
    p.drawPolygon(head, 3);
}

void DrawClearHeader(QPainter& p) {
    // A header page with a red cross over it.
    DrawPage(p, QRectF(3.0, 3.0, 20.0, 26.0));
    DrawDisc(p, QPointF(22.0, 22.0), 8.0, kRed);
    p.setPen(Outline(Qt::white, 2.6));
    p.drawLine(QPointF(18.5, 18.5), QPointF(25.5, 25.5));
    p.drawLine(QPointF(25.5, 18.5), QPointF(18.5, 25.5));
}

void DrawAmplitude(QPainter& p) {
    // A radar trace whose swings grow: a wiggle over its axis, a blue line with a dark rim.
    p.setPen(Outline(QColor(0x80, 0x80, 0x88), 1.0));
    p.drawLine(QPointF(2.0, 16.0), QPointF(30.0, 16.0));
    QPainterPath wave;
    wave.moveTo(2.0, 16.0);
    for (double x = 2.0; x <= 30.0; x += 0.5) {
        const double swing = 2.0 + 11.0 * (x - 2.0) / 28.0;
        wave.lineTo(x, 16.0 - swing * std::sin((x - 2.0) * 0.52));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(Outline(kInk, 4.6));
    p.drawPath(wave);
    p.setPen(Outline(QColor(0x30, 0x90, 0xff), 2.4));
    p.drawPath(wave);
}

void DrawExportTable(QPainter& p) {
    DrawTable(p, QRectF(3.0, 3.0, 18.0, 26.0));
    DrawArrow(p, 15.0, 31.0, 19.0, kGreen);
}

void DrawImportTable(QPainter& p) {
    DrawTable(p, QRectF(11.0, 3.0, 18.0, 26.0));
    DrawArrow(p, 1.0, 17.0, 19.0, QColor(0xf0, 0x90, 0x20));
}

void DrawOptions(QPainter& p) {
    // A gear of eight teeth with a hole in its middle.
    QPolygonF outline;
    for (int tooth = 0; tooth < 8; ++tooth) {
        const double middle = tooth * 45.0;
        for (const auto& [offset, radius] :
             {std::pair{-15.0, 10.0}, {-8.0, 14.0}, {8.0, 14.0}, {15.0, 10.0}}) {
            const double angle = (middle + offset) * std::numbers::pi / 180.0;
            outline << QPointF(16.0 + radius * std::cos(angle), 16.0 - radius * std::sin(angle));
        }
    }
    QPainterPath gear;
    gear.addPolygon(outline);
    gear.closeSubpath();
    gear.addEllipse(QPointF(16.0, 16.0), 4.5, 4.5);
    QLinearGradient metal(0.0, 2.0, 0.0, 30.0);
    metal.setColorAt(0.0, QColor(0xc8, 0xd4, 0xe4));
    metal.setColorAt(1.0, QColor(0x70, 0x80, 0x98));
    p.setPen(Outline());
    p.setBrush(metal);
    p.drawPath(gear);
}

void DrawHelp(QPainter& p) {
    // A question mark on a blue disc.
    DrawDisc(p, QPointF(16.0, 16.0), 14.0, kBlue);
    QPainterPath mark;
    mark.moveTo(11.0, 12.5);
    mark.cubicTo(11.0, 5.5, 21.5, 5.5, 21.0, 12.0);
    mark.cubicTo(20.7, 16.0, 16.0, 15.5, 16.0, 20.0);
    p.setBrush(Qt::NoBrush);
    p.setPen(Outline(Qt::white, 3.4));
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16.0, 25.0), 2.2, 2.2);
}

void DrawAbout(QPainter& p) {
    // The information sign: an "i" on a blue disc.
    DrawDisc(p, QPointF(16.0, 16.0), 14.0, kBlue);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16.0, 9.0), 2.4, 2.4);
    p.drawRoundedRect(QRectF(13.8, 13.0, 4.4, 13.0), 1.5, 1.5);
}

void DrawDeleteZeroDelimiter(QPainter& p) {
    // A zero struck through.
    p.setBrush(Qt::NoBrush);
    p.setPen(Outline(kInk, 6.0));
    p.drawEllipse(QRectF(8.0, 4.0, 16.0, 24.0));
    p.setPen(Outline(QColor(0xf0, 0xc0, 0x40), 3.0));
    p.drawEllipse(QRectF(8.0, 4.0, 16.0, 24.0));
    p.setPen(Outline(kInk, 6.0));
    p.drawLine(QPointF(5.0, 28.0), QPointF(27.0, 4.0));
    p.setPen(Outline(kRed, 3.0));
    p.drawLine(QPointF(5.0, 28.0), QPointF(27.0, 4.0));
}

void DrawEditOptions(QPainter& p) {
    // A page with a tick: which fields the editing commands change.
    DrawPage(p, QRectF(3.0, 3.0, 20.0, 26.0));
    const QPointF tick[] = {{11.0, 18.0}, {17.0, 25.0}, {29.0, 9.0}};
    p.setPen(Outline(kInk, 7.0));
    p.drawPolyline(tick, 3);
    p.setPen(Outline(kGreen, 4.0));
    p.drawPolyline(tick, 3);
}

void DrawExportSegy(QPainter& p) {
    // A sheet of three wiggling radar traces and an arrow taking them out of the program.
    p.setPen(Outline());
    p.setBrush(kPaper);
    p.drawRect(QRectF(3.0, 3.0, 18.0, 26.0));
    p.setBrush(Qt::NoBrush);
    p.setPen(Outline(kBlue, 2.0));
    for (const double x : {8.0, 12.5, 17.0}) {
        QPainterPath trace(QPointF(x, 5.0));
        trace.cubicTo(QPointF(x + 3.0, 9.0), QPointF(x - 3.0, 12.0), QPointF(x, 16.0));
        trace.cubicTo(QPointF(x + 2.5, 19.5), QPointF(x - 2.0, 23.0), QPointF(x, 27.0));
        p.drawPath(trace);
    }
    DrawArrow(p, 15.0, 31.0, 21.0, kGreen);
}

void DrawRadargram(QPainter& p) {
    // The profile as a picture: a grey screen with the ground line, the hyperbola of a buried
    // object below it and a red label line; a dark rim under the hyperbola keeps it bold at 32.
    p.setPen(Outline());
    p.setBrush(QColor(0xd4, 0xd8, 0xe0));
    p.drawRect(QRectF(3.0, 3.0, 26.0, 26.0));
    p.setPen(Outline(QColor(0x60, 0x60, 0x68), 2.0));
    p.drawLine(QPointF(5.0, 9.0), QPointF(27.0, 9.0));
    QPainterPath hyperbola(QPointF(5.0, 27.0));
    hyperbola.quadTo(QPointF(16.0, 3.0), QPointF(27.0, 27.0));
    p.setBrush(Qt::NoBrush);
    p.setPen(Outline(kInk, 4.6));
    p.drawPath(hyperbola);
    p.setPen(Outline(Qt::white, 1.6));
    p.drawPath(hyperbola);
    p.setPen(Outline(kRed, 2.0));
    p.drawLine(QPointF(23.0, 5.0), QPointF(23.0, 27.0));
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
        case TCommandGlyph::ReadFile:
            return DrawReadFile(p);
        case TCommandGlyph::ClearHeader:
            return DrawClearHeader(p);
        case TCommandGlyph::Amplitude:
            return DrawAmplitude(p);
        case TCommandGlyph::ExportTable:
            return DrawExportTable(p);
        case TCommandGlyph::ImportTable:
            return DrawImportTable(p);
        case TCommandGlyph::Options:
            return DrawOptions(p);
        case TCommandGlyph::Help:
            return DrawHelp(p);
        case TCommandGlyph::About:
            return DrawAbout(p);
        case TCommandGlyph::DeleteZeroDelimiter:
            return DrawDeleteZeroDelimiter(p);
        case TCommandGlyph::EditOptions:
            return DrawEditOptions(p);
        case TCommandGlyph::ExportSegy:
            return DrawExportSegy(p);
        case TCommandGlyph::Radargram:
            return DrawRadargram(p);
        case TCommandGlyph::Standard:
            return;
    }
}

// The glyph at size pixels, on a faint light rim one pixel wide: the dark outlines then read on
// the dark ribbon style as well as on the light ones, where the rim disappears.
QPixmap GlyphPixmap(TCommandGlyph glyph, int size) {
    QImage drawing(size, size, QImage::Format_ARGB32_Premultiplied);
    drawing.fill(Qt::transparent);
    {
        QPainter painter(&drawing);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / kDesign, size / kDesign);
        Draw(painter, glyph);
    }
    QImage rim = drawing;
    {
        QPainter painter(&rim);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(rim.rect(), QColor(255, 255, 255, 150));
    }
    QImage result(size, size, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx != 0 || dy != 0) painter.drawImage(dx, dy, rim);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(0, 0, drawing);
    painter.end();
    return QPixmap::fromImage(result);
}

}  // namespace

QIcon GlyphIcon(TCommandGlyph glyph) {
    if (glyph == TCommandGlyph::Standard) return {};
    QIcon icon;
    // Each size is a drawing of its own from the vector design, never a scaled bitmap.
    for (int size : {16, 32}) icon.addPixmap(GlyphPixmap(glyph, size));
    return icon;
}

}  // namespace trelvanox
