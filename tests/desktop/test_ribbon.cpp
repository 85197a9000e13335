#include <QAction>
#include <QCheckBox>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPixmap>
#include <QSignalSpy>
#include <QTabBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

#include "desktop/widgets/ribbon.h"

using namespace trelvanox;

namespace {

QToolButton* ButtonFor(const QWidget* root, const QAction* action) {
    for (QToolButton* button : root->findChildren<QToolButton*>())
        if (button->defaultAction() == action) return button;
    return nullptr;
}

// A widget's rectangle in the coordinates of one of its ancestors.
QRect RectIn(const QWidget* ancestor, const QWidget* widget) {
    return {widget->mapTo(ancestor, QPoint(0, 0)), widget->size()};
}

}  // namespace

// A ribbon like the main window's, in a window with another control beside it:
//   "Радарограмма": "Радарограмма" = acnReadFile (large) | acnChangeHeaderSets, acnChangeLabelSets,
//                    acnSetNoHeader, acnInsertLabel (small);
//                   "Метки" = acnDlgColorSettings (large, no icon), chkAutoSizeCol1, launcher
//                    acnOptionsTable1
//   "Файл": "Директория файла" = txtFileName (420 pixels at least); "Печать" = acnPrint (large)
class TRibbonTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void tabsAndGroupsKeepTheirOrder();
    void setCurrentTabShowsThatTab();
    void buttonRunsItsAction_data();
    void buttonRunsItsAction();
    void smallItemsStackThreeToAColumn();
    void addedWidgetsLiveInTheirGroup();
    void launcherRunsItsActionFromTheCorner();
    void quickAccessToolBarShowsIconsOnly();
    void colourStyleRestylesTheRibbonOnly();
    void screenTipHasHeaderLinesAndFooter_data();
    void screenTipHasHeaderLinesAndFooter();
    void buttonsShowTheScreenTip();
    void helpButtonSignals();
    void applicationMenuOpens_data();
    void applicationMenuOpens();

  private:
    QAction* Act(const char* name, const char* text, bool withIcon = true);

    QMainWindow* window_ = nullptr;
    QLineEdit* outside_ = nullptr;  // a control of the window outside the ribbon
    TRibbon* ribbon_ = nullptr;
    QHash<QString, QAction*> actions_;
};

QAction* TRibbonTest::Act(const char* name, const char* text, bool withIcon) {
    auto* action = new QAction(QString::fromUtf8(text), window_);
    action->setObjectName(QString::fromLatin1(name));
    if (withIcon) {
        QPixmap pixmap(32, 32);
        pixmap.fill(Qt::darkCyan);
        action->setIcon(QIcon(pixmap));
    }
    actions_.insert(action->objectName(), action);
    return action;
}

void TRibbonTest::init() {
    window_ = new QMainWindow;
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    ribbon_ = new TRibbon(central);
    outside_ = new QLineEdit(central);
    layout->addWidget(ribbon_);
    layout->addWidget(outside_);
    window_->setCentralWidget(central);
    window_->resize(1192, 300);

    ribbon_->SetCaption(QStringLiteral("Trelvanox v2"));
    TRibbonTab* radargram = ribbon_->AddTab(QStringLiteral("Радарограмма"));
    TRibbonGroup* main = radargram->AddGroup(QStringLiteral("Радарограмма"));
    main->AddLargeAction(Act("acnReadFile", "Обновить"));
    main->AddSeparator();
    main->AddSmallAction(Act("acnChangeHeaderSets", "Редактировать заголовок"));
    main->AddSmallAction(Act("acnChangeLabelSets", "Редактировать метки"));
    main->AddSmallAction(Act("acnSetNoHeader", "Удаление данных заголовка"));
    main->AddSmallAction(Act("acnInsertLabel", "Вставить метку"));
    TRibbonGroup* labels = radargram->AddGroup(QStringLiteral("Метки"));
    labels->AddLargeAction(Act("acnDlgColorSettings", "Цвет меток", false));
    auto* check = new QCheckBox(QStringLiteral("Авторазмер колонок"));
    check->setObjectName(QStringLiteral("chkAutoSizeCol1"));
    labels->AddWidget(check);
    labels->SetLauncherAction(Act("acnOptionsTable1", "Настройки таблицы чтения"));

    TRibbonTab* file = ribbon_->AddTab(QStringLiteral("Файл"));
    auto* path = new QLineEdit;
    path->setObjectName(QStringLiteral("txtFileName"));
    path->setMinimumWidth(420);
    file->AddGroup(QStringLiteral("Директория файла"))->AddWidget(path);
    file->AddGroup(QStringLiteral("Печать"))->AddLargeAction(Act("acnPrint", "Печать"));

    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void TRibbonTest::cleanup() {
    delete window_;
    window_ = nullptr;
    actions_.clear();
}

void TRibbonTest::tabsAndGroupsKeepTheirOrder() {
    QCOMPARE(ribbon_->TabCount(), 2);
    QCOMPARE(ribbon_->Tab(0)->Caption(), QStringLiteral("Радарограмма"));
    QCOMPARE(ribbon_->Tab(1)->Caption(), QStringLiteral("Файл"));
    QCOMPARE(ribbon_->Tab(2), nullptr);
    QCOMPARE(ribbon_->Tab(-1), nullptr);

    auto* tabBar = ribbon_->findChild<QTabBar*>();
    QVERIFY(tabBar);
    QCOMPARE(tabBar->count(), 2);
    QCOMPARE(tabBar->tabText(0), QStringLiteral("Радарограмма"));
    QCOMPARE(tabBar->tabText(1), QStringLiteral("Файл"));

    const TRibbonTab* radargram = ribbon_->Tab(0);
    QCOMPARE(radargram->GroupCount(), 2);
    QCOMPARE(radargram->Group(0)->Caption(), QStringLiteral("Радарограмма"));
    QCOMPARE(radargram->Group(1)->Caption(), QStringLiteral("Метки"));
    QCOMPARE(radargram->Group(2), nullptr);
    // Groups stand side by side in the order they were added.
    QVERIFY(RectIn(radargram, radargram->Group(0)).right() <
            RectIn(radargram, radargram->Group(1)).left());
    QCOMPARE(ribbon_->Tab(1)->Group(1)->Caption(), QStringLiteral("Печать"));

    QCOMPARE(ribbon_->findChild<QLabel*>(QStringLiteral("ribbonCaption"))->text(),
             QStringLiteral("Trelvanox v2"));
    QCOMPARE(ribbon_->height(), 143);
}

void TRibbonTest::setCurrentTabShowsThatTab() {
    QCOMPARE(ribbon_->CurrentTab(), 0);
    ribbon_->SetCurrentTab(1);
    QCOMPARE(ribbon_->CurrentTab(), 1);
    QVERIFY(ribbon_->Tab(1)->isVisible());
    QVERIFY(!ribbon_->Tab(0)->isVisible());
}

void TRibbonTest::buttonRunsItsAction_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("buttonStyle");
    QTest::addColumn<int>("iconSize");
    QTest::addColumn<QString>("caption");
    QTest::newRow("large") << "acnReadFile" << int(Qt::ToolButtonTextUnderIcon) << 32 << "Обновить";
    // Large captions break onto two lines; with no icon the caption is all the button shows.
    QTest::newRow("large without icon")
        << "acnDlgColorSettings" << int(Qt::ToolButtonTextUnderIcon) << 32 << "Цвет\nметок";
    QTest::newRow("small") << "acnChangeHeaderSets" << int(Qt::ToolButtonTextBesideIcon) << 16
                           << "Редактировать заголовок";
}

void TRibbonTest::buttonRunsItsAction() {
    QFETCH(QString, action);
    QFETCH(int, buttonStyle);
    QFETCH(int, iconSize);
    QFETCH(QString, caption);
    QAction* command = actions_.value(action);
    QToolButton* button = ButtonFor(ribbon_, command);
    QVERIFY(button);
    QCOMPARE(int(button->toolButtonStyle()), buttonStyle);
    QCOMPARE(button->iconSize(), QSize(iconSize, iconSize));
    QVERIFY(button->autoRaise());
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->focusPolicy(), Qt::NoFocus);

    QSignalSpy triggered(command, &QAction::triggered);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(triggered.count(), 1);
}

void TRibbonTest::smallItemsStackThreeToAColumn() {
    TRibbonGroup* group = ribbon_->Tab(0)->Group(0);
    QList<QRect> small;
    for (const char* name :
         {"acnChangeHeaderSets", "acnChangeLabelSets", "acnSetNoHeader", "acnInsertLabel"})
        small << RectIn(group, ButtonFor(group, actions_.value(QString::fromLatin1(name))));
    for (int i : {1, 2}) {
        QCOMPARE(small[i].left(), small[0].left());
        QVERIFY(small[i].top() > small[i - 1].top());
    }
    QVERIFY(small[3].left() > small[0].right());
    QCOMPARE(small[3].top(), small[0].top());

    // The separator is a vertical line between the large button and the first column.
    const QRect large = RectIn(group, ButtonFor(group, actions_.value("acnReadFile")));
    auto* separator = group->findChild<QFrame*>(QStringLiteral("ribbonSeparator"));
    QVERIFY(separator);
    QCOMPARE(separator->frameShape(), QFrame::VLine);
    const QRect line = RectIn(group, separator);
    QVERIFY(line.left() > large.right());
    QVERIFY(line.right() < small[0].left());
    QVERIFY(line.height() > line.width());
}

void TRibbonTest::addedWidgetsLiveInTheirGroup() {
    auto* check = ribbon_->findChild<QCheckBox*>(QStringLiteral("chkAutoSizeCol1"));
    auto* path = ribbon_->findChild<QLineEdit*>(QStringLiteral("txtFileName"));
    QVERIFY(ribbon_->Tab(0)->Group(1)->isAncestorOf(check));
    QVERIFY(ribbon_->Tab(1)->Group(0)->isAncestorOf(path));
    // Stacked beside the large button, not under it.
    const TRibbonGroup* labels = ribbon_->Tab(0)->Group(1);
    QVERIFY(RectIn(labels, check).left() >
            RectIn(labels, ButtonFor(labels, actions_.value("acnDlgColorSettings"))).right());

    ribbon_->SetCurrentTab(1);
    QVERIFY(path->isVisible());
    QVERIFY(path->width() >= 420);
    QVERIFY(ribbon_->Tab(1)->Group(0)->width() > 420);
}

void TRibbonTest::launcherRunsItsActionFromTheCorner() {
    QAction* options = actions_.value("acnOptionsTable1");
    SetScreenTip(options, QStringLiteral("Настройки таблицы чтения"),
                 {QStringLiteral("Настройки таблицы с прочитанными данными")});
    TRibbonGroup* group = ribbon_->Tab(0)->Group(1);
    QToolButton* launcher = ButtonFor(group, options);
    QVERIFY(launcher);
    QCOMPARE(launcher->toolTip(), options->toolTip());

    const QRect corner = RectIn(group, launcher);
    QVERIFY(group->width() - corner.right() < 8);
    QVERIFY(group->height() - corner.bottom() < 8);
    QVERIFY(launcher->width() <= 16);

    QSignalSpy triggered(options, &QAction::triggered);
    QTest::mouseClick(launcher, Qt::LeftButton);
    QCOMPARE(triggered.count(), 1);
}

void TRibbonTest::quickAccessToolBarShowsIconsOnly() {
    QToolBar* bar = ribbon_->QuickAccessToolBar();
    QAction* read = actions_.value("acnReadFile");
    QAction* print = actions_.value("acnPrint");
    QAction* colours = actions_.value("acnDlgColorSettings");
    bar->addAction(read);
    QAction* separator = bar->addSeparator();
    bar->addAction(print);
    bar->addAction(colours);
    QCOMPARE(bar->actions(), (QList<QAction*>{read, separator, print, colours}));
    QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    QCOMPARE(bar->iconSize(), QSize(16, 16));
    for (QAction* action : {read, print}) {
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
        QVERIFY(button);
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        QCOMPARE(button->iconSize(), QSize(16, 16));
    }
    // Left of the caption, in the top row.
    QApplication::processEvents();
    const QWidget* caption = ribbon_->findChild<QLabel*>(QStringLiteral("ribbonCaption"));
    QVERIFY(RectIn(ribbon_, bar).right() < RectIn(ribbon_, caption).left());
    QVERIFY(RectIn(ribbon_, bar).bottom() < RectIn(ribbon_, ribbon_->findChild<QTabBar*>()).top());
}

void TRibbonTest::colourStyleRestylesTheRibbonOnly() {
    QCOMPARE(ribbon_->RibbonStyle(), TRibbonStyle::Obsidian);
    const QString windowSheet = window_->styleSheet();
    const QPalette windowPalette = window_->palette();
    const QPalette outsidePalette = outside_->palette();
    const QString outsideSheet = outside_->styleSheet();
    // A point of the tab's panel right of its groups.
    const QPoint panel(ribbon_->width() - 4, ribbon_->height() - 20);

    QSet<QString> sheets;
    QSet<QRgb> panelColours;
    for (TRibbonStyle style : {TRibbonStyle::Silver, TRibbonStyle::Luna, TRibbonStyle::Obsidian}) {
        ribbon_->SetRibbonStyle(style);
        QCOMPARE(ribbon_->RibbonStyle(), style);
        QVERIFY(!ribbon_->styleSheet().isEmpty());
        QVERIFY(!ribbon_->styleSheet().contains(QStringLiteral("${")));  // every colour filled in
        sheets.insert(ribbon_->styleSheet());
        panelColours.insert(ribbon_->grab().toImage().pixel(panel));

        QCOMPARE(window_->styleSheet(), windowSheet);
        QCOMPARE(window_->palette(), windowPalette);
        QCOMPARE(outside_->styleSheet(), outsideSheet);
        QCOMPARE(outside_->palette(), outsidePalette);
    }
    QCOMPARE(sheets.size(), 3);
    QCOMPARE(panelColours.size(), 3);
}

void TRibbonTest::screenTipHasHeaderLinesAndFooter_data() {
    QTest::addColumn<QString>("header");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("no description") << "acnLoadOptions" << QStringList{};
    QTest::newRow("one line") << "Просмотр" << QStringList{"Чтение файла"};
    QTest::newRow("several lines")
        << "Удаление данных заголовка"
        << QStringList{"Стирание редактируемых данных из заголовка файла^", "- Ф.И.О. оператора;",
                       "- Объект;"};
    QTest::newRow("empty last line")
        << "Вырезать" << QStringList{"Вырезать (переместить в буфер обмена)", ""};
    QTest::newRow("empty middle line") << "Помощь" << QStringList{"первая", "", "третья"};
    QTest::newRow("double blank")
        << "Помощь"
        << QStringList{"Система справочной информации.",
                       "Файл справки Trelvanox.chm должен находиться в той же директории, что и "
                       "исполняемый файл  Trelvanox.exe"};
    QTest::newRow("markup characters")
        << "Скин \"Луна\" <b>" << QStringList{"a < b & c > d", "&nbsp; stays text"};
}

void TRibbonTest::screenTipHasHeaderLinesAndFooter() {
    QFETCH(QString, header);
    QFETCH(QStringList, lines);
    QAction action;
    SetScreenTip(&action, header, lines);
    QCOMPARE(action.property("screenTipHeader").toString(), header);
    QCOMPARE(action.property("screenTipLines").toStringList(), lines);

    const QString tip = action.toolTip();
    QVERIFY(Qt::mightBeRichText(tip));
    QTextDocument shown;
    shown.setHtml(tip);
    // As shown: the header, each description line on a line of its own, the separator line,
    // the footer with its two blanks.
    const QStringList expected =
        QStringList{header} + lines + QStringList{QString(), "Нажмите  F1 для справки"};
    QCOMPARE(shown.toPlainText().split(QLatin1Char('\n')), expected);
    QCOMPARE(shown.firstBlock().begin().fragment().charFormat().fontWeight(), int(QFont::Bold));
    QVERIFY(tip.contains(QStringLiteral("<hr>")));
}

void TRibbonTest::buttonsShowTheScreenTip() {
    QAction* read = actions_.value("acnReadFile");
    QAction* header = actions_.value("acnChangeHeaderSets");
    ribbon_->QuickAccessToolBar()->addAction(read);
    // Set after the buttons exist: they follow the action.
    SetScreenTip(read, QStringLiteral("Просмотр"), {QStringLiteral("Чтение файла")});
    SetScreenTip(header, QStringLiteral("Редактировать заголовок"), {});
    const QList<QToolButton*> buttons = {ButtonFor(ribbon_->Tab(0), read),
                                         ButtonFor(ribbon_->QuickAccessToolBar(), read),
                                         ButtonFor(ribbon_->Tab(0), header)};
    for (QToolButton* button : buttons) {
        QVERIFY(button);
        QCOMPARE(button->toolTip(), button->defaultAction()->toolTip());
        QVERIFY(button->toolTip().contains(QStringLiteral("F1")));
    }
    // The caption stays the action's text, not the tip's header.
    QCOMPARE(buttons[0]->text(), QStringLiteral("Обновить"));
}

void TRibbonTest::helpButtonSignals() {
    auto* help = ribbon_->findChild<QToolButton*>(QStringLiteral("ribbonHelpButton"));
    QVERIFY(help);
    QCOMPARE(help->text(), QStringLiteral("?"));
    QSignalSpy clicked(ribbon_, &TRibbon::HelpButtonClicked);
    QTest::mouseClick(help, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
    // At the right end of the top row.
    QVERIFY(ribbon_->width() - RectIn(ribbon_, help).right() < 12);
    QVERIFY(RectIn(ribbon_, help).bottom() < RectIn(ribbon_, ribbon_->findChild<QTabBar*>()).top());
}

void TRibbonTest::applicationMenuOpens_data() {
    QTest::addColumn<bool>("byKey");
    QTest::newRow("button") << false;
    QTest::newRow("key tip Alt+F") << true;
}

void TRibbonTest::applicationMenuOpens() {
    QFETCH(bool, byKey);
    QMenu* menu = ribbon_->ApplicationMenu();
    menu->addAction(actions_.value("acnPrint"));
    QVERIFY(!menu->isVisible());
    if (byKey) {
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_));
        QTest::keyClick(window_, Qt::Key_F, Qt::AltModifier);
    } else {
        auto* button = ribbon_->findChild<QToolButton*>(QStringLiteral("ribbonApplicationButton"));
        QVERIFY(button);
        QVERIFY(RectIn(ribbon_, button).left() < 10);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QVERIFY(menu->isVisible());
    menu->hide();
}

QTEST_MAIN(TRibbonTest)
#include "test_ribbon.moc"
