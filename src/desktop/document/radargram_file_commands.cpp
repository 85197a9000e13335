#include "desktop/document/radargram_file_commands.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QWidget>
#include <algorithm>

#include "desktop/platform/platform.h"
#include "document/radargram_document.h"
#include "settings/settings.h"

namespace trelvanox {

namespace {

const QString kOpenFilter =
    QStringLiteral("Файлы радарограмм (*.GPR, *.GPR2)|*.GPR;*.GPR2|Все файлы (*.*)|*.*");

std::filesystem::path FilePath(const TDocumentContext& context) {
    return std::filesystem::path(context.FileName.text().toStdU16String());
}

TRadarLayout Layout(const TDocumentContext& context) {
    return LayoutFromFormatIndex(context.Settings.FormatIndex);
}

// The limit as the settings name it when the write runs, as the layout is.
void ApplyHistoryLimit(TDocumentContext& context) {
    const std::int32_t megabytes = std::max(context.Settings.HistoryLimitMb, 0);
    context.Document.SetHistoryLimit(static_cast<std::uint64_t>(megabytes) << 20);
}

// A write refused because another program changed the file offers the one way on: read it
// again, losing the changes not yet written rather than overwriting the other program's.
bool ReportWrite(TDocumentContext& context, const TDocumentResult& result) {
    if (!result.ChangedOnDisk) return ReportResult(context, result);
    const QString text =
        QString::fromUtf8(result.Message->Text) + QStringLiteral("\n\nПрочитать файл заново?");
    if (context.Platform.MessageBox(&context.Owner, text, QStringLiteral("Файл изменён"),
                                    TMsgButtons::OkCancel, TMsgIcon::Warning) == TMsgResult::Ok)
        ReadRadargram(context);
    return false;
}

// The file the next reads and writes go to, as a choice in the open dialog names it.
void NameChosenFile(TDocumentContext& context, const QString& path, QString& lastOpenedPath) {
    lastOpenedPath = path;
    context.FileName.setText(path);
    context.Owner.setWindowTitle(path);
}

}  // namespace

bool ReportResult(TDocumentContext& context, const TDocumentResult& result) {
    if (result.Ok()) {
        // Done, but the user should know (a history that may not survive a power loss).
        if (!result.Warning.empty())
            context.Platform.ShowMessage(&context.Owner, QString::fromUtf8(result.Warning));
        return true;
    }
    const TFileMessage& message = *result.Message;
    const QString text = QString::fromUtf8(message.Text);
    if (message.Caption.empty()) {
        context.Platform.ShowMessage(&context.Owner, text);
        return false;
    }
    const TMsgIcon icon =
        message.Icon == TMessageIcon::Information ? TMsgIcon::Information : TMsgIcon::None;
    context.Platform.MessageBox(&context.Owner, text, QString::fromUtf8(message.Caption),
                                TMsgButtons::Ok, icon);
    return false;
}

std::int32_t ReadRadargram(TDocumentContext& context) {
    return ReportResult(context, context.Document.Open(FilePath(context), Layout(context))) ? 0 : 1;
}

std::int32_t WriteRadargram(TDocumentContext& context, const std::string& description) {
    ApplyHistoryLimit(context);
    return ReportWrite(context,
                       context.Document.Write(FilePath(context), Layout(context), description))
               ? 0
               : 1;
}

void btnOpenDirectoryClick(TDocumentContext& context, QString& lastOpenedPath,
                           QString& radargramFileName) {
    TFileDialogRequest request;
    request.Filter = kOpenFilter;
    request.ProposedName = lastOpenedPath;
    if (const auto chosen = context.Platform.GetOpenFileName(&context.Owner, request))
        NameChosenFile(context, *chosen, lastOpenedPath);
    // Whether confirmed or cancelled: the name last chosen, then a read of the named file.
    radargramFileName = QFileInfo(lastOpenedPath).fileName();
    ReadRadargram(context);
}

void OpenNamedFile(TDocumentContext& context, const QString& path, QString& lastOpenedPath,
                   QString& radargramFileName) {
    // Absolute, as the open dialog gives it: the title, the history and a read again after a
    // change of the working folder all name the same file.
    NameChosenFile(context, QFileInfo(path).absoluteFilePath(), lastOpenedPath);
    radargramFileName = QFileInfo(lastOpenedPath).fileName();
    ReadRadargram(context);
}

std::int32_t acnReadFileExecute(TDocumentContext& context) {
    return ReadRadargram(context);
}

void acnWriteFileExecute(TDocumentContext& context) {
    WriteRadargram(context, "Запись файла");
}

void acnDeleteZeroDelimiterExecute(TDocumentContext& context) {
    ReportResult(context,
                 context.Document.WriteWithoutGaps(FilePath(context), "Удаление 0-разделителя"));
}

bool RequireReadFile(TDocumentContext& context) {
    return ReportResult(context, context.Document.RequireRead());
}

bool WriteAndRefresh(TDocumentContext& context, const std::string& description) {
    if (WriteRadargram(context, description) != 0) return false;
    return acnReadFileExecute(context) == 0;
}

bool ChangeAndRefresh(TDocumentContext& context, const TModelEdit& edit) {
    ApplyHistoryLimit(context);
    if (!ReportWrite(context, context.Document.Change(FilePath(context), Layout(context), edit)))
        return false;
    return acnReadFileExecute(context) == 0;
}

}  // namespace trelvanox
