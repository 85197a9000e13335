#include "labels/insert_label_form.h"

namespace trelvanox {

TFmInsertLabel::TFmInsertLabel(QWidget* parent) : TModelessDialog(parent) {
    setObjectName(QStringLiteral("FmInsertLabel"));
    setWindowTitle(QStringLiteral("Вставка метки"));
    resize(239, 154);
}

}  // namespace trelvanox
