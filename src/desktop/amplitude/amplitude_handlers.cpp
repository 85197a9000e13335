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
#include "desktop/document/long_operation.h"
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

bool TFmRegulationAmplitude::RunChange(
    const char* description, const std::function<void(TRadargram&, const TProgress&)>& compute,
    const TProgress& guiProgress) {
    TRadargram& model = context_.Document.Model();
    TLongOperation operation(this, QString::fromUtf8(description), ShowsProgressAtOnce(model),
                             &context_.Use);
    // After a stop or a failure the samples may be half changed; the file is not, and the model
    // follows it again, on the worker too, since a large file takes a while to read.
    const auto followFile = [&] {
        operation.SetStage(QStringLiteral("Чтение файла"));
        operation.Run([&](const TWriteProgress&) { context_.Document.ReadAgain(); });
    };
    operation.SetStage(QStringLiteral("Расчёт"));
    bool computed = false;
    try {
        computed = operation.Compute([&](const TProgress& progress) { compute(model, progress); },
                                     guiProgress);
    } catch (...) {
        followFile();
        throw;
    }
    if (!computed) {
        followFile();
        return false;
    }
    // The model holds the change already; the document writes it as one step of the history.
    if (ChangeRadargram(context_, {description, [](TRadargram&) {}}, operation,
                        TLongOperation::kComputeShare))
        return true;
    // A stop before the write began leaves the computed change in the model: it follows the
    // file again, which never got it.
    if (operation.Cancelled()) followFile();
    return false;
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
    const TProcessingWindow window = WindowFromFields();
    const bool done = RunChange(
        "Усиление амплитуд",
        [&](TRadargram& model, const TProgress& progress) {
            ApplyGain(model, window, {factor, mode, threshold, upper}, progress);
        },
        BarProgress());
    pbarProgress_->hide();
    if (!done) return;
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
        const std::string level = Utf8(stxtMaxAmplitude_->Text());
        const bool done = RunChange(
            "Обрезка амплитуд",
            [&](TRadargram& model, const TProgress& progress) {
                ClipAmplitudes(model, level, progress);
            },
            BarProgress());
        pbarProgress_->hide();
        if (!done) return;
    }
    if (chkMinAmplitude_->isChecked()) {
        pbarProgress_->show();
        const std::string level = Utf8(stxtMinAmplitude_->Text());
        const bool done = RunChange(
            "Обнуление малых амплитуд",
            [&](TRadargram& model, const TProgress& progress) {
                SilenceAmplitudes(model, level, progress);
            },
            BarProgress());
        pbarProgress_->hide();
        if (!done) return;
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
    const std::string begin = Utf8(ltxtZeroTraceBegin_->text());
    const std::string end = Utf8(ltxtZeroTraceEnd_->text());
    bool done = false;
    {
        const TProgressShown shown{pbarProgress_, lblProcentDone_};
        done = RunChange(
            "Обнуление трасс",
            [&](TRadargram& model, const TProgress& progress) {
                ZeroTraces(model, begin, end, progress);
            },
            [this, bar = BarProgress()](std::uint32_t position) {
                bar(position);
                lblProcentDone_->setText(QString::number(position) + QLatin1Char('%'));
            });
    }
    if (!done) return;
    ShowOperationMessage(QStringLiteral("Амплитуды заданных трасс успешно обнулены"),
                         QStringLiteral("Обнуление трасс"));
}

void TFmRegulationAmplitude::btnFindMinMaxAmplitudeClick() {
    if (!FileLoaded()) return;
    const TProgressShown shown{pbarProgress_};
    // A search over a large file takes long enough to show its progress and to be stopped; it
    // changes nothing, so a stop leaves the fields as they are, and the windows may read the
    // model alongside.
    const TRadargram& model = context_.Document.Model();
    TLongOperation operation(this, QStringLiteral("Поиск амплитуд"), ShowsProgressAtOnce(model),
                             nullptr);
    TExtremes found;
    if (!operation.Compute(
            [&](const TProgress& progress) { found = FindExtremes(model, progress); },
            BarProgress(), 1.0))
        return;
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
    RunChange(
        "Обнуление максимальной амплитуды",
        [](TRadargram& model, const TProgress& progress) { ZeroLargestAmplitude(model, progress); },
        BarProgress());
}

}  // namespace trelvanox
