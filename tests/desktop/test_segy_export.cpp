#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "desktop/app/main_form.h"
#include "desktop/exchange/segy_export_commands.h"
#include "desktop/widgets/ribbon.h"
#include "fake_platform.h"
#include "form_driver.h"
#include "radargram_generator.h"

using namespace trelvanox;

// "Экспорт в SEG-Y" through the real window: where it sits, the save dialog it asks, the files
// it writes, its progress on a large radargram and what the user is told.
class TestSegyExport : public QObject {
    Q_OBJECT

  private:
    using TKind = TFakePlatform::TCallKind;

    QTemporaryDir dir_;
    std::unique_ptr<TFakePlatform> platform_;
    std::unique_ptr<TFmMainForm> form_;

    QString Path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
    QProgressDialog* Bar() const {
        return form_->findChild<QProgressDialog*>(QStringLiteral("dlgExportSegyProgress"));
    }
    // Opens a generated radargram of that many traces of 16 samples.
    void Open(std::uint32_t traces) {
        TGeneratorOptions options;
        options.TraceCount = traces;
        options.SampleCount = 16;
        options.LabelEvery = 7;
        GenerateRadargram(QFileInfo(Path("профиль.GPR2")).filesystemFilePath(), options);
        QVERIFY(OpenRadargram(*form_, *platform_, Path("профиль.GPR2")));
    }
    QStringList Entries() const {
        return QDir(dir_.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

  private slots:
    void init() {
        QVERIFY(dir_.isValid());
        for (const QString& name : Entries()) QDir(dir_.path()).remove(name);
        platform_ = std::make_unique<TFakePlatform>();
        form_ = std::make_unique<TFmMainForm>(*platform_,
                                              QFile::encodeName(Path("s.ini")).toStdString());
        form_->CreateDialogs();
        QFile::remove(Path("s.ini"));
    }

    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    void sitsOnTheFileTabInTheGroupFile() {
        TRibbonTab* tab = nullptr;
        for (int i = 0; i < form_->Ribbon().TabCount(); ++i)
            if (form_->Ribbon().Tab(i)->Caption() == QStringLiteral("Файл"))
                tab = form_->Ribbon().Tab(i);
        QVERIFY(tab);
        TRibbonGroup* group = nullptr;
        for (int i = 0; i < tab->GroupCount(); ++i)
            if (tab->Group(i)->Caption() == QStringLiteral("Файл")) group = tab->Group(i);
        QVERIFY(group);
        QAction* action = form_->findChild<QAction*>(QStringLiteral("acnExportSegy"));
        QVERIFY(action);
        QCOMPARE(action->text(), QStringLiteral("Экспорт в SEG-Y"));
        QVERIFY(!action->icon().isNull());
        bool placed = false;
        for (QToolButton* button : group->findChildren<QToolButton*>())
            placed = placed || button->defaultAction() == action;
        QVERIFY(placed);
    }

    void writesTheChosenFileAndSaysWhere_data() {
        QTest::addColumn<int>("traces");
        QTest::newRow("small, no bar") << 40;
        QTest::newRow("large, with a bar") << static_cast<int>(kSegyProgressTraces);
    }
    void writesTheChosenFileAndSaysWhere() {
        QFETCH(int, traces);
        Open(static_cast<std::uint32_t>(traces));
        platform_->SaveAnswers.push_back(Path("выгрузка.sgy"));
        RunAction(*form_, "acnExportSegy");

        QCOMPARE(platform_->Calls.size(), std::size_t{2});
        const TFakePlatform::TRecorded& save = platform_->Calls[0];
        QCOMPARE(save.Kind, TKind::Save);
        // The radargram's own path with .sgy.
        QCOMPARE(QFileInfo(save.Request.ProposedName).absoluteFilePath(),
                 QFileInfo(Path("профиль.sgy")).absoluteFilePath());
        QCOMPARE(save.Request.DefaultExtension, QStringLiteral("sgy"));
        QVERIFY(save.Request.Filter.contains(QStringLiteral("*.sgy")));
        const TFakePlatform::TRecorded& done = platform_->Last();
        QCOMPARE(done.Kind, TKind::MessageBox);
        QCOMPARE(done.Caption, QStringLiteral("Экспорт в SEG-Y"));
        QCOMPARE(done.Icon, TMsgIcon::Information);
        QVERIFY2(done.Text.contains(Path("выгрузка.sgy")), qPrintable(done.Text));
        QVERIFY2(done.Text.contains(Path("выгрузка.labels.csv")), qPrintable(done.Text));

        QCOMPARE(QFileInfo(Path("выгрузка.sgy")).size(), 3600 + traces * (240 + 16 * 4));
        QVERIFY(QFileInfo(Path("выгрузка.labels.csv")).size() > 0);
        const bool large = static_cast<std::uint32_t>(traces) >= kSegyProgressTraces;
        QCOMPARE(Bar() != nullptr, large);
        if (large) {
            // Run to its end, then out of the way.
            QCOMPARE(Bar()->value(), 100);
            QVERIFY(!Bar()->isVisible());
        }
    }

    void cancelWritesNothing() {
        Open(40);
        const QStringList before = Entries();
        platform_->SaveAnswers.push_back(std::nullopt);
        RunAction(*form_, "acnExportSegy");
        QCOMPARE(platform_->Calls.size(), std::size_t{1});
        QCOMPARE(platform_->Last().Kind, TKind::Save);
        QCOMPARE(Entries(), before);
    }

    void withoutARadargramNothingIsAsked() {
        RunAction(*form_, "acnExportSegy");
        QCOMPARE(platform_->Calls.size(), std::size_t{1});
        QCOMPARE(platform_->Last().Kind, TKind::ShowMessage);
        QVERIFY(Entries().isEmpty());
    }

    void aFailedExportIsShownAndLeavesNoFile_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing folder")
            << QStringLiteral("нет/выгрузка.sgy") << QStringLiteral("Cannot create file");
        QTest::newRow("the radargram itself")
            << QStringLiteral("профиль.GPR2") << QStringLiteral("это файл самой радарограммы");
    }
    void aFailedExportIsShownAndLeavesNoFile() {
        QFETCH(QString, target);
        QFETCH(QString, message);
        Open(kSegyProgressTraces);
        const QStringList before = Entries();
        const QByteArray radargram = [&] {
            QFile file(Path("профиль.GPR2"));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        platform_->SaveAnswers.push_back(dir_.filePath(target));
        RunAction(*form_, "acnExportSegy");
        QCOMPARE(platform_->Last().Kind, TKind::ShowError);
        QVERIFY2(platform_->Last().Text.contains(message), qPrintable(platform_->Last().Text));
        QCOMPARE(Entries(), before);
        QFile file(Path("профиль.GPR2"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), radargram);
        if (Bar()) QVERIFY(!Bar()->isVisible());
    }
};

QTEST_MAIN(TestSegyExport)
#include "test_segy_export.moc"
