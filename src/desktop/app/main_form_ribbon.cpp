// The ribbon of the main window: its tabs and groups in order, the application menu and the
// quick-access toolbar, all bound to the command set's actions.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "desktop/app/command_set.h"
#include "desktop/app/main_form.h"
#include "desktop/widgets/ribbon.h"

namespace trelvanox {

namespace {

QCheckBox* AutoSizeBox(const char* name) {
    auto* box = new QCheckBox(QStringLiteral("Авторазмер колонок"));
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

}  // namespace

QWidget* TFmMainForm::BuildFileGroupContent() {
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(3);
    txtFileName_ = new QLineEdit(content);
    txtFileName_->setObjectName(QStringLiteral("txtFileName"));
    txtFileName_->setToolTip(QStringLiteral("Директория файла радарограммы"));
    txtFileName_->setMinimumWidth(420);
    auto* open = new QToolButton(content);
    open->setObjectName(QStringLiteral("btnOpenDirectory"));
    open->setText(QStringLiteral("Открыть"));
    open->setToolTip(QStringLiteral("Открыть файл радарограммы (*.GPR, *.GPR2)"));
    open->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    open->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    lblSizeFile_ = new QLabel(QStringLiteral("Размер файла:"), content);
    lblSizeFile_->setObjectName(QStringLiteral("lblSizeFile"));
    layout->addWidget(txtFileName_);
    auto* recent = new QToolButton(content);
    recent->setObjectName(QStringLiteral("btnRecentFiles"));
    recent->setText(QStringLiteral("Последние"));
    recent->setToolTip(QStringLiteral("Последние открытые файлы радарограмм"));
    recent->setMenu(recentMenu_);
    recent->setPopupMode(QToolButton::InstantPopup);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(open);
    buttons->addWidget(recent);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addWidget(lblSizeFile_);
    return content;
}

void TFmMainForm::BuildRibbon() {
    const auto act = [this](const char* name) {
        return commands_->Action(QString::fromLatin1(name));
    };
    ribbon_->SetCaption(QStringLiteral("Trelvanox v2"));
    recentMenu_ = new QMenu(QStringLiteral("Последние файлы"), this);
    recentMenu_->setObjectName(QStringLiteral("mnuRecentFiles"));
    recentMenu_->setEnabled(false);

    TRibbonTab* file = ribbon_->AddTab(QStringLiteral("Файл"));
    file->AddGroup(QStringLiteral("Директория файла"))->AddWidget(BuildFileGroupContent());
    file->AddGroup(QStringLiteral("Печать"))->AddLargeAction(act("acnPrint"));
    file->AddGroup(QStringLiteral("Файл"))->AddLargeAction(act("acnExportSegy"));

    TRibbonTab* radargram = ribbon_->AddTab(QStringLiteral("Радарограмма"));
    TRibbonGroup* main = radargram->AddGroup(QStringLiteral("Радарограмма"));
    main->AddLargeAction(act("acnReadFile"));
    main->AddSeparator();
    main->AddSmallAction(act("acnChangeHeaderSets"));
    main->AddSmallAction(act("acnChangeLabelSets"));
    // The packed write has no place of its own in the command bar; without a button nobody
    // could reach it.
    main->AddSmallAction(act("acnDeleteZeroDelimiter"));
    radargram->AddGroup(QStringLiteral("Заголовок"))->AddLargeAction(act("acnSetNoHeader"));
    TRibbonGroup* labels = radargram->AddGroup(QStringLiteral("Метки"));
    labels->AddLargeAction(act("acnDlgColorSettings"));
    labels->AddSeparator();
    labels->AddSmallAction(act("acnInsertLabel"));
    labels->AddSmallAction(act("acnSetZeroPosition"));
    labels->AddSmallAction(act("acnSetNoLabelText"));
    labels->AddSmallAction(act("acnCalibrateByLabels"));
    radargram->AddGroup(QStringLiteral("Фильтрация"))
        ->AddLargeAction(act("acnRegulationAmplitude"));
    radargram->AddGroup(QStringLiteral("Просмотр"))->AddLargeAction(act("acnViewRadargram"));
    TRibbonGroup* changes = radargram->AddGroup(QStringLiteral("Изменения"));
    changes->AddSmallAction(act("acnUndo"));
    changes->AddSmallAction(act("acnRedo"));
    changes->AddSmallAction(act("acnHistory"));

    TRibbonTab* tables = ribbon_->AddTab(QStringLiteral("Таблицы"));
    TRibbonGroup* clipboard = tables->AddGroup(QStringLiteral("Буфер обмена"));
    for (const char* name : {"EditCut1", "EditCopy1", "EditPaste1", "EditUndo1", "EditDelete1"})
        clipboard->AddSmallAction(act(name));
    TRibbonGroup* readTable = tables->AddGroup(QStringLiteral("Таблица прочитанных данных"));
    readTable->AddLargeAction(act("acnExportTable"));
    readTable->AddSeparator();
    readTable->AddSmallAction(act("acnTranslateTable"));
    readTable->AddWidget(AutoSizeBox("chkAutoSizeCol1"));
    readTable->SetLauncherAction(act("acnOptionsTable1"));
    TRibbonGroup* newTable = tables->AddGroup(QStringLiteral("Таблица данных для записи"));
    newTable->AddLargeAction(act("acnImportTable"));
    newTable->AddSeparator();
    newTable->AddSmallAction(act("acnClearTableLabels"));
    newTable->AddWidget(AutoSizeBox("chkAutoSizeCol2"));
    newTable->SetLauncherAction(act("acnOptionsTable2"));

    TRibbonTab* view = ribbon_->AddTab(QStringLiteral("Вид"));
    TRibbonGroup* skins = view->AddGroup(QStringLiteral("Скин"));
    for (const char* name : {"acnSkinObsidian", "acnSkinSilver", "acnSkinLuna"})
        skins->AddSmallAction(act(name));
    auto* scheme = new QComboBox;
    scheme->setObjectName(QStringLiteral("ComboBox2"));
    scheme->setEditable(true);
    scheme->addItems(
        {QStringLiteral("XP"), QStringLiteral("Стандарт"), QStringLiteral("Твилайнс")});
    scheme->setEditText(QStringLiteral("схема"));
    view->AddGroup(QStringLiteral("Цветовая схема"))->AddWidget(scheme);

    TRibbonTab* options = ribbon_->AddTab(QStringLiteral("Опции"));
    TRibbonGroup* optionsGroup = options->AddGroup(QStringLiteral("Опции"));
    optionsGroup->AddLargeAction(act("acnOptionsAll"));
    optionsGroup->AddSeparator();
    for (const char* name : {"acnOptionsRedact", "acnOptionsTable1", "acnOptionsTable2"})
        optionsGroup->AddSmallAction(act(name));

    TRibbonTab* help = ribbon_->AddTab(QStringLiteral("Справка"));
    TRibbonGroup* helpGroup = help->AddGroup(QStringLiteral("Справка"));
    helpGroup->AddLargeAction(act("acnHelp"));
    helpGroup->AddSeparator();
    helpGroup->AddLargeAction(act("acnAbout"));
    auto* date = new QLabel;
    date->setObjectName(QStringLiteral("lblDateCompilation"));
    help->AddGroup(QStringLiteral("Дата компиляции"))->AddWidget(date);

    ribbon_->ApplicationMenu()->addMenu(recentMenu_);
    ribbon_->ApplicationMenu()->addSeparator();
    for (const char* name : {"acnPrint", "acnOptionsAll", "acnExit"})
        ribbon_->ApplicationMenu()->addAction(act(name));
    BuildQuickAccessToolBar();
    ribbon_->SetRibbonStyle(TRibbonStyle::Obsidian);
    ribbon_->SetCurrentTab(ribbon_->TabCount() - 1);
}

void TFmMainForm::BuildQuickAccessToolBar() {
    // Names in order; an empty name is a separator.
    static const char* const kItems[] = {"acnReadFile",
                                         "acnWriteFile",
                                         "acnUndo",
                                         "acnRedo",
                                         "acnChangeHeaderSets",
                                         "acnChangeLabelSets",
                                         "acnOptionsRedact",
                                         "",
                                         "acnSetNoHeader",
                                         "",
                                         "acnDlgColorSettings",
                                         "acnInsertLabel",
                                         "acnSetNoLabelText",
                                         "acnSetZeroPosition",
                                         "",
                                         "acnRegulationAmplitude",
                                         "acnViewRadargram",
                                         "",
                                         "acnImportTable",
                                         "acnExportTable",
                                         "acnClearTableLabels",
                                         "acnTranslateTable",
                                         "",
                                         "acnOptionsAll",
                                         "",
                                         "acnPrint",
                                         "",
                                         "acnExit",
                                         "",
                                         "",
                                         "acnChangeLabelSets",
                                         "",
                                         "",
                                         "acnChangeLabelSets",
                                         "",
                                         "acnReadFile"};
    // A toolbar holds an action once; commands that appear twice get buttons of their own.
    QToolBar* bar = ribbon_->QuickAccessToolBar();
    for (const char* name : kItems) {
        if (!*name) {
            bar->addSeparator();
            continue;
        }
        auto* button = new QToolButton(bar);
        button->setDefaultAction(commands_->Action(QString::fromLatin1(name)));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setAutoRaise(true);
        bar->addWidget(button);
    }
}

}  // namespace trelvanox
