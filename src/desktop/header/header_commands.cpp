#include "desktop/header/header_commands.h"

#include <QComboBox>
#include <QLineEdit>

#include "desktop/app/main_form.h"
#include "desktop/document/radargram_file_commands.h"
#include "desktop/header/header_edit_page.h"
#include "desktop/platform/platform.h"
#include "desktop/widgets/string_grid_model.h"
#include "desktop/widgets/string_grid_view.h"
#include "header/header_edit.h"
#include "header/header_table.h"

namespace trelvanox {

namespace {

std::string Utf8(const QString& text) {
    return text.toStdString();
}

THeaderEditTexts EditTexts(const THeaderEditPage& page) {
    return {.Operator = Utf8(page.txtOperator()->text()),
            .Object = Utf8(page.txtObject()->text()),
            .Description1 = Utf8(page.cmbCommentary1()->currentText()),
            .Description2 = Utf8(page.cmbCommentary2()->currentText()),
            .Description3 = Utf8(page.cmbCommentary3()->currentText()),
            .StartPicket = Utf8(page.txtPK()->text()),
            .Permittivity = Utf8(page.txtEpsilon()->text())};
}

void Inform(TFmMainForm& form, const char* text, const char* caption) {
    form.Platform().MessageBox(&form, QString::fromUtf8(text), QString::fromUtf8(caption),
                               TMsgButtons::Ok, TMsgIcon::Information);
}

}  // namespace

bool acnChangeHeaderSetsExecute(TFmMainForm& form) {
    if (!RequireReadFile(form)) return false;
    // A text that does not convert throws before any field changes; the dispatcher shows it.
    EditHeader(form.Model(), EditTexts(*form.HeaderEditPage()), form.Settings());
    if (!WriteAndRefresh(form)) return false;
    Inform(form, "Редактирование заголоака успешно завершено!",
           "Редактирование заголовка радарограммы");
    return true;
}

void btnChangeHeaderSetsClick(TFmMainForm& form) {
    if (!acnChangeHeaderSetsExecute(form)) return;
    if (WriteRadargram(form) != 0) return;
    form.ltxtLenghtOfProfil()->setText(
        QString::fromUtf8(FillHeaderTable(form.HeaderGrid(), form.Model().Header())));
    form.sgReadF4Header()->GridModel()->GridChanged();
}

void acnSetNoHeaderExecute(TFmMainForm& form) {
    const TMsgResult answer = form.Platform().MessageBox(
        &form,
        QStringLiteral("Некоторые данные из заголовка будут удалены! Вы действительно хотите "
                       "провести данную операцию?"),
        QStringLiteral("Удалеие данных заголовка"), TMsgButtons::OkCancelHelp, TMsgIcon::Question);
    if (answer != TMsgResult::Ok) return;
    if (!RequireReadFile(form)) return;
    ClearHeader(form.Model());
    if (!WriteAndRefresh(form)) return;
    Inform(form, "Данные из заголовка успешно удалены!", "Удаление данных заголовка");
}

}  // namespace trelvanox
