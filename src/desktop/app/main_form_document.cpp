// The main window's views following the open radargram.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <algorithm>

#include "desktop/app/command_set.h"
#include "desktop/app/main_form.h"
#include "desktop/app/user_state.h"
#include "desktop/document/history_commands.h"
#include "desktop/document/history_form.h"
#include "desktop/platform/command_dispatcher.h"
#include "desktop/platform/platform.h"
#include "desktop/widgets/string_grid_model.h"
#include "desktop/widgets/string_grid_view.h"
#include "model/file_messages.h"
#include "model/layout_detection.h"

namespace trelvanox {

namespace {

QString Text(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString PathText(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

// The step that undo would take (the newest applied) or redo would (the oldest undone).
const THistoryEntry* NextStep(const std::vector<THistoryEntry>& entries, bool undo) {
    const THistoryEntry* step = nullptr;
    for (const THistoryEntry& entry : entries) {
        if (undo && entry.Applied) step = &entry;
        if (!undo && !entry.Applied && !step) step = &entry;
    }
    return step;
}

}  // namespace

void TFmMainForm::ShowDocumentChange(TDocumentChange change) {
    switch (change) {
        case TDocumentChange::Recovered:
            // Said before the tables show the file, so that what they show is explained.
            for (const std::string& notice : document_.Notices())
                platform_.MessageBox(this, Text(notice), QStringLiteral("Восстановление файла"),
                                     TMsgButtons::Ok, TMsgIcon::Information);
            break;
        case TDocumentChange::Read: {
            ShowFileState(true);
            ltxtLenghtOfProfil_->setText(Text(document_.ProfileLengthText()));
            sgReadF4Header_->GridModel()->GridChanged();
            const TReadLabelCounts& counts = document_.LabelCounts();
            ltxtNLabels_->setText(Text(counts.Total));
            ltxtNLabelsWithText_->setText(Text(counts.WithText));
            ltxtNLabelsNoText_->setText(Text(counts.WithoutText));
            [[fallthrough]];
        }
        case TDocumentChange::ReadFailed:
            if (change == TDocumentChange::ReadFailed) ShowFileState(false);
            // A read that could not even open its file leaves the size of the last one shown.
            if (const auto size = document_.FileSize())
                lblSizeFile_->setText(Text(SizeFileText(*size)));
            sgReadLabels_->GridModel()->GridChanged();
            break;
        case TDocumentChange::HeaderTable:
            ltxtLenghtOfProfil_->setText(Text(document_.ProfileLengthText()));
            sgReadF4Header_->GridModel()->GridChanged();
            break;
        case TDocumentChange::Written:
            break;
    }
    if (change != TDocumentChange::Recovered && change != TDocumentChange::HeaderTable)
        ShowHistory();
}

void TFmMainForm::ShowFileState(bool read) {
    const QString layout = QString::fromLatin1(LayoutName(document_.Layout()));
    const QString shown = PathText(document_.Path());
    if (read) {
        if (userState_) {
            userState_->AddRecentFile(shown);
            ShowRecentFiles();
        }
        setWindowTitle(QStringLiteral("%1 — %2").arg(shown, layout));
        lblFileState_->setText(QStringLiteral("Файл: %1 (%2)").arg(shown, layout));
        return;
    }
    // The tables must not pass for the file that failed.
    const QString tried = txtFileName_->text();
    lblFileState_->setText(
        document_.Model().FileLoaded()
            ? QStringLiteral("Файл «%1» не прочитан; заголовок показывает прежний файл %2 (%3)")
                  .arg(tried, shown, layout)
            : QStringLiteral("Файл «%1» не прочитан; файл не открыт").arg(tried));
}

void TFmMainForm::RunHistoryStep(bool undo) {
    const std::vector<THistoryEntry> before = document_.History();
    const THistoryEntry* step = NextStep(before, undo);
    const std::string description = step ? step->Description : std::string();
    RunCommand(platform_, this, [this, undo] {
        if (undo)
            acnUndoExecute(*documentContext_);
        else
            acnRedoExecute(*documentContext_);
    });
    // Said only when the step was taken: the history moved.
    const std::vector<THistoryEntry> after = document_.History();
    const bool moved =
        step && !after.empty() &&
        std::count_if(after.begin(), after.end(), [](const auto& e) { return e.Applied; }) !=
            std::count_if(before.begin(), before.end(), [](const auto& e) { return e.Applied; });
    if (moved)
        statusBar()->showMessage(
            (undo ? QStringLiteral("Отменено: «%1»") : QStringLiteral("Повторено: «%1»"))
                .arg(Text(description)));
}

void TFmMainForm::ShowHistory() {
    const std::vector<THistoryEntry> entries = document_.History();
    const THistoryEntry* undo = NextStep(entries, true);
    const THistoryEntry* redo = NextStep(entries, false);
    const auto hint = [](QAction* action, const QString& base, const THistoryEntry* step) {
        if (!action) return;
        const QString text =
            step ? base + QStringLiteral(": «") + Text(step->Description) + QStringLiteral("»")
                 : base;
        action->setToolTip(text);
        action->setStatusTip(text);
    };
    hint(commands_->Action(QStringLiteral("acnUndo")), QStringLiteral("Отменить"), undo);
    hint(commands_->Action(QStringLiteral("acnRedo")), QStringLiteral("Повторить"), redo);
    if (fmHistory_ && fmHistory_->isVisible()) fmHistory_->ShowEntries(entries);
}

}  // namespace trelvanox
