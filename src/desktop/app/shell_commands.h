#pragma once

#include <filesystem>

class QLineEdit;
class QWidget;

namespace trelvanox {

class TFmAbout;
class TFmOptions;
class TPlatform;
struct TSettings;

// The commands that belong to the window itself.

// Printer setup, then the table (the header table) on one page as the screen shows it.
void acnPrintExecute(TPlatform& platform, QWidget& owner, QWidget& table);
// The help file of the current folder, by the desktop.
void acnHelpExecute(TPlatform& platform);
// The about box, modal.
void acnAboutExecute(TFmAbout& about);
// Closes the window at once.
void acnExitExecute(QWidget& window);
// The settings from their file; the options dialog (when it exists) and the operator field show
// what was loaded.
void acnLoadOptionsExecute(TSettings& settings, const std::filesystem::path& path,
                           TFmOptions* options, QLineEdit& operatorField);
void acnSaveOptionsExecute(const TSettings& settings, const std::filesystem::path& path);

}  // namespace trelvanox
