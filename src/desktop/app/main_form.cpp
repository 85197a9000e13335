#include "desktop/app/main_form.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include "desktop/amplitude/regulation_amplitude_form.h"
#include "desktop/app/about_form.h"
#include "desktop/app/build_date.h"
#include "desktop/app/command_set.h"
#include "desktop/app/options_form.h"
#include "desktop/app/options_tables.h"
#include "desktop/app/user_state.h"
#include "desktop/document/gui_notices.h"
#include "desktop/document/history_form.h"
#include "desktop/header/header_edit_page.h"
#include "desktop/labels/calibration_form.h"
#include "desktop/labels/color_options_form.h"
#include "desktop/labels/insert_label_form.h"
#include "desktop/labels/label_commands.h"
#include "desktop/platform/command_dispatcher.h"
#include "desktop/view/radargram_view_form.h"
#include "desktop/widgets/ribbon.h"
#include "desktop/widgets/spin_edit.h"
#include "desktop/widgets/string_grid_model.h"
#include "desktop/widgets/string_grid_view.h"
#include "header/header_table.h"
#include "labels/edit_table.h"
#include "labels/read_label_table.h"

namespace trelvanox {

namespace {

constexpr int kRibbonHeight = 143;
constexpr int kBoxTop = 149;
constexpr int kBoxBottomMargin = 7;  // client height 648 = 149 + 492 + 7 at design size
constexpr int kClientWidth = 1176;
constexpr int kClientHeight = 648;
constexpr int kRowHeight = 24;

// A line edit with its caption above it, as the labelled edits of the window are.
QWidget* LabelledEdit(const QString& caption, const char* name, QLineEdit*& edit, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* label = new QLabel(caption, box);
    edit = new QLineEdit(box);
    edit->setObjectName(QString::fromLatin1(name));
    label->setBuddy(edit);
    layout->addWidget(label);
    layout->addWidget(edit);
    return box;
}

}  // namespace

TFmMainForm::TFmMainForm(TPlatform& platform, std::filesystem::path settingsPath, QWidget* parent)
    : QMainWindow(parent),
      platform_(platform),
      settingsPath_(std::move(settingsPath)),
      newLabelsGrid_(static_cast<int>(TEditTableColumn::Count), kEditTableRows) {
    setObjectName(QStringLiteral("FmMainForm"));
    // Numbers are written and read with "." whatever the user's locale.
    QLocale::setDefault(QLocale::c());
    setAttribute(Qt::WA_AlwaysShowToolTips);
    // Tahoma 8 point where the machine has it, else the desktop's sans font at that size; the
    // dialogs, children of the window, take the same font.
    QFont windowFont = font();
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
        windowFont.setFamily(QStringLiteral("Tahoma"));
    windowFont.setPointSize(8);
    setFont(windowFont);

    commands_ = new TCommandSet(this);
    auto* central = new QWidget(this);
    setCentralWidget(central);
    ribbon_ = new TRibbon(central);
    ribbon_->setObjectName(QStringLiteral("Ribbon1"));

    groupBox1_ = new QGroupBox(QStringLiteral("Радарограмма"), central);
    groupBox1_->setObjectName(QStringLiteral("GroupBox1"));
    // Only the box's caption is large: its contents keep the window's font.
    QFont boxFont = windowFont;
    boxFont.setPointSize(12);
    groupBox1_->setFont(boxFont);
    pageControl1_ = new QTabWidget(groupBox1_);
    pageControl1_->setObjectName(QStringLiteral("PageControl1"));
    pageControl1_->setFont(QFont(windowFont.family(), windowFont.pointSize()));
    pageControl1_->addTab(BuildHeaderPage(), QStringLiteral("Заголовок"));
    pageControl1_->addTab(BuildReadLabelsPage(), QStringLiteral("Метки"));
    (new QVBoxLayout(groupBox1_))->addWidget(pageControl1_);

    groupBox2_ = new QGroupBox(QStringLiteral("Данные для записи"), central);
    groupBox2_->setObjectName(QStringLiteral("GroupBox2"));
    pageControl2_ = new QTabWidget(groupBox2_);
    pageControl2_->setObjectName(QStringLiteral("PageControl2"));
    pageControl2_->addTab(BuildNewHeaderPage(), QStringLiteral("Заголовок"));
    pageControl2_->addTab(BuildNewLabelsPage(), QStringLiteral("Метки"));
    pageControl2_->setCurrentIndex(1);
    (new QVBoxLayout(groupBox2_))->addWidget(pageControl2_);

    BuildRibbon();
    documentContext_.emplace(
        TDocumentContext{document_, platform_, *this, settings_, *txtFileName_, documentUse_});
    editTableContext_.emplace(TEditTableContext{*sgNewSetsLabels_, *seFirstRow_, SelectedRow,
                                                SelectedColumn, platform_, *this});
    // The document lives and dies with the window, so the subscription needs no undoing.
    document_.Subscribe(
        OnGuiThread([this](TDocumentChange change) { ShowDocumentChange(change); }));
    ConnectCommands();
    connect(pageControl1_, &QTabWidget::currentChanged, this, &TFmMainForm::PageControlChange);
    connect(pageControl2_, &QTabWidget::currentChanged, this, &TFmMainForm::PageControlChange);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TFmMainForm::OnFocusWindowChanged);

    // The constructor's own steps, in order.
    RadargramFileName.clear();
    sbtnTranslateTable_->setVisible(false);
    CompileDateText = QString::fromLatin1(trelvanox::CompileDateText());
    if (auto* date = findChild<QLabel*>(QStringLiteral("lblDateCompilation")))
        date->setText(CompileDateText);
    sgReadF4Header_->SetColWidth(0, 250);
    // The parameter names and the titles show whole in any font; the widths above are the
    // least each column gets.
    sgReadF4Header_->WidenToTexts(0, true);
    for (TStringGridView* grid : {sgReadF4Header_, sgReadLabels_, sgNewSetsLabels_})
        for (int col = 0; col < grid->Grid().ColCount(); ++col) grid->WidenToTexts(col, false);
    SetEditTableCaptions(newLabelsGrid_);
    for (TStringGridView* grid : {sgReadF4Header_, sgReadLabels_, sgNewSetsLabels_})
        grid->GridModel()->GridChanged();
    SelectedRow = 0;
    SelectedColumn = 0;

    setWindowTitle(QStringLiteral("Trelvanox"));
    setAcceptDrops(true);
    lblFileState_ = new QLabel(QStringLiteral("Файл не открыт"), this);
    lblFileState_->setObjectName(QStringLiteral("lblFileState"));
    statusBar()->addPermanentWidget(lblFileState_);
    // The status line comes below the design client area, which keeps its size.
    resize(kClientWidth, kClientHeight + statusBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TFmMainForm::~TFmMainForm() {
    SaveUserState();
    // The views and dialogs read the document, its tables and the edit table, members that
    // would be gone before QWidget's destructor deletes the children: a window destroyed while
    // shown repaints its views on the way out. The children go first, hidden.
    hide();
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

void TFmMainForm::CreateDialogs() {
    fmColorOptions_ = new TFmColorOptions(this);
    fmAbout_ = new TFmAbout(CompileDateText, this);
    fmOptions_ = new TFmOptions(this);
    fmOptions_->Attach(settings_, *headerEditPage_, *sgReadLabels_, *sgNewSetsLabels_,
                       commands_->Action(QStringLiteral("acnSaveOptions")));
    fmInsertLabel_ = new TFmInsertLabel(this);
    connect(fmInsertLabel_, &TFmInsertLabel::InsertRequested, this, [this] {
        RunCommand(platform_, fmInsertLabel_,
                   [this] { bbtnInsertLabelClick(*documentContext_, *fmInsertLabel_); });
    });
    fmCalibrateByLabels_ = new TFmCalibrateByLabels(*documentContext_, this);
    fmRegulationAmplitude_ = new TFmRegulationAmplitude(*documentContext_, this);
    fmHistory_ = new TFmHistory(this);
    connect(fmHistory_, &TFmHistory::StepChosen, this, &TFmMainForm::GoToHistoryStep);
    CreateRadargramView();
}

void TFmMainForm::CreateRadargramView() {
    TViewLinks links;
    links.SetProcessingWindow = [this](const TProcessingWindow& window) {
        fmRegulationAmplitude_->SetFragmentWindow(window);
    };
    links.ShownProcessingWindow = [this] { return fmRegulationAmplitude_->ShownWindow(); };
    links.SelectLabelRow = [this](int row) {
        pageControl1_->setCurrentIndex(1);
        const QModelIndex cell = sgReadLabels_->GridModel()->IndexOf(1, row);
        sgReadLabels_->setCurrentIndex(cell);
        sgReadLabels_->scrollTo(cell);
    };
    links.ColourMap = [this] { return fmColorOptions_->ColourMap(); };
    links.ShowCalibration = [this] { fmCalibrateByLabels_->ShowModeless(); };
    fmRadargramView_ =
        new TFmRadargramView(document_, documentUse_, platform_, std::move(links), this);
    connect(fmRegulationAmplitude_, &TFmRegulationAmplitude::WindowChanged, fmRadargramView_,
            &TFmRadargramView::ProcessingWindowChanged);
}

namespace {
// The least width of the header table's value column, which otherwise fills the table.
constexpr int kLeastValueWidth = 120;
}  // namespace

QWidget* TFmMainForm::BuildHeaderPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    sgReadF4Header_ = new TStringGridView(document_.HeaderTable(), 1, 1, page);
    sgReadF4Header_->setObjectName(QStringLiteral("sgReadF4Header"));
    sgReadF4Header_->SetDefaultRowHeight(kRowHeight);
    sgReadF4Header_->SetColWidth(1, 103);
    // The values fill the table up to the box's edge, and a longer one is cut off with an
    // ellipsis and whole in its tool tip, rather than running on out of sight under the edge.
    // The stretched column never gets narrower than its width, so that width is the least.
    sgReadF4Header_->SetColWidth(2, kLeastValueWidth);
    sgReadF4Header_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(sgReadF4Header_, 1);
    QWidget* length = LabelledEdit(QStringLiteral("Примерная длина профиля, м"),
                                   "ltxtLenghtOfProfil", ltxtLenghtOfProfil_, page);
    ltxtLenghtOfProfil_->setToolTip(QStringLiteral(
        "Примерная длина профиля из расчета количества трасс, умноженное на шаг перемещения"));
    length->setMaximumWidth(250);
    layout->addWidget(length);
    return page;
}

QWidget* TFmMainForm::BuildReadLabelsPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    sgReadLabels_ = new TStringGridView(document_.ReadLabelTable(), 1, 1, page);
    sgReadLabels_->setObjectName(QStringLiteral("sgReadLabels"));
    sgReadLabels_->SetDefaultRowHeight(kRowHeight);
    sgReadLabels_->SetOptions(kReadLabelTableOptions);
    const int widths[] = {50, 110, 124, 136, 112, 126};
    for (int col = 0; col < 6; ++col) sgReadLabels_->SetColWidth(col, widths[col]);
    layout->addWidget(sgReadLabels_, 1);

    auto* counts = new QHBoxLayout;
    counts->addWidget(
        LabelledEdit(QStringLiteral("Всего меток"), "ltxtNLabels", ltxtNLabels_, page));
    counts->addWidget(LabelledEdit(QStringLiteral("Подписанных меток"), "ltxtNLabelsWithText",
                                   ltxtNLabelsWithText_, page));
    counts->addWidget(LabelledEdit(QStringLiteral("Неподписанных меток"), "ltxtNLabelsNoText",
                                   ltxtNLabelsNoText_, page));
    auto* exportButton = new QToolButton(page);
    exportButton->setObjectName(QStringLiteral("btnExportReadLabelSets"));
    exportButton->setText(QStringLiteral("Экспорт"));
    exportButton->setToolTip(
        QStringLiteral("Экспорт таблицы в текстовый файл с разделителями табуляции"));
    counts->addWidget(exportButton, 0, Qt::AlignBottom);
    sbtnTranslateTable_ = new QToolButton(page);
    sbtnTranslateTable_->setObjectName(QStringLiteral("sbtnTranslateTable"));
    counts->addWidget(sbtnTranslateTable_, 0, Qt::AlignBottom);
    layout->addLayout(counts);
    return page;
}

QWidget* TFmMainForm::BuildNewHeaderPage() {
    headerEditPage_ = new THeaderEditPage;
    return headerEditPage_;
}

QLineEdit* TFmMainForm::txtOperator() const {
    return headerEditPage_->txtOperator();
}

QWidget* TFmMainForm::BuildNewLabelsPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* firstRow = new QHBoxLayout;
    auto* firstRowCaption = new QLabel(QStringLiteral("Начальная строка редактирования"), page);
    seFirstRow_ = new TSpinEdit(page);
    seFirstRow_->setObjectName(QStringLiteral("seFirstRow"));
    // Unbounded; a text that is no whole number counts as 0 and is shown as 0.
    seFirstRow_->SetZeroOnInvalid(true);
    seFirstRow_->SetValue(0);
    firstRowCaption->setBuddy(seFirstRow_);
    firstRow->addWidget(firstRowCaption);
    firstRow->addWidget(seFirstRow_);
    firstRow->addStretch(1);
    layout->addLayout(firstRow);
    sgNewSetsLabels_ = new TStringGridView(newLabelsGrid_, 1, 0, page);
    sgNewSetsLabels_->setObjectName(QStringLiteral("sgNewSetsLabels"));
    sgNewSetsLabels_->SetDefaultRowHeight(kRowHeight);
    sgNewSetsLabels_->SetOptions(kEditTableOptions);
    // The number and the two-line coordinate title need little room; what they leave lets all
    // four columns show whole in the box at the window's design size.
    const int widths[] = {60, 144, 120, 152};
    for (int col = 0; col < 4; ++col) sgNewSetsLabels_->SetColWidth(col, widths[col]);
    connect(sgNewSetsLabels_, &TStringGridView::SelectCell, this,
            &TFmMainForm::sgNewSetsLabelsSelectCell);
    layout->addWidget(sgNewSetsLabels_, 1);
    auto* importButton = new QToolButton(page);
    importButton->setObjectName(QStringLiteral("btnImportTableNewLabelSets"));
    importButton->setText(QStringLiteral("Импорт"));
    importButton->setToolTip(
        QStringLiteral("Импорт таблицы из текстового файла с разделителями табуляции"));
    layout->addWidget(importButton, 0, Qt::AlignLeft);
    return page;
}

void TFmMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TFmMainForm::FormResize() {
    // The rule works on the outer width, frame included.
    const int half = frameGeometry().width() / 2;
    const int height = std::max(0, centralWidget()->height() - kBoxTop - kBoxBottomMargin);
    ribbon_->setGeometry(0, 0, centralWidget()->width(), kRibbonHeight);
    groupBox1_->setGeometry(3, kBoxTop, half, height);
    groupBox2_->setGeometry(half + 20, kBoxTop, half - 40, height);
}

void TFmMainForm::sgNewSetsLabelsSelectCell(int col, int row) {
    SelectedColumn = col;
    SelectedRow = row;
}

void TFmMainForm::PageControlChange() {
    sbtnTranslateTable_->setVisible(pageControl1_->currentIndex() == 1 &&
                                    pageControl2_->currentIndex() == 1);
}

void TFmMainForm::OnFocusWindowChanged(QWindow* window) {
    // A combo list, menu, completer or tool tip belongs to the window that opened it: the
    // focus going there and back is no change of window.
    if (window && (window->type() == Qt::Popup || window->type() == Qt::ToolTip)) return;
    const TFocusHolder previous = lastFocusHolder_;
    if (!window) {
        lastFocusHolder_ = TFocusHolder::None;
        return;
    }
    if (window != windowHandle()) {
        lastFocusHolder_ = TFocusHolder::OtherWindow;
        return;
    }
    lastFocusHolder_ = TFocusHolder::MainWindow;
    // From another application the focus comes back from no window of ours.
    if (activatedOnce_ && previous != TFocusHolder::OtherWindow) return;
    activatedOnce_ = true;
    FormActivate();
}

void TFmMainForm::FormActivate() {
    if (QAction* load = commands_->Action(QStringLiteral("acnLoadOptions"))) load->trigger();
}

}  // namespace trelvanox
