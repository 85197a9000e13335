#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <cstdint>

namespace trelvanox {

// A picture control with a drawing canvas: a picture of the control's size, a pen, a brush and
// a current position, drawn on with the few canvas operations the preview needs and shown as it
// stands. The picture starts blank (white), as a canvas that was never drawn on.
class TPreviewImage : public QWidget {
    Q_OBJECT
  public:
    TPreviewImage(int width, int height, QWidget* parent = nullptr);

    const QImage& Picture() const { return picture_; }
    // Discards the picture and starts a new blank one of the control's size.
    void NewPicture();

    QColor BrushColor() const { return brush_; }
    void SetBrushColor(const QColor& color) { brush_ = color; }
    void SetPen(const QColor& color, int width);

    void MoveTo(int x, int y) { position_ = QPoint(x, y); }
    // A line with the pen from the current position to (x, y), which becomes the position.
    void LineTo(int x, int y);
    // The text in the control's font, black, its character cells filled with the brush first;
    // (x, y) is the top-left corner.
    void TextOut(int x, int y, const QString& text);
    // Paints with the brush the 4-connected region around (x, y) bounded by pixels of the
    // colour border; nothing when (x, y) itself has that colour or lies outside.
    void FloodFill(int x, int y, const QColor& border);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
    QColor pen_ = Qt::black;
    int penWidth_ = 1;
    QColor brush_ = Qt::white;
    QPoint position_;
};

// Sets the pen to pure red of the given width and draws the line from (x1, y1) to (x2, y2).
void DrawPreviewLine(TPreviewImage& image, int x1, int y1, int x2, int y2, int width);

// Sets the brush to gray and flood-fills from (1, 1) bounded by gray: a new picture becomes
// wholly gray; on a drawn one only the non-gray region holding (1, 1) is painted.
void FillPreviewGray(TPreviewImage& image);

// The four window fields as typed.
struct TWindowFieldTexts {
    QString TraceFirst;
    QString TraceLast;
    QString SampleFirst;
    QString SampleLast;
};

// Redraws the preview of the processing window: a new gray picture with a red frame line and
// the field's text for each of the four fields, the traces scaled by traceCount, the samples by
// the 512 samples of a matrix row. A file without traces gets the gray field alone. A text that
// is not a number raises TConversionError when its line is due; the lines before it stay.
void DrawWindowPreview(TPreviewImage& image, const TWindowFieldTexts& texts,
                       std::uint32_t traceCount);

}  // namespace trelvanox
