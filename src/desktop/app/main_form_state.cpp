// What the main window remembers between runs, drops of files and the way back through the
// history list.

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolButton>
#include <QUrl>

#include "desktop/amplitude/regulation_amplitude_form.h"
#include "desktop/app/main_form.h"
#include "desktop/app/options_form.h"
#include "desktop/app/user_state.h"
#include "desktop/document/history_commands.h"
#include "desktop/document/history_form.h"
#include "desktop/document/radargram_file_commands.h"
#include "desktop/platform/command_dispatcher.h"
#include "desktop/view/radargram_view_form.h"
#include "desktop/widgets/ribbon.h"

namespace trelvanox {

namespace {

const QString kOpenFolderKey = QStringLiteral("Folders/Open");
const QString kImportFolderKey = QStringLiteral("Folders/Import");
const QString kExportUtf8Key = QStringLiteral("Export/Utf8");

// The radargram among the dropped files: a local .GPR or .GPR2.
QString DroppedRadargram(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) continue;
        const QString suffix = QFileInfo(url.toLocalFile()).suffix().toUpper();
        if (suffix == QLatin1String("GPR") || suffix == QLatin1String("GPR2"))
            return url.toLocalFile();
    }
    return {};
}

}  // namespace

void TFmMainForm::UseUserState(const QString& path) {
    userState_ = std::make_unique<TUserState>(path);
    userState_->RestoreGeometry(*this);
    LastOpenedPath = userState_->Text(kOpenFolderKey);
    LastImportPath = userState_->Text(kImportFolderKey);
    if (fmOptions_) fmOptions_->SetExportInUtf8(userState_->Text(kExportUtf8Key) == "1");
    for (QWidget* window :
         {static_cast<QWidget*>(fmRegulationAmplitude_), static_cast<QWidget*>(fmRadargramView_),
          static_cast<QWidget*>(fmHistory_)}) {
        if (!window) continue;
        userState_->RestoreGeometry(*window);
        if (window != fmHistory_) userState_->RestoreFields(*window);
    }
    ShowRecentFiles();
}

void TFmMainForm::SaveUserState() {
    if (!userState_) return;
    userState_->SaveGeometry(*this);
    userState_->SetText(kOpenFolderKey, LastOpenedPath);
    userState_->SetText(kImportFolderKey, LastImportPath);
    if (fmOptions_)
        userState_->SetText(kExportUtf8Key,
                            fmOptions_->ExportInUtf8() ? QStringLiteral("1") : QStringLiteral("0"));
    for (QWidget* window :
         {static_cast<QWidget*>(fmRegulationAmplitude_), static_cast<QWidget*>(fmRadargramView_),
          static_cast<QWidget*>(fmHistory_)}) {
        if (!window) continue;
        userState_->SaveGeometry(*window);
        if (window != fmHistory_) userState_->SaveFields(*window);
    }
    userState_->Sync();
}

void TFmMainForm::closeEvent(QCloseEvent* event) {
    SaveUserState();
    QMainWindow::closeEvent(event);
}

void TFmMainForm::ShowRecentFiles() {
    if (!recentMenu_) return;
    recentMenu_->clear();
    const QStringList files = userState_ ? userState_->RecentFiles() : QStringList();
    recentMenu_->setEnabled(!files.isEmpty());
    int number = 0;
    for (const QString& file : files) {
        QAction* open = recentMenu_->addAction(
            QStringLiteral("&%1 %2").arg(++number % 10).arg(QFileInfo(file).fileName()));
        open->setToolTip(file);
        open->setStatusTip(file);
        connect(open, &QAction::triggered, this, [this, file] {
            RunCommand(platform_, this, [&] {
                OpenNamedFile(*documentContext_, file, LastOpenedPath, RadargramFileName);
            });
        });
    }
}

void TFmMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedRadargram(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TFmMainForm::dropEvent(QDropEvent* event) {
    const QString path = DroppedRadargram(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    RunCommand(platform_, this,
               [&] { OpenNamedFile(*documentContext_, path, LastOpenedPath, RadargramFileName); });
}

void TFmMainForm::GoToHistoryStep(int row) {
    const std::vector<THistoryEntry> entries = document_.History();
    if (row < 0 || row >= static_cast<int>(entries.size())) return;
    int applied = 0;
    for (const THistoryEntry& entry : entries) applied += entry.Applied ? 1 : 0;
    // After the step of that row: it and every older one in the file, every newer one undone.
    const int target = row + 1;
    const bool undo = target < applied;
    for (int steps = std::abs(target - applied); steps > 0; --steps) {
        const std::size_t before = document_.History().size();
        RunHistoryStep(undo);
        // A step that failed has said why; the rest would fail the same way.
        int now = 0;
        for (const THistoryEntry& entry : document_.History()) now += entry.Applied ? 1 : 0;
        if (now == applied || document_.History().size() != before) break;
        applied = now;
    }
}

}  // namespace trelvanox
