#include "desktop/labels/label_commands.h"

#include <QCheckBox>
#include <QLineEdit>

#include "common/conversion.h"
#include "desktop/document/radargram_file_commands.h"
#include "desktop/labels/insert_label_form.h"
#include "desktop/platform/platform.h"
#include "document/radargram_document.h"
#include "labels/label_insertion.h"
#include "labels/label_resets.h"
#include "settings/settings.h"

namespace trelvanox {

namespace {

void Inform(QWidget* owner, TPlatform& platform, const char* text, const char* caption) {
    platform.MessageBox(owner, QString::fromUtf8(text), QString::fromUtf8(caption), TMsgButtons::Ok,
                        TMsgIcon::Information);
}

bool Confirm(TDocumentContext& context, const char* text, const char* caption) {
    return context.Platform.MessageBox(&context.Owner, QString::fromUtf8(text),
                                       QString::fromUtf8(caption), TMsgButtons::OkCancel,
                                       TMsgIcon::Question) == TMsgResult::Ok;
}

QString DataTypeErrorText(const TConversionError& error) {
    return QStringLiteral("Ошибка - ") + QString::fromUtf8(error.what()) +
           QStringLiteral(
               ".\nВозможные ошибки:\n- таблица с параметрами меток не  импортирована; \n- "
               "таблица содержит неправильные данные (координаты меток и индекс цвета должны "
               "быть целыми числами)\n- таблица содержит пустые ячейки");
}

TLabelScope LabelScope(const TSettings& settings) {
    return {.Text = settings.ChangeLabelText,
            .Coord = settings.ChangeLabelCoord,
            .Color = settings.ChangeLabelColor};
}

}  // namespace

void acnChangeLabelSetsExecute(TDocumentContext& context, const TStringGrid& editTable,
                               std::int32_t firstRow, const TColourMap& colours) {
    if (!RequireReadFile(context)) return;
    try {
        WriteBackLabels(context.Document.Model(), editTable, firstRow, LabelScope(context.Settings),
                        colours);
    } catch (const TConversionError& error) {
        // Nothing has changed: the cells are all converted before the first label is touched.
        context.Platform.MessageBox(&context.Owner, DataTypeErrorText(error),
                                    QStringLiteral("Ошибка типа данных"), TMsgButtons::Ok,
                                    TMsgIcon::Stop);
        return;
    }
    if (!WriteAndRefresh(context, "Редактирование меток")) return;
    Inform(&context.Owner, context.Platform, "Редактирование меток успешно завершено!",
           "Редактирование меток");
}

void acnSetZeroPositionExecute(TDocumentContext& context) {
    if (!Confirm(context,
                 "Линейные координаты трасс будут обнулены. Вы действительно хотите провести "
                 "данную операцию?",
                 "Сброс координат трасс"))
        return;
    if (!RequireReadFile(context)) return;
    ResetTracePositions(context.Document.Model());
    if (!WriteAndRefresh(context, "Сброс координат трасс")) return;
    Inform(&context.Owner, context.Platform, "Положения трасс успешно обнулены!",
           "Сброс координат трасс");
}

void acnSetNoLabelTextExecute(TDocumentContext& context) {
    if (!Confirm(context,
                 "Подписи меток будут стерты. Вы действительно хотите провести данную операцию?",
                 "Сброс названия меток"))
        return;
    if (!RequireReadFile(context)) return;
    ResetLabelNames(context.Document.Model());
    if (!WriteAndRefresh(context, "Сброс названия меток")) return;
    Inform(&context.Owner, context.Platform, "Подписи меток успешно сброшены!",
           "Сброс названия меток");
}

void bbtnInsertLabelClick(TDocumentContext& context, TFmInsertLabel& dialog) {
    if (!RequireReadFile(context)) return;
    const TInsertLabelRequest request{
        .First = dialog.chkInsertFirstLabel()->isChecked(),
        .Last = dialog.chkInsertLastLabel()->isChecked(),
        .Pointed = dialog.chkInsertPointedLabel()->isChecked(),
        .TraceText = dialog.txtNamberInsertLabel()->text().toStdString()};
    try {
        // A trace number that is no whole number goes on to the general error display.
        InsertLabels(context.Document.Model(), request);
    } catch (const TTraceNumberError& error) {
        context.Platform.MessageBox(&dialog, QString::fromUtf8(error.what()),
                                    QStringLiteral("Вставка метки"), TMsgButtons::Ok,
                                    TMsgIcon::Exclamation);
        return;
    }
    if (WriteRadargram(context, "Вставка метки") != 0 || ReadRadargram(context) != 0) return;
    Inform(&dialog, context.Platform, "Метки успешно вставлены", "Вставка метки");
}

}  // namespace trelvanox
