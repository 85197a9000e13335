#include "desktop/app/options_check_box.h"

#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <algorithm>

namespace trelvanox {

namespace {

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;
constexpr int kMargin = 1;            // room for the focus frame around the caption
constexpr int kPreferredWidth = 600;  // caption width asked for when nothing constrains it

}  // namespace

TWrapCheckBox::TWrapCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int TWrapCheckBox::CaptionIndent() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this) +
           style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
}

QRect TWrapCheckBox::CaptionRect(int width) const {
    const int left = CaptionIndent();
    const int textWidth = std::max(width - left - 2 * kMargin, 1);
    const QRect bounds =
        fontMetrics().boundingRect(QRect(0, 0, textWidth, 1 << 20), kTextFlags, text());
    return QRect(left + kMargin, kMargin, textWidth, bounds.height());
}

int TWrapCheckBox::heightForWidth(int width) const {
    QStyleOptionButton option;
    initStyleOption(&option);
    const int indicator = style()->pixelMetric(QStyle::PM_IndicatorHeight, &option, this);
    return std::max(CaptionRect(width).height() + 2 * kMargin, indicator);
}

QSize TWrapCheckBox::sizeHint() const {
    const int oneLine =
        fontMetrics()
            .boundingRect(QRect(0, 0, 1 << 20, 1 << 20), kTextFlags & ~Qt::TextWordWrap, text())
            .width();
    const int width = CaptionIndent() + std::min(oneLine, kPreferredWidth) + 2 * kMargin;
    return QSize(width, heightForWidth(width));
}

QSize TWrapCheckBox::minimumSizeHint() const {
    // One line high: the layout gives a wrapped caption its height through heightForWidth.
    const int width = CaptionIndent() + fontMetrics().averageCharWidth() * 10;
    return QSize(width, heightForWidth(1 << 20));
}

void TWrapCheckBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);

    // The box beside the first line of the caption.
    QStyleOptionButton box = option;
    const int boxWidth = style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this);
    const int boxHeight = style()->pixelMetric(QStyle::PM_IndicatorHeight, &option, this);
    const int firstLine = fontMetrics().height() + 2 * kMargin;
    box.rect = QRect(0, std::max((firstLine - boxHeight) / 2, 0), boxWidth, boxHeight);
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, box);

    const QRect caption = CaptionRect(width());
    painter.drawItemText(caption, kTextFlags, option.palette, isEnabled(), text(),
                         QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = caption.adjusted(-kMargin, -kMargin, kMargin, kMargin);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

}  // namespace trelvanox
