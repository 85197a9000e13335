#pragma once

#include <QHash>
#include <QString>
#include <vector>

#include "desktop/document/document_context.h"
#include "desktop/widgets/modeless_dialog.h"
#include "document/radargram_document.h"
#include "labels/trace_calibration.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace trelvanox {

// "Пересчёт координат по меткам": the labels of the open radargram with their current chainage;
// the operator types the true chainage of two or more of them (labels whose text names a picket
// come with it filled in), sees each segment's step and recalculates every trace's coordinate in
// one undoable step. Modeless, created once with the main window as parent; it follows the
// document, and the chainages typed stay with their traces across reads.
class TFmCalibrateByLabels : public TModelessDialog {
    Q_OBJECT
  public:
    enum TColumn { ColNumber, ColTrace, ColText, ColChainage, ColTruePicket, ColCount };

    TFmCalibrateByLabels(TDocumentContext& context, QWidget* parent = nullptr);

    QTableWidget* sgCalibrationLabels() const { return table_; }
    QCheckBox* chkSetStartPicket() const { return chkSetStart_; }
    QLabel* lblCalibrationPreview() const { return lblPreview_; }
    QPushButton* btnCalibrate() const { return btnCalibrate_; }

    // "Пересчитать": recalculates the coordinates from the chainages typed.
    void btnCalibrateClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FillTable();
    void UpdatePreview();
    // The plan from the chainages typed; throws the program's error when there is none.
    TCalibrationPlan Plan() const;

    TDocumentContext& context_;
    QTableWidget* table_ = nullptr;
    QCheckBox* chkSetStart_ = nullptr;
    QLabel* lblPreview_ = nullptr;
    QLabel* lblPicketHint_ = nullptr;
    QPushButton* btnCalibrate_ = nullptr;
    // What the operator typed, by trace, kept while the table is filled again for the same file.
    QHash<quint32, QString> typed_;
    std::filesystem::path typedFor_;
    bool filling_ = false;
};

}  // namespace trelvanox
