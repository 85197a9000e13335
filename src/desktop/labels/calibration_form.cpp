#include "desktop/labels/calibration_form.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include "desktop/document/gui_notices.h"
#include "desktop/labels/label_edit_apply.h"
#include "desktop/platform/command_dispatcher.h"
#include "desktop/platform/platform.h"
#include "labels/label_edits.h"
#include "labels/picket_text.h"
#include "labels/read_label_table.h"
#include "settings/settings.h"

namespace trelvanox {

namespace {

const QString kCaption = QStringLiteral("Пересчёт координат по меткам");

QString Text(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QTableWidgetItem* ReadOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

// "ПК12+35.5" for a chainage in mm, as an operator would type it.
QString PicketText(std::int64_t chainage, long double picketLength) {
    const long double metres = chainage / 1000.0L;
    const auto pickets = static_cast<long long>(metres / picketLength);
    const long double rest = metres - pickets * picketLength;
    return QStringLiteral("ПК%1+%2").arg(pickets).arg(static_cast<double>(rest), 0, 'f', 2);
}

}  // namespace

TFmCalibrateByLabels::TFmCalibrateByLabels(TDocumentContext& context, QWidget* parent)
    : TModelessDialog(parent), context_(context) {
    setObjectName(QStringLiteral("FmCalibrateByLabels"));
    setWindowTitle(kCaption);
    auto* layout = new QVBoxLayout(this);

    lblPicketHint_ = new QLabel(this);
    lblPicketHint_->setWordWrap(true);
    layout->addWidget(lblPicketHint_);

    table_ = new QTableWidget(0, ColCount, this);
    table_->setObjectName(QStringLiteral("sgCalibrationLabels"));
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("№ п/п"), QStringLiteral("№ трассы"), QStringLiteral("Подпись метки"),
         QStringLiteral("ПК+ сейчас"), QStringLiteral("Истинный пикет")});
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    for (const auto& [column, width] :
         {std::pair{ColNumber, 50}, {ColTrace, 80}, {ColText, 230}, {ColChainage, 100}})
        table_->setColumnWidth(column, width);
    layout->addWidget(table_, 1);
    connect(table_, &QTableWidget::cellChanged, this, [this](int row, int column) {
        if (filling_ || column != ColTruePicket) return;
        const quint32 trace = table_->item(row, ColTrace)->text().toUInt();
        typed_[trace] = table_->item(row, ColTruePicket)->text();
        UpdatePreview();
    });

    chkSetStart_ = new QCheckBox(QStringLiteral("Начальный пикет по первой трассе"), this);
    chkSetStart_->setObjectName(QStringLiteral("chkSetStartPicket"));
    chkSetStart_->setToolTip(
        QStringLiteral("Записать в заголовок пикет трассы 0, чтобы её координата стала 0"));
    connect(chkSetStart_, &QCheckBox::toggled, this, [this] { UpdatePreview(); });
    layout->addWidget(chkSetStart_);

    lblPreview_ = new QLabel(this);
    lblPreview_->setObjectName(QStringLiteral("lblCalibrationPreview"));
    lblPreview_->setWordWrap(true);
    layout->addWidget(lblPreview_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnCalibrate_ = new QPushButton(QStringLiteral("Пересчитать"), this);
    btnCalibrate_->setObjectName(QStringLiteral("btnCalibrate"));
    connect(btnCalibrate_, &QPushButton::clicked, this,
            [this] { RunCommand(context_.Platform, this, [this] { btnCalibrateClick(); }); });
    buttons->addWidget(btnCalibrate_);
    auto* close = new QPushButton(QStringLiteral("Закрыть"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(640, 480);

    // The document outlives the dialog; the guard covers a dialog destroyed before it.
    context_.Document.Subscribe(
        OnGuiThread([dialog = QPointer<TFmCalibrateByLabels>(this)](TDocumentChange change) {
            if (dialog && dialog->isVisible() && change == TDocumentChange::Read)
                dialog->FillTable();
        }));
}

void TFmCalibrateByLabels::showEvent(QShowEvent* event) {
    TModelessDialog::showEvent(event);
    FillTable();
}

void TFmCalibrateByLabels::FillTable() {
    const TRadargram& model = context_.Document.Model();
    if (context_.Document.Path() != typedFor_) {
        typed_.clear();
        typedFor_ = context_.Document.Path();
    }
    long double picketLength = 100;
    try {
        picketLength = PicketLength(context_.Settings.BasePKm);
    } catch (const TPicketTextError&) {
        // The preview says so; the labels are listed all the same.
    }
    lblPicketHint_->setText(
        QStringLiteral("Введите истинный пикет хотя бы двух меток: «ПК12+35», «12+35» или метры "
                       "«1235.5». Длина пикета %1 м (настройка «База ПК, м»).")
            .arg(static_cast<double>(picketLength)));

    filling_ = true;
    const std::vector<TReadLabelRow> rows = ReadLabelRows(model);
    table_->setRowCount(static_cast<int>(rows.size()));
    const std::int64_t start = model.HasHeader() ? model.Header().StartCoordinate : 0;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const TReadLabelRow& row = rows[static_cast<std::size_t>(i)];
        table_->setItem(i, ColNumber, ReadOnlyItem(QString::number(i + 1)));
        table_->setItem(i, ColTrace, ReadOnlyItem(QString::number(row.Trace)));
        table_->setItem(i, ColText, ReadOnlyItem(Text(row.Text.value_or(""))));
        table_->setItem(i, ColChainage, ReadOnlyItem(Text(ChainageText(row.Coordinate, start))));
        QString truePicket = typed_.value(row.Trace);
        if (!typed_.contains(row.Trace) && row.Text) {
            if (const auto picket = PicketOfLabelText(*row.Text, picketLength))
                truePicket = PicketText(*picket, picketLength);
        }
        table_->setItem(i, ColTruePicket, new QTableWidgetItem(truePicket));
    }
    filling_ = false;
    UpdatePreview();
}

TCalibrationPlan TFmCalibrateByLabels::Plan() const {
    const long double picketLength = PicketLength(context_.Settings.BasePKm);
    std::vector<TCalibrationAnchor> anchors;
    for (int i = 0; i < table_->rowCount(); ++i) {
        const QString text = table_->item(i, ColTruePicket)->text().trimmed();
        if (text.isEmpty()) continue;
        anchors.push_back({table_->item(i, ColTrace)->text().toUInt(),
                           ParseChainage(text.toStdString(), picketLength)});
    }
    return PlanCalibration(context_.Document.Model(), std::move(anchors),
                           chkSetStart_->isChecked());
}

void TFmCalibrateByLabels::UpdatePreview() {
    try {
        const TCalibrationPlan plan = Plan();
        QStringList lines;
        for (std::size_t i = 0; i < plan.StepsCm.size(); ++i)
            lines << QStringLiteral("Трассы %1–%2: шаг %3 см на трассу")
                         .arg(plan.Anchors[i].Trace)
                         .arg(plan.Anchors[i + 1].Trace)
                         .arg(plan.StepsCm[i], 0, 'f', 3);
        lblPreview_->setText(lines.join(QLatin1Char('\n')));
        btnCalibrate_->setEnabled(true);
    } catch (const TProgramError& refusal) {
        lblPreview_->setText(QString::fromUtf8(refusal.what()));
        btnCalibrate_->setEnabled(false);
    }
}

void TFmCalibrateByLabels::btnCalibrateClick() {
    const bool changed =
        ApplyModelEdit(context_.Document, context_.Platform, this, kCaption,
                       [this] { return CalibrationEdit(context_.Document.Model(), Plan()); });
    if (changed)
        context_.Platform.MessageBox(this, QStringLiteral("Координаты трасс пересчитаны."),
                                     kCaption, TMsgButtons::Ok, TMsgIcon::Information);
}

}  // namespace trelvanox
