#include "desktop/amplitude/amplitude_preview.h"

#include <QPainter>
#include <QPen>
#include <cmath>
#include <utility>
#include <vector>

#include "common/conversion.h"

namespace trelvanox {

namespace {

const QColor kPreviewGray(128, 128, 128);
const QColor kPreviewRed(255, 0, 0);

// The vertical scale: the samples of one matrix row, whatever the file's SampleCount.
constexpr long double kRowSamples = 512;

// A coordinate as the preview computes it, truncated toward zero. Numbers far outside the
// picture are held a long way off it, so that they stay invisible without overflowing.
int PreviewCoordinate(long double value) {
    constexpr long double kFar = 1000000;
    if (!(value > -kFar)) return -static_cast<int>(kFar);
    if (value > kFar) return static_cast<int>(kFar);
    return static_cast<int>(std::trunc(value));
}

long double FieldNumber(const QString& text) {
    return StrToFloat(text.toStdString());
}

}  // namespace

TPreviewImage::TPreviewImage(int width, int height, QWidget* parent) : QWidget(parent) {
    setFixedSize(width, height);
    NewPicture();
}

void TPreviewImage::NewPicture() {
    picture_ = QImage(size(), QImage::Format_RGB32);
    picture_.fill(Qt::white);
    update();
}

void TPreviewImage::SetPen(const QColor& color, int width) {
    pen_ = color;
    penWidth_ = width;
}

void TPreviewImage::LineTo(int x, int y) {
    QPainter painter(&picture_);
    painter.setPen(QPen(pen_, penWidth_, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(position_, QPoint(x, y));
    position_ = QPoint(x, y);
    update();
}

void TPreviewImage::TextOut(int x, int y, const QString& text) {
    QPainter painter(&picture_);
    // Plain black glyphs, as on a bitmap canvas: the picture holds only the colours it draws.
    QFont plain = font();
    plain.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(plain);
    const QFontMetrics metrics = painter.fontMetrics();
    painter.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()), brush_);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
    update();
}

void TPreviewImage::FloodFill(int x, int y, const QColor& border) {
    const QRgb borderRgb = border.rgb();
    const QRgb fillRgb = brush_.rgb();
    const int width = picture_.width();
    const int height = picture_.height();
    auto inside = [&](int px, int py) { return px >= 0 && py >= 0 && px < width && py < height; };
    if (!inside(x, y) || picture_.pixel(x, y) == borderRgb) return;

    std::vector<bool> seen(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    auto index = [width](int px, int py) {
        return static_cast<std::size_t>(py) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(px);
    };
    std::vector<std::pair<int, int>> pending{{x, y}};
    seen[index(x, y)] = true;
    while (!pending.empty()) {
        const auto [px, py] = pending.back();
        pending.pop_back();
        picture_.setPixel(px, py, fillRgb);
        const std::pair<int, int> neighbours[] = {
            {px - 1, py}, {px + 1, py}, {px, py - 1}, {px, py + 1}};
        for (const auto& [nx, ny] : neighbours) {
            if (!inside(nx, ny) || seen[index(nx, ny)]) continue;
            seen[index(nx, ny)] = true;
            if (picture_.pixel(nx, ny) != borderRgb) pending.emplace_back(nx, ny);
        }
    }
    update();
}

void TPreviewImage::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, picture_);
}

void DrawPreviewLine(TPreviewImage& image, int x1, int y1, int x2, int y2, int width) {
    image.SetPen(kPreviewRed, width);
    image.MoveTo(x1, y1);
    image.LineTo(x2, y2);
}

void FillPreviewGray(TPreviewImage& image) {
    image.SetBrushColor(kPreviewGray);
    image.FloodFill(1, 1, kPreviewGray);
}

void DrawWindowPreview(TPreviewImage& image, const TWindowFieldTexts& texts,
                       std::uint32_t traceCount) {
    const int w = image.width();
    const int h = image.height();
    image.NewPicture();
    FillPreviewGray(image);
    // Without traces there is no scale for the trace lines, and the frame would mean nothing.
    if (traceCount == 0) return;

    const long double traces = traceCount;
    int x = PreviewCoordinate(FieldNumber(texts.TraceFirst) / traces * w);
    DrawPreviewLine(image, x, 0, x, h, 2);
    image.TextOut(x, 0, texts.TraceFirst);

    x = PreviewCoordinate(FieldNumber(texts.TraceLast) / traces * w);
    DrawPreviewLine(image, x, 0, x, h, 2);
    image.TextOut(x - 25, 0, texts.TraceLast);

    int y = PreviewCoordinate(FieldNumber(texts.SampleFirst) / kRowSamples * (h + 30));
    DrawPreviewLine(image, 0, y, w, y, 2);
    image.TextOut(0, y, texts.SampleFirst);

    y = PreviewCoordinate(FieldNumber(texts.SampleLast) / kRowSamples * (h - 10));
    DrawPreviewLine(image, 0, y, w, y, 2);
    image.TextOut(0, y - 7, texts.SampleLast);
}

}  // namespace trelvanox
