// The main window's views following the open radargram.

#include <QAction>
#include <QLabel>
#include <QLineEdit>

#include "desktop/app/command_set.h"
#include "desktop/app/main_form.h"
#include "desktop/document/history_form.h"
#include "desktop/platform/platform.h"
#include "desktop/widgets/string_grid_model.h"
#include "desktop/widgets/string_grid_view.h"
#include "model/file_messages.h"

namespace trelvanox {

namespace {

QString Text(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
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
            ltxtLenghtOfProfil_->setText(Text(document_.ProfileLengthText()));
            sgReadF4Header_->GridModel()->GridChanged();
            const TReadLabelCounts& counts = document_.LabelCounts();
            ltxtNLabels_->setText(Text(counts.Total));
            ltxtNLabelsWithText_->setText(Text(counts.WithText));
            ltxtNLabelsNoText_->setText(Text(counts.WithoutText));
            [[fallthrough]];
        }
        case TDocumentChange::ReadFailed:
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

void TFmMainForm::ShowHistory() {
    const std::vector<THistoryEntry> entries = document_.History();
    const THistoryEntry* undo = nullptr;
    const THistoryEntry* redo = nullptr;
    for (const THistoryEntry& entry : entries) {
        if (entry.Applied) undo = &entry;
        if (!entry.Applied && !redo) redo = &entry;
    }
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
