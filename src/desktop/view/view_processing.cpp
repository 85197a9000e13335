#include "desktop/view/view_processing.h"

#include <QFile>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "desktop/platform/platform.h"
#include "desktop/view/processing_panel.h"
#include "desktop/view/processing_worker.h"
#include "desktop/view/radargram_canvas.h"
#include "document/radargram_document.h"
#include "processing/processed_edit.h"
#include "processing/step_registry.h"
#include "segy/segy_export.h"
#include "segy/segy_labels.h"

namespace trelvanox {

namespace {

const QString kCaption = QStringLiteral("Обработка");

QString Text(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool AnyOn(const TProcessingChain& chain) {
    return std::any_of(chain.begin(), chain.end(), [](const TChainStep& s) { return s.On; });
}

// The stored chain with every step of this build once: steps it names in its order, then those
// it lacks (a build with more steps, or a chain kept by an older one), off, with defaults.
TProcessingChain Merged(const TProcessingChain& stored, const TProcessingChain& defaults) {
    TProcessingChain chain;
    for (const TChainStep& step : stored)
        if (std::none_of(chain.begin(), chain.end(),
                         [&](const TChainStep& s) { return s.Kind == step.Kind; }))
            chain.push_back(step);
    for (const TChainStep& step : defaults)
        if (std::none_of(chain.begin(), chain.end(),
                         [&](const TChainStep& s) { return s.Kind == step.Kind; }))
            chain.push_back(step);
    return chain;
}

}  // namespace

TViewProcessing::TViewProcessing(TRadargramDocument& document, TPlatform& platform,
                                 TRadargramCanvas& canvas, TProcessingPanel& panel,
                                 std::filesystem::path chainFolder, QWidget* owner)
    : QObject(owner),
      document_(document),
      platform_(platform),
      canvas_(canvas),
      panel_(panel),
      owner_(owner),
      store_(std::move(chainFolder)),
      worker_(new TProcessingWorker(this)),
      cache_(std::make_shared<TProcessingCache>()) {
    panel_.SetDefaults(DefaultChain());
    panel_.SetChain(DefaultChain());
    connect(&panel_, &TProcessingPanel::ChainEdited, this, &TViewProcessing::ChainEdited);
    connect(&panel_, &TProcessingPanel::ApplyRequested, this, &TViewProcessing::ApplyToFile);
    connect(&panel_, &TProcessingPanel::ExportRequested, this, &TViewProcessing::ExportSegy);
    connect(&canvas_, &TRadargramCanvas::ViewChanged, this, &TViewProcessing::ViewMoved);
    connect(worker_, &TProcessingWorker::Progress, this, [this](int job, double fraction) {
        if ((job == job_ && !around_) || job == applyJob_ || job == exportJob_)
            panel_.ShowProgress(fraction);
    });
    connect(worker_, &TProcessingWorker::Finished, this, &TViewProcessing::Finished);
    connect(worker_, &TProcessingWorker::Failed, this, &TViewProcessing::Failed);
}

// The canvas, a sibling made before this object, is gone by now; only the threads are left to
// stop.
TViewProcessing::~TViewProcessing() {
    worker_->Stop();
}

TProcessingChain TViewProcessing::DefaultChain() const {
    TProcessingChain chain;
    const TRadarHeader& header = document_.Model().Header();
    for (const TStepKind* kind : ProcessingSteps())
        chain.push_back({kind, kind->Default(header), false});
    return chain;
}

void TViewProcessing::ProfileShown(bool fresh) {
    // The samples changed under whatever was processed. A job still running keeps the old cache,
    // so that nothing it finds reaches the new samples.
    worker_->Cancel();
    job_ = 0;
    EndCommand();
    cache_ = std::make_shared<TProcessingCache>();
    profile_ = true;
    const std::filesystem::path path = document_.Path();
    if (fresh || path != path_) {
        path_ = path;
        const TProcessingChain defaults = DefaultChain();
        panel_.SetDefaults(defaults);
        TProcessingChain chain = defaults;
        if (const auto text = store_.Load(path_)) {
            try {
                chain = Merged(ParseChain(*text), defaults);
            } catch (const std::exception&) {
                // A chain this build cannot read (a step it lacks): the defaults.
            }
        }
        panel_.SetChain(chain);
    }
    Restart(true);
}

void TViewProcessing::ProfileGone() {
    worker_->Cancel();
    job_ = 0;
    EndCommand();
    profile_ = false;
    canvas_.SetSamples(std::nullopt, false);
    shown_.reset();
    panel_.ShowProgress(std::nullopt);
}

void TViewProcessing::ChainEdited() {
    if (!path_.empty()) store_.Save(path_, ChainText(panel_.Chain()));
    Restart(true);
}

bool TViewProcessing::Covers(std::uint32_t first, std::uint32_t end) const {
    return shown_ && shown_->First <= first && shown_->First + shown_->Count >= end;
}

void TViewProcessing::ViewMoved() {
    // A command's run over the whole profile goes on; the view catches up after it.
    if (!profile_ || !AnyOn(panel_.Chain()) || Commanding()) return;
    const TRenderView& view = canvas_.View();
    const auto first = static_cast<std::uint32_t>(std::max(0.0, std::floor(view.FirstTrace)));
    const auto end = static_cast<std::uint32_t>(std::ceil(view.FirstTrace + view.TraceSpan));
    // The run for the traces around the view goes on while the view stays within what is shown.
    if (Covers(first, end) && (job_ == 0 || around_)) return;
    Restart(false);
}

int TViewProcessing::StartAround(double margin) {
    const TRenderView& view = canvas_.View();
    const auto first =
        static_cast<std::uint32_t>(std::max(0.0, std::floor(view.FirstTrace - margin)));
    const auto end = static_cast<std::uint32_t>(
        std::max(0.0, std::ceil(view.FirstTrace + view.TraceSpan + margin)));
    return worker_->Start(document_.Model(), panel_.Chain(), first, end, cache_);
}

void TViewProcessing::StartMargins() {
    // A quarter of the view's traces again on either side, so that a small pan needs no new run;
    // processed after the traces in view are shown, so that they do not wait for these.
    if (held_) return;  // the run after the operation covers them
    const TRenderView& view = canvas_.View();
    const double margin = view.TraceSpan / 4;
    const auto first =
        static_cast<std::uint32_t>(std::max(0.0, std::floor(view.FirstTrace - margin)));
    const auto end = static_cast<std::uint32_t>(
        std::min<double>(document_.Model().Header().TraceCount,
                         std::ceil(view.FirstTrace + view.TraceSpan + margin)));
    if (Covers(first, end)) return;
    job_ = StartAround(margin);
    around_ = true;
}

void TViewProcessing::Hold(bool held) {
    held_ = held;
    if (!held) {
        // After the document's held notices, which come next: a new profile runs anew anyway.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (held_) return;
                if (rerun_) Restart(false);
                if (std::exchange(broken_, false))
                    platform_.MessageBox(owner_,
                                         QStringLiteral("Команда обработки прервана: файл "
                                                        "изменялся другой операцией. Повторите "
                                                        "команду."),
                                         kCaption, TMsgButtons::Ok, TMsgIcon::Exclamation);
            },
            Qt::QueuedConnection);
        return;
    }
    // A stopped job ends at its next step; none may read the model once the change begins.
    worker_->Stop();
    rerun_ = rerun_ || job_ != 0;
    broken_ = broken_ || Commanding();
    job_ = 0;
    EndCommand();
    panel_.ShowProgress(std::nullopt);
}

void TViewProcessing::Restart(bool freshScale) {
    if (held_) {
        rerun_ = true;
        freshScale_ = freshScale_ || freshScale;
        return;
    }
    rerun_ = false;
    panel_.ShowProblem({});
    const TProcessingChain chain = panel_.Chain();
    if (!profile_ || !AnyOn(chain)) {
        worker_->Cancel();
        job_ = 0;
        canvas_.SetSamples(std::nullopt, true);
        shown_.reset();
        panel_.ShowProgress(std::nullopt);
        emit Shown();
        return;
    }
    freshScale_ = freshScale_ || freshScale;
    // The traces in view only; those around them follow once these are shown.
    job_ = StartAround(0);
    around_ = false;
    panel_.ShowProgress(0.0);
}

void TViewProcessing::Finished(int job, std::shared_ptr<TProcessedTraces> traces) {
    if (job == exportJob_) {
        EndCommand();
        panel_.ShowProgress(std::nullopt);
        ExportProcessed(*traces);
        return;
    }
    if (job == applyJob_) {
        EndCommand();
        panel_.ShowProgress(std::nullopt);
        WriteProcessed(std::move(traces));
        return;
    }
    if (job != job_) return;
    job_ = 0;
    const bool around = std::exchange(around_, false);
    panel_.ShowProgress(std::nullopt);
    // The picture's buffer before this one serves the next run; the canvas lets go of it below.
    std::shared_ptr<TProcessedTraces> before = std::exchange(shown_, std::move(traces));
    TSampleGrid grid;
    grid.Data = shown_->Rows();
    grid.Stride = shown_->SampleCount;
    grid.FirstTrace = shown_->First;
    grid.TraceEnd = shown_->First + shown_->Count;
    grid.SampleCount = shown_->SampleCount;
    canvas_.SetSamples(grid, freshScale_);
    freshScale_ = false;
    if (before && before.use_count() == 1) cache_->Recycle(std::move(*before));
    emit Shown();
    // The view may have moved on while this ran.
    ViewMoved();
    if (job_ == 0 && !around && !Commanding()) StartMargins();
}

void TViewProcessing::Failed(int job, const QString& message) {
    if (job != job_ && job != applyJob_ && job != exportJob_) return;
    const bool applying = job == applyJob_;
    const bool exporting = job == exportJob_;
    job_ = 0;
    EndCommand();
    panel_.ShowProgress(std::nullopt);
    if (applying || exporting) {
        platform_.MessageBox(owner_,
                             (applying ? QStringLiteral("Обработка не записана: ")
                                       : QStringLiteral("Экспорт не выполнен: ")) +
                                 message,
                             kCaption, TMsgButtons::Ok, TMsgIcon::Exclamation);
        return;
    }
    // The raw picture, and why.
    canvas_.SetSamples(std::nullopt, true);
    shown_.reset();
    panel_.ShowProblem(message);
    emit Shown();
}

std::optional<float> TViewProcessing::ProcessedAt(std::int64_t trace, std::int64_t sample) const {
    if (!shown_ || !AnyOn(panel_.Chain()) || trace < shown_->First ||
        trace >= std::int64_t{shown_->First} + shown_->Count || sample < 0 ||
        sample >= shown_->SampleCount)
        return std::nullopt;
    return shown_->Trace(static_cast<std::uint32_t>(trace))[sample];
}

bool TViewProcessing::Commanding() const {
    return applyJob_ != 0 || exportJob_ != 0;
}

bool TViewProcessing::Processing() const {
    return job_ != 0 || applyJob_ != 0 || exportJob_ != 0;
}

void TViewProcessing::ApplyToFile() {
    const TProcessingChain chain = StepsOn(panel_.Chain());
    if (!profile_ || !document_.Model().HasHeader()) {
        platform_.MessageBox(owner_, QStringLiteral("Радарограмма не открыта."), kCaption,
                             TMsgButtons::Ok, TMsgIcon::Exclamation);
        return;
    }
    if (chain.empty()) {
        platform_.MessageBox(owner_,
                             QStringLiteral("Ни один шаг обработки не включён: записывать "
                                            "в файл нечего."),
                             kCaption, TMsgButtons::Ok, TMsgIcon::Information);
        return;
    }
    const QString question =
        QStringLiteral("Записать обработку в файл радарограммы?\n\n") + Text(ChainText(chain)) +
        QStringLiteral(
            "\n\nОтсчёты файла будут заменены обработанными. Изменение записывается "
            "одним шагом истории и отменяется командой \"Отменить\".");
    if (platform_.MessageBox(owner_, question, kCaption, TMsgButtons::OkCancel,
                             TMsgIcon::Question) != TMsgResult::Ok)
        return;
    applyJob_ = StartCommand(chain);
}

void TViewProcessing::ExportSegy() {
    if (!profile_ || !document_.Model().HasHeader()) {
        platform_.MessageBox(owner_, QStringLiteral("Радарограмма не открыта."), kCaption,
                             TMsgButtons::Ok, TMsgIcon::Exclamation);
        return;
    }
    std::filesystem::path proposed = document_.Path();
    proposed.replace_extension(".sgy");
    TFileDialogRequest request;
    request.Filter = QStringLiteral("Файлы SEG-Y (*.sgy, *.segy)|*.sgy;*.segy|Все файлы (*.*)|*.*");
    request.ProposedName = QString::fromStdU16String(proposed.u16string());
    request.DefaultExtension = QStringLiteral("sgy");
    const std::optional<QString> chosen = platform_.GetSaveFileName(owner_, request);
    if (!chosen) return;
    exportTarget_ = std::filesystem::path(chosen->toStdU16String());
    exportJob_ = StartCommand(panel_.Chain());
}

int TViewProcessing::StartCommand(const TProcessingChain& chain) {
    worker_->Cancel();
    job_ = 0;
    EndCommand();
    // The chain stays as it is until the command is done with it.
    panel_.SetBusy(true);
    panel_.ShowProgress(0.0);
    return worker_->Start(document_.Model(), chain, 0, document_.Model().Header().TraceCount,
                          cache_);
}

void TViewProcessing::EndCommand() {
    applyJob_ = 0;
    exportJob_ = 0;
    panel_.SetBusy(false);
}

void TViewProcessing::ExportProcessed(const TProcessedTraces& traces) {
    TSegyExportOptions options;
    options.Samples = [&traces](std::uint32_t t) { return traces.Trace(t).data(); };
    try {
        trelvanox::ExportSegy(document_.Model(), exportTarget_, options);
    } catch (const std::exception& e) {
        platform_.MessageBox(owner_, Text(e.what()), kCaption, TMsgButtons::Ok,
                             TMsgIcon::Exclamation);
        Restart(false);
        return;
    }
    const std::string chain = ChainText(StepsOn(panel_.Chain()));
    platform_.MessageBox(owner_,
                         QStringLiteral("Обработанная радарограмма (") +
                             (chain.empty() ? QStringLiteral("без обработки") : Text(chain)) +
                             QStringLiteral(") записана в файл SEG-Y:\n") +
                             QString::fromStdU16String(exportTarget_.u16string()) +
                             QStringLiteral("\n\nМетки записаны в файл:\n") +
                             QString::fromStdU16String(SegyLabelsPath(exportTarget_).u16string()),
                         kCaption, TMsgButtons::Ok, TMsgIcon::Information);
    Restart(false);
}

void TViewProcessing::WriteProcessed(std::shared_ptr<TProcessedTraces> traces) {
    const TProcessingChain chain = panel_.Chain();
    // The file is to hold the chain: shown on top of it, it would run twice. The steps are off
    // before the change, so that the view follows the new samples raw.
    TProcessingChain off = chain;
    for (TChainStep& step : off) step.On = false;
    panel_.SetChain(off);
    // No stopped job may still read the samples the change writes.
    worker_->Stop();
    const TDocumentResult result = document_.Change(ProcessedEdit(std::move(traces), chain));
    if (result.Ok()) {
        ChainEdited();
        return;
    }
    panel_.SetChain(chain);
    Restart(true);
    const TFileMessage& message = *result.Message;
    if (message.Caption.empty())
        platform_.ShowMessage(owner_, Text(message.Text));
    else
        platform_.MessageBox(owner_, Text(message.Text), Text(message.Caption), TMsgButtons::Ok,
                             TMsgIcon::Exclamation);
}

}  // namespace trelvanox
