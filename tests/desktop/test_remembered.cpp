#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <memory>

#include "desktop/amplitude/regulation_amplitude_form.h"
#include "desktop/app/main_form.h"
#include "desktop/document/history_form.h"
#include "desktop/header/header_edit_page.h"
#include "desktop/view/radargram_canvas.h"
#include "desktop/view/radargram_view_form.h"
#include "fake_platform.h"
#include "form_driver.h"
#include "radargram_generator.h"

using namespace trelvanox;

// What the program keeps from one run to the next in the user's own file, the files dropped on
// it, and the history list as a way back.
class TestRemembered : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<TFakePlatform> platform_;
    std::unique_ptr<TFmMainForm> form_;

    QString State() const { return dir_.filePath(QStringLiteral("desktop-state.ini")); }
    QString Generate(const QString& name) {
        const QString path = dir_.filePath(name);
        QFile::remove(path);
        TGeneratorOptions options;
        options.TraceCount = 30;
        options.SampleCount = 8;
        options.LabelEvery = 4;
        GenerateRadargram(QFile::encodeName(path).toStdString(), options);
        return path;
    }
    // A new run of the program: the window made as main() makes it.
    void Start() {
        form_.reset();
        form_ = std::make_unique<TFmMainForm>(
            *platform_, QFile::encodeName(dir_.filePath(QStringLiteral("s.ini"))).toStdString());
        form_->CreateDialogs();
        form_->UseUserState(State());
    }
    QStringList RecentTips() {
        QStringList tips;
        for (QAction* action : form_->RecentMenu()->actions()) tips << action->toolTip();
        return tips;
    }

  private slots:
    void init() {
        QVERIFY(dir_.isValid());
        QFile::remove(State());
        platform_ = std::make_unique<TFakePlatform>();
        Start();
    }

    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    void recentFilesAndTheLastFolderOutliveTheRun() {
        const QString a = Generate(QStringLiteral("a.GPR2"));
        const QString b = Generate(QStringLiteral("b.GPR2"));
        QVERIFY(!form_->RecentMenu()->isEnabled());
        QVERIFY(OpenRadargram(*form_, *platform_, a));
        QVERIFY(OpenRadargram(*form_, *platform_, b));
        QVERIFY(OpenRadargram(*form_, *platform_, a));
        QCOMPARE(RecentTips(), (QStringList{a, b}));

        Start();
        QCOMPARE(RecentTips(), (QStringList{a, b}));
        QCOMPARE(form_->LastOpenedPath, a);
        form_->RecentMenu()->actions().at(1)->trigger();
        QCOMPARE(form_->Document().Path(), std::filesystem::path(b.toStdU16String()));
        QCOMPARE(form_->Model().FileLoaded(), 1);
        QCOMPARE(RecentTips(), (QStringList{b, a}));
    }

    void theAmplitudeDialogsValuesOutliveTheRun() {
        TFmRegulationAmplitude* dialog = form_->FmRegulationAmplitude();
        dialog->findChild<QLineEdit*>(QStringLiteral("ltxtGain"))->setText(QStringLiteral("3.5"));
        auto* clip = dialog->findChild<QCheckBox*>(QStringLiteral("chkMaxAmplitude"));
        const bool clipOn = clip->isChecked();
        clip->click();
        Start();
        dialog = form_->FmRegulationAmplitude();
        QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("ltxtGain"))->text(),
                 QStringLiteral("3.5"));
        QCOMPARE(dialog->findChild<QCheckBox*>(QStringLiteral("chkMaxAmplitude"))->isChecked(),
                 !clipOn);
    }

    // The view's settings are kept; its mouse modes are not, so that a click into a new run's
    // view never places a label unasked.
    void theViewsSettingsOutliveTheRun_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QVariant>("set");
        QTest::addColumn<QVariant>("next");
        QTest::newRow("palette") << "cmbViewPalette" << QVariant(1) << QVariant(1);
        QTest::newRow("gain") << "seViewGain" << QVariant(3.5) << QVariant(3.5);
        QTest::newRow("clip") << "seViewClip" << QVariant(95.5) << QVariant(95.5);
        QTest::newRow("labels hidden") << "btnViewLabels" << QVariant(false) << QVariant(false);
        QTest::newRow("label editing") << "btnViewEditLabels" << QVariant(true) << QVariant(false);
        QTest::newRow("processing window") << "btnViewWindow" << QVariant(true) << QVariant(false);
    }
    void theViewsSettingsOutliveTheRun() {
        QFETCH(QString, control);
        QFETCH(QVariant, set);
        QFETCH(QVariant, next);
        const auto value = [this, &control]() -> QVariant {
            QObject* found = form_->FmRadargramView()->findChild<QObject*>(control);
            if (auto* combo = qobject_cast<QComboBox*>(found)) return combo->currentIndex();
            if (auto* spin = qobject_cast<QDoubleSpinBox*>(found)) return spin->value();
            if (auto* button = qobject_cast<QAbstractButton*>(found)) return button->isChecked();
            return {};
        };
        QObject* found = form_->FmRadargramView()->findChild<QObject*>(control);
        QVERIFY(found);
        if (auto* combo = qobject_cast<QComboBox*>(found)) combo->setCurrentIndex(set.toInt());
        if (auto* spin = qobject_cast<QDoubleSpinBox*>(found)) spin->setValue(set.toDouble());
        if (auto* button = qobject_cast<QAbstractButton*>(found)) button->setChecked(set.toBool());
        QCOMPARE(value(), set);
        Start();
        QCOMPARE(value(), next);
        // The picture follows the controls as restored.
        const auto* canvas = form_->FmRadargramView()->findChild<TRadargramCanvas*>(
            QStringLiteral("imgRadargramView"));
        const auto* palette =
            form_->FmRadargramView()->findChild<QComboBox*>(QStringLiteral("cmbViewPalette"));
        QCOMPARE(int(canvas->Style().Palette), palette->currentData().toInt());
        QCOMPARE(canvas->Style().Gain,
                 form_->FmRadargramView()
                     ->findChild<QDoubleSpinBox*>(QStringLiteral("seViewGain"))
                     ->value());
        QCOMPARE(canvas->MarksShown(),
                 form_->FmRadargramView()
                     ->findChild<QAbstractButton*>(QStringLiteral("btnViewLabels"))
                     ->isChecked());
    }

    void theWindowsPlaceOutlivesTheRun() {
        form_->resize(900, 640);
        form_->move(40, 30);
        const QRect geometry = form_->geometry();
        Start();
        QCOMPARE(form_->geometry().size(), geometry.size());
    }

    void aDroppedRadargramOpens() {
        const QString path = Generate(QStringLiteral("dropped.GPR2"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(form_.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form_.get(), &drop);
        QCOMPARE(form_->Model().FileLoaded(), 1);
        QCOMPARE(form_->txtFileName()->text(), path);
        // Anything else is refused at the door.
        QMimeData text;
        text.setUrls({QUrl::fromLocalFile(dir_.filePath(QStringLiteral("notes.txt")))});
        QDragEnterEvent other(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton,
                              Qt::NoModifier);
        other.setAccepted(false);
        QApplication::sendEvent(form_.get(), &other);
        QVERIFY(!other.isAccepted());
    }

    void aDoubleClickInTheHistoryBringsTheFileToThatStep() {
        const QString path = Generate(QStringLiteral("steps.GPR2"));
        QVERIFY(OpenRadargram(*form_, *platform_, path));
        const QByteArray start = FileBytes(path);
        QList<QByteArray> after;
        for (const char* name : {"Первый", "Второй", "Третий"}) {
            form_->txtOperator()->setText(QString::fromUtf8(name));
            form_->HeaderEditPage()->txtPK()->setText(QStringLiteral("3"));
            RunAction(*form_, "acnChangeHeaderSets");
            after << FileBytes(path);
        }
        platform_->Clear();
        QTableWidget* list = form_->FmHistory()->lvHistory();
        RunAction(*form_, "acnHistory");
        QCOMPARE(list->rowCount(), 3);
        emit list->cellDoubleClicked(0, 0);
        QCOMPARE(FileBytes(path), after[0]);
        QVERIFY(form_->statusBar()->currentMessage().startsWith(QStringLiteral("Отменено")));
        emit list->cellDoubleClicked(2, 0);
        QCOMPARE(FileBytes(path), after[2]);
        emit list->cellDoubleClicked(1, 0);
        QCOMPARE(FileBytes(path), after[1]);
        QVERIFY(platform_->Messages().isEmpty());
        QVERIFY(start != after[0]);
    }
};

QTEST_MAIN(TestRemembered)
#include "test_remembered.moc"
