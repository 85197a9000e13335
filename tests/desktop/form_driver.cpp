#include "form_driver.h"

#include <QAction>
#include <QFile>
#include <QToolButton>

#include "desktop/app/main_form.h"
#include "fake_platform.h"

namespace trelvanox {

bool OpenRadargram(TFmMainForm& form, TFakePlatform& platform, const QString& path) {
    platform.OpenAnswers.push_back(path);
    form.findChild<QToolButton*>(QStringLiteral("btnOpenDirectory"))->click();
    platform.Clear();
    return form.Model().FileLoaded() == 1;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void RunAction(TFmMainForm& form, const char* action) {
    form.findChild<QAction*>(QString::fromLatin1(action))->trigger();
}

}  // namespace trelvanox
