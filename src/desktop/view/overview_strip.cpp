#include "desktop/view/overview_strip.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "model/radargram.h"
#include "render/amplitude_scale.h"
#include "render/bscan_renderer.h"

namespace trelvanox {

namespace {

constexpr int kHeight = 40;

}  // namespace

TOverviewStrip::TOverviewStrip(QWidget* parent) : QWidget(parent) {
    setFixedHeight(kHeight);
    setToolTip(QStringLiteral("Вся радарограмма; рамка — видимая часть, её можно перетащить"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

std::uint32_t TOverviewStrip::TraceCount() const {
    if (frozen_ || !model_ || !model_->HasHeader()) return 0;
    return std::min<std::uint32_t>(model_->Header().TraceCount, model_->TraceHeaders().size());
}

void TOverviewStrip::ShowProfile(const TRadargram* model, const TRenderStyle& style) {
    model_ = model;
    style_ = style;
    stale_ = true;
    update();
}

void TOverviewStrip::SetShown(const TRenderView& view) {
    if (view == shown_) return;
    shown_ = view;
    update();
}

int TOverviewStrip::XOfTrace(double trace) const {
    const std::uint32_t traces = TraceCount();
    return traces == 0 ? 0 : static_cast<int>(trace * width() / traces);
}

void TOverviewStrip::SetFrozen(bool frozen) {
    if (frozen == frozen_) return;
    frozenPicture_ = frozen && isVisible() ? grab() : QPixmap();
    frozen_ = frozen;
    update();
}

void TOverviewStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (frozen_) {
        painter.drawPixmap(0, 0, frozenPicture_);
        return;
    }
    const std::uint32_t traces = TraceCount();
    if (traces == 0 || model_->Header().SampleCount == 0) return;
    if (stale_ || pixels_.Width != width() || pixels_.Height != height()) {
        // Its own scale: the view's is taken only when the view first draws.
        if (stale_) style_.ClipLevel = ClipLevelOf(*model_);
        pixels_ = RenderBScan(*model_, WholeView(traces, model_->Header().SampleCount), style_,
                              width(), height());
        stale_ = false;
        ++renderCount_;
    }
    painter.drawImage(0, 0,
                      QImage(pixels_.Pixels.data(), pixels_.Width, pixels_.Height,
                             pixels_.Width * 3, QImage::Format_RGB888));
    const int left = XOfTrace(shown_.FirstTrace);
    const int right = std::max(left + 2, XOfTrace(shown_.FirstTrace + shown_.TraceSpan));
    const QRect box(left, 0, right - left - 1, height() - 1);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 3));
    painter.drawRect(box);
    painter.setPen(QPen(QColor(255, 200, 0), 1));
    painter.drawRect(box);
}

void TOverviewStrip::Ask(double x) {
    const std::uint32_t traces = TraceCount();
    if (traces == 0 || width() <= 0) return;
    emit CenterOn(std::clamp(x, 0.0, double(width())) * traces / width());
}

void TOverviewStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) Ask(event->position().x());
}

void TOverviewStrip::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) Ask(event->position().x());
}

}  // namespace trelvanox
