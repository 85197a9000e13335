#include <QtTest>
class TPlaceholder : public QObject {
    Q_OBJECT
};
QTEST_MAIN(TPlaceholder)
#include "test_string_grid_view.moc"
