#include "app/CommandTable.h"

#include <stdexcept>

namespace vendrel {

void CommandTable::add(const QString &name, Handler handler)
{
    handlers_.insert(name, std::move(handler));
}

void CommandTable::addAlias(const QString &name, const QString &command)
{
    aliases_.insert(name, command);
}

void CommandTable::run(const QString &name) const
{
    if (const Handler *handler = find(name))
        (*handler)();
}

void CommandTable::requireHandlers(const QStringList &names) const
{
    QStringList missing;
    for (const QString &name : names) {
        if (find(name) == nullptr)
            missing.append(name);
    }
    if (!missing.isEmpty())
        throw std::logic_error("Commands without a handler: " + missing.join(QStringLiteral(", ")).toStdString());
}

const CommandTable::Handler *CommandTable::find(const QString &name) const
{
    const auto handler = handlers_.constFind(aliases_.value(name, name));
    return handler != handlers_.cend() && *handler ? &*handler : nullptr;
}

} // namespace vendrel
