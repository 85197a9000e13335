#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

#include "desktop/app/about_form.h"
#include "desktop/app/build_date.h"
#include "desktop/app/command_set.h"
#include "desktop/app/notices_form.h"

using namespace trelvanox;

Q_DECLARE_METATYPE(TEditCommand)

namespace {

struct TExpectedCommand {
    const char* Name;
    const char* Caption;
    const char* Category;
};

// The action list as the program documents it, written independently of CommandTable().
const TExpectedCommand kExpected[] = {
    {"acnReadFile", "Обновить", "Радарограмма"},
    {"acnWriteFile", "Редактирование", "Радарограмма"},
    {"acnChangeHeaderSets", "Редактировать заголовок", "Радарограмма"},
    {"acnChangeLabelSets", "Редактировать метки", "Радарограмма"},
    {"acnSetNoHeader", "Удаление данных заголовка", "Радарограмма"},
    {"acnSetZeroPosition", "Сброс положений", "Радарограмма"},
    {"acnSetNoLabelText", "Сброс названия меток", "Радарограмма"},
    {"acnDlgColorSettings", "Цвет меток", "Радарограмма"},
    {"acnInsertLabel", "Вставить метку", "Радарограмма"},
    {"acnCalibrateByLabels", "Пересчёт координат по меткам", "Радарограмма"},
    {"acnRegulationAmplitude", "Регулировка амплитуд", "Радарограмма"},
    {"acnViewRadargram", "Просмотр", "Радарограмма"},
    {"acnDeleteZeroDelimiter", "Удалить 0-разделитель", "Радарограмма"},
    {"acnUndo", "Отменить", "Радарограмма"},
    {"acnRedo", "Повторить", "Радарограмма"},
    {"acnHistory", "История изменений", "Радарограмма"},
    {"acnImportTable", "Импорт таблицы", "Таблицы"},
    {"acnExportTable", "Экспорт таблицы", "Таблицы"},
    {"acnClearTableLabels", "Очистка таблицы", "Таблицы"},
    {"acnTranslateTable", "Перенести таблицу", "Таблицы"},
    {"EditCut1", "Вырезать", "Правка"},
    {"EditCopy1", "Копировать", "Правка"},
    {"EditPaste1", "Вставить", "Правка"},
    {"EditUndo1", "Отменить", "Правка"},
    {"EditDelete1", "Удалить", "Правка"},
    {"acnOptionsAll", "Настройка", "Настройка"},
    {"acnOptionsTable1", "Настройки таблицы чтения", "Настройка"},
    {"acnOptionsTable2", "Настройка таблицы записи", "Настройка"},
    {"acnOptionsRedact", "Параметры редактирования", "Настройка"},
    {"acnLoadOptions", "Загрузить настройки", "Ini"},
    {"acnSaveOptions", "Сохранить настройки", "Ini"},
    {"acnSkinObsidian", "Обсидиан", "Скин"},
    {"acnSkinSilver", "Серебро", "Скин"},
    {"acnSkinLuna", "Луна", "Скин"},
    {"acnExportSegy", "Экспорт в SEG-Y", "Общие"},
    {"acnPrint", "Печать", "Общие"},
    {"acnAbout", "О программе", "Справка"},
    {"acnHelp", "Помощь", "Справка"},
    {"acnExit", "Выход", "Общие"},
};

QString U(const char* text) {
    return QString::fromUtf8(text);
}

// A widget that records the keys it receives, standing in for a grid that handles Delete.
class TKeyRecorder : public QWidget {
  public:
    using QWidget::QWidget;
    QList<int> Keys;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        const int key = event->key();
        if (key != Qt::Key_Control && key != Qt::Key_Shift && key != Qt::Key_Alt) Keys.append(key);
    }
};

// A shown, active window with a line edit, a key recorder and a toolbar that holds every
// action of the set, the way the ribbon's buttons hold them.
struct TEditWindow {
    QWidget Window;
    QLineEdit* Edit;
    TKeyRecorder* Recorder;
    TCommandSet* Commands;

    TEditWindow() {
        auto* layout = new QVBoxLayout(&Window);
        auto* toolBar = new QToolBar(&Window);
        Commands = new TCommandSet(&Window);
        for (QAction* action : Commands->Actions()) toolBar->addAction(action);
        Edit = new QLineEdit(&Window);
        Recorder = new TKeyRecorder(&Window);
        Recorder->setFocusPolicy(Qt::StrongFocus);
        Recorder->setMinimumSize(40, 40);
        layout->addWidget(toolBar);
        layout->addWidget(Edit);
        layout->addWidget(Recorder);
    }

    bool ShowAndFocus(QWidget* widget) {
        Window.show();
        Window.activateWindow();
        if (!QTest::qWaitForWindowActive(&Window)) return false;
        widget->setFocus();
        return QTest::qWaitFor([widget] { return QApplication::focusWidget() == widget; });
    }
};

}  // namespace

class TestCommandSet : public QObject {
    Q_OBJECT

  private slots:
    void everyCommandHasItsCaptionAndCategory_data();
    void everyCommandHasItsCaptionAndCategory();
    void theSetHoldsNoOtherCommand();
    void hintFromTableOrScreenTipHeader();
    void shortcuts_data();
    void shortcuts();
    void screenTips_data();
    void screenTips();
    void everyActionHasAnIcon();
    void lookupByName();
    void editCommandsActOnFocusedLineEdit_data();
    void editCommandsActOnFocusedLineEdit();
    void undoRevertsTheLastEdit();
    void editTargets();
    void keysStayWithTheFocusedWidget_data();
    void keysStayWithTheFocusedWidget();
    void deleteKeyInLineEditDeletesTheNextCharacter();
    void compileDateLooksLikeTheCompilers();
    void aboutBoxShowsDateAndCaption_data();
    void aboutBoxShowsDateAndCaption();
    void aboutBoxIsCentredOnItsParent();
    void aboutBoxShowsTheLicenceNotices();
};

void TestCommandSet::everyCommandHasItsCaptionAndCategory_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("category");
    for (const TExpectedCommand& command : kExpected)
        QTest::newRow(command.Name) << U(command.Caption) << U(command.Category);
}

void TestCommandSet::everyCommandHasItsCaptionAndCategory() {
    QFETCH(QString, caption);
    QFETCH(QString, category);
    const QString name = QString::fromLatin1(QTest::currentDataTag());

    const TCommandInfo* info = FindCommand(name.toStdString());
    QVERIFY(info);
    QCOMPARE(U(std::string(info->Caption).c_str()), caption);

    QObject owner;
    TCommandSet commands(&owner);
    auto* action = owner.findChild<QAction*>(name);
    QVERIFY(action);
    QCOMPARE(commands.Action(name), action);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->property("category").toString(), category);
}

void TestCommandSet::theSetHoldsNoOtherCommand() {
    QSet<QString> expected;
    for (const TExpectedCommand& command : kExpected)
        expected.insert(QString::fromLatin1(command.Name));

    QSet<QString> seen;
    for (const TCommandInfo& info : CommandTable()) {
        const QString name = QString::fromLatin1(info.Name.data(), info.Name.size());
        QVERIFY2(expected.contains(name), qPrintable(name));
        QVERIFY2(!seen.contains(name), qPrintable(name + " twice"));
        seen.insert(name);
    }
    QCOMPARE(seen, expected);

    QObject owner;
    TCommandSet commands(&owner);
    QCOMPARE(owner.findChildren<QAction*>().size(), commands.Actions().size());
    QCOMPARE(commands.Actions().size(), expected.size());
}

void TestCommandSet::hintFromTableOrScreenTipHeader() {
    QObject owner;
    TCommandSet commands(&owner);
    QCOMPARE(commands.Action("acnReadFile")->statusTip(), U("Обновить/прочитать файл"));
    // No hint of its own: the screen tip's header, which differs from the caption here.
    QCOMPARE(commands.Action("acnClearTableLabels")->statusTip(), U("Очистка таблицы заголовка"));
}

void TestCommandSet::shortcuts_data() {
    QTest::addColumn<QKeySequence>("keys");
    QTest::newRow("EditCut1") << QKeySequence(Qt::CTRL | Qt::Key_X);
    QTest::newRow("EditCopy1") << QKeySequence(Qt::CTRL | Qt::Key_C);
    QTest::newRow("EditPaste1") << QKeySequence(Qt::CTRL | Qt::Key_V);
    // Ctrl+Z is the window's key (TWindowKeys): on a text field's text or on the file.
    QTest::newRow("EditUndo1") << QKeySequence();
    QTest::newRow("EditDelete1") << QKeySequence(Qt::Key_Delete);
    QTest::newRow("acnReadFile") << QKeySequence(Qt::Key_F5);
    QTest::newRow("acnPrint") << QKeySequence(Qt::CTRL | Qt::Key_P);
    QTest::newRow("acnHelp") << QKeySequence(Qt::Key_F1);
    QTest::newRow("acnUndo") << QKeySequence();
    QTest::newRow("acnExit") << QKeySequence();
}

void TestCommandSet::shortcuts() {
    QFETCH(QKeySequence, keys);
    QObject owner;
    TCommandSet commands(&owner);
    QAction* action = commands.Action(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(action);
    QCOMPARE(action->shortcut(), keys);
}

void TestCommandSet::screenTips_data() {
    QTest::addColumn<QString>("header");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("acnReadFile") << U("Просмотр") << QStringList{U("Чтение файла")};
    QTest::newRow("acnImportTable")
        << U("Импорт таблицы")
        << QStringList{U("Импорт таблицы из текстового файла (с разделителями табуляции) ")};
    QTest::newRow("acnHelp")
        << U("Помощь")
        << QStringList{U("Система справочной информации."),
                       U("Файл справки Trelvanox.chm должен находиться в той же директории, что "
                         "и исполняемый файл  Trelvanox.exe")};
    QTest::newRow("acnSetNoHeader")
        << U("Удаление данных заголовка")
        << QStringList{U("Стирание редактируемых данных из заголовка файла^"),
                       U("- Ф.И.О. оператора;"), U("- Объект;"), U("- Описание 1,2,3;"),
                       U("- Начальный пикет;")};
    QTest::newRow("EditCut1") << U("Вырезать")
                              << QStringList{U("Вырезать (переместить в буфер обмена)"), QString()};
    QTest::newRow("acnLoadOptions") << U("acnLoadOptions") << QStringList{};
    QTest::newRow("acnSaveOptions") << U("acnSaveOptions") << QStringList{};
    QTest::newRow("acnSkinLuna") << U("Луна")
                                 << QStringList{U("Скин \"Луна\" -голубые тона оформления ленты")};
    QTest::newRow("acnOptionsRedact")
        << U("Параметры редактирования")
        << QStringList{U("Определить параметры, подлежащие изменению по нажатии кнопок "
                         "\"Редактирование\", \"Редактирование заголовка\" и \"Редактирование "
                         "меток\"")};
    QTest::newRow("acnTranslateTable")
        << U("Перенести таблицу")
        << QStringList{U("Перенос дааных по меткам из таблицы прочитанных данных в таблицу "
                         "параметров для записи. Происходит автоматическая переиндексация "
                         "цветов")};
    QTest::newRow("acnDeleteZeroDelimiter")
        << U("Удалить 0-разделитель")
        << QStringList{U("Удаление 0-разделителей в файле для совместимости с другими программами "
                         "(RadExplorer и др.)")};
}

void TestCommandSet::screenTips() {
    QFETCH(QString, header);
    QFETCH(QStringList, lines);
    QObject owner;
    TCommandSet commands(&owner);
    QAction* action = commands.Action(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(action);
    QCOMPARE(action->property("screenTipHeader").toString(), header);
    QCOMPARE(action->property("screenTipLines").toStringList(), lines);
}

void TestCommandSet::everyActionHasAnIcon() {
    QObject owner;
    TCommandSet commands(&owner);
    for (QAction* action : commands.Actions()) {
        QVERIFY2(!action->icon().isNull(), qPrintable(action->objectName()));
        for (int size : {16, 32})
            QVERIFY2(!action->icon().pixmap(size, size).isNull(), qPrintable(action->objectName()));
    }
}

void TestCommandSet::lookupByName() {
    QObject owner;
    TCommandSet commands(&owner);
    QVERIFY(commands.Action("acnExit"));
    QVERIFY(!commands.Action("acnNoSuchCommand"));
    QVERIFY(!commands.Action(QString()));
    QVERIFY(!FindCommand("acnNoSuchCommand"));
}

void TestCommandSet::editCommandsActOnFocusedLineEdit_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("selectionStart");  // -1: no selection, caret at 2
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("clipboard");
    // Every row starts from the text "abcdef" and the clipboard "XY"; selection (1, 3) is "bcd".
    QTest::newRow("copy") << "EditCopy1" << 1 << false << "abcdef"
                          << "bcd";
    QTest::newRow("cut") << "EditCut1" << 1 << false << "aef"
                         << "bcd";
    QTest::newRow("paste over selection") << "EditPaste1" << 1 << false << "aXYef"
                                          << "XY";
    QTest::newRow("paste at caret") << "EditPaste1" << -1 << false << "abXYcdef"
                                    << "XY";
    QTest::newRow("delete selection") << "EditDelete1" << 1 << false << "aef"
                                      << "XY";
    QTest::newRow("delete without selection") << "EditDelete1" << -1 << false << "abcdef"
                                              << "XY";
    QTest::newRow("copy from read-only") << "EditCopy1" << 1 << true << "abcdef"
                                         << "bcd";
    QTest::newRow("cut from read-only") << "EditCut1" << 1 << true << "abcdef"
                                        << "XY";
    QTest::newRow("paste into read-only") << "EditPaste1" << 1 << true << "abcdef"
                                          << "XY";
    QTest::newRow("delete in read-only") << "EditDelete1" << 1 << true << "abcdef"
                                         << "XY";
}

void TestCommandSet::editCommandsActOnFocusedLineEdit() {
    QFETCH(QString, command);
    QFETCH(int, selectionStart);
    QFETCH(bool, readOnly);
    QFETCH(QString, text);
    QFETCH(QString, clipboard);

    TEditWindow w;
    w.Edit->setText("abcdef");
    w.Edit->setReadOnly(readOnly);
    QGuiApplication::clipboard()->setText("XY");
    QVERIFY(w.ShowAndFocus(w.Edit));
    if (selectionStart >= 0)
        w.Edit->setSelection(selectionStart, 3);
    else
        w.Edit->setCursorPosition(2);

    w.Commands->Action(command)->trigger();
    QCOMPARE(w.Edit->text(), text);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
}

void TestCommandSet::undoRevertsTheLastEdit() {
    TEditWindow w;
    w.Edit->setText("abc");
    QVERIFY(w.ShowAndFocus(w.Edit));
    w.Edit->end(false);
    QTest::keyClicks(w.Edit, "de");
    QCOMPARE(w.Edit->text(), "abcde");
    w.Commands->Action("EditUndo1")->trigger();
    QCOMPARE(w.Edit->text(), "abc");

    // The focus elsewhere: the command leaves the line edit alone.
    w.Edit->setText("abc");
    QTest::keyClicks(w.Edit, "x");
    w.Recorder->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.Recorder));
    w.Commands->Action("EditUndo1")->trigger();
    w.Commands->Action("EditDelete1")->trigger();
    QCOMPARE(w.Edit->text(), "abcx");
}

void TestCommandSet::editTargets() {
    QWidget window;
    QSpinBox spin(&window);
    QComboBox editable(&window);
    editable.setEditable(true);
    QComboBox list(&window);
    QPushButton button(&window);
    QLineEdit edit(&window);

    QCOMPARE(EditTarget(&edit), &edit);
    QVERIFY(EditTarget(&spin));
    QCOMPARE(EditTarget(&editable), editable.lineEdit());
    QVERIFY(!EditTarget(&list));
    QVERIFY(!EditTarget(&button));
    QVERIFY(!EditTarget(nullptr));
    RunEditCommand(TEditCommand::Paste, nullptr);  // nothing to act on: no crash

    spin.setValue(42);
    EditTarget(&spin)->selectAll();
    RunEditCommand(TEditCommand::Copy, &spin);
    QCOMPARE(QGuiApplication::clipboard()->text(), "42");
}

void TestCommandSet::keysStayWithTheFocusedWidget_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QKeySequence>("keys");
    QTest::newRow("Del") << "EditDelete1" << QKeySequence(Qt::Key_Delete);
    QTest::newRow("Ctrl+C") << "EditCopy1" << QKeySequence(Qt::CTRL | Qt::Key_C);
    QTest::newRow("Ctrl+V") << "EditPaste1" << QKeySequence(Qt::CTRL | Qt::Key_V);
}

void TestCommandSet::keysStayWithTheFocusedWidget() {
    QFETCH(QString, command);
    QFETCH(QKeySequence, keys);
    TEditWindow w;
    QSignalSpy triggered(w.Commands->Action(command), &QAction::triggered);

    // A widget with keys of its own (a grid) gets them; the command does not run.
    QVERIFY(w.ShowAndFocus(w.Recorder));
    QTest::keySequence(QApplication::focusWidget(), keys);
    QCOMPARE(w.Recorder->Keys.size(), 1);
    QCOMPARE(w.Recorder->Keys.front(), int(keys[0].key()));
    QCOMPARE(triggered.count(), 0);
}

void TestCommandSet::deleteKeyInLineEditDeletesTheNextCharacter() {
    TEditWindow w;
    QSignalSpy triggered(w.Commands->Action("EditDelete1"), &QAction::triggered);
    w.Edit->setText("abc");
    QVERIFY(w.ShowAndFocus(w.Edit));
    w.Edit->setCursorPosition(0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QCOMPARE(w.Edit->text(), "bc");
    QCOMPARE(triggered.count(), 0);
}

void TestCommandSet::compileDateLooksLikeTheCompilers() {
    // "Apr 19 2019", or "Apr  9 2019" for a one-digit day.
    static const QRegularExpression kDate(
        "^(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) ( [1-9]|[12][0-9]|3[01]) [0-9]{4}$");
    const QString date = QString::fromStdString(CompileDateText());
    QVERIFY2(kDate.match(date).hasMatch(), qPrintable(date));
}

void TestCommandSet::aboutBoxShowsDateAndCaption_data() {
    QTest::addColumn<QString>("date");
    QTest::newRow("two-digit day") << "Apr 19 2019";
    QTest::newRow("one-digit day keeps its blank") << "Apr  9 2019";
}

void TestCommandSet::aboutBoxShowsDateAndCaption() {
    QFETCH(QString, date);
    TFmAbout about(date);
    QCOMPARE(about.windowTitle(), U("О программе"));
    QVERIFY(about.isModal());
    auto* label = about.findChild<QLabel*>("lblCompileData");
    QVERIFY(label);
    QCOMPARE(label->text(), date);
    QCOMPARE(label->font().pointSize(), 12);

    QMap<QString, int> sizes;
    for (QLabel* l : about.findChildren<QLabel*>())
        if (!l->text().isEmpty()) sizes.insert(l->text(), l->font().pointSize());
    QCOMPARE(sizes.value("Trelvanox"), 20);
    QCOMPARE(sizes.value(U("Версия:")), 12);
    QCOMPARE(sizes.value("v.2"), 20);
    QCOMPARE(sizes.value(U("Дата компиляции:")), 12);

    auto* ok = about.findChild<QPushButton*>();
    QVERIFY(ok);
    QCOMPARE(ok->text(), "OK");
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    ok->click();
    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Accepted));
}

void TestCommandSet::aboutBoxIsCentredOnItsParent() {
    QWidget parent;
    parent.setGeometry(100, 80, 1000, 600);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    TFmAbout about("Apr 19 2019", &parent);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QPoint offset = about.frameGeometry().center() - parent.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 4,
             qPrintable(QString("off by %1,%2").arg(offset.x()).arg(offset.y())));
}

// The notices name the program's licence and every linked library with its licence, so that a
// user of a package with a statically linked Qt learns what it contains and how to relink it.
void TestCommandSet::aboutBoxShowsTheLicenceNotices() {
    TFmAbout about("Apr 19 2019");
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    auto* button = about.findChild<QPushButton*>("btnNotices");
    QVERIFY(button);
    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto* notices = qobject_cast<TFmNotices*>(QApplication::activeModalWidget());
        if (!notices) return;
        shown = notices->Text()->toPlainText();
        notices->accept();
    });
    button->click();
    QVERIFY(about.isVisible());
    for (const char* text :
         {"GPL-3.0-or-later", "Qt 6.4", "LGPL-3.0", "segyio", "libpng", "zlib", "TRELVANOX_QT_WIN"})
        QVERIFY2(shown.contains(QLatin1String(text)), text);
}

QTEST_MAIN(TestCommandSet)
#include "test_command_set.moc"
