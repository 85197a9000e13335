#include "desktop/app/about_form.h"

#include "desktop/app/notices_form.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace trelvanox {

namespace {

QFont AboutFont(int pointSize) {
    const QString tahoma = QStringLiteral("Tahoma");
    QFont font(QFontDatabase::hasFamily(tahoma)
                   ? tahoma
                   : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    font.setPointSize(pointSize);
    return font;
}

QLabel* MakeLabel(const QString& text, int pointSize, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(AboutFont(pointSize));
    return label;
}

}  // namespace

QPixmap EmblemPixmap() {
    constexpr int kSize = 33;
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // Dark ground with the surface line near the top.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1e, 0x2a, 0x44));
    p.drawRoundedRect(QRectF(0.5, 0.5, kSize - 1.0, kSize - 1.0), 4.0, 4.0);
    p.setPen(QPen(QColor(0xb0, 0x90, 0x60), 1.5));
    p.drawLine(QPointF(3.0, 10.5), QPointF(30.0, 10.5));
    // The antenna sled on the surface.
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1.0));
    p.setBrush(QColor(0xf0, 0xb0, 0x20));
    p.drawRoundedRect(QRectF(11.5, 4.5, 10.0, 5.5), 1.5, 1.5);
    // Nested reflection hyperbolas under it, apex at the buried object.
    p.setBrush(Qt::NoBrush);
    const QColor arcs[] = {QColor(0x60, 0xf0, 0x90), QColor(0x40, 0xc0, 0x70),
                           QColor(0x30, 0x90, 0x58)};
    for (int i = 0; i < 3; ++i) {
        const double apex = 16.0 + 4.0 * i;
        QPainterPath path;
        for (int x = 3; x <= 30; ++x) {
            const double dx = (x - 16.5) / 6.0;
            const double y = apex + 6.0 * (std::sqrt(1.0 + dx * dx) - 1.0);
            if (x == 3)
                path.moveTo(x, y);
            else
                path.lineTo(x, y);
        }
        p.setPen(QPen(arcs[i], 1.6));
        p.drawPath(path);
    }
    return pixmap;
}

TFmAbout::TFmAbout(const QString& compileDateText, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FmAbout"));
    setWindowTitle(QStringLiteral("О программе"));
    setModal(true);

    auto* emblem = new QLabel(this);
    emblem->setPixmap(EmblemPixmap());
    emblem->setFixedSize(33, 33);

    auto* name = MakeLabel(QStringLiteral("Trelvanox"), 20, this);
    auto* versionCaption = MakeLabel(QStringLiteral("Версия:"), 12, this);
    auto* version = MakeLabel(QStringLiteral("v.2"), 20, this);
    auto* dateCaption = MakeLabel(QStringLiteral("Дата компиляции:"), 12, this);
    lblCompileData_ = MakeLabel(compileDateText, 12, this);
    lblCompileData_->setObjectName(QStringLiteral("lblCompileData"));
    // __DATE__ pads a one-digit day with a blank; keep it visible as such.
    lblCompileData_->setTextFormat(Qt::PlainText);
    auto* author = MakeLabel(QStringLiteral("Разработка: команда Trelvanox"), 12, this);
    auto* contact = MakeLabel(QStringLiteral("Связь: через системного администратора"), 12, this);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    // The licence of the program and of the libraries it links, which a user of the Windows
    // packages has nowhere else in the program.
    auto* notices = new QPushButton(QStringLiteral("Лицензии…"), this);
    notices->setObjectName(QStringLiteral("btnNotices"));
    notices->setAutoDefault(false);
    connect(notices, &QPushButton::clicked, this, [this] {
        TFmNotices dialog(this);
        dialog.exec();
    });

    auto* versionBox = new QVBoxLayout;
    versionBox->addWidget(versionCaption);
    versionBox->addWidget(version);

    auto* top = new QHBoxLayout;
    top->addWidget(emblem, 0, Qt::AlignVCenter);
    top->addWidget(name, 0, Qt::AlignVCenter);
    top->addStretch(1);
    top->addSpacing(24);
    top->addLayout(versionBox);

    auto* date = new QHBoxLayout;
    date->addWidget(dateCaption);
    date->addWidget(lblCompileData_);
    date->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addStretch(1);
    buttons->addWidget(notices);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(date);
    layout->addWidget(author);
    layout->addWidget(contact);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace trelvanox
