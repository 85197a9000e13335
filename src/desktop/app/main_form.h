#pragma once

#include <QMainWindow>
#include <QString>
#include <filesystem>
#include <memory>
#include <optional>

#include "common/string_grid.h"
#include "desktop/document/document_context.h"
#include "desktop/document/document_use.h"
#include "desktop/labels/edit_table_commands.h"
#include "document/radargram_document.h"
#include "settings/settings.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QLineEdit;
class QPushButton;
class QGroupBox;
class QTabWidget;
class QToolButton;
class QWindow;

namespace trelvanox {

class TCommandSet;
class TFmAbout;
class TFmCalibrateByLabels;
class TFmColorOptions;
class TFmHistory;
class TFmInsertLabel;
class TFmOptions;
class TFmRadargramView;
class TFmRegulationAmplitude;
class THeaderEditPage;
class TSpinEdit;
class TPlatform;
class TRibbon;
class TStringGridView;
class TUserState;

// The program's one top-level window. It owns the open radargram (the document, with the header
// and read-label tables), the edit table and the header fields; it wires the ribbon's commands
// to their handlers, which live with their subsystems and get only the narrow contexts they
// need, never the window; it makes its views follow the document, and keeps the layout. The
// dialogs are its children: created once by CreateDialogs, hidden until a command shows them,
// gone with the window.
class TFmMainForm : public QMainWindow {
    Q_OBJECT
  public:
    TFmMainForm(TPlatform& platform, std::filesystem::path settingsPath, QWidget* parent = nullptr);
    ~TFmMainForm() override;

    // The dialogs, in start-up order: colour map, about box, options, label insertion,
    // amplitude regulation, history of changes, the radargram view.
    void CreateDialogs();

    TPlatform& Platform() { return platform_; }
    TRadargramDocument& Document() { return document_; }
    // What the document's command handlers get.
    TDocumentContext& DocumentContext() { return *documentContext_; }
    TRadargram& Model() { return document_.Model(); }
    TSettings& Settings() { return settings_; }
    TDocumentUse& DocumentUse() { return documentUse_; }
    const std::filesystem::path& SettingsPath() const { return settingsPath_; }
    TCommandSet& Commands() { return *commands_; }
    TRibbon& Ribbon() { return *ribbon_; }

    // Members the commands keep between runs.
    QString RadargramFileName;  // file name of the last file chosen in the open dialog
    QString LastOpenedPath;     // the open dialog's current file name
    QString LastImportPath;     // the file last chosen for a table import
    int SelectedRow = 0;        // last selected cell of the edit table
    int SelectedColumn = 0;
    QString CompileDateText;

    // Grids: core data and views.
    TStringGrid& HeaderGrid() { return document_.HeaderTable(); }
    TStringGrid& ReadLabelsGrid() { return document_.ReadLabelTable(); }
    TStringGrid& NewLabelsGrid() { return newLabelsGrid_; }
    TStringGridView* sgReadF4Header() const { return sgReadF4Header_; }
    TStringGridView* sgReadLabels() const { return sgReadLabels_; }
    TStringGridView* sgNewSetsLabels() const { return sgNewSetsLabels_; }

    // Controls the handlers read and write.
    QLineEdit* txtFileName() const { return txtFileName_; }
    QLabel* lblSizeFile() const { return lblSizeFile_; }
    // The status line's permanent text: which file the tables show.
    QLabel* lblFileState() const { return lblFileState_; }
    QLineEdit* ltxtLenghtOfProfil() const { return ltxtLenghtOfProfil_; }
    QLineEdit* ltxtNLabels() const { return ltxtNLabels_; }
    QLineEdit* ltxtNLabelsWithText() const { return ltxtNLabelsWithText_; }
    QLineEdit* ltxtNLabelsNoText() const { return ltxtNLabelsNoText_; }
    // The tab "Заголовок" of "Данные для записи" and its operator field.
    THeaderEditPage* HeaderEditPage() const { return headerEditPage_; }
    QLineEdit* txtOperator() const;
    // "Начальная строка редактирования" of the edit table.
    TSpinEdit* seFirstRow() const { return seFirstRow_; }

    TFmAbout* FmAbout() const { return fmAbout_; }
    TFmColorOptions* FmColorOptions() const { return fmColorOptions_; }
    TFmOptions* FmOptions() const { return fmOptions_; }
    TFmInsertLabel* FmInsertLabel() const { return fmInsertLabel_; }
    TFmCalibrateByLabels* FmCalibrateByLabels() const { return fmCalibrateByLabels_; }
    TFmRegulationAmplitude* FmRegulationAmplitude() const { return fmRegulationAmplitude_; }
    TFmHistory* FmHistory() const { return fmHistory_; }
    TFmRadargramView* FmRadargramView() const { return fmRadargramView_; }

    // Remembers between runs, in the user's own file at path: the recent files (application
    // menu and tab "Файл"), the windows' places and sizes, the amplitude dialog's and the view's
    // fields and the last folders of the file dialogs. Without it nothing is remembered.
    void UseUserState(const QString& path);
    TUserState* UserState() const { return userState_.get(); }
    // "Последние файлы" of the application menu; the button on the tab "Файл" shows the same.
    QMenu* RecentMenu() const { return recentMenu_; }

    // Reads the file named on the command line as if chosen in the open dialog, in the layout
    // the stored settings name (the window may not have been activated yet).
    void OpenFromCommandLine(const QString& path);

    // Window handlers.
    void FormActivate();
    void FormResize();
    void PageControlChange();
    // The edit table's current cell, kept for its context menu.
    void sgNewSetsLabelsSelectCell(int col, int row);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A .GPR or .GPR2 file dropped onto the window opens as if chosen with "Открыть".
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    QWidget* BuildHeaderPage();
    QWidget* BuildReadLabelsPage();
    QWidget* BuildNewHeaderPage();
    QWidget* BuildNewLabelsPage();
    QWidget* BuildFileGroupContent();
    void BuildRibbon();
    void BuildQuickAccessToolBar();
    void ConnectCommands();
    void ConnectEditTable();
    // The window-wide keys and the grids' block copy and paste.
    void ConnectKeys();
    // The radargram view's links to the amplitude regulation and the read-label table.
    void CreateRadargramView();
    // Brings the views up to date with what changed in the document.
    void ShowDocumentChange(TDocumentChange change);
    // The hints of undo and redo name the steps they would take; the history list follows.
    void ShowHistory();
    // The title and the status line name the file the tables show and its layout; after a
    // failed read the status line says that they still show the previous file.
    void ShowFileState(bool read);
    // "Отменить" (undo) or "Повторить"; the status line names the step taken.
    void RunHistoryStep(bool undo);
    void OnFocusWindowChanged(QWindow* window);
    void SaveUserState();
    void ShowRecentFiles();
    // A double click on a step of "История изменений": undo or redo until the file is just
    // after that step.
    void GoToHistoryStep(int row);

    TPlatform& platform_;
    std::filesystem::path settingsPath_;
    TRadargramDocument document_;
    TSettings settings_;
    TDocumentUse documentUse_;
    TStringGrid newLabelsGrid_;
    // What the handlers get; made once the widgets they name exist.
    std::optional<TDocumentContext> documentContext_;
    std::optional<TEditTableContext> editTableContext_;

    std::unique_ptr<TUserState> userState_;
    QMenu* recentMenu_ = nullptr;
    TCommandSet* commands_ = nullptr;
    TRibbon* ribbon_ = nullptr;
    QGroupBox* groupBox1_ = nullptr;
    QGroupBox* groupBox2_ = nullptr;
    QTabWidget* pageControl1_ = nullptr;
    QTabWidget* pageControl2_ = nullptr;
    TStringGridView* sgReadF4Header_ = nullptr;
    TStringGridView* sgReadLabels_ = nullptr;
    TStringGridView* sgNewSetsLabels_ = nullptr;
    QLineEdit* txtFileName_ = nullptr;
    QLabel* lblSizeFile_ = nullptr;
    QLabel* lblFileState_ = nullptr;
    QLineEdit* ltxtLenghtOfProfil_ = nullptr;
    QLineEdit* ltxtNLabels_ = nullptr;
    QLineEdit* ltxtNLabelsWithText_ = nullptr;
    QLineEdit* ltxtNLabelsNoText_ = nullptr;
    THeaderEditPage* headerEditPage_ = nullptr;
    TSpinEdit* seFirstRow_ = nullptr;
    QToolButton* sbtnTranslateTable_ = nullptr;

    TFmAbout* fmAbout_ = nullptr;
    TFmColorOptions* fmColorOptions_ = nullptr;
    TFmOptions* fmOptions_ = nullptr;
    TFmInsertLabel* fmInsertLabel_ = nullptr;
    TFmCalibrateByLabels* fmCalibrateByLabels_ = nullptr;
    TFmRegulationAmplitude* fmRegulationAmplitude_ = nullptr;
    TFmHistory* fmHistory_ = nullptr;
    TFmRadargramView* fmRadargramView_ = nullptr;

    // Activation bookkeeping: the settings reload on the first activation and whenever the
    // focus comes back from another window of the program, not from another application and
    // not from a popup. Where the focus last was is kept as a kind, not as a window pointer:
    // a message box is destroyed before the focus change that leaves it is delivered.
    enum class TFocusHolder { None, MainWindow, OtherWindow };
    TFocusHolder lastFocusHolder_ = TFocusHolder::None;
    bool activatedOnce_ = false;
};

}  // namespace trelvanox
