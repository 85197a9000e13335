#include "desktop/document/history_form.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace trelvanox {

namespace {

QString SizeText(std::uint64_t bytes) {
    if (bytes < 1024) return QStringLiteral("%1 байт").arg(bytes);
    if (bytes < 1048576) return QStringLiteral("%1 КБ").arg((bytes + 1023) / 1024);
    return QStringLiteral("%1 МБ").arg((bytes + 1048575) / 1048576);
}

}  // namespace

TFmHistory::TFmHistory(QWidget* parent) : TModelessDialog(parent) {
    setObjectName(QStringLiteral("FmHistory"));
    setWindowTitle(QStringLiteral("История изменений"));
    resize(560, 320);
    auto* layout = new QVBoxLayout(this);
    table_ = new QTableWidget(0, 4, this);
    table_->setObjectName(QStringLiteral("lvHistory"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Изменение"), QStringLiteral("Время"),
                                       QStringLiteral("Журнал"), QStringLiteral("Состояние")});
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setToolTip(
        QStringLiteral("Двойной щелчок - вернуть файл к состоянию после этого шага"));
    connect(table_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { emit StepChosen(row); });
    layout->addWidget(table_);
    auto* close = new QPushButton(QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("btnClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    layout->addWidget(close, 0, Qt::AlignRight);
}

void TFmHistory::ShowEntries(const std::vector<THistoryEntry>& entries) {
    table_->setRowCount(static_cast<int>(entries.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        const THistoryEntry& entry = entries[static_cast<std::size_t>(row)];
        const QString when = QDateTime::fromSecsSinceEpoch(entry.Time)
                                 .toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
        const QString cells[] = {
            QString::fromStdString(entry.Description), when, SizeText(entry.BytesKept),
            entry.Applied ? QStringLiteral("в файле") : QStringLiteral("отменено")};
        for (int col = 0; col < 4; ++col)
            table_->setItem(row, col, new QTableWidgetItem(cells[col]));
    }
}

}  // namespace trelvanox
