#include "desktop/header/header_edit_page.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace trelvanox {

namespace {

// A control with its caption above it.
QWidget* Captioned(const QString& caption, QWidget* control, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* label = new QLabel(caption, box);
    label->setBuddy(control);
    layout->addWidget(label);
    control->setParent(box);
    layout->addWidget(control);
    return box;
}

QLineEdit* NamedEdit(const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

// An editable combo box offering ready-made descriptions; it starts empty, any text may be typed.
QComboBox* DescriptionBox(const char* name, const QStringList& entries) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(entries);
    box->setCurrentIndex(-1);
    box->setEditText(QString());
    return box;
}

}  // namespace

THeaderEditPage::THeaderEditPage(QWidget* parent) : QWidget(parent) {
    txtOperator_ = NamedEdit("txtOperator");
    txtObject_ = NamedEdit("txtObject");
    cmbCommentary_[0] = DescriptionBox(
        "cmbCommentary1",
        {QStringLiteral("первый путь (ось)"), QStringLiteral("первый путь (влево)"),
         QStringLiteral("первый путь (вправо)"), QStringLiteral("второй путь (ось)"),
         QStringLiteral("второй путь (влево)"), QStringLiteral("второй путь (вправо)"),
         QStringLiteral("четный путь (ось)"), QStringLiteral("четный путь (влево)"),
         QStringLiteral("четный путь (вправо)"), QStringLiteral("нечетный путь (ось)"),
         QStringLiteral("нечетный путь (влево)"), QStringLiteral("нечетный путь (вправо)"),
         QStringLiteral("междупутье")});
    cmbCommentary_[1] =
        DescriptionBox("cmbCommentary2", {QStringLiteral("балласт"), QStringLiteral("УДЗП")});
    cmbCommentary_[2] = DescriptionBox(
        "cmbCommentary3", {QStringLiteral("ДП32 (22 / 32)"), QStringLiteral("ИП (10/16)"),
                           QStringLiteral("непрерывный")});
    txtPK_ = NamedEdit("txtPK");
    txtEpsilon_ = NamedEdit("txtEpsilon");
    // The permittivity's edit scope is off until the user turns it on.
    txtEpsilon_->setEnabled(false);
    btnChangeHeaderSets_ = new QPushButton(QStringLiteral("Применить"));
    btnChangeHeaderSets_->setObjectName(QStringLiteral("btnChangeHeaderSets"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Captioned(QStringLiteral("Оператор"), txtOperator_, this));
    layout->addWidget(Captioned(QStringLiteral("Объект"), txtObject_, this));
    layout->addWidget(Captioned(QStringLiteral("Описание №1"), cmbCommentary_[0], this));
    layout->addWidget(Captioned(QStringLiteral("Описание №2"), cmbCommentary_[1], this));
    layout->addWidget(Captioned(QStringLiteral("Описание №3"), cmbCommentary_[2], this));
    auto* numbers = new QHBoxLayout;
    numbers->addWidget(Captioned(QStringLiteral("Начальный пикет"), txtPK_, this));
    numbers->addWidget(
        Captioned(QStringLiteral("Диэлектрическая  проницаемость"), txtEpsilon_, this));
    layout->addLayout(numbers);
    layout->addWidget(btnChangeHeaderSets_, 0, Qt::AlignLeft);
    layout->addStretch(1);
}

}  // namespace trelvanox
