#pragma once

class QCoreApplication;

namespace trelvanox {

// Installs Qt's own Russian translation (qtbase_ru from the system's Qt translations), so that
// Qt's dialogs the program uses (files, printing) speak Russian like the rest of the program.
// The translator is a child of app. Returns false when the translation is not installed; the
// dialogs then keep Qt's English texts.
bool InstallQtTranslations(QCoreApplication& app);

}  // namespace trelvanox
