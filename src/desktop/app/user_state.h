#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QSettings;
class QWidget;

namespace trelvanox {

// What the program remembers of the user's last runs, in a file of its own (the settings INI
// keeps only its own keys): the recent files, the windows' places and sizes, the values of the
// dialogs' fields and the last folders. A value the file does not hold reads as its default.
class TUserState {
  public:
    explicit TUserState(const QString& path);
    ~TUserState();

    static constexpr int kRecentFiles = 10;
    // Newest first, at most kRecentFiles, each once.
    QStringList RecentFiles() const;
    void AddRecentFile(const QString& path);

    QString Text(const QString& key) const;
    void SetText(const QString& key, const QString& value);

    // A window's place and size, under its object name.
    void SaveGeometry(const QWidget& window);
    void RestoreGeometry(QWidget& window) const;
    // The texts of the named line edits and spin boxes, the states of the check boxes and radio
    // buttons and the choices of the combo boxes inside window, under the window's and each
    // control's object name: what the user set there last time.
    void SaveFields(const QWidget& window);
    void RestoreFields(QWidget& window) const;

    // Writes everything out now (it is also written when the object goes).
    void Sync();

  private:
    std::unique_ptr<QSettings> file_;
};

// Where the program keeps it: "desktop-state.ini" in the user's configuration folder of the
// program.
QString DefaultUserStatePath();

}  // namespace trelvanox
