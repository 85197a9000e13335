#include "desktop/exchange/table_file_commands.h"

#include "common/string_grid.h"
#include "desktop/platform/platform.h"
#include "desktop/widgets/string_grid_model.h"
#include "desktop/widgets/string_grid_view.h"
#include "exchange/delimited_text.h"
#include "exchange/label_export.h"
#include "exchange/label_import.h"

namespace trelvanox {

namespace {

// The core takes file names as UTF-8 on every system (the local 8-bit encoding would be the
// ANSI code page on Windows).
std::string LocalPath(const QString& path) {
    return path.toStdString();
}

}  // namespace

void acnImportTableExecute(TPlatform& platform, QWidget& owner, TStringGridView& editTable,
                           std::int32_t delimiterIndex, QString& lastImportPath) {
    TStringGrid& grid = editTable.Grid();
    const char delimiter = DelimiterFor(delimiterIndex);
    TFileDialogRequest request;
    request.Filter = QStringLiteral("Текстовые файлы (*.txt)|*.txt|Все файлы (*.*)|*.*");
    request.ProposedName = lastImportPath;
    const std::optional<QString> chosen = platform.GetOpenFileName(&owner, request);
    // A cancelled dialog changes nothing: the table may hold an hour's typing.
    if (!chosen) return;
    struct TRefresh {
        TStringGridView& View;
        ~TRefresh() { View.GridModel()->GridChanged(); }
    } refresh{editTable};  // the table shows what it holds also when the file cannot be read
    lastImportPath = *chosen;
    ImportDelimitedFile(grid, LocalPath(*chosen), delimiter);
}

void acnExportTableExecute(TPlatform& platform, QWidget& owner, const TStringGrid& readLabelTable,
                           const QString& radargramFileName, bool utf8) {
    TFileDialogRequest request;
    request.Filter = QStringLiteral(
        "Текстовые файлы (с разделителями табуляции) (*.txt)|*.txt|Все файлы (*.*)|*.*");
    request.ProposedName =
        QString::fromStdString(ExportFileNameFor(radargramFileName.toStdString()));
    request.DefaultExtension = QStringLiteral("*.txt");
    const std::optional<QString> chosen = platform.GetSaveFileName(&owner, request);
    if (!chosen) return;
    const std::string warning =
        ExportGridToFile(readLabelTable, LocalPath(*chosen),
                         utf8 ? TTextEncoding::Utf8 : TTextEncoding::Windows1251);
    if (!warning.empty()) platform.ShowMessage(&owner, QString::fromStdString(warning));
}

}  // namespace trelvanox
