#include "labels/insert_label_form.h"

namespace trelvanox {

TFmInsertLabel::TFmInsertLabel(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FmInsertLabel"));
    setWindowTitle(QStringLiteral("Вставка метки"));
    setModal(false);
    resize(239, 154);
}

void TFmInsertLabel::ShowModeless() {
    show();
    raise();
    activateWindow();
}

}  // namespace trelvanox
