// The three tabs of the amplitude regulation dialog and their controls.

#include "desktop/amplitude/regulation_amplitude_form.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QVBoxLayout>

#include "desktop/amplitude/amplitude_preview.h"
#include "desktop/widgets/spin_edit.h"

namespace trelvanox {

namespace {

constexpr int kPreviewWidth = 309;
constexpr int kPreviewHeight = 160;
constexpr int kSpinEditWidth = 72;
constexpr int kWrappingButtonWidth = 110;

// What a spin edit of this dialog starts as: range (0..0 for none), step, text and hint.
struct TSpinEditSetup {
    const char* Name;
    int Min;
    int Max;
    int Increment;
    const char* Text;
    const char* Hint;
};

TSpinEdit* MakeSpinEdit(const TSpinEditSetup& setup, QWidget* parent) {
    auto* edit = new TSpinEdit(parent);
    edit->setObjectName(QString::fromLatin1(setup.Name));
    edit->SetRange(setup.Min, setup.Max);
    edit->SetIncrement(setup.Increment);
    edit->SetText(QString::fromUtf8(setup.Text));
    if (setup.Hint) edit->setToolTip(QString::fromUtf8(setup.Hint));
    edit->setFixedWidth(kSpinEditWidth);
    return edit;
}

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The tall button of the search: its caption wraps within the button's width.
class TWrappingButton : public QPushButton {
  public:
    TWrappingButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
    QSize sizeHint() const override { return {kWrappingButtonWidth, 3 * fontMetrics().height()}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);
        painter.drawText(rect().adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWordWrap, text());
    }
};

// A labelled edit: the caption above its field, over captionColumns columns of the grid.
QLineEdit* AddLabelledEdit(QGridLayout* grid, int row, int column, const QString& caption,
                           const char* name, const QString& text, QWidget* parent,
                           int captionColumns = 1) {
    auto* label = new QLabel(caption, parent);
    auto* edit = Named(new QLineEdit(text, parent), name);
    label->setBuddy(edit);
    grid->addWidget(label, row, column, 1, captionColumns);
    grid->addWidget(edit, row + 1, column);
    return edit;
}

// The layout of a tab or a group: the tab holds a lot in little room.
template <typename TLayout>
TLayout* Compact(TLayout* layout) {
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    return layout;
}

}  // namespace

QWidget* TFmRegulationAmplitude::BuildGainPage() {
    auto* page = new QWidget;

    auto* windowBox = new QGroupBox(QStringLiteral("Окно фильтрации"), page);
    rbtnWindowFull_ =
        Named(new QRadioButton(QStringLiteral("Вся радарограмма"), windowBox), "rbtnWindowFull");
    rbtnWindowFull_->setChecked(true);
    rbtnWindowFragment_ = Named(
        new QRadioButton(QStringLiteral("Фрагмент радарограммы"), windowBox), "rbtnWindowFragment");
    auto* windowChoice = new QButtonGroup(windowBox);
    windowChoice->addButton(rbtnWindowFull_);
    windowChoice->addButton(rbtnWindowFragment_);

    stxtTraceFirst_ = MakeSpinEdit(
        {"stxtTraceFirst", 0, 0, 1, "0", "Минимальная трасса, ограничивающая окно фильтрации"},
        windowBox);
    stxtTraceLast_ = MakeSpinEdit(
        {"stxtTraceLast", 0, 200000, 1, "0", "Максимальная трасса, ограничивающая окно фильтрации"},
        windowBox);
    stxtSampleFirst_ = MakeSpinEdit(
        {"stxtSampleFirst", 0, 510, 1, "0", "Минимальный отсчет, ограничивающий окно фильтрации"},
        windowBox);
    stxtSampleLast_ = MakeSpinEdit(
        {"stxtSampleLast", 0, 511, 1, "511", "Максимальный отсчет, ограничивающий окно фильтрации"},
        windowBox);
    imgRadarogramma_ =
        Named(new TPreviewImage(kPreviewWidth, kPreviewHeight, windowBox), "imgRadarogramma");

    auto* windowGrid = Compact(new QGridLayout(windowBox));
    auto* choices = new QHBoxLayout;
    choices->addWidget(rbtnWindowFull_);
    choices->addWidget(rbtnWindowFragment_);
    choices->addStretch();
    windowGrid->addLayout(choices, 0, 0, 1, 2);
    auto* traces = new QHBoxLayout;
    traces->addWidget(stxtTraceFirst_);
    traces->addStretch();
    traces->addWidget(stxtTraceLast_);
    windowGrid->addLayout(traces, 1, 1);
    auto* samples = new QVBoxLayout;
    samples->addWidget(stxtSampleFirst_);
    samples->addStretch();
    samples->addWidget(stxtSampleLast_);
    windowGrid->addLayout(samples, 2, 0);
    windowGrid->addWidget(imgRadarogramma_, 2, 1);
    windowGrid->setRowStretch(3, 1);

    auto* gainBox = new QGroupBox(QStringLiteral("Регулировка амплитуд"), page);
    auto* gainGrid = Compact(new QGridLayout(gainBox));
    ltxtGain_ = AddLabelledEdit(gainGrid, 0, 0, QStringLiteral("Коэффициент усиления"), "ltxtGain",
                                QStringLiteral("0"), gainBox);
    rbtnGainForMin_ = Named(new QRadioButton(QStringLiteral("Амплитуда которых меньше:"), gainBox),
                            "rbtnGainForMin");
    rbtnGainForMin_->setChecked(true);
    rbtnGainForMax_ = Named(new QRadioButton(QStringLiteral("Амплитуда которых больше:"), gainBox),
                            "rbtnGainForMax");
    rbtnGainForMiddle_ =
        Named(new QRadioButton(QStringLiteral("Амплитуда которых в диапазоне:"), gainBox),
              "rbtnGainForMiddle");
    auto* modes = new QButtonGroup(gainBox);
    modes->addButton(rbtnGainForMin_);
    modes->addButton(rbtnGainForMax_);
    modes->addButton(rbtnGainForMiddle_);
    stxtGainForMin_ = MakeSpinEdit({"stxtGainForMin", 0, 100000, 50, "0", nullptr}, gainBox);
    stxtGainForMax_ = MakeSpinEdit({"stxtGainForMax", 0, 100000, 50, "0", nullptr}, gainBox);
    stxtGainForMax_->setEnabled(false);
    stxtGainForMiddleMin_ = MakeSpinEdit({"stxtGainForMiddleMin", 0, 0, 50, "0", nullptr}, gainBox);
    stxtGainForMiddleMin_->setEnabled(false);
    stxtGainForMiddleMax_ = MakeSpinEdit({"stxtGainForMiddleMax", 0, 0, 50, "0", nullptr}, gainBox);
    stxtGainForMiddleMax_->setEnabled(false);
    bbtnGain_ = Named(new QPushButton(QStringLiteral("Усилить"), gainBox), "bbtnGain");

    gainGrid->addWidget(rbtnGainForMin_, 2, 0);
    gainGrid->addWidget(stxtGainForMin_, 2, 1);
    gainGrid->addWidget(rbtnGainForMax_, 3, 0);
    gainGrid->addWidget(stxtGainForMax_, 3, 1);
    gainGrid->addWidget(rbtnGainForMiddle_, 4, 0, 1, 2);
    auto* range = new QHBoxLayout;
    range->addWidget(new QLabel(QStringLiteral("от"), gainBox));
    range->addWidget(stxtGainForMiddleMin_);
    range->addWidget(new QLabel(QStringLiteral("до"), gainBox));
    range->addWidget(stxtGainForMiddleMax_);
    range->addStretch();
    gainGrid->addLayout(range, 5, 0, 1, 2);
    gainGrid->addWidget(bbtnGain_, 6, 0, 1, 2, Qt::AlignRight);
    gainGrid->setRowStretch(7, 1);

    auto* layout = Compact(new QHBoxLayout(page));
    layout->addWidget(windowBox);
    layout->addWidget(gainBox, 1);
    return page;
}

QWidget* TFmRegulationAmplitude::BuildCutPage() {
    auto* page = new QWidget;

    auto* cutBox = new QGroupBox(QStringLiteral("Обрезка амплитуд трасс"), page);
    chkMinAmplitude_ = Named(new QCheckBox(QStringLiteral("Минимальный уровень сигнала"), cutBox),
                             "chkMinAmplitude");
    chkMinAmplitude_->setChecked(true);
    stxtMinAmplitude_ = MakeSpinEdit({"stxtMinAmplitude", 0, 10000, 50, "0", nullptr}, cutBox);
    chkMaxAmplitude_ = Named(new QCheckBox(QStringLiteral("Максимальный уровень сигнала"), cutBox),
                             "chkMaxAmplitude");
    chkMaxAmplitude_->setChecked(true);
    stxtMaxAmplitude_ = MakeSpinEdit({"stxtMaxAmplitude", 0, 0, 50, "0", nullptr}, cutBox);
    bbtnCutAmplitude_ =
        Named(new QPushButton(QStringLiteral("Обрезать"), cutBox), "bbtnCutAmplitude");
    auto* cutGrid = Compact(new QGridLayout(cutBox));
    cutGrid->addWidget(chkMinAmplitude_, 0, 0);
    cutGrid->addWidget(stxtMinAmplitude_, 0, 1);
    cutGrid->addWidget(chkMaxAmplitude_, 1, 0);
    cutGrid->addWidget(stxtMaxAmplitude_, 1, 1);
    cutGrid->addWidget(bbtnCutAmplitude_, 2, 0, 1, 2, Qt::AlignRight);
    cutGrid->setRowStretch(3, 1);

    auto* rangeBox = new QGroupBox(QStringLiteral("Диапазон амплитуд"), page);
    btnFindMinMaxAmplitude_ =
        Named(new TWrappingButton(QStringLiteral("Определить минимальную и максимальную амплитуду"),
                                  rangeBox),
              "btnFindMinMaxAmplitude");
    auto* rangeGrid = Compact(new QGridLayout(rangeBox));
    rangeGrid->addWidget(btnFindMinMaxAmplitude_, 0, 0, 6, 1);
    ltxtSampleWithMinAmplitude_ =
        AddLabelledEdit(rangeGrid, 0, 1, QStringLiteral("Минимальная амплитуда"),
                        "ltxtSampleWithMinAmplitude", QString(), rangeBox, 2);
    bbtnZeroMinAmplitude_ =
        Named(new QPushButton(QStringLiteral("обнулить"), rangeBox), "bbtnZeroMinAmplitude");
    rangeGrid->addWidget(bbtnZeroMinAmplitude_, 1, 2);
    lblSampleWithMinAmplitude_ = Named(
        new QLabel(QString::fromUtf8(kNoPositionText.data(), kNoPositionText.size()), rangeBox),
        "lblSampleWithMinAmplitude");
    rangeGrid->addWidget(lblSampleWithMinAmplitude_, 2, 1, 1, 2);
    ltxtSampleWithMaxAmplitude_ =
        AddLabelledEdit(rangeGrid, 3, 1, QStringLiteral("Максимальная амплитуда"),
                        "ltxtSampleWithMaxAmplitude", QString(), rangeBox, 2);
    bbtnZeroMaxAmplitude_ =
        Named(new QPushButton(QStringLiteral("обнулить"), rangeBox), "bbtnZeroMaxAmplitude");
    rangeGrid->addWidget(bbtnZeroMaxAmplitude_, 4, 2);
    lblSampleWithMaxAmplitude_ = Named(
        new QLabel(QString::fromUtf8(kNoPositionText.data(), kNoPositionText.size()), rangeBox),
        "lblSampleWithMaxAmplitude");
    rangeGrid->addWidget(lblSampleWithMaxAmplitude_, 5, 1, 1, 2);
    rangeGrid->setRowStretch(6, 1);

    auto* layout = Compact(new QHBoxLayout(page));
    layout->addWidget(cutBox);
    layout->addWidget(rangeBox, 1);
    return page;
}

QWidget* TFmRegulationAmplitude::BuildZeroTracesPage() {
    auto* page = new QWidget;
    auto* box = new QGroupBox(QStringLiteral("Обнуление амплитуд трасс"), page);
    auto* grid = Compact(new QGridLayout(box));
    ltxtZeroTraceBegin_ = AddLabelledEdit(grid, 0, 0, QStringLiteral("Первая трасса"),
                                          "ltxtZeroTraceBegin", QStringLiteral("0"), box);
    ltxtZeroTraceEnd_ = AddLabelledEdit(grid, 0, 1, QStringLiteral("Последняя трасса"),
                                        "ltxtZeroTraceEnd", QStringLiteral("0"), box);
    const QRegularExpression digits(QStringLiteral("[0-9]*"));
    for (QLineEdit* edit : {ltxtZeroTraceBegin_, ltxtZeroTraceEnd_})
        edit->setValidator(new QRegularExpressionValidator(digits, edit));
    bbtnZeroTraces_ = Named(new QPushButton(QStringLiteral("Обнулить"), box), "bbtnZeroTraces");
    grid->addWidget(bbtnZeroTraces_, 2, 0, 1, 2, Qt::AlignRight);
    grid->setRowStretch(3, 1);

    auto* layout = Compact(new QHBoxLayout(page));
    layout->addWidget(box);
    layout->addStretch(1);
    return page;
}

}  // namespace trelvanox
