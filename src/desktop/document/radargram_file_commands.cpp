#include "desktop/document/radargram_file_commands.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QWidget>
#include <algorithm>

#include "desktop/document/long_operation.h"
#include "desktop/platform/platform.h"
#include "document/radargram_document.h"
#include "model/layout_detection.h"
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

// The layout the file was read in: writing a file in the other layout misplaces every trace
// after the first, whatever the settings say now.
TRadarLayout WriteLayout(const TDocumentContext& context) {
    return context.Document.Model().FileLoaded() ? context.Document.Layout() : Layout(context);
}

// The file the next reads and writes go to, as a choice in the open dialog names it.
void NameChosenFile(TDocumentContext& context, const QString& path, QString& lastOpenedPath) {
    lastOpenedPath = path;
    context.FileName.setText(path);
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

TRadarLayout ReadLayout(TDocumentContext& context, const std::filesystem::path& path) {
    const TRadarLayout chosen = Layout(context);
    const std::optional<TLayoutFit> fit = CheckLayoutFit(path);
    const std::optional<TRadarLayout> other = fit ? OtherFittingLayout(*fit, chosen) : std::nullopt;
    if (!other) return chosen;
    // The file read last, in the layout the user took for it then: read again without asking.
    if (context.Document.Model().FileLoaded() && context.Document.Path() == path &&
        context.Document.Layout() == *other)
        return *other;
    const QString otherName = QString::fromLatin1(LayoutName(*other));
    const QString chosenName = QString::fromLatin1(LayoutName(chosen));
    const QString text = QStringLiteral(
                             "Файл, по-видимому, в формате %1, а выбран %2. Прочитать как %1?\n\n"
                             "ОК - прочитать как %1; Отмена - прочитать как %2 (данные будут "
                             "прочитаны со смещением).")
                             .arg(otherName, chosenName);
    return context.Platform.MessageBox(&context.Owner, text, QStringLiteral("Формат файла"),
                                       TMsgButtons::OkCancel, TMsgIcon::Question) == TMsgResult::Ok
               ? *other
               : chosen;
}

std::int32_t ReadRadargram(TDocumentContext& context) {
    const std::filesystem::path path = FilePath(context);
    return ReportResult(context, context.Document.Open(path, ReadLayout(context, path))) ? 0 : 1;
}

std::int32_t WriteRadargram(TDocumentContext& context, const std::string& description) {
    ApplyHistoryLimit(context);
    return ReportWrite(context,
                       context.Document.Write(FilePath(context), WriteLayout(context), description))
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
    if (!RequireReadFile(context)) return;
    // It rewrites the whole file in another arrangement: not a thing to do unasked.
    const QString question = QStringLiteral(
        "Файл будет переписан: трассы запишутся подряд, без 0-разделителей после каждой "
        "трассы (для совместимости с другими программами).\n\nИзменение можно вернуть "
        "командой «Отменить» (Ctrl+Z). Продолжить?");
    if (context.Platform.MessageBox(&context.Owner, question,
                                    QStringLiteral("Удалить 0-разделитель"), TMsgButtons::OkCancel,
                                    TMsgIcon::Warning) != TMsgResult::Ok)
        return;
    if (!ReportResult(context, context.Document.WriteWithoutGaps(FilePath(context),
                                                                 "Удаление 0-разделителя")))
        return;
    context.Platform.MessageBox(&context.Owner, QStringLiteral("0-разделители удалены из файла."),
                                QStringLiteral("Удалить 0-разделитель"), TMsgButtons::Ok,
                                TMsgIcon::Information);
}

bool ChangeRadargram(TDocumentContext& context, const TModelEdit& edit, TLongOperation& operation,
                     double from) {
    ApplyHistoryLimit(context);
    operation.SetStage(QStringLiteral("Запись файла"));
    TDocumentResult result;
    operation.Run(
        [&](const TWriteProgress& progress) { result = context.Document.Change(edit, progress); },
        from);
    if (result.Cancelled) return false;
    return ReportWrite(context, result);
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
    if (!ReportWrite(context,
                     context.Document.Change(FilePath(context), WriteLayout(context), edit)))
        return false;
    return acnReadFileExecute(context) == 0;
}

}  // namespace trelvanox
