#pragma once

#include <QPoint>
#include <optional>

#include "desktop/view/view_links.h"
#include "desktop/widgets/modeless_dialog.h"
#include "document/radargram_document.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QToolButton;

namespace trelvanox {

class TDocumentUse;
class TOverviewStrip;
class TPlatform;
class TProcessingPanel;
class TRadargramCanvas;
class TViewLabelEditor;
class TViewProcessing;

// "Радарограмма — просмотр": the open radargram as a picture, in a window of its own beside the
// main window. It follows the document: every read and every change of the file redraws it, with
// the zoom kept as long as the file and its size stay the same. Its gain, colour table and clip
// percentile change only the picture, never the file. Scroll bars and an overview strip of the
// whole profile move the view; "Метки" shows or hides the labels and "Правка меток" edits them
// on the picture (radargram_view_labels.cpp).
//
// Created once with the main window as parent and kept for the whole run; the document and the
// platform belong to the main window and outlive it. What it asks of the rest of the program
// goes through links. While a long operation's worker is in the document (use), the picture,
// the strip and the status line stay as they were and the processing waits.
class TFmRadargramView : public TModelessDialog {
    Q_OBJECT
  public:
    TFmRadargramView(TRadargramDocument& document, TDocumentUse& use, TPlatform& platform,
                     TViewLinks links, QWidget* parent = nullptr);

    TRadargramCanvas* Canvas() const { return canvas_; }
    QLabel* StatusLine() const { return lblViewStatus_; }
    // How many labels the visible range holds.
    QLabel* LabelCountLine() const { return lblViewLabels_; }
    TOverviewStrip* Overview() const { return overview_; }
    TViewLabelEditor* LabelEditor() const { return labelEditor_; }
    TViewProcessing* Processing() const { return processing_; }

    // The amplitude regulation's window changed, or the dialog was opened or closed.
    void ProcessingWindowChanged();
    // "Сохранить изображение": the picture as shown, axes and labels included, as a PNG file.
    void SaveImage();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* BuildControls();
    // The labels' buttons, the scroll bars and the overview (radargram_view_labels.cpp).
    QWidget* BuildLabelControls();
    QWidget* BuildPictureArea();
    void ViewChanged();
    void DocumentChanged(TDocumentChange change);
    void FollowDocument(bool force);
    void UseChanged(bool inUse);
    void ShowCursor(std::optional<QPoint> point);

    TRadargramDocument& document_;
    TDocumentUse& use_;
    TPlatform& platform_;
    TViewLinks links_;
    TRadargramCanvas* canvas_ = nullptr;
    QDoubleSpinBox* seViewGain_ = nullptr;
    QComboBox* cmbViewPalette_ = nullptr;
    QDoubleSpinBox* seViewClip_ = nullptr;
    QToolButton* btnViewWindow_ = nullptr;
    QLabel* lblViewStatus_ = nullptr;
    QLabel* lblViewLabels_ = nullptr;
    QScrollBar* sbViewTraces_ = nullptr;
    QScrollBar* sbViewSamples_ = nullptr;
    TOverviewStrip* overview_ = nullptr;
    TViewLabelEditor* labelEditor_ = nullptr;
    TProcessingPanel* pnlProcessing_ = nullptr;
    TViewProcessing* processing_ = nullptr;
    std::optional<QPoint> cursor_;  // where the status line's cell is

    // What the picture shows, to tell another file from a change of the same one.
    std::filesystem::path shownPath_;
    std::uint32_t shownTraces_ = 0;
    std::uint32_t shownSamples_ = 0;
    bool documentChanged_ = true;
};

}  // namespace trelvanox
