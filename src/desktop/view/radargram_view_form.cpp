#include "desktop/view/radargram_view_form.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QSaveFile>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/file_paths.h"
#include "desktop/document/document_use.h"
#include "desktop/document/gui_notices.h"
#include "desktop/platform/command_dispatcher.h"
#include "desktop/platform/platform.h"
#include "desktop/view/overview_strip.h"
#include "desktop/view/processing_panel.h"
#include "desktop/view/radargram_canvas.h"
#include "desktop/view/view_processing.h"
#include "desktop/widgets/remembered.h"
#include "labels/read_label_table.h"
#include "render/profile_axes.h"

namespace trelvanox {

namespace {

QString Text(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QToolButton* Button(const QString& text, const char* name, const QString& hint, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

QDoubleSpinBox* Spin(const char* name, double low, double high, double value, int decimals,
                     QWidget* parent) {
    auto* spin = new QDoubleSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(low, high);
    spin->setDecimals(decimals);
    spin->setValue(value);
    spin->setKeyboardTracking(false);
    return spin;
}

}  // namespace

TFmRadargramView::TFmRadargramView(TRadargramDocument& document, TDocumentUse& use,
                                   TPlatform& platform, TViewLinks links, QWidget* parent)
    : TModelessDialog(parent),
      document_(document),
      use_(use),
      platform_(platform),
      links_(std::move(links)) {
    setObjectName(QStringLiteral("FmRadargramView"));
    setWindowTitle(QStringLiteral("Радарограмма — просмотр"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildControls());
    // The processing chain of the view beside the picture.
    auto* row = new QHBoxLayout;
    row->addWidget(BuildPictureArea(), 1);
    pnlProcessing_ = new TProcessingPanel(this);
    pnlProcessing_->setFixedWidth(300);
    row->addWidget(pnlProcessing_);
    layout->addLayout(row, 1);
    processing_ = new TViewProcessing(document_, platform_, *canvas_, *pnlProcessing_,
                                      DefaultChainFolder(), this);
    // A processed picture that arrives under a resting cursor updates its amplitudes.
    connect(processing_, &TViewProcessing::Shown, this, [this] { ShowCursor(cursor_); });
    lblViewStatus_ = new QLabel(this);
    lblViewStatus_->setObjectName(QStringLiteral("lblViewStatus"));
    layout->addWidget(lblViewStatus_);
    // The picture as wide as it was before the panel came beside it.
    resize(1000 + pnlProcessing_->width() + row->spacing(), 620);
    // Under the view's own controls.
    layout->insertWidget(1, BuildLabelControls());

    connect(canvas_, &TRadargramCanvas::CursorAt, this, &TFmRadargramView::ShowCursor);
    connect(canvas_, &TRadargramCanvas::WindowMarked, this, [this](const TProcessingWindow& w) {
        if (links_.SetProcessingWindow)
            RunCommand(platform_, this, [&] { links_.SetProcessingWindow(w); });
        ProcessingWindowChanged();
    });
    connect(canvas_, &TRadargramCanvas::LabelClicked, this, [this](int row) {
        if (links_.SelectLabelRow) links_.SelectLabelRow(row);
    });
    connect(&use_, &TDocumentUse::UseChanged, this, &TFmRadargramView::UseChanged);
    // The document outlives the window; the guard covers a view closed before it.
    document_.Subscribe(
        OnGuiThread([view = QPointer<TFmRadargramView>(this)](TDocumentChange change) {
            if (view) view->DocumentChanged(change);
        }));
    FollowDocument(true);
}

QWidget* TFmRadargramView::BuildControls() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);

    QToolButton* fit = Button(QStringLiteral("Вписать"), "btnViewFit",
                              QStringLiteral("Показать всю радарограмму"), bar);
    connect(fit, &QToolButton::clicked, this, [this] { canvas_->Fit(); });
    row->addWidget(fit);

    row->addWidget(new QLabel(QStringLiteral("Усиление экрана"), bar));
    seViewGain_ = Spin("seViewGain", 0.01, 10000.0, 1.0, 2, bar);
    seViewGain_->setToolTip(QStringLiteral("Множитель амплитуд при показе; файл не меняется"));
    connect(seViewGain_, &QDoubleSpinBox::valueChanged, this,
            [this](double gain) { canvas_->SetGain(gain); });
    row->addWidget(seViewGain_);

    row->addWidget(new QLabel(QStringLiteral("Порог, %"), bar));
    seViewClip_ = Spin("seViewClip", 1.0, 100.0, kDefaultClipPercentile, 1, bar);
    seViewClip_->setToolTip(
        QStringLiteral("Процентиль модуля амплитуд, который занимает края палитры"));
    connect(seViewClip_, &QDoubleSpinBox::valueChanged, this,
            [this](double percentile) { canvas_->SetClipPercentile(percentile); });
    row->addWidget(seViewClip_);

    cmbViewPalette_ = new QComboBox(bar);
    cmbViewPalette_->setObjectName(QStringLiteral("cmbViewPalette"));
    cmbViewPalette_->addItem(QStringLiteral("Серая палитра"), int(TPalette::Grey));
    cmbViewPalette_->addItem(QStringLiteral("Сине-бело-красная палитра"), int(TPalette::Diverging));
    connect(cmbViewPalette_, &QComboBox::currentIndexChanged, this, [this] {
        canvas_->SetPalette(static_cast<TPalette>(cmbViewPalette_->currentData().toInt()));
    });
    row->addWidget(cmbViewPalette_);

    btnViewWindow_ = Button(QStringLiteral("Окно обработки"), "btnViewWindow",
                            QStringLiteral("Выделить мышью окно для регулировки амплитуд (или "
                                           "правой кнопкой в любом режиме)"),
                            bar);
    btnViewWindow_->setCheckable(true);
    // A mode of the mouse, as the label editing is.
    MarkNotRemembered(*btnViewWindow_);
    connect(btnViewWindow_, &QToolButton::toggled, this,
            [this](bool on) { canvas_->SetWindowMode(on); });
    row->addWidget(btnViewWindow_);
    row->addStretch(1);

    QToolButton* save = Button(QStringLiteral("Сохранить изображение"), "btnSaveImage",
                               QStringLiteral("Сохранить картинку в файл PNG"), bar);
    connect(save, &QToolButton::clicked, this,
            [this] { RunCommand(platform_, this, [this] { SaveImage(); }); });
    row->addWidget(save);
    return bar;
}

void TFmRadargramView::DocumentChanged(TDocumentChange change) {
    if (change == TDocumentChange::Recovered || change == TDocumentChange::HeaderTable) return;
    documentChanged_ = true;
    // A hidden window catches up when it is shown.
    if (isVisible()) FollowDocument(false);
}

void TFmRadargramView::UseChanged(bool inUse) {
    canvas_->SetFrozen(inUse);
    overview_->SetFrozen(inUse);
    processing_->Hold(inUse);
}

void TFmRadargramView::showEvent(QShowEvent* event) {
    TModelessDialog::showEvent(event);
    // The notices that come after the use catch up.
    if (documentChanged_ && !use_.InUse()) FollowDocument(false);
    ProcessingWindowChanged();
}

void TFmRadargramView::FollowDocument(bool force) {
    documentChanged_ = false;
    const TRadargram& model = document_.Model();
    // A read that failed half-way leaves samples of two files under one header: nothing to show.
    if (!model.HasHeader() || !model.SamplesIntact()) {
        processing_->ProfileGone();
        canvas_->ShowProfile(nullptr, true);
        canvas_->SetMarks({});
        overview_->ShowProfile(nullptr, canvas_->Style());
        ViewChanged();
        return;
    }
    const std::uint32_t traces = model.Header().TraceCount;
    const std::uint32_t samples = model.Header().SampleCount;
    const bool fresh = force || document_.Path() != shownPath_ || traces != shownTraces_ ||
                       samples != shownSamples_;
    shownPath_ = document_.Path();
    shownTraces_ = traces;
    shownSamples_ = samples;
    canvas_->ShowProfile(&model, fresh);
    processing_->ProfileShown(fresh);
    canvas_->SetMarks(LabelMarks(model));
    overview_->ShowProfile(&model, canvas_->Style());
    ViewChanged();
}

void TFmRadargramView::ProcessingWindowChanged() {
    canvas_->SetFrame(links_.ShownProcessingWindow && isVisible() ? links_.ShownProcessingWindow()
                                                                  : std::nullopt);
}

void TFmRadargramView::ShowCursor(std::optional<QPoint> point) {
    cursor_ = point;
    // The line keeps what it says until the model may be read again.
    if (use_.InUse()) return;
    const auto cell = point ? canvas_->CellAt(*point) : std::nullopt;
    if (!cell) {
        lblViewStatus_->clear();
        return;
    }
    const TRadargram& model = document_.Model();
    const auto [trace, sample] = *cell;
    const TProfileAxes axes = ProfileAxes(model.Header());
    QString text = QStringLiteral("Трасса %1   Отсчёт %2   Время %3 нс")
                       .arg(trace)
                       .arg(sample)
                       .arg(axes.TimeNs(static_cast<double>(sample)), 0, 'f', 2);
    if (const auto depth = axes.DepthMetres(static_cast<double>(sample)))
        text += QStringLiteral("   Глубина %1 м").arg(*depth, 0, 'f', 2);
    const float amplitude = model.SampleMatrix().Row(trace)[sample];
    if (const auto processed = processing_->ProcessedAt(trace, sample))
        text += QStringLiteral("   Обработанная %1   Исходная %2")
                    .arg(*processed, 0, 'g', 6)
                    .arg(amplitude, 0, 'g', 6);
    else
        text += QStringLiteral("   Амплитуда %1").arg(amplitude, 0, 'g', 6);
    const auto headers = model.TraceHeaders();
    if (static_cast<std::size_t>(trace) < headers.size())
        text += QStringLiteral("   ") +
                Text(ChainageText(headers[trace].Coordinate, model.Header().StartCoordinate));
    lblViewStatus_->setText(text);
}

void TFmRadargramView::SaveImage() {
    QString proposed = QStringLiteral("радарограмма.png");
    if (!document_.Path().empty())
        proposed =
            QString::fromStdU16String(document_.Path().stem().u16string()) + QStringLiteral(".png");
    const auto path = platform_.GetSaveFileName(
        this, {QStringLiteral("Изображения PNG (*.png)|*.png"), proposed, QStringLiteral("png")});
    if (!path) return;
    if (NamesSameFile(std::filesystem::path(path->toStdU16String()),
                      document_.Model().SourcePath())) {
        platform_.MessageBox(this,
                             QStringLiteral("Изображение не сохранено: \"") + *path +
                                 QStringLiteral("\" - это файл самой радарограммы. Выберите "
                                                "другое имя файла."),
                             QStringLiteral("Сохранение изображения"), TMsgButtons::Ok,
                             TMsgIcon::Exclamation);
        return;
    }
    // Written beside the target and renamed over it, so that a failure leaves any old file whole.
    QSaveFile file(*path);
    const QImage picture = canvas_->grab().toImage();
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") || !file.commit()) {
        platform_.MessageBox(this,
                             QStringLiteral("Не удалось сохранить изображение в файл ") + *path +
                                 QStringLiteral(": ") + file.errorString(),
                             QStringLiteral("Сохранение изображения"), TMsgButtons::Ok,
                             TMsgIcon::Exclamation);
    }
}

}  // namespace trelvanox
