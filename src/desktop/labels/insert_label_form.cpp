#include "desktop/labels/insert_label_form.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace trelvanox {

namespace {

QCheckBox* NamedCheckBox(const char* name, const QString& caption, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

}  // namespace

TFmInsertLabel::TFmInsertLabel(QWidget* parent) : TModelessDialog(parent) {
    setObjectName(QStringLiteral("FmInsertLabel"));
    setWindowTitle(QStringLiteral("Вставка метки"));
    resize(239, 154);

    chkInsertFirstLabel_ = NamedCheckBox("chkInsertFirstLabel",
                                         QStringLiteral("Вставить метку на первой трассе"), this);
    chkInsertLastLabel_ = NamedCheckBox("chkInsertLastLabel",
                                        QStringLiteral("Вставить метку на последней трассе"), this);
    chkInsertPointedLabel_ = NamedCheckBox(
        "chkInsertPointedLabel", QStringLiteral("Вставить метку на произвольной трассе"), this);
    auto* numberCaption = new QLabel(QStringLiteral("Номер трассы для вставки метки"), this);
    txtNamberInsertLabel_ = new QLineEdit(QStringLiteral("0"), this);
    txtNamberInsertLabel_->setObjectName(QStringLiteral("txtNamberInsertLabel"));
    numberCaption->setBuddy(txtNamberInsertLabel_);
    bbtnInsertLabel_ = new QPushButton(QStringLiteral("Вставить"), this);
    bbtnInsertLabel_->setObjectName(QStringLiteral("bbtnInsertLabel"));
    bbtnInsertLabel_->setToolTip(QStringLiteral("Вставка меток на указанных трассах"));
    connect(bbtnInsertLabel_, &QPushButton::clicked, this, &TFmInsertLabel::InsertRequested);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(2);
    layout->addWidget(chkInsertFirstLabel_);
    layout->addWidget(chkInsertLastLabel_);
    layout->addWidget(chkInsertPointedLabel_);
    layout->addWidget(numberCaption);
    layout->addWidget(txtNamberInsertLabel_);
    layout->addWidget(bbtnInsertLabel_, 0, Qt::AlignRight);
}

}  // namespace trelvanox
