#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>
#include <functional>
#include <memory>

#include "desktop/amplitude/regulation_amplitude_form.h"
#include "desktop/app/main_form.h"
#include "desktop/app/options_form.h"
#include "desktop/labels/color_options_form.h"
#include "desktop/labels/insert_label_form.h"
#include "desktop/widgets/color_box.h"
#include "fake_platform.h"

using namespace trelvanox;

using TDialogFactory = std::function<std::unique_ptr<QDialog>(QWidget*)>;
using TShow = std::function<void(QDialog*)>;
Q_DECLARE_METATYPE(TDialogFactory)
Q_DECLARE_METATYPE(TShow)

namespace {

template <typename D>
TDialogFactory Factory() {
    return [](QWidget* parent) { return std::make_unique<D>(parent); };
}

// The amplitude dialog works on a main window's radargram: here a hidden one inside the parent.
TDialogFactory AmplitudeFactory() {
    return [](QWidget* parent) -> std::unique_ptr<QDialog> {
        static TFakePlatform platform;
        auto* form = new TFmMainForm(platform, {}, parent);
        return std::make_unique<TFmRegulationAmplitude>(form->DocumentContext(), parent);
    };
}

template <typename D>
TShow ShowOf() {
    return [](QDialog* dialog) { static_cast<D*>(dialog)->ShowModeless(); };
}

}  // namespace

class TestDialogShells : public QObject {
    Q_OBJECT

  private slots:
    void captionSizeAndName_data();
    void captionSizeAndName();
    void colourMapFollowsTheBoxes();
    void optionsPages();
    void optionsShowPageBringsThatPage();
};

void TestDialogShells::captionSizeAndName_data() {
    QTest::addColumn<TDialogFactory>("create");
    QTest::addColumn<TShow>("showModeless");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("fixedSize");
    QTest::newRow("colour options")
        << Factory<TFmColorOptions>() << ShowOf<TFmColorOptions>() << "FmColorOptions"
        << QString::fromUtf8("Цвет меток") << QSize(508, 325) << false;
    QTest::newRow("insert label") << Factory<TFmInsertLabel>() << ShowOf<TFmInsertLabel>()
                                  << "FmInsertLabel" << QString::fromUtf8("Вставка метки")
                                  << QSize(239, 154) << false;
    QTest::newRow("options") << Factory<TFmOptions>() << ShowOf<TFmOptions>() << "FmOptions"
                             << QString::fromUtf8("Настройка") << QSize(916, 639) << false;
    QTest::newRow("amplitude regulation")
        << AmplitudeFactory() << ShowOf<TFmRegulationAmplitude>() << "FmRegulationAmplitude"
        << QString::fromUtf8("Регулировка амплитуд") << QSize(737, 405) << true;
}

void TestDialogShells::captionSizeAndName() {
    QFETCH(TDialogFactory, create);
    QFETCH(TShow, showModeless);
    QFETCH(QString, objectName);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QFETCH(bool, fixedSize);

    QWidget parent;
    parent.resize(1192, 687);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    std::unique_ptr<QDialog> dialog = create(&parent);
    QCOMPARE(dialog->objectName(), objectName);
    QCOMPARE(dialog->windowTitle(), caption);
    QVERIFY(!dialog->isVisible());  // hidden until a command shows it

    showModeless(dialog.get());
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    // The designed size, unless this system's fonts need more room for the contents.
    QCOMPARE(dialog->size(), size.expandedTo(dialog->minimumSizeHint()));
    QCOMPARE(dialog->minimumSize() == dialog->maximumSize(), fixedSize);

    // Closing hides; showing again finds the same window.
    dialog->close();
    QVERIFY(!dialog->isVisible());
    showModeless(dialog.get());
    QVERIFY(dialog->isVisible());
}

void TestDialogShells::colourMapFollowsTheBoxes() {
    TFmColorOptions dialog;
    QCOMPARE(dialog.ColourMap(), kStartColourMap);
    for (int index = 1; index <= 14; ++index) {
        TColorBox* box = dialog.findChild<TColorBox*>(QStringLiteral("ColorBox%1").arg(index));
        QCOMPARE(box, dialog.ColorBox(index));
        QCOMPARE(box->toolTip(), QStringLiteral("Цвет меток с индексом %1").arg(index));
        QCOMPARE(box->CustomIndex() >= 0, index == 5 || index == 12);
    }
    QVERIFY(dialog.findChild<QLabel*>() != nullptr);
    dialog.ColorBox(3)->SetSelected(0x0000FF00);
    TColourMap expected = kStartColourMap;
    expected[2] = 0x0000FF00;
    QCOMPARE(dialog.ColourMap(), expected);

    dialog.ShowModeless();
    dialog.btnOKColorSettings()->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.ColourMap(), expected);
}

void TestDialogShells::optionsPages() {
    TFmOptions options;
    auto* pages = options.findChild<QTabWidget*>();
    QVERIFY(pages);
    QCOMPARE(pages, options.Pages());
    const QStringList expected = {
        QString::fromUtf8("Общие"),
        QString::fromUtf8("Таблица прочитанных меток"),
        QString::fromUtf8("Таблица импортированных меток"),
        QString::fromUtf8("Редактирование"),
    };
    QStringList captions;
    for (int i = 0; i < pages->count(); ++i) captions << pages->tabText(i);
    QCOMPARE(captions, expected);
}

void TestDialogShells::optionsShowPageBringsThatPage() {
    TFmOptions options;
    options.ShowPage(TFmOptions::PageEditing);
    QVERIFY(options.isVisible());
    QCOMPARE(options.Pages()->currentIndex(), 3);
    // Already shown on a page: another command moves it to its own page.
    options.ShowPage(TFmOptions::PageReadTable);
    QCOMPARE(options.Pages()->currentIndex(), 1);
    options.ShowPage(TFmOptions::PageGeneral);
    QCOMPARE(options.Pages()->currentIndex(), 0);
}

QTEST_MAIN(TestDialogShells)
#include "test_dialog_shells.moc"
