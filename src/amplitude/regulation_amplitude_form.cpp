#include "amplitude/regulation_amplitude_form.h"

namespace trelvanox {

TFmRegulationAmplitude::TFmRegulationAmplitude(QWidget* parent) : TModelessDialog(parent) {
    setObjectName(QStringLiteral("FmRegulationAmplitude"));
    setWindowTitle(QStringLiteral("Регулировка амплитуд"));
    setFixedSize(737, 405);
}

}  // namespace trelvanox
