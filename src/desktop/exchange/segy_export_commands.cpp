#include "desktop/exchange/segy_export_commands.h"

#include <QLineEdit>
#include <QProgressDialog>
#include <filesystem>

#include "desktop/document/radargram_file_commands.h"
#include "desktop/platform/platform.h"
#include "document/radargram_document.h"
#include "segy/segy_export.h"
#include "segy/segy_labels.h"

namespace trelvanox {

namespace {

const QString kCaption = QStringLiteral("Экспорт в SEG-Y");

QString FromPath(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

// The bar of the owner's exports, made on the first large one. It stays at 100 when an export
// is done, so the last export's progress can be read back.
QProgressDialog& ProgressDialog(QWidget& owner) {
    const QString name = QStringLiteral("dlgExportSegyProgress");
    if (auto* dialog = owner.findChild<QProgressDialog*>(name)) return *dialog;
    auto* dialog = new QProgressDialog(QStringLiteral("Экспорт радарограммы в SEG-Y..."), QString(),
                                       0, 100, &owner);
    dialog->setObjectName(name);
    dialog->setWindowTitle(kCaption);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(0);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    dialog->hide();
    return *dialog;
}

// Shows the bar while it lives and hides it on every way out, a failed export included.
class TProgressShown {
  public:
    explicit TProgressShown(QProgressDialog* dialog) : dialog_(dialog) {
        if (!dialog_) return;
        dialog_->setValue(0);
        dialog_->show();
    }
    ~TProgressShown() {
        if (dialog_) dialog_->hide();
    }
    TProgressShown(const TProgressShown&) = delete;
    TProgressShown& operator=(const TProgressShown&) = delete;

    TSegyProgress Progress() const {
        if (!dialog_) return {};
        return [dialog = dialog_](std::uint32_t percent) {
            dialog->setValue(static_cast<int>(percent));
        };
    }

  private:
    QProgressDialog* dialog_;
};

}  // namespace

void acnExportSegyExecute(TDocumentContext& context) {
    if (!RequireReadFile(context)) return;
    const TRadargramDocument& document = context.Document;
    std::filesystem::path proposed = document.Path();
    proposed.replace_extension(".sgy");
    TFileDialogRequest request;
    request.Filter = QStringLiteral("Файлы SEG-Y (*.sgy, *.segy)|*.sgy;*.segy|Все файлы (*.*)|*.*");
    request.ProposedName = FromPath(proposed);
    request.DefaultExtension = QStringLiteral("sgy");
    const std::optional<QString> chosen = context.Platform.GetSaveFileName(&context.Owner, request);
    if (!chosen) return;

    // Wide on Windows: the local 8-bit code page there cannot hold every name.
    const std::filesystem::path target(chosen->toStdU16String());
    const bool large = document.Model().Header().TraceCount >= kSegyProgressTraces;
    std::string warning;
    {
        const TProgressShown shown(large ? &ProgressDialog(context.Owner) : nullptr);
        warning = ExportSegy(document.Model(), target, {}, shown.Progress());
    }
    if (!warning.empty())
        context.Platform.ShowMessage(&context.Owner, QString::fromStdString(warning));
    context.Platform.MessageBox(&context.Owner,
                                QStringLiteral("Радарограмма записана в файл SEG-Y:\n") + *chosen +
                                    QStringLiteral("\n\nМетки записаны в файл:\n") +
                                    FromPath(SegyLabelsPath(target)),
                                kCaption, TMsgButtons::Ok, TMsgIcon::Information);
}

}  // namespace trelvanox
