// Wiring of the command set to the handlers of the subsystems.

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

#include "desktop/amplitude/regulation_amplitude_form.h"
#include "desktop/app/command_dispatcher.h"
#include "desktop/app/command_set.h"
#include "desktop/app/main_form.h"
#include "desktop/app/options_form.h"
#include "desktop/app/shell_commands.h"
#include "desktop/document/radargram_file_commands.h"
#include "desktop/exchange/table_file_commands.h"
#include "desktop/header/header_commands.h"
#include "desktop/header/header_edit_page.h"
#include "desktop/labels/color_options_form.h"
#include "desktop/labels/edit_table_commands.h"
#include "desktop/labels/insert_label_form.h"
#include "desktop/labels/label_commands.h"
#include "desktop/widgets/ribbon.h"
#include "desktop/widgets/string_grid_view.h"

namespace trelvanox {

void TFmMainForm::ConnectCommands() {
    const auto on = [this](const char* name, std::function<void(TFmMainForm&)> handler) {
        QAction* action = commands_->Action(QString::fromLatin1(name));
        if (!action) return;
        connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] {
            RunCommand(platform_, this, [&] { handler(*this); });
        });
    };
    on("acnReadFile", acnReadFileExecute);
    on("acnWriteFile", acnWriteFileExecute);
    on("acnDeleteZeroDelimiter", acnDeleteZeroDelimiterExecute);
    on("acnChangeHeaderSets", acnChangeHeaderSetsExecute);
    on("acnSetNoHeader", acnSetNoHeaderExecute);
    on("acnChangeLabelSets", acnChangeLabelSetsExecute);
    on("acnSetZeroPosition", acnSetZeroPositionExecute);
    on("acnSetNoLabelText", acnSetNoLabelTextExecute);
    on("acnImportTable", acnImportTableExecute);
    on("acnExportTable", acnExportTableExecute);
    on("acnClearTableLabels", acnClearTableLabelsExecute);
    on("acnTranslateTable", acnTranslateTableExecute);
    on("acnPrint", acnPrintExecute);
    on("acnHelp", acnHelpExecute);
    on("acnAbout", acnAboutExecute);
    on("acnExit", acnExitExecute);
    on("acnLoadOptions", acnLoadOptionsExecute);
    on("acnSaveOptions", acnSaveOptionsExecute);
    on("acnSkinObsidian",
       [](TFmMainForm& f) { f.Ribbon().SetRibbonStyle(TRibbonStyle::Obsidian); });
    on("acnSkinSilver", [](TFmMainForm& f) { f.Ribbon().SetRibbonStyle(TRibbonStyle::Silver); });
    on("acnSkinLuna", [](TFmMainForm& f) { f.Ribbon().SetRibbonStyle(TRibbonStyle::Luna); });
    on("acnOptionsAll", [](TFmMainForm& f) { f.FmOptions()->ShowPage(0); });
    on("acnOptionsTable1", [](TFmMainForm& f) { f.FmOptions()->ShowPage(1); });
    on("acnOptionsTable2", [](TFmMainForm& f) { f.FmOptions()->ShowPage(2); });
    on("acnOptionsRedact", [](TFmMainForm& f) { f.FmOptions()->ShowPage(3); });
    on("acnDlgColorSettings", [](TFmMainForm& f) { f.FmColorOptions()->ShowModeless(); });
    on("acnInsertLabel", [](TFmMainForm& f) { f.FmInsertLabel()->ShowModeless(); });
    on("acnRegulationAmplitude", [](TFmMainForm& f) { f.FmRegulationAmplitude()->ShowModeless(); });

    connect(ribbon_, &TRibbon::HelpButtonClicked, this,
            [this] { RunCommand(platform_, this, [this] { acnHelpExecute(*this); }); });
    if (auto* open = findChild<QToolButton*>(QStringLiteral("btnOpenDirectory")))
        connect(open, &QToolButton::clicked, this,
                [this] { RunCommand(platform_, this, [this] { btnOpenDirectoryClick(*this); }); });
    connect(headerEditPage_->btnChangeHeaderSets(), &QPushButton::clicked, this,
            [this] { RunCommand(platform_, this, [this] { btnChangeHeaderSetsClick(*this); }); });
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
    QMenu* editMenu = BuildEditTableMenu(*this);
    sgNewSetsLabels_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sgNewSetsLabels_, &QWidget::customContextMenuRequested, editMenu,
            [this, editMenu](const QPoint& at) {
                editMenu->popup(sgNewSetsLabels_->viewport()->mapToGlobal(at));
            });
}

}  // namespace trelvanox
