// The handlers of the amplitude dialog's buttons: each runs one operation on the open document's
// radargram with the texts of the dialog's controls, shows its progress in the dialog and writes
// the file back.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "amplitude/amplitude_operations.h"
#include "desktop/amplitude/regulation_amplitude_form.h"
#include "desktop/document/document_context.h"
#include "desktop/document/radargram_file_commands.h"
#include "desktop/platform/platform.h"
#include "desktop/widgets/spin_edit.h"
#include "document/radargram_document.h"

namespace trelvanox {

namespace {

std::string Utf8(const QString& text) {
    return text.toStdString();
}

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Shows the progress controls of an operation for as long as it lives and hides them on every
// way out, a conversion error thrown halfway included, so that a failed trace zeroing leaves the
// dialog as a finished one does.
class TProgressShown {
  public:
    explicit TProgressShown(std::initializer_list<QWidget*> controls) : controls_(controls) {
        for (QWidget* control : controls_) control->show();
    }
    ~TProgressShown() {
        for (QWidget* control : controls_) control->hide();
    }
    TProgressShown(const TProgressShown&) = delete;
    TProgressShown& operator=(const TProgressShown&) = delete;

  private:
    std::vector<QWidget*> controls_;
};

// A number as the levels' fields hold it; nothing for a text that is none (the operation itself
// reports that).
std::optional<double> Number(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

// A trace number as the zeroing reads it: a whole number of 32 bits; nothing for any other
// text, which the zeroing itself reports.
std::optional<std::uint32_t> TraceNumber(const QString& text) {
    bool ok = false;
    const qulonglong value = text.trimmed().toULongLong(&ok);
    if (!ok || value > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

}  // namespace

bool TFmRegulationAmplitude::ConfirmDestructive(const QString& effect, const QString& caption) {
    const QString text = effect + QStringLiteral(
                                      "\n\nИзменение можно вернуть командой «Отменить» (Ctrl+Z). "
                                      "Продолжить?");
    return context_.Platform.MessageBox(this, text, caption, TMsgButtons::OkCancel,
                                        TMsgIcon::Warning) == TMsgResult::Ok;
}

TProgress TFmRegulationAmplitude::BarProgress() {
    return [this](std::uint32_t position) {
        pbarProgress_->setValue(static_cast<int>(std::min<std::uint32_t>(position, 100)));
    };
}

bool TFmRegulationAmplitude::WriteFile(const char* description) {
    return WriteRadargram(context_, description) == 0;
}

void TFmRegulationAmplitude::ShowOperationMessage(const QString& text, const QString& caption) {
    context_.Platform.MessageBox(this, text, caption, TMsgButtons::Ok, TMsgIcon::Exclamation);
}

void TFmRegulationAmplitude::bbtnGainClick() {
    if (!FileLoaded()) return;
    const std::string factor = Utf8(ltxtGain_->text());
    std::string threshold;
    std::string upper;
    TGainMode mode = TGainMode::Below;
    if (rbtnGainForMax_->isChecked()) {
        mode = TGainMode::Above;
        threshold = Utf8(stxtGainForMax_->Text());
    } else if (rbtnGainForMiddle_->isChecked()) {
        mode = TGainMode::Between;
        threshold = Utf8(stxtGainForMiddleMin_->Text());
        upper = Utf8(stxtGainForMiddleMax_->Text());
    } else {
        threshold = Utf8(stxtGainForMin_->Text());
    }

    // A conversion error leaves the bar shown where the gain stopped.
    pbarProgress_->show();
    ApplyGain(context_.Document.Model(), WindowFromFields(), {factor, mode, threshold, upper},
              BarProgress());
    pbarProgress_->hide();
    if (!WriteFile("Усиление амплитуд")) return;
    ShowOperationMessage(QStringLiteral("Амплитуды усилены"), QStringLiteral("Усиление амплитуд"));
}

void TFmRegulationAmplitude::bbtnCutAmplitudeClick() {
    if (!FileLoaded()) return;
    // A level of 0 clips every sample to 0: the whole profile gone in one click.
    if (chkMaxAmplitude_->isChecked() && Number(stxtMaxAmplitude_->Text()) == 0.0 &&
        !ConfirmDestructive(QStringLiteral("Уровень обрезки 0: все отсчёты радарограммы станут "
                                           "равны нулю."),
                            QStringLiteral("Обрезка амплитуд")))
        return;
    // Each stage writes the file once it is done; a stage whose write failed ends the
    // operation, since its message must be the last the user sees.
    if (chkMaxAmplitude_->isChecked()) {
        // A conversion error leaves the bar shown where the stage stopped.
        pbarProgress_->show();
        ClipAmplitudes(context_.Document.Model(), Utf8(stxtMaxAmplitude_->Text()), BarProgress());
        pbarProgress_->hide();
        if (!WriteFile("Обрезка амплитуд")) return;
    }
    if (chkMinAmplitude_->isChecked()) {
        pbarProgress_->show();
        SilenceAmplitudes(context_.Document.Model(), Utf8(stxtMinAmplitude_->Text()),
                          BarProgress());
        pbarProgress_->hide();
        if (!WriteFile("Обнуление малых амплитуд")) return;
    }
    ShowOperationMessage(QStringLiteral("Амплитуды отсчетов обрезаны до заданного уровня"),
                         QStringLiteral("Обрезка амплитуд"));
}

void TFmRegulationAmplitude::bbtnZeroTracesClick() {
    if (!FileLoaded()) return;
    const std::optional<std::uint32_t> first = TraceNumber(ltxtZeroTraceBegin_->text());
    const std::optional<std::uint32_t> last = TraceNumber(ltxtZeroTraceEnd_->text());
    const std::uint32_t traces = context_.Document.Model().Header().TraceCount;
    if (traces > 0 && first == 0u && last && *last >= traces - 1 &&
        !ConfirmDestructive(QStringLiteral("Будут обнулены все %1 трасс радарограммы.").arg(traces),
                            QStringLiteral("Обнуление трасс")))
        return;
    {
        const TProgressShown shown{pbarProgress_, lblProcentDone_};
        ZeroTraces(context_.Document.Model(), Utf8(ltxtZeroTraceBegin_->text()),
                   Utf8(ltxtZeroTraceEnd_->text()),
                   [this, bar = BarProgress()](std::uint32_t position) {
                       bar(position);
                       lblProcentDone_->setText(QString::number(position) + QLatin1Char('%'));
                   });
    }
    if (!WriteFile("Обнуление трасс")) return;
    ShowOperationMessage(QStringLiteral("Амплитуды заданных трасс успешно обнулены"),
                         QStringLiteral("Обнуление трасс"));
}

void TFmRegulationAmplitude::btnFindMinMaxAmplitudeClick() {
    if (!FileLoaded()) return;
    ltxtSampleWithMaxAmplitude_->setText(QStringLiteral("0"));
    const TProgressShown shown{pbarProgress_};
    const TExtremes found = FindExtremes(context_.Document.Model(), BarProgress());
    // A label keeps its text when no sample beat the start value.
    if (found.MaxPosition)
        lblSampleWithMaxAmplitude_->setText(ToQString(PositionText(*found.MaxPosition)));
    if (found.MinPosition)
        lblSampleWithMinAmplitude_->setText(ToQString(PositionText(*found.MinPosition)));
    ltxtSampleWithMinAmplitude_->setText(ToQString(found.MinText()));
    ltxtSampleWithMaxAmplitude_->setText(ToQString(found.MaxText()));
}

void TFmRegulationAmplitude::bbtnZeroMaxAmplitudeClick() {
    if (!FileLoaded()) return;
    const TProgressShown shown{pbarProgress_};
    ZeroLargestAmplitude(context_.Document.Model(), BarProgress());
    WriteFile("Обнуление максимальной амплитуды");
}

}  // namespace trelvanox
