#include "desktop/view/radargram_canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "desktop/view/view_axes.h"
#include "labels/read_label_table.h"
#include "model/radargram.h"
#include "render/bscan_renderer.h"
#include "render/profile_axes.h"

namespace trelvanox {

namespace {

// Room for the axes around the picture.
constexpr int kLeft = 58;
constexpr int kRight = 58;
constexpr int kTop = 38;
constexpr int kBottom = 6;
constexpr int kClickSlop = 3;        // pixels a click may move, and may miss a label line by
constexpr double kWheelStep = 1.25;  // zoom of one wheel notch

QString Text(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

TRadargramCanvas::TRadargramCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(kLeft + kRight + 80, kTop + kBottom + 60);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A click gives the canvas the keys: + and - zoom, the arrows pan, Home shows everything.
    setFocusPolicy(Qt::StrongFocus);
}

// Every read of the model's sizes comes here: frozen, the canvas has none to read.
std::uint32_t TRadargramCanvas::TraceCount() const {
    if (frozen_ || !model_ || !model_->HasHeader()) return 0;
    return std::min<std::uint32_t>(model_->Header().TraceCount, model_->TraceHeaders().size());
}

std::uint32_t TRadargramCanvas::SampleCount() const {
    if (frozen_ || !model_ || !model_->HasHeader()) return 0;
    return std::min(model_->Header().SampleCount, kMaxSamples);
}

void TRadargramCanvas::ShowProfile(const TRadargram* model, bool freshProfile) {
    model_ = model;
    if (freshProfile) {
        scaleStale_ = true;
        view_ = WholeView(TraceCount(), SampleCount());
    }
    view_ = ClampView(view_, TraceCount(), SampleCount());
    Changed();
    emit ViewChanged();
}

void TRadargramCanvas::SetSamples(std::optional<TSampleGrid> samples, bool freshScale) {
    samples_ = samples;
    if (freshScale) scaleStale_ = true;
    Changed();
}

void TRadargramCanvas::SetMarks(std::vector<TLabelMark> marks) {
    marks_ = std::move(marks);
    update();
}

void TRadargramCanvas::SetFrame(std::optional<TProcessingWindow> frame) {
    const bool same =
        frame_.has_value() == frame.has_value() &&
        (!frame ||
         std::tie(frame_->FirstTrace, frame_->LastTrace, frame_->FirstSample, frame_->LastSample) ==
             std::tie(frame->FirstTrace, frame->LastTrace, frame->FirstSample, frame->LastSample));
    frame_ = frame;
    if (!same) update();
}

void TRadargramCanvas::SetGain(double gain) {
    style_.Gain = gain;
    Changed();
}

void TRadargramCanvas::SetPalette(TPalette palette) {
    style_.Palette = palette;
    Changed();
}

void TRadargramCanvas::SetClipPercentile(double percentile) {
    clipPercentile_ = percentile;
    scaleStale_ = true;
    Changed();
}

void TRadargramCanvas::Fit() {
    SetView(WholeView(TraceCount(), SampleCount()));
}

void TRadargramCanvas::SetView(const TRenderView& view) {
    // No sizes to clamp to: the view stays as the frozen picture shows it.
    if (frozen_) return;
    const TRenderView clamped = ClampView(view, TraceCount(), SampleCount());
    if (clamped == view_) return;
    view_ = clamped;
    Changed();
    emit ViewChanged();
}

void TRadargramCanvas::Changed() {
    stale_ = true;
    update();
}

QRect TRadargramCanvas::ImageRect() const {
    return QRect(kLeft, kTop, std::max(1, width() - kLeft - kRight),
                 std::max(1, height() - kTop - kBottom));
}

std::optional<int> TRadargramCanvas::MarkX(const TLabelMark& mark) const {
    const QRect image = ImageRect();
    const int x = CellPixel(view_.FirstTrace, view_.TraceSpan, image.width(), mark.Trace);
    if (x < 0 || mark.Trace >= TraceCount()) return std::nullopt;
    return image.left() + x;
}

std::optional<std::pair<std::int64_t, std::int64_t>> TRadargramCanvas::CellAt(QPoint point,
                                                                              bool last) const {
    const QRect image = ImageRect();
    if (!image.contains(point) || TraceCount() == 0 || SampleCount() == 0) return std::nullopt;
    const TCellRange traces =
        PixelCells(view_.FirstTrace, view_.TraceSpan, image.width(), point.x() - image.left());
    const TCellRange samples =
        PixelCells(view_.FirstSample, view_.SampleSpan, image.height(), point.y() - image.top());
    return std::make_pair(
        std::clamp<std::int64_t>(last ? traces.End - 1 : traces.First, 0, TraceCount() - 1),
        std::clamp<std::int64_t>(last ? samples.End - 1 : samples.First, 0, SampleCount() - 1));
}

void TRadargramCanvas::RenderIfNeeded(QSize size) {
    if (pixels_.Width != size.width() || pixels_.Height != size.height()) {
        pixels_ = TRgbImage(size.width(), size.height());
        stale_ = true;
    }
    if (!stale_ || !model_) return;
    if (scaleStale_) {
        style_.ClipLevel = samples_ ? ClipLevelOf(*samples_, clipPercentile_)
                                    : ClipLevelOf(*model_, clipPercentile_);
        scaleStale_ = false;
    }
    if (samples_)
        RenderBScan(*samples_, view_, style_, pixels_);
    else
        RenderBScan(*model_, view_, style_, pixels_);
    stale_ = false;
    ++renderCount_;
}

void TRadargramCanvas::SetFrozen(bool frozen) {
    if (frozen == frozen_) return;
    // Taken while the model may still be read; a hidden canvas paints nothing until it is shown.
    frozenPicture_ = frozen && isVisible() ? grab() : QPixmap();
    frozen_ = frozen;
    update();
}

void TRadargramCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (frozen_) {
        painter.drawPixmap(0, 0, frozenPicture_);
        return;
    }
    const QRect image = ImageRect();
    if (TraceCount() == 0 || SampleCount() == 0) {
        painter.drawText(image, Qt::AlignCenter, QStringLiteral("Нет данных для просмотра"));
        return;
    }
    RenderIfNeeded(image.size());
    const QImage picture(pixels_.Pixels.data(), pixels_.Width, pixels_.Height, pixels_.Width * 3,
                         QImage::Format_RGB888);
    painter.drawImage(image.topLeft(), picture);
    PaintMarks(painter, image);
    PaintFrame(painter, image);
    if (drag_ == TDrag::Window) {
        painter.setPen(QPen(Qt::yellow, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(pressAt_, dragAt_).normalized());
    }
    PaintAxes(painter, image);
}

void TRadargramCanvas::PaintMarks(QPainter& painter, const QRect& image) const {
    if (!marksShown_) return;
    painter.save();
    painter.setClipRect(image);
    const TMarkLayout layout = PlaceLabelLines(marks_, view_, image.width());
    for (const TPlacedMark& line : layout.Lines) {
        const TRgb c = MarkColour(marks_[line.Index].Color);
        // Crowded lines let the profile show through.
        painter.setPen(QColor(c.R, c.G, c.B, line.Crowded ? kCrowdedAlpha : 255));
        const int x = image.left() + line.X;
        painter.drawLine(x, image.top(), x, image.bottom());
    }
    PaintLabelTexts(painter, image, layout);
    PaintSelection(painter, image);
    painter.restore();
}

void TRadargramCanvas::PaintFrame(QPainter& painter, const QRect& image) const {
    if (!frame_) return;
    const auto edge = [](double first, double span, int pixels, double cell) {
        return (cell - first) * pixels / span;
    };
    const double left = edge(view_.FirstTrace, view_.TraceSpan, image.width(), frame_->FirstTrace);
    const double right =
        edge(view_.FirstTrace, view_.TraceSpan, image.width(), frame_->LastTrace + 1.0);
    const double top =
        edge(view_.FirstSample, view_.SampleSpan, image.height(), frame_->FirstSample);
    const double bottom =
        edge(view_.FirstSample, view_.SampleSpan, image.height(), frame_->LastSample + 1.0);
    painter.save();
    painter.setClipRect(image);
    painter.setBrush(Qt::NoBrush);
    const QRectF box(image.left() + left, image.top() + top, right - left - 1, bottom - top - 1);
    painter.setPen(QPen(Qt::black, 3));
    painter.drawRect(box);
    painter.setPen(QPen(QColor(255, 200, 0), 1));
    painter.drawRect(box);
    painter.restore();
}

void TRadargramCanvas::PaintAxes(QPainter& painter, const QRect& image) const {
    const TRadarHeader& header = model_->Header();
    const TProfileAxes axes = ProfileAxes(header);
    const QFontMetrics metrics = painter.fontMetrics();
    painter.setPen(palette().windowText().color());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(image.adjusted(-1, -1, 0, 0));

    // Along the top: trace numbers, and below them the chainage of the same trace.
    const TAxisTicks traces =
        AxisTicks(view_.FirstTrace, view_.TraceSpan, image.width(), 1.0, 110.0);
    const auto traceHeaders = model_->TraceHeaders();
    for (const TAxisTick& tick : traces.Ticks) {
        const int x = image.left() + static_cast<int>(tick.Pixel);
        painter.drawLine(x, image.top() - 4, x, image.top() - 1);
        const auto t = static_cast<std::size_t>(tick.Value);
        painter.drawText(x + 2, image.top() - 4 - metrics.height(), TickText(tick.Value, 1));
        if (t < traceHeaders.size())
            painter.drawText(
                x + 2, image.top() - 5,
                Text(ChainageText(traceHeaders[t].Coordinate, header.StartCoordinate)));
    }

    // Time on the left, depth on the right.
    const auto vertical = [&](double unit, bool left, const QString& caption) {
        const TAxisTicks ticks =
            AxisTicks(view_.FirstSample, view_.SampleSpan, image.height(), unit, 40.0);
        for (const TAxisTick& tick : ticks.Ticks) {
            const int y = image.top() + static_cast<int>(tick.Pixel);
            const int x = left ? image.left() - 1 : image.right() + 1;
            painter.drawLine(x, y, left ? x - 4 : x + 4, y);
            const QRect box =
                left ? QRect(0, y - 8, x - 6, 16) : QRect(x + 6, y - 8, kRight - 8, 16);
            painter.drawText(box, (left ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                             TickText(tick.Value, ticks.Step));
        }
        const QRect title = left ? QRect(0, 0, kLeft - 4, kTop - 2)
                                 : QRect(image.right() + 4, 0, kRight - 4, kTop - 2);
        painter.drawText(title, Qt::AlignBottom | (left ? Qt::AlignRight : Qt::AlignLeft), caption);
    };
    if (axes.NsPerSample > 0) vertical(axes.NsPerSample, true, QStringLiteral("нс"));
    if (axes.MetresPerNs)
        vertical(axes.NsPerSample * *axes.MetresPerNs, false, QStringLiteral("м"));
}

const TLabelMark* TRadargramCanvas::MarkNear(QPoint point) const {
    const TLabelMark* nearest = nullptr;
    int distance = kClickSlop + 1;
    for (const TLabelMark& mark : marks_) {
        const auto x = MarkX(mark);
        if (x && std::abs(*x - point.x()) < distance) {
            distance = std::abs(*x - point.x());
            nearest = &mark;
        }
    }
    return nearest;
}

void TRadargramCanvas::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!ImageRect().contains(at) || drag_ != TDrag::None) return;
    if (labelEditMode_ && event->button() == Qt::LeftButton && LabelPress(at)) return;
    const bool window =
        event->button() == Qt::RightButton || (event->button() == Qt::LeftButton && windowMode_);
    if (!window && event->button() != Qt::LeftButton) return;
    drag_ = window ? TDrag::Window : TDrag::Pan;
    pressAt_ = dragAt_ = at;
    pressView_ = view_;
}

void TRadargramCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const QRect image = ImageRect();
    emit CursorAt(image.contains(at) ? std::optional<QPoint>(at) : std::nullopt);
    if (drag_ == TDrag::None) return;
    dragAt_ = at;
    if (drag_ == TDrag::Label) {
        LabelMove(at);
        return;
    }
    if (drag_ == TDrag::Window) {
        update();
        return;
    }
    TRenderView view = pressView_;
    view.FirstTrace -= (at.x() - pressAt_.x()) * view.TraceSpan / image.width();
    view.FirstSample -= (at.y() - pressAt_.y()) * view.SampleSpan / image.height();
    SetView(view);
}

void TRadargramCanvas::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const TDrag drag = drag_;
    drag_ = TDrag::None;
    if (drag == TDrag::Window) {
        FinishWindow(at);
        update();
        return;
    }
    const bool click = (at - pressAt_).manhattanLength() <= kClickSlop;
    if (labelEditMode_ && (drag == TDrag::Label || drag == TDrag::Pan)) {
        LabelRelease(at, click, drag == TDrag::Label);
        return;
    }
    if (drag == TDrag::Pan && click) {
        if (const TLabelMark* mark = MarkNear(at)) emit LabelClicked(mark->Row);
    }
}

void TRadargramCanvas::FinishWindow(QPoint end) {
    const QRect image = ImageRect();
    const auto inside = [&](QPoint p) {
        return QPoint(std::clamp(p.x(), image.left(), image.right()),
                      std::clamp(p.y(), image.top(), image.bottom()));
    };
    // The window takes every cell the marked pixels cover: from the first cell of the top left
    // pixel to the last of the bottom right one, which in a shrunk view is many cells on.
    const QPoint from = inside(pressAt_);
    const QPoint to = inside(end);
    const auto a = CellAt({std::min(from.x(), to.x()), std::min(from.y(), to.y())}, false);
    const auto b = CellAt({std::max(from.x(), to.x()), std::max(from.y(), to.y())}, true);
    if (!a || !b) return;
    const auto u32 = [](std::int64_t v) { return static_cast<std::uint32_t>(v); };
    emit WindowMarked({u32(a->first), u32(b->first), u32(a->second), u32(b->second)});
}

void TRadargramCanvas::ZoomAround(double fx, double fy, double zoom, bool tracesOnly,
                                  bool samplesOnly) {
    // The cell at the fractions (fx, fy) of the picture stays where it is.
    TRenderView view = view_;
    const double trace = view.FirstTrace + fx * view.TraceSpan;
    const double sample = view.FirstSample + fy * view.SampleSpan;
    if (!samplesOnly)
        view.TraceSpan =
            std::clamp(view.TraceSpan * zoom, 1.0, std::max(1.0, double(TraceCount())));
    if (!tracesOnly)
        view.SampleSpan =
            std::clamp(view.SampleSpan * zoom, 1.0, std::max(1.0, double(SampleCount())));
    view.FirstTrace = trace - fx * view.TraceSpan;
    view.FirstSample = sample - fy * view.SampleSpan;
    SetView(view);
}

void TRadargramCanvas::wheelEvent(QWheelEvent* event) {
    const QRect image = ImageRect();
    const QPointF at = event->position();
    // Some systems turn a wheel with Shift held into a sideways one.
    const QPoint delta = event->angleDelta();
    const double notches = (delta.y() != 0 ? delta.y() : delta.x()) / 120.0;
    const bool tracesOnly = event->modifiers() & Qt::ControlModifier;
    const bool samplesOnly = !tracesOnly && (event->modifiers() & Qt::ShiftModifier);
    if (notches == 0 || !image.contains(at.toPoint())) return;
    // The cell under the cursor stays under it.
    const double fx = (at.x() + 0.5 - image.left()) / image.width();
    const double fy = (at.y() + 0.5 - image.top()) / image.height();
    ZoomAround(fx, fy, std::pow(kWheelStep, -notches), tracesOnly, samplesOnly);
    event->accept();
}

void TRadargramCanvas::keyPressEvent(QKeyEvent* event) {
    // A selected label in the editing mode takes the arrows first: they nudge it.
    if (LabelKeyPress(event)) return;
    // An arrow moves the view by a tenth of what it shows.
    constexpr double kPanStep = 0.1;
    TRenderView view = view_;
    switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            ZoomAround(0.5, 0.5, 1.0 / kWheelStep);
            break;
        case Qt::Key_Minus:
            ZoomAround(0.5, 0.5, kWheelStep);
            break;
        case Qt::Key_Home:
            Fit();
            break;
        case Qt::Key_Left:
            view.FirstTrace -= kPanStep * view.TraceSpan;
            SetView(view);
            break;
        case Qt::Key_Right:
            view.FirstTrace += kPanStep * view.TraceSpan;
            SetView(view);
            break;
        case Qt::Key_Up:
            view.FirstSample -= kPanStep * view.SampleSpan;
            SetView(view);
            break;
        case Qt::Key_Down:
            view.FirstSample += kPanStep * view.SampleSpan;
            SetView(view);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void TRadargramCanvas::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit CursorAt(std::nullopt);
}

}  // namespace trelvanox
