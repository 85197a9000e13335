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
    const TModelEdit edit{"Редактирование меток", [&](TRadargram& model) {
                              WriteBackLabels(model, editTable, firstRow,
                                              LabelScope(context.Settings), colours);
                          }};
    try {
        if (!ChangeAndRefresh(context, edit)) return;
    } catch (const TConversionError& error) {
        // Nothing has changed: the cells are all converted before the first label is touched.
        context.Platform.MessageBox(&context.Owner, DataTypeErrorText(error),
                                    QStringLiteral("Ошибка типа данных"), TMsgButtons::Ok,
                                    TMsgIcon::Stop);
        return;
    }
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
    if (!ChangeAndRefresh(context, {"Сброс координат трасс", ResetTracePositions})) return;
    Inform(&context.Owner, context.Platform, "Положения трасс успешно обнулены!",
           "Сброс координат трасс");
}

void acnSetNoLabelTextExecute(TDocumentContext& context) {
    if (!Confirm(context,
                 "Подписи меток будут стерты. Вы действительно хотите провести данную операцию?",
                 "Сброс названия меток"))
        return;
    if (!RequireReadFile(context)) return;
    if (!ChangeAndRefresh(context, {"Сброс названия меток", ResetLabelNames})) return;
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
    const TModelEdit edit{"Вставка метки",
                          [&](TRadargram& model) { InsertLabels(model, request); }};
    try {
        // A trace number that is no whole number goes on to the general error display.
        if (!ChangeAndRefresh(context, edit)) return;
    } catch (const TTraceNumberError& error) {
        context.Platform.MessageBox(&dialog, QString::fromUtf8(error.what()),
                                    QStringLiteral("Вставка метки"), TMsgButtons::Ok,
                                    TMsgIcon::Exclamation);
        return;
    }
    Inform(&dialog, context.Platform, "Метки успешно вставлены", "Вставка метки");
}

}  // namespace trelvanox
