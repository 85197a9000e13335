#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <bit>
#include <memory>
#include <vector>

#include "desktop/amplitude/amplitude_preview.h"
#include "desktop/amplitude/regulation_amplitude_form.h"
#include "desktop/app/main_form.h"
#include "desktop/widgets/spin_edit.h"
#include "fake_platform.h"
#include "form_driver.h"
#include "radargram_generator.h"

using namespace trelvanox;

namespace {

using TKind = TFakePlatform::TCallKind;

const QRgb kGray = qRgb(128, 128, 128);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlack = qRgb(0, 0, 0);

QStringList WindowTexts(const QList<TSpinEdit*>& fields) {
    QStringList texts;
    for (const TSpinEdit* field : fields) texts << field->Text();
    return texts;
}

int CountPixels(const QImage& image, QRgb colour, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == colour) ++count;
    return count;
}

// The columns of row y (or rows of column x) that are red.
QList<int> RedInRow(const QImage& image, int y) {
    QList<int> xs;
    for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) == kRed) xs << x;
    return xs;
}

QList<int> RedInColumn(const QImage& image, int x) {
    QList<int> ys;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixel(x, y) == kRed) ys << y;
    return ys;
}

// Lines of width 2 at the given positions: each covers its own pixel and the one before it.
QList<int> LinePixels(const QList<int>& positions) {
    QList<int> pixels;
    for (int p : positions) {
        if (p - 1 >= 0) pixels << p - 1;
        pixels << p;
    }
    return pixels;
}

}  // namespace

// The amplitude dialog on the real main window with a generated radargram: its controls, the
// processing window and its preview, and each operation's effect on the file, which the tests
// read back.
class TestAmplitudeDialog : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<TFakePlatform> platform_;
    std::unique_ptr<TFmMainForm> form_;
    QString file_;

    void Generate(std::uint32_t traces, std::uint32_t samples) {
        TGeneratorOptions options;
        options.TraceCount = traces;
        options.SampleCount = samples;
        GenerateRadargram(QFile::encodeName(file_).toStdString(), options);
    }
    void Open() { QVERIFY(OpenRadargram(*form_, *platform_, file_)); }
    // A file of traces x samples whose samples are all zero but for the given values, which
    // start at sample 0 of trace 0.
    void OpenWithSamples(std::uint32_t traces, std::uint32_t samples,
                         const QList<float>& leading = {}) {
        Generate(traces, samples);
        Open();
        for (std::uint32_t t = 0; t < traces; ++t) std::ranges::fill(Model().Samples(t), 0.0f);
        for (int i = 0; i < leading.size(); ++i) Model().Samples(0)[i] = leading[i];
        Run("acnWriteFile");
        QVERIFY(platform_->Calls.empty());
    }
    void Run(const char* action) { RunAction(*form_, action); }
    TRadargram& Model() { return form_->Model(); }
    TFmRegulationAmplitude& Dialog() { return *form_->FmRegulationAmplitude(); }
    void ShowDialog() {
        Run("acnRegulationAmplitude");
        QVERIFY(QTest::qWaitForWindowActive(&Dialog()));
    }
    template <typename T>
    T* Child(const char* name) {
        return Dialog().findChild<T*>(QString::fromLatin1(name));
    }
    TSpinEdit* Spin(const char* name) { return Child<TSpinEdit>(name); }
    QList<TSpinEdit*> WindowFields() {
        return {Spin("stxtTraceFirst"), Spin("stxtTraceLast"), Spin("stxtSampleFirst"),
                Spin("stxtSampleLast")};
    }
    void SetWindow(const QStringList& texts) {
        const QList<TSpinEdit*> fields = WindowFields();
        for (int i = 0; i < 4; ++i) fields[i]->SetText(texts[i]);
    }
    void Click(const char* name) { Child<QAbstractButton>(name)->click(); }
    const QImage& Picture() { return Dialog().imgRadarogramma()->Picture(); }
    // Every sample of the file, trace after trace, as a new read of the file finds them.
    std::vector<float> FileSamples() {
        Run("acnReadFile");
        std::vector<float> all;
        for (std::uint32_t t = 0; t < Model().Header().TraceCount; ++t) {
            const std::span<const float> row = std::as_const(Model()).Samples(t);
            all.insert(all.end(), row.begin(), row.end());
        }
        return all;
    }
    // The one message box of an operation that succeeded, after the question of one that wipes
    // the whole profile (answered OK).
    void ExpectMessage(const QString& text, const QString& caption) {
        const bool asked = !platform_->Calls.empty() &&
                           platform_->Calls.front().Buttons == TMsgButtons::OkCancel &&
                           platform_->Calls.front().Caption == caption;
        QCOMPARE(platform_->Calls.size(), std::size_t{asked ? 2u : 1u});
        QCOMPARE(platform_->Last().Kind, TKind::MessageBox);
        QCOMPARE(platform_->Last().Text, text);
        QCOMPARE(platform_->Last().Caption, caption);
        QCOMPARE(platform_->Last().Buttons, TMsgButtons::Ok);
        QCOMPARE(platform_->Last().Icon, TMsgIcon::Exclamation);
    }

  private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void init() {
        file_ = dir_.filePath(QStringLiteral("profile.GPR2"));
        platform_ = std::make_unique<TFakePlatform>();
        form_ = std::make_unique<TFmMainForm>(
            *platform_, QFile::encodeName(dir_.filePath(QStringLiteral("o.ini"))).toStdString());
        form_->CreateDialogs();
    }

    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    // --- the dialog as built ---

    void spinEditsStartAsBuilt_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("minValue");
        QTest::addColumn<int>("maxValue");
        QTest::addColumn<int>("increment");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("hint");
        QTest::newRow("first trace")
            << "stxtTraceFirst" << 0 << 0 << 1 << "0" << true
            << QStringLiteral("Минимальная трасса, ограничивающая окно фильтрации");
        QTest::newRow("last trace")
            << "stxtTraceLast" << 0 << 200000 << 1 << "0" << true
            << QStringLiteral("Максимальная трасса, ограничивающая окно фильтрации");
        QTest::newRow("first sample")
            << "stxtSampleFirst" << 0 << 510 << 1 << "0" << true
            << QStringLiteral("Минимальный отсчет, ограничивающий окно фильтрации");
        QTest::newRow("last sample")
            << "stxtSampleLast" << 0 << 511 << 1 << "511" << true
            << QStringLiteral("Максимальный отсчет, ограничивающий окно фильтрации");
        QTest::newRow("gain below") << "stxtGainForMin" << 0 << 100000 << 50 << "0" << true << "";
        QTest::newRow("gain above") << "stxtGainForMax" << 0 << 100000 << 50 << "0" << false << "";
        QTest::newRow("gain from") << "stxtGainForMiddleMin" << 0 << 0 << 50 << "0" << false << "";
        QTest::newRow("gain to") << "stxtGainForMiddleMax" << 0 << 0 << 50 << "0" << false << "";
        QTest::newRow("max level") << "stxtMaxAmplitude" << 0 << 0 << 50 << "0" << true << "";
        QTest::newRow("min level") << "stxtMinAmplitude" << 0 << 10000 << 50 << "0" << true << "";
    }
    void spinEditsStartAsBuilt() {
        QFETCH(QString, name);
        QFETCH(int, minValue);
        QFETCH(int, maxValue);
        QFETCH(int, increment);
        QFETCH(QString, text);
        QFETCH(bool, enabled);
        QFETCH(QString, hint);
        auto* edit = Dialog().findChild<TSpinEdit*>(name);
        QVERIFY(edit);
        QCOMPARE(edit->MinValue(), minValue);
        QCOMPARE(edit->MaxValue(), maxValue);
        QCOMPARE(edit->Increment(), increment);
        QCOMPARE(edit->Text(), text);
        QCOMPARE(edit->isEnabled(), enabled);
        QCOMPARE(edit->toolTip(), hint);
    }

    void buttonsStartAsBuilt_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("checked");
        QTest::newRow("whole") << "rbtnWindowFull" << QStringLiteral("Вся радарограмма") << true;
        QTest::newRow("fragment") << "rbtnWindowFragment" << QStringLiteral("Фрагмент радарограммы")
                                  << false;
        QTest::newRow("below") << "rbtnGainForMin" << QStringLiteral("Амплитуда которых меньше:")
                               << true;
        QTest::newRow("above") << "rbtnGainForMax" << QStringLiteral("Амплитуда которых больше:")
                               << false;
        QTest::newRow("between") << "rbtnGainForMiddle"
                                 << QStringLiteral("Амплитуда которых в диапазоне:") << false;
        QTest::newRow("gain") << "bbtnGain" << QStringLiteral("Усилить") << false;
        QTest::newRow("min box") << "chkMinAmplitude"
                                 << QStringLiteral("Минимальный уровень сигнала") << true;
        QTest::newRow("max box") << "chkMaxAmplitude"
                                 << QStringLiteral("Максимальный уровень сигнала") << true;
        QTest::newRow("cut") << "bbtnCutAmplitude" << QStringLiteral("Обрезать") << false;
        QTest::newRow("find") << "btnFindMinMaxAmplitude"
                              << QStringLiteral("Определить минимальную и максимальную амплитуду")
                              << false;
        QTest::newRow("zero min") << "bbtnZeroMinAmplitude" << QStringLiteral("обнулить") << false;
        QTest::newRow("zero max") << "bbtnZeroMaxAmplitude" << QStringLiteral("обнулить") << false;
        QTest::newRow("zero traces") << "bbtnZeroTraces" << QStringLiteral("Обнулить") << false;
        QTest::newRow("close") << "btnClose" << QStringLiteral("Закрыть") << false;
    }
    void buttonsStartAsBuilt() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(bool, checked);
        auto* button = Dialog().findChild<QAbstractButton*>(name);
        QVERIFY(button);
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->isChecked(), checked);
        // Enter in a field runs no operation.
        if (auto* push = qobject_cast<QPushButton*>(button)) {
            QVERIFY(!push->autoDefault());
            QVERIFY(!push->isDefault());
        }
    }

    void fieldsAndDisplayStartAsBuilt() {
        const auto* pages = Child<QTabWidget>("PageControl1");
        QVERIFY(pages);
        QCOMPARE(pages->count(), 3);
        QCOMPARE(pages->tabText(0), QStringLiteral("Усиление"));
        QCOMPARE(pages->tabText(1), QStringLiteral("Обрезка амплитуд"));
        QCOMPARE(pages->tabText(2), QStringLiteral("Обнуление трасс"));
        QCOMPARE(pages->size(), QSize(721, 329));

        const QList<std::pair<const char*, QString>> edits = {{"ltxtGain", "0"},
                                                              {"ltxtSampleWithMinAmplitude", ""},
                                                              {"ltxtSampleWithMaxAmplitude", ""},
                                                              {"ltxtZeroTraceBegin", "0"},
                                                              {"ltxtZeroTraceEnd", "0"}};
        for (const auto& [name, text] : edits) {
            auto* edit = Child<QLineEdit>(name);
            QVERIFY2(edit, name);
            QCOMPARE(edit->text(), text);
        }
        // The trace range takes digits only.
        auto* begin = Child<QLineEdit>("ltxtZeroTraceBegin");
        begin->clear();
        QTest::keyClicks(begin, QStringLiteral("1-a.2"));
        QCOMPARE(begin->text(), QStringLiteral("12"));

        const QString noPosition = QStringLiteral("Трасса №_____/Отсчет №_____");
        QCOMPARE(Child<QLabel>("lblSampleWithMinAmplitude")->text(), noPosition);
        QCOMPARE(Child<QLabel>("lblSampleWithMaxAmplitude")->text(), noPosition);

        QProgressBar* bar = Dialog().pbarProgress();
        QCOMPARE(bar, Child<QProgressBar>("pbarProgress"));
        QVERIFY(bar->isHidden());
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 100);
        QCOMPARE(bar->width(), 694);
        QLabel* percent = Dialog().lblProcentDone();
        QCOMPARE(percent, Child<QLabel>("lblProcentDone"));
        QVERIFY(!percent->isHidden());
        QCOMPARE(percent->text(), QStringLiteral("0%"));

        TPreviewImage* preview = Dialog().imgRadarogramma();
        QCOMPARE(preview, Child<TPreviewImage>("imgRadarogramma"));
        QCOMPARE(preview->size(), QSize(309, 160));
        QCOMPARE(Picture().size(), QSize(309, 160));
    }

    void everyControlFitsItsTab() {
        ShowDialog();
        auto* pages = Child<QTabWidget>("PageControl1");
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            for (QWidget* control : pages->widget(i)->findChildren<QWidget*>()) {
                if (control->objectName().isEmpty() || !control->isVisible()) continue;
                QVERIFY2(control->visibleRegion().boundingRect() == control->rect(),
                         qPrintable(control->objectName()));
            }
        }
    }

    // --- the processing window ---

    void withoutAFileTheWindowKeepsItsFields() {
        ShowDialog();
        QCOMPARE(WindowTexts(WindowFields()), (QStringList{"0", "0", "0", "511"}));
        for (TSpinEdit* field : WindowFields()) QVERIFY(field->isEnabled());
        // Activation paints the blank picture gray.
        QVERIFY(QTest::qWaitForWindowActive(&Dialog()));
        QCOMPARE(CountPixels(Picture(), kGray, Picture().rect()), 309 * 160);

        Spin("stxtSampleLast")->SetText(QStringLiteral("100"));
        QCOMPARE(CountPixels(Picture(), kGray, Picture().rect()), 309 * 160);  // no redraw
        Child<QRadioButton>("rbtnWindowFragment")->click();
        QCOMPARE(WindowTexts(WindowFields()), (QStringList{"0", "0", "0", "0"}));
        Spin("stxtTraceLast")->SetText(QStringLiteral("7"));
        Child<QRadioButton>("rbtnWindowFull")->click();
        QCOMPARE(WindowTexts(WindowFields()), (QStringList{"0", "0", "0", "0"}));
        for (TSpinEdit* field : WindowFields()) QVERIFY(field->isEnabled());
        QVERIFY(platform_->Calls.empty());
    }

    void wholeAndFragmentWindowOfALoadedFile() {
        Generate(2000, 512);
        Open();
        ShowDialog();
        QCOMPARE(WindowTexts(WindowFields()), (QStringList{"0", "1999", "0", "511"}));
        for (TSpinEdit* field : WindowFields()) QVERIFY(!field->isEnabled());

        Child<QRadioButton>("rbtnWindowFragment")->click();
        QCOMPARE(WindowTexts(WindowFields()), (QStringList{"0", "1999", "0", "511"}));
        for (TSpinEdit* field : WindowFields()) QVERIFY(field->isEnabled());

        // Shown again while visible: only brought to the front, the fields stay as typed.
        SetWindow({"10", "20", "30", "40"});
        Run("acnRegulationAmplitude");
        QCOMPARE(WindowTexts(WindowFields()), (QStringList{"10", "20", "30", "40"}));

        // Closed and shown anew with a fragment chosen: the four fields start from 0.
        Click("btnClose");
        QVERIFY(!Dialog().isVisible());
        QCOMPARE(WindowTexts(WindowFields()), (QStringList{"10", "20", "30", "40"}));
        ShowDialog();
        QCOMPARE(WindowTexts(WindowFields()), (QStringList{"0", "0", "0", "0"}));
        for (TSpinEdit* field : WindowFields()) QVERIFY(field->isEnabled());

        Child<QRadioButton>("rbtnWindowFull")->click();
        QCOMPARE(WindowTexts(WindowFields()), (QStringList{"0", "1999", "0", "511"}));
        for (TSpinEdit* field : WindowFields()) QVERIFY(!field->isEnabled());
        QVERIFY(platform_->Calls.empty());
    }

    void previewDrawsTheWindowFrame_data() {
        QTest::addColumn<quint32>("traces");
        QTest::addColumn<QStringList>("window");
        QTest::addColumn<QList<int>>("columns");  // of the vertical lines
        QTest::addColumn<QList<int>>("rows");     // of the horizontal lines
        QTest::newRow("fragment") << 1000u << QStringList{"250", "750", "0", "511"}
                                  << QList<int>{77, 231} << QList<int>{0, 149};
        QTest::newRow("first sample below the picture")
            << 1000u << QStringList{"0", "999", "510", "511"} << QList<int>{0, 308}
            << QList<int>{149};
        QTest::newRow("fractions truncated")
            << 2000u << QStringList{"1000.9", "1999", "-0.5", "300"} << QList<int>{154, 308}
            << QList<int>{0, 87};
    }
    void previewDrawsTheWindowFrame() {
        QFETCH(quint32, traces);
        QFETCH(QStringList, window);
        QFETCH(QList<int>, columns);
        QFETCH(QList<int>, rows);
        Generate(traces, 512);
        Open();
        ShowDialog();
        Child<QRadioButton>("rbtnWindowFragment")->click();
        SetWindow(window);

        const QImage& picture = Picture();
        // Row 80 and column 150 cross only the frame lines.
        QCOMPARE(RedInRow(picture, 80), LinePixels(columns));
        QCOMPARE(RedInColumn(picture, 150), LinePixels(rows));
        QCOMPARE(CountPixels(picture, kGray, picture.rect()) +
                     CountPixels(picture, kRed, picture.rect()) +
                     CountPixels(picture, kBlack, picture.rect()),
                 309 * 160);
        QVERIFY(platform_->Calls.empty());
    }

    void previewWritesTheTextsBesideTheLines() {
        Generate(1000, 512);
        Open();
        ShowDialog();
        Child<QRadioButton>("rbtnWindowFragment")->click();
        SetWindow({"250", "750", "0", "511"});
        const QImage& picture = Picture();
        // Each text sits on a gray box from its corner: "250" at (77, 0) hides the top of its
        // own line, "750" at (206, 0), "0" at (0, 0), "511" at (0, 142) over the left end of
        // the last-sample line.
        const struct {
            QPoint Corner;
            int Width;
        } texts[] = {{{77, 2}, 14}, {{206, 2}, 14}, {{0, 2}, 4}, {{0, 144}, 14}};
        for (const auto& text : texts) {
            const QRect box(text.Corner, QSize(text.Width, 8));
            QVERIFY(CountPixels(picture, kBlack, box) > 0);
            QCOMPARE(CountPixels(picture, kRed, box), 0);
        }
        QCOMPARE(picture.pixel(77, 30), kRed);  // the line below its text
        QCOMPARE(picture.pixel(200, 149), kRed);
        QCOMPARE(CountPixels(picture, kBlack, QRect(100, 20, 100, 100)), 0);
    }

    void previewStopsAtAFieldThatIsNotANumber() {
        Generate(1000, 512);
        Open();
        ShowDialog();
        Child<QRadioButton>("rbtnWindowFragment")->click();
        SetWindow({"250", "750", "0", "511"});
        Spin("stxtSampleFirst")->SetText(QStringLiteral("-"));
        QCOMPARE(platform_->Calls.size(), std::size_t{1});
        QCOMPARE(platform_->Last().Kind, TKind::ShowError);
        QCOMPARE(platform_->Last().Text, QStringLiteral("'-' is not a valid floating point value"));
        // The trace lines were drawn before the failing field, the sample lines not.
        QCOMPARE(RedInRow(Picture(), 80), LinePixels({77, 231}));
        QCOMPARE(RedInColumn(Picture(), 150), QList<int>{});

        // An empty field does not redraw at all.
        platform_->Clear();
        const QImage before = Picture();
        Spin("stxtTraceLast")->SetText(QString());
        QCOMPARE(Picture(), before);
        QVERIFY(platform_->Calls.empty());
    }

    void activationGraysTheRegionAroundTheCorner() {
        Generate(1000, 512);
        Open();
        ShowDialog();
        Child<QRadioButton>("rbtnWindowFragment")->click();
        // The last trace's line at x = 1 passes (1, 1); the first trace's line at x = 154 is
        // apart from it, and both sample lines lie below the picture.
        SetWindow({"500", "4", "510", "600"});
        QCOMPARE(Picture().pixel(1, 1), kRed);
        QCOMPARE(RedInRow(Picture(), 80), LinePixels({1, 154}));
        Dialog().FormActivate();
        QCOMPARE(RedInRow(Picture(), 80), LinePixels({154}));
        QCOMPARE(CountPixels(Picture(), kRed, QRect(0, 0, 2, 160)), 0);
    }

    void fileWithoutTraces() {
        Generate(0, 512);
        Open();
        ShowDialog();
        QCOMPARE(WindowTexts(WindowFields()), (QStringList{"0", "4294967295", "0", "511"}));
        QCOMPARE(CountPixels(Picture(), kGray, Picture().rect()), 309 * 160);
        const QByteArray before = FileBytes(file_);

        Click("bbtnGain");
        ExpectMessage(QStringLiteral("Амплитуды усилены"), QStringLiteral("Усиление амплитуд"));
        platform_->Clear();
        Click("bbtnCutAmplitude");
        ExpectMessage(QStringLiteral("Амплитуды отсчетов обрезаны до заданного уровня"),
                      QStringLiteral("Обрезка амплитуд"));
        platform_->Clear();
        Click("bbtnZeroTraces");
        ExpectMessage(QStringLiteral("Амплитуды заданных трасс успешно обнулены"),
                      QStringLiteral("Обнуление трасс"));
        platform_->Clear();
        Click("btnFindMinMaxAmplitude");
        QCOMPARE(Child<QLineEdit>("ltxtSampleWithMinAmplitude")->text(),
                 QStringLiteral("30000000"));
        QCOMPARE(Child<QLineEdit>("ltxtSampleWithMaxAmplitude")->text(), QStringLiteral("0"));
        QVERIFY(platform_->Calls.empty());
        QCOMPARE(FileBytes(file_), before);
    }

    // --- mode and level fields ---

    void gainModesEnableTheirThresholds_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QList<bool>>("enabled");  // below, above, from, to
        QTest::newRow("above") << "rbtnGainForMax" << QList<bool>{false, true, false, false};
        QTest::newRow("between") << "rbtnGainForMiddle" << QList<bool>{false, false, true, true};
        QTest::newRow("below") << "rbtnGainForMin" << QList<bool>{true, false, false, false};
    }
    void gainModesEnableTheirThresholds() {
        QFETCH(QString, mode);
        QFETCH(QList<bool>, enabled);
        // Start from another mode, so that the chosen one is a change.
        Child<QRadioButton>(mode == "rbtnGainForMax" ? "rbtnGainForMiddle" : "rbtnGainForMax")
            ->click();
        Spin("stxtGainForMin")->SetText(QStringLiteral("150"));
        Dialog().findChild<QRadioButton*>(mode)->click();
        const QList<TSpinEdit*> fields = {Spin("stxtGainForMin"), Spin("stxtGainForMax"),
                                          Spin("stxtGainForMiddleMin"),
                                          Spin("stxtGainForMiddleMax")};
        for (int i = 0; i < 4; ++i) QCOMPARE(fields[i]->isEnabled(), enabled[i]);
        QCOMPARE(Spin("stxtGainForMin")->Text(), QStringLiteral("150"));  // kept while disabled
    }

    void levelBoxesEnableTheirLevels() {
        for (const char* box : {"chkMinAmplitude", "chkMaxAmplitude"}) {
            TSpinEdit* level = Spin(QByteArray(box) == "chkMinAmplitude" ? "stxtMinAmplitude"
                                                                         : "stxtMaxAmplitude");
            Click(box);
            QVERIFY(!level->isEnabled());
            Click(box);
            QVERIFY(level->isEnabled());
        }
    }

    // --- the operations ---

    void gainChangesTheQualifyingSamples_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("threshold");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<QString>("factor");
        QTest::addColumn<QList<float>>("samples");
        QTest::addColumn<QList<float>>("expected");
        QTest::newRow("start values")
            << "rbtnGainForMin"
            << "0"
            << ""
            << "0" << QList<float>{-99.5f, 5.0f} << QList<float>{-99.5f, 5.0f};
        QTest::newRow("below") << "rbtnGainForMin"
                               << "100"
                               << ""
                               << "2" << QList<float>{-99.5f, 100.0f, -150.0f}
                               << QList<float>{-199.0f, 100.0f, -150.0f};
        QTest::newRow("above") << "rbtnGainForMax"
                               << "1000"
                               << ""
                               << "0.5" << QList<float>{1000.0f, -2000.0f}
                               << QList<float>{1000.0f, -1000.0f};
        QTest::newRow("between") << "rbtnGainForMiddle"
                                 << "10"
                                 << "20"
                                 << "-1" << QList<float>{10.0f, 20.0f, 15.0f}
                                 << QList<float>{10.0f, 20.0f, -15.0f};
        QTest::newRow("negative thresholds")
            << "rbtnGainForMiddle"
            << "-10"
            << "-20"
            << "-1" << QList<float>{10.0f, 20.0f, 15.0f} << QList<float>{10.0f, 20.0f, -15.0f};
    }
    void gainChangesTheQualifyingSamples() {
        QFETCH(QString, mode);
        QFETCH(QString, threshold);
        QFETCH(QString, upper);
        QFETCH(QString, factor);
        QFETCH(QList<float>, samples);
        QFETCH(QList<float>, expected);
        OpenWithSamples(6, 16, samples);
        ShowDialog();
        Dialog().findChild<QRadioButton*>(mode)->click();
        if (mode == "rbtnGainForMin") Spin("stxtGainForMin")->SetText(threshold);
        if (mode == "rbtnGainForMax") Spin("stxtGainForMax")->SetText(threshold);
        if (mode == "rbtnGainForMiddle") {
            Spin("stxtGainForMiddleMin")->SetText(threshold);
            Spin("stxtGainForMiddleMax")->SetText(upper);
        }
        Child<QLineEdit>("ltxtGain")->setText(factor);
        Click("bbtnGain");

        ExpectMessage(QStringLiteral("Амплитуды усилены"), QStringLiteral("Усиление амплитуд"));
        QVERIFY(Dialog().pbarProgress()->isHidden());
        std::vector<float> want(6 * 16, 0.0f);
        std::ranges::copy(expected, want.begin());
        QCOMPARE(FileSamples(), want);
    }

    void gainWorksInsideTheWindow_data() {
        QTest::addColumn<QStringList>("window");
        QTest::addColumn<QList<int>>("traces");   // first and last doubled trace, or none
        QTest::addColumn<QList<int>>("samples");  // first and last doubled sample
        QTest::addColumn<QList<int>>("progress");
        QTest::newRow("fragment") << QStringList{"1", "3", "2", "4"} << QList<int>{1, 3}
                                  << QList<int>{2, 4} << QList<int>{50, 100};
        QTest::newRow("beyond the file")
            << QStringList{"4", "200000", "14", "511"} << QList<int>{4, 5} << QList<int>{14, 15}
            << QList<int>{100};
        QTest::newRow("single trace") << QStringList{"2", "2", "0", "511"} << QList<int>{2, 2}
                                      << QList<int>{0, 15} << QList<int>{};
        QTest::newRow("first after last")
            << QStringList{"3", "1", "0", "511"} << QList<int>{} << QList<int>{} << QList<int>{};
    }
    void gainWorksInsideTheWindow() {
        QFETCH(QStringList, window);
        QFETCH(QList<int>, traces);
        QFETCH(QList<int>, samples);
        QFETCH(QList<int>, progress);
        OpenWithSamples(6, 16);
        for (std::uint32_t t = 0; t < 6; ++t) std::ranges::fill(Model().Samples(t), 1.0f);
        Run("acnWriteFile");
        ShowDialog();
        Child<QRadioButton>("rbtnWindowFragment")->click();
        SetWindow(window);
        Child<QRadioButton>("rbtnGainForMax")->click();
        Child<QLineEdit>("ltxtGain")->setText(QStringLiteral("2"));
        QList<int> positions;
        QProgressBar* bar = Dialog().pbarProgress();
        QObject guard;
        connect(bar, &QProgressBar::valueChanged, &guard, [&positions, bar](int value) {
            if (!bar->isHidden()) positions << value;  // seen only while the bar shows
        });
        Click("bbtnGain");

        ExpectMessage(QStringLiteral("Амплитуды усилены"), QStringLiteral("Усиление амплитуд"));
        QCOMPARE(positions, progress);
        std::vector<float> want(6 * 16, 1.0f);
        for (int t = traces.value(0, 1); t <= traces.value(1, 0); ++t)
            for (int s = samples[0]; s <= samples[1]; ++s) want[t * 16 + s] = 2.0f;
        QCOMPARE(FileSamples(), want);
    }

    void cutClipsAndSilences_data() {
        QTest::addColumn<bool>("clip");
        QTest::addColumn<QString>("maxLevel");
        QTest::addColumn<bool>("silence");
        QTest::addColumn<QString>("minLevel");
        QTest::addColumn<QList<float>>("samples");
        QTest::addColumn<QList<float>>("expected");  // compared bit for bit
        QTest::newRow("start values")
            << true << "0" << true << "0" << QList<float>{250.0f, -250.0f, 0.0f, -0.5f}
            << QList<float>{0.0f, -0.0f, 0.0f, -0.0f};
        QTest::newRow("clip") << true << "100" << false << "0"
                              << QList<float>{250.0f, -250.0f, 100.0f, -99.0f}
                              << QList<float>{100.0f, -100.0f, 100.0f, -99.0f};
        QTest::newRow("silence") << false << "0" << true << "50"
                                 << QList<float>{49.9f, -49.9f, 50.0f, -50.0f}
                                 << QList<float>{0.0f, 0.0f, 50.0f, -50.0f};
        QTest::newRow("both") << true << "100" << true << "200"
                              << QList<float>{250.0f, -250.0f, 150.0f, -5.0f}
                              << QList<float>{0.0f, 0.0f, 0.0f, 0.0f};
        QTest::newRow("negative level")
            << true << "-100" << false << "0" << QList<float>{250.0f, -250.0f, 50.0f}
            << QList<float>{-100.0f, 100.0f, 50.0f};
        QTest::newRow("neither") << false << "0" << false << "0" << QList<float>{250.0f, -250.0f}
                                 << QList<float>{250.0f, -250.0f};
    }
    void cutClipsAndSilences() {
        QFETCH(bool, clip);
        QFETCH(QString, maxLevel);
        QFETCH(bool, silence);
        QFETCH(QString, minLevel);
        QFETCH(QList<float>, samples);
        QFETCH(QList<float>, expected);
        OpenWithSamples(4, 8, samples);
        ShowDialog();
        Child<QCheckBox>("chkMaxAmplitude")->setChecked(clip);
        Child<QCheckBox>("chkMinAmplitude")->setChecked(silence);
        Spin("stxtMaxAmplitude")->SetText(maxLevel);
        Spin("stxtMinAmplitude")->SetText(minLevel);
        Click("bbtnCutAmplitude");

        ExpectMessage(QStringLiteral("Амплитуды отсчетов обрезаны до заданного уровня"),
                      QStringLiteral("Обрезка амплитуд"));
        QVERIFY(Dialog().pbarProgress()->isHidden());
        std::vector<std::uint32_t> want(4 * 8, 0);
        for (int i = 0; i < expected.size(); ++i)
            want[i] = std::bit_cast<std::uint32_t>(expected[i]);
        std::vector<std::uint32_t> got;
        for (float value : FileSamples()) got.push_back(std::bit_cast<std::uint32_t>(value));
        QCOMPARE(got, want);
    }

    void zeroTracesZeroesTheRange_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QList<int>>("zeroed");
        QTest::addColumn<QList<int>>("progress");
        QTest::addColumn<QString>("label");  // lblProcentDone afterwards, hidden
        QTest::newRow("three traces")
            << "3"
            << "5" << QList<int>{3, 4, 5} << QList<int>{30, 40, 50} << "50%";
        QTest::newRow("last before first") << "7"
                                           << "2" << QList<int>{} << QList<int>{} << "0%";
        QTest::newRow("beyond the file")
            << "8"
            << "400000" << QList<int>{8, 9} << QList<int>{80, 90} << "90%";
    }
    void zeroTracesZeroesTheRange() {
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(QList<int>, zeroed);
        QFETCH(QList<int>, progress);
        QFETCH(QString, label);
        OpenWithSamples(10, 8);
        for (std::uint32_t t = 0; t < 10; ++t) std::ranges::fill(Model().Samples(t), 3.0f);
        Run("acnWriteFile");
        ShowDialog();
        Child<QLineEdit>("ltxtZeroTraceBegin")->setText(first);
        Child<QLineEdit>("ltxtZeroTraceEnd")->setText(last);
        QList<int> positions;
        QObject guard;
        QProgressBar* bar = Dialog().pbarProgress();
        QLabel* percent = Dialog().lblProcentDone();
        // Seen only while both show.
        connect(bar, &QProgressBar::valueChanged, &guard, [&positions, bar, percent](int value) {
            if (!bar->isHidden() && !percent->isHidden()) positions << value;
        });
        Click("bbtnZeroTraces");

        ExpectMessage(QStringLiteral("Амплитуды заданных трасс успешно обнулены"),
                      QStringLiteral("Обнуление трасс"));
        QCOMPARE(positions, progress);
        QCOMPARE(percent->text(), label);
        QVERIFY(Dialog().pbarProgress()->isHidden());
        QVERIFY(percent->isHidden());
        std::vector<float> want(10 * 8, 3.0f);
        for (int t : zeroed) std::fill_n(want.begin() + t * 8, 8, 0.0f);
        QCOMPARE(FileSamples(), want);
    }

    void findExtremesFillsTheFields_data() {
        QTest::addColumn<QList<float>>("samples");
        QTest::addColumn<QString>("minText");
        QTest::addColumn<QString>("minPosition");
        QTest::addColumn<QString>("maxText");
        QTest::addColumn<QString>("maxPosition");
        const QString before = QStringLiteral("Трасса №_____/Отсчет №_____");
        QTest::newRow("ties to the first") << QList<float>{0.0f, -3.0f, 0.5f, 3.0f} << "0.5"
                                           << QStringLiteral("Трасса № 0 / Отсчет №2") << "3"
                                           << QStringLiteral("Трасса № 0 / Отсчет №1");
        QTest::newRow("widened from single precision")
            << QList<float>{0.0f, 0.0f, 0.1f} << "0.100000001490116"
            << QStringLiteral("Трасса № 0 / Отсчет №2") << "0.100000001490116"
            << QStringLiteral("Трасса № 0 / Отсчет №2");
        QTest::newRow("all zero") << QList<float>{} << "30000000" << before << "0" << before;
    }
    void findExtremesFillsTheFields() {
        QFETCH(QList<float>, samples);
        QFETCH(QString, minText);
        QFETCH(QString, minPosition);
        QFETCH(QString, maxText);
        QFETCH(QString, maxPosition);
        OpenWithSamples(3, 8, samples);
        ShowDialog();
        const QByteArray before = FileBytes(file_);
        Click("btnFindMinMaxAmplitude");
        QCOMPARE(Child<QLineEdit>("ltxtSampleWithMinAmplitude")->text(), minText);
        QCOMPARE(Child<QLineEdit>("ltxtSampleWithMaxAmplitude")->text(), maxText);
        QCOMPARE(Child<QLabel>("lblSampleWithMinAmplitude")->text(), minPosition);
        QCOMPARE(Child<QLabel>("lblSampleWithMaxAmplitude")->text(), maxPosition);
        QVERIFY(Dialog().pbarProgress()->isHidden());
        QVERIFY(platform_->Calls.empty());
        QCOMPARE(FileBytes(file_), before);
    }

    void zeroMaxZeroesTheFirstLargest() {
        OpenWithSamples(3, 8, {0.0f, -3.0f, 0.5f, 3.0f});
        ShowDialog();
        Click("btnFindMinMaxAmplitude");
        Click("bbtnZeroMaxAmplitude");
        QVERIFY(platform_->Calls.empty());
        QVERIFY(Dialog().pbarProgress()->isHidden());
        std::vector<float> want(3 * 8, 0.0f);
        want[2] = 0.5f;
        want[3] = 3.0f;
        QCOMPARE(FileSamples(), want);
        // The search's results stay as they were.
        QCOMPARE(Child<QLabel>("lblSampleWithMaxAmplitude")->text(),
                 QStringLiteral("Трасса № 0 / Отсчет №1"));

        Click("bbtnZeroMaxAmplitude");
        want[3] = 0.0f;
        QCOMPARE(FileSamples(), want);
        // The button beside the minimum does nothing.
        const QByteArray before = FileBytes(file_);
        Click("bbtnZeroMinAmplitude");
        QCOMPARE(FileSamples(), want);
        QCOMPARE(FileBytes(file_), before);
        QVERIFY(platform_->Calls.empty());
    }

    void operationsWithoutAFileDoNothing_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("gain") << "bbtnGain";
        QTest::newRow("cut") << "bbtnCutAmplitude";
        QTest::newRow("zero traces") << "bbtnZeroTraces";
        QTest::newRow("find") << "btnFindMinMaxAmplitude";
        QTest::newRow("zero max") << "bbtnZeroMaxAmplitude";
    }
    void operationsWithoutAFileDoNothing() {
        QFETCH(QString, button);
        ShowDialog();
        Dialog().findChild<QAbstractButton*>(button)->click();
        QVERIFY(platform_->Calls.empty());
        QVERIFY(Dialog().pbarProgress()->isHidden());
        QVERIFY(Child<QLineEdit>("ltxtSampleWithMaxAmplitude")->text().isEmpty());
    }

    void invalidTextsChangeNothing_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        const QString notFloat = QStringLiteral("'%1' is not a valid floating point value");
        const QString notInteger = QStringLiteral("'%1' is not a valid integer value");
        QTest::newRow("threshold") << "bbtnGain"
                                   << "stxtGainForMin"
                                   << "-" << notFloat.arg("-");
        QTest::newRow("factor with a comma") << "bbtnGain"
                                             << "ltxtGain"
                                             << "1,5" << notFloat.arg("1,5");
        QTest::newRow("max level") << "bbtnCutAmplitude"
                                   << "stxtMaxAmplitude"
                                   << "" << notFloat.arg("");
        QTest::newRow("first trace") << "bbtnZeroTraces"
                                     << "ltxtZeroTraceBegin"
                                     << "" << notInteger.arg("");
        QTest::newRow("last trace") << "bbtnZeroTraces"
                                    << "ltxtZeroTraceEnd"
                                    << "99999999999" << notInteger.arg("99999999999");
    }
    void invalidTextsChangeNothing() {
        QFETCH(QString, button);
        QFETCH(QString, control);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Generate(6, 16);
        Open();
        ShowDialog();
        Child<QLineEdit>("ltxtGain")->setText(QStringLiteral("2"));
        Spin("stxtGainForMin")->SetText(QStringLiteral("100000"));  // every sample qualifies
        if (auto* spin = Dialog().findChild<TSpinEdit*>(control))
            spin->SetText(text);
        else
            Dialog().findChild<QLineEdit*>(control)->setText(text);
        const QByteArray before = FileBytes(file_);
        const std::vector<float> samples(std::as_const(Model()).Samples(0).begin(),
                                         std::as_const(Model()).Samples(5).end());
        const bool percentShown = !Dialog().lblProcentDone()->isHidden();
        Dialog().findChild<QAbstractButton*>(button)->click();

        QCOMPARE(platform_->Calls.size(), std::size_t{1});
        QCOMPARE(platform_->Last().Kind, TKind::ShowError);
        QCOMPARE(platform_->Last().Text, message);
        QCOMPARE(std::vector<float>(std::as_const(Model()).Samples(0).begin(),
                                    std::as_const(Model()).Samples(5).end()),
                 samples);
        QCOMPARE(FileBytes(file_), before);
        // A stopped trace zeroing hides its progress display as a finished one does; a stopped
        // gain or clipping leaves its bar where it stopped. Only the trace zeroing shows and
        // hides the percentage.
        QCOMPARE(Dialog().pbarProgress()->isHidden(), button == QLatin1String("bbtnZeroTraces"));
        QCOMPARE(!Dialog().lblProcentDone()->isHidden(),
                 percentShown && button != QLatin1String("bbtnZeroTraces"));
    }

    void failedSilencingKeepsTheWrittenClipping() {
        OpenWithSamples(4, 8, {250.0f, -250.0f});
        ShowDialog();
        Spin("stxtMaxAmplitude")->SetText(QStringLiteral("100"));
        Spin("stxtMinAmplitude")->SetText(QStringLiteral("-"));
        Click("bbtnCutAmplitude");
        QCOMPARE(platform_->Calls.size(), std::size_t{1});
        QCOMPARE(platform_->Last().Kind, TKind::ShowError);
        std::vector<float> want(4 * 8, 0.0f);
        want[0] = 100.0f;
        want[1] = -100.0f;
        QCOMPARE(FileSamples(), want);
    }

    // Wiping the whole profile takes a question that names the effect and the way back; a
    // cancel changes nothing, an OK does it and says so.
    void wipingEverythingAsksFirst_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("clip at 0, cancel") << "bbtnCutAmplitude" << false;
        QTest::newRow("clip at 0, OK") << "bbtnCutAmplitude" << true;
        QTest::newRow("zero all traces, cancel") << "bbtnZeroTraces" << false;
        QTest::newRow("zero all traces, OK") << "bbtnZeroTraces" << true;
    }
    void wipingEverythingAsksFirst() {
        QFETCH(QString, button);
        QFETCH(bool, confirm);
        Generate(6, 16);
        Open();
        ShowDialog();
        Child<QCheckBox>("chkMaxAmplitude")->setChecked(true);
        Spin("stxtMaxAmplitude")->SetText(QStringLiteral("0"));
        Child<QLineEdit>("ltxtZeroTraceBegin")->setText(QStringLiteral("0"));
        Child<QLineEdit>("ltxtZeroTraceEnd")->setText(QStringLiteral("5"));
        const QByteArray before = FileBytes(file_);
        platform_->MessageAnswers.push_back(confirm ? TMsgResult::Ok : TMsgResult::Cancel);
        Dialog().findChild<QAbstractButton*>(button)->click();

        QVERIFY(!platform_->Calls.empty());
        const auto& question = platform_->Calls.front();
        QCOMPARE(question.Buttons, TMsgButtons::OkCancel);
        QVERIFY(question.Text.contains(QStringLiteral("«Отменить»")));
        QVERIFY(question.Text.contains(button == QLatin1String("bbtnZeroTraces")
                                           ? QStringLiteral("все 6 трасс")
                                           : QStringLiteral("все отсчёты")));
        QCOMPARE(platform_->Calls.size(), std::size_t{confirm ? 2u : 1u});
        QCOMPARE(FileBytes(file_) == before, !confirm);
    }

    void aPartialZeroingAsksNothing() {
        Generate(6, 16);
        Open();
        ShowDialog();
        Child<QLineEdit>("ltxtZeroTraceBegin")->setText(QStringLiteral("1"));
        Child<QLineEdit>("ltxtZeroTraceEnd")->setText(QStringLiteral("5"));
        Click("bbtnZeroTraces");
        ExpectMessage(QStringLiteral("Амплитуды заданных трасс успешно обнулены"),
                      QStringLiteral("Обнуление трасс"));
        QCOMPARE(platform_->Calls.size(), std::size_t{1});
    }

    void failedWriteStandsAlone_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("gain") << "bbtnGain";
        QTest::newRow("cut with both stages") << "bbtnCutAmplitude";
        QTest::newRow("zero traces") << "bbtnZeroTraces";
        QTest::newRow("zero max") << "bbtnZeroMaxAmplitude";
    }
    void failedWriteStandsAlone() {
        QFETCH(QString, button);
        Generate(6, 16);
        Open();
        ShowDialog();
        Spin("stxtMaxAmplitude")->SetText(QStringLiteral("100"));  // no question before the write
        QVERIFY(QFile::remove(file_));
        Dialog().findChild<QAbstractButton*>(button)->click();
        QCOMPARE(platform_->Calls.size(), std::size_t{1});
        QCOMPARE(platform_->Last().Kind, TKind::ShowMessage);
        QCOMPARE(platform_->Last().Text, QStringLiteral("Невозможно записать файл"));
        QVERIFY(Dialog().pbarProgress()->isHidden());
    }
};

QTEST_MAIN(TestAmplitudeDialog)
#include "test_amplitude_dialog.moc"
