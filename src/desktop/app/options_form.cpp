#include "desktop/app/options_form.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "desktop/app/options_boxes.h"
#include "desktop/app/options_check_box.h"

namespace trelvanox {

namespace {

constexpr int kIndentStep = 20;

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A drop-down list that also takes free text.
QComboBox* DropDown(const char* name, const QStringList& items, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    return box;
}

QLineEdit* Edit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QCheckBox* CheckBox(const QString& name, const QString& caption, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

void AddIndented(QVBoxLayout* layout, QWidget* widget, int indent) {
    auto* row = new QHBoxLayout;
    row->addSpacing(indent * kIndentStep);
    row->addWidget(widget);
    row->addStretch(1);
    layout->addLayout(row);
}

}  // namespace

TFmOptions::TFmOptions(QWidget* parent) : TModelessDialog(parent) {
    setObjectName(QStringLiteral("FmOptions"));
    setWindowTitle(QStringLiteral("Настройка"));

    pages_ = new QTabWidget(this);
    pages_->addTab(BuildGeneralPage(), QStringLiteral("Общие"));
    pages_->addTab(BuildTablePage(readTableBoxes_, true),
                   QStringLiteral("Таблица прочитанных меток"));
    pages_->addTab(BuildTablePage(importTableBoxes_, false),
                   QStringLiteral("Таблица импортированных меток"));
    pages_->addTab(BuildEditingPage(), QStringLiteral("Редактирование"));

    btnOK_ = new QPushButton(QStringLiteral("Применить"), this);
    btnOK_->setObjectName(QStringLiteral("btnOK"));
    btnOK_->setAutoDefault(false);  // Enter in a field saves nothing
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(btnOK_);
    layout->addLayout(bottom);
    resize(916, 639);

    ShowAllSettings();
    ConnectSettings();
}

QWidget* TFmOptions::BuildGeneralPage() {
    auto* page = new QWidget;
    page->setMinimumSize(500, 500);
    cmbFormatSourceFile_ =
        DropDown("cmbFormatSourceFile", {QStringLiteral("GPR"), QStringLiteral("GPR2")}, page);
    comboBox1_ = DropDown("ComboBox1",
                          {QStringLiteral("точка ( . )"), QStringLiteral("запятая ( , )")}, page);
    comboBox1_->setCurrentIndex(0);
    cmbDelimiter_ = DropDown(
        "cmbDelimiter",
        {QStringLiteral("знак табуляции \"TAB\""), QStringLiteral("точка с запятой \" ; \""),
         QStringLiteral("запятая \" , \""), QStringLiteral("пробел \" SPACE \"")},
        page);
    txtOperator_ = Edit("txtOperator", page);
    txtBasePKm_ = Edit("txtBasePKm", page);
    seHistoryLimit_ = new QSpinBox(page);
    seHistoryLimit_->setObjectName(QStringLiteral("seHistoryLimit"));
    seHistoryLimit_->setRange(0, 1048576);
    seHistoryLimit_->setSingleStep(256);
    seHistoryLimit_->setSuffix(QStringLiteral(" МБ"));
    seHistoryLimit_->setToolTip(QStringLiteral(
        "Сколько места на диске может занять история изменений одного файла радарограммы; "
        "самые старые изменения удаляются первыми"));

    cmbExportEncoding_ = DropDown(
        "cmbExportEncoding",
        {QStringLiteral("Windows-1251 (как раньше)"), QStringLiteral("UTF-8 (все символы)")}, page);
    cmbExportEncoding_->setCurrentIndex(0);
    cmbExportEncoding_->setToolTip(
        QStringLiteral("Кодировка файла \"Экспорт таблицы\". Импорт распознаёт обе кодировки сам"));

    auto* fields = new QGridLayout;
    const std::pair<QString, QWidget*> rows[] = {
        {QStringLiteral("Формат файла радарограмм"), cmbFormatSourceFile_},
        {QStringLiteral("Разделитель целой и дробной части"), comboBox1_},
        {QStringLiteral("Разделитель импортируемой таблицы"), cmbDelimiter_},
        {QStringLiteral("Оператор"), txtOperator_},
        {QStringLiteral("База ПК, м"), txtBasePKm_},
        {QStringLiteral("Объём истории изменений"), seHistoryLimit_},
        {QStringLiteral("Кодировка экспорта таблицы"), cmbExportEncoding_},
    };
    int row = 0;
    for (const auto& [caption, control] : rows) {
        auto* label = new QLabel(caption, page);
        label->setBuddy(control);
        control->setMinimumWidth(250);
        fields->addWidget(label, row, 0);
        fields->addWidget(control, row, 1);
        ++row;
    }
    // The three labelled description fields, caption above the field.
    const QString captions[] = {QStringLiteral("Описание №1"), QStringLiteral("Описание №2"),
                                QStringLiteral("Описание №3")};
    const QString texts[] = {QStringLiteral("Путь"), QStringLiteral("Вид работ"),
                             QStringLiteral("Позиционирующее устройство")};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(captions[i], page);
        auto* edit = new QLineEdit(texts[i], page);
        edit->setObjectName(QStringLiteral("ltxtNameCommentary%1").arg(i + 1));
        label->setBuddy(edit);
        ltxtNameCommentary_[i] = edit;
        fields->addWidget(label, row++, 0, 1, 2);
        fields->addWidget(edit, row++, 0, 1, 2);
    }
    fields->setColumnStretch(2, 1);

    btnSaveOptions_ = new QPushButton(QStringLiteral("Сохранить"), page);
    btnSaveOptions_->setObjectName(QStringLiteral("btnSaveOptions"));
    btnSaveOptions_->setAutoDefault(false);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(fields);
    layout->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(btnSaveOptions_);
    layout->addLayout(bottom);
    return page;
}

QWidget* TFmOptions::BuildTablePage(std::array<QCheckBox*, kTableOptionCount>& boxes,
                                    bool readTable) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    for (int i = 0; i < kTableOptionCount; ++i) {
        const TTableOptionBox& entry = kTableOptionBoxes[i];
        auto* box = new TWrapCheckBox(Text(entry.Caption), page);
        box->setObjectName(readTable ? QString::fromLatin1(entry.Name)
                                     : QStringLiteral("CheckBox%1").arg(i + 1));
        box->setChecked(entry.Ticked);
        boxes[i] = box;
        layout->addWidget(box);
    }
    layout->addStretch(1);
    return page;
}

QWidget* TFmOptions::BuildEditingPage() {
    auto* page = new QWidget;
    auto* header = new QGroupBox(QStringLiteral("Редактирование заголовка"), page);
    auto* headerLayout = new QVBoxLayout(header);
    chkChangeAllInHeader_ = CheckBox(QStringLiteral("chkChangeAllInHeader"),
                                     QStringLiteral("Редактировать все"), header);
    AddIndented(headerLayout, chkChangeAllInHeader_, 0);
    for (int i = 0; i < HeaderFieldCount; ++i) {
        const THeaderScopeBox& entry = kHeaderScopeBoxes[i];
        headerBoxes_[i] = CheckBox(QString::fromLatin1(entry.Name), Text(entry.Caption), header);
        AddIndented(headerLayout, headerBoxes_[i], entry.Indent);
    }

    auto* labels = new QGroupBox(QStringLiteral("Редактирование меток"), page);
    auto* labelsLayout = new QVBoxLayout(labels);
    chkChangeAllInLabels_ = CheckBox(QStringLiteral("chkChangeAllInLabels"),
                                     QStringLiteral("Редактировать все"), labels);
    AddIndented(labelsLayout, chkChangeAllInLabels_, 0);
    for (int i = 0; i < kLabelScopeCount; ++i) {
        const TLabelScopeBox& entry = kLabelScopeBoxes[i];
        labelBoxes_[i] = CheckBox(QString::fromLatin1(entry.Name), Text(entry.Caption), labels);
        AddIndented(labelsLayout, labelBoxes_[i], 1);
    }

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(header);
    layout->addWidget(labels);
    layout->addStretch(1);
    return page;
}

}  // namespace trelvanox
