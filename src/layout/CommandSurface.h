#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QWidget;

// The main window's menu tree, its toolbar and the pop-up menu of the
// SitePin lists, with the captions, access keys and shortcuts users know.
// Menus and entries are found by name; toolbar buttons by their index,
// 1 to 21, separators included.
class CommandSurface : public QObject
{
    Q_OBJECT

public:
    static constexpr int kToolbarButtonCount = 21;

    CommandSurface(QMainWindow *window, QWidget *toolbarParent);

    // A menu's own action (for a menu name) or a menu entry; null if unknown.
    QAction *element(const QString &name) const;
    QMenu *menu(const QString &name) const;
    QMenu *popupMenu() const { return m_popup; }
    QToolBar *toolbar() const { return m_toolbar; }
    QAction *toolbarButton(int index) const;
    static bool isSeparatorIndex(int index);

    void setEnabled(const QString &name, bool enabled);
    bool isEnabled(const QString &name) const;
    void setButtonEnabled(int index, bool enabled);
    void setButtonVisible(int index, bool visible);
    bool isButtonEnabled(int index) const;

    // Every menu entry and menu, in menu order.
    QList<QAction *> allMenuElements() const;

    // An entry can run only while it and every menu above it are enabled;
    // Qt would otherwise let the shortcut of an entry in a disabled menu run.
    bool isReachable(const QAction *entry) const;

signals:
    void menuCommand(const QString &name);
    void toolbarButtonClicked(int index);

private:
    void buildMenus(QMainWindow *window);
    void buildToolbar(QWidget *parent);
    QAction *addEntry(QMenu *menu, const QString &name, const QString &caption, const QString &shortcut = {});
    void addSeparator(QMenu *menu, const QString &name);
    QMenu *addMenu(QWidget *parent, const QString &name, const QString &caption);

    QHash<QString, QAction *> m_elements;
    QHash<QString, QMenu *> m_menus;
    QList<QAction *> m_order;
    QMenu *m_popup = nullptr;
    QToolBar *m_toolbar = nullptr;
    QAction *m_buttons[kToolbarButtonCount] = {};
};
