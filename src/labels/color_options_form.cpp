#include "labels/color_options_form.h"

namespace trelvanox {

TFmColorOptions::TFmColorOptions(QWidget* parent) : TModelessDialog(parent) {
    setObjectName(QStringLiteral("FmColorOptions"));
    setWindowTitle(QStringLiteral("Цвет меток"));
    // The window is 524 x 364 with its frame; the frame of a standard window takes 16 x 39.
    resize(508, 325);
}

}  // namespace trelvanox
