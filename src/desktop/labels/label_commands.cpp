#include "desktop/labels/label_commands.h"

#include <QCheckBox>
#include <QLineEdit>

#include "common/conversion.h"
#include "desktop/app/main_form.h"
#include "desktop/document/radargram_file_commands.h"
#include "desktop/labels/color_options_form.h"
#include "desktop/labels/insert_label_form.h"
#include "desktop/platform/platform.h"
#include "desktop/widgets/spin_edit.h"
#include "labels/label_insertion.h"
#include "labels/label_resets.h"
#include "labels/label_write_back.h"

namespace trelvanox {

namespace {

void Inform(QWidget* owner, TPlatform& platform, const char* text, const char* caption) {
    platform.MessageBox(owner, QString::fromUtf8(text), QString::fromUtf8(caption), TMsgButtons::Ok,
                        TMsgIcon::Information);
}

bool Confirm(TFmMainForm& form, const char* text, const char* caption) {
    return form.Platform().MessageBox(&form, QString::fromUtf8(text), QString::fromUtf8(caption),
                                      TMsgButtons::OkCancel, TMsgIcon::Question) == TMsgResult::Ok;
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

void acnChangeLabelSetsExecute(TFmMainForm& form) {
    if (!RequireReadFile(form)) return;
    try {
        WriteBackLabels(form.Model(), form.NewLabelsGrid(), form.seFirstRow()->Value(),
                        LabelScope(form.Settings()), form.FmColorOptions()->ColourMap());
    } catch (const TConversionError& error) {
        // Nothing has changed: the cells are all converted before the first label is touched.
        form.Platform().MessageBox(&form, DataTypeErrorText(error),
                                   QStringLiteral("Ошибка типа данных"), TMsgButtons::Ok,
                                   TMsgIcon::Stop);
        return;
    }
    if (!WriteAndRefresh(form)) return;
    Inform(&form, form.Platform(), "Редактирование меток успешно завершено!",
           "Редактирование меток");
}

void acnSetZeroPositionExecute(TFmMainForm& form) {
    if (!Confirm(form,
                 "Линейные координаты трасс будут обнулены. Вы действительно хотите провести "
                 "данную операцию?",
                 "Сброс координат трасс"))
        return;
    if (!RequireReadFile(form)) return;
    ResetTracePositions(form.Model());
    if (!WriteAndRefresh(form)) return;
    Inform(&form, form.Platform(), "Положения трасс успешно обнулены!", "Сброс координат трасс");
}

void acnSetNoLabelTextExecute(TFmMainForm& form) {
    if (!Confirm(form,
                 "Подписи меток будут стерты. Вы действительно хотите провести данную операцию?",
                 "Сброс названия меток"))
        return;
    if (!RequireReadFile(form)) return;
    ResetLabelNames(form.Model());
    if (!WriteAndRefresh(form)) return;
    Inform(&form, form.Platform(), "Подписи меток успешно сброшены!", "Сброс названия меток");
}

void bbtnInsertLabelClick(TFmMainForm& form) {
    TFmInsertLabel& dialog = *form.FmInsertLabel();
    if (!RequireReadFile(form)) return;
    const TInsertLabelRequest request{
        .First = dialog.chkInsertFirstLabel()->isChecked(),
        .Last = dialog.chkInsertLastLabel()->isChecked(),
        .Pointed = dialog.chkInsertPointedLabel()->isChecked(),
        .TraceText = dialog.txtNamberInsertLabel()->text().toStdString()};
    try {
        // A trace number that is no whole number goes on to the general error display.
        InsertLabels(form.Model(), request);
    } catch (const TTraceNumberError& error) {
        form.Platform().MessageBox(&dialog, QString::fromUtf8(error.what()),
                                   QStringLiteral("Вставка метки"), TMsgButtons::Ok,
                                   TMsgIcon::Exclamation);
        return;
    }
    if (WriteRadargram(form) != 0 || ReadRadargram(form) != 0) return;
    Inform(&dialog, form.Platform(), "Метки успешно вставлены", "Вставка метки");
}

}  // namespace trelvanox
