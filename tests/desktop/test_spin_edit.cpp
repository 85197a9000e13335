#include <QLineEdit>
#include <QSignalSpy>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

#include "desktop/widgets/spin_edit.h"

using namespace trelvanox;

namespace {

// A window with the spin edit and a second field to take the focus from it.
struct TFocusWindow {
    QWidget window;
    TSpinEdit* spin = new TSpinEdit(&window);
    QLineEdit* other = new QLineEdit(&window);

    TFocusWindow() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(spin);
        layout->addWidget(other);
    }
};

enum class TStep { UpButton, DownButton, UpKey, DownKey };

}  // namespace

Q_DECLARE_METATYPE(TStep)

class TSpinEditTest : public QObject {
    Q_OBJECT
  private slots:
    void startsAsUnboundedZero();
    void value_data();
    void value();
    void setValueKeepsRange_data();
    void setValueKeepsRange();
    void rangeSettersKeepOrder();
    void typingKeepsAnyText();
    void sameTextIsNoChange();
    void focusOut_data();
    void focusOut();
    void contextMenuFocusIsNotLeaving();
    void steps_data();
    void steps();
};

void TSpinEditTest::startsAsUnboundedZero() {
    TSpinEdit spin;
    QCOMPARE(spin.Text(), QStringLiteral("0"));
    QCOMPARE(spin.Value(), 0);
    QVERIFY(!spin.Bounded());
    QCOMPARE(spin.Increment(), 1);
    QVERIFY(!spin.ZeroOnInvalid());
}

// Value reads the text as typed: a whole number as it is (range or not), anything else as the
// minimum.
void TSpinEditTest::value_data() {
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("plain") << 0 << 0 << "12" << 12;
    QTest::newRow("negative") << 0 << 0 << "-7" << -7;
    QTest::newRow("plus sign") << 0 << 0 << "+3" << 3;
    QTest::newRow("int max") << 0 << 0 << "2147483647" << 2147483647;
    QTest::newRow("int min") << 0 << 0 << "-2147483648" << (-2147483647 - 1);
    QTest::newRow("past int max") << 0 << 0 << "2147483648" << 0;
    QTest::newRow("empty") << 0 << 0 << "" << 0;
    QTest::newRow("lone minus") << 0 << 0 << "-" << 0;
    QTest::newRow("letters") << 0 << 0 << "abc" << 0;
    QTest::newRow("fraction") << 0 << 0 << "1.5" << 0;
    QTest::newRow("leading blank") << 0 << 0 << " 5" << 0;
    QTest::newRow("hexadecimal") << 0 << 0 << "0x10" << 0;
    QTest::newRow("typed beyond range") << 0 << 510 << "600" << 600;
    QTest::newRow("not a number, minimum 5") << 5 << 10 << "x" << 5;
}

void TSpinEditTest::value() {
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(QString, text);
    QFETCH(int, expected);

    TSpinEdit spin;
    spin.SetRange(minValue, maxValue);
    spin.SetText(text);
    QCOMPARE(spin.Text(), text);
    QCOMPARE(spin.Value(), expected);
}

void TSpinEditTest::setValueKeepsRange_data() {
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("unbounded large") << 0 << 0 << 123456 << "123456";
    QTest::newRow("unbounded negative") << 0 << 0 << -5 << "-5";
    QTest::newRow("inside") << 0 << 511 << 511 << "511";
    QTest::newRow("above") << 0 << 510 << 600 << "510";
    QTest::newRow("below") << 0 << 510 << -1 << "0";
    QTest::newRow("single-value range") << 5 << 5 << 0 << "5";
    QTest::newRow("negative range") << -10 << -2 << 0 << "-2";
}

void TSpinEditTest::setValueKeepsRange() {
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(int, value);
    QFETCH(QString, expected);

    TSpinEdit spin;
    spin.SetRange(minValue, maxValue);
    spin.SetValue(value);
    QCOMPARE(spin.Text(), expected);
}

void TSpinEditTest::rangeSettersKeepOrder() {
    TSpinEdit spin;
    spin.SetText(QStringLiteral("700"));
    spin.SetMinValue(20);  // past the maximum 0: the maximum follows
    QCOMPARE(spin.MaxValue(), 20);
    spin.SetMaxValue(10);  // below the minimum: the minimum follows
    QCOMPARE(spin.MinValue(), 10);
    QVERIFY(spin.Bounded());
    spin.SetRange(0, 0);
    QVERIFY(!spin.Bounded());
    QCOMPARE(spin.Text(), QStringLiteral("700"));  // a range change does not rewrite the text
}

// Nothing is refused while typing, and every keystroke is a change.
void TSpinEditTest::typingKeepsAnyText() {
    TSpinEdit spin;
    spin.SetRange(0, 511);
    spin.SetText(QString());
    QSignalSpy changes(&spin, &TSpinEdit::TextChanged);

    QTest::keyClicks(spin.Editor(), QStringLiteral("-a1"));
    QCOMPARE(spin.Text(), QStringLiteral("-a1"));
    QCOMPARE(changes.size(), 3);
    QCOMPARE(changes.at(0).at(0).toString(), QStringLiteral("-"));
    QCOMPARE(changes.at(2).at(0).toString(), QStringLiteral("-a1"));
}

void TSpinEditTest::sameTextIsNoChange() {
    TSpinEdit spin;
    QSignalSpy changes(&spin, &TSpinEdit::TextChanged);
    spin.SetText(QStringLiteral("5"));
    spin.SetText(QStringLiteral("5"));
    spin.SetValue(5);
    QCOMPARE(changes.size(), 1);
    spin.SetValue(6);
    QCOMPARE(changes.size(), 2);
    QCOMPARE(changes.last().at(0).toString(), QStringLiteral("6"));
}

void TSpinEditTest::focusOut_data() {
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<bool>("zeroOnInvalid");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("above range") << 0 << 510 << false << "600"
                                 << "510";
    QTest::newRow("below range") << 0 << 200000 << false << "-3"
                                 << "0";
    QTest::newRow("far above range") << 0 << 200000 << false << "2147483647"
                                     << "200000";
    QTest::newRow("inside range") << 0 << 511 << false << "200"
                                  << "200";
    QTest::newRow("limit itself") << 0 << 511 << false << "511"
                                  << "511";
    QTest::newRow("bounded lone minus kept") << 0 << 100000 << false << "-"
                                             << "-";
    QTest::newRow("unbounded large kept") << 0 << 0 << false << "-999999"
                                          << "-999999";
    QTest::newRow("unbounded lone minus kept") << 0 << 0 << false << "-"
                                               << "-";
    QTest::newRow("unbounded letters kept") << 0 << 0 << false << "abc"
                                            << "abc";
    QTest::newRow("zeroing: lone minus") << 0 << 0 << true << "-"
                                         << "0";
    QTest::newRow("zeroing: letters") << 0 << 0 << true << "abc"
                                      << "0";
    QTest::newRow("zeroing: empty") << 0 << 0 << true << ""
                                    << "0";
    QTest::newRow("zeroing: fraction") << 0 << 0 << true << "1.5"
                                       << "0";
    QTest::newRow("zeroing: number kept") << 0 << 0 << true << "12"
                                          << "12";
    QTest::newRow("zeroing: negative kept") << 0 << 0 << true << "-4"
                                            << "-4";
    QTest::newRow("zeroing inside range") << 5 << 10 << true << "x"
                                          << "5";
}

// The text is typed by keyboard and the focus then moves to another field of the window.
void TSpinEditTest::focusOut() {
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(bool, zeroOnInvalid);
    QFETCH(QString, typed);
    QFETCH(QString, expected);

    TFocusWindow w;
    w.spin->SetRange(minValue, maxValue);
    w.spin->SetZeroOnInvalid(zeroOnInvalid);
    w.window.show();
    w.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.spin->setFocus(Qt::TabFocusReason);
    QVERIFY(w.spin->Editor()->hasFocus());

    w.spin->Editor()->clear();
    QTest::keyClicks(w.spin->Editor(), typed);
    QCOMPARE(w.spin->Text(), typed);  // kept as typed while the field has the focus

    w.other->setFocus(Qt::TabFocusReason);
    QVERIFY(w.other->hasFocus());
    QCOMPARE(w.spin->Text(), expected);
}

void TSpinEditTest::contextMenuFocusIsNotLeaving() {
    TSpinEdit spin;
    spin.SetRange(0, 510);
    spin.SetZeroOnInvalid(true);
    spin.SetText(QStringLiteral("600"));
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(spin.Editor(), &popup);
    QCOMPARE(spin.Text(), QStringLiteral("600"));
    QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(spin.Editor(), &tab);
    QCOMPARE(spin.Text(), QStringLiteral("510"));
}

void TSpinEditTest::steps_data() {
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("increment");
    QTest::addColumn<QString>("start");
    QTest::addColumn<TStep>("step");
    QTest::addColumn<int>("times");
    QTest::addColumn<QString>("expected");

    QTest::newRow("button up") << 0 << 0 << 1 << "0" << TStep::UpButton << 2 << "2";
    QTest::newRow("button down below 0") << 0 << 0 << 1 << "0" << TStep::DownButton << 1 << "-1";
    QTest::newRow("key up by 50") << 0 << 100000 << 50 << "0" << TStep::UpKey << 3 << "150";
    QTest::newRow("key down by 50") << 0 << 0 << 50 << "-20" << TStep::DownKey << 1 << "-70";
    QTest::newRow("up stops at max")
        << 0 << 100000 << 50 << "99980" << TStep::UpButton << 2 << "100000";
    QTest::newRow("down stops at min") << 0 << 510 << 1 << "0" << TStep::DownKey << 1 << "0";
    QTest::newRow("typed beyond range")
        << 0 << 511 << 1 << "600" << TStep::DownButton << 1 << "511";
    QTest::newRow("lone minus counts as 0") << 0 << 0 << 1 << "-" << TStep::UpKey << 1 << "1";
    QTest::newRow("letters count as minimum")
        << 5 << 10 << 1 << "abc" << TStep::UpButton << 1 << "6";
    QTest::newRow("unbounded stops at int max")
        << 0 << 0 << 50 << "2147483600" << TStep::UpKey << 1 << "2147483647";
    QTest::newRow("unbounded stops at int min")
        << 0 << 0 << 50 << "-2147483600" << TStep::DownButton << 1 << "-2147483648";
}

void TSpinEditTest::steps() {
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(int, increment);
    QFETCH(QString, start);
    QFETCH(TStep, step);
    QFETCH(int, times);
    QFETCH(QString, expected);

    QWidget window;
    auto* spin = new TSpinEdit(&window);
    spin->SetRange(minValue, maxValue);
    spin->SetIncrement(increment);
    spin->SetText(start);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QSignalSpy changes(spin, &TSpinEdit::TextChanged);
    for (int i = 0; i < times; ++i) {
        switch (step) {
            case TStep::UpButton:
                QTest::mouseClick(spin->UpButton(), Qt::LeftButton);
                break;
            case TStep::DownButton:
                QTest::mouseClick(spin->DownButton(), Qt::LeftButton);
                break;
            case TStep::UpKey:
                QTest::keyClick(spin->Editor(), Qt::Key_Up);
                break;
            case TStep::DownKey:
                QTest::keyClick(spin->Editor(), Qt::Key_Down);
                break;
        }
    }
    QCOMPARE(spin->Text(), expected);
    QCOMPARE(changes.isEmpty(), expected == start);
}

QTEST_MAIN(TSpinEditTest)
#include "test_spin_edit.moc"
