#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace trelvanox {

// The tab "Заголовок" of "Данные для записи": the fields whose texts the header editing copies
// into the header, and its button "Применить". The options dialog enables, disables and empties
// the fields as the edit scope changes; the handlers read them when a command runs.
class THeaderEditPage : public QWidget {
    Q_OBJECT
  public:
    explicit THeaderEditPage(QWidget* parent = nullptr);

    QLineEdit* txtOperator() const { return txtOperator_; }
    QLineEdit* txtObject() const { return txtObject_; }
    QComboBox* cmbCommentary1() const { return cmbCommentary_[0]; }
    QComboBox* cmbCommentary2() const { return cmbCommentary_[1]; }
    QComboBox* cmbCommentary3() const { return cmbCommentary_[2]; }
    QLineEdit* txtPK() const { return txtPK_; }
    QLineEdit* txtEpsilon() const { return txtEpsilon_; }
    QPushButton* btnChangeHeaderSets() const { return btnChangeHeaderSets_; }

  private:
    QLineEdit* txtOperator_ = nullptr;
    QLineEdit* txtObject_ = nullptr;
    QComboBox* cmbCommentary_[3] = {};
    QLineEdit* txtPK_ = nullptr;
    QLineEdit* txtEpsilon_ = nullptr;
    QPushButton* btnChangeHeaderSets_ = nullptr;
};

}  // namespace trelvanox
