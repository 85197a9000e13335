#pragma once

#include <QPointer>
#include <functional>
#include <optional>

#include "amplitude/amplitude_operations.h"
#include "desktop/widgets/modeless_dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QHideEvent;
class QShowEvent;
class QWindow;

namespace trelvanox {

struct TDocumentContext;
class TPreviewImage;
class TSpinEdit;

// The amplitude regulation dialog. Modeless, with a fixed frame; created once at start-up and
// kept for the whole run, so its controls keep their values between showings. It works on the
// open document's radargram: the processing window and its preview on the tab "Усиление", the
// gain beside them, the clipping and the extremes on "Обрезка амплитуд", the trace zeroing on
// "Обнуление трасс". Every handler reads the controls' texts at the moment it runs.
class TFmRegulationAmplitude : public TModelessDialog {
    Q_OBJECT
  public:
    TFmRegulationAmplitude(TDocumentContext& context, QWidget* parent = nullptr);

    TPreviewImage* imgRadarogramma() const { return imgRadarogramma_; }
    QProgressBar* pbarProgress() const { return pbarProgress_; }
    QLabel* lblProcentDone() const { return lblProcentDone_; }

    // Window and processing window.
    void FormShow();
    void FormActivate();
    void rbtnWindowFullClick();
    void rbtnWindowFragmentClick();
    void stxtTraceFirstChange();
    void stxtTraceLastChange();
    void stxtSampleFirstChange();
    void stxtSampleLastChange();
    void btnCloseClick();
    void RedrawWindowPreview();

    // For a view that marks the window on the picture: makes it a fragment window of these
    // bounds (showing the dialog first, since showing resets a fragment's fields), and tells
    // the window while the dialog is open.
    void SetFragmentWindow(const TProcessingWindow& window);
    std::optional<TProcessingWindow> ShownWindow() const;

  signals:
    // A window field changed, or the dialog was shown or hidden.
    void WindowChanged();

  public:
    // Gain.
    void rbtnGainForMinClick();
    void rbtnGainForMaxClick();
    void rbtnGainForMiddleClick();
    void bbtnGainClick();

    // Clipping, trace zeroing and extremes, on the whole file.
    void chkMinAmplitudeClick();
    void chkMaxAmplitudeClick();
    void bbtnCutAmplitudeClick();
    void bbtnZeroTracesClick();
    void btnFindMinMaxAmplitudeClick();
    void bbtnZeroMaxAmplitudeClick();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QWidget* BuildGainPage();
    QWidget* BuildCutPage();
    QWidget* BuildZeroTracesPage();
    void ConnectHandlers();
    // Runs a handler as a command: an error it raises goes to the general error display.
    void Run(const std::function<void()>& handler);
    void OnFocusWindowChanged(QWindow* window);

    bool FileLoaded() const;
    void SetWindowTexts(const TProcessingWindow& window);
    void SetWholeRadargramWindow();
    void SetWindowFieldsEnabled(bool enabled);
    void WindowFieldChange(const TSpinEdit& field);
    TProcessingWindow WindowFromFields() const;
    // Moves the progress bar; positions beyond its range show as its end.
    TProgress BarProgress();
    // Runs compute on the model off the GUI thread behind a progress window with "Отмена"
    // (guiProgress follows it on the GUI thread), then writes the model back as a history step
    // with the description. True when the file got the change; the operation's message follows
    // only then, since a failed write has already said why and a stop needs no word. A stop or
    // an error leaves the file and the model as they were.
    bool RunChange(const char* description,
                   const std::function<void(TRadargram&, const TProgress&)>& compute,
                   const TProgress& guiProgress);
    // Asks before an operation that would wipe the whole profile, naming the effect and the way
    // back; true to go on.
    bool ConfirmDestructive(const QString& effect, const QString& caption);
    void ShowOperationMessage(const QString& text, const QString& caption);

    TDocumentContext& context_;

    TSpinEdit* stxtTraceFirst_ = nullptr;
    TSpinEdit* stxtTraceLast_ = nullptr;
    TSpinEdit* stxtSampleFirst_ = nullptr;
    TSpinEdit* stxtSampleLast_ = nullptr;
    QRadioButton* rbtnWindowFull_ = nullptr;
    QRadioButton* rbtnWindowFragment_ = nullptr;
    TPreviewImage* imgRadarogramma_ = nullptr;

    QLineEdit* ltxtGain_ = nullptr;
    QRadioButton* rbtnGainForMin_ = nullptr;
    QRadioButton* rbtnGainForMax_ = nullptr;
    QRadioButton* rbtnGainForMiddle_ = nullptr;
    TSpinEdit* stxtGainForMin_ = nullptr;
    TSpinEdit* stxtGainForMax_ = nullptr;
    TSpinEdit* stxtGainForMiddleMin_ = nullptr;
    TSpinEdit* stxtGainForMiddleMax_ = nullptr;
    QPushButton* bbtnGain_ = nullptr;

    QCheckBox* chkMinAmplitude_ = nullptr;
    QCheckBox* chkMaxAmplitude_ = nullptr;
    TSpinEdit* stxtMinAmplitude_ = nullptr;
    TSpinEdit* stxtMaxAmplitude_ = nullptr;
    QPushButton* bbtnCutAmplitude_ = nullptr;
    QPushButton* btnFindMinMaxAmplitude_ = nullptr;
    QLineEdit* ltxtSampleWithMinAmplitude_ = nullptr;
    QLineEdit* ltxtSampleWithMaxAmplitude_ = nullptr;
    QLabel* lblSampleWithMinAmplitude_ = nullptr;
    QLabel* lblSampleWithMaxAmplitude_ = nullptr;
    QPushButton* bbtnZeroMinAmplitude_ = nullptr;
    QPushButton* bbtnZeroMaxAmplitude_ = nullptr;

    QLineEdit* ltxtZeroTraceBegin_ = nullptr;
    QLineEdit* ltxtZeroTraceEnd_ = nullptr;
    QPushButton* bbtnZeroTraces_ = nullptr;

    QProgressBar* pbarProgress_ = nullptr;
    QLabel* lblProcentDone_ = nullptr;
    QPushButton* btnClose_ = nullptr;

    // Activation: the dialog becomes the active window when it is shown and whenever the focus
    // comes to it from another window of the program, not when it comes back from another
    // application.
    QPointer<QWindow> lastFocusWindow_;
    bool activationPending_ = false;
};

}  // namespace trelvanox
