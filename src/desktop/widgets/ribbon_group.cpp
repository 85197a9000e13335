#include <QAction>
#include <QActionEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "desktop/widgets/ribbon.h"
#include "desktop/widgets/ribbon_style.h"

namespace trelvanox {

using namespace ribbon_metrics;

namespace {

constexpr int kLargeMinWidth = 44;
constexpr int kLauncherSize = 14;

// A large button's caption on two lines, broken at the blank nearest its middle, so that large
// buttons stay narrow; a break that would leave a word of one or two letters alone is not made.
QString TwoLineCaption(const QString& text) {
    if (text.contains(QLatin1Char('\n'))) return text;
    const int middle = static_cast<int>(text.size()) / 2;
    int best = -1;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char(' ') &&
            (best < 0 || std::abs(i - middle) < std::abs(best - middle)))
            best = i;
    }
    if (best < 3 || text.size() - best - 1 < 3) return text;
    QString wrapped = text;
    wrapped[best] = QLatin1Char('\n');
    return wrapped;
}

// Keeps the captions of small buttons without an icon in line with their neighbours.
QIcon BlankSmallIcon() {
    QPixmap blank(kSmallIcon, kSmallIcon);
    blank.fill(Qt::transparent);
    return QIcon(blank);
}

// A button bound to its action. QToolButton copies text, icon and tool tip from its default action
// on every change of the action; the caption break and the blank icon are applied again after it.
class TRibbonButton : public QToolButton {
  public:
    TRibbonButton(QAction* action, bool large, QWidget* parent)
        : QToolButton(parent), large_(large) {
        setObjectName(large ? QStringLiteral("ribbonLargeButton")
                            : QStringLiteral("ribbonSmallButton"));
        setFocusPolicy(Qt::NoFocus);
        setAutoRaise(true);
        if (large) {
            setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            setIconSize(QSize(kLargeIcon, kLargeIcon));
            setFixedHeight(kContentHeight);
            setMinimumWidth(kLargeMinWidth);
        } else {
            setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
            setIconSize(QSize(kSmallIcon, kSmallIcon));
            setFixedHeight(kRowHeight);
        }
        setDefaultAction(action);
        Dress();
    }

  protected:
    void actionEvent(QActionEvent* event) override {
        QToolButton::actionEvent(event);
        if (event->type() == QEvent::ActionChanged && event->action() == defaultAction()) Dress();
    }

  private:
    void Dress() {
        if (large_)
            setText(TwoLineCaption(text()));
        else if (icon().isNull())
            setIcon(BlankSmallIcon());
    }

    bool large_;
};

// The dialog launcher: a small corner-and-arrow glyph in the group's caption row. It runs its
// action and shows its tool tip, but draws the glyph instead of the action's icon.
class TLauncherButton : public QToolButton {
  public:
    TLauncherButton(QAction* action, QWidget* parent) : QToolButton(parent) {
        setObjectName(QStringLiteral("ribbonLauncher"));
        setFocusPolicy(Qt::NoFocus);
        setAutoRaise(true);
        setToolButtonStyle(Qt::ToolButtonIconOnly);
        setFixedSize(kLauncherSize, kLauncherSize);
        setDefaultAction(action);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionToolButton option;
        initStyleOption(&option);
        option.icon = QIcon();
        option.text.clear();
        painter.drawComplexControl(QStyle::CC_ToolButton, option);

        const int x = (width() - 9) / 2;
        const int y = (height() - 9) / 2;
        painter.setPen(palette().color(foregroundRole()));
        painter.drawLine(x, y, x + 4, y);  // the corner
        painter.drawLine(x, y, x, y + 4);
        painter.drawLine(x + 3, y + 3, x + 8, y + 8);  // the arrow
        painter.drawLine(x + 8, y + 4, x + 8, y + 8);
        painter.drawLine(x + 4, y + 8, x + 8, y + 8);
    }
};

}  // namespace

TRibbonGroup::TRibbonGroup(const QString& caption, QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(3, 1, 3, 0);
    outer->setSpacing(0);

    auto* content = new QWidget(this);
    content->setFixedHeight(kContentHeight);
    columns_ = new QHBoxLayout(content);
    columns_->setContentsMargins(0, 0, 0, 0);
    columns_->setSpacing(2);
    outer->addWidget(content, 0, Qt::AlignHCenter);

    // Caption and launcher share the bottom row: the caption centred, the launcher at the right.
    footer_ = new QGridLayout;
    footer_->setContentsMargins(0, 0, 0, 0);
    caption_ = new QLabel(caption, this);
    caption_->setObjectName(QStringLiteral("ribbonGroupCaption"));
    caption_->setAlignment(Qt::AlignCenter);
    footer_->addWidget(caption_, 0, 0);
    outer->addLayout(footer_, 1);
}

QString TRibbonGroup::Caption() const {
    return caption_->text();
}

void TRibbonGroup::AddLargeAction(QAction* action) {
    AddColumnItem(new TRibbonButton(action, true, this));
}

void TRibbonGroup::AddSmallAction(QAction* action) {
    AddStacked(new TRibbonButton(action, false, this), 1);
}

void TRibbonGroup::AddSeparator() {
    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("ribbonSeparator"));
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Plain);
    line->setFixedSize(5, kContentHeight - 6);
    AddColumnItem(line);
}

void TRibbonGroup::AddWidget(QWidget* widget) {
    widget->setParent(this);
    // A control takes as many rows as its height needs, at most the whole column.
    const int height = widget->sizeHint().height();
    const int rows =
        std::clamp(static_cast<int>(std::lround(double(height) / kRowHeight)), 1, kStackRows);
    AddStacked(widget, rows);
    widget->show();
}

void TRibbonGroup::SetLauncherAction(QAction* action) {
    delete launcher_;
    launcher_ = new TLauncherButton(action, this);
    footer_->addWidget(launcher_, 0, 0, Qt::AlignRight | Qt::AlignBottom);
    // Equal room on both sides keeps the caption centred on the group.
    caption_->setContentsMargins(kLauncherSize + 1, 0, kLauncherSize + 1, 0);
}

void TRibbonGroup::AddColumnItem(QWidget* item) {
    stack_ = nullptr;
    columns_->addWidget(item, 0, Qt::AlignVCenter);
}

void TRibbonGroup::AddStacked(QWidget* item, int rows) {
    if (!stack_ || stackedRows_ + rows > kStackRows) {
        stack_ = new QVBoxLayout;
        stack_->setContentsMargins(0, 1, 0, 1);
        stack_->setSpacing(0);
        stack_->addStretch(1);
        columns_->addLayout(stack_);
        stackedRows_ = 0;
    }
    stack_->insertWidget(stack_->count() - 1, item, 0, Qt::AlignLeft);
    stackedRows_ += rows;
}

}  // namespace trelvanox
