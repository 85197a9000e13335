#pragma once

#include <QWidget>
#include <optional>

#include "processing/processing_chain.h"

class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;

namespace trelvanox {

// "Обработка": the steps of the view's processing chain in a list, each with a check box to turn
// it on and its value in the text; the order is the list's, changed by dragging. The value of
// the chosen step is typed below with its caption and unit. "По умолчанию" brings back the
// defaults; "Применить к файлу" asks for the chain to be written into the radargram, "Экспорт в
// SEG-Y" for the processed profile to be exported. A bar shows
// how far processing has come.
//
// The panel holds the chain and says when the user changed it; it processes nothing itself.
class TProcessingPanel : public QWidget {
    Q_OBJECT
  public:
    explicit TProcessingPanel(QWidget* parent = nullptr);

    // Shows chain (every step of the registry once, in its order) without telling of a change.
    void SetChain(const TProcessingChain& chain);
    TProcessingChain Chain() const;
    // What "По умолчанию" brings back.
    void SetDefaults(TProcessingChain defaults) { defaults_ = std::move(defaults); }
    // A fraction while processing runs, nothing when it does not.
    void ShowProgress(std::optional<double> fraction);
    // While busy, the chain cannot be changed; the bar goes on.
    void SetBusy(bool busy);
    // Why the chain cannot be shown (empty: nothing wrong).
    void ShowProblem(const QString& text);

  signals:
    void ChainEdited();
    void ApplyRequested();
    void ExportRequested();

  private:
    QListWidgetItem* AddStep(const TChainStep& step);
    void ShowItem(QListWidgetItem* item);
    void CurrentChanged();
    void ValueTyped(double value);

    QListWidget* lstSteps_ = nullptr;
    QLabel* lblValue_ = nullptr;
    QDoubleSpinBox* seValue_ = nullptr;
    QPushButton* btnDefaults_ = nullptr;
    QPushButton* btnApply_ = nullptr;
    QPushButton* btnExport_ = nullptr;
    QProgressBar* pbProgress_ = nullptr;
    QLabel* lblProblem_ = nullptr;
    TProcessingChain defaults_;
    bool quiet_ = false;  // changes made by the program, not the user
};

// A value corrected to what the step takes: an even value of an odd window goes on to the next
// odd one in the direction it moved from previous, inside the step's range.
double StepValueFor(const TStepKind& kind, double value, double previous);

}  // namespace trelvanox
