#include "desktop/platform/command_dispatcher.h"

#include <QString>
#include <exception>

#include "desktop/platform/platform.h"

namespace trelvanox {

void RunCommand(TPlatform& platform, QWidget* owner, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        platform.ShowError(owner, QString::fromUtf8(e.what()));
    }
}

}  // namespace trelvanox
