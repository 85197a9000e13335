#include "desktop/widgets/ribbon.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/widgets/ribbon_style.h"

namespace trelvanox {

using namespace ribbon_metrics;

namespace {

constexpr int kEdge = 4;  // space at the ends of the top row
constexpr int kGap = 8;   // least space between the caption and its neighbours

// The application button's picture: three white bars, the usual sign of a menu.
QIcon MenuGlyph() {
    QPixmap pixmap(14, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    for (int y : {1, 5, 9}) painter.fillRect(1, y, 12, 2, Qt::white);
    return QIcon(pixmap);
}

// The top row. Its parts are placed by hand so that the caption is centred on the whole row
// (not on the space left between the toolbar and the help button) and only moves right, and is
// cut, when the quick-access toolbar grows into the middle.
class TTitleRow : public QWidget {
  public:
    TTitleRow(QWidget* start, QLabel* caption, QToolButton* help, QWidget* parent)
        : QWidget(parent), start_(start), caption_(caption), help_(help) {
        for (QWidget* part : {static_cast<QWidget*>(caption), start, static_cast<QWidget*>(help)})
            part->setParent(this);
        setFixedHeight(kTitleHeight);
    }

    QSize sizeHint() const override {
        return {start_->sizeHint().width() + help_->width() + 2 * kEdge + kGap, kTitleHeight};
    }
    QSize minimumSizeHint() const override { return {0, kTitleHeight}; }

  protected:
    bool event(QEvent* event) override {
        // The toolbar grew or shrank: the start part asks for a new size.
        if (event->type() == QEvent::LayoutRequest) Arrange();
        return QWidget::event(event);
    }
    void resizeEvent(QResizeEvent*) override { Arrange(); }
    void showEvent(QShowEvent*) override { Arrange(); }

  private:
    void Arrange() {
        const int h = height();
        help_->move(width() - kEdge - help_->width(), (h - help_->height()) / 2);
        const int startWidth = std::clamp(start_->sizeHint().width(), 0, help_->x() - kEdge - kGap);
        start_->setGeometry(kEdge, 0, startWidth, h);

        const int textWidth = caption_->fontMetrics().horizontalAdvance(caption_->text()) + 8;
        const int left = std::max((width() - textWidth) / 2, start_->geometry().right() + kGap);
        const int right = std::min(left + textWidth, help_->x() - kGap);
        caption_->setGeometry(left, 0, std::max(0, right - left), h);
    }

    QWidget* start_;
    QLabel* caption_;
    QToolButton* help_;
};

}  // namespace

TRibbon::TRibbon(QWidget* parent) : QWidget(parent), baseStyle_(new TRibbonBaseStyle) {
    setAttribute(Qt::WA_StyledBackground);
    setStyle(baseStyle_);
    setFixedHeight(kRibbonHeight);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    applicationMenu_ = new QMenu(this);
    applicationMenu_->setObjectName(QStringLiteral("ribbonApplicationMenu"));
    applicationMenu_->setToolTipsVisible(true);

    // Top row: application button and quick-access toolbar, caption, help button.
    auto* start = new QWidget;
    auto* startLayout = new QHBoxLayout(start);
    startLayout->setContentsMargins(0, 0, 0, 0);
    startLayout->setSpacing(6);
    applicationButton_ = new QToolButton(start);
    applicationButton_->setObjectName(QStringLiteral("ribbonApplicationButton"));
    applicationButton_->setFocusPolicy(Qt::NoFocus);
    applicationButton_->setIcon(MenuGlyph());
    applicationButton_->setIconSize(QSize(14, 12));
    applicationButton_->setFixedSize(30, 20);
    connect(applicationButton_, &QToolButton::clicked, this, &TRibbon::ShowApplicationMenu);
    // Key tip "F": Alt+F opens the application menu.
    auto* keyTip = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F), this);
    connect(keyTip, &QShortcut::activated, this, &TRibbon::ShowApplicationMenu);

    quickAccess_ = new QToolBar(start);
    quickAccess_->setObjectName(QStringLiteral("ribbonQuickAccessToolBar"));
    quickAccess_->setMovable(false);
    quickAccess_->setFloatable(false);
    quickAccess_->setIconSize(QSize(kSmallIcon, kSmallIcon));
    quickAccess_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    quickAccess_->setFocusPolicy(Qt::NoFocus);
    startLayout->addWidget(applicationButton_, 0, Qt::AlignVCenter);
    startLayout->addWidget(quickAccess_, 0, Qt::AlignVCenter);

    caption_ = new QLabel;
    caption_->setObjectName(QStringLiteral("ribbonCaption"));
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto* help = new QToolButton;
    help->setObjectName(QStringLiteral("ribbonHelpButton"));
    help->setFocusPolicy(Qt::NoFocus);
    help->setText(QStringLiteral("?"));
    help->setFixedSize(16, 16);
    connect(help, &QToolButton::clicked, this, &TRibbon::HelpButtonClicked);

    // The head: top row and tab bar on one background.
    auto* head = new QWidget(this);
    head->setObjectName(QStringLiteral("ribbonHead"));
    head->setAttribute(Qt::WA_StyledBackground);
    auto* headLayout = new QVBoxLayout(head);
    headLayout->setContentsMargins(0, 0, 0, 0);
    headLayout->setSpacing(0);
    headLayout->addWidget(new TTitleRow(start, caption_, help, head));

    tabBar_ = new QTabBar(head);
    tabBar_->setObjectName(QStringLiteral("ribbonTabBar"));
    tabBar_->setDrawBase(false);
    tabBar_->setExpanding(false);
    tabBar_->setFocusPolicy(Qt::NoFocus);
    tabBar_->setFixedHeight(kTabBarHeight);
    auto* tabRow = new QHBoxLayout;
    tabRow->setContentsMargins(kEdge, 0, kEdge, 0);
    tabRow->addWidget(tabBar_);
    tabRow->addStretch(1);
    headLayout->addLayout(tabRow);

    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("ribbonPanel"));
    pages_->setFixedHeight(kPanelHeight);
    connect(tabBar_, &QTabBar::currentChanged, pages_, &QStackedWidget::setCurrentIndex);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(head);
    layout->addWidget(pages_);

    SetRibbonStyle(TRibbonStyle::Obsidian);
}

TRibbon::~TRibbon() {
    // The ribbon's widgets use the base style until the very end of their destruction.
    baseStyle_->deleteLater();
}

void TRibbon::SetCaption(const QString& caption) {
    caption_->setText(caption);  // the top row places it again when the label asks for room
}

QString TRibbon::Caption() const {
    return caption_->text();
}

TRibbonTab* TRibbon::AddTab(const QString& caption) {
    auto* tab = new TRibbonTab(caption, pages_);
    pages_->addWidget(tab);
    tabs_.append(tab);
    tabBar_->addTab(caption);
    return tab;
}

TRibbonTab* TRibbon::Tab(int index) const {
    return index >= 0 && index < tabs_.size() ? tabs_[index] : nullptr;
}

int TRibbon::CurrentTab() const {
    return tabBar_->currentIndex();
}

void TRibbon::SetCurrentTab(int index) {
    tabBar_->setCurrentIndex(index);
}

void TRibbon::SetRibbonStyle(TRibbonStyle style) {
    style_ = style;
    setStyleSheet(RibbonStyleSheet(style));
}

void TRibbon::ShowApplicationMenu() {
    applicationMenu_->popup(
        applicationButton_->mapToGlobal(QPoint(0, applicationButton_->height())));
}

TRibbonTab::TRibbonTab(const QString& caption, QWidget* parent)
    : QWidget(parent), caption_(caption) {
    strip_ = new QWidget(this);
    stripLayout_ = new QHBoxLayout(strip_);
    stripLayout_->setContentsMargins(3, 3, 3, 3);
    stripLayout_->setSpacing(3);
    stripLayout_->addStretch(1);
}

TRibbonGroup* TRibbonTab::AddGroup(const QString& caption) {
    auto* group = new TRibbonGroup(caption, strip_);
    stripLayout_->insertWidget(stripLayout_->count() - 1, group);
    groups_.append(group);
    PlaceStrip();
    return group;
}

TRibbonGroup* TRibbonTab::Group(int index) const {
    return index >= 0 && index < groups_.size() ? groups_[index] : nullptr;
}

QSize TRibbonTab::sizeHint() const {
    return strip_->sizeHint();
}

QSize TRibbonTab::minimumSizeHint() const {
    return {0, strip_->minimumSizeHint().height()};
}

bool TRibbonTab::event(QEvent* event) {
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show) PlaceStrip();
    return QWidget::event(event);
}

void TRibbonTab::resizeEvent(QResizeEvent*) {
    PlaceStrip();
}

void TRibbonTab::PlaceStrip() {
    strip_->setGeometry(0, 0, std::max(width(), strip_->sizeHint().width()), height());
    stripLayout_->activate();
}

}  // namespace trelvanox
