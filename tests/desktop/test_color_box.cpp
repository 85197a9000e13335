#include <QPalette>
#include <QtTest>
#include <cstdint>
#include <optional>
#include <vector>

#include "desktop/widgets/color_box.h"

using namespace trelvanox;

namespace {

using TOptions = TColorBox::TOptions;

const TOptions kNamedOnly =
    TColorBox::StandardColors | TColorBox::ExtendedColors | TColorBox::SystemColors;
const TOptions kEverything =
    kNamedOnly | TColorBox::CustomColor | TColorBox::IncludeNone | TColorBox::IncludeDefault;

QColor SwatchCentre(const TColorBox& box, int index) {
    return box.itemIcon(index).pixmap(box.iconSize()).toImage().pixelColor(8, 8);
}

// A colour dialog that answers from a script and records what it was shown.
struct TScriptedDialog {
    std::vector<std::optional<QColor>> answers;
    std::vector<QColor> shown;

    TColorBox::TColorDialog Hook() {
        return [this](const QColor& initial, QWidget*) {
            shown.push_back(initial);
            const std::optional<QColor> answer = answers.at(shown.size() - 1);
            return answer;
        };
    }
};

}  // namespace

Q_DECLARE_METATYPE(TColorBox::TOptions)

class TColorBoxTest : public QObject {
    Q_OBJECT
  private slots:
    void namedValues_data();
    void namedValues();
    void defaultListHasNamedColoursOnly();
    void optionalEntries_data();
    void optionalEntries();
    void swatchShowsTheColour_data();
    void swatchShowsTheColour();
    void systemColourFollowsPalette();
    void unlistedValue_data();
    void unlistedValue();
    void customColourFromDialog();
    void optionsKeepSelection();
};

// Every entry's Russian name, once in the list, stands for its colour value (0x00BBGGRR, system
// colours 0x80000000 plus their index), and selecting by value finds the entry back.
void TColorBoxTest::namedValues_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<quint32>("value");

    QTest::newRow("black") << "Чёрный" << 0x00000000u;
    QTest::newRow("maroon") << "Бордовый" << 0x00000080u;
    QTest::newRow("green") << "Зелёный" << 0x00008000u;
    QTest::newRow("olive") << "Оливковый" << 0x00008080u;
    QTest::newRow("navy") << "Тёмно-синий" << 0x00800000u;
    QTest::newRow("purple") << "Фиолетовый" << 0x00800080u;
    QTest::newRow("teal") << "Тёмно-бирюзовый" << 0x00808000u;
    QTest::newRow("gray") << "Серый" << 0x00808080u;
    QTest::newRow("silver") << "Серебристый" << 0x00C0C0C0u;
    QTest::newRow("red") << "Красный" << 0x000000FFu;
    QTest::newRow("lime") << "Лайм" << 0x0000FF00u;
    QTest::newRow("yellow") << "Жёлтый" << 0x0000FFFFu;
    QTest::newRow("blue") << "Синий" << 0x00FF0000u;
    QTest::newRow("fuchsia") << "Фуксия" << 0x00FF00FFu;
    QTest::newRow("aqua") << "Бирюзовый" << 0x00FFFF00u;
    QTest::newRow("white") << "Белый" << 0x00FFFFFFu;
    QTest::newRow("money green") << "Бледно-зелёный" << 0x00C0DCC0u;
    QTest::newRow("sky blue") << "Небесно-голубой" << 0x00F0CAA6u;
    QTest::newRow("cream") << "Кремовый" << 0x00F0FBFFu;
    QTest::newRow("medium gray") << "Средне-серый" << 0x00A4A0A0u;
    QTest::newRow("scroll bar") << "Полоса прокрутки" << 0x80000000u;
    QTest::newRow("background") << "Рабочий стол" << 0x80000001u;
    QTest::newRow("active caption") << "Заголовок активного окна" << 0x80000002u;
    QTest::newRow("inactive caption") << "Заголовок неактивного окна" << 0x80000003u;
    QTest::newRow("menu") << "Фон меню" << 0x80000004u;
    QTest::newRow("window") << "Фон окна" << 0x80000005u;
    QTest::newRow("window frame") << "Рамка окна" << 0x80000006u;
    QTest::newRow("menu text") << "Текст меню" << 0x80000007u;
    QTest::newRow("window text") << "Текст окна" << 0x80000008u;
    QTest::newRow("caption text") << "Текст заголовка активного окна" << 0x80000009u;
    QTest::newRow("active border") << "Граница активного окна" << 0x8000000Au;
    QTest::newRow("inactive border") << "Граница неактивного окна" << 0x8000000Bu;
    QTest::newRow("app work space") << "Рабочая область программы" << 0x8000000Cu;
    QTest::newRow("highlight") << "Выделение" << 0x8000000Du;
    QTest::newRow("highlight text") << "Выделенный текст" << 0x8000000Eu;
    QTest::newRow("button face") << "Поверхность кнопки" << 0x8000000Fu;
    QTest::newRow("button shadow") << "Тень кнопки" << 0x80000010u;
    QTest::newRow("gray text") << "Недоступный текст" << 0x80000011u;
    QTest::newRow("button text") << "Текст кнопки" << 0x80000012u;
    QTest::newRow("inactive caption text") << "Текст заголовка неактивного окна" << 0x80000013u;
    QTest::newRow("button highlight") << "Светлый край кнопки" << 0x80000014u;
    QTest::newRow("3d dark shadow") << "Тёмная тень объёмных элементов" << 0x80000015u;
    QTest::newRow("3d light") << "Светлый край объёмных элементов" << 0x80000016u;
    QTest::newRow("info text") << "Текст подсказки" << 0x80000017u;
    QTest::newRow("info background") << "Фон подсказки" << 0x80000018u;
    QTest::newRow("hot light") << "Ссылка" << 0x8000001Au;
    QTest::newRow("gradient active caption") << "Градиент заголовка активного окна" << 0x8000001Bu;
    QTest::newRow("gradient inactive caption")
        << "Градиент заголовка неактивного окна" << 0x8000001Cu;
    QTest::newRow("menu highlight") << "Выделение в меню" << 0x8000001Du;
    QTest::newRow("menu bar") << "Строка меню" << 0x8000001Eu;
    QTest::newRow("none") << "Нет" << 0x1FFFFFFFu;
    QTest::newRow("default") << "По умолчанию" << 0x20000000u;
}

void TColorBoxTest::namedValues() {
    QFETCH(QString, name);
    QFETCH(quint32, value);

    TColorBox box(kEverything);
    const int index = box.findText(name);
    QVERIFY(index >= 0);
    for (int other = index + 1; other < box.count(); ++other) QVERIFY(box.itemText(other) != name);
    QVERIFY(index != box.CustomIndex());
    box.setCurrentIndex(index);
    QCOMPARE(box.Selected(), value);

    box.setCurrentIndex(box.findText(QStringLiteral("Серый")));
    QVERIFY(box.SetSelected(value));
    QCOMPARE(box.currentText(), name);
}

void TColorBoxTest::defaultListHasNamedColoursOnly() {
    TColorBox box;
    QCOMPARE(box.Options(), kNamedOnly);
    QCOMPARE(box.count(), 16 + 4 + 30);
    QCOMPARE(box.CustomIndex(), -1);
    const QStringList firstStandard = {QStringLiteral("Чёрный"), QStringLiteral("Бордовый"),
                                       QStringLiteral("Зелёный")};
    for (int i = 0; i < firstStandard.size(); ++i) QCOMPARE(box.itemText(i), firstStandard[i]);
    QCOMPARE(box.itemText(15), QStringLiteral("Белый"));
    QCOMPARE(box.itemText(16), QStringLiteral("Бледно-зелёный"));
    QCOMPARE(box.itemText(20), QStringLiteral("Полоса прокрутки"));
    QCOMPARE(box.currentText(), QStringLiteral("Чёрный"));
    QCOMPARE(box.Selected(), 0u);
}

void TColorBoxTest::optionalEntries_data() {
    QTest::addColumn<TOptions>("options");
    QTest::addColumn<bool>("custom");
    QTest::addColumn<bool>("none");
    QTest::addColumn<bool>("standardDefault");

    QTest::newRow("named only") << kNamedOnly << false << false << false;
    QTest::newRow("custom") << (kNamedOnly | TColorBox::CustomColor) << true << false << false;
    QTest::newRow("none") << (kNamedOnly | TColorBox::IncludeNone) << false << true << false;
    QTest::newRow("default") << (kNamedOnly | TColorBox::IncludeDefault) << false << false << true;
    QTest::newRow("all three") << kEverything << true << true << true;
}

void TColorBoxTest::optionalEntries() {
    QFETCH(TOptions, options);
    QFETCH(bool, custom);
    QFETCH(bool, none);
    QFETCH(bool, standardDefault);

    TColorBox box(options);
    QCOMPARE(box.findText(QStringLiteral("Другой...")) >= 0, custom);
    QCOMPARE(box.CustomIndex() >= 0, custom);
    QCOMPARE(box.findText(QStringLiteral("Нет")) >= 0, none);
    QCOMPARE(box.findText(QStringLiteral("По умолчанию")) >= 0, standardDefault);
    QCOMPARE(box.count(), 50 + int(custom) + int(none) + int(standardDefault));
    QCOMPARE(box.Selected(), 0u);  // black selected at the start, never the custom entry
    QCOMPARE(box.currentText(), QStringLiteral("Чёрный"));
}

void TColorBoxTest::swatchShowsTheColour_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("color");

    QTest::newRow("red") << "Красный" << QColor(255, 0, 0);
    QTest::newRow("navy") << "Тёмно-синий" << QColor(0, 0, 128);
    QTest::newRow("sky blue") << "Небесно-голубой" << QColor(166, 202, 240);
}

void TColorBoxTest::swatchShowsTheColour() {
    QFETCH(QString, name);
    QFETCH(QColor, color);

    TColorBox box;
    const int index = box.findText(name);
    QCOMPARE(SwatchCentre(box, index), color);
    box.setCurrentIndex(index);
    QCOMPARE(box.SelectedColor(), color);
}

void TColorBoxTest::systemColourFollowsPalette() {
    TColorBox box;
    QVERIFY(box.SetSelected(0x8000000Fu));  // button face
    QCOMPARE(box.currentText(), QStringLiteral("Поверхность кнопки"));
    const QColor face = box.palette().color(QPalette::Active, QPalette::Button);
    QCOMPARE(box.SelectedColor(), face);
    QCOMPARE(SwatchCentre(box, box.currentIndex()), face);
    QCOMPARE(ColorValueToQColor(0x80000019u, box.palette()), QColor());  // index 25 is unused
}

void TColorBoxTest::unlistedValue_data() {
    QTest::addColumn<TOptions>("options");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("without custom") << kNamedOnly << false;
    QTest::newRow("with custom") << kEverything << true;
}

// A value no name stands for goes into the custom entry, or is refused without one.
void TColorBoxTest::unlistedValue() {
    QFETCH(TOptions, options);
    QFETCH(bool, accepted);

    TColorBox box(options);
    QVERIFY(box.SetSelected(0x000000FFu));
    QCOMPARE(box.currentText(), QStringLiteral("Красный"));  // a named match wins over custom

    QCOMPARE(box.SetSelected(0x00123456u), accepted);
    if (accepted) {
        QCOMPARE(box.currentIndex(), box.CustomIndex());
        QCOMPARE(box.Selected(), 0x00123456u);
        QCOMPARE(SwatchCentre(box, box.CustomIndex()), QColor(0x56, 0x34, 0x12));
    } else {
        QCOMPARE(box.currentText(), QStringLiteral("Красный"));
        QCOMPARE(box.Selected(), 0x000000FFu);
    }
}

// Choosing "Другой..." by keyboard runs the dialog; a chosen colour becomes the entry's colour
// and is offered at the next start; a cancelled dialog returns to the entry chosen before.
void TColorBoxTest::customColourFromDialog() {
    TScriptedDialog dialog;
    dialog.answers = {QColor(10, 20, 30), std::nullopt, std::nullopt};
    TColorBox box(kEverything);
    box.SetColorDialog(dialog.Hook());
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.CustomIndex(), 0);
    QVERIFY(box.SetSelected(0x00FF0000u));  // blue
    box.setCurrentIndex(1);                 // black, next to the custom entry

    QTest::keyClick(&box, Qt::Key_Up);
    QCOMPARE(dialog.shown.size(), std::size_t{1});
    QCOMPARE(dialog.shown[0], QColor(0, 0, 0));
    QCOMPARE(box.currentIndex(), 0);
    QCOMPARE(box.Selected(), 0x001E140Au);

    QTest::keyClick(&box, Qt::Key_Down);  // black again
    QCOMPARE(box.Selected(), 0u);
    QTest::keyClick(&box, Qt::Key_Up);  // cancelled
    QCOMPARE(dialog.shown.size(), std::size_t{2});
    QCOMPARE(dialog.shown[1], QColor(10, 20, 30));
    QCOMPARE(box.currentText(), QStringLiteral("Чёрный"));
    QCOMPARE(box.ColorValue(0), 0x001E140Au);  // the custom colour stays for the next time

    QVERIFY(box.SetSelected(0x00ABCDEFu));  // the program's custom colour starts the dialog
    QTest::keyClick(&box, Qt::Key_Down);
    QTest::keyClick(&box, Qt::Key_Up);  // cancelled
    QCOMPARE(box.currentText(), QStringLiteral("Чёрный"));
    QCOMPARE(dialog.shown.size(), std::size_t{3});
    QCOMPARE(dialog.shown[2], QColor(0xEF, 0xCD, 0xAB));
}

void TColorBoxTest::optionsKeepSelection() {
    TColorBox box;
    QVERIFY(box.SetSelected(0x00008080u));  // olive
    box.SetOptions(kEverything);
    QCOMPARE(box.currentText(), QStringLiteral("Оливковый"));
    QVERIFY(box.SetSelected(0x00123456u));
    box.SetOptions(kNamedOnly);  // the custom colour has no place any more
    QCOMPARE(box.currentIndex(), 0);
    QCOMPARE(box.Selected(), 0u);
}

QTEST_MAIN(TColorBoxTest)
#include "test_color_box.moc"
