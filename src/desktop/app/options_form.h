#pragma once

#include <array>

#include "desktop/widgets/modeless_dialog.h"
#include "settings/settings.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace trelvanox {

class THeaderEditPage;
class TStringGridView;

// The options dialog: four pages of settings. Modeless; created once at start-up with the main
// window as parent and kept for the whole run; closing it only hides it, so every control keeps
// its state until the program ends.
//
// The settings live in its controls: once attached to the main window, every change of a
// control writes its setting at once, and the main window tells the dialog when loading has
// changed the persisted ones. The edit-scope boxes enable, disable and empty the main window's
// header fields; the boxes of pages 1 and 2 set the options of the two label tables.
class TFmOptions : public TModelessDialog {
    Q_OBJECT
  public:
    enum TPage { PageGeneral, PageReadTable, PageImportTable, PageEditing, PageCount };
    // The header fields in the order in which "Редактировать все" sets their boxes.
    enum THeaderField {
        FieldOperator,
        FieldObject,
        FieldCommentary1,
        FieldCommentary2,
        FieldCommentary3,
        FieldPK,
        FieldEpsilon,
        HeaderFieldCount
    };
    static constexpr int kTableOptionCount = 15;
    static constexpr int kLabelScopeCount = 3;

    explicit TFmOptions(QWidget* parent = nullptr);

    // Binds the dialog to the main window's parts: the settings (which the controls then show),
    // the header fields, the two label tables and the command acnSaveOptions.
    void Attach(TSettings& settings, THeaderEditPage& headerPage, TStringGridView& readTable,
                TStringGridView& importTable, QAction* saveCommand);
    // After LoadSettings: shows the layout, the delimiter and the operator as loaded. An index
    // outside a list chooses no item, and the setting becomes -1.
    void ShowLoadedSettings();
    // The typed fields now match the file: the next reload may set them again.
    void SettingsSaved();
    // "Кодировка экспорта таблицы" of the page "Общие": true for UTF-8. The program's own
    // choice, kept with what it remembers between runs, not in the settings file.
    bool ExportInUtf8() const;
    void SetExportInUtf8(bool utf8);

    // Shows the dialog as ShowModeless does, then selects the page (a TPage).
    void ShowPage(int page);

    QTabWidget* Pages() const { return pages_; }

  private:
    QWidget* BuildGeneralPage();
    QWidget* BuildTablePage(std::array<QCheckBox*, kTableOptionCount>& boxes, bool readTable);
    QWidget* BuildEditingPage();
    void ConnectSettings();
    void ShowAllSettings();
    // The history limit as the settings hold it, kept inside the field's range.
    void ShowHistoryLimit();
    QWidget* HeaderField(int field) const;

    void btnOKClick();
    void btnSaveOptionsClick();
    void chkChangeAllInHeaderClick();
    void chkChangeAllInLabelsClick();
    void chkChangeOperatorClick();
    void chkChangeObjectClick();
    void chkChangeCommentary1Click();
    void chkChangeCommentary2Click();
    void chkChangeCommentary3Click();
    void chkChangePKClick();
    void chkChangeEpsilonClick();
    // The rule of a header box: ticked enables its field; unticked disables and empties it.
    void HeaderBoxRule(int field);

    TSettings ownSettings_;  // until attached
    TSettings* settings_ = &ownSettings_;
    THeaderEditPage* headerPage_ = nullptr;
    TStringGridView* readTable_ = nullptr;
    TStringGridView* importTable_ = nullptr;
    QAction* saveCommand_ = nullptr;

    QTabWidget* pages_ = nullptr;
    QComboBox* cmbFormatSourceFile_ = nullptr;
    QComboBox* comboBox1_ = nullptr;
    QComboBox* cmbDelimiter_ = nullptr;
    QLineEdit* txtOperator_ = nullptr;
    QLineEdit* txtBasePKm_ = nullptr;
    QComboBox* cmbExportEncoding_ = nullptr;
    QSpinBox* seHistoryLimit_ = nullptr;
    std::array<QLineEdit*, 3> ltxtNameCommentary_ = {};
    QPushButton* btnSaveOptions_ = nullptr;
    QPushButton* btnOK_ = nullptr;
    std::array<QCheckBox*, kTableOptionCount> readTableBoxes_ = {};
    std::array<QCheckBox*, kTableOptionCount> importTableBoxes_ = {};
    QCheckBox* chkChangeAllInHeader_ = nullptr;
    std::array<QCheckBox*, HeaderFieldCount> headerBoxes_ = {};
    QCheckBox* chkChangeAllInLabels_ = nullptr;
    std::array<QCheckBox*, kLabelScopeCount> labelBoxes_ = {};
};

}  // namespace trelvanox
