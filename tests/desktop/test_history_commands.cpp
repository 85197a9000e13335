#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "desktop/app/main_form.h"
#include "desktop/document/history_form.h"
#include "desktop/header/header_edit_page.h"
#include "document/file_history.h"
#include "fake_platform.h"
#include "form_driver.h"
#include "radargram_generator.h"

using namespace trelvanox;

namespace {

// Notes what the label count field showed when each message box came up.
class TWatchingPlatform : public TFakePlatform {
  public:
    std::function<QString()> Watch;
    QStringList SeenAtBoxes;

    TMsgResult MessageBox(QWidget* owner, const QString& text, const QString& caption,
                          TMsgButtons buttons, TMsgIcon icon) override {
        if (Watch) SeenAtBoxes << Watch();
        return TFakePlatform::MessageBox(owner, text, caption, buttons, icon);
    }
};

// A file whose syncs all fail: a change through it can neither finish nor be rolled back, as
// when the machine goes down in the middle.
class TUnsyncableFile final : public TRadarFile {
  public:
    explicit TUnsyncableFile(std::unique_ptr<TRadarFile> inner) : inner_(std::move(inner)) {}
    TFileStamp Stamp() const override { return inner_->Stamp(); }
    bool ReadAt(std::uint64_t offset, TReadSlices slices) override {
        return inner_->ReadAt(offset, slices);
    }
    bool WriteAt(std::uint64_t offset, TWriteSlices slices) override {
        return inner_->WriteAt(offset, slices);
    }
    bool Sync() override { return false; }
    bool Truncate(std::uint64_t size) override { return inner_->Truncate(size); }

  private:
    std::unique_ptr<TRadarFile> inner_;
};

}  // namespace

// Undo, redo, the history list, recovery after an interrupted write and the refusal to
// overwrite a file another program changed, through the real window.
class TestHistoryCommands : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<TWatchingPlatform> platform_;
    std::unique_ptr<TFmMainForm> form_;
    QString file_;

    void Run(const char* action) { RunAction(*form_, action); }
    QAction* Act(const char* name) { return form_->findChild<QAction*>(QString::fromLatin1(name)); }
    QString Operator() { return QString::fromUtf8(form_->HeaderGrid().Cell(2, 1)); }
    // A change of some header bytes that neither finished nor rolled back, left for the next
    // read to put right.
    THistoryStatus Interrupt(const char* description) {
        const std::filesystem::path path =
            std::filesystem::canonical(QFile::encodeName(file_).toStdString());
        TFileHistory history(DefaultStateFolder());
        TUnsyncableFile target(OpenRadarFile(path));
        TJournalInfo label;
        label.Description = description;
        return history
            .Change(
                path, target,
                [](TRadarFile& file) {
                    const std::byte garbage[64] = {std::byte{0x5A}};
                    const std::span<const std::byte> slice(garbage);
                    return file.WriteAt(100, std::span(&slice, 1));
                },
                label, true)
            .Status;
    }

  private slots:
    void init() {
        QVERIFY(dir_.isValid());
        file_ = dir_.filePath(QStringLiteral("survey.GPR2"));
        QFile::remove(file_);
        TGeneratorOptions options;
        options.TraceCount = 40;
        options.SampleCount = 16;
        options.LabelEvery = 5;
        GenerateRadargram(QFile::encodeName(file_).toStdString(), options);
        platform_ = std::make_unique<TWatchingPlatform>();
        form_ = std::make_unique<TFmMainForm>(
            *platform_, QFile::encodeName(dir_.filePath(QStringLiteral("s.ini"))).toStdString());
        form_->CreateDialogs();
    }

    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    void undoAndRedoPutTheFileBackAndForth() {
        QVERIFY(OpenRadargram(*form_, *platform_, file_));
        const QByteArray before = FileBytes(file_);
        const QString operatorBefore = Operator();
        form_->txtOperator()->setText(QStringLiteral("Сидоров"));
        form_->HeaderEditPage()->txtPK()->setText(QStringLiteral("3"));
        Run("acnChangeHeaderSets");
        const QByteArray after = FileBytes(file_);
        QVERIFY(after != before);
        QCOMPARE(Operator(), QStringLiteral("Сидоров"));
        QCOMPARE(Act("acnUndo")->toolTip(), QStringLiteral("Отменить: «Редактирование заголовка»"));

        platform_->Clear();
        Run("acnUndo");
        QVERIFY(platform_->Messages().isEmpty());
        QCOMPARE(FileBytes(file_), before);
        QCOMPARE(Operator(), operatorBefore);
        QCOMPARE(Act("acnRedo")->toolTip(),
                 QStringLiteral("Повторить: «Редактирование заголовка»"));
        QCOMPARE(Act("acnUndo")->toolTip(), QStringLiteral("Отменить"));

        Run("acnRedo");
        QCOMPARE(FileBytes(file_), after);
        QCOMPARE(Operator(), QStringLiteral("Сидоров"));

        Run("acnHistory");
        const QTableWidget* list = form_->FmHistory()->lvHistory();
        QCOMPARE(list->rowCount(), 1);
        QCOMPARE(list->item(0, 0)->text(), QStringLiteral("Редактирование заголовка"));
        QCOMPARE(list->item(0, 3)->text(), QStringLiteral("в файле"));
    }

    void undoWithNothingToUndoSaysSo() {
        QVERIFY(OpenRadargram(*form_, *platform_, file_));
        const QByteArray before = FileBytes(file_);
        Run("acnUndo");
        QCOMPARE(platform_->Messages(), QStringList{QStringLiteral("Нет изменений для отмены.")});
        QCOMPARE(FileBytes(file_), before);
    }

    // The recovery box comes before the tables show the file, with its caption, icon and the
    // interrupted step named.
    void recoveryIsReportedBeforeTheTablesFill() {
        const QByteArray before = FileBytes(file_);
        QCOMPARE(Interrupt("Обнуление трасс"), THistoryStatus::Interrupted);

        platform_->Watch = [this] { return form_->ltxtNLabels()->text(); };
        platform_->OpenAnswers.push_back(file_);
        form_->findChild<QToolButton*>(QStringLiteral("btnOpenDirectory"))->click();
        QCOMPARE(platform_->SeenAtBoxes.size(), 1);
        QCOMPARE(platform_->SeenAtBoxes.front(), QString());  // the counts were not shown yet
        QCOMPARE(platform_->Calls.back().Caption, QStringLiteral("Восстановление файла"));
        QCOMPARE(platform_->Calls.back().Icon, TMsgIcon::Information);
        QVERIFY(platform_->Calls.back().Text.contains(QStringLiteral("«Обнуление трасс»")));
        QCOMPARE(FileBytes(file_), before);
        QVERIFY(!form_->ltxtNLabels()->text().isEmpty());
    }

    void aFileChangedByAnotherProgramIsNotOverwritten() {
        QVERIFY(OpenRadargram(*form_, *platform_, file_));
        {
            QFile other(file_);
            QVERIFY(other.open(QIODevice::Append));
            other.write("tail");
        }
        const QByteArray changed = FileBytes(file_);
        platform_->MessageAnswers.push_back(TMsgResult::Ok);
        Run("acnWriteFile");
        QCOMPARE(FileBytes(file_), changed);
        QCOMPARE(platform_->Calls.front().Caption, QStringLiteral("Файл изменён"));
        QCOMPARE(platform_->Calls.front().Buttons, TMsgButtons::OkCancel);
        QVERIFY(platform_->Calls.front().Text.contains(QStringLiteral("изменился размер файла")));
        // Answered with reading it again: the window shows the file as it is now.
        QCOMPARE(form_->lblSizeFile()->text(),
                 QStringLiteral("Размер файла: 0 МБ (%1 байт)").arg(changed.size()));
    }
};

QTEST_MAIN(TestHistoryCommands)
#include "test_history_commands.moc"
