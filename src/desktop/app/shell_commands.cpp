#include "desktop/app/shell_commands.h"

#include <QLineEdit>
#include <QPainter>
#include <QPrinter>

#include "desktop/app/about_form.h"
#include "desktop/app/help_places.h"
#include "desktop/app/options_form.h"
#include "desktop/platform/platform.h"
#include "settings/settings.h"

namespace trelvanox {

void acnPrintExecute(TPlatform& platform, QWidget& owner, QWidget& table) {
    // At screen resolution a printer pixel is a screen pixel in size, so the table prints as large
    // as it shows instead of shrinking to a stamp on a fine printer.
    QPrinter printer(QPrinter::ScreenResolution);
    if (!platform.PrinterSetup(&owner, printer)) return;
    // The table as the screen shows it, at its on-screen size in pixels, from printer pixel
    // (100, 100).
    QPainter painter(&printer);
    table.render(&painter, QPoint(100, 100));
}

void acnHelpExecute(TPlatform& platform, QWidget& owner, const THelpPlaces& places,
                    const QString& section) {
    const THelpTarget help = ResolveHelp(places);
    switch (help.Source) {
        case THelpSource::HelpFile:
            platform.OpenDocument(help.Path);
            return;
        case THelpSource::Manual:
            platform.ShowManual(&owner, help.Path, section);
            return;
        case THelpSource::BuiltIn:
            platform.ShowManual(&owner, QStringLiteral(":/manual/index.html"), section);
            return;
    }
}

void acnAboutExecute(TFmAbout& about) {
    about.exec();
}

void acnExitExecute(QWidget& window) {
    window.close();
}

void acnLoadOptionsExecute(TSettings& settings, const std::filesystem::path& path,
                           TFmOptions* options, QLineEdit& operatorField) {
    const std::string operatorText = LoadSettings(settings, path);
    if (options) options->ShowLoadedSettings();
    // Typed and not yet written or saved: the user's text wins over the file's.
    if (!operatorField.isModified() || !operatorField.isEnabled())
        operatorField.setText(QString::fromUtf8(operatorText));
}

void acnSaveOptionsExecute(const TSettings& settings, const std::filesystem::path& path) {
    SaveSettings(settings, path);
}

}  // namespace trelvanox
