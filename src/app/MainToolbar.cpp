#include "app/MainToolbar.h"

#include "app/icons/Icons.h"

#include <QToolButton>

namespace vendrel {

namespace {

struct ButtonEntry {
    const char *key;     // nullptr for the unnamed separator
    const char *caption; // nullptr for a separator
    const char *tooltip;
    int image;
};

constexpr ButtonEntry buttons[] = {
    {"Connect", "Connect.", "Se connecter sur le serveur", 7},
    {"Disconnect", "Deconnect.", "Se déconnecter", 2},
    {"Spr1", nullptr, nullptr, 0},
    {"Reload", "Recharger", "Rafraîchir les fichiers Mode local", 6},
    {"Upload", "Envoyer", "Envoyer sur le serveur", 4},
    {"NewFolder", "Nv. Dos.", "Créer un nouveau dossier Mode local", 5},
    {"DelFolder", "Sup. Dos.", "Supprimer le dossier Mode local", 8},
    {"DelFile", "Sup. Fich.", "Supprimer le fichier Mode local", 10},
    {"Rename", "Renom.", "Renommer le fichier Mode local", 1},
    {nullptr, nullptr, nullptr, 0},
    {"Reload2", "Recharger", "Rafraîchir les fichiers sur le serveur", 6},
    {"DownLoad", "Recevoir", "Recevoir à partir du serveur", 4},
    {"NewFolder2", "Nv. Dos.", "Créer un nouveau dossier sur le serveur", 5},
    {"DelFolder2", "Sup. Dos.", "Supprimer un dossier sur le serveur", 8},
    {"DelFile2", "Sup. Fich.", "Supprimer un fichier sur le serveur", 10},
    {"Rename2", "Renom.", "Renommer un fichier sur le serveur", 1},
};

} // namespace

MainToolbar::MainToolbar(QWidget *parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("Toolbar1"));
    setAccessibleName(QStringLiteral("Barre d'outils"));
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(18, 18));
    // Sixteen captioned buttons must fit the toolbar's design height and the
    // window's width: small captions, little padding.
    setContentsMargins(0, 0, 0, 0);
    setStyleSheet(QStringLiteral("QToolButton { font-size: 7.5pt; padding: 0px 1px; margin: 0px; spacing: 0px; }"));
    for (const ButtonEntry &entry : buttons) {
        const QString key = entry.key == nullptr ? QString() : QString::fromLatin1(entry.key);
        if (entry.caption == nullptr) {
            addSeparator()->setObjectName(key);
            continue;
        }
        QAction *action = addAction(toolbarIcon(entry.image), QString::fromUtf8(entry.caption));
        action->setObjectName(key);
        action->setToolTip(QString::fromUtf8(entry.tooltip));
        QToolButton *tool = button(key);
        tool->setObjectName(key);
        tool->setAutoRaise(true);
        connect(action, &QAction::triggered, this, [this, key] { Q_EMIT buttonClicked(key); });
    }
}

QStringList MainToolbar::keys() const
{
    QStringList keys;
    for (const QAction *action : actions()) {
        if (!action->isSeparator())
            keys.append(action->objectName());
    }
    return keys;
}

QToolButton *MainToolbar::button(const QString &key) const
{
    for (QAction *action : actions()) {
        if (action->objectName() == key)
            return qobject_cast<QToolButton *>(widgetForAction(action));
    }
    return nullptr;
}

} // namespace vendrel
