#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>
#include <functional>

#include "desktop/platform/qt_platform.h"
#include "desktop/platform/qt_translations.h"
#include "settings/settings.h"

using namespace trelvanox;

Q_DECLARE_METATYPE(TMsgButtons)
Q_DECLARE_METATYPE(TMsgIcon)
Q_DECLARE_METATYPE(TMsgResult)

namespace {

// Runs act on the modal dialog of type D as soon as the event loop of its exec() shows it.
template <typename D>
void WhenShown(std::function<void(D*)> act) {
    QTimer::singleShot(0, [act] {
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
            act(dialog);
        } else {
            WhenShown<D>(act);
        }
    });
}

enum class TAnswer { ClickOk, ClickCancel, Escape, CloseWindow, HelpThenOk, HelpThenEscape };

// What a test saw in a message box before answering it.
struct TSeenBox {
    QString Caption;
    QString Text;
    Qt::TextFormat Format = Qt::AutoText;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Buttons;
    bool OpenAfterHelp = false;
    bool OpenAfterAnswer = false;
};

void AnswerBox(TAnswer answer, TSeenBox& seen) {
    WhenShown<QMessageBox>([answer, &seen](QMessageBox* box) {
        seen = {box->windowTitle(), box->text(), box->textFormat(), box->icon(),
                box->standardButtons()};
        auto click = [box](QMessageBox::StandardButton which) {
            if (QAbstractButton* button = box->button(which))
                QTest::mouseClick(button, Qt::LeftButton);
        };
        switch (answer) {
            case TAnswer::ClickOk:
                click(QMessageBox::Ok);
                break;
            case TAnswer::ClickCancel:
                click(QMessageBox::Cancel);
                break;
            case TAnswer::Escape:
                QTest::keyClick(box, Qt::Key_Escape);
                break;
            case TAnswer::CloseWindow:
                box->close();
                break;
            case TAnswer::HelpThenOk:
            case TAnswer::HelpThenEscape:
                click(QMessageBox::Help);
                seen.OpenAfterHelp = box->isVisible();
                if (answer == TAnswer::HelpThenOk) {
                    click(QMessageBox::Ok);
                } else {
                    QTest::keyClick(box, Qt::Key_Escape);
                }
                break;
        }
        // Never leave a box hanging when an answer failed to close it.
        seen.OpenAfterAnswer = box->isVisible();
        if (seen.OpenAfterAnswer) box->done(QMessageBox::Cancel);
    });
}

}  // namespace

Q_DECLARE_METATYPE(TAnswer)

class TestQtPlatform : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QGuiApplication::setApplicationDisplayName(QStringLiteral("Trelvanox")); }

    void nameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("radargrams, texts keep their own pattern lists")
            << QStringLiteral("Файлы радарограмм (*.GPR, *.GPR2)|*.GPR;*.GPR2|Все файлы (*.*)|*.*")
            << QStringList{QStringLiteral("Файлы радарограмм (*.GPR, *.GPR2) (*.GPR *.GPR2)"),
                           QStringLiteral("Все файлы (*.*) (*)")};
        QTest::newRow("nested parentheses in the text")
            << QStringLiteral("Текстовые файлы (с разделителями табуляции) (*.txt)|*.txt")
            << QStringList{
                   QStringLiteral("Текстовые файлы (с разделителями табуляции) (*.txt) (*.txt)")};
        QTest::newRow("blanks and empty patterns dropped, duplicates once")
            << QStringLiteral(" Данные | *.dat ; ;*.DAT;*.dat ")
            << QStringList{QStringLiteral("Данные (*.dat *.DAT)")};
        QTest::newRow("blank pattern list lists everything")
            << QStringLiteral("Все|") << QStringList{QStringLiteral("Все (*)")};
        QTest::newRow("empty text named by its patterns")
            << QStringLiteral("|*.txt") << QStringList{QStringLiteral("*.txt (*.txt)")};
        QTest::newRow("text without patterns dropped")
            << QStringLiteral("Текст|*.txt|Хвост") << QStringList{QStringLiteral("Текст (*.txt)")};
        QTest::newRow("empty filter") << QString() << QStringList{};
    }
    void nameFilters() {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(NameFiltersFromPattern(filter), expected);
    }

    void defaultSuffix_data() {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("expected");
        QTest::newRow("star and dot") << QStringLiteral("*.txt") << QStringLiteral("txt");
        QTest::newRow("dot") << QStringLiteral(".txt") << QStringLiteral("txt");
        QTest::newRow("bare") << QStringLiteral("txt") << QStringLiteral("txt");
        QTest::newRow("double suffix") << QStringLiteral("*.tar.gz") << QStringLiteral("tar.gz");
        QTest::newRow("wildcard is none") << QStringLiteral("*.*") << QString();
        QTest::newRow("empty") << QString() << QString();
    }
    void defaultSuffix() {
        QFETCH(QString, extension);
        QFETCH(QString, expected);
        QCOMPARE(DefaultSuffixFromExtension(extension), expected);
    }

    void messageBox_data() {
        QTest::addColumn<TMsgButtons>("buttons");
        QTest::addColumn<TMsgIcon>("icon");
        QTest::addColumn<TAnswer>("answer");
        QTest::addColumn<TMsgResult>("expected");
        QTest::addColumn<QMessageBox::StandardButtons>("shownButtons");
        QTest::addColumn<QMessageBox::Icon>("shownIcon");
        const QMessageBox::StandardButtons ok = QMessageBox::Ok;
        const QMessageBox::StandardButtons okCancel = QMessageBox::Ok | QMessageBox::Cancel;
        const QMessageBox::StandardButtons all = okCancel | QMessageBox::Help;
        QTest::newRow("OK, information")
            << TMsgButtons::Ok << TMsgIcon::Information << TAnswer::ClickOk << TMsgResult::Ok << ok
            << QMessageBox::Information;
        QTest::newRow("OK alone, Escape")
            << TMsgButtons::Ok << TMsgIcon::Exclamation << TAnswer::Escape << TMsgResult::Ok << ok
            << QMessageBox::Warning;
        QTest::newRow("stop icon") << TMsgButtons::Ok << TMsgIcon::Stop << TAnswer::ClickOk
                                   << TMsgResult::Ok << ok << QMessageBox::Critical;
        QTest::newRow("OK of OK/Cancel")
            << TMsgButtons::OkCancel << TMsgIcon::Question << TAnswer::ClickOk << TMsgResult::Ok
            << okCancel << QMessageBox::Question;
        QTest::newRow("Cancel") << TMsgButtons::OkCancel << TMsgIcon::Question
                                << TAnswer::ClickCancel << TMsgResult::Cancel << okCancel
                                << QMessageBox::Question;
        QTest::newRow("Escape") << TMsgButtons::OkCancel << TMsgIcon::Warning << TAnswer::Escape
                                << TMsgResult::Cancel << okCancel << QMessageBox::Warning;
        QTest::newRow("close button")
            << TMsgButtons::OkCancel << TMsgIcon::None << TAnswer::CloseWindow << TMsgResult::Cancel
            << okCancel << QMessageBox::NoIcon;
        QTest::newRow("Help stays open, then OK")
            << TMsgButtons::OkCancelHelp << TMsgIcon::Warning << TAnswer::HelpThenOk
            << TMsgResult::Ok << all << QMessageBox::Warning;
        QTest::newRow("Help stays open, then Escape")
            << TMsgButtons::OkCancelHelp << TMsgIcon::Question << TAnswer::HelpThenEscape
            << TMsgResult::Cancel << all << QMessageBox::Question;
    }
    void messageBox() {
        QFETCH(TMsgButtons, buttons);
        QFETCH(TMsgIcon, icon);
        QFETCH(TAnswer, answer);
        QFETCH(TMsgResult, expected);
        QFETCH(QMessageBox::StandardButtons, shownButtons);
        QFETCH(QMessageBox::Icon, shownIcon);
        const QString text = QStringLiteral(
            "Ошибка - '<b>1</b>' is not a valid integer value.\n"
            "- таблица содержит пустые ячейки");
        const QString caption = QStringLiteral("Перенос таблицы");

        TQtPlatform platform;
        TSeenBox seen;
        AnswerBox(answer, seen);
        const TMsgResult result = platform.MessageBox(nullptr, text, caption, buttons, icon);

        QCOMPARE(result, expected);
        QCOMPARE(seen.Caption, caption);
        QCOMPARE(seen.Text, text);
        QCOMPARE(seen.Format, Qt::PlainText);
        QCOMPARE(seen.Icon, shownIcon);
        QCOMPARE(seen.Buttons, shownButtons);
        QCOMPARE(seen.OpenAfterHelp,
                 answer == TAnswer::HelpThenOk || answer == TAnswer::HelpThenEscape);
        QVERIFY(!seen.OpenAfterAnswer);
    }

    void plainMessageAndError_data() {
        QTest::addColumn<bool>("error");
        QTest::addColumn<QMessageBox::Icon>("shownIcon");
        QTest::newRow("plain message") << false << QMessageBox::NoIcon;
        QTest::newRow("general error") << true << QMessageBox::Critical;
    }
    void plainMessageAndError() {
        QFETCH(bool, error);
        QFETCH(QMessageBox::Icon, shownIcon);
        const QString text = QStringLiteral("Невозможно записать файл");
        TQtPlatform platform;
        TSeenBox seen;
        AnswerBox(TAnswer::ClickOk, seen);
        if (error) {
            platform.ShowError(nullptr, text);
        } else {
            platform.ShowMessage(nullptr, text);
        }
        QCOMPARE(seen.Caption, QStringLiteral("Trelvanox"));
        QCOMPARE(seen.Text, text);
        QCOMPARE(seen.Icon, shownIcon);
        QCOMPARE(seen.Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(!seen.OpenAfterAnswer);
    }

    // The open dialog returns the proposed file; the save dialog then starts in that folder,
    // shows the filter texts as given and adds the default extension; cancel gives nothing.
    void fileDialogs() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString folderPath = QFileInfo(folder.path()).canonicalFilePath();
        const QString existing = folderPath + QStringLiteral("/профиль.GPR");
        QFile file(existing);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        TQtPlatform platform;

        WhenShown<QFileDialog>(
            [](QFileDialog* dialog) { static_cast<QDialog*>(dialog)->accept(); });
        const auto opened = platform.GetOpenFileName(
            nullptr, {QStringLiteral("Файлы радарограмм (*.GPR, *.GPR2)|*.GPR;*.GPR2|Все файлы "
                                     "(*.*)|*.*"),
                      existing, QString()});
        QCOMPARE(opened, std::optional<QString>(existing));

        QString startFolder;
        QStringList shownFilters;
        WhenShown<QFileDialog>([&](QFileDialog* dialog) {
            startFolder = QFileInfo(dialog->directory().absolutePath()).canonicalFilePath();
            if (auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
                for (int i = 0; i < types->count(); ++i) shownFilters << types->itemText(i);
            }
            dialog->selectFile(QStringLiteral("итог"));
            static_cast<QDialog*>(dialog)->accept();
        });
        const auto saved = platform.GetSaveFileName(
            nullptr, {QStringLiteral("Текстовые файлы (с разделителями табуляции) (*.txt)|*.txt|"
                                     "Все файлы (*.*)|*.*"),
                      QStringLiteral("профиль_метки.txt"), QStringLiteral("*.txt")});
        QCOMPARE(startFolder, folderPath);
        QCOMPARE(shownFilters,
                 (QStringList{QStringLiteral("Текстовые файлы (с разделителями табуляции) (*.txt)"),
                              QStringLiteral("Все файлы (*.*)")}));
        QCOMPARE(saved, std::optional<QString>(folderPath + QStringLiteral("/итог.txt")));

        WhenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        QCOMPARE(platform.GetOpenFileName(nullptr, {}), std::nullopt);
    }

    // A file dialog opens at the smallest usable size (or the screen, when that is smaller);
    // the size the user gives one is the next one's, in the settings file for the next start.
    void fileDialogsOpenLargeAndKeepTheUsersSize() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const auto ini = SettingsFilePath(QFile::encodeName(folder.path()).toStdString());
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        const QSize chosen = QSize(700, 500).boundedTo(screen);
        QList<QSize> opened;
        const auto openAndResize = [&](TQtPlatform& platform, QSize resizeTo) {
            WhenShown<QFileDialog>([&opened, resizeTo](QFileDialog* dialog) {
                opened << dialog->size();
                if (resizeTo.isValid()) dialog->resize(resizeTo);
                dialog->reject();
            });
            QCOMPARE(platform.GetOpenFileName(nullptr, {}), std::nullopt);
        };

        TQtPlatform first(ini);
        openAndResize(first, chosen);
        openAndResize(first, QSize());
        TQtPlatform afterRestart(ini);
        WhenShown<QFileDialog>([&opened](QFileDialog* dialog) {
            opened << dialog->size();
            dialog->reject();
        });
        QCOMPARE(afterRestart.GetSaveFileName(nullptr, {}), std::nullopt);

        QCOMPARE(opened, (QList<QSize>{kMinFileDialogSize.boundedTo(screen), chosen, chosen}));
        QCOMPARE(LoadFileDialogSize(ini),
                 std::optional<TDialogSize>({chosen.width(), chosen.height()}));
    }

    // The size, type and date of a file and the names of the places show whole, not cut short,
    // even after a dialog whose columns were left narrow (Qt keeps them for the next one).
    void fileDialogShowsWholeColumns() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.path() + QStringLiteral("/профиль.GPR2");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(QByteArray(644084, '\0')) == 644084);
        file.close();
        TQtPlatform platform;
        WhenShown<QFileDialog>([](QFileDialog* dialog) {
            auto* list = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
            for (int column = 1; column < 4; ++column) list->setColumnWidth(column, 20);
            dialog->findChild<QListView*>(QStringLiteral("sidebar"))->setMinimumWidth(0);
            dialog->findChild<QSplitter*>(QStringLiteral("splitter"))->setSizes({20, 800});
            dialog->reject();
        });
        platform.GetOpenFileName(nullptr, {QString(), path, QString()});

        QStringList cut;
        bool listed = false;
        WhenShown<QFileDialog>([&](QFileDialog* dialog) {
            auto* list = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
            QTRY_VERIFY(list->model()->rowCount(list->rootIndex()) > 0);
            QApplication::processEvents();
            listed = true;
            for (int column = 1; column < list->model()->columnCount(list->rootIndex()); ++column) {
                const QString text =
                    list->model()->index(0, column, list->rootIndex()).data().toString();
                if (list->fontMetrics().horizontalAdvance(text) > list->columnWidth(column))
                    cut << text;
            }
            auto* places = dialog->findChild<QListView*>(QStringLiteral("sidebar"));
            for (int row = 0; row < places->model()->rowCount(); ++row) {
                const QModelIndex place = places->model()->index(row, 0);
                if (places->visualRect(place).left() +
                        places->fontMetrics().horizontalAdvance(place.data().toString()) >
                    places->viewport()->width())
                    cut << place.data().toString();
            }
            dialog->reject();
        });
        platform.GetOpenFileName(nullptr, {QString(), path, QString()});
        QVERIFY(listed);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(" | "))));
    }

    // With Qt's own translation installed, the file dialog's labels and buttons read Russian.
    void fileDialogSpeaksRussian() {
        if (!InstallQtTranslations(*QCoreApplication::instance()))
            QSKIP("Qt's Russian translation (qt6-translations-l10n) is not installed");
        QStringList texts;
        WhenShown<QFileDialog>([&texts](QFileDialog* dialog) {
            for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
                texts << dialog->findChild<QLabel*>(QLatin1String(name))->text();
            for (QAbstractButton* button :
                 dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->buttons())
                texts << button->text();
            dialog->reject();
        });
        TQtPlatform platform;
        platform.GetOpenFileName(nullptr, {});
        QCOMPARE(texts.size(), 5);
        const QRegularExpression russian(QStringLiteral("^[^A-Za-z]*[А-Яа-я][^A-Za-z]*$"));
        for (const QString& text : texts)
            QVERIFY2(russian.match(text).hasMatch(), qPrintable(text));
    }

    void clipboardRoundTrip() {
        TQtPlatform platform;
        const QString table = QStringLiteral("Номер\tТекст\r\n1\tПК 5\r\n");
        platform.SetClipboardText(table);
        QCOMPARE(platform.ClipboardText(), table);
        QCOMPARE(QGuiApplication::clipboard()->text(), table);
        platform.SetClipboardText(QString());
        QVERIFY(platform.ClipboardText().isEmpty());
    }
};

QTEST_MAIN(TestQtPlatform)
#include "test_qt_platform.moc"
