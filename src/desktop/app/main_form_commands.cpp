// Wiring of the command set to the handlers of the subsystems.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

#include "desktop/amplitude/regulation_amplitude_form.h"
#include "desktop/app/about_form.h"
#include "desktop/app/command_set.h"
#include "desktop/app/help_places.h"
#include "desktop/app/main_form.h"
#include "desktop/app/options_form.h"
#include "desktop/app/shell_commands.h"
#include "desktop/app/window_keys.h"
#include "desktop/document/history_commands.h"
#include "desktop/document/history_form.h"
#include "desktop/document/radargram_file_commands.h"
#include "desktop/exchange/cell_block_keys.h"
#include "desktop/exchange/segy_export_commands.h"
#include "desktop/exchange/table_file_commands.h"
#include "desktop/header/header_commands.h"
#include "desktop/header/header_edit_page.h"
#include "desktop/labels/calibration_form.h"
#include "desktop/labels/color_options_form.h"
#include "desktop/labels/edit_table_commands.h"
#include "desktop/labels/insert_label_form.h"
#include "desktop/labels/label_commands.h"
#include "desktop/platform/command_dispatcher.h"
#include "desktop/view/radargram_view_form.h"
#include "desktop/widgets/ribbon.h"
#include "desktop/widgets/spin_edit.h"
#include "desktop/widgets/string_grid_view.h"

namespace trelvanox {

void TFmMainForm::ConnectCommands() {
    const auto on = [this](const char* name, std::function<void()> handler) {
        QAction* action = commands_->Action(QString::fromLatin1(name));
        if (!action) return;
        connect(action, &QAction::triggered, this,
                [this, handler = std::move(handler)] { RunCommand(platform_, this, handler); });
    };
    TDocumentContext& doc = *documentContext_;
    TEditTableContext& edit = *editTableContext_;
    on("acnReadFile", [&doc] { acnReadFileExecute(doc); });
    on("acnWriteFile", [&doc] { acnWriteFileExecute(doc); });
    on("acnDeleteZeroDelimiter", [&doc] { acnDeleteZeroDelimiterExecute(doc); });
    // Run by RunHistoryStep itself, which says in the status line which step it took.
    connect(commands_->Action(QStringLiteral("acnUndo")), &QAction::triggered, this,
            [this] { RunHistoryStep(true); });
    connect(commands_->Action(QStringLiteral("acnRedo")), &QAction::triggered, this,
            [this] { RunHistoryStep(false); });
    on("acnHistory", [this] {
        fmHistory_->ShowEntries(document_.History());
        fmHistory_->ShowModeless();
    });
    on("acnChangeHeaderSets", [this, &doc] { acnChangeHeaderSetsExecute(doc, *headerEditPage_); });
    on("acnSetNoHeader", [&doc] { acnSetNoHeaderExecute(doc); });
    // The first row and the colour map as they are when the command runs.
    on("acnChangeLabelSets", [this, &doc] {
        acnChangeLabelSetsExecute(doc, newLabelsGrid_, seFirstRow_->Value(),
                                  fmColorOptions_->ColourMap());
    });
    on("acnSetZeroPosition", [&doc] { acnSetZeroPositionExecute(doc); });
    on("acnSetNoLabelText", [&doc] { acnSetNoLabelTextExecute(doc); });
    on("acnImportTable", [this] {
        acnImportTableExecute(platform_, *this, *sgNewSetsLabels_, settings_.DelimiterIndex,
                              LastImportPath);
    });
    on("acnExportTable", [this] {
        acnExportTableExecute(platform_, *this, document_.ReadLabelTable(), RadargramFileName,
                              fmOptions_ && fmOptions_->ExportInUtf8());
    });
    on("acnClearTableLabels", [&edit] { acnClearTableLabelsExecute(edit); });
    on("acnTranslateTable", [this, &edit] { acnTranslateTableExecute(edit, document_); });
    on("acnPrint", [this] { acnPrintExecute(platform_, *this, *sgReadF4Header_); });
    on("acnExportSegy", [&doc] { acnExportSegyExecute(doc); });
    // F1 in a dialog opens the manual at that dialog's section.
    on("acnHelp", [this] {
        const QWidget* active = QApplication::activeWindow();
        acnHelpExecute(platform_, *this, DefaultHelpPlaces(),
                       HelpSection(active ? active->objectName() : QString()));
    });
    on("acnAbout", [this] { acnAboutExecute(*fmAbout_); });
    on("acnExit", [this] { acnExitExecute(*this); });
    on("acnLoadOptions",
       [this] { acnLoadOptionsExecute(settings_, settingsPath_, fmOptions_, *txtOperator()); });
    on("acnSaveOptions", [this] {
        acnSaveOptionsExecute(settings_, settingsPath_);
        txtOperator()->setModified(false);
        if (fmOptions_) fmOptions_->SettingsSaved();
    });
    on("acnSkinObsidian", [this] { ribbon_->SetRibbonStyle(TRibbonStyle::Obsidian); });
    on("acnSkinSilver", [this] { ribbon_->SetRibbonStyle(TRibbonStyle::Silver); });
    on("acnSkinLuna", [this] { ribbon_->SetRibbonStyle(TRibbonStyle::Luna); });
    on("acnOptionsAll", [this] { fmOptions_->ShowPage(0); });
    on("acnOptionsTable1", [this] { fmOptions_->ShowPage(1); });
    on("acnOptionsTable2", [this] { fmOptions_->ShowPage(2); });
    on("acnOptionsRedact", [this] { fmOptions_->ShowPage(3); });
    on("acnDlgColorSettings", [this] { fmColorOptions_->ShowModeless(); });
    on("acnInsertLabel", [this] { fmInsertLabel_->ShowModeless(); });
    on("acnCalibrateByLabels", [this] { fmCalibrateByLabels_->ShowModeless(); });
    on("acnRegulationAmplitude", [this] { fmRegulationAmplitude_->ShowModeless(); });
    on("acnViewRadargram", [this] { fmRadargramView_->ShowModeless(); });

    connect(ribbon_, &TRibbon::HelpButtonClicked, this, [this] {
        RunCommand(platform_, this,
                   [this] { acnHelpExecute(platform_, *this, DefaultHelpPlaces(), QString()); });
    });
    if (auto* open = findChild<QToolButton*>(QStringLiteral("btnOpenDirectory")))
        connect(open, &QToolButton::clicked, this, [this, &doc] {
            RunCommand(platform_, this,
                       [&] { btnOpenDirectoryClick(doc, LastOpenedPath, RadargramFileName); });
        });
    connect(headerEditPage_->btnChangeHeaderSets(), &QPushButton::clicked, this, [this, &doc] {
        RunCommand(platform_, this, [&] { btnChangeHeaderSetsClick(doc, *headerEditPage_); });
    });
    ConnectEditTable();
    ConnectKeys();
}

void TFmMainForm::ConnectKeys() {
    // F1, F5 and Ctrl+P work whatever ribbon tab shows: a key works only while a widget holding
    // its action is visible, and the window always is.
    addActions(commands_->WindowActions());
    new TWindowKeys(*this, *commands_->Action(QStringLiteral("acnUndo")),
                    *commands_->Action(QStringLiteral("acnRedo")));
    // The button's own key would need the tab "Файл" shown.
    if (auto* open = findChild<QToolButton*>(QStringLiteral("btnOpenDirectory"))) {
        auto* key = new QShortcut(QKeySequence::Open, this);
        connect(key, &QShortcut::activated, open, &QToolButton::click);
        open->setToolTip(open->toolTip() + QStringLiteral("\nКлавиши: Ctrl+O"));
    }
    txtFileName_->setToolTip(txtFileName_->toolTip() +
                             QStringLiteral("\nEnter - прочитать файл, F5 - прочитать снова"));
    // Enter in the path field reads the file named there, as "Обновить" does.
    connect(txtFileName_, &QLineEdit::returnPressed,
            commands_->Action(QStringLiteral("acnReadFile")), &QAction::trigger);
    for (TStringGridView* grid : {sgReadF4Header_, sgReadLabels_, sgNewSetsLabels_})
        InstallCellBlockKeys(*grid, platform_);
}

void TFmMainForm::ConnectEditTable() {
    sbtnTranslateTable_->setDefaultAction(commands_->Action(QStringLiteral("acnTranslateTable")));
    sbtnTranslateTable_->setToolTip(
        QStringLiteral("Переместить данные по иеткам для редактирования и перезаписи"));
    const auto runs = [this](const char* button, const char* action) {
        if (auto* b = findChild<QToolButton*>(QString::fromLatin1(button)))
            connect(b, &QToolButton::clicked, commands_->Action(QString::fromLatin1(action)),
                    &QAction::trigger);
    };
    runs("btnImportTableNewLabelSets", "acnImportTable");
    runs("btnExportReadLabelSets", "acnExportTable");
    const auto fits = [this](const char* box, TStringGridView* grid) {
        if (auto* b = findChild<QCheckBox*>(QString::fromLatin1(box)))
            connect(b, &QCheckBox::clicked, this, [grid, b] { AutoSizeColumns(*grid, *b); });
    };
    fits("chkAutoSizeCol1", sgReadLabels_);
    fits("chkAutoSizeCol2", sgNewSetsLabels_);
    QMenu* editMenu = BuildEditTableMenu(*editTableContext_);
    sgNewSetsLabels_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sgNewSetsLabels_, &QWidget::customContextMenuRequested, editMenu,
            [this, editMenu](const QPoint& at) {
                editMenu->popup(sgNewSetsLabels_->viewport()->mapToGlobal(at));
            });
}

void TFmMainForm::OpenFromCommandLine(const QString& path) {
    FormActivate();
    RunCommand(platform_, this,
               [&] { OpenNamedFile(*documentContext_, path, LastOpenedPath, RadargramFileName); });
}

}  // namespace trelvanox
