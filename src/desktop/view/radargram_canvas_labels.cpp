// The canvas's labels: their texts where they fit, the selected one, and the label editing
// mode's mouse and keys.

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <array>

#include "desktop/view/radargram_canvas.h"

namespace trelvanox {

namespace {

constexpr int kTextRows = 3;  // rows of label texts at the top of the picture
constexpr int kTextGap = 4;   // pixels between two texts of one row
constexpr int kNudgeStep = 10;

QString Text(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void TRadargramCanvas::SetLabelEditMode(bool on) {
    labelEditMode_ = on;
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
    if (!on) SetSelectedTrace(std::nullopt);
    setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TRadargramCanvas::SetMarksShown(bool shown) {
    marksShown_ = shown;
    update();
}

void TRadargramCanvas::SetSelectedTrace(std::optional<std::uint32_t> trace) {
    selectedTrace_ = trace;
    update();
}

std::size_t TRadargramCanvas::VisibleLabelCount() const {
    return PlaceLabelLines(marks_, view_, ImageRect().width()).Visible;
}

std::uint32_t TRadargramCanvas::TraceAtX(QPoint point) const {
    const QRect image = ImageRect();
    const QPoint inside(std::clamp(point.x(), image.left(), image.right()), image.center().y());
    const auto cell = CellAt(inside);
    return cell ? static_cast<std::uint32_t>(cell->first) : 0;
}

bool TRadargramCanvas::LabelPress(QPoint at) {
    setFocus(Qt::MouseFocusReason);
    const TLabelMark* mark = marksShown_ ? MarkNear(at) : nullptr;
    if (!mark) return false;  // a pan, or a click that asks for a label
    SetSelectedTrace(mark->Trace);
    emit LabelSelected(mark->Trace);
    drag_ = TDrag::Label;
    pressAt_ = dragAt_ = at;
    dragLabelTo_ = mark->Trace;
    return true;
}

void TRadargramCanvas::LabelMove(QPoint at) {
    // The line snaps to the trace under the cursor.
    const std::uint32_t trace = TraceAtX(at);
    if (trace != dragLabelTo_) {
        dragLabelTo_ = trace;
        update();
    }
    // Told on every move, after the cursor's own report, so that the status shows the drag.
    emit LabelDragged(trace);
}

void TRadargramCanvas::LabelRelease(QPoint at, bool click, bool labelDrag) {
    if (!labelDrag) {
        if (!click) return;  // a pan
        if (const auto cell = CellAt(at))
            emit TraceClicked(static_cast<std::uint32_t>(cell->first));
        return;
    }
    update();
    if (click || !selectedTrace_ || dragLabelTo_ == *selectedTrace_) return;
    emit LabelDropped(*selectedTrace_, dragLabelTo_);
}

void TRadargramCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!labelEditMode_ || event->button() != Qt::LeftButton) return;
    if (const TLabelMark* mark = marksShown_ ? MarkNear(event->position().toPoint()) : nullptr) {
        SetSelectedTrace(mark->Trace);
        emit LabelEditRequested(mark->Trace);
    }
}

bool TRadargramCanvas::LabelKeyPress(QKeyEvent* event) {
    if (!labelEditMode_ || !selectedTrace_) return false;
    const int step = event->modifiers() & Qt::ShiftModifier ? kNudgeStep : 1;
    switch (event->key()) {
        case Qt::Key_Delete:
            emit LabelDeleteRequested(*selectedTrace_);
            break;
        case Qt::Key_F2:
            emit LabelEditRequested(*selectedTrace_);
            break;
        case Qt::Key_Left:
            emit LabelNudgeRequested(*selectedTrace_, -step);
            break;
        case Qt::Key_Right:
            emit LabelNudgeRequested(*selectedTrace_, step);
            break;
        default:
            return false;
    }
    event->accept();
    return true;
}

void TRadargramCanvas::PaintLabelTexts(QPainter& painter, const QRect& image,
                                       const TMarkLayout& layout) const {
    // Each text goes into the first of the rows where it clears the one before it; a text that
    // fits in none is left out rather than drawn over another.
    const QFontMetrics metrics = painter.fontMetrics();
    std::array<int, kTextRows> rowEnds;
    rowEnds.fill(image.left() - kTextGap);
    for (const TPlacedMark& line : layout.Lines) {
        const TLabelMark& mark = marks_[line.Index];
        if (mark.Text.empty()) continue;
        const int x = image.left() + line.X;
        const QString text = Text(mark.Text);
        const int width = metrics.horizontalAdvance(text) + 6;
        const auto row = std::find_if(rowEnds.begin(), rowEnds.end(),
                                      [&](int end) { return x + 2 >= end + kTextGap; });
        if (row == rowEnds.end()) continue;
        *row = x + 2 + width;
        const int r = static_cast<int>(row - rowEnds.begin());
        const QRect box(x + 2, image.top() + 2 + r * (metrics.height() + 1), width,
                        metrics.height());
        const TRgb c = MarkColour(mark.Color);
        // Dark text on a light box, with the label's colour as its edge: light colours such as
        // yellow would not read as text.
        painter.fillRect(box, QColor(255, 255, 255, 210));
        painter.fillRect(QRect(box.left(), box.top(), 2, box.height()), QColor(c.R, c.G, c.B));
        painter.setPen(Qt::black);
        painter.drawText(box.adjusted(2, 0, 0, 0), Qt::AlignCenter, text);
    }
}

void TRadargramCanvas::PaintSelection(QPainter& painter, const QRect& image) const {
    if (!labelEditMode_ || !selectedTrace_) return;
    const auto mark = std::find_if(marks_.begin(), marks_.end(),
                                   [&](const TLabelMark& m) { return m.Trace == *selectedTrace_; });
    if (mark == marks_.end()) return;
    const TRgb c = MarkColour(mark->Color);
    if (const auto x = MarkX(*mark)) {
        painter.setPen(QPen(QColor(c.R, c.G, c.B), 3));
        painter.drawLine(*x, image.top(), *x, image.bottom());
    }
    if (drag_ != TDrag::Label || dragLabelTo_ == mark->Trace) return;
    TLabelMark target = *mark;
    target.Trace = dragLabelTo_;
    if (const auto x = MarkX(target)) {
        painter.setPen(QPen(QColor(c.R, c.G, c.B), 2, Qt::DashLine));
        painter.drawLine(*x, image.top(), *x, image.bottom());
    }
}

}  // namespace trelvanox
