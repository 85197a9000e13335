#include <QAction>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "desktop/app/main_form.h"
#include "desktop/widgets/ribbon.h"
#include "fake_platform.h"

using namespace trelvanox;

namespace {

int Luminance(QRgb pixel) {
    return (qRed(pixel) * 299 + qGreen(pixel) * 587 + qBlue(pixel) * 114) / 1000;
}

// The part of the icon's square that its picture covers.
QRect Covered(const QImage& icon) {
    QRect covered;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            if (qAlpha(icon.pixel(x, y)) > 64) covered |= QRect(x, y, 1, 1);
    return covered;
}

// The share of the icon's pixels that stand out from the background it is drawn on.
double ContrastShare(const QImage& icon, const QColor& background) {
    QImage shown(icon.size(), QImage::Format_RGB32);
    shown.fill(background);
    QPainter(&shown).drawImage(0, 0, icon);
    const int ground = Luminance(background.rgb());
    int standing = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (std::abs(Luminance(shown.pixel(x, y)) - ground) >= 80) ++standing;
    return double(standing) / (shown.width() * shown.height());
}

}  // namespace

// Every button of the main window's ribbon shows a picture at its own size that fills the
// button's icon square and stands out from the ribbon in every colour style.
class TestRibbonIcons : public QObject {
    Q_OBJECT

  private slots:
    void iconsFillTheirButtonsAndReadOnEveryStyle_data() {
        QTest::addColumn<int>("style");
        QTest::newRow("Обсидиан") << int(TRibbonStyle::Obsidian);
        QTest::newRow("Серебро") << int(TRibbonStyle::Silver);
        QTest::newRow("Луна") << int(TRibbonStyle::Luna);
    }

    void iconsFillTheirButtonsAndReadOnEveryStyle() {
        QFETCH(int, style);
        QTemporaryDir dir;
        TFakePlatform platform;
        TFmMainForm form(platform,
                         QFile::encodeName(dir.filePath(QStringLiteral("s.ini"))).toStdString());
        form.CreateDialogs();
        form.Ribbon().SetRibbonStyle(static_cast<TRibbonStyle>(style));
        form.show();
        int checked = 0;
        for (int tab = 0; tab < form.Ribbon().TabCount(); ++tab) {
            form.Ribbon().SetCurrentTab(tab);
            for (QToolButton* button : form.Ribbon().Tab(tab)->findChildren<QToolButton*>()) {
                const bool large = button->objectName() == QLatin1String("ribbonLargeButton");
                if (!large && button->objectName() != QLatin1String("ribbonSmallButton")) continue;
                const QString name = button->defaultAction()->objectName();
                const int size = large ? 32 : 16;
                QCOMPARE(button->iconSize(), QSize(size, size));
                // A picture drawn for the size, not a smaller one centred in the square.
                const QImage icon = button->icon()
                                        .pixmap(size, size)
                                        .toImage()
                                        .convertToFormat(QImage::Format_ARGB32);
                const QRect covered = Covered(icon);
                QVERIFY2(icon.size() == QSize(size, size) &&
                             (covered.width() >= size * 3 / 4 || covered.height() >= size * 3 / 4),
                         qPrintable(name));
                // The ribbon's own colour beside the button's caption.
                const QImage shot = button->grab().toImage();
                const QColor background = shot.pixelColor(shot.width() - 2, shot.height() / 2);
                QVERIFY2(ContrastShare(icon, background) >= 0.08,
                         qPrintable(name + QStringLiteral(" on ") + QTest::currentDataTag()));
                ++checked;
            }
        }
        QVERIFY(checked >= 30);
    }
};

QTEST_MAIN(TestRibbonIcons)
#include "test_ribbon_icons.moc"
