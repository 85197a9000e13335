#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "desktop/app/main_form.h"
#include "desktop/app/options_form.h"
#include "fake_platform.h"
#include "form_driver.h"
#include "radargram_generator.h"

using namespace trelvanox;

// Work the operator has done is never lost to one click: the file is rewritten only after a
// question, and a table goes out of the program and back in unchanged.
class TestLostWork : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<TFakePlatform> platform_;
    std::unique_ptr<TFmMainForm> form_;
    QString file_;

    QString EditCell(int col, int row) {
        return QString::fromUtf8(form_->NewLabelsGrid().Cell(col, row));
    }
    void Import(const QString& path) {
        platform_->OpenAnswers.push_back(path);
        RunAction(*form_, "acnImportTable");
    }

  private slots:
    void init() {
        QVERIFY(dir_.isValid());
        file_ = dir_.filePath(QStringLiteral("survey.GPR2"));
        QFile::remove(file_);
        TGeneratorOptions options;
        options.TraceCount = 40;
        options.SampleCount = 16;
        options.LabelEvery = 5;
        options.ShareWithoutText = 0;
        GenerateRadargram(QFile::encodeName(file_).toStdString(), options);
        platform_ = std::make_unique<TFakePlatform>();
        platform_->UseRealClipboard = false;
        form_ = std::make_unique<TFmMainForm>(
            *platform_, QFile::encodeName(dir_.filePath(QStringLiteral("s.ini"))).toStdString());
        form_->CreateDialogs();
        QVERIFY(OpenRadargram(*form_, *platform_, file_));
    }

    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    void deletingTheZeroDelimitersAsksAndReports_data() {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("cancel") << false;
        QTest::newRow("OK") << true;
    }
    void deletingTheZeroDelimitersAsksAndReports() {
        QFETCH(bool, confirm);
        const QByteArray before = FileBytes(file_);
        platform_->MessageAnswers.push_back(confirm ? TMsgResult::Ok : TMsgResult::Cancel);
        RunAction(*form_, "acnDeleteZeroDelimiter");
        QVERIFY(!platform_->Calls.empty());
        QCOMPARE(platform_->Calls.front().Buttons, TMsgButtons::OkCancel);
        QVERIFY(platform_->Calls.front().Text.contains(QStringLiteral("«Отменить»")));
        if (!confirm) {
            QCOMPARE(platform_->Calls.size(), std::size_t{1});
            QCOMPARE(FileBytes(file_), before);
            return;
        }
        QCOMPARE(platform_->Calls.size(), std::size_t{2});
        QCOMPARE(platform_->Last().Text, QStringLiteral("0-разделители удалены из файла."));
        QVERIFY(FileBytes(file_) != before);
        // And back, as promised.
        platform_->Clear();
        RunAction(*form_, "acnUndo");
        QCOMPARE(FileBytes(file_), before);
    }

    // The read-label table exported and imported again lands in the rows it left, as the table
    // transfer would put it.
    void anExportedTableImportsBack() {
        const QString table = dir_.filePath(QStringLiteral("метки.txt"));
        platform_->SaveAnswers.push_back(table);
        RunAction(*form_, "acnExportTable");
        QVERIFY(platform_->Messages().isEmpty());
        Import(table);
        QVERIFY2(platform_->Messages().isEmpty(), qPrintable(platform_->Messages().join('|')));
        const TStringGrid& read = form_->ReadLabelsGrid();
        for (int row = 1; row <= 8; ++row) {
            QCOMPARE(EditCell(0, row), QString::fromUtf8(read.Cell(0, row)));
            QCOMPARE(EditCell(1, row), QString::fromUtf8(read.Cell(2, row)));
            QCOMPARE(EditCell(2, row), QString::fromUtf8(read.Cell(3, row)));
            QVERIFY(!EditCell(3, row).isEmpty());
        }
        QVERIFY(EditCell(0, 9).isEmpty());
    }

    // Chosen on the page "Общие", the export writes UTF-8 (characters Windows-1251 lacks
    // included) and imports back as well.
    void anExportInUtf8KeepsEveryCharacter() {
        form_->ReadLabelsGrid().SetCell(2, 1, "Опора ✓");
        form_->FmOptions()->SetExportInUtf8(true);
        const QString table = dir_.filePath(QStringLiteral("utf8-export.txt"));
        platform_->SaveAnswers.push_back(table);
        RunAction(*form_, "acnExportTable");
        const QByteArray bytes = FileBytes(table);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QVERIFY(bytes.contains(QStringLiteral("Опора ✓").toUtf8()));
        Import(table);
        QCOMPARE(EditCell(1, 1), QStringLiteral("Опора ✓"));
        // The default stays Windows-1251.
        form_->FmOptions()->SetExportInUtf8(false);
        platform_->SaveAnswers.push_back(table);
        RunAction(*form_, "acnExportTable");
        QVERIFY(!FileBytes(table).startsWith("\xEF\xBB\xBF"));
        QVERIFY(FileBytes(table).contains("\xCE\xEF\xEE\xF0\xE0"));  // "Опора" in Windows-1251
    }

    void aUtf8TextImportsAsUtf8() {
        const QString path = dir_.filePath(QStringLiteral("utf8.txt"));
        QFile text(path);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write(QStringLiteral("№\tПодпись\tКоордината\tЦвет\n1\tОпора №3\t12.5\t2\n").toUtf8());
        text.close();
        Import(path);
        QCOMPARE(EditCell(1, 1), QStringLiteral("Опора №3"));
        QCOMPARE(EditCell(2, 1), QStringLiteral("12.5"));
    }
};

QTEST_MAIN(TestLostWork)
#include "test_lost_work.moc"
