#include "amplitude/regulation_amplitude_form.h"

namespace trelvanox {

TFmRegulationAmplitude::TFmRegulationAmplitude(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FmRegulationAmplitude"));
    setWindowTitle(QStringLiteral("Регулировка амплитуд"));
    setModal(false);
    setFixedSize(737, 405);
}

void TFmRegulationAmplitude::ShowModeless() {
    show();
    raise();
    activateWindow();
}

}  // namespace trelvanox
