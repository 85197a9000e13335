#pragma once

#include <QWidget>

class QAction;
class QMenu;
class QToolBar;

namespace trelvanox {

class TRibbonGroup;
class TRibbonTab;

enum class TRibbonStyle { Obsidian, Silver, Luna };

// A ribbon command bar built from Qt widgets and the program's QActions: a quick-access toolbar
// and an application-menu button above a row of tabs; each tab holds groups of large and small
// buttons (and other controls) with captions below them and an optional dialog-launcher button.
// A colour style restyles the ribbon alone.
class TRibbon : public QWidget {
    Q_OBJECT
public:
    explicit TRibbon(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    TRibbonTab* AddTab(const QString& caption);
    int TabCount() const;
    TRibbonTab* Tab(int index) const;
    int CurrentTab() const;
    void SetCurrentTab(int index);

    // The application menu (key tip "F") and the quick-access toolbar (icons only).
    QMenu* ApplicationMenu() const;
    QToolBar* QuickAccessToolBar() const;

    void SetRibbonStyle(TRibbonStyle style);
    TRibbonStyle RibbonStyle() const;

signals:
    void HelpButtonClicked();

private:
    class TImpl;
    TImpl* impl_;  // owned through Qt parenting of its widgets; see ribbon.cpp
};

class TRibbonTab : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    virtual QString Caption() const = 0;
    virtual TRibbonGroup* AddGroup(const QString& caption) = 0;
    virtual int GroupCount() const = 0;
    virtual TRibbonGroup* Group(int index) const = 0;
};

class TRibbonGroup : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    virtual QString Caption() const = 0;
    // A large button (32-pixel icon above its caption) or a small one (16-pixel icon beside it,
    // stacked three to a column), bound to the action.
    virtual void AddLargeAction(QAction* action) = 0;
    virtual void AddSmallAction(QAction* action) = 0;
    virtual void AddSeparator() = 0;
    // Any other control (the file-path field, a label, a check box, a combo box).
    virtual void AddWidget(QWidget* widget) = 0;
    // The small launcher button at the group's bottom right runs the action.
    virtual void SetLauncherAction(QAction* action) = 0;
};

// Screen tips: the action's tool tip becomes a formatted tip with a bold header, the description
// lines and the common footer "Нажмите  F1 для справки". Header and lines stay readable through
// the action's properties "screenTipHeader" (QString) and "screenTipLines" (QStringList).
void SetScreenTip(QAction* action, const QString& header, const QStringList& lines);

}  // namespace trelvanox
