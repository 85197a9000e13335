#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include <sys/stat.h>

#include "common/cp1251.h"
#include "desktop/app/main_form.h"
#include "desktop/labels/color_options_form.h"
#include "desktop/widgets/color_box.h"
#include "desktop/widgets/spin_edit.h"
#include "desktop/widgets/string_grid_view.h"
#include "exchange/label_export.h"
#include "exchange/label_import.h"
#include "fake_platform.h"
#include "form_driver.h"
#include "labels/edit_table.h"
#include "radargram_generator.h"

using namespace trelvanox;

namespace {

using TKind = TFakePlatform::TCallKind;

QStringList ItemTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("|") : action->text());
    return texts;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

// The edit table's menu and commands, the transfer, the text files and the clipboard, driven
// through the real window.
class TestLabelTables : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<TFakePlatform> platform_;
    std::unique_ptr<TFmMainForm> form_;
    QString file_;

    TStringGrid& Edit() { return form_->NewLabelsGrid(); }
    QString EditCell(int col, int row) { return QString::fromUtf8(Edit().Cell(col, row)); }
    QMenu* Menu() { return form_->findChild<QMenu*>(QStringLiteral("PopupMenusgNewSetsLabels")); }
    void Item(const QString& name) {
        QAction* item = Menu()->findChild<QAction*>(name);
        if (!item) {
            for (QMenu* sub : Menu()->findChildren<QMenu*>())
                if ((item = sub->findChild<QAction*>(name))) break;
        }
        QVERIFY2(item, qPrintable(name));
        item->trigger();
    }
    void Run(const char* action) { RunAction(*form_, action); }
    void Open() { QVERIFY(OpenRadargram(*form_, *platform_, file_)); }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        file_ = dir_.filePath(QStringLiteral("Profile.GPR2"));
        TGeneratorOptions options;
        options.TraceCount = 30;
        options.SampleCount = 16;
        options.LabelEvery = 10;  // traces 0, 10, 20
        options.ShareWithoutText = 0.0;
        GenerateRadargram(QFile::encodeName(file_).toStdString(), options);
    }

    void init() {
        platform_ = std::make_unique<TFakePlatform>();
        form_ = std::make_unique<TFmMainForm>(
            *platform_, QFile::encodeName(dir_.filePath(QStringLiteral("o.ini"))).toStdString());
        form_->CreateDialogs();
    }

    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    void menuInItsOrder() {
        QVERIFY(Menu());
        QCOMPARE(ItemTexts(Menu()), QStringList({"Очистить", "|", "Копировать", "Вставить", "|",
                                                 "Строка", "Столбец"}));
        QCOMPARE(ItemTexts(Menu()->findChild<QMenu*>(QStringLiteral("N5"))),
                 QStringList({"Вставить", "Удалить", "Сделать начальной"}));
        QCOMPARE(ItemTexts(Menu()->findChild<QMenu*>(QStringLiteral("N9"))),
                 QStringList({"Вставить", "Удалить"}));
    }

    void rowAndColumnItemsActOnTheSelectedCell() {
        for (int row = 1; row < 8; ++row) Edit().SetCell(0, row, std::to_string(row));
        form_->sgNewSetsLabelsSelectCell(1, 5);
        Item(QStringLiteral("N7"));
        QCOMPARE(Edit().RowCount(), 8001);
        QCOMPARE(EditCell(0, 6), QString());
        QCOMPARE(EditCell(0, 7), QStringLiteral("6"));
        Item(QStringLiteral("N8"));
        QCOMPARE(EditCell(0, 5), QString());
        QCOMPARE(Edit().RowCount(), 8000);
        Item(QStringLiteral("N6"));
        QCOMPARE(form_->seFirstRow()->Text(), QStringLiteral("5"));
        Item(QStringLiteral("N10"));
        QCOMPARE(Edit().ColCount(), 5);
        QCOMPARE(EditCell(2, 0), QString());
        QCOMPARE(EditCell(3, 0), QStringLiteral("Координата \n от начала, м"));
        Item(QStringLiteral("N11"));
        QCOMPARE(Edit().ColCount(), 4);
        QCOMPARE(form_->sgNewSetsLabels()->model()->columnCount(), 4);
    }

    void clearingKeepsOrRestoresTheTitles() {
        Edit().SetCell(1, 1, "Опора");
        Edit().SetCell(1, 2, "вторая");
        Item(QStringLiteral("N8"));  // nothing selected yet: row 0 goes, "Опора" moves up
        QCOMPARE(EditCell(1, 0), QStringLiteral("Опора"));
        Item(QStringLiteral("Очистить"));
        QCOMPARE(EditCell(1, 0), QStringLiteral("Опора"));
        QCOMPARE(EditCell(1, 1), QString());
        Run("acnClearTableLabels");
        QCOMPARE(EditCell(1, 0), QStringLiteral("Подпись метки"));
    }

    void transferAfterTheWarning_data() {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("ok") << true;
        QTest::newRow("cancel") << false;
    }
    void transferAfterTheWarning() {
        QFETCH(bool, confirm);
        Open();
        Edit().SetCell(1, 7000, "old");
        platform_->MessageAnswers.push_back(confirm ? TMsgResult::Ok : TMsgResult::Cancel);
        Run("acnTranslateTable");
        QCOMPARE(platform_->Calls.size(), std::size_t{1});
        QCOMPARE(platform_->Last().Caption, QStringLiteral("Перенос таблицы"));
        QCOMPARE(platform_->Last().Icon, TMsgIcon::Warning);
        QCOMPARE(platform_->Last().Buttons, TMsgButtons::OkCancelHelp);
        if (!confirm) {
            QCOMPARE(EditCell(1, 7000), QStringLiteral("old"));
            QCOMPARE(EditCell(1, 1), QString());
            return;
        }
        const TStringGrid& read = form_->ReadLabelsGrid();
        for (int row = 1; row <= 3; ++row) {
            QCOMPARE(Edit().Cell(0, row), read.Cell(0, row));
            QCOMPARE(Edit().Cell(1, row), read.Cell(2, row));
            QCOMPARE(Edit().Cell(2, row), read.Cell(3, row));
            QVERIFY(!Edit().Cell(3, row).empty());
        }
        QCOMPARE(EditCell(3, 1), QStringLiteral("1"));
        QCOMPARE(EditCell(1, 7000), QString());
    }

    void transferOfAColourThatDoesNotConvert() {
        Open();
        form_->ReadLabelsGrid().SetCell(4, 2, "abc");
        platform_->MessageAnswers.push_back(TMsgResult::Ok);
        Run("acnTranslateTable");
        QCOMPARE(platform_->Last().Kind, TKind::ShowError);
        QCOMPARE(platform_->Last().Text, QStringLiteral("'abc' is not a valid integer value"));
        QCOMPARE(Edit().Cell(1, 1), form_->ReadLabelsGrid().Cell(2, 1));
        QCOMPARE(EditCell(3, 1), QString());
    }

    void transferThenWriteBackUsesTheColourBoxes() {
        Open();
        platform_->MessageAnswers.push_back(TMsgResult::Ok);
        Run("acnTranslateTable");
        form_->FmColorOptions()->ColorBox(1)->SetSelected(0x0000FF00);
        form_->seFirstRow()->SetValue(1);
        platform_->Clear();
        Run("acnChangeLabelSets");
        QCOMPARE(platform_->Last().Text, QStringLiteral("Редактирование меток успешно завершено!"));
        QCOMPARE(QString::fromUtf8(form_->ReadLabelsGrid().Cell(4, 1)), QStringLiteral("65280"));
    }

    void importWithEachDelimiter_data() {
        QTest::addColumn<int>("delimiterIndex");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("tab") << 0 << QByteArray("1\tМетка 1\t12,5\t3");
        QTest::newRow("semicolon") << 1 << QByteArray("1; Метка 1 ;12,5;3");
        QTest::newRow("comma") << 2 << QByteArray("1,Метка 1,12,5");
        QTest::newRow("space") << 3 << QByteArray("1  Метка");
    }
    void importWithEachDelimiter() {
        QFETCH(int, delimiterIndex);
        QFETCH(QByteArray, line);
        const QString path = dir_.filePath(QStringLiteral("import.txt"));
        const std::string text = EncodeCp1251(("title\r\n" + line + "\r\n").toStdString());
        WriteFile(path, QByteArray::fromStdString(text));
        form_->Settings().DelimiterIndex = delimiterIndex;
        Edit().SetCell(2, 50, "old");
        platform_->OpenAnswers.push_back(path);
        form_->findChild<QToolButton*>(QStringLiteral("btnImportTableNewLabelSets"))->click();
        QCOMPARE(platform_->Last().Request.Filter,
                 QStringLiteral("Текстовые файлы (*.txt)|*.txt|Все файлы (*.*)|*.*"));
        QCOMPARE(EditCell(0, 1), QStringLiteral("1"));
        QCOMPARE(EditCell(2, 50), QString());
        QCOMPARE(EditCell(1, 0), QStringLiteral("Подпись метки"));
        switch (delimiterIndex) {
            case 0:
            case 1:
                QCOMPARE(EditCell(1, 1), QStringLiteral("Метка 1"));
                QCOMPARE(EditCell(2, 1), QStringLiteral("12,5"));
                QCOMPARE(EditCell(3, 1), QStringLiteral("3"));
                break;
            case 2:
                QCOMPARE(EditCell(2, 1), QStringLiteral("12"));
                QCOMPARE(EditCell(3, 1), QStringLiteral("5"));
                break;
            default:
                QCOMPARE(EditCell(1, 1), QString());
                QCOMPARE(EditCell(2, 1), QStringLiteral("Метка"));
        }
    }

    // Typed work is not lost to a dialog closed without a choice, nor to a file that cannot be
    // read.
    void cancelledImportLeavesTheTableAsItWas() {
        Edit().SetCell(1, 3, "old");
        Run("acnImportTable");
        QCOMPARE(EditCell(1, 3), QStringLiteral("old"));
        QCOMPARE(EditCell(3, 0), QStringLiteral("Цвет метки(индекс)"));
    }

    void importOfAMissingFileReportsAndLeavesTheTableAsItWas() {
        Edit().SetCell(1, 3, "old");
        const QString path = dir_.filePath(QStringLiteral("missing.txt"));
        platform_->OpenAnswers.push_back(path);
        Run("acnImportTable");
        QCOMPARE(platform_->Last().Kind, TKind::ShowError);
        QVERIFY(platform_->Last().Text.startsWith(
            QStringLiteral("Cannot open file \"%1\". ").arg(path)));
        QCOMPARE(EditCell(1, 3), QStringLiteral("old"));
    }

    void exportWritesTheReadTable() {
        Open();
        form_->RadargramFileName = QStringLiteral("Profile.GPR2");
        const QString path = dir_.filePath(QStringLiteral("out.txt"));
        platform_->SaveAnswers.push_back(path);
        form_->findChild<QToolButton*>(QStringLiteral("btnExportReadLabelSets"))->click();
        const TFileDialogRequest& request = platform_->Last().Request;
        QCOMPARE(request.ProposedName, QStringLiteral("Profile.GPR2_метки.txt"));
        QCOMPARE(request.DefaultExtension, QStringLiteral("*.txt"));
        QCOMPARE(request.Filter, QStringLiteral("Текстовые файлы (с разделителями табуляции) "
                                                "(*.txt)|*.txt|Все файлы (*.*)|*.*"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.toStdString(), BuildExportText(form_->ReadLabelsGrid()));
        QCOMPARE(bytes.count("\r\n"), 6000);  // one per record
        QCOMPARE(bytes.count('\n'), 6001);    // the title record spans two lines
        QVERIFY(bytes.startsWith(QByteArray::fromStdString(EncodeCp1251("\"№ п/п\"\t"))));
    }

    void copyAndPasteThroughTheClipboard() {
        Edit().SetCell(1, 1, "Опора");
        Item(QStringLiteral("N1"));
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY(copied.startsWith(QStringLiteral("№ п/п\tПодпись метки\t")));
        QCOMPARE(copied.count(QStringLiteral("\r\n")), 8000);
        QGuiApplication::clipboard()->setText(QStringLiteral("a\tb\tc\td\te\r\nf"));
        Item(QStringLiteral("N2"));
        QCOMPARE(Edit().ColCount(), 5);
        QCOMPARE(EditCell(4, 1), QStringLiteral("e"));
        QCOMPARE(EditCell(0, 2), QStringLiteral("f"));
        QCOMPARE(EditCell(1, 2), QString());
        QCOMPARE(form_->sgNewSetsLabels()->model()->columnCount(), 5);
    }

    void exportRefusesATargetThatIsNotAFile_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("folder") << QStringLiteral("folder");
#ifndef Q_OS_WIN
        // Windows has neither named pipes in its folders nor device paths of this kind.
        QTest::newRow("fifo") << QStringLiteral("pipe");
        QTest::newRow("device") << QStringLiteral("/dev/null");
#endif
    }
    void exportRefusesATargetThatIsNotAFile() {
        QFETCH(QString, name);
        QTemporaryDir scratch;
        const QString path = name.startsWith('/') ? name : scratch.filePath(name);
        if (name == QStringLiteral("folder")) QVERIFY(QDir(scratch.path()).mkdir(name));
#ifndef Q_OS_WIN
        if (name == QStringLiteral("pipe"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
        const QFileInfo before(path);
        platform_->SaveAnswers.push_back(path);
        Run("acnExportTable");
        QCOMPARE(platform_->Last().Kind, TKind::ShowError);
        QCOMPARE(
            platform_->Last().Text,
            QString::fromStdString(NotRegularFileMessage(QFile::encodeName(path).toStdString())));
        const QFileInfo after(path);
        QCOMPARE(after.isDir(), before.isDir());
        QCOMPARE(after.isFile(), false);
        QCOMPARE(
            QDir(scratch.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
                .size(),
            name.startsWith('/') ? 0 : 1);
    }

    void importRefusesAnEndlessSourceAndKeepsTheTable() {
        Edit().SetCell(1, 3, "old");
        platform_->OpenAnswers.push_back(QStringLiteral("/dev/zero"));
        Run("acnImportTable");
        QCOMPARE(platform_->Last().Kind, TKind::ShowError);
        QCOMPARE(platform_->Last().Text,
                 QString::fromStdString(NotRegularTableMessage("/dev/zero")));
        QCOMPARE(EditCell(1, 3), QStringLiteral("old"));
    }

    void wideLineCostsCellsOnlyForItsFields_data() {
        QTest::addColumn<bool>("paste");
        QTest::newRow("paste") << true;
        QTest::newRow("import") << false;
    }
    void wideLineCostsCellsOnlyForItsFields() {
        QFETCH(bool, paste);
        constexpr int kFields = 4000;  // a 16 KB line
        QString line;
        for (int k = 0; k < kFields; ++k) line += QStringLiteral("abc\t");
        if (paste) {
            QGuiApplication::clipboard()->setText(line);
            Item(QStringLiteral("N2"));
        } else {
            const QString path = dir_.filePath(QStringLiteral("wide.txt"));
            WriteFile(path, ("title\r\n" + line).toLatin1());
            platform_->OpenAnswers.push_back(path);
            Run("acnImportTable");
        }
        QCOMPARE(EditCell(kFields - 1, 1), QStringLiteral("abc"));
        QCOMPARE(Edit().RowCount(), kEditTableRows);
        QVERIFY(Edit().ColCount() >= kFields);
        QCOMPARE(form_->sgNewSetsLabels()->model()->columnCount(), Edit().ColCount());
        QVERIFY2(Edit().CellCapacity() <= 2 * kFields + 8,
                 qPrintable(QString::number(Edit().CellCapacity())));
    }

    void pasteOfAnEmptyClipboard() {
        QGuiApplication::clipboard()->clear();
        Item(QStringLiteral("N2"));
        QCOMPARE(platform_->Calls.size(), std::size_t{1});
        QCOMPARE(platform_->Last().Kind, TKind::ShowMessage);
        QCOMPARE(platform_->Last().Text, QStringLiteral("Необходимо скопировать данные!"));
        QCOMPARE(EditCell(1, 0), QStringLiteral("Подпись метки"));
    }

    void columnFittingOnlyWhenChecked() {
        TStringGridView& view = *form_->sgNewSetsLabels();
        auto* box = form_->findChild<QCheckBox*>(QStringLiteral("chkAutoSizeCol2"));
        Edit().SetCell(0, 0, "");
        box->click();  // checks it and fits
        QCOMPARE(view.ColWidth(0), 125);
        QCOMPARE(view.ColWidth(1), view.TextWidth(QStringLiteral("Подпись метки")) + 1 + 10);
        view.SetColWidth(1, 40);
        box->click();  // unchecked: widths stay
        QCOMPARE(view.ColWidth(1), 40);
    }
};

QTEST_MAIN(TestLabelTables)
#include "test_label_tables.moc"
