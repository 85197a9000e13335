#pragma once

#include <filesystem>

class QLineEdit;
class QString;
class QWidget;

namespace trelvanox {

class TFmAbout;
class TFmOptions;
class TPlatform;
struct THelpPlaces;
struct TSettings;

// The commands that belong to the window itself.

// Printer setup, then the table (the header table) on one page as the screen shows it.
void acnPrintExecute(TPlatform& platform, QWidget& owner, QWidget& table);
// Help from the first of places that can show it (see ResolveHelp): the help file of the
// current folder by the desktop's viewer, the manual on disk, or the copy built into the
// program in its own viewer; the manual opens at section (empty: at its top).
void acnHelpExecute(TPlatform& platform, QWidget& owner, const THelpPlaces& places,
                    const QString& section);
// The about box, modal.
void acnAboutExecute(TFmAbout& about);
// Closes the window at once.
void acnExitExecute(QWidget& window);
// The settings from their file; the options dialog (when it exists) and the operator field show
// what was loaded, except a text the user typed there and has not saved (isModified()).
void acnLoadOptionsExecute(TSettings& settings, const std::filesystem::path& path,
                           TFmOptions* options, QLineEdit& operatorField);
void acnSaveOptionsExecute(const TSettings& settings, const std::filesystem::path& path);

}  // namespace trelvanox
