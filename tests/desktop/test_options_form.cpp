#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <optional>
#include <vector>

#include "desktop/app/main_form.h"
#include "desktop/app/options_form.h"
#include "desktop/header/header_edit_page.h"
#include "desktop/widgets/string_grid_view.h"
#include "fake_platform.h"
#include "settings/settings.h"

using namespace trelvanox;

namespace {

// The fifteen table options in the order of the boxes on pages 1 and 2.
struct TTableBox {
    const char* Name;
    const char* Caption;
    TGridOption Option;
    bool Ticked;
};

const TTableBox kTableBoxes[] = {
    {"chkFixedVertLine", "  наличие вертикальных разделительных линий между закрепленными ячейками",
     TGridOption::FixedVertLine, true},
    {"chkFixedHorzLine",
     "  наличие горизонтальных разделительных линий между закрепленными ячейками",
     TGridOption::FixedHorzLine, true},
    {"chkVertLine", "  наличие вертикальных разделительных линий между незакрепленными ячейками",
     TGridOption::VertLine, true},
    {"chkHorzLine", "  наличие горизонтальных разделительных линий между незакрепленными ячейками",
     TGridOption::HorzLine, true},
    {"chkRangeSelect", "  возможность выделить диапазон ячеек", TGridOption::RangeSelect, true},
    {"chkDrawFocusSelected", "  закрашивание ячейки с фокусом ввода",
     TGridOption::DrawFocusSelected, true},
    {"chkRowSizing", "  возможность менять  высоту строк мышкой", TGridOption::RowSizing, true},
    {"chkColSizing", "  возможность менять ширину столбцов мышкой", TGridOption::ColSizing, true},
    {"chkRowMoving", "  возможность перетаскивания строки мышкой", TGridOption::RowMoving, true},
    {"chkColMoving", "  возможность перетаскивания столбца мышкой", TGridOption::ColMoving, true},
    {"chkEditing", "  возможность редактировать содержимое ячейки с клавиатуры",
     TGridOption::Editing, true},
    {"chkTabs",
     " во включенном положении фокус смещается на следующую ячейку в таблице, при выключенном - "
     "на следующий компонент",
     TGridOption::Tabs, true},
    {"chkRowSelect", "  при нажатии на ячейку выделяется вся строка", TGridOption::RowSelect,
     false},
    {"chkAlwaysShowEditor",
     " во включенном положении редактирование ячейки доступно сразу, при выключенном - "
     "редактирование возможно прсле щёлчка мышкой, нажатия клавищи Enter или F2(прим. : не "
     "действует при выделенной строке)",
     TGridOption::AlwaysShowEditor, true},
    {"chkThumbTracking",
     "  во включенном положении перемещение \"бегунка\" прокрутки  мышкой вызывает немедленное "
     "перемещение ячеек, \tв выключенном - ячейки перемещаются только при отпускании "
     "\"бегунка\"",
     TGridOption::ThumbTracking, true},
};

// Header edit-scope boxes, their settings and the main-window fields that they govern.
struct THeaderBox {
    const char* Name;
    const char* Field;
    bool TSettings::*Flag;
};

const THeaderBox kHeaderBoxes[] = {
    {"chkChangeOperator", "txtOperator", &TSettings::ChangeOperator},
    {"chkChangeObject", "txtObject", &TSettings::ChangeObject},
    {"chkChangeCommentary1", "cmbCommentary1", &TSettings::ChangeCommentary1},
    {"chkChangeCommentary2", "cmbCommentary2", &TSettings::ChangeCommentary2},
    {"chkChangeCommentary3", "cmbCommentary3", &TSettings::ChangeCommentary3},
    {"chkChangePK", "txtPK", &TSettings::ChangePK},
    {"chkChangeEpsilon", "txtEpsilon", &TSettings::ChangeEpsilon},
};

const char* const kLabelBoxes[] = {"chkChangeLabelText", "chkChangeLabelCoord",
                                   "chkChangeLabelColor"};

TGridOptions OptionSet(std::initializer_list<TGridOption> options) {
    TGridOptions set;
    for (TGridOption option : options) set |= option;
    return set;
}

// The observable Qt behaviour behind an option, where the table view has one.
std::optional<bool> Effect(TStringGridView& view, TGridOption option) {
    switch (option) {
        case TGridOption::RangeSelect:
            return view.selectionMode() == QAbstractItemView::ExtendedSelection;
        case TGridOption::RowSelect:
            return view.selectionBehavior() == QAbstractItemView::SelectRows;
        case TGridOption::RowSizing:
            return view.verticalHeader()->sectionResizeMode(0) == QHeaderView::Interactive;
        case TGridOption::ColSizing:
            return view.horizontalHeader()->sectionResizeMode(0) == QHeaderView::Interactive;
        case TGridOption::RowMoving:
            return view.verticalHeader()->sectionsMovable();
        case TGridOption::ColMoving:
            return view.horizontalHeader()->sectionsMovable();
        case TGridOption::Editing:
            return view.editTriggers().testFlag(QAbstractItemView::AnyKeyPressed);
        case TGridOption::AlwaysShowEditor:
            return view.editTriggers().testFlag(QAbstractItemView::CurrentChanged);
        case TGridOption::Tabs:
            return view.tabKeyNavigation();
        case TGridOption::ThumbTracking:
            return view.verticalScrollBar()->hasTracking();
        default:
            return std::nullopt;
    }
}

QString FieldText(QWidget* field) {
    if (auto* edit = qobject_cast<QLineEdit*>(field)) return edit->text();
    return qobject_cast<QComboBox*>(field)->currentText();
}

void SetFieldText(QWidget* field, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->setText(text);
    else
        qobject_cast<QComboBox*>(field)->setEditText(text);
}

}  // namespace

class TestOptionsForm : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<TFakePlatform> platform_;
    std::unique_ptr<TFmMainForm> form_;

    QString IniPath() const { return dir_.filePath(QStringLiteral("settings.ini")); }
    TFmOptions* Dialog() const { return form_->FmOptions(); }
    template <typename T = QCheckBox>
    T* In(QObject* parent, const QString& name) const {
        T* child = parent->findChild<T*>(name);
        if (!child) qFatal("no control %s", qPrintable(name));
        return child;
    }
    QCheckBox* Box(const QString& name) const { return In(Dialog(), name); }
    QWidget* Field(const QString& name) const { return In<QWidget>(form_->HeaderEditPage(), name); }
    void Trigger(const char* command) {
        form_->findChild<QAction*>(QString::fromLatin1(command))->trigger();
    }
    void WriteIni(const QByteArray& text) {
        QFile ini(IniPath());
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(text);
    }
    // Shows the main window and waits for its first activation.
    void ShowMainWindow() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }
    // Opens the dialog with a command, then gives the focus back to the main window.
    void VisitDialogAndReturn(const char* command) {
        Trigger(command);
        QVERIFY(QTest::qWaitForWindowActive(Dialog()));
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }
    TStringGridView* Table(int page) const {
        return page == TFmOptions::PageReadTable ? form_->sgReadLabels() : form_->sgNewSetsLabels();
    }

  private slots:
    void init() {
        QVERIFY(dir_.isValid());
        platform_ = std::make_unique<TFakePlatform>();
        form_ =
            std::make_unique<TFmMainForm>(*platform_, QFile::encodeName(IniPath()).toStdString());
        form_->CreateDialogs();
    }

    void cleanup() {
        form_.reset();
        platform_.reset();
        QFile::remove(IniPath());
    }

    void generalPageAsBuilt() {
        QVERIFY(!Dialog()->isVisible());
        Trigger("acnOptionsAll");
        QCOMPARE(Dialog()->windowTitle(), QStringLiteral("Настройка"));
        QCOMPARE(Dialog()->size(), QSize(916, 639));
        QVERIFY(!Dialog()->isModal());
        auto* format = In<QComboBox>(Dialog(), QStringLiteral("cmbFormatSourceFile"));
        auto* decimal = In<QComboBox>(Dialog(), QStringLiteral("ComboBox1"));
        auto* delimiter = In<QComboBox>(Dialog(), QStringLiteral("cmbDelimiter"));
        const auto items = [](QComboBox* box) {
            QStringList texts;
            for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
            return texts;
        };
        QCOMPARE(items(format), (QStringList{"GPR", "GPR2"}));
        QCOMPARE(format->currentText(), QStringLiteral("GPR2"));
        QCOMPARE(items(decimal),
                 (QStringList{QStringLiteral("точка ( . )"), QStringLiteral("запятая ( , )")}));
        QCOMPARE(decimal->currentIndex(), 0);
        QCOMPARE(items(delimiter), (QStringList{QStringLiteral("знак табуляции \"TAB\""),
                                                QStringLiteral("точка с запятой \" ; \""),
                                                QStringLiteral("запятая \" , \""),
                                                QStringLiteral("пробел \" SPACE \"")}));
        QCOMPARE(delimiter->currentIndex(), 0);
        for (QComboBox* box : {format, decimal, delimiter}) QVERIFY(box->isEditable());
        QCOMPARE(In<QLineEdit>(Dialog(), QStringLiteral("txtOperator"))->text(),
                 QStringLiteral("Ф.И.О."));
        QCOMPARE(In<QLineEdit>(Dialog(), QStringLiteral("txtBasePKm"))->text(),
                 QStringLiteral("100"));
        const QString descriptions[] = {QStringLiteral("Путь"), QStringLiteral("Вид работ"),
                                        QStringLiteral("Позиционирующее устройство")};
        for (int i = 0; i < 3; ++i) {
            auto* edit = In<QLineEdit>(Dialog(), QStringLiteral("ltxtNameCommentary%1").arg(i + 1));
            QCOMPARE(edit->text(), descriptions[i]);
        }
        QCOMPARE(In<QPushButton>(Dialog(), QStringLiteral("btnSaveOptions"))->text(),
                 QStringLiteral("Сохранить"));
        QCOMPARE(In<QPushButton>(Dialog(), QStringLiteral("btnOK"))->text(),
                 QStringLiteral("Применить"));
        QVERIFY(Dialog()->Pages()->widget(0)->width() >= 500);
        QVERIFY(Dialog()->Pages()->widget(0)->height() >= 500);
    }

    void checkBoxesAsBuilt_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("ticked");
        int number = 1;
        for (const TTableBox& box : kTableBoxes) {
            QTest::addRow("page 1 %s", box.Name) << 1 << QString::fromLatin1(box.Name)
                                                 << QString::fromUtf8(box.Caption) << box.Ticked;
            QTest::addRow("page 2 CheckBox%d", number)
                << 2 << QStringLiteral("CheckBox%1").arg(number) << QString::fromUtf8(box.Caption)
                << box.Ticked;
            ++number;
        }
        const struct {
            const char* Name;
            const char* Caption;
            bool Ticked;
        } editing[] = {
            {"chkChangeAllInHeader", "Редактировать все", false},
            {"chkChangeOperator", "Оператор", true},
            {"chkChangeObject", "Объект", true},
            {"chkChangeCommentary1", "Описание №1", true},
            {"chkChangeCommentary2", "Описание №2", true},
            {"chkChangeCommentary3", "Описание №3", true},
            {"chkChangePK", "Начальный пикет", true},
            {"chkChangeEpsilon", "Диэлектрическая проницаемость", false},
            {"chkChangeAllInLabels", "Редактировать все", true},
            {"chkChangeLabelText", "Тексты меток", true},
            {"chkChangeLabelCoord", "Координаты меток", true},
            {"chkChangeLabelColor", "Цвета меток", true},
        };
        for (const auto& box : editing)
            QTest::addRow("page 3 %s", box.Name) << 3 << QString::fromLatin1(box.Name)
                                                 << QString::fromUtf8(box.Caption) << box.Ticked;
    }
    void checkBoxesAsBuilt() {
        QFETCH(int, page);
        QFETCH(QString, name);
        QCheckBox* box = Box(name);
        QVERIFY(Dialog()->Pages()->widget(page)->isAncestorOf(box));
        QTEST(box->text(), "caption");
        QTEST(box->isChecked(), "ticked");
        if (page != 3) {
            // A long caption wraps instead of widening the page.
            QVERIFY(box->hasHeightForWidth());
            QVERIFY(box->heightForWidth(100) > box->heightForWidth(3000));
        }
    }

    void startState() {
        const TSettings& settings = form_->Settings();
        for (const THeaderBox& box : kHeaderBoxes) {
            const bool on = QLatin1String(box.Name) != QLatin1String("chkChangeEpsilon");
            QCOMPARE(Field(QString::fromLatin1(box.Field))->isEnabled(), on);
            QCOMPARE(settings.*box.Flag, on);
        }
        QVERIFY(!settings.ChangeAllInHeader);
        QVERIFY(settings.ChangeAllInLabels && settings.ChangeLabelText &&
                settings.ChangeLabelCoord && settings.ChangeLabelColor);
        QCOMPARE(settings.BasePKm, std::string("100"));
    }

    void controlsWriteTheirSettingsAtOnce() {
        TSettings& settings = form_->Settings();
        In<QComboBox>(Dialog(), QStringLiteral("cmbFormatSourceFile"))->setCurrentIndex(0);
        QCOMPARE(settings.FormatIndex, 0);
        In<QComboBox>(Dialog(), QStringLiteral("cmbDelimiter"))->setCurrentIndex(3);
        QCOMPARE(settings.DelimiterIndex, 3);
        In<QLineEdit>(Dialog(), QStringLiteral("txtOperator"))->setText(QStringLiteral("Петров"));
        QCOMPARE(settings.OperatorText, std::string("Петров"));
        QVERIFY(form_->txtOperator()->text().isEmpty());  // the main window's field is its own
        In<QLineEdit>(Dialog(), QStringLiteral("txtBasePKm"))->setText(QStringLiteral("1000"));
        QCOMPARE(settings.BasePKm, std::string("1000"));
        Box(QStringLiteral("chkChangeLabelCoord"))->setChecked(false);
        QVERIFY(!settings.ChangeLabelCoord);
        QVERIFY(settings.ChangeAllInLabels);
    }

    void tickingAndUntickingHeaderAll() {
        for (const THeaderBox& box : kHeaderBoxes)
            SetFieldText(Field(QString::fromLatin1(box.Field)), QString::fromLatin1(box.Field));
        QCheckBox* all = Box(QStringLiteral("chkChangeAllInHeader"));

        all->click();
        for (const THeaderBox& box : kHeaderBoxes) {
            QWidget* field = Field(QString::fromLatin1(box.Field));
            QVERIFY2(Box(QString::fromLatin1(box.Name))->isChecked(), box.Name);
            QVERIFY2(form_->Settings().*box.Flag, box.Name);
            QVERIFY2(field->isEnabled(), box.Field);
            QCOMPARE(FieldText(field), QString::fromLatin1(box.Field));
        }

        all->click();
        QVERIFY(!form_->Settings().ChangeAllInHeader);
        for (const THeaderBox& box : kHeaderBoxes) {
            QWidget* field = Field(QString::fromLatin1(box.Field));
            QVERIFY2(!Box(QString::fromLatin1(box.Name))->isChecked(), box.Name);
            QVERIFY2(!(form_->Settings().*box.Flag), box.Name);
            QVERIFY2(!field->isEnabled(), box.Field);
            QVERIFY2(FieldText(field).isEmpty(), box.Field);
        }
        // The lists keep their items.
        QCOMPARE(form_->HeaderEditPage()->cmbCommentary1()->count(), 13);
    }

    void headerAllOnlyDisablesABoxAlreadyUnticked() {
        Box(QStringLiteral("chkChangeAllInHeader"))->click();
        Box(QStringLiteral("chkChangeObject"))->click();
        QVERIFY(Box(QStringLiteral("chkChangeAllInHeader"))->isChecked());
        SetFieldText(Field(QStringLiteral("txtObject")), QStringLiteral("Перегон"));
        SetFieldText(Field(QStringLiteral("txtPK")), QStringLiteral("12"));

        Box(QStringLiteral("chkChangeAllInHeader"))->click();
        QCOMPARE(FieldText(Field(QStringLiteral("txtObject"))), QStringLiteral("Перегон"));
        QVERIFY(!Field(QStringLiteral("txtObject"))->isEnabled());
        QVERIFY(FieldText(Field(QStringLiteral("txtPK"))).isEmpty());
    }

    void singleHeaderBox_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(kHeaderBoxes)); ++i)
            QTest::addRow("%s", kHeaderBoxes[i].Name) << i;
    }
    void singleHeaderBox() {
        QFETCH(int, index);
        const THeaderBox& entry = kHeaderBoxes[index];
        QCheckBox* box = Box(QString::fromLatin1(entry.Name));
        QWidget* field = Field(QString::fromLatin1(entry.Field));
        if (!box->isChecked()) box->click();
        QVERIFY(field->isEnabled());
        SetFieldText(field, QStringLiteral("текст"));

        box->click();
        QVERIFY(!field->isEnabled());
        QVERIFY(FieldText(field).isEmpty());
        QVERIFY(!(form_->Settings().*entry.Flag));
        box->click();
        QVERIFY(field->isEnabled());
        QVERIFY(FieldText(field).isEmpty());
        // Neither change touched the group's "Редактировать все".
        QVERIFY(!Box(QStringLiteral("chkChangeAllInHeader"))->isChecked());
    }

    void labelAllSetsTheLabelBoxesOnly() {
        for (const THeaderBox& box : kHeaderBoxes)
            SetFieldText(Field(QString::fromLatin1(box.Field)), QStringLiteral("x"));
        Box(QStringLiteral("chkChangeLabelText"))->click();
        QVERIFY(Box(QStringLiteral("chkChangeAllInLabels"))->isChecked());

        Box(QStringLiteral("chkChangeAllInLabels"))->click();
        for (const char* name : kLabelBoxes) QVERIFY(!Box(QString::fromLatin1(name))->isChecked());
        const TSettings& settings = form_->Settings();
        QVERIFY(!settings.ChangeLabelText && !settings.ChangeLabelCoord &&
                !settings.ChangeLabelColor && !settings.ChangeAllInLabels);
        for (const THeaderBox& box : kHeaderBoxes) {
            QWidget* field = Field(QString::fromLatin1(box.Field));
            QCOMPARE(FieldText(field), QStringLiteral("x"));
            QCOMPARE(field->isEnabled(), settings.*box.Flag);
        }

        Box(QStringLiteral("chkChangeAllInLabels"))->click();
        for (const char* name : kLabelBoxes) QVERIFY(Box(QString::fromLatin1(name))->isChecked());
    }

    void activationPutsTheStoredOperatorIntoADisabledField() {
        WriteIni("[FileHeader]\r\nOperator=\xc8\xe2\xe0\xed\xee\xe2\r\n");
        ShowMainWindow();
        QCOMPARE(form_->txtOperator()->text(), QStringLiteral("Иванов"));
        Box(QStringLiteral("chkChangeOperator"))->click();
        QVERIFY(form_->txtOperator()->text().isEmpty());
        QVERIFY(!form_->txtOperator()->isEnabled());

        VisitDialogAndReturn("acnOptionsRedact");
        QTRY_COMPARE(form_->txtOperator()->text(), QStringLiteral("Иванов"));
        QVERIFY(!form_->txtOperator()->isEnabled());
        QVERIFY(!Box(QStringLiteral("chkChangeOperator"))->isChecked());
    }

    // A name typed on the header page or in the dialog survives the reload when the focus comes
    // back from a dialog, until it is saved; a field left unedited follows the file.
    void typedOperatorSurvivesTheReloadUntilSaved() {
        WriteIni("[FileHeader]\r\nOperator=\xc8\xe2\xe0\xed\xee\xe2\r\n");
        ShowMainWindow();
        QCOMPARE(form_->txtOperator()->text(), QStringLiteral("Иванов"));
        form_->txtOperator()->setFocus();
        form_->txtOperator()->selectAll();
        QTest::keyClicks(form_->txtOperator(), QStringLiteral("Sidorov"));
        VisitDialogAndReturn("acnOptionsRedact");
        QTest::qWait(50);
        QCOMPARE(form_->txtOperator()->text(), QStringLiteral("Sidorov"));

        auto* dialogField = In<QLineEdit>(Dialog(), QStringLiteral("txtOperator"));
        dialogField->selectAll();
        QTest::keyClicks(dialogField, QStringLiteral("Petrov"));
        form_->FormActivate();
        QCOMPARE(dialogField->text(), QStringLiteral("Petrov"));
        QCOMPARE(form_->Settings().OperatorText, std::string("Petrov"));

        // Saved, the fields follow the file again.
        Trigger("acnSaveOptions");
        WriteIni("[FileHeader]\r\nOperator=\xc8\xe2\xe0\xed\xee\xe2\r\n");
        form_->FormActivate();
        QCOMPARE(form_->txtOperator()->text(), QStringLiteral("Иванов"));
        QCOMPARE(dialogField->text(), QStringLiteral("Иванов"));
    }

    void commandsSelectTheirPages_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("page");
        QTest::newRow("acnOptionsAll") << "acnOptionsAll" << 0;
        QTest::newRow("acnOptionsTable1") << "acnOptionsTable1" << 1;
        QTest::newRow("acnOptionsTable2") << "acnOptionsTable2" << 2;
        QTest::newRow("acnOptionsRedact") << "acnOptionsRedact" << 3;
    }
    void commandsSelectTheirPages() {
        QFETCH(QString, command);
        QFETCH(int, page);
        ShowMainWindow();
        // Already shown on another page: the command brings it to the front on its own page.
        Dialog()->ShowPage(page == 0 ? 3 : 0);
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        Trigger(command.toLatin1().constData());
        QVERIFY(QTest::qWaitForWindowActive(Dialog()));
        QCOMPARE(Dialog()->Pages()->currentIndex(), page);
    }

    void saveButtonsWriteTheFileAndKeepTheDialog_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("Применить") << "btnOK";
        QTest::newRow("Сохранить") << "btnSaveOptions";
    }
    void saveButtonsWriteTheFileAndKeepTheDialog() {
        QFETCH(QString, button);
        Trigger("acnOptionsAll");
        In<QComboBox>(Dialog(), QStringLiteral("cmbFormatSourceFile"))->setCurrentIndex(0);
        In<QComboBox>(Dialog(), QStringLiteral("cmbDelimiter"))->setCurrentIndex(2);
        In<QLineEdit>(Dialog(), QStringLiteral("txtOperator"))->setText(QStringLiteral("Петров"));
        form_->txtOperator()->setText(QStringLiteral("не этот"));
        Box(QStringLiteral("chkChangeObject"))->click();
        In<QPushButton>(Dialog(), button)->click();

        QVERIFY(platform_->Calls.empty());
        QVERIFY(Dialog()->isVisible());
        TSettings stored;
        LoadSettings(stored, QFile::encodeName(IniPath()).toStdString());
        QCOMPARE(stored.FormatIndex, 0);
        QCOMPARE(stored.DelimiterIndex, 2);
        QCOMPARE(stored.OperatorText, std::string("Петров"));

        // Closed and opened again: everything as it was left.
        Dialog()->close();
        QVERIFY(!Dialog()->isVisible());
        Trigger("acnOptionsTable2");
        QCOMPARE(In<QComboBox>(Dialog(), QStringLiteral("cmbFormatSourceFile"))->currentIndex(), 0);
        QCOMPARE(In<QComboBox>(Dialog(), QStringLiteral("cmbDelimiter"))->currentIndex(), 2);
        QCOMPARE(In<QLineEdit>(Dialog(), QStringLiteral("txtOperator"))->text(),
                 QStringLiteral("Петров"));
        QVERIFY(!Box(QStringLiteral("chkChangeObject"))->isChecked());
    }

    void saveFailureReachesTheGeneralErrorDisplay() {
        form_.reset();
        form_ = std::make_unique<TFmMainForm>(*platform_, "/nonexistent-folder/settings.ini");
        form_->CreateDialogs();
        Trigger("acnOptionsAll");
        In<QPushButton>(Dialog(), QStringLiteral("btnOK"))->click();
        QCOMPARE(platform_->Calls.size(), std::size_t{1});
        QCOMPARE(platform_->Last().Kind, TFakePlatform::TCallKind::ShowError);
        QCOMPARE(platform_->Last().Text,
                 QStringLiteral("Unable to write to /nonexistent-folder/settings.ini"));
        QVERIFY(Dialog()->isVisible());
    }

    void unsavedLayoutIsReplacedAtActivation() {
        WriteIni("[Format]\r\nGPR|GPR2=1\r\n");
        ShowMainWindow();
        Trigger("acnOptionsAll");
        QVERIFY(QTest::qWaitForWindowActive(Dialog()));
        auto* format = In<QComboBox>(Dialog(), QStringLiteral("cmbFormatSourceFile"));
        format->setCurrentIndex(0);
        QCOMPARE(form_->Settings().FormatIndex, 0);

        form_->activateWindow();
        QTRY_COMPARE(format->currentText(), QStringLiteral("GPR2"));
        QCOMPARE(form_->Settings().FormatIndex, 1);
    }

    void loadedIndexesOutsideTheListsChooseNothing_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QByteArray>("delimiter");
        QTest::addColumn<int>("formatIndex");
        QTest::addColumn<int>("delimiterIndex");
        QTest::addColumn<QString>("formatText");
        QTest::newRow("inside") << QByteArray("0") << QByteArray("3") << 0 << 3 << "GPR";
        QTest::newRow("beyond the lists") << QByteArray("5") << QByteArray("7") << -1 << -1 << "";
        QTest::newRow("minus one") << QByteArray("-1") << QByteArray("-1") << -1 << -1 << "";
        QTest::newRow("not numbers") << QByteArray("x") << QByteArray("abc") << 1 << 0 << "GPR2";
    }
    void loadedIndexesOutsideTheListsChooseNothing() {
        QFETCH(QByteArray, format);
        QFETCH(QByteArray, delimiter);
        QFETCH(int, formatIndex);
        QFETCH(int, delimiterIndex);
        auto* formatBox = In<QComboBox>(Dialog(), QStringLiteral("cmbFormatSourceFile"));
        auto* delimiterBox = In<QComboBox>(Dialog(), QStringLiteral("cmbDelimiter"));
        // A layout choice typed over a chosen item is replaced too.
        formatBox->setEditText(QStringLiteral("typed"));
        WriteIni("[TableOfLabel]\r\nDelimiter=" + delimiter + "\r\n[Format]\r\nGPR|GPR2=" + format +
                 "\r\n");
        Trigger("acnLoadOptions");
        Trigger("acnLoadOptions");  // the second load finds its item, or none, chosen already

        QCOMPARE(formatBox->currentIndex(), formatIndex);
        QCOMPARE(delimiterBox->currentIndex(), delimiterIndex);
        QTEST(formatBox->currentText(), "formatText");
        QCOMPARE(form_->Settings().FormatIndex, formatIndex);
        QCOMPARE(form_->Settings().DelimiterIndex, delimiterIndex);

        In<QPushButton>(Dialog(), QStringLiteral("btnSaveOptions"))->click();
        TSettings stored;
        LoadSettings(stored, QFile::encodeName(IniPath()).toStdString());
        QCOMPARE(stored.FormatIndex, formatIndex);
        QCOMPARE(stored.DelimiterIndex, delimiterIndex);
    }

    void tablesStartWithTheirOwnOptions() {
        using O = TGridOption;
        const TGridOptions read =
            OptionSet({O::FixedVertLine, O::FixedHorzLine, O::VertLine, O::HorzLine, O::RangeSelect,
                       O::ColSizing, O::Editing, O::Tabs});
        QCOMPARE(form_->sgReadLabels()->Options(), read);
        QCOMPARE(
            form_->sgNewSetsLabels()->Options(),
            read | OptionSet({O::DrawFocusSelected, O::RowSizing, O::RowMoving, O::ColMoving}));
        for (TStringGridView* view : {form_->sgReadLabels(), form_->sgNewSetsLabels()})
            for (const TTableBox& box : kTableBoxes)
                if (const std::optional<bool> effect = Effect(*view, box.Option))
                    QCOMPARE(*effect, view->HasOption(box.Option));
    }

    void tableBoxSetsItsTableOption_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("optionBits");
        for (int page : {1, 2}) {
            int number = 1;
            for (const TTableBox& box : kTableBoxes) {
                const QString name = page == 1 ? QString::fromLatin1(box.Name)
                                               : QStringLiteral("CheckBox%1").arg(number);
                QTest::addRow("page %d %s", page, qPrintable(name))
                    << page << name << static_cast<int>(box.Option);
                ++number;
            }
        }
    }
    void tableBoxSetsItsTableOption() {
        QFETCH(int, page);
        QFETCH(QString, name);
        QFETCH(int, optionBits);
        const auto option = static_cast<TGridOption>(optionBits);
        TStringGridView* table = Table(page);
        TStringGridView* other = Table(3 - page);
        const TGridOptions otherBefore = other->Options();
        const TGridOptions rest = table->Options() & ~TGridOptions(option);
        QCheckBox* box = Box(name);
        // Off, then on: each state reaches the table, whatever the table had before.
        for (bool on : {false, true, false}) {
            box->setChecked(on);
            QCOMPARE(table->HasOption(option), on);
            if (const std::optional<bool> effect = Effect(*table, option)) QCOMPARE(*effect, on);
            QCOMPARE(table->Options() & ~TGridOptions(option), rest);
            QCOMPARE(other->Options(), otherBefore);
        }
    }

    void rowSelectStopsEditing() {
        TStringGridView* table = form_->sgNewSetsLabels();
        Box(QStringLiteral("CheckBox13"))->setChecked(true);
        QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);
        Box(QStringLiteral("CheckBox13"))->setChecked(false);
        QVERIFY(table->editTriggers().testFlag(QAbstractItemView::AnyKeyPressed));
    }

    void gridLinesFollowTheirBoxes_data() {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<bool>("horizontal");
        QTest::newRow("both") << true << true;
        QTest::newRow("vertical only") << true << false;
        QTest::newRow("horizontal only") << false << true;
        QTest::newRow("none") << false << false;
    }
    void gridLinesFollowTheirBoxes() {
        QFETCH(bool, vertical);
        QFETCH(bool, horizontal);
        TStringGridView* table = form_->sgReadLabels();
        table->resize(500, 300);
        Box(QStringLiteral("chkVertLine"))->setChecked(vertical);
        Box(QStringLiteral("chkHorzLine"))->setChecked(horizontal);
        const QImage image = table->viewport()->grab().toImage();
        // Cell (col 2, row 3) of the items is empty and not selected.
        const int right = table->columnViewportPosition(2) + table->columnWidth(2) - 1;
        const int bottom = table->rowViewportPosition(3) + table->rowHeight(3) - 1;
        const int midX = table->columnViewportPosition(2) + table->columnWidth(2) / 2;
        const int midY = table->rowViewportPosition(3) + table->rowHeight(3) / 2;
        const QRgb cell = image.pixel(midX, midY);
        QCOMPARE(image.pixel(right, midY) != cell, vertical);
        QCOMPARE(image.pixel(midX, bottom) != cell, horizontal);
    }

    void movingARowOrColumnMovesItsCells_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("columns");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("edit table column right") << 2 << true << 0 << 2;
        QTest::newRow("edit table column left") << 2 << true << 3 << 1;
        QTest::newRow("read table row down") << 1 << false << 0 << 3;
        QTest::newRow("read table column left") << 1 << true << 4 << 0;
    }
    void movingARowOrColumnMovesItsCells() {
        QFETCH(int, page);
        QFETCH(bool, columns);
        QFETCH(int, from);
        QFETCH(int, to);
        TStringGridView* table = Table(page);
        // The read table moves nothing until its boxes allow it.
        const QString box = page == 1 ? (columns ? "chkColMoving" : "chkRowMoving")
                                      : (columns ? "CheckBox10" : "CheckBox9");
        Box(box)->setChecked(false);
        Box(box)->setChecked(true);
        TStringGrid& grid = table->Grid();
        for (int col = 0; col < grid.ColCount(); ++col)
            for (int row = 0; row < 6; ++row)
                grid.SetCell(col, row, QStringLiteral("c%1r%2").arg(col).arg(row).toStdString());
        table->GridModel()->GridChanged();
        QHeaderView* header = columns ? table->horizontalHeader() : table->verticalHeader();
        const int fixed =
            columns ? table->GridModel()->FixedCols() : table->GridModel()->FixedRows();
        std::vector<int> sizes;
        for (int i = 0; i < header->count(); ++i) sizes.push_back(header->sectionSize(i));
        header->resizeSection(from, 40);  // a size of its own to follow
        sizes[from] = 40;

        header->moveSection(from, to);  // where a drag of the section ends

        // The sections keep the grid's order and sizes go with their cells.
        for (int i = 0; i < header->count(); ++i) QCOMPARE(header->visualIndex(i), i);
        QCOMPARE(header->sectionSize(to), sizes[from]);
        const auto name = [&](int line, int other) {
            return columns ? QStringLiteral("c%1r%2").arg(line).arg(other)
                           : QStringLiteral("c%1r%2").arg(other).arg(line);
        };
        const auto cell = [&](int line, int other) {
            return QString::fromStdString(columns ? grid.Cell(line, other)
                                                  : grid.Cell(other, line));
        };
        const int step = from < to ? 1 : -1;
        for (int other = 0; other < 3; ++other) {
            // The whole line moves, its title or fixed cell included.
            QCOMPARE(cell(to + fixed, other), name(from + fixed, other));
            for (int i = from; i != to; i += step)
                QCOMPARE(cell(i + fixed, other), name(i + step + fixed, other));
        }
        // The view shows the moved cells.
        const QModelIndex moved = columns ? table->GridModel()->IndexOf(to + fixed, 1)
                                          : table->GridModel()->IndexOf(1, to + fixed);
        QCOMPARE(moved.data().toString(), name(from + fixed, 1));
    }
};

QTEST_MAIN(TestOptionsForm)
#include "test_options_form.moc"
