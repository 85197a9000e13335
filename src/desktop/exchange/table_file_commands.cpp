#include "desktop/exchange/table_file_commands.h"

#include <QFile>

#include "common/string_grid.h"
#include "desktop/app/main_form.h"
#include "desktop/platform/platform.h"
#include "desktop/widgets/string_grid_model.h"
#include "desktop/widgets/string_grid_view.h"
#include "exchange/delimited_text.h"
#include "exchange/label_export.h"
#include "exchange/label_import.h"

namespace trelvanox {

namespace {

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

void acnImportTableExecute(TFmMainForm& form) {
    TStringGrid& grid = form.NewLabelsGrid();
    const char delimiter = DelimiterFor(form.Settings().DelimiterIndex);
    TFileDialogRequest request;
    request.Filter = QStringLiteral("Текстовые файлы (*.txt)|*.txt|Все файлы (*.*)|*.*");
    request.ProposedName = form.LastImportPath;
    const std::optional<QString> chosen = form.Platform().GetOpenFileName(&form, request);
    struct TRefresh {
        TFmMainForm& Form;
        ~TRefresh() { Form.sgNewSetsLabels()->GridModel()->GridChanged(); }
    } refresh{form};  // the table shows what it holds also when the file cannot be read
    if (!chosen) {
        FillGridFromDelimitedText(grid, {}, delimiter);
        return;
    }
    form.LastImportPath = *chosen;
    ImportDelimitedFile(grid, LocalPath(*chosen), delimiter);
}

void acnExportTableExecute(TFmMainForm& form) {
    TFileDialogRequest request;
    request.Filter = QStringLiteral(
        "Текстовые файлы (с разделителями табуляции) (*.txt)|*.txt|Все файлы (*.*)|*.*");
    request.ProposedName =
        QString::fromStdString(ExportFileNameFor(form.RadargramFileName.toStdString()));
    request.DefaultExtension = QStringLiteral("*.txt");
    const std::optional<QString> chosen = form.Platform().GetSaveFileName(&form, request);
    if (!chosen) return;
    ExportGridToFile(form.ReadLabelsGrid(), LocalPath(*chosen));
}

}  // namespace trelvanox
