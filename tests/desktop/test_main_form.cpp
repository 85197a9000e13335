#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "desktop/app/command_set.h"
#include "desktop/app/main_form.h"
#include "desktop/app/options_form.h"
#include "desktop/platform/qt_platform.h"
#include "desktop/widgets/ribbon.h"
#include "desktop/widgets/string_grid_model.h"
#include "desktop/widgets/string_grid_view.h"
#include "fake_platform.h"
#include "form_driver.h"
#include "radargram_generator.h"

using namespace trelvanox;

namespace {

QString Cell(const TStringGrid& grid, int col, int row) {
    return QString::fromUtf8(grid.Cell(col, row));
}

}  // namespace

class TestMainForm : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<TFakePlatform> platform_;
    std::unique_ptr<TFmMainForm> form_;
    QString demo_;

    QString Path(const QString& name) const { return dir_.filePath(name); }
    QAction* Act(const char* name) const {
        return form_->findChild<QAction*>(QString::fromLatin1(name));
    }
    void Open(const QString& path) {
        platform_->OpenAnswers.push_back(path);
        form_->findChild<QToolButton*>(QStringLiteral("btnOpenDirectory"))->click();
    }
    // Shows the main window with "Иванов" stored as operator and "typed" in the field.
    void ShowWithTypedOperator() {
        QFile ini(Path(QStringLiteral("settings.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[FileHeader]\r\nOperator=\xc8\xe2\xe0\xed\xee\xe2\r\n");
        ini.close();
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        QCOMPARE(form_->txtOperator()->text(), QStringLiteral("Иванов"));
        form_->txtOperator()->setText(QStringLiteral("typed"));
    }
    static bool FocusIsIn(const QWidget* widget) {
        const QWindow* window = widget->window()->windowHandle();
        return window && QGuiApplication::focusWindow() == window;
    }
    // The window system gives the focus back to the main window once the window over it is
    // gone; the offscreen platform leaves that to the program, so the test does it.
    void FocusComesBack() {
        form_->activateWindow();
        QTRY_VERIFY(FocusIsIn(form_.get()));
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        demo_ = Path(QStringLiteral("demo.GPR2"));
        TGeneratorOptions options;
        options.TraceCount = 120;
        options.SampleCount = 32;
        options.LabelEvery = 10;
        GenerateRadargram(QFileInfo(demo_).filesystemFilePath(), options);
    }

    void init() {
        platform_ = std::make_unique<TFakePlatform>();
        form_ = std::make_unique<TFmMainForm>(
            *platform_, QFile::encodeName(Path(QStringLiteral("settings.ini"))).toStdString());
        form_->CreateDialogs();
    }

    void cleanup() {
        form_.reset();
        platform_.reset();
        QFile::remove(Path(QStringLiteral("settings.ini")));
    }

    void startsAsBuilt() {
        QCOMPARE(form_->Model().FileLoaded(), 0);
        QVERIFY(form_->RadargramFileName.isEmpty());
        QCOMPARE(form_->SelectedRow, 0);
        QCOMPARE(form_->SelectedColumn, 0);
        QVERIFY(!form_->findChild<QToolButton*>(QStringLiteral("sbtnTranslateTable"))
                     ->isVisibleTo(form_.get()));
        QCOMPARE(form_->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->currentIndex(), 0);
        QCOMPARE(form_->findChild<QTabWidget*>(QStringLiteral("PageControl2"))->currentIndex(), 1);
        QCOMPARE(form_->Ribbon().CurrentTab(), form_->Ribbon().TabCount() - 1);
        QCOMPARE(form_->Ribbon().Tab(form_->Ribbon().CurrentTab())->Caption(),
                 QStringLiteral("Справка"));
        QCOMPARE(form_->Ribbon().RibbonStyle(), TRibbonStyle::Obsidian);
        QVERIFY(!form_->CompileDateText.isEmpty());
        QCOMPARE(form_->findChild<QLabel*>(QStringLiteral("lblDateCompilation"))->text(),
                 form_->CompileDateText);
        QCOMPARE(form_->lblSizeFile()->text(), QStringLiteral("Размер файла:"));
        QCOMPARE(Cell(form_->HeaderGrid(), 0, 6),
                 QStringLiteral("Количество трасс в файле профиля"));
        QCOMPARE(Cell(form_->ReadLabelsGrid(), 3, 0), QStringLiteral("Координата \n от начала, м"));
        QCOMPARE(Cell(form_->NewLabelsGrid(), 3, 0), QStringLiteral("Цвет метки(индекс)"));
        // The parameter names and the titles of the three tables show whole.
        QVERIFY(form_->sgReadF4Header()->ColWidth(0) >= 250);
        for (TStringGridView* grid :
             {form_->sgReadF4Header(), form_->sgReadLabels(), form_->sgNewSetsLabels()}) {
            const TStringGrid& cells = grid->Grid();
            for (int col = 0; col < cells.ColCount(); ++col)
                QVERIFY2(grid->ColWidth(col) > grid->TextWidth(Cell(cells, col, 0)),
                         qPrintable(grid->objectName() + QString::number(col)));
        }
        for (int row = 1; row < form_->HeaderGrid().RowCount(); ++row)
            QVERIFY(form_->sgReadF4Header()->ColWidth(0) >
                    form_->sgReadF4Header()->TextWidth(Cell(form_->HeaderGrid(), 0, row)));
        QVERIFY(form_->FmAbout() && form_->FmColorOptions() && form_->FmOptions() &&
                form_->FmInsertLabel() && form_->FmRegulationAmplitude());
        QVERIFY(platform_->Calls.empty());
    }

    // At the design size the header's values end at the box's edge: no value runs on under it
    // out of sight, and a cut one is whole in its tool tip.
    void headerValuesEndAtTheBoxEdge() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        QVERIFY(OpenRadargram(*form_, *platform_, demo_));
        TStringGridView* header = form_->sgReadF4Header();
        QTRY_VERIFY(header->viewport()->width() > 100 &&
                    header->horizontalHeader()->length() <= header->viewport()->width());
        const TStringGridModel& model = *header->GridModel();
        const QModelIndex value = model.IndexOf(2, 1);
        QCOMPARE(model.data(value, Qt::ToolTipRole), model.data(value, Qt::DisplayRole));
    }

    void hasEveryCommand() {
        for (const TCommandInfo& command : CommandTable()) {
            const QString name = QString::fromUtf8(command.Name.data(), command.Name.size());
            QVERIFY2(form_->findChild<QAction*>(name), qPrintable(name));
        }
    }

    void quickAccessToolBarInItsOrder() {
        const QStringList expected = {"acnReadFile",
                                      "acnWriteFile",
                                      "acnUndo",
                                      "acnRedo",
                                      "acnChangeHeaderSets",
                                      "acnChangeLabelSets",
                                      "acnOptionsRedact",
                                      "|",
                                      "acnSetNoHeader",
                                      "|",
                                      "acnDlgColorSettings",
                                      "acnInsertLabel",
                                      "acnSetNoLabelText",
                                      "acnSetZeroPosition",
                                      "|",
                                      "acnRegulationAmplitude",
                                      "acnViewRadargram",
                                      "|",
                                      "acnImportTable",
                                      "acnExportTable",
                                      "acnClearTableLabels",
                                      "acnTranslateTable",
                                      "|",
                                      "acnOptionsAll",
                                      "|",
                                      "acnPrint",
                                      "|",
                                      "acnExit",
                                      "|",
                                      "|",
                                      "acnChangeLabelSets",
                                      "|",
                                      "|",
                                      "acnChangeLabelSets",
                                      "|",
                                      "acnReadFile"};
        QStringList items;
        QToolBar* bar = form_->Ribbon().QuickAccessToolBar();
        for (QAction* action : bar->actions()) {
            if (action->isSeparator()) {
                items << QStringLiteral("|");
                continue;
            }
            const auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
            QVERIFY(button && button->defaultAction());
            QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
            items << button->defaultAction()->objectName();
        }
        QCOMPARE(items, expected);
        QStringList menu;
        for (QAction* action : form_->Ribbon().ApplicationMenu()->actions())
            menu << (action->menu()          ? action->menu()->objectName()
                     : action->isSeparator() ? QStringLiteral("|")
                                             : action->objectName());
        // The recent files first, then the three commands.
        QCOMPARE(menu,
                 (QStringList{"mnuRecentFiles", "|", "acnPrint", "acnOptionsAll", "acnExit"}));
    }

    void editTableKeepsTheSelectedCell() {
        TStringGridView* grid = form_->sgNewSetsLabels();
        grid->setCurrentIndex(grid->GridModel()->IndexOf(2, 7));
        QCOMPARE(form_->SelectedColumn, 2);
        QCOMPARE(form_->SelectedRow, 7);
    }

    void resizeRule_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("rightLeft");
        QTest::addColumn<int>("rightWidth");
        QTest::newRow("design width") << 1192 << 596 << 616 << 556;
        QTest::newRow("odd width") << 1193 << 596 << 616 << 556;
        QTest::newRow("wider") << 1600 << 800 << 820 << 760;
    }
    void resizeRule() {
        QFETCH(int, width);
        form_->resize(width, 700);
        form_->FormResize();
        const int outer = form_->frameGeometry().width();
        const auto* box1 = form_->findChild<QGroupBox*>(QStringLiteral("GroupBox1"));
        const auto* box2 = form_->findChild<QGroupBox*>(QStringLiteral("GroupBox2"));
        QCOMPARE(outer, width);  // offscreen windows have no frame
        QTEST(box1->width(), "left");
        QCOMPARE(box1->x(), 3);
        QTEST(box2->x(), "rightLeft");
        QTEST(box2->width(), "rightWidth");
        QCOMPARE(box1->y(), 149);
    }

    void translateButtonVisibility_data() {
        QTest::addColumn<int>("page1");
        QTest::addColumn<int>("page2");
        QTest::addColumn<bool>("visible");
        QTest::newRow("header, labels") << 0 << 1 << false;
        QTest::newRow("labels, labels") << 1 << 1 << true;
        QTest::newRow("labels, header") << 1 << 0 << false;
        QTest::newRow("header, header") << 0 << 0 << false;
    }
    void translateButtonVisibility() {
        QFETCH(int, page1);
        QFETCH(int, page2);
        auto* one = form_->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        auto* two = form_->findChild<QTabWidget*>(QStringLiteral("PageControl2"));
        one->setCurrentIndex(1 - page1);
        two->setCurrentIndex(1 - page2);
        one->setCurrentIndex(page1);
        two->setCurrentIndex(page2);
        QTEST(form_->findChild<QToolButton*>(QStringLiteral("sbtnTranslateTable"))
                  ->isVisibleTo(form_.get()),
              "visible");
    }

    void openReadsTheChosenFileAndFillsTheTables() {
        Open(demo_);

        QVERIFY(platform_->Messages().isEmpty());
        QCOMPARE(platform_->Calls.size(), size_t{1});
        QCOMPARE(
            platform_->Calls[0].Request.Filter,
            QStringLiteral("Файлы радарограмм (*.GPR, *.GPR2)|*.GPR;*.GPR2|Все файлы (*.*)|*.*"));
        QCOMPARE(form_->txtFileName()->text(), demo_);
        QCOMPARE(form_->windowTitle(), demo_ + QStringLiteral(" — GPR2"));
        QCOMPARE(form_->RadargramFileName, QStringLiteral("demo.GPR2"));
        QCOMPARE(form_->Model().FileLoaded(), 1);
        const qint64 size = QFileInfo(demo_).size();
        QCOMPARE(form_->lblSizeFile()->text(),
                 QStringLiteral("Размер файла: 0 МБ (%1 байт)").arg(size));
        QCOMPARE(Cell(form_->HeaderGrid(), 2, 6), QStringLiteral("120"));
        QCOMPARE(Cell(form_->HeaderGrid(), 2, 8), QStringLiteral("32"));
        QCOMPARE(form_->ltxtLenghtOfProfil()->text(), QStringLiteral("6"));  // 120 x 50 mm
        QCOMPARE(form_->ltxtNLabels()->text(), QStringLiteral("12"));
        QCOMPARE(form_->ltxtNLabelsWithText()->text().toInt() +
                     form_->ltxtNLabelsNoText()->text().toInt(),
                 12);
        QCOMPARE(Cell(form_->ReadLabelsGrid(), 0, 12), QStringLiteral("12"));
        QCOMPARE(Cell(form_->ReadLabelsGrid(), 1, 1), QStringLiteral("0"));
        QVERIFY(Cell(form_->ReadLabelsGrid(), 0, 13).isEmpty());
    }

    // The window's views follow the document whoever changes it, not only its own commands.
    void viewsFollowTheDocument() {
        TRadargramDocument& document = form_->Document();
        QVERIFY(document.Open(QFileInfo(demo_).filesystemFilePath(), TRadarLayout::Gpr2).Ok());
        QVERIFY(platform_->Messages().isEmpty());
        QCOMPARE(form_->ltxtNLabels()->text(), QStringLiteral("12"));
        QCOMPARE(form_->ltxtLenghtOfProfil()->text(), QStringLiteral("6"));
        QCOMPARE(form_->lblSizeFile()->text(),
                 QStringLiteral("Размер файла: 0 МБ (%1 байт)").arg(QFileInfo(demo_).size()));
        const QAbstractItemModel* labels = form_->sgReadLabels()->model();
        // The title row and the number column are the view's headers.
        QCOMPARE(labels->headerData(11, Qt::Vertical).toString(), QStringLiteral("12"));

        document.Model().Header().StepX = 1000;  // 120 traces x 1 m
        document.RefillHeaderTable();
        QCOMPARE(form_->ltxtLenghtOfProfil()->text(), QStringLiteral("120"));
        const QAbstractItemModel* header = form_->sgReadF4Header()->model();
        QCOMPARE(header->data(header->index(9, 1)).toString(), QStringLiteral("100"));
    }

    // A file manager's "Открыть с помощью" names the file on the command line: it is read as if
    // chosen in the open dialog, in the layout the stored settings name, and the dialog then
    // proposes it. A relative name counts from the working folder.
    void commandLineFileOpensAsIfChosen_data() {
        QTest::addColumn<QString>("layoutKey");
        QTest::addColumn<int>("layout");
        QTest::newRow("GPR2 by default") << QString() << int(TRadarLayout::Gpr2);
        QTest::newRow("stored GPR")
            << QStringLiteral("[Format]\r\nGPR|GPR2=0\r\n") << int(TRadarLayout::Gpr);
    }
    void commandLineFileOpensAsIfChosen() {
        QFETCH(QString, layoutKey);
        QFETCH(int, layout);
        const QString path = Path(QStringLiteral("аргумент.GPR"));
        TGeneratorOptions options;
        options.TraceCount = 40;
        options.SampleCount = 16;
        options.Layout = static_cast<TRadarLayout>(layout);
        GenerateRadargram(QFileInfo(path).filesystemFilePath(), options);
        QFile ini(Path(QStringLiteral("settings.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(layoutKey.toLatin1());
        ini.close();
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        form_->OpenFromCommandLine(QStringLiteral("аргумент.GPR"));
        QDir::setCurrent(previous);

        QVERIFY(platform_->Messages().isEmpty());
        QCOMPARE(form_->Model().FileLoaded(), 1);
        QCOMPARE(Cell(form_->HeaderGrid(), 2, 6), QStringLiteral("40"));
        QCOMPARE(form_->txtFileName()->text(), path);
        QCOMPARE(form_->windowTitle(),
                 path + (layout == int(TRadarLayout::Gpr) ? QStringLiteral(" — GPR")
                                                          : QStringLiteral(" — GPR2")));
        QCOMPARE(form_->RadargramFileName, QStringLiteral("аргумент.GPR"));
        platform_->OpenAnswers.push_back(std::nullopt);
        form_->findChild<QToolButton*>(QStringLiteral("btnOpenDirectory"))->click();
        QCOMPARE(platform_->Calls.front().Request.ProposedName, path);
        QFile::remove(path);
    }

    void commandLineFileThatCannotBeReadIsReportedAsFromTheDialog() {
        form_->OpenFromCommandLine(Path(QStringLiteral("missing.GPR2")));
        QCOMPARE(platform_->Messages(),
                 QStringList{QStringLiteral(
                     "Ошибка! Неверный формат или \n файл имеет атрибут -только для чтения-")});
        QCOMPARE(form_->Model().FileLoaded(), 0);
        QCOMPARE(form_->txtFileName()->text(), Path(QStringLiteral("missing.GPR2")));
    }

    void cancelAtStartReportsTheOpenFailure() {
        platform_->OpenAnswers.push_back(std::nullopt);
        form_->findChild<QToolButton*>(QStringLiteral("btnOpenDirectory"))->click();

        QCOMPARE(platform_->Messages(),
                 QStringList{QStringLiteral(
                     "Ошибка! Неверный формат или \n файл имеет атрибут -только для чтения-")});
        const auto& box = platform_->Last();
        QCOMPARE(box.Kind, TFakePlatform::TCallKind::MessageBox);
        QCOMPARE(box.Caption, QStringLiteral("Ошибка чтения данных"));
        QCOMPARE(box.Icon, TMsgIcon::Information);
        QCOMPARE(box.Buttons, TMsgButtons::Ok);
        QVERIFY(form_->RadargramFileName.isEmpty());
        QCOMPARE(form_->Model().FileLoaded(), 0);
    }

    void cancelWithAFileReadReadsItAgain() {
        Open(demo_);
        form_->setWindowTitle(QStringLiteral("unchanged"));
        form_->ReadLabelsGrid().SetCell(2, 1, "typed");
        platform_->OpenAnswers.push_back(std::nullopt);
        form_->findChild<QToolButton*>(QStringLiteral("btnOpenDirectory"))->click();

        QVERIFY(platform_->Messages().isEmpty());
        // The title names the file read again.
        QCOMPARE(form_->windowTitle(), demo_ + QStringLiteral(" — GPR2"));
        QCOMPARE(form_->RadargramFileName, QStringLiteral("demo.GPR2"));
        QVERIFY(Cell(form_->ReadLabelsGrid(), 2, 1) != QStringLiteral("typed"));
        QCOMPARE(platform_->Calls.back().Request.ProposedName, demo_);
    }

    void failedReadEmptiesOnlyTheLabelTable() {
        Open(demo_);
        form_->txtFileName()->setText(Path(QStringLiteral("missing.GPR2")));
        Act("acnReadFile")->trigger();

        QCOMPARE(platform_->Messages().size(), 1);
        QVERIFY(Cell(form_->ReadLabelsGrid(), 0, 1).isEmpty());
        QCOMPARE(Cell(form_->ReadLabelsGrid(), 0, 0), QStringLiteral("№ п/п"));
        QCOMPARE(form_->ltxtNLabels()->text(), QStringLiteral("12"));
        QCOMPARE(Cell(form_->HeaderGrid(), 2, 6), QStringLiteral("120"));
        QCOMPARE(form_->lblSizeFile()->text(),
                 QStringLiteral("Размер файла: 0 МБ (%1 байт)").arg(QFileInfo(demo_).size()));
    }

    void refusedFileShowsThePlainFaultMessage() {
        const QString bad = Path(QStringLiteral("bad.GPR2"));
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(100, '\0'));  // shorter than a header
        file.close();
        form_->txtFileName()->setText(bad);
        Act("acnReadFile")->trigger();

        QCOMPARE(platform_->Last().Kind, TFakePlatform::TCallKind::ShowMessage);
        QCOMPARE(platform_->Last().Text,
                 QStringLiteral("Радарограмма не открыта или не прочитана"));
        QCOMPARE(form_->lblSizeFile()->text(), QStringLiteral("Размер файла: 0 МБ (100 байт)"));
        QCOMPARE(form_->Model().FileLoaded(), 0);
    }

    void writeWithoutAReadIsRefused_data() {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("message");
        QTest::newRow("file exists")
            << true << QStringLiteral("Невозможно записать файл. Файл не открыт или не прочитан");
        QTest::newRow("no file") << false << QStringLiteral("Невозможно записать файл");
    }
    void writeWithoutAReadIsRefused() {
        QFETCH(bool, exists);
        form_->txtFileName()->setText(exists ? demo_ : Path(QStringLiteral("none.GPR2")));
        const QByteArray before = [&] {
            QFile f(demo_);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        Act("acnWriteFile")->trigger();
        QCOMPARE(platform_->Last().Kind, TFakePlatform::TCallKind::ShowMessage);
        QTEST(platform_->Last().Text, "message");
        QFile after(demo_);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), before);
    }

    void writeAfterAReadStoresTheFileUnchanged() {
        QFile original(demo_);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray before = original.readAll();
        original.close();
        Open(demo_);
        Act("acnWriteFile")->trigger();
        QVERIFY(platform_->Messages().isEmpty());
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(original.readAll(), before);
    }

    void settingsReloadAtActivation() {
        QFile ini(Path(QStringLiteral("settings.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(
            "[Format]\r\nGPR|GPR2=0\r\n[FileHeader]\r\nOperator=\xc8\xe2\xe0\xed\xee\xe2\r\n");
        ini.close();

        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        QCOMPARE(form_->txtOperator()->text(), QStringLiteral("Иванов"));
        QCOMPARE(form_->Settings().FormatIndex, 0);

        form_->txtOperator()->setText(QStringLiteral("typed"));
        form_->Settings().FormatIndex = 1;
        QWidget* dialog = form_->FmOptions();
        Act("acnOptionsAll")->trigger();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QCOMPARE(form_->txtOperator()->text(), QStringLiteral("typed"));
        form_->activateWindow();
        QTRY_COMPARE(form_->txtOperator()->text(), QStringLiteral("Иванов"));
        QCOMPARE(form_->Settings().FormatIndex, 0);
    }

    void returnFromAPopupKeepsTheTypedOperator_data() {
        QTest::addColumn<QString>("popup");
        QTest::newRow("combo list") << "combo";
        QTest::newRow("context menu") << "menu";
        QTest::newRow("completer") << "completer";
    }
    void returnFromAPopupKeepsTheTypedOperator() {
        QFETCH(QString, popup);
        ShowWithTypedOperator();
        form_->findChild<QTabWidget*>(QStringLiteral("PageControl2"))->setCurrentIndex(0);
        if (popup == QLatin1String("combo")) {
            auto* combo = form_->findChild<QComboBox*>(QStringLiteral("cmbCommentary1"));
            combo->showPopup();
            QTRY_VERIFY(FocusIsIn(combo->view()));
            combo->hidePopup();
        } else if (popup == QLatin1String("menu")) {
            QMenu menu(form_.get());
            menu.addAction(QStringLiteral("item"));
            menu.popup(form_->mapToGlobal(QPoint(40, 40)));
            QTRY_VERIFY(FocusIsIn(&menu));
            menu.close();
        } else {
            auto* completer = new QCompleter(
                QStringList{QStringLiteral("typed one"), QStringLiteral("typed two")},
                form_->txtOperator());
            form_->txtOperator()->setCompleter(completer);
            completer->complete();
            QTRY_VERIFY(FocusIsIn(completer->popup()));
            completer->popup()->hide();
        }
        FocusComesBack();
        QCOMPARE(form_->txtOperator()->text(), QStringLiteral("typed"));
    }

    void returnFromAWindowOfTheProgramReloadsTheOperator_data() {
        QTest::addColumn<QString>("window");
        QTest::newRow("modal dialog") << "modal";
        QTest::newRow("message box") << "message";
        QTest::newRow("options dialog closed") << "options";
    }
    void returnFromAWindowOfTheProgramReloadsTheOperator() {
        QFETCH(QString, window);
        ShowWithTypedOperator();
        if (window == QLatin1String("modal")) {
            QDialog dialog(form_.get());
            dialog.open();
            QTRY_VERIFY(FocusIsIn(&dialog));
            QCOMPARE(form_->txtOperator()->text(), QStringLiteral("typed"));
            dialog.accept();
        } else if (window == QLatin1String("message")) {
            // The box runs its own loop; it is answered once it really holds the focus.
            bool boxHadFocus = false;
            const auto answer =
                connect(qApp, &QGuiApplication::focusWindowChanged, form_.get(), [&] {
                    QWidget* box = QApplication::activeModalWidget();
                    if (!box || !FocusIsIn(box)) return;
                    boxHadFocus = true;
                    QMetaObject::invokeMethod(box, &QWidget::close, Qt::QueuedConnection);
                });
            TQtPlatform().ShowMessage(form_.get(), QStringLiteral("message"));
            disconnect(answer);
            QVERIFY(boxHadFocus);
        } else {
            QWidget* options = form_->FmOptions();
            Act("acnOptionsAll")->trigger();
            QTRY_VERIFY(FocusIsIn(options));
            options->close();
        }
        FocusComesBack();
        QCOMPARE(form_->txtOperator()->text(), QStringLiteral("Иванов"));
    }

    void saveFailureReachesTheGeneralErrorDisplay() {
        TFmMainForm form(*platform_, "/nonexistent-folder/settings.ini");
        form.findChild<QAction*>(QStringLiteral("acnSaveOptions"))->trigger();
        QCOMPARE(platform_->Last().Kind, TFakePlatform::TCallKind::ShowError);
        QCOMPARE(platform_->Last().Text,
                 QStringLiteral("Unable to write to /nonexistent-folder/settings.ini"));
    }

    void printPaintsTheHeaderTableIntoAPdf() {
        Open(demo_);
        const QString pdf = Path(QStringLiteral("header.pdf"));
        platform_->PrinterAnswers.push_back(true);
        platform_->ConfigurePrinter = [&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
        };
        Act("acnPrint")->trigger();
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(4) == "%PDF");
        QVERIFY(file.size() > 1000);
    }

    void cancelledPrintPrintsNothing() {
        platform_->PrinterAnswers.push_back(false);
        bool configured = false;
        platform_->ConfigurePrinter = [&](QPrinter&) { configured = true; };
        Act("acnPrint")->trigger();
        QCOMPARE(platform_->Last().Kind, TFakePlatform::TCallKind::PrinterSetup);
        QVERIFY(!configured);
        QVERIFY(platform_->Messages().isEmpty());
    }

    // Without a help file in the current folder the manual shows; F1 reaches it from every
    // window of the program.
    void helpShowsTheManualAndReportsNothing() {
        QVERIFY(!QFileInfo::exists(QStringLiteral("HelpTrelvanox.chm")));
        Act("acnHelp")->trigger();
        QCOMPARE(platform_->Last().Kind, TFakePlatform::TCallKind::ShowManual);
        QVERIFY(platform_->Last().Text.endsWith(QStringLiteral("manual/index.html")));
        QVERIFY(QFileInfo(platform_->Last().Text).isFile());
        QVERIFY(platform_->Messages().isEmpty());
        QCOMPARE(Act("acnHelp")->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(Act("acnHelp")->shortcutContext(), Qt::ApplicationShortcut);
    }

    void f1OpensTheManualAtTheSectionOfTheActiveWindow_data() {
        QTest::addColumn<QString>("command");  // the command that shows the window; none: main
        QTest::addColumn<QString>("section");
        QTest::newRow("main window") << ""
                                     << "";
        QTest::newRow("options") << "acnOptionsAll"
                                 << "options";
        QTest::newRow("amplitude") << "acnRegulationAmplitude"
                                   << "amplitude";
        QTest::newRow("colour map") << "acnDlgColorSettings"
                                    << "labels";
    }
    void f1OpensTheManualAtTheSectionOfTheActiveWindow() {
        QFETCH(QString, command);
        QFETCH(QString, section);
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        if (!command.isEmpty()) Act(command.toLatin1().constData())->trigger();
        QWidget* active = QApplication::activeWindow();
        QTRY_VERIFY((active = QApplication::activeWindow()) &&
                    (command.isEmpty() || active != form_.get()));
        platform_->Clear();
        QTest::keyClick(active, Qt::Key_F1);
        QCOMPARE(platform_->Calls.size(), std::size_t{1});
        QCOMPARE(platform_->Last().Kind, TFakePlatform::TCallKind::ShowManual);
        QCOMPARE(platform_->Last().Caption, section);
    }

    void skinsRestyleTheRibbon() {
        Act("acnSkinLuna")->trigger();
        QCOMPARE(form_->Ribbon().RibbonStyle(), TRibbonStyle::Luna);
        Act("acnSkinSilver")->trigger();
        QCOMPARE(form_->Ribbon().RibbonStyle(), TRibbonStyle::Silver);
        Act("acnSkinObsidian")->trigger();
        QCOMPARE(form_->Ribbon().RibbonStyle(), TRibbonStyle::Obsidian);
    }

    void exitClosesAtOnce() {
        form_->show();
        Act("acnExit")->trigger();
        QVERIFY(!form_->isVisible());
        QVERIFY(platform_->Calls.empty());
    }
};

QTEST_MAIN(TestMainForm)
#include "test_main_form.moc"
