#include "app/options_form.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <utility>

#include "app/command_set.h"
#include "app/main_form.h"
#include "app/options_check_box.h"
#include "header/header_edit_page.h"
#include "widgets/string_grid_view.h"

namespace trelvanox {

namespace {

constexpr int kIndentStep = 20;

// A box of pages 1 and 2 and the table option that it sets. Page 2 names its boxes CheckBox1 to
// CheckBox15 in the same order.
struct TTableOptionBox {
    const char* Name;
    const char* Caption;
    TGridOption Option;
    bool Ticked;
};

constexpr TTableOptionBox kTableOptionBoxes[TFmOptions::kTableOptionCount] = {
    {"chkFixedVertLine", "  наличие вертикальных разделительных линий между закрепленными ячейками",
     TGridOption::FixedVertLine, true},
    {"chkFixedHorzLine",
     "  наличие горизонтальных разделительных линий между закрепленными ячейками",
     TGridOption::FixedHorzLine, true},
    {"chkVertLine", "  наличие вертикальных разделительных линий между незакрепленными ячейками",
     TGridOption::VertLine, true},
    {"chkHorzLine", "  наличие горизонтальных разделительных линий между незакрепленными ячейками",
     TGridOption::HorzLine, true},
    {"chkRangeSelect", "  возможность выделить диапазон ячеек", TGridOption::RangeSelect, true},
    {"chkDrawFocusSelected", "  закрашивание ячейки с фокусом ввода",
     TGridOption::DrawFocusSelected, true},
    {"chkRowSizing", "  возможность менять  высоту строк мышкой", TGridOption::RowSizing, true},
    {"chkColSizing", "  возможность менять ширину столбцов мышкой", TGridOption::ColSizing, true},
    {"chkRowMoving", "  возможность перетаскивания строки мышкой", TGridOption::RowMoving, true},
    {"chkColMoving", "  возможность перетаскивания столбца мышкой", TGridOption::ColMoving, true},
    {"chkEditing", "  возможность редактировать содержимое ячейки с клавиатуры",
     TGridOption::Editing, true},
    {"chkTabs",
     " во включенном положении фокус смещается на следующую ячейку в таблице, при выключенном - "
     "на следующий компонент",
     TGridOption::Tabs, true},
    {"chkRowSelect", "  при нажатии на ячейку выделяется вся строка", TGridOption::RowSelect,
     false},
    {"chkAlwaysShowEditor",
     " во включенном положении редактирование ячейки доступно сразу, при выключенном - "
     "редактирование возможно прсле щёлчка мышкой, нажатия клавищи Enter или F2(прим. : не "
     "действует при выделенной строке)",
     TGridOption::AlwaysShowEditor, true},
    {"chkThumbTracking",
     "  во включенном положении перемещение \"бегунка\" прокрутки  мышкой вызывает немедленное "
     "перемещение ячеек, \tв выключенном - ячейки перемещаются только при отпускании "
     "\"бегунка\"",
     TGridOption::ThumbTracking, true},
};

// A header edit-scope box: its setting and how far it is indented in its group.
struct THeaderScopeBox {
    const char* Name;
    const char* Caption;
    bool TSettings::*Flag;
    int Indent;
};

constexpr THeaderScopeBox kHeaderScopeBoxes[TFmOptions::HeaderFieldCount] = {
    {"chkChangeOperator", "Оператор", &TSettings::ChangeOperator, 1},
    {"chkChangeObject", "Объект", &TSettings::ChangeObject, 1},
    {"chkChangeCommentary1", "Описание №1", &TSettings::ChangeCommentary1, 2},
    {"chkChangeCommentary2", "Описание №2", &TSettings::ChangeCommentary2, 2},
    {"chkChangeCommentary3", "Описание №3", &TSettings::ChangeCommentary3, 2},
    {"chkChangePK", "Начальный пикет", &TSettings::ChangePK, 1},
    {"chkChangeEpsilon", "Диэлектрическая проницаемость", &TSettings::ChangeEpsilon, 1},
};

struct TLabelScopeBox {
    const char* Name;
    const char* Caption;
    bool TSettings::*Flag;
};

constexpr TLabelScopeBox kLabelScopeBoxes[TFmOptions::kLabelScopeCount] = {
    {"chkChangeLabelText", "Тексты меток", &TSettings::ChangeLabelText},
    {"chkChangeLabelCoord", "Координаты меток", &TSettings::ChangeLabelCoord},
    {"chkChangeLabelColor", "Цвета меток", &TSettings::ChangeLabelColor},
};

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

// Chooses item `index` of a list, or no item when the index is outside it; the edit part shows
// the chosen item's text even when that item was chosen already.
void ShowItem(QComboBox* box, int index) {
    if (index < 0 || index >= box->count()) index = -1;
    box->setCurrentIndex(index);
    box->setEditText(index < 0 ? QString() : box->itemText(index));
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

    auto* fields = new QGridLayout;
    const std::pair<QString, QWidget*> rows[] = {
        {QStringLiteral("Формат файла радарограмм"), cmbFormatSourceFile_},
        {QStringLiteral("Разделитель целой и дробной части"), comboBox1_},
        {QStringLiteral("Разделитель импортируемой таблицы"), cmbDelimiter_},
        {QStringLiteral("Оператор"), txtOperator_},
        {QStringLiteral("База ПК, м"), txtBasePKm_},
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
        const TTableOptionBox& spec = kTableOptionBoxes[i];
        auto* box = new TWrapCheckBox(Text(spec.Caption), page);
        box->setObjectName(readTable ? QString::fromLatin1(spec.Name)
                                     : QStringLiteral("CheckBox%1").arg(i + 1));
        box->setChecked(spec.Ticked);
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
        const THeaderScopeBox& spec = kHeaderScopeBoxes[i];
        headerBoxes_[i] = CheckBox(QString::fromLatin1(spec.Name), Text(spec.Caption), header);
        AddIndented(headerLayout, headerBoxes_[i], spec.Indent);
    }

    auto* labels = new QGroupBox(QStringLiteral("Редактирование меток"), page);
    auto* labelsLayout = new QVBoxLayout(labels);
    chkChangeAllInLabels_ = CheckBox(QStringLiteral("chkChangeAllInLabels"),
                                     QStringLiteral("Редактировать все"), labels);
    AddIndented(labelsLayout, chkChangeAllInLabels_, 0);
    for (int i = 0; i < kLabelScopeCount; ++i) {
        const TLabelScopeBox& spec = kLabelScopeBoxes[i];
        labelBoxes_[i] = CheckBox(QString::fromLatin1(spec.Name), Text(spec.Caption), labels);
        AddIndented(labelsLayout, labelBoxes_[i], 1);
    }

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(header);
    layout->addWidget(labels);
    layout->addStretch(1);
    return page;
}

void TFmOptions::ConnectSettings() {
    connect(cmbFormatSourceFile_, &QComboBox::currentIndexChanged, this,
            [this](int index) { settings_->FormatIndex = index; });
    connect(cmbDelimiter_, &QComboBox::currentIndexChanged, this,
            [this](int index) { settings_->DelimiterIndex = index; });
    connect(txtOperator_, &QLineEdit::textChanged, this,
            [this](const QString& text) { settings_->OperatorText = text.toStdString(); });
    connect(txtBasePKm_, &QLineEdit::textChanged, this,
            [this](const QString& text) { settings_->BasePKm = text.toStdString(); });

    using THandler = void (TFmOptions::*)();
    static constexpr THandler kHeaderHandlers[HeaderFieldCount] = {
        &TFmOptions::chkChangeOperatorClick,    &TFmOptions::chkChangeObjectClick,
        &TFmOptions::chkChangeCommentary1Click, &TFmOptions::chkChangeCommentary2Click,
        &TFmOptions::chkChangeCommentary3Click, &TFmOptions::chkChangePKClick,
        &TFmOptions::chkChangeEpsilonClick,
    };
    for (int i = 0; i < HeaderFieldCount; ++i)
        connect(headerBoxes_[i], &QCheckBox::toggled, this, [this, i](bool on) {
            settings_->*kHeaderScopeBoxes[i].Flag = on;
            (this->*kHeaderHandlers[i])();
        });
    connect(chkChangeAllInHeader_, &QCheckBox::toggled, this, [this](bool on) {
        settings_->ChangeAllInHeader = on;
        chkChangeAllInHeaderClick();
    });
    for (int i = 0; i < kLabelScopeCount; ++i)
        connect(labelBoxes_[i], &QCheckBox::toggled, this,
                [this, i](bool on) { settings_->*kLabelScopeBoxes[i].Flag = on; });
    connect(chkChangeAllInLabels_, &QCheckBox::toggled, this, [this](bool on) {
        settings_->ChangeAllInLabels = on;
        chkChangeAllInLabelsClick();
    });

    for (int i = 0; i < kTableOptionCount; ++i) {
        const TGridOption option = kTableOptionBoxes[i].Option;
        connect(readTableBoxes_[i], &QCheckBox::toggled, this, [this, option](bool on) {
            if (readTable_) readTable_->SetOption(option, on);
        });
        connect(importTableBoxes_[i], &QCheckBox::toggled, this, [this, option](bool on) {
            if (importTable_) importTable_->SetOption(option, on);
        });
    }

    connect(btnOK_, &QPushButton::clicked, this, &TFmOptions::btnOKClick);
    connect(btnSaveOptions_, &QPushButton::clicked, this, &TFmOptions::btnSaveOptionsClick);
}

void TFmOptions::Attach(TFmMainForm& form) {
    settings_ = &form.Settings();
    headerPage_ = form.HeaderEditPage();
    readTable_ = form.sgReadLabels();
    importTable_ = form.sgNewSetsLabels();
    saveCommand_ = form.Commands().Action(QStringLiteral("acnSaveOptions"));
    ShowAllSettings();
}

void TFmOptions::ShowAllSettings() {
    // The controls take the settings as they are; no rule runs, the fields only follow their
    // boxes' enabled state.
    const QSignalBlocker blockers[] = {
        QSignalBlocker(cmbFormatSourceFile_),  QSignalBlocker(cmbDelimiter_),
        QSignalBlocker(txtOperator_),          QSignalBlocker(txtBasePKm_),
        QSignalBlocker(chkChangeAllInHeader_), QSignalBlocker(chkChangeAllInLabels_)};
    ShowItem(cmbFormatSourceFile_, settings_->FormatIndex);
    settings_->FormatIndex = cmbFormatSourceFile_->currentIndex();
    ShowItem(cmbDelimiter_, settings_->DelimiterIndex);
    settings_->DelimiterIndex = cmbDelimiter_->currentIndex();
    txtOperator_->setText(QString::fromUtf8(settings_->OperatorText));
    txtBasePKm_->setText(QString::fromUtf8(settings_->BasePKm));
    chkChangeAllInHeader_->setChecked(settings_->ChangeAllInHeader);
    chkChangeAllInLabels_->setChecked(settings_->ChangeAllInLabels);
    for (int i = 0; i < HeaderFieldCount; ++i) {
        const QSignalBlocker blocker(headerBoxes_[i]);
        headerBoxes_[i]->setChecked(settings_->*kHeaderScopeBoxes[i].Flag);
        if (headerPage_) HeaderField(i)->setEnabled(headerBoxes_[i]->isChecked());
    }
    for (int i = 0; i < kLabelScopeCount; ++i) {
        const QSignalBlocker blocker(labelBoxes_[i]);
        labelBoxes_[i]->setChecked(settings_->*kLabelScopeBoxes[i].Flag);
    }
}

void TFmOptions::ShowLoadedSettings() {
    ShowItem(cmbFormatSourceFile_, settings_->FormatIndex);
    settings_->FormatIndex = cmbFormatSourceFile_->currentIndex();
    ShowItem(cmbDelimiter_, settings_->DelimiterIndex);
    settings_->DelimiterIndex = cmbDelimiter_->currentIndex();
    txtOperator_->setText(QString::fromUtf8(settings_->OperatorText));
}

void TFmOptions::ShowPage(int page) {
    ShowModeless();
    pages_->setCurrentIndex(page);
}

QWidget* TFmOptions::HeaderField(int field) const {
    switch (field) {
        case FieldOperator:
            return headerPage_->txtOperator();
        case FieldObject:
            return headerPage_->txtObject();
        case FieldCommentary1:
            return headerPage_->cmbCommentary1();
        case FieldCommentary2:
            return headerPage_->cmbCommentary2();
        case FieldCommentary3:
            return headerPage_->cmbCommentary3();
        case FieldPK:
            return headerPage_->txtPK();
        default:
            return headerPage_->txtEpsilon();
    }
}

void TFmOptions::btnOKClick() {
    if (saveCommand_) saveCommand_->trigger();
}

void TFmOptions::btnSaveOptionsClick() {
    if (saveCommand_) saveCommand_->trigger();
}

void TFmOptions::HeaderBoxRule(int field) {
    if (!headerPage_) return;
    QWidget* widget = HeaderField(field);
    const bool on = headerBoxes_[field]->isChecked();
    widget->setEnabled(on);
    if (on) return;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->clear();
    } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
        // The text goes, the list of items stays.
        list->setCurrentIndex(-1);
        list->clearEditText();
    }
}

void TFmOptions::chkChangeOperatorClick() {
    HeaderBoxRule(FieldOperator);
}
void TFmOptions::chkChangeObjectClick() {
    HeaderBoxRule(FieldObject);
}
void TFmOptions::chkChangeCommentary1Click() {
    HeaderBoxRule(FieldCommentary1);
}
void TFmOptions::chkChangeCommentary2Click() {
    HeaderBoxRule(FieldCommentary2);
}
void TFmOptions::chkChangeCommentary3Click() {
    HeaderBoxRule(FieldCommentary3);
}
void TFmOptions::chkChangePKClick() {
    HeaderBoxRule(FieldPK);
}
void TFmOptions::chkChangeEpsilonClick() {
    HeaderBoxRule(FieldEpsilon);
}

void TFmOptions::chkChangeAllInHeaderClick() {
    const bool on = chkChangeAllInHeader_->isChecked();
    for (int i = 0; i < HeaderFieldCount; ++i) {
        // A box that changes runs its own rule first.
        headerBoxes_[i]->setChecked(on);
        if (headerPage_) HeaderField(i)->setEnabled(on);
    }
}

void TFmOptions::chkChangeAllInLabelsClick() {
    const bool on = chkChangeAllInLabels_->isChecked();
    for (QCheckBox* box : labelBoxes_) box->setChecked(on);
}

}  // namespace trelvanox
