#pragma once

#include <QHash>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;

namespace vendrel {

// The five menus of the main window, every item an action named after its
// control (zConnect, zRemRef, ...). Separators are named actions too.
class MainMenus {
public:
    explicit MainMenus(QMenuBar &menuBar);

    QAction &action(const QString &name) const;
    QMenu &menu(const QString &name) const;
    // Every item that is not a separator nor a sub-menu.
    QList<QAction *> commands() const;

private:
    void placePictures();

    QHash<QString, QAction *> actions_;
    QHash<QString, QMenu *> menus_;
};

} // namespace vendrel
