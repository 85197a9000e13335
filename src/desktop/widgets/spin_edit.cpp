#include "desktop/widgets/spin_edit.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>
#include <optional>

#include "common/conversion.h"

namespace trelvanox {

namespace {

constexpr int kButtonWidth = 16;

std::optional<int> WholeNumber(const QString& text) {
    try {
        return StrToInt(text.toStdString());
    } catch (const TConversionError&) {
        return std::nullopt;
    }
}

QToolButton* MakeArrowButton(Qt::ArrowType arrow, const char* name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setArrowType(arrow);
    button->setAutoRepeat(true);  // held down, the button keeps stepping
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedWidth(kButtonWidth);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    return button;
}

}  // namespace

TSpinEdit::TSpinEdit(QWidget* parent)
    : QWidget(parent),
      edit_(new QLineEdit(this)),
      up_(MakeArrowButton(Qt::UpArrow, "btnUp", this)),
      down_(MakeArrowButton(Qt::DownArrow, "btnDown", this)) {
    edit_->setObjectName(QStringLiteral("edit"));
    edit_->setText(QStringLiteral("0"));
    edit_->installEventFilter(this);

    auto* arrows = new QVBoxLayout;
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(up_);
    arrows->addWidget(down_);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(edit_);
    layout->addLayout(arrows);

    setFocusProxy(edit_);
    setFocusPolicy(edit_->focusPolicy());
    setSizePolicy(edit_->sizePolicy());

    connect(edit_, &QLineEdit::textChanged, this, &TSpinEdit::TextChanged);
    connect(up_, &QToolButton::clicked, this, &TSpinEdit::StepUp);
    connect(down_, &QToolButton::clicked, this, &TSpinEdit::StepDown);
}

void TSpinEdit::SetMinValue(int value) {
    min_ = value;
    max_ = std::max(max_, value);
}

void TSpinEdit::SetMaxValue(int value) {
    max_ = value;
    min_ = std::min(min_, value);
}

void TSpinEdit::SetRange(int minValue, int maxValue) {
    min_ = minValue;
    max_ = std::max(minValue, maxValue);
}

int TSpinEdit::Value() const {
    return WholeNumber(Text()).value_or(min_);
}

void TSpinEdit::SetValue(int value) {
    SetText(QString::number(Clamp(value)));
}

QString TSpinEdit::Text() const {
    return edit_->text();
}

void TSpinEdit::SetText(const QString& text) {
    if (text != edit_->text()) edit_->setText(text);
}

void TSpinEdit::StepUp() {
    StepBy(1);
}

void TSpinEdit::StepDown() {
    StepBy(-1);
}

bool TSpinEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                StepBy(key == Qt::Key_Up ? 1 : -1);
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            // The editor's own context menu takes the focus for a moment; the user is still
            // editing then.
            if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) FocusLeft();
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Inside the range when bounded; otherwise only inside 32 bits, so a step past the end of the
// type stops there instead of wrapping round.
int TSpinEdit::Clamp(long long value) const {
    if (Bounded()) return static_cast<int>(std::clamp<long long>(value, min_, max_));
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

void TSpinEdit::StepBy(int direction) {
    SetText(QString::number(
        Clamp(static_cast<long long>(Value()) + static_cast<long long>(direction) * increment_)));
}

void TSpinEdit::FocusLeft() {
    if (const std::optional<int> number = WholeNumber(Text())) {
        if (Clamp(*number) != *number) SetValue(*number);
    } else if (zeroOnInvalid_) {
        SetValue(0);
    }
}

}  // namespace trelvanox
