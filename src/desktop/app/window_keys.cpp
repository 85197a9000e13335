#include "desktop/app/window_keys.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QShortcut>
#include <QWidget>

#include "desktop/app/command_set.h"

namespace trelvanox {

namespace {

// The focused field whose text the keys act on; null when they act on the file. A read-only
// field has no text to undo, so there the keys mean the file.
QLineEdit* EditableFocus() {
    QLineEdit* edit = EditTarget(QApplication::focusWidget());
    return edit && !edit->isReadOnly() ? edit : nullptr;
}

void AddKey(QWidget& window, const QKeySequence& keys, QObject* receiver,
            void (TWindowKeys::*run)()) {
    auto* shortcut = new QShortcut(keys, &window);
    // Also in the view and the dialogs: the keys mean the same in every window of the program.
    shortcut->setContext(Qt::ApplicationShortcut);
    QObject::connect(shortcut, &QShortcut::activated, receiver,
                     [receiver, run] { (static_cast<TWindowKeys*>(receiver)->*run)(); });
}

}  // namespace

TWindowKeys::TWindowKeys(QWidget& window, QAction& fileUndo, QAction& fileRedo)
    : QObject(&window), fileUndo_(fileUndo), fileRedo_(fileRedo) {
    AddKey(window, QKeySequence(Qt::CTRL | Qt::Key_Z), this, &TWindowKeys::Undo);
    AddKey(window, QKeySequence(Qt::CTRL | Qt::Key_Y), this, &TWindowKeys::Redo);
    AddKey(window, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), this, &TWindowKeys::Redo);
}

void TWindowKeys::Undo() {
    if (QLineEdit* edit = EditableFocus())
        edit->undo();
    else if (fileUndo_.isEnabled())
        fileUndo_.trigger();
}

void TWindowKeys::Redo() {
    if (QLineEdit* edit = EditableFocus())
        edit->redo();
    else if (fileRedo_.isEnabled())
        fileRedo_.trigger();
}

}  // namespace trelvanox
