#include "desktop/amplitude/regulation_amplitude_form.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHideEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QWindow>

#include "desktop/amplitude/amplitude_preview.h"
#include "desktop/document/document_context.h"
#include "desktop/platform/command_dispatcher.h"
#include "desktop/widgets/spin_edit.h"
#include "document/radargram_document.h"

namespace trelvanox {

TFmRegulationAmplitude::TFmRegulationAmplitude(TDocumentContext& context, QWidget* parent)
    : TModelessDialog(parent), context_(context) {
    setObjectName(QStringLiteral("FmRegulationAmplitude"));
    setWindowTitle(QStringLiteral("Регулировка амплитуд"));
    setFixedSize(737, 405);

    auto* pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));
    pages->setGeometry(8, 8, 721, 329);
    pages->addTab(BuildGainPage(), QStringLiteral("Усиление"));
    pages->addTab(BuildCutPage(), QStringLiteral("Обрезка амплитуд"));
    pages->addTab(BuildZeroTracesPage(), QStringLiteral("Обнуление трасс"));

    pbarProgress_ = new QProgressBar(this);
    pbarProgress_->setObjectName(QStringLiteral("pbarProgress"));
    pbarProgress_->setGeometry(8, 344, 694, 17);
    pbarProgress_->setRange(0, 100);
    pbarProgress_->setValue(0);
    pbarProgress_->setTextVisible(false);
    pbarProgress_->hide();
    lblProcentDone_ = new QLabel(QStringLiteral("0%"), this);
    lblProcentDone_->setObjectName(QStringLiteral("lblProcentDone"));
    lblProcentDone_->setGeometry(706, 344, 30, 17);

    btnClose_ = new QPushButton(QStringLiteral("Закрыть"), this);
    btnClose_->setObjectName(QStringLiteral("btnClose"));
    btnClose_->setGeometry(8, 371, 75, 25);

    // Enter in a field must not run an operation: no button answers it.
    for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);

    ConnectHandlers();
}

void TFmRegulationAmplitude::ConnectHandlers() {
    auto onChosen = [this](QRadioButton* button, void (TFmRegulationAmplitude::*handler)()) {
        connect(button, &QRadioButton::toggled, this, [this, handler](bool chosen) {
            if (chosen) Run([this, handler] { (this->*handler)(); });
        });
    };
    onChosen(rbtnWindowFull_, &TFmRegulationAmplitude::rbtnWindowFullClick);
    onChosen(rbtnWindowFragment_, &TFmRegulationAmplitude::rbtnWindowFragmentClick);
    onChosen(rbtnGainForMin_, &TFmRegulationAmplitude::rbtnGainForMinClick);
    onChosen(rbtnGainForMax_, &TFmRegulationAmplitude::rbtnGainForMaxClick);
    onChosen(rbtnGainForMiddle_, &TFmRegulationAmplitude::rbtnGainForMiddleClick);

    auto onChange = [this](TSpinEdit* field, void (TFmRegulationAmplitude::*handler)()) {
        connect(field, &TSpinEdit::TextChanged, this,
                [this, handler] { Run([this, handler] { (this->*handler)(); }); });
    };
    onChange(stxtTraceFirst_, &TFmRegulationAmplitude::stxtTraceFirstChange);
    onChange(stxtTraceLast_, &TFmRegulationAmplitude::stxtTraceLastChange);
    onChange(stxtSampleFirst_, &TFmRegulationAmplitude::stxtSampleFirstChange);
    onChange(stxtSampleLast_, &TFmRegulationAmplitude::stxtSampleLastChange);

    auto onToggle = [this](QCheckBox* box, void (TFmRegulationAmplitude::*handler)()) {
        connect(box, &QCheckBox::toggled, this, [this, handler] { (this->*handler)(); });
    };
    onToggle(chkMinAmplitude_, &TFmRegulationAmplitude::chkMinAmplitudeClick);
    onToggle(chkMaxAmplitude_, &TFmRegulationAmplitude::chkMaxAmplitudeClick);

    auto onClick = [this](QPushButton* button, void (TFmRegulationAmplitude::*handler)()) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { Run([this, handler] { (this->*handler)(); }); });
    };
    onClick(bbtnGain_, &TFmRegulationAmplitude::bbtnGainClick);
    onClick(bbtnCutAmplitude_, &TFmRegulationAmplitude::bbtnCutAmplitudeClick);
    onClick(bbtnZeroTraces_, &TFmRegulationAmplitude::bbtnZeroTracesClick);
    onClick(btnFindMinMaxAmplitude_, &TFmRegulationAmplitude::btnFindMinMaxAmplitudeClick);
    onClick(bbtnZeroMaxAmplitude_, &TFmRegulationAmplitude::bbtnZeroMaxAmplitudeClick);
    onClick(btnClose_, &TFmRegulationAmplitude::btnCloseClick);
    // bbtnZeroMinAmplitude has no action.

    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            &TFmRegulationAmplitude::OnFocusWindowChanged);
}

void TFmRegulationAmplitude::Run(const std::function<void()>& handler) {
    RunCommand(context_.Platform, this, handler);
}

bool TFmRegulationAmplitude::FileLoaded() const {
    return context_.Document.Model().FileLoaded() == 1;
}

void TFmRegulationAmplitude::showEvent(QShowEvent* event) {
    TModelessDialog::showEvent(event);
    // A window restored by the system is shown again without becoming visible anew.
    if (event->spontaneous()) return;
    activationPending_ = true;
    Run([this] { FormShow(); });
    emit WindowChanged();
}

void TFmRegulationAmplitude::hideEvent(QHideEvent* event) {
    TModelessDialog::hideEvent(event);
    emit WindowChanged();
}

void TFmRegulationAmplitude::OnFocusWindowChanged(QWindow* window) {
    const QWindow* previous = lastFocusWindow_;
    lastFocusWindow_ = window;
    if (!window || window != windowHandle()) return;
    // From another application the focus comes back from no window of ours.
    if (!previous && !activationPending_) return;
    activationPending_ = false;
    Run([this] { FormActivate(); });
}

void TFmRegulationAmplitude::FormShow() {
    if (!FileLoaded()) return;
    if (rbtnWindowFull_->isChecked())
        SetWholeRadargramWindow();
    else
        SetWindowTexts({});
}

void TFmRegulationAmplitude::FormActivate() {
    FillPreviewGray(*imgRadarogramma_);
}

void TFmRegulationAmplitude::rbtnWindowFullClick() {
    if (FileLoaded())
        SetWholeRadargramWindow();
    else
        SetWindowTexts({});
}

void TFmRegulationAmplitude::rbtnWindowFragmentClick() {
    SetWindowFieldsEnabled(true);
    // The fragment starts as the whole radargram; without a file there is no header to take it
    // from.
    SetWindowTexts(FileLoaded() ? WholeRadargramWindow(context_.Document.Model().Header())
                                : TProcessingWindow{});
}

void TFmRegulationAmplitude::SetWholeRadargramWindow() {
    SetWindowFieldsEnabled(false);
    SetWindowTexts(WholeRadargramWindow(context_.Document.Model().Header()));
}

// In field order; each change redraws the preview once it has a file.
void TFmRegulationAmplitude::SetWindowTexts(const TProcessingWindow& window) {
    stxtTraceFirst_->SetText(QString::number(window.FirstTrace));
    stxtTraceLast_->SetText(QString::number(window.LastTrace));
    stxtSampleFirst_->SetText(QString::number(window.FirstSample));
    stxtSampleLast_->SetText(QString::number(window.LastSample));
}

void TFmRegulationAmplitude::SetWindowFieldsEnabled(bool enabled) {
    for (TSpinEdit* field : {stxtTraceFirst_, stxtTraceLast_, stxtSampleFirst_, stxtSampleLast_})
        field->setEnabled(enabled);
}

void TFmRegulationAmplitude::stxtTraceFirstChange() {
    WindowFieldChange(*stxtTraceFirst_);
}

void TFmRegulationAmplitude::stxtTraceLastChange() {
    WindowFieldChange(*stxtTraceLast_);
}

void TFmRegulationAmplitude::stxtSampleFirstChange() {
    WindowFieldChange(*stxtSampleFirst_);
}

void TFmRegulationAmplitude::stxtSampleLastChange() {
    WindowFieldChange(*stxtSampleLast_);
}

void TFmRegulationAmplitude::WindowFieldChange(const TSpinEdit& field) {
    emit WindowChanged();
    if (FileLoaded() && !field.Text().isEmpty()) RedrawWindowPreview();
}

void TFmRegulationAmplitude::SetFragmentWindow(const TProcessingWindow& window) {
    if (!isVisible()) ShowModeless();
    rbtnWindowFragment_->setChecked(true);
    SetWindowTexts(window);
}

std::optional<TProcessingWindow> TFmRegulationAmplitude::ShownWindow() const {
    if (!isVisible()) return std::nullopt;
    return WindowFromFields();
}

void TFmRegulationAmplitude::RedrawWindowPreview() {
    DrawWindowPreview(*imgRadarogramma_,
                      {stxtTraceFirst_->Text(), stxtTraceLast_->Text(), stxtSampleFirst_->Text(),
                       stxtSampleLast_->Text()},
                      context_.Document.Model().Header().TraceCount);
}

TProcessingWindow TFmRegulationAmplitude::WindowFromFields() const {
    return ProcessingWindowFromTexts(
        stxtTraceFirst_->Text().toStdString(), stxtTraceLast_->Text().toStdString(),
        stxtSampleFirst_->Text().toStdString(), stxtSampleLast_->Text().toStdString());
}

void TFmRegulationAmplitude::btnCloseClick() {
    close();
}

void TFmRegulationAmplitude::rbtnGainForMinClick() {
    stxtGainForMin_->setEnabled(true);
    stxtGainForMax_->setEnabled(false);
    stxtGainForMiddleMin_->setEnabled(false);
    stxtGainForMiddleMax_->setEnabled(false);
}

void TFmRegulationAmplitude::rbtnGainForMaxClick() {
    stxtGainForMax_->setEnabled(true);
    stxtGainForMin_->setEnabled(false);
    stxtGainForMiddleMin_->setEnabled(false);
    stxtGainForMiddleMax_->setEnabled(false);
}

void TFmRegulationAmplitude::rbtnGainForMiddleClick() {
    stxtGainForMiddleMin_->setEnabled(true);
    stxtGainForMiddleMax_->setEnabled(true);
    stxtGainForMax_->setEnabled(false);
    stxtGainForMin_->setEnabled(false);
}

void TFmRegulationAmplitude::chkMinAmplitudeClick() {
    stxtMinAmplitude_->setEnabled(chkMinAmplitude_->isChecked());
}

void TFmRegulationAmplitude::chkMaxAmplitudeClick() {
    stxtMaxAmplitude_->setEnabled(chkMaxAmplitude_->isChecked());
}

}  // namespace trelvanox
