#pragma once

#include "desktop/widgets/modeless_dialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace trelvanox {

// The label insertion dialog. Modeless; created once at start-up with the main window as parent
// and kept for the whole run, so its controls keep their state between showings. Its button
// only asks for the insertion; the main window runs it, since it needs the model.
class TFmInsertLabel : public TModelessDialog {
    Q_OBJECT
  public:
    explicit TFmInsertLabel(QWidget* parent = nullptr);

    QCheckBox* chkInsertFirstLabel() const { return chkInsertFirstLabel_; }
    QCheckBox* chkInsertLastLabel() const { return chkInsertLastLabel_; }
    QCheckBox* chkInsertPointedLabel() const { return chkInsertPointedLabel_; }
    QLineEdit* txtNamberInsertLabel() const { return txtNamberInsertLabel_; }
    QPushButton* bbtnInsertLabel() const { return bbtnInsertLabel_; }

  signals:
    void InsertRequested();

  private:
    QCheckBox* chkInsertFirstLabel_ = nullptr;
    QCheckBox* chkInsertLastLabel_ = nullptr;
    QCheckBox* chkInsertPointedLabel_ = nullptr;
    QLineEdit* txtNamberInsertLabel_ = nullptr;
    QPushButton* bbtnInsertLabel_ = nullptr;
};

}  // namespace trelvanox
