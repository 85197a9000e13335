#include "desktop/document/radargram_file_commands.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

#include "desktop/app/main_form.h"
#include "desktop/platform/platform.h"
#include "desktop/widgets/string_grid_model.h"
#include "desktop/widgets/string_grid_view.h"
#include "header/header_table.h"
#include "labels/read_label_table.h"
#include "model/file_messages.h"
#include "model/radargram_io.h"

namespace trelvanox {

namespace {

const QString kOpenFilter =
    QStringLiteral("Файлы радарограмм (*.GPR, *.GPR2)|*.GPR;*.GPR2|Все файлы (*.*)|*.*");

std::filesystem::path FilePath(const TFmMainForm& form) {
    return std::filesystem::path(QFile::encodeName(form.txtFileName()->text()).toStdString());
}

TRadarLayout Layout(TFmMainForm& form) {
    return LayoutFromFormatIndex(form.Settings().FormatIndex);
}

void Report(TFmMainForm& form, const std::optional<TFileMessage>& message) {
    if (!message) return;
    const QString text = QString::fromUtf8(message->Text);
    if (message->Caption.empty())
        form.Platform().ShowMessage(&form, text);
    else
        form.Platform().MessageBox(&form, text, QString::fromUtf8(message->Caption),
                                   TMsgButtons::Ok, TMsgIcon::Information);
}

void FillTables(TFmMainForm& form) {
    form.ltxtLenghtOfProfil()->setText(
        QString::fromUtf8(FillHeaderTable(form.HeaderGrid(), form.Model().Header())));
    form.sgReadF4Header()->GridModel()->GridChanged();
    const TReadLabelCounts counts = FillReadLabelTable(form.ReadLabelsGrid(), form.Model());
    form.sgReadLabels()->GridModel()->GridChanged();
    form.ltxtNLabels()->setText(QString::fromUtf8(counts.Total));
    form.ltxtNLabelsWithText()->setText(QString::fromUtf8(counts.WithText));
    form.ltxtNLabelsNoText()->setText(QString::fromUtf8(counts.WithoutText));
}

}  // namespace

std::int32_t ReadRadargram(TFmMainForm& form) {
    ClearGridCells(form.ReadLabelsGrid(), 0, 1);
    form.sgReadLabels()->GridModel()->GridChanged();
    const TReadResult result = ReadRadargram(form.Model(), FilePath(form), Layout(form));
    if (result.FileSize)
        form.lblSizeFile()->setText(QString::fromUtf8(SizeFileText(*result.FileSize)));
    Report(form, ReadFailureMessage(result.Status));
    if (result.Code == 0) FillTables(form);
    return result.Code;
}

std::int32_t WriteRadargram(TFmMainForm& form) {
    const TWriteResult result = WriteRadargram(form.Model(), FilePath(form), Layout(form));
    Report(form, WriteFailureMessage(result.Status));
    return result.Code;
}

void btnOpenDirectoryClick(TFmMainForm& form) {
    TFileDialogRequest request;
    request.Filter = kOpenFilter;
    request.ProposedName = form.LastOpenedPath;
    if (const auto chosen = form.Platform().GetOpenFileName(&form, request)) {
        form.LastOpenedPath = *chosen;
        form.txtFileName()->setText(*chosen);
        form.setWindowTitle(*chosen);
    }
    // Whether confirmed or cancelled: the name last chosen, then a read of the named file.
    form.RadargramFileName = QFileInfo(form.LastOpenedPath).fileName();
    ReadRadargram(form);
}

std::int32_t acnReadFileExecute(TFmMainForm& form) {
    SetReadLabelCaptions(form.ReadLabelsGrid());
    form.sgReadLabels()->GridModel()->GridChanged();
    return ReadRadargram(form);
}

void acnWriteFileExecute(TFmMainForm& form) {
    WriteRadargram(form);
}

void acnDeleteZeroDelimiterExecute(TFmMainForm& form) {
    Report(form,
           WriteFailureMessage(WriteRadargramWithoutGaps(form.Model(), FilePath(form)).Status));
}

bool RequireReadFile(TFmMainForm& form) {
    if (form.Model().HasHeader()) return true;
    Report(form, WriteFailureMessage(TWriteStatus::NotLoaded));
    return false;
}

bool WriteAndRefresh(TFmMainForm& form) {
    if (WriteRadargram(form) != 0) return false;
    return acnReadFileExecute(form) == 0;
}

}  // namespace trelvanox
