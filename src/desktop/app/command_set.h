#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QStyle>
#include <span>
#include <string_view>

class QAction;
class QIcon;
class QLineEdit;
class QWidget;

namespace trelvanox {

// The picture of a command: one the program draws itself (at 16 and 32 pixels, readable on every
// ribbon colour style), or, for Standard, the desktop's theme icon with a standard pixmap of the
// style in its place when the theme has none. Every command with a large ribbon button has a
// glyph of its own, since the style's pixmaps are 16-pixel pictures.
enum class TCommandGlyph {
    Standard,
    Cut,
    Copy,
    Paste,
    Print,
    LabelColors,
    SkinObsidian,
    SkinSilver,
    SkinLuna,
    ZeroPosition,
    Exit,
    ReadFile,
    ClearHeader,
    Amplitude,
    ExportTable,
    ImportTable,
    Options,
    Help,
    About,
    DeleteZeroDelimiter,
    EditOptions,
    ExportSegy,
    Radargram,
};

// Where a command's key works. The action itself holds keys of scope Widget, Window and
// Application; keys of scope KeyMap are the main window's own (TWindowKeys), which decides by
// the focus whether they act on a text field or on the file, so the action shows them in its
// screen tip only.
enum class TKeyScope { Widget, Window, Application, KeyMap };

// One command of the main window's action list. Texts are UTF-8.
struct TCommandInfo {
    std::string_view Name = {};      // the action's object name
    std::string_view Caption = {};   // the action's text
    std::string_view Hint = {};      // empty: the screen-tip header serves as the hint
    std::string_view Category = {};  // the action-list category
    // Portable key text ("Ctrl+X", "Del"); empty for none. A KeyMap entry may name several
    // keys, separated by ", ".
    std::string_view Shortcut = {};
    TKeyScope KeyScope = TKeyScope::Widget;
    std::string_view TipHeader = {};
    // The screen tip's description, lines separated by '\n'; empty text: no description.
    std::string_view TipText = {};
    std::string_view ThemeIcon = {};  // icon-theme name tried first; may be empty
    TCommandGlyph Glyph = TCommandGlyph::Standard;
    QStyle::StandardPixmap StandardIcon = QStyle::SP_FileIcon;  // for TCommandGlyph::Standard
};

// The whole command set, in the order of the action list.
std::span<const TCommandInfo> CommandTable();
// The command of that name, or null.
const TCommandInfo* FindCommand(std::string_view name);

QString CommandHint(const TCommandInfo& info);
QStringList ScreenTipLines(const TCommandInfo& info);
// The keys as the screen tip names them ("Ctrl+Y, Ctrl+Shift+Z"); empty for a command without.
QString ScreenTipKeys(const TCommandInfo& info);
QIcon CommandIcon(const TCommandInfo& info);

// The standard edit commands (EditCut1 ... EditDelete1) work on the focused text field.
enum class TEditCommand { Cut, Copy, Paste, Undo, Delete };

// The line edit behind a focus widget: the widget itself, an editable combo box's line edit or
// a spin box's line edit; null for anything else.
QLineEdit* EditTarget(QWidget* focus);
// Runs the command on focus's text field; does nothing when focus is not one. Delete removes the
// selection only, and a read-only field is never changed (copy still works).
void RunEditCommand(TEditCommand command, QWidget* focus);

// The main window's action list: one QAction per command of CommandTable(), with object name,
// text, hint (tool tip and status tip), the property "category", shortcut, icon and screen tip.
//
// Ownership: the actions are children of the owner given to the constructor, so
// owner->findChild<QAction*>("acnReadFile") finds them; the set itself is a child of the owner
// too and is destroyed before the actions.
//
// The set wires only the standard edit commands (they act on QApplication::focusWidget()); the
// main window connects every other command's triggered() to its handler.
//
// The edit shortcuts (Ctrl+X/C/V, Del) are shown by the actions but act only while the focus
// is inside a widget the action was added to (Qt::WidgetWithChildrenShortcut): text fields
// handle those keys themselves, and a window-wide Del would take the Delete key away from the
// grids. Do not add the edit actions to a container of other controls (the main window itself)
// to give them keys. The actions with window or application keys (F1, F5, Ctrl+P) must be added
// to the main window (WindowActions()), since a key works only while a widget holding its
// action is visible.
class TCommandSet : public QObject {
    Q_OBJECT
  public:
    explicit TCommandSet(QObject* owner);

    // The action of that object name, or null.
    QAction* Action(const QString& name) const;
    // All actions, in the order of CommandTable().
    const QList<QAction*>& Actions() const { return actions_; }
    // The actions whose keys work window-wide or application-wide.
    QList<QAction*> WindowActions() const;

  private:
    QList<QAction*> actions_;
    QHash<QString, QAction*> byName_;
};

}  // namespace trelvanox
