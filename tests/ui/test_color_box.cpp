#include <QtTest>
class TPlaceholder : public QObject { Q_OBJECT };
QTEST_MAIN(TPlaceholder)
#include "test_color_box.moc"
