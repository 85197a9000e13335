#pragma once

#include <QByteArray>
#include <QString>

namespace trelvanox {

class TFakePlatform;
class TFmMainForm;

// What the user does on the main window, for the tests that drive it.

// Chooses path in the open dialog of "Открыть" and reads it; the calls the read made are then
// forgotten, so that a test sees only what its own command shows. Returns whether the file was
// read.
bool OpenRadargram(TFmMainForm& form, TFakePlatform& platform, const QString& path);
// Triggers the command of that object name.
void RunAction(TFmMainForm& form, const char* action);
// The bytes of the file at path, or none when it cannot be read.
QByteArray FileBytes(const QString& path);

}  // namespace trelvanox
