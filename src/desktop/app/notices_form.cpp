#include "desktop/app/notices_form.h"

#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

// The notices live in a static library, whose unreferenced parts the linker drops; this
// reference keeps them. Resource initialisers are declared outside any namespace.
static void InitNoticesResource() {
    Q_INIT_RESOURCE(notices);
}

namespace trelvanox {

QString ThirdPartyNotices() {
    InitNoticesResource();
    QFile file(QStringLiteral(":/notices/THIRD-PARTY-NOTICES.txt"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

TFmNotices::TFmNotices(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FmNotices"));
    setWindowTitle(QStringLiteral("Лицензии"));
    setModal(true);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("txtNotices"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The notices are laid out in columns of a fixed-width font.
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setPlainText(ThirdPartyNotices());
    text_->setMinimumSize(720, 420);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addLayout(buttons);
}

}  // namespace trelvanox
