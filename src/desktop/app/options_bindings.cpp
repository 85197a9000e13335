// The options dialog's controls bound to the settings, the edit-scope rules acting on the main
// window's header fields, and the table options acting on the label tables.

#include "desktop/app/options_form.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>

#include "desktop/app/command_set.h"
#include "desktop/app/options_boxes.h"
#include "desktop/header/header_edit_page.h"
#include "desktop/widgets/string_grid_view.h"

namespace trelvanox {

namespace {

// Chooses item `index` of a list, or no item when the index is outside it; the edit part shows
// the chosen item's text even when that item was chosen already.
void ShowItem(QComboBox* box, int index) {
    if (index < 0 || index >= box->count()) index = -1;
    box->setCurrentIndex(index);
    box->setEditText(index < 0 ? QString() : box->itemText(index));
}

}  // namespace

void TFmOptions::ConnectSettings() {
    connect(cmbFormatSourceFile_, &QComboBox::currentIndexChanged, this,
            [this](int index) { settings_->FormatIndex = index; });
    connect(cmbDelimiter_, &QComboBox::currentIndexChanged, this,
            [this](int index) { settings_->DelimiterIndex = index; });
    connect(txtOperator_, &QLineEdit::textChanged, this,
            [this](const QString& text) { settings_->OperatorText = text.toStdString(); });
    connect(txtBasePKm_, &QLineEdit::textChanged, this,
            [this](const QString& text) { settings_->BasePKm = text.toStdString(); });
    connect(seHistoryLimit_, &QSpinBox::valueChanged, this,
            [this](int megabytes) { settings_->HistoryLimitMb = megabytes; });

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

void TFmOptions::Attach(TSettings& settings, THeaderEditPage& headerPage,
                        TStringGridView& readTable, TStringGridView& importTable,
                        QAction* saveCommand) {
    settings_ = &settings;
    headerPage_ = &headerPage;
    readTable_ = &readTable;
    importTable_ = &importTable;
    saveCommand_ = saveCommand;
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
    ShowHistoryLimit();
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
    // A name typed and not yet saved stays, and stays the setting: a reload must not take the
    // user's typing away behind their back.
    if (txtOperator_->isModified())
        settings_->OperatorText = txtOperator_->text().toStdString();
    else
        txtOperator_->setText(QString::fromUtf8(settings_->OperatorText));
    ShowHistoryLimit();
}

bool TFmOptions::ExportInUtf8() const {
    return cmbExportEncoding_->currentIndex() == 1;
}

void TFmOptions::SetExportInUtf8(bool utf8) {
    cmbExportEncoding_->setCurrentIndex(utf8 ? 1 : 0);
}

void TFmOptions::SettingsSaved() {
    txtOperator_->setModified(false);
}

void TFmOptions::ShowHistoryLimit() {
    const QSignalBlocker blocker(seHistoryLimit_);
    seHistoryLimit_->setValue(settings_->HistoryLimitMb);
    settings_->HistoryLimitMb = seHistoryLimit_->value();
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
        edit->setModified(false);  // emptied by the rule, not typed
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
