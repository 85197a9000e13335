#include "desktop/header/header_commands.h"

#include <QComboBox>
#include <QLineEdit>

#include "desktop/document/radargram_file_commands.h"
#include "desktop/header/header_edit_page.h"
#include "desktop/platform/platform.h"
#include "document/radargram_document.h"
#include "header/header_edit.h"

namespace trelvanox {

namespace {

constexpr const char* kHeaderEditStep = "Редактирование заголовка";

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

void Inform(TDocumentContext& context, const char* text, const char* caption) {
    context.Platform.MessageBox(&context.Owner, QString::fromUtf8(text), QString::fromUtf8(caption),
                                TMsgButtons::Ok, TMsgIcon::Information);
}

}  // namespace

bool acnChangeHeaderSetsExecute(TDocumentContext& context, const THeaderEditPage& page) {
    if (!RequireReadFile(context)) return false;
    // A text that does not convert throws before any field changes; the dispatcher shows it.
    const THeaderEditTexts texts = EditTexts(page);
    const TModelEdit edit{kHeaderEditStep,
                          [&](TRadargram& model) { EditHeader(model, texts, context.Settings); }};
    if (!ChangeAndRefresh(context, edit)) return false;
    Inform(context, "Редактирование заголоака успешно завершено!",
           "Редактирование заголовка радарограммы");
    return true;
}

void btnChangeHeaderSetsClick(TDocumentContext& context, const THeaderEditPage& page) {
    if (!acnChangeHeaderSetsExecute(context, page)) return;
    if (WriteRadargram(context, kHeaderEditStep) != 0) return;
    context.Document.RefillHeaderTable();
}

void acnSetNoHeaderExecute(TDocumentContext& context) {
    const TMsgResult answer = context.Platform.MessageBox(
        &context.Owner,
        QStringLiteral("Некоторые данные из заголовка будут удалены! Вы действительно хотите "
                       "провести данную операцию?"),
        QStringLiteral("Удалеие данных заголовка"), TMsgButtons::OkCancelHelp, TMsgIcon::Question);
    if (answer != TMsgResult::Ok) return;
    if (!RequireReadFile(context)) return;
    if (!ChangeAndRefresh(context, {"Удаление данных заголовка", ClearHeader})) return;
    Inform(context, "Данные из заголовка успешно удалены!", "Удаление данных заголовка");
}

}  // namespace trelvanox
