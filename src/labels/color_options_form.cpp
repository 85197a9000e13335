#include "labels/color_options_form.h"

namespace trelvanox {

TFmColorOptions::TFmColorOptions(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FmColorOptions"));
    setWindowTitle(QStringLiteral("Цвет меток"));
    setModal(false);
    // The window is 524 x 364 with its frame; the frame of a standard window takes 16 x 39.
    resize(508, 325);
}

void TFmColorOptions::ShowModeless() {
    show();
    raise();
    activateWindow();
}

}  // namespace trelvanox
