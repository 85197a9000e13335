#include "desktop/view/label_editor_popup.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace trelvanox {

namespace {

constexpr int kSwatchesPerRow = 7;

QColor QtColor(std::uint32_t color) {
    return QColor(color & 0xff, (color >> 8) & 0xff, (color >> 16) & 0xff);
}

std::uint32_t ColorValue(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) |
           (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

}  // namespace

std::optional<std::uint32_t> ParseColorValue(const QString& text) {
    const QString trimmed = text.trimmed();
    bool ok = false;
    qulonglong value = 0;
    if (trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = trimmed.mid(2).toULongLong(&ok, 16);
    else
        value = trimmed.toULongLong(&ok, 10);
    if (!ok || value > 0xFFFFFFFFull || trimmed.startsWith(QLatin1Char('+'))) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

TLabelEditorPopup::TLabelEditorPopup(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FmLabelEditor"));
    setWindowTitle(QStringLiteral("Метка"));
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    lblTitle_ = new QLabel(this);
    layout->addWidget(lblTitle_);

    layout->addWidget(new QLabel(QStringLiteral("Подпись метки"), this));
    txtText_ = new QLineEdit(this);
    txtText_->setObjectName(QStringLiteral("txtLabelText"));
    layout->addWidget(txtText_);

    layout->addWidget(new QLabel(QStringLiteral("Цвет метки"), this));
    auto* grid = new QGridLayout;
    swatches_ = new QButtonGroup(this);
    for (int i = 0; i < static_cast<int>(colours_.size()); ++i) {
        auto* swatch = new QToolButton(this);
        swatch->setObjectName(QStringLiteral("btnSwatch%1").arg(i + 1));
        swatch->setToolTip(QStringLiteral("Цвет %1 карты цветов").arg(i + 1));
        swatch->setFixedSize(24, 24);
        grid->addWidget(swatch, i / kSwatchesPerRow, i % kSwatchesPerRow);
        swatches_->addButton(swatch, i);
    }
    connect(swatches_, &QButtonGroup::idClicked, this,
            [this](int i) { ShowColor(colours_[static_cast<std::size_t>(i)]); });
    layout->addLayout(grid);

    auto* other = new QHBoxLayout;
    other->addWidget(new QLabel(QStringLiteral("Значение"), this));
    txtColor_ = new QLineEdit(this);
    txtColor_->setObjectName(QStringLiteral("txtLabelColor"));
    txtColor_->setToolTip(QStringLiteral("Как в таблице меток, или 0xBBGGRR"));
    other->addWidget(txtColor_);
    auto* choose = new QPushButton(QStringLiteral("Другой цвет…"), this);
    choose->setObjectName(QStringLiteral("btnOtherColor"));
    connect(choose, &QPushButton::clicked, this, [this] {
        const QColor start = QtColor(Color().value_or(0));
        const QColor chosen = QColorDialog::getColor(start, this, QStringLiteral("Цвет метки"));
        if (chosen.isValid()) ShowColor(ColorValue(chosen));
    });
    other->addWidget(choose);
    layout->addLayout(other);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void TLabelEditorPopup::Start(const QString& title, const QString& text, std::uint32_t color,
                              const TColourMap& colours) {
    colours_ = colours;
    for (int i = 0; i < static_cast<int>(colours_.size()); ++i) {
        const QColor c = QtColor(colours_[static_cast<std::size_t>(i)]);
        swatches_->button(i)->setStyleSheet(
            QStringLiteral("background-color: %1; border: 1px solid gray;").arg(c.name()));
    }
    lblTitle_->setText(title);
    txtText_->setText(text);
    ShowColor(color);
    txtText_->setFocus();
    txtText_->selectAll();
    open();
}

QString TLabelEditorPopup::LabelText() const {
    return txtText_->text();
}

std::optional<std::uint32_t> TLabelEditorPopup::Color() const {
    return ParseColorValue(txtColor_->text());
}

void TLabelEditorPopup::ShowColor(std::uint32_t color) {
    txtColor_->setText(QString::number(color));
}

}  // namespace trelvanox
