#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "desktop/app/main_form.h"
#include "desktop/app/options_form.h"
#include "desktop/header/header_edit_page.h"
#include "desktop/view/radargram_canvas.h"
#include "desktop/view/radargram_view_form.h"
#include "desktop/widgets/ribbon.h"
#include "desktop/widgets/string_grid_view.h"
#include "fake_platform.h"
#include "form_driver.h"
#include "radargram_generator.h"

using namespace trelvanox;

// The keys an operator expects in every window, the file named where the tables show it, and
// the question when a file does not fit the layout chosen; on the real window, shown offscreen.
class TestOperatorKeys : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<TFakePlatform> platform_;
    std::unique_ptr<TFmMainForm> form_;
    QString file_;

    QString Generate(const QString& name, TRadarLayout layout, std::uint32_t traces = 40) {
        const QString path = dir_.filePath(name);
        QFile::remove(path);
        TGeneratorOptions options;
        options.TraceCount = traces;
        options.SampleCount = 16;
        options.LabelEvery = 5;
        options.Layout = layout;
        GenerateRadargram(QFileInfo(path).filesystemFilePath(), options);
        return path;
    }
    void Press(QWidget* widget, QKeySequence keys) {
        widget->setFocus();
        QTest::keySequence(widget, keys);
    }
    // The header change whose undo and redo the keys take.
    void ChangeOperator(const QString& name) {
        form_->txtOperator()->setText(name);
        form_->HeaderEditPage()->txtPK()->setText(QStringLiteral("3"));
        RunAction(*form_, "acnChangeHeaderSets");
        QVERIFY2(StoredOperator() == name, qPrintable(platform_->Messages().join('|')));
        platform_->Clear();
    }
    QString StoredOperator() { return QString::fromUtf8(form_->HeaderGrid().Cell(2, 1)); }
    bool ManualShownAt(const QString& section) {
        for (const auto& call : platform_->Calls)
            if ((call.Kind == TFakePlatform::TCallKind::ShowManual && call.Caption == section) ||
                (section.isEmpty() && call.Kind == TFakePlatform::TCallKind::OpenDocument))
                return true;
        return false;
    }

  private slots:
    void init() {
        QVERIFY(dir_.isValid());
        file_ = Generate(QStringLiteral("survey.GPR2"), TRadarLayout::Gpr2);
        platform_ = std::make_unique<TFakePlatform>();
        platform_->UseRealClipboard = false;
        form_ = std::make_unique<TFmMainForm>(
            *platform_, QFile::encodeName(dir_.filePath(QStringLiteral("s.ini"))).toStdString());
        form_->CreateDialogs();
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        QVERIFY(OpenRadargram(*form_, *platform_, file_));
    }

    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    void undoAndRedoKeysTakeTheFileStepsOutsideTextFields() {
        const QByteArray before = FileBytes(file_);
        ChangeOperator(QStringLiteral("Сидоров"));
        const QByteArray after = FileBytes(file_);
        QVERIFY(after != before);

        Press(form_->sgReadF4Header(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(FileBytes(file_), before);
        QCOMPARE(form_->statusBar()->currentMessage(),
                 QStringLiteral("Отменено: «Редактирование заголовка»"));
        Press(form_->sgReadLabels(), QKeySequence(Qt::CTRL | Qt::Key_Y));
        QCOMPARE(FileBytes(file_), after);
        QCOMPARE(form_->statusBar()->currentMessage(),
                 QStringLiteral("Повторено: «Редактирование заголовка»"));
        Press(form_->sgReadLabels(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        Press(form_->sgReadLabels(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        QCOMPARE(FileBytes(file_), after);
        QVERIFY(platform_->Messages().isEmpty());
    }

    void undoKeyInATextFieldUndoesItsTextNotTheFile() {
        ChangeOperator(QStringLiteral("Сидоров"));
        const QByteArray after = FileBytes(file_);
        auto* field = form_->findChild<QLineEdit*>(QStringLiteral("txtObject"));
        QVERIFY(field);
        form_->findChild<QTabWidget*>(QStringLiteral("PageControl2"))->setCurrentIndex(0);
        const QString text = field->text();
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("xyz"));
        QCOMPARE(field->text(), text + QStringLiteral("xyz"));
        QTest::keySequence(field, QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(field->text(), text);
        QCOMPARE(FileBytes(file_), after);
        QCOMPARE(StoredOperator(), QStringLiteral("Сидоров"));
    }

    void f1OpensTheManualWhateverRibbonTabShows() {
        form_->Ribbon().SetCurrentTab(0);  // "Файл"
        Press(form_->sgReadF4Header(), QKeySequence(Qt::Key_F1));
        QVERIFY(ManualShownAt(QString()));
    }

    void f1InADialogOpensItsSectionWhateverRibbonTabShows() {
        form_->Ribbon().SetCurrentTab(1);  // "Радарограмма"
        RunAction(*form_, "acnRegulationAmplitude");
        QWidget* active = nullptr;
        QTRY_VERIFY((active = QApplication::activeWindow()) && active != form_.get());
        platform_->Clear();
        QTest::keyClick(active, Qt::Key_F1);
        QVERIFY(ManualShownAt(QStringLiteral("amplitude")));
    }

    void f5ReadsTheFileAgain() {
        form_->ReadLabelsGrid().SetCell(2, 1, "typed");
        Press(form_->sgReadF4Header(), QKeySequence(Qt::Key_F5));
        QVERIFY(form_->ReadLabelsGrid().Cell(2, 1) != "typed");
    }

    void enterInThePathFieldReadsTheFileNamedThere() {
        const QString other = Generate(QStringLiteral("other.GPR2"), TRadarLayout::Gpr2, 60);
        form_->txtFileName()->setText(other);
        Press(form_->txtFileName(), QKeySequence(Qt::Key_Return));
        QCOMPARE(form_->HeaderGrid().Cell(2, 6), "60");
        QCOMPARE(form_->windowTitle(), other + QStringLiteral(" — GPR2"));
        QCOMPARE(form_->lblFileState()->text(), QStringLiteral("Файл: %1 (GPR2)").arg(other));
    }

    void ctrlOAsksForAFileAndCtrlPPrints() {
        platform_->OpenAnswers.push_back(std::nullopt);
        Press(form_->sgReadF4Header(), QKeySequence::Open);
        QVERIFY(!platform_->Calls.empty());
        QCOMPARE(platform_->Calls.front().Kind, TFakePlatform::TCallKind::Open);
        platform_->Clear();
        Press(form_->sgReadF4Header(), QKeySequence(Qt::CTRL | Qt::Key_P));
        QVERIFY(!platform_->Calls.empty());
        QCOMPARE(platform_->Calls.front().Kind, TFakePlatform::TCallKind::PrinterSetup);
    }

    void screenTipsNameTheKeys_data() {
        QTest::addColumn<QString>("keys");
        QTest::newRow("acnUndo") << QStringLiteral("Ctrl+Z");
        QTest::newRow("acnRedo") << QStringLiteral("Ctrl+Y, Ctrl+Shift+Z");
        QTest::newRow("acnHelp") << QStringLiteral("F1");
        QTest::newRow("acnReadFile") << QStringLiteral("F5");
        QTest::newRow("acnPrint") << QStringLiteral("Ctrl+P");
        QTest::newRow("EditCopy1") << QStringLiteral("Ctrl+C");
    }
    void screenTipsNameTheKeys() {
        QFETCH(QString, keys);
        auto* action = form_->findChild<QAction*>(QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(action->property("screenTipKeys").toString(), keys);
        // Undo and redo show the step they would take in place of the screen tip once a file
        // is read.
        if (!QByteArray(QTest::currentDataTag()).startsWith("acnUndo") &&
            !QByteArray(QTest::currentDataTag()).startsWith("acnRedo"))
            QVERIFY(action->toolTip().contains(QStringLiteral("Клавиши: ") + keys));
    }

    void ctrlCCopiesTheSelectedBlockAndCtrlVPastesItAtTheCurrentCell() {
        TStringGridView* read = form_->sgReadLabels();
        read->setFocus();
        const QModelIndex from = read->model()->index(0, 0);  // grid cell (1, 1)
        const QModelIndex to = read->model()->index(1, 1);    // grid cell (2, 2)
        read->setCurrentIndex(from);
        read->selectionModel()->select(QItemSelection(from, to),
                                       QItemSelectionModel::ClearAndSelect);
        QTest::keySequence(read, QKeySequence::Copy);
        const auto cell = [](const TStringGrid& grid, int col, int row) {
            return QString::fromUtf8(grid.Cell(col, row));
        };
        const TStringGrid& labels = form_->ReadLabelsGrid();
        QCOMPARE(platform_->ClipboardContent, cell(labels, 1, 1) + "\t" + cell(labels, 2, 1) +
                                                  "\r\n" + cell(labels, 1, 2) + "\t" +
                                                  cell(labels, 2, 2) + "\r\n");

        TStringGridView* edit = form_->sgNewSetsLabels();
        edit->setFocus();
        edit->setCurrentIndex(edit->model()->index(2, 1));  // grid cell (1, 3): no fixed column
        QTest::keySequence(edit, QKeySequence::Paste);
        const TStringGrid& grid = form_->NewLabelsGrid();
        QCOMPARE(cell(grid, 1, 3), cell(labels, 1, 1));
        QCOMPARE(cell(grid, 2, 4), cell(labels, 2, 2));
    }

    void aFailedReadSaysTheTablesShowThePreviousFile() {
        const QString missing = dir_.filePath(QStringLiteral("missing.GPR2"));
        form_->txtFileName()->setText(missing);
        Press(form_->txtFileName(), QKeySequence(Qt::Key_Return));
        QCOMPARE(platform_->Messages().size(), 1);
        QCOMPARE(form_->windowTitle(), file_ + QStringLiteral(" — GPR2"));
        const QString state = form_->lblFileState()->text();
        QVERIFY2(state.contains(QStringLiteral("«%1» не прочитан").arg(missing)),
                 qPrintable(state));
        QVERIFY2(state.contains(QStringLiteral("прежний файл %1 (GPR2)").arg(file_)),
                 qPrintable(state));
    }

    void aFileInTheOtherLayoutIsReadAsTheUserPicks_data() {
        QTest::addColumn<bool>("takeOther");
        QTest::newRow("as the file fits") << true;
        QTest::newRow("as chosen") << false;
    }
    void aFileInTheOtherLayoutIsReadAsTheUserPicks() {
        QFETCH(bool, takeOther);
        const QString file = Generate(QStringLiteral("другой.GPR2"), TRadarLayout::Gpr2);
        form_->Settings().FormatIndex = 0;  // GPR chosen
        platform_->MessageAnswers.push_back(takeOther ? TMsgResult::Ok : TMsgResult::Cancel);
        platform_->OpenAnswers.push_back(file);
        form_->findChild<QToolButton*>(QStringLiteral("btnOpenDirectory"))->click();
        QVERIFY(platform_->Calls.size() >= 2);
        const auto question = platform_->Calls[1];
        QCOMPARE(question.Buttons, TMsgButtons::OkCancel);
        QVERIFY(question.Text.startsWith(QStringLiteral(
            "Файл, по-видимому, в формате GPR2, а выбран GPR. Прочитать как GPR2?")));
        QCOMPARE(form_->Document().Layout(), takeOther ? TRadarLayout::Gpr2 : TRadarLayout::Gpr);
        QCOMPARE(form_->windowTitle(),
                 file + (takeOther ? QStringLiteral(" — GPR2") : QStringLiteral(" — GPR")));
        if (takeOther) {
            QCOMPARE(form_->ltxtNLabels()->text(), QStringLiteral("8"));
            // Read again, the layout taken for the file stands without a second question.
            platform_->Clear();
            RunAction(*form_, "acnReadFile");
            QVERIFY(platform_->Calls.empty());
            QCOMPARE(form_->Document().Layout(), TRadarLayout::Gpr2);
        }
    }

    void aFileThatFitsTheChosenLayoutIsReadWithoutAQuestion() {
        const QString gpr = Generate(QStringLiteral("plain.GPR"), TRadarLayout::Gpr);
        form_->Settings().FormatIndex = 0;
        QVERIFY(OpenRadargram(*form_, *platform_, gpr));
        platform_->OpenAnswers.push_back(gpr);
        form_->findChild<QToolButton*>(QStringLiteral("btnOpenDirectory"))->click();
        QCOMPARE(platform_->Calls.size(), size_t{1});  // the open dialog alone
        QCOMPARE(form_->Document().Layout(), TRadarLayout::Gpr);
    }

    void viewKeysZoomPanAndFit() {
        RunAction(*form_, "acnViewRadargram");
        TRadargramCanvas* canvas = form_->FmRadargramView()->Canvas();
        QVERIFY(QTest::qWaitForWindowExposed(form_->FmRadargramView()));
        canvas->Fit();
        const TRenderView whole = canvas->View();
        canvas->setFocus();
        QTest::keyClick(canvas, Qt::Key_Plus);
        QVERIFY(canvas->View().TraceSpan < whole.TraceSpan);
        const double first = canvas->View().FirstTrace;
        QTest::keyClick(canvas, Qt::Key_Right);
        QVERIFY(canvas->View().FirstTrace > first);
        QTest::keyClick(canvas, Qt::Key_Minus);
        QTest::keyClick(canvas, Qt::Key_Plus);
        QTest::keyClick(canvas, Qt::Key_Home);
        QVERIFY(canvas->View() == whole);
    }
};

QTEST_MAIN(TestOperatorKeys)
#include "test_operator_keys.moc"
