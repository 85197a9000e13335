#include "desktop/view/processing_panel.h"

#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "processing/step_registry.h"

namespace trelvanox {

namespace {

// Item data: the step's name (the kind's) and its value.
constexpr int kKindRole = Qt::UserRole;
constexpr int kValueRole = Qt::UserRole + 1;
constexpr int kProgressSteps = 1000;

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const TStepKind* KindOf(const QListWidgetItem* item) {
    return FindProcessingStep(item->data(kKindRole).toString().toStdString());
}

// "Удаление дрейфа (dewow): 15"; the value's caption with its unit is the tool tip and the
// label of the value's box.
QString ItemText(const TStepKind& kind, double value) {
    QString text = Text(kind.Title);
    if (kind.Value != TValueKind::None) text += QStringLiteral(": ") + Text(ValueText(kind, value));
    return text;
}

bool IsOdd(const TStepKind& kind) {
    return kind.Value == TValueKind::Odd || kind.Value == TValueKind::OddOrZero;
}

}  // namespace

double StepValueFor(const TStepKind& kind, double value, double previous) {
    const double low = kind.Value == TValueKind::OddOrZero ? 0.0 : kind.Minimum;
    if (kind.Value != TValueKind::Real) value = std::round(value);
    value = std::clamp(value, low, kind.Maximum);
    if (!IsOdd(kind) || std::fmod(value, 2.0) != 0) return value;
    if (kind.Value == TValueKind::OddOrZero && value == 0) return value;
    const double odd = value + (value >= previous ? 1.0 : -1.0);
    if (odd > kind.Maximum) return value - 1;
    if (odd < kind.Minimum) return kind.Value == TValueKind::OddOrZero ? 0.0 : value + 1;
    return odd;
}

TProcessingPanel::TProcessingPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pnlViewProcessing"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* box = new QGroupBox(QStringLiteral("Обработка"), this);
    outer->addWidget(box);
    auto* layout = new QVBoxLayout(box);

    lstSteps_ = new QListWidget(box);
    lstSteps_->setObjectName(QStringLiteral("lstProcessingSteps"));
    lstSteps_->setDragDropMode(QAbstractItemView::InternalMove);
    lstSteps_->setDefaultDropAction(Qt::MoveAction);
    lstSteps_->setToolTip(
        QStringLiteral("Шаги выполняются сверху вниз; порядок меняется перетаскиванием. "
                       "Файл не меняется."));
    layout->addWidget(lstSteps_, 1);

    lblValue_ = new QLabel(box);
    lblValue_->setObjectName(QStringLiteral("lblStepValue"));
    layout->addWidget(lblValue_);
    seValue_ = new QDoubleSpinBox(box);
    seValue_->setObjectName(QStringLiteral("seStepValue"));
    seValue_->setKeyboardTracking(false);
    layout->addWidget(seValue_);

    auto* buttons = new QHBoxLayout;
    btnDefaults_ = new QPushButton(QStringLiteral("По умолчанию"), box);
    btnDefaults_->setObjectName(QStringLiteral("btnProcessingDefaults"));
    btnApply_ = new QPushButton(QStringLiteral("Применить к файлу"), box);
    btnApply_->setObjectName(QStringLiteral("btnApplyProcessing"));
    btnApply_->setToolTip(QStringLiteral(
        "Записать включённые шаги в отсчёты радарограммы (одним шагом, который можно отменить)"));
    buttons->addWidget(btnDefaults_);
    buttons->addWidget(btnApply_);
    layout->addLayout(buttons);
    btnExport_ = new QPushButton(QStringLiteral("Экспорт в SEG-Y"), box);
    btnExport_->setObjectName(QStringLiteral("btnExportProcessedSegy"));
    btnExport_->setToolTip(QStringLiteral(
        "Записать профиль с включёнными шагами в файл SEG-Y; радарограмма не меняется"));
    layout->addWidget(btnExport_);

    pbProgress_ = new QProgressBar(box);
    pbProgress_->setObjectName(QStringLiteral("pbProcessing"));
    pbProgress_->setRange(0, kProgressSteps);
    pbProgress_->setTextVisible(false);
    pbProgress_->setVisible(false);
    layout->addWidget(pbProgress_);
    lblProblem_ = new QLabel(box);
    lblProblem_->setObjectName(QStringLiteral("lblProcessingProblem"));
    lblProblem_->setWordWrap(true);
    lblProblem_->setStyleSheet(QStringLiteral("color: #b00000"));
    lblProblem_->setVisible(false);
    layout->addWidget(lblProblem_);

    connect(lstSteps_, &QListWidget::currentItemChanged, this, [this] { CurrentChanged(); });
    connect(lstSteps_, &QListWidget::itemChanged, this, [this] {
        if (!quiet_) emit ChainEdited();
    });
    connect(lstSteps_->model(), &QAbstractItemModel::rowsMoved, this, [this] {
        if (!quiet_) emit ChainEdited();
    });
    connect(seValue_, &QDoubleSpinBox::valueChanged, this, [this](double v) { ValueTyped(v); });
    connect(btnDefaults_, &QPushButton::clicked, this, [this] {
        SetChain(defaults_);
        emit ChainEdited();
    });
    connect(btnApply_, &QPushButton::clicked, this, [this] { emit ApplyRequested(); });
    connect(btnExport_, &QPushButton::clicked, this, [this] { emit ExportRequested(); });
    CurrentChanged();
}

QListWidgetItem* TProcessingPanel::AddStep(const TChainStep& step) {
    auto* item = new QListWidgetItem(lstSteps_);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                   Qt::ItemIsDragEnabled);
    item->setData(kKindRole, Text(step.Kind->Name));
    item->setData(kValueRole, step.Value);
    item->setCheckState(step.On ? Qt::Checked : Qt::Unchecked);
    ShowItem(item);
    return item;
}

void TProcessingPanel::ShowItem(QListWidgetItem* item) {
    const TStepKind* kind = KindOf(item);
    item->setText(ItemText(*kind, item->data(kValueRole).toDouble()));
    item->setToolTip(kind->Value == TValueKind::None
                         ? Text(kind->Name)
                         : Text(kind->Name) + QStringLiteral(": ") + Text(kind->ValueCaption));
}

void TProcessingPanel::SetChain(const TProcessingChain& chain) {
    const int row = std::max(lstSteps_->currentRow(), 0);
    quiet_ = true;
    lstSteps_->clear();
    for (const TChainStep& step : chain) AddStep(step);
    lstSteps_->setCurrentRow(std::min(row, lstSteps_->count() - 1));
    quiet_ = false;
    CurrentChanged();
}

TProcessingChain TProcessingPanel::Chain() const {
    TProcessingChain chain;
    for (int row = 0; row < lstSteps_->count(); ++row) {
        const QListWidgetItem* item = lstSteps_->item(row);
        chain.push_back(
            {KindOf(item), item->data(kValueRole).toDouble(), item->checkState() == Qt::Checked});
    }
    return chain;
}

void TProcessingPanel::CurrentChanged() {
    const QListWidgetItem* item = lstSteps_->currentItem();
    const TStepKind* kind = item ? KindOf(item) : nullptr;
    const bool valued = kind && kind->Value != TValueKind::None;
    const bool wasQuiet = quiet_;
    quiet_ = true;
    if (valued) {
        lblValue_->setText(Text(kind->ValueCaption) + QStringLiteral(":"));
        seValue_->setDecimals(kind->Value == TValueKind::Real ? kind->Decimals : 0);
        seValue_->setRange(kind->Value == TValueKind::OddOrZero ? 0.0 : kind->Minimum,
                           kind->Maximum);
        seValue_->setSingleStep(kind->Value == TValueKind::Real ? 0.1 : 1.0);
        seValue_->setValue(item->data(kValueRole).toDouble());
    } else {
        lblValue_->setText(kind ? QStringLiteral("Шаг без параметра") : QString());
        seValue_->clear();
    }
    seValue_->setEnabled(valued);
    quiet_ = wasQuiet;
}

void TProcessingPanel::ValueTyped(double value) {
    QListWidgetItem* item = lstSteps_->currentItem();
    if (quiet_ || !item) return;
    const TStepKind* kind = KindOf(item);
    const double previous = item->data(kValueRole).toDouble();
    const double corrected = StepValueFor(*kind, value, previous);
    if (corrected != value) {
        quiet_ = true;
        seValue_->setValue(corrected);
        quiet_ = false;
    }
    if (corrected == previous) return;
    quiet_ = true;
    item->setData(kValueRole, corrected);
    ShowItem(item);
    quiet_ = false;
    emit ChainEdited();
}

void TProcessingPanel::ShowProgress(std::optional<double> fraction) {
    pbProgress_->setVisible(fraction.has_value());
    if (fraction) pbProgress_->setValue(static_cast<int>(*fraction * kProgressSteps));
}

void TProcessingPanel::SetBusy(bool busy) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{lstSteps_, btnDefaults_, btnApply_, btnExport_})
        control->setEnabled(!busy);
    seValue_->setEnabled(!busy && lstSteps_->currentItem() &&
                         KindOf(lstSteps_->currentItem())->Value != TValueKind::None);
}

void TProcessingPanel::ShowProblem(const QString& text) {
    lblProblem_->setText(text);
    lblProblem_->setVisible(!text.isEmpty());
}

}  // namespace trelvanox
