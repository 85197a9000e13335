#include "desktop/app/shell_commands.h"

#include <QLineEdit>
#include <QPainter>
#include <QPrinter>

#include "desktop/app/about_form.h"
#include "desktop/app/main_form.h"
#include "desktop/app/options_form.h"
#include "desktop/platform/platform.h"
#include "desktop/widgets/string_grid_view.h"
#include "settings/settings.h"

namespace trelvanox {

void acnPrintExecute(TFmMainForm& form) {
    // At screen resolution a printer pixel is a screen pixel in size, so the table prints as large
    // as it shows instead of shrinking to a stamp on a fine printer.
    QPrinter printer(QPrinter::ScreenResolution);
    if (!form.Platform().PrinterSetup(&form, printer)) return;
    // The table as the screen shows it, at its on-screen size in pixels, from printer pixel
    // (100, 100).
    QPainter painter(&printer);
    form.sgReadF4Header()->render(&painter, QPoint(100, 100));
}

void acnHelpExecute(TFmMainForm& form) {
    form.Platform().OpenDocument(QStringLiteral("HelpTrelvanox.chm"));
}

void acnAboutExecute(TFmMainForm& form) {
    form.FmAbout()->exec();
}

void acnExitExecute(TFmMainForm& form) {
    form.close();
}

void acnLoadOptionsExecute(TFmMainForm& form) {
    const std::string operatorText = LoadSettings(form.Settings(), form.SettingsPath());
    if (form.FmOptions()) form.FmOptions()->ShowLoadedSettings();
    form.txtOperator()->setText(QString::fromUtf8(operatorText));
}

void acnSaveOptionsExecute(TFmMainForm& form) {
    SaveSettings(form.Settings(), form.SettingsPath());
}

}  // namespace trelvanox
