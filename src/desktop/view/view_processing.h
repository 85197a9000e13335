#pragma once

#include <QObject>
#include <QString>
#include <filesystem>
#include <memory>
#include <optional>

#include "desktop/view/processing_chain_store.h"
#include "processing/chain_runner.h"

namespace trelvanox {

class TPlatform;
class TProcessingPanel;
class TProcessingWorker;
class TRadargramCanvas;
class TRadargramDocument;

// The view's processing: the chain of the panel run over the traces the canvas shows, off the
// GUI thread, the result drawn in place of the raw samples; the chain kept per file and brought
// back when the file is opened again; "Применить к файлу" written through the document as one
// step of the file's history. The file changes only through that command.
//
// Zoomed in, only the traces in view (and a quarter as many again around them) are processed; the
// means a background removal over all traces needs are kept until the chain or the samples change,
// so that panning and zooming cost only the traces shown.
//
// The document, the platform, the canvas and the panel belong to the view window, which outlives
// this object.
class TViewProcessing : public QObject {
    Q_OBJECT
  public:
    TViewProcessing(TRadargramDocument& document, TPlatform& platform, TRadargramCanvas& canvas,
                    TProcessingPanel& panel, std::filesystem::path chainFolder, QWidget* owner);
    ~TViewProcessing() override;

    // The view shows the document's profile anew: another file (fresh) or new samples of the
    // same one; nothing (no profile).
    void ProfileShown(bool fresh);
    void ProfileGone();
    // The processed amplitude at a cell when it has been processed and a step is on.
    std::optional<float> ProcessedAt(std::int64_t trace, std::int64_t sample) const;
    bool Processing() const;
    // While the document is changed elsewhere: every job stopped (waiting for its thread) and
    // none started; a view's job runs again once released, a command's is reported as broken off.
    void Hold(bool held);
    // "Применить к файлу".
    void ApplyToFile();
    // "Экспорт в SEG-Y": the profile as shown, processed, into a SEG-Y file.
    void ExportSegy();

  signals:
    // A processed picture is ready (or the raw one is back).
    void Shown();

  private:
    void ChainEdited();
    void ViewMoved();
    void Restart(bool freshScale);
    void Finished(int job, std::shared_ptr<TProcessedTraces> traces);
    void Failed(int job, const QString& message);
    void WriteProcessed(std::shared_ptr<TProcessedTraces> traces);
    void ExportProcessed(const TProcessedTraces& traces);
    // A command's run over the whole profile ("Применить к файлу", "Экспорт в SEG-Y"): started
    // with the panel held, ended (done, failed or overtaken) with it free again.
    int StartCommand(const TProcessingChain& chain);
    void EndCommand();
    bool Commanding() const;
    void ShowResult();
    bool Covers(std::uint32_t first, std::uint32_t end) const;
    // Starts a run for the traces in view and margin traces on either side.
    int StartAround(double margin);
    void StartMargins();
    TProcessingChain DefaultChain() const;

    TRadargramDocument& document_;
    TPlatform& platform_;
    TRadargramCanvas& canvas_;
    TProcessingPanel& panel_;
    QWidget* owner_;
    TProcessingChainStore store_;
    TProcessingWorker* worker_ = nullptr;
    std::shared_ptr<TProcessingCache> cache_;
    std::filesystem::path path_;
    bool profile_ = false;

    std::shared_ptr<TProcessedTraces> shown_;
    int job_ = 0;          // the job whose result is awaited, 0 for none
    bool around_ = false;  // job_ is for the traces around the view, after those in it
    int applyJob_ = 0;     // the whole-profile job of "Применить к файлу"
    int exportJob_ = 0;    // the whole-profile job of "Экспорт в SEG-Y"
    std::filesystem::path exportTarget_;
    bool freshScale_ = true;
    bool held_ = false;
    bool rerun_ = false;   // a view's run was stopped or asked for while held
    bool broken_ = false;  // a command's run was stopped by the hold
};

}  // namespace trelvanox
