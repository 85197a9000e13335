#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace trelvanox {

// The program's licence and the libraries it links, each with its version and licence, as the
// about box's "Лицензии…" shows them: read-only text and OK. Modal.
class TFmNotices : public QDialog {
    Q_OBJECT
  public:
    explicit TFmNotices(QWidget* parent = nullptr);

    QPlainTextEdit* Text() const { return text_; }

  private:
    QPlainTextEdit* text_;
};

// The notices text built into the program.
QString ThirdPartyNotices();

}  // namespace trelvanox
