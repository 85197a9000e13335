// The view window's labels and navigation: the buttons "Метки", "Правка меток" and the
// recalculation, the count of labels in view, the scroll bars and the overview strip.

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "desktop/document/document_use.h"
#include "desktop/platform/command_dispatcher.h"
#include "desktop/view/overview_strip.h"
#include "desktop/view/radargram_canvas.h"
#include "desktop/view/radargram_view_form.h"
#include "desktop/view/view_label_editor.h"
#include "desktop/widgets/remembered.h"

namespace trelvanox {

namespace {

QToolButton* CheckButton(const QString& text, const char* name, const QString& hint,
                         QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setCheckable(true);
    return button;
}

// A scroll bar over a view's axis: one step a cell, a page the span shown.
void SetBar(QScrollBar& bar, double first, double span, std::uint32_t count) {
    const QSignalBlocker quiet(&bar);
    const int page = std::max(1, static_cast<int>(std::lround(span)));
    bar.setRange(0, std::max(0, static_cast<int>(count) - page));
    bar.setPageStep(page);
    bar.setSingleStep(std::max(1, page / 20));
    bar.setValue(static_cast<int>(std::lround(first)));
}

}  // namespace

QWidget* TFmRadargramView::BuildPictureArea() {
    auto* area = new QWidget(this);
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    canvas_ = new TRadargramCanvas(area);
    canvas_->setObjectName(QStringLiteral("imgRadargramView"));
    grid->addWidget(canvas_, 0, 0);
    sbViewSamples_ = new QScrollBar(Qt::Vertical, area);
    sbViewSamples_->setObjectName(QStringLiteral("sbViewSamples"));
    grid->addWidget(sbViewSamples_, 0, 1);
    sbViewTraces_ = new QScrollBar(Qt::Horizontal, area);
    sbViewTraces_->setObjectName(QStringLiteral("sbViewTraces"));
    grid->addWidget(sbViewTraces_, 1, 0);
    overview_ = new TOverviewStrip(area);
    overview_->setObjectName(QStringLiteral("imgViewOverview"));
    grid->addWidget(overview_, 2, 0);
    grid->setRowStretch(0, 1);

    connect(canvas_, &TRadargramCanvas::ViewChanged, this, &TFmRadargramView::ViewChanged);
    connect(sbViewTraces_, &QScrollBar::valueChanged, this, [this](int first) {
        TRenderView view = canvas_->View();
        view.FirstTrace = first;
        canvas_->SetView(view);
    });
    connect(sbViewSamples_, &QScrollBar::valueChanged, this, [this](int first) {
        TRenderView view = canvas_->View();
        view.FirstSample = first;
        canvas_->SetView(view);
    });
    // The strip shows the profile with the view's gain and colour table.
    const auto restyle = [this] {
        // While in use the strip keeps the picture it shows.
        if (use_.InUse()) return;
        const TRadargram& model = document_.Model();
        const bool shown = model.HasHeader() && model.SamplesIntact();
        overview_->ShowProfile(shown ? &model : nullptr, canvas_->Style());
    };
    connect(seViewGain_, &QDoubleSpinBox::valueChanged, this, restyle);
    connect(cmbViewPalette_, &QComboBox::currentIndexChanged, this, restyle);
    connect(overview_, &TOverviewStrip::CenterOn, this, [this](double trace) {
        TRenderView view = canvas_->View();
        view.FirstTrace = trace - view.TraceSpan / 2;
        canvas_->SetView(view);
    });
    return area;
}

QWidget* TFmRadargramView::BuildLabelControls() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);

    QToolButton* shown = CheckButton(QStringLiteral("Метки"), "btnViewLabels",
                                     QStringLiteral("Показать или скрыть метки"), bar);
    shown->setChecked(true);
    connect(shown, &QToolButton::toggled, this, [this](bool on) {
        canvas_->SetMarksShown(on);
        ViewChanged();
    });
    row->addWidget(shown);

    QToolButton* edit = CheckButton(
        QStringLiteral("Правка меток"), "btnViewEditLabels",
        QStringLiteral("Щелчок по трассе ставит метку, метку можно перетащить; Del удаляет, F2 "
                       "или двойной щелчок меняет подпись и цвет, ←/→ сдвигают (с Shift на 10)"),
        bar);
    // A mode of the mouse: a new run's first click into the view never places a label unasked.
    MarkNotRemembered(*edit);
    connect(edit, &QToolButton::toggled, this, [this, shown](bool on) {
        if (on) {
            shown->setChecked(true);
            btnViewWindow_->setChecked(false);
        }
        canvas_->SetLabelEditMode(on);
    });
    connect(btnViewWindow_, &QToolButton::toggled, this, [edit](bool on) {
        if (on) edit->setChecked(false);
    });
    row->addWidget(edit);

    auto* calibrate = new QToolButton(bar);
    calibrate->setText(QStringLiteral("Пересчёт координат по меткам"));
    calibrate->setObjectName(QStringLiteral("btnViewCalibrate"));
    calibrate->setToolTip(
        QStringLiteral("Координаты всех трасс по истинным пикетам двух или более меток"));
    connect(calibrate, &QToolButton::clicked, this, [this] {
        if (links_.ShowCalibration) RunCommand(platform_, this, links_.ShowCalibration);
    });
    row->addWidget(calibrate);
    row->addStretch(1);

    lblViewLabels_ = new QLabel(this);
    lblViewLabels_->setObjectName(QStringLiteral("lblViewLabels"));
    layout()->addWidget(lblViewLabels_);
    labelEditor_ = new TViewLabelEditor(document_, platform_, *this, *canvas_, *lblViewStatus_,
                                        links_.ColourMap);
    return bar;
}

void TFmRadargramView::ViewChanged() {
    if (use_.InUse()) return;
    const TRenderView& view = canvas_->View();
    const TRadargram& model = document_.Model();
    const bool shown = model.HasHeader() && model.SamplesIntact();
    const std::uint32_t traces = shown ? model.Header().TraceCount : 0;
    const std::uint32_t samples = shown ? model.Header().SampleCount : 0;
    SetBar(*sbViewTraces_, view.FirstTrace, view.TraceSpan, traces);
    SetBar(*sbViewSamples_, view.FirstSample, view.SampleSpan, samples);
    overview_->SetShown(view);
    if (!lblViewLabels_) return;
    if (!canvas_->MarksShown()) {
        lblViewLabels_->setText(
            QStringLiteral("Метки скрыты (всего %1)").arg(canvas_->LabelCount()));
        return;
    }
    lblViewLabels_->setText(QStringLiteral("Меток в видимой части: %1 из %2")
                                .arg(canvas_->VisibleLabelCount())
                                .arg(canvas_->LabelCount()));
}

}  // namespace trelvanox
