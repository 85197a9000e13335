#pragma once

#include <functional>

class QWidget;

namespace trelvanox {

class TPlatform;

// Runs one command's handler. An error the handler does not handle ends the command where it
// arose and is shown by the general error display; the program goes on.
void RunCommand(TPlatform& platform, QWidget* owner, const std::function<void()>& handler);

}  // namespace trelvanox
