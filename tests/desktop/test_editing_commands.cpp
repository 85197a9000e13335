#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "desktop/app/main_form.h"
#include "desktop/header/header_edit_page.h"
#include "desktop/labels/insert_label_form.h"
#include "desktop/widgets/spin_edit.h"
#include "fake_platform.h"
#include "form_driver.h"
#include "model/text_field.h"
#include "radargram_generator.h"

using namespace trelvanox;

namespace {

using TKind = TFakePlatform::TCallKind;

const QString kNotRead = QStringLiteral("Невозможно записать файл. Файл не открыт или не прочитан");

QString Text(const char (&field)[kTextFieldSize]) {
    return QString::fromUtf8(ReadTextField(TConstTextField(field, kTextFieldSize)));
}

}  // namespace

// The commands that change the opened radargram, driven through the real window: what they
// ask, what they report, and what the file holds afterwards (the model is re-read from it).
class TestEditingCommands : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<TFakePlatform> platform_;
    std::unique_ptr<TFmMainForm> form_;
    QString file_;

    void Generate(std::uint32_t labelEvery, double shareWithoutText = 0.25) {
        TGeneratorOptions options;
        options.TraceCount = 40;
        options.SampleCount = 16;
        options.LabelEvery = labelEvery;
        options.ShareWithoutText = shareWithoutText;
        GenerateRadargram(QFile::encodeName(file_).toStdString(), options);
    }
    void Open() { QVERIFY(OpenRadargram(*form_, *platform_, file_)); }
    void Run(const char* action) { RunAction(*form_, action); }
    THeaderEditPage& Page() { return *form_->HeaderEditPage(); }
    const TRadarHeader& Header() { return form_->Model().Header(); }
    QString ReadCell(int col, int row) {
        return QString::fromUtf8(form_->ReadLabelsGrid().Cell(col, row));
    }
    void SetEditRow(int row, const char* text, const char* coord, const char* colour) {
        TStringGrid& grid = form_->NewLabelsGrid();
        grid.SetCell(1, row, text);
        grid.SetCell(2, row, coord);
        grid.SetCell(3, row, colour);
    }
    // The single message box of a successful command.
    void ExpectSuccess(const QString& text, const QString& caption) {
        QCOMPARE(platform_->Calls.size(), std::size_t{1});
        QCOMPARE(platform_->Last().Text, text);
        QCOMPARE(platform_->Last().Caption, caption);
        QCOMPARE(platform_->Last().Icon, TMsgIcon::Information);
    }

  private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void init() {
        file_ = dir_.filePath(QStringLiteral("profile.GPR2"));
        Generate(10);
        platform_ = std::make_unique<TFakePlatform>();
        form_ = std::make_unique<TFmMainForm>(
            *platform_, QFile::encodeName(dir_.filePath(QStringLiteral("o.ini"))).toStdString());
        form_->CreateDialogs();
    }

    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    void headerFieldsStartAsBuilt() {
        QVERIFY(!Page().txtEpsilon()->isEnabled());
        QVERIFY(Page().txtPK()->isEnabled());
        QCOMPARE(Page().cmbCommentary1()->count(), 13);
        QCOMPARE(Page().cmbCommentary3()->itemText(0), QStringLiteral("ДП32 (22 / 32)"));
        QVERIFY(Page().cmbCommentary2()->currentText().isEmpty());
        QCOMPARE(Page().btnChangeHeaderSets()->text(), QStringLiteral("Применить"));
        QCOMPARE(form_->seFirstRow()->Value(), 0);
    }

    void headerEditingStoresTheFields() {
        Open();
        Page().txtOperator()->setText(QStringLiteral("Петров"));
        Page().txtObject()->setText(QStringLiteral("Перегон 7"));
        Page().cmbCommentary1()->setCurrentIndex(12);
        Page().cmbCommentary3()->setCurrentIndex(0);
        Page().cmbCommentary2()->setEditText(QStringLiteral("свой текст"));
        Page().txtPK()->setText(QStringLiteral("12.5"));
        form_->Settings().ChangeEpsilon = true;
        Page().txtEpsilon()->setText(QStringLiteral("6.5"));
        Run("acnChangeHeaderSets");
        ExpectSuccess(QStringLiteral("Редактирование заголоака успешно завершено!"),
                      QStringLiteral("Редактирование заголовка радарограммы"));
        QCOMPARE(Text(Header().OperatorName), QStringLiteral("Петров"));
        QCOMPARE(Text(Header().ObjectName), QStringLiteral("Перегон 7"));
        QCOMPARE(Text(Header().Description1), QStringLiteral("междупутье"));
        QCOMPARE(Text(Header().Description2), QStringLiteral("свой текст"));
        QCOMPARE(Text(Header().Description3), QStringLiteral("ДП32 (22 / 32)"));
        QCOMPARE(Header().StartCoordinate, std::int64_t{1250000});
        QCOMPARE(Header().Permittivity, 6.5f);
    }

    void headerEditingRefusesABadNumberWholly_data() {
        QTest::addColumn<QString>("pk");
        QTest::addColumn<QString>("epsilon");
        QTest::addColumn<QString>("message");
        QTest::newRow("picket") << "abc"
                                << "6.5"
                                << "'abc' is not a valid floating point value";
        QTest::newRow("empty picket") << ""
                                      << "6.5"
                                      << "'' is not a valid floating point value";
        QTest::newRow("permittivity") << "3"
                                      << "x"
                                      << "'x' is not a valid floating point value";
    }
    void headerEditingRefusesABadNumberWholly() {
        QFETCH(QString, pk);
        QFETCH(QString, epsilon);
        QFETCH(QString, message);
        Open();
        const QByteArray before = FileBytes(file_);
        const std::string operatorBefore = ReadTextField(Header().OperatorName);
        Page().txtOperator()->setText(QStringLiteral("Сидоров"));
        Page().txtPK()->setText(pk);
        form_->Settings().ChangeEpsilon = true;
        Page().txtEpsilon()->setText(epsilon);
        Page().btnChangeHeaderSets()->click();
        QCOMPARE(platform_->Calls.size(), std::size_t{1});
        QCOMPARE(platform_->Last().Kind, TKind::ShowError);
        QCOMPARE(platform_->Last().Text, message);
        QCOMPARE(ReadTextField(Header().OperatorName), operatorBefore);
        QCOMPARE(FileBytes(file_), before);
    }

    void applyButtonEditsWritesAndFillsTheTable() {
        Open();
        form_->Settings().BasePKm = "1000";
        Page().txtPK()->setText(QStringLiteral("3"));
        Page().btnChangeHeaderSets()->click();
        ExpectSuccess(QStringLiteral("Редактирование заголоака успешно завершено!"),
                      QStringLiteral("Редактирование заголовка радарограммы"));
        QCOMPARE(Header().StartCoordinate, std::int64_t{3000000});
        // The table counts 100 m per picket whatever the base length.
        QCOMPARE(QString::fromUtf8(form_->HeaderGrid().Cell(2, 9)), QStringLiteral("30"));
    }

    void headerClearingAsksFirst_data() {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("ok") << true;
        QTest::newRow("cancel") << false;
    }
    void headerClearingAsksFirst() {
        QFETCH(bool, confirm);
        Open();
        const QByteArray before = FileBytes(file_);
        const QString antenna = Text(Header().AntennaName);
        const float permittivity = Header().Permittivity;
        platform_->MessageAnswers.push_back(confirm ? TMsgResult::Ok : TMsgResult::Cancel);
        Run("acnSetNoHeader");
        const TFakePlatform::TRecorded question = platform_->Calls.front();
        QCOMPARE(question.Caption, QStringLiteral("Удалеие данных заголовка"));
        QCOMPARE(question.Buttons, TMsgButtons::OkCancelHelp);
        QCOMPARE(question.Icon, TMsgIcon::Question);
        if (!confirm) {
            QCOMPARE(platform_->Calls.size(), std::size_t{1});
            QCOMPARE(FileBytes(file_), before);
            return;
        }
        QCOMPARE(platform_->Calls.size(), std::size_t{2});
        QCOMPARE(platform_->Last().Text, QStringLiteral("Данные из заголовка успешно удалены!"));
        QCOMPARE(platform_->Last().Caption, QStringLiteral("Удаление данных заголовка"));
        for (const auto* field :
             {&Header().OperatorName, &Header().ObjectName, &Header().Description1,
              &Header().Description2, &Header().Description3})
            QVERIFY(Text(*field).isEmpty());
        QCOMPARE(Header().StartCoordinate, std::int64_t{0});
        QCOMPARE(Text(Header().AntennaName), antenna);
        QCOMPARE(Header().Permittivity, permittivity);
    }

    void commandsWithoutAReadFileChangeNothing_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("asks");
        QTest::newRow("header") << "acnChangeHeaderSets" << false;
        QTest::newRow("clear header") << "acnSetNoHeader" << true;
        QTest::newRow("labels") << "acnChangeLabelSets" << false;
        QTest::newRow("positions") << "acnSetZeroPosition" << true;
        QTest::newRow("names") << "acnSetNoLabelText" << true;
    }
    void commandsWithoutAReadFileChangeNothing() {
        QFETCH(QString, action);
        QFETCH(bool, asks);
        form_->txtFileName()->setText(file_);
        const QByteArray before = FileBytes(file_);
        Run(action.toLatin1().constData());
        QCOMPARE(platform_->Calls.size(), std::size_t{asks ? 2u : 1u});
        QCOMPARE(platform_->Last().Text, kNotRead);
        QCOMPARE(FileBytes(file_), before);
    }

    void labelWriteBackFromTheFirstRow() {
        Generate(10, 0.0);  // traces 0, 10, 20, 30, all with text
        Open();
        SetEditRow(2, "Опора 1", "12", "1");
        SetEditRow(3, "Опора 2", "-7", "14");
        SetEditRow(4, "", "0", "15");
        SetEditRow(5, "Опора 4", "100", "0");
        form_->seFirstRow()->SetValue(2);
        Run("acnChangeLabelSets");
        ExpectSuccess(QStringLiteral("Редактирование меток успешно завершено!"),
                      QStringLiteral("Редактирование меток"));
        QCOMPARE(ReadCell(2, 1), QStringLiteral("Опора 1"));
        QCOMPARE(ReadCell(3, 2), QStringLiteral("-7"));
        QCOMPARE(ReadCell(4, 1), QStringLiteral("16711680"));
        QCOMPARE(ReadCell(4, 2), QStringLiteral("128"));
        QCOMPARE(ReadCell(4, 3), QStringLiteral("255"));
        QCOMPARE(ReadCell(2, 3), QString());
        QCOMPARE(form_->Model().TraceHeaders()[0].Coordinate, 12000);
    }

    void labelWriteBackRefusesATableThatDoesNotConvert() {
        Open();
        const QByteArray before = FileBytes(file_);
        const std::uint32_t labelCount = Header().LabelCount;
        // The first row left at 0 reads the titles.
        Run("acnChangeLabelSets");
        QCOMPARE(platform_->Calls.size(), std::size_t{1});
        QCOMPARE(platform_->Last().Caption, QStringLiteral("Ошибка типа данных"));
        QCOMPARE(platform_->Last().Icon, TMsgIcon::Stop);
        QCOMPARE(platform_->Last().Text,
                 QStringLiteral("Ошибка - 'Цвет метки(индекс)' is not a valid integer value.\n"
                                "Возможные ошибки:\n- таблица с параметрами меток не  "
                                "импортирована; \n- таблица содержит неправильные данные "
                                "(координаты меток и индекс цвета должны быть целыми числами)\n"
                                "- таблица содержит пустые ячейки"));
        QCOMPARE(FileBytes(file_), before);
        QCOMPARE(Header().LabelCount, labelCount);
    }

    void resetsAskFirst_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("done");
        QTest::addColumn<bool>("confirm");
        const QString positions = QStringLiteral("Сброс координат трасс");
        const QString names = QStringLiteral("Сброс названия меток");
        QTest::newRow("positions ok")
            << "acnSetZeroPosition" << positions << "Положения трасс успешно обнулены!" << true;
        QTest::newRow("positions cancel") << "acnSetZeroPosition" << positions << "" << false;
        QTest::newRow("names ok") << "acnSetNoLabelText" << names
                                  << "Подписи меток успешно сброшены!" << true;
        QTest::newRow("names cancel") << "acnSetNoLabelText" << names << "" << false;
    }
    void resetsAskFirst() {
        QFETCH(QString, action);
        QFETCH(QString, caption);
        QFETCH(QString, done);
        QFETCH(bool, confirm);
        Open();
        const QByteArray before = FileBytes(file_);
        const QString total = form_->ltxtNLabels()->text();
        platform_->MessageAnswers.push_back(confirm ? TMsgResult::Ok : TMsgResult::Cancel);
        Run(action.toLatin1().constData());
        QCOMPARE(platform_->Calls.front().Caption, caption);
        QCOMPARE(platform_->Calls.front().Buttons, TMsgButtons::OkCancel);
        QCOMPARE(platform_->Calls.front().Icon, TMsgIcon::Question);
        if (!confirm) {
            QCOMPARE(platform_->Calls.size(), std::size_t{1});
            QCOMPARE(FileBytes(file_), before);
            return;
        }
        QCOMPARE(platform_->Calls.size(), std::size_t{2});
        QCOMPARE(platform_->Last().Text, done);
        QCOMPARE(platform_->Last().Caption, caption);
        QCOMPARE(form_->ltxtNLabels()->text(), total);
        if (action == QStringLiteral("acnSetZeroPosition")) {
            QCOMPARE(ReadCell(3, 1), QStringLiteral("0"));
            QVERIFY(ReadCell(5, 1).endsWith(QStringLiteral("+00")));
        } else {
            QCOMPARE(ReadCell(2, 2), QString());
        }
    }

    void insertionOnAFileWithoutLabels() {
        Generate(0);
        Open();
        TFmInsertLabel& dialog = *form_->FmInsertLabel();
        dialog.chkInsertFirstLabel()->setChecked(true);
        dialog.chkInsertLastLabel()->setChecked(true);
        dialog.chkInsertPointedLabel()->setChecked(true);
        dialog.txtNamberInsertLabel()->setText(QStringLiteral("0"));
        dialog.bbtnInsertLabel()->click();
        ExpectSuccess(QStringLiteral("Метки успешно вставлены"), QStringLiteral("Вставка метки"));
        QCOMPARE(form_->ltxtNLabels()->text(), QStringLiteral("2"));
        QCOMPARE(form_->ltxtNLabelsNoText()->text(), QStringLiteral("2"));
        QCOMPARE(ReadCell(1, 1), QStringLiteral("0"));
        QCOMPARE(ReadCell(1, 2), QStringLiteral("39"));
        QVERIFY(dialog.chkInsertFirstLabel()->isChecked());
    }

    void insertionRefusesABadTraceNumber_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<TFakePlatform::TCallKind>("kind");
        QTest::addColumn<QString>("caption");
        QTest::newRow("not a number") << "abc" << TKind::ShowError << QString();
        QTest::newRow("beyond the traces")
            << "40" << TKind::MessageBox << QStringLiteral("Вставка метки");
        QTest::newRow("negative") << "-1" << TKind::MessageBox << QStringLiteral("Вставка метки");
    }
    void insertionRefusesABadTraceNumber() {
        QFETCH(QString, number);
        QFETCH(TFakePlatform::TCallKind, kind);
        QFETCH(QString, caption);
        Generate(0);
        Open();
        const QByteArray before = FileBytes(file_);
        TFmInsertLabel& dialog = *form_->FmInsertLabel();
        dialog.chkInsertFirstLabel()->setChecked(true);
        dialog.chkInsertPointedLabel()->setChecked(true);
        dialog.txtNamberInsertLabel()->setText(number);
        dialog.bbtnInsertLabel()->click();
        QCOMPARE(platform_->Calls.size(), std::size_t{1});
        QCOMPARE(platform_->Last().Kind, kind);
        if (kind == TKind::ShowError) {
            QCOMPARE(platform_->Last().Text, QStringLiteral("'abc' is not a valid integer value"));
        } else {
            QCOMPARE(platform_->Last().Caption, caption);
            QCOMPARE(platform_->Last().Icon, TMsgIcon::Exclamation);
            QVERIFY(platform_->Last().Text.contains(QStringLiteral("39")));
        }
        QCOMPARE(FileBytes(file_), before);
        QCOMPARE(form_->Model().TraceHeaders()[0].LabelIndex, 0u);
    }

    void aFailedWriteEndsTheCommand() {
        Open();
        form_->txtFileName()->setText(dir_.filePath(QStringLiteral("elsewhere.GPR2")));
        platform_->MessageAnswers.push_back(TMsgResult::Ok);
        Run("acnSetZeroPosition");
        QCOMPARE(platform_->Calls.size(), std::size_t{2});
        QVERIFY(platform_->Last().Text != QStringLiteral("Положения трасс успешно обнулены!"));
    }

    // A write that fails (a read-only file, a history that cannot be written) leaves the model
    // as the file is, so the next command that writes does not carry the failed edit in.
    void aFailedWriteIsNotWrittenByTheNextCommand_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("read-only file") << true;
        QTest::newRow("history cannot be written") << false;
    }
    void aFailedWriteIsNotWrittenByTheNextCommand() {
        QFETCH(bool, readOnly);
        const QByteArray stateHome = qgetenv("XDG_STATE_HOME");
        const QString blocked = dir_.filePath(QStringLiteral("state-blocked"));
        if (!readOnly) {
            // A file where the history's folder would go: no journal can be made.
            QFile block(blocked);
            QVERIFY(block.open(QIODevice::WriteOnly));
            block.close();
            qputenv("XDG_STATE_HOME", QFile::encodeName(blocked));
            form_ = std::make_unique<TFmMainForm>(
                *platform_,
                QFile::encodeName(dir_.filePath(QStringLiteral("o.ini"))).toStdString());
            form_->CreateDialogs();
            qputenv("XDG_STATE_HOME", stateHome);
        }
        Open();
        const std::int32_t coordinate = form_->Model().TraceHeaders()[3].Coordinate;
        QVERIFY(coordinate != 0);
        const auto permissions = QFile::permissions(file_);
        if (readOnly) QFile::setPermissions(file_, QFile::ReadOwner | QFile::ReadGroup);
        const QByteArray before = FileBytes(file_);

        platform_->MessageAnswers.push_back(TMsgResult::Ok);
        Run("acnSetZeroPosition");
        QVERIFY(platform_->Last().Text != QStringLiteral("Положения трасс успешно обнулены!"));
        QCOMPARE(FileBytes(file_), before);
        if (!readOnly) QCOMPARE(form_->Model().TraceHeaders()[3].Coordinate, coordinate);

        // The fault goes; the next command writes its own edit alone.
        if (readOnly) QFile::setPermissions(file_, permissions);
        QFile::remove(blocked);
        platform_->Calls.clear();
        platform_->MessageAnswers.push_back(TMsgResult::Ok);
        Run("acnSetNoLabelText");
        QVERIFY(OpenRadargram(*form_, *platform_, file_));
        QCOMPARE(form_->Model().TraceHeaders()[3].Coordinate, coordinate);
        if (!readOnly) QCOMPARE(ReadCell(2, 2), QString());
    }
};

QTEST_MAIN(TestEditingCommands)
#include "test_editing_commands.moc"
