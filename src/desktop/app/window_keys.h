#pragma once

#include <QObject>

class QAction;
class QWidget;

namespace trelvanox {

// The undo and redo keys of the whole program (Ctrl+Z; Ctrl+Y and Ctrl+Shift+Z), in every
// window of it: in an editable text field they undo and redo its text, as the field's own keys
// do; anywhere else they run the file's "Отменить" and "Повторить". The commands' actions hold
// no keys themselves, since a button pressed while a text field keeps the focus must still act
// on the file. A child of the window given.
class TWindowKeys : public QObject {
    Q_OBJECT
  public:
    TWindowKeys(QWidget& window, QAction& fileUndo, QAction& fileRedo);

    // What a key does with the focus where it is now; public for the key's own tests.
    void Undo();
    void Redo();

  private:
    QAction& fileUndo_;
    QAction& fileRedo_;
};

}  // namespace trelvanox
