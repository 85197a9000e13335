#pragma once

#include <QFrame>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class QAction;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QMenu;
class QStackedWidget;
class QStyle;
class QTabBar;
class QToolBar;
class QToolButton;
class QVBoxLayout;

namespace trelvanox {

class TRibbonGroup;
class TRibbonTab;

enum class TRibbonStyle { Obsidian, Silver, Luna };

// A ribbon command bar built from Qt widgets and the program's QActions, 143 pixels high: a top
// row with the application-menu button (Alt+F), the quick-access toolbar, the caption and the
// help button; below it a row of tabs; below that the current tab's groups of large and small
// buttons (and other controls) with captions below them and an optional dialog-launcher button.
// A colour style restyles the ribbon alone, never the window around it.
//
// Ownership: the ribbon owns its tabs, a tab its groups, a group the buttons it makes and the
// widgets handed to AddWidget (they are reparented into the group). Actions stay owned by the
// caller; buttons follow the action's text, icon, tool tip and enabled state.
// Ribbon buttons take no focus, so commands that act on the focused field (cut, copy, paste)
// still find it focused after a click.
class TRibbon : public QWidget {
    Q_OBJECT
  public:
    explicit TRibbon(QWidget* parent = nullptr);
    ~TRibbon() override;

    void SetCaption(const QString& caption);
    QString Caption() const;

    TRibbonTab* AddTab(const QString& caption);
    int TabCount() const { return static_cast<int>(tabs_.size()); }
    TRibbonTab* Tab(int index) const;  // nullptr outside 0..TabCount()-1
    int CurrentTab() const;
    void SetCurrentTab(int index);

    // The application menu (key tip "F") and the quick-access toolbar (16-pixel icons only).
    QMenu* ApplicationMenu() const { return applicationMenu_; }
    QToolBar* QuickAccessToolBar() const { return quickAccess_; }

    void SetRibbonStyle(TRibbonStyle style);
    TRibbonStyle RibbonStyle() const { return style_; }

  signals:
    void HelpButtonClicked();

  private:
    void ShowApplicationMenu();

    QStyle* baseStyle_;  // under the colour style's sheet; released after the ribbon

    QMenu* applicationMenu_;
    QToolButton* applicationButton_;
    QToolBar* quickAccess_;
    QLabel* caption_;
    QTabBar* tabBar_;
    QStackedWidget* pages_;
    QList<TRibbonTab*> tabs_;
    TRibbonStyle style_ = TRibbonStyle::Obsidian;
};

// One page of the ribbon: its groups side by side from the left. A page narrower than its
// groups cuts them off at the right instead of squeezing them (and never widens the window).
class TRibbonTab : public QWidget {
    Q_OBJECT
  public:
    explicit TRibbonTab(const QString& caption, QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    TRibbonGroup* AddGroup(const QString& caption);
    int GroupCount() const { return static_cast<int>(groups_.size()); }
    TRibbonGroup* Group(int index) const;  // nullptr outside 0..GroupCount()-1

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void PlaceStrip();

    QString caption_;
    QWidget* strip_;
    QHBoxLayout* stripLayout_;
    QList<TRibbonGroup*> groups_;
};

// A framed group of controls with its caption centred below them. Items fill columns from the
// left: a large button is a column of its own; small buttons and other controls stack up to
// three to a column; a separator closes the column with a vertical line.
class TRibbonGroup : public QFrame {
    Q_OBJECT
  public:
    explicit TRibbonGroup(const QString& caption, QWidget* parent = nullptr);

    QString Caption() const;
    // A large button (32-pixel icon above its caption) or a small one (16-pixel icon beside it),
    // bound to the action.
    void AddLargeAction(QAction* action);
    void AddSmallAction(QAction* action);
    void AddSeparator();
    // Any other control (the file-path field, a label, a check box, a combo box); it keeps its
    // own size hint and minimum width, and a tall one takes up to a whole column.
    void AddWidget(QWidget* widget);
    // The small launcher button at the group's bottom right runs the action.
    void SetLauncherAction(QAction* action);

  private:
    void AddStacked(QWidget* item, int rows);
    void AddColumnItem(QWidget* item);

    QHBoxLayout* columns_;
    QVBoxLayout* stack_ = nullptr;  // the open column of stacked items, if any
    int stackedRows_ = 0;
    QGridLayout* footer_;
    QLabel* caption_;
    QToolButton* launcher_ = nullptr;
};

// Screen tips: the action's tool tip becomes a formatted tip with a bold header, the description
// lines and the common footer "Нажмите  F1 для справки". Header and lines stay readable through
// the action's properties "screenTipHeader" (QString) and "screenTipLines" (QStringList). Keys,
// when given, are named on a line of their own above the footer (property "screenTipKeys").
void SetScreenTip(QAction* action, const QString& header, const QStringList& lines,
                  const QString& keys = QString());

}  // namespace trelvanox
