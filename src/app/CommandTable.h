#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

namespace vendrel {

// The main window's commands by name: menu items by their object name,
// toolbar buttons by their key.
class CommandTable {
public:
    using Handler = std::function<void()>;

    void add(const QString &name, Handler handler);
    // Another name for a command: a toolbar key that runs a menu item's handler.
    void addAlias(const QString &name, const QString &command);

    // Nothing happens for a name without a handler.
    void run(const QString &name) const;

    // Throws std::logic_error naming each of the names that has no handler,
    // so that a menu item or a button left without one stops the program at
    // start-up, in every build, instead of doing nothing when clicked.
    void requireHandlers(const QStringList &names) const;

private:
    const Handler *find(const QString &name) const;

    QHash<QString, Handler> handlers_;
    QHash<QString, QString> aliases_;
};

} // namespace vendrel
