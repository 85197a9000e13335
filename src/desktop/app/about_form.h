#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;

namespace trelvanox {

// The about box: the program's emblem, name, version and build date, an author line and a
// contact line, OK, and "Лицензии…" for the licence and the notices of the linked libraries. Modal; created once at start-up, after the main window, whose build date
// it copies; shown with exec() centred on its parent.
class TFmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit TFmAbout(const QString& compileDateText, QWidget* parent = nullptr);

    QLabel* lblCompileData() const { return lblCompileData_; }

  private:
    QLabel* lblCompileData_;
};

// The program's emblem, 33 x 33 pixels: an antenna on the ground over the hyperbolas that a
// buried object leaves in a radargram.
QPixmap EmblemPixmap();

}  // namespace trelvanox
