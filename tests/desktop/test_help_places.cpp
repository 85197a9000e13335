#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include "desktop/app/help_places.h"
#include "desktop/platform/manual_viewer.h"
#include "desktop/platform/qt_platform.h"

using namespace trelvanox;

namespace {

void Touch(const QString& path) {
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<html></html>");
}

}  // namespace

class TestHelpPlaces : public QObject {
    Q_OBJECT

  private slots:
    void resolution_data() {
        QTest::addColumn<bool>("helpFile");  // HelpTrelvanox.chm in the current folder
        QTest::addColumn<bool>("viewer");
        QTest::addColumn<QStringList>("manualIn");  // the manual folders holding index.html
        QTest::addColumn<THelpSource>("source");
        QTest::addColumn<QString>("folder");  // where the chosen file lies

        const QStringList none;
        const QStringList first{QStringLiteral("first")};
        QTest::newRow("help file with a viewer")
            << true << true << first << THelpSource::HelpFile << "current";
        QTest::newRow("help file with a viewer, no manual")
            << true << true << none << THelpSource::HelpFile << "current";
        QTest::newRow("help file without a viewer")
            << true << false << first << THelpSource::Manual << "first";
        QTest::newRow("no help file") << false << true << first << THelpSource::Manual << "first";
        QTest::newRow("manual in the second folder only")
            << false << false << QStringList{QStringLiteral("second")} << THelpSource::Manual
            << "second";
        QTest::newRow("manual in both folders")
            << false << false << QStringList{QStringLiteral("first"), QStringLiteral("second")}
            << THelpSource::Manual << "first";
        QTest::newRow("nothing on disk") << false << false << none << THelpSource::BuiltIn << "";
    }
    void resolution() {
        QFETCH(bool, helpFile);
        QFETCH(bool, viewer);
        QFETCH(QStringList, manualIn);
        QFETCH(THelpSource, source);
        QFETCH(QString, folder);

        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QDir dir(root.path());
        if (helpFile) Touch(dir.filePath(QStringLiteral("current/HelpTrelvanox.chm")));
        QVERIFY(dir.mkpath(QStringLiteral("current")));
        for (const QString& manual : manualIn)
            Touch(dir.filePath(manual + QStringLiteral("/index.html")));
        THelpPlaces places;
        places.CurrentFolder = dir.filePath(QStringLiteral("current"));
        places.HelpFileViewer = viewer;
        places.ManualFolders = {dir.filePath(QStringLiteral("first")),
                                dir.filePath(QStringLiteral("second"))};

        const THelpTarget help = ResolveHelp(places);
        QCOMPARE(help.Source, source);
        if (folder.isEmpty()) {
            QVERIFY(help.Path.isEmpty());
        } else {
            QVERIFY(QFileInfo(help.Path).isFile());
            QCOMPARE(QFileInfo(help.Path).absolutePath(), dir.filePath(folder));
        }
    }

    // A program run from its build folder, with no help file in the current folder, finds the
    // manual of its source tree.
    void manualFoundFromTheBuildFolder() {
        QTemporaryDir current;
        QVERIFY(current.isValid());
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(current.path()));
        const THelpTarget help = ResolveHelp(DefaultHelpPlaces());
        QVERIFY(QDir::setCurrent(before));
        QCOMPARE(help.Source, THelpSource::Manual);
        QCOMPARE(QFileInfo(help.Path).canonicalFilePath(),
                 QFileInfo(QStringLiteral(TRELVANOX_TEST_MANUAL)).canonicalFilePath());
    }

    // The program installed by cmake --install (into a scratch prefix, by the test run's
    // fixture) finds the manual installed with it, pictures included.
    void manualFoundFromTheInstalledPlace() {
        const QString prefix = qEnvironmentVariable("TRELVANOX_INSTALLED_PREFIX");
        if (prefix.isEmpty()) QSKIP("no installed program to look at");
        THelpPlaces places;
        places.CurrentFolder = prefix;
        places.ManualFolders = ProgramManualFolders(prefix + QStringLiteral("/bin"));
        const THelpTarget help = ResolveHelp(places);
        QCOMPARE(help.Source, THelpSource::Manual);
        QCOMPARE(QFileInfo(help.Path).canonicalFilePath(),
                 QFileInfo(prefix + QStringLiteral("/share/trelvanox/manual/index.html"))
                     .canonicalFilePath());
        QVERIFY(
            QFileInfo(QFileInfo(help.Path).dir().filePath(QStringLiteral("images/main_labels.png")))
                .isFile());
    }

    // The last resort: the manual built into the program, in the program's own viewer.
    void builtInManualShowsInTheProgram() {
        QWidget owner;
        TQtPlatform().ShowManual(&owner, QStringLiteral(":/manual/index.html"),
                                 QStringLiteral("options"));
        auto* viewer = owner.findChild<QDialog*>(QStringLiteral("FmManual"));
        QVERIFY(viewer);
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Справка"));
        auto* browser = viewer->findChild<QTextBrowser*>(QStringLiteral("tbrManual"));
        QVERIFY(browser);
        QVERIFY(browser->toPlainText().contains(QStringLiteral("Главное окно")));
        QCOMPARE(browser->source().fragment(), QStringLiteral("options"));

        // Ctrl+F reaches the search; Enter finds the place, "Назад" goes back from a link.
        auto* manual = qobject_cast<TFmManual*>(viewer);
        QVERIFY(manual);
        manual->SearchField()->setText(QStringLiteral("Глоссарий"));
        QVERIFY(manual->FindNext());
        QCOMPARE(browser->textCursor().selectedText(), QStringLiteral("Глоссарий"));
        manual->SearchField()->setText(QStringLiteral("нет такого слова нигде"));
        QVERIFY(!manual->FindNext());
        auto* contents = viewer->findChild<QPushButton*>(QStringLiteral("btnManualContents"));
        contents->click();
        QCOMPARE(browser->source().fragment(), QStringLiteral("contents"));
        auto* back = viewer->findChild<QPushButton*>(QStringLiteral("btnManualBack"));
        QVERIFY(back->isEnabled());
        back->click();
        QCOMPARE(browser->source().fragment(), QStringLiteral("options"));
        viewer->close();
    }
};

QTEST_MAIN(TestHelpPlaces)
#include "test_help_places.moc"
