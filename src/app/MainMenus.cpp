#include "app/MainMenus.h"

#include "app/icons/Icons.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <vector>

namespace vendrel {

namespace {

enum class Mark { None, Unchecked, Checked };

struct MenuEntry {
    const char *name;
    const char *caption; // "-" for a separator
    const char *shortcut = nullptr;
    Mark mark = Mark::None;
    std::vector<MenuEntry> items = {};
};

MenuEntry sep(const char *name)
{
    return {name, "-"};
}

const std::vector<MenuEntry> &menuTree()
{
    // clang-format off
    static const std::vector<MenuEntry> tree = {
        {"zSoubor", "&Fichier", nullptr, Mark::None, {
            {"zOpen", "&Ouvrir fichier Log", "Ctrl+O"},
            {"zSave", "&Enregister fichier Log", "Ctrl+E"},
            {"zConnect", "Se &Connecter sur le Serveur", "Ctrl+C"},
            {"zDisconnect", "Se &Déconnecter du Serveur", "Ctrl+D"},
            {"Mnu_DeconnectInternet", "Se déconnecter d'Internet"},
            sep("zSep9"),
            {"zOdpojit", "&Fin de connexion", "Ctrl+F"},
            sep("zSep1"),
            {"zEnd", "&Quitter", "F4"},
        }},
        {"zLocal", "&Mode Local", nullptr, Mark::None, {
            {"zLokRef", "&Rafraîchir"},
            {"zOpenFile", "&Ouvrir un Fichier"},
            sep("zSep6"),
            {"zLokUp", "En&voyer", "Ctrl+V"},
            {"zLokED", "Envoyer le dossier"},
            sep("zSep5"),
            {"zLokNF", "&Nouveau dossier"},
            {"zLokDF", "&Supprimer le dossier"},
            {"zLokDS", "&Supprimer le fichier"},
            {"zLokRS", "&Renommer le fichier"},
            sep("zSep3"),
            {"zPat", "Filtre", nullptr, Mark::None, {
                {"zAll", "&Tous les fichiers (*.*)", nullptr, Mark::Checked},
                {"Z_HTML", "Fichiers &HTML", nullptr, Mark::Unchecked},
                {"Z_Images", "Fichiers images (GIF-JPEG)", nullptr, Mark::Unchecked},
                {"Z_Zip", "Fichiers &ZIP", nullptr, Mark::Unchecked},
                {"Z_Exe", "Fichiers EXE", nullptr, Mark::Unchecked},
                sep("zSep11"),
                {"zDefine", "&Définir le type de filtre (*.?)", nullptr, Mark::Unchecked},
            }},
            {"zFind", "Recherher un fichier", "Ctrl+R"},
            {"zProperties", "&Propriétés", "Ctrl+P"},
        }},
        {"zRemote", "&Serveur", nullptr, Mark::None, {
            {"zRemRef", "&Rafraîchir"},
            sep("zSep7"),
            {"zRemDown", "&Recevoir"},
            {"zRemRD", "Recevoir le dossier"},
            sep("zSep8"),
            {"zRemNF", "&Nouveau dossier"},
            {"zRemDF", "&Supprimer le dossier"},
            {"zRemDS", "Supprimer le &fichier"},
            {"zRemRS", "&Renommer le fichier"},
            sep("zSep12"),
            {"zPat2", "Filtres", nullptr, Mark::None, {
                {"zAll2", "&Tous les fichiers (*.*)", nullptr, Mark::Checked},
                sep("zSep13"),
                {"zDefine2", "&Définir le type de filtre (*.?)", nullptr, Mark::Unchecked},
            }},
        }},
        {"zNast", "&Outils/Affichage", nullptr, Mark::None, {
            {"zTento", "&Mode local", nullptr, Mark::None, {
                {"ztBigIc", "&Grandes Icônes"},
                {"ztSmallIc", "&Petitesl Icônes"},
                {"ztSeznam", "&Liste"},
                {"ztReport", "&Détails"},
            }},
            {"zServer", "&Serveur", nullptr, Mark::None, {
                {"zsBigIc", "&Grandes Icônes"},
                {"zsSmallIc", "&Petitesl Icônes"},
                {"zsSeznam", "&Liste"},
                {"zsReport", "&Détails"},
            }},
            sep("zSep4"),
            {"zTransf", "&Transfert", nullptr, Mark::None, {
                {"zBinary", "Mode &Binaire", nullptr, Mark::Checked},
                {"zAscii", "Mode &ASCII", nullptr, Mark::Unchecked},
            }},
            {"zPassive", "Mode &Passif", nullptr, Mark::Unchecked},
            sep("zSep10"),
            {"zTools", "&Voir la barre d'outils", nullptr, Mark::Checked},
            {"zOption", "&Options"},
        }},
        {"zHilfe", "&Aide", nullptr, Mark::None, {
            {"zHelp", "&Aide", "F1"},
            sep("zSep2"),
            {"zAbout", "&A Propos", "F2"},
        }},
    };
    // clang-format on
    return tree;
}

} // namespace

MainMenus::MainMenus(QMenuBar &menuBar)
{
    const std::function<void(QMenu &, const std::vector<MenuEntry> &)> fill =
        [this, &fill](QMenu &menu, const std::vector<MenuEntry> &entries) {
            for (const MenuEntry &entry : entries) {
                const QString name = QString::fromLatin1(entry.name);
                const QString caption = QString::fromUtf8(entry.caption);
                if (!entry.items.empty()) {
                    QMenu *sub = menu.addMenu(caption);
                    sub->setObjectName(name);
                    sub->menuAction()->setObjectName(name);
                    menus_.insert(name, sub);
                    actions_.insert(name, sub->menuAction());
                    fill(*sub, entry.items);
                    continue;
                }
                QAction *action = caption == u"-" ? menu.addSeparator() : menu.addAction(caption);
                action->setObjectName(name);
                if (entry.shortcut != nullptr)
                    action->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
                action->setCheckable(entry.mark != Mark::None);
                action->setChecked(entry.mark == Mark::Checked);
                actions_.insert(name, action);
            }
        };
    for (const MenuEntry &top : menuTree()) {
        QMenu *menu = menuBar.addMenu(QString::fromUtf8(top.caption));
        const QString name = QString::fromLatin1(top.name);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        menus_.insert(name, menu);
        actions_.insert(name, menu->menuAction());
        fill(*menu, top.items);
    }
    // Switched off until there are options to offer.
    action(QStringLiteral("zOption")).setEnabled(false);
    placePictures();
}

QAction &MainMenus::action(const QString &name) const
{
    QAction *found = actions_.value(name);
    Q_ASSERT_X(found != nullptr, "MainMenus::action", qPrintable(name));
    return *found;
}

QMenu &MainMenus::menu(const QString &name) const
{
    QMenu *found = menus_.value(name);
    Q_ASSERT_X(found != nullptr, "MainMenus::menu", qPrintable(name));
    return *found;
}

QList<QAction *> MainMenus::commands() const
{
    QList<QAction *> result;
    for (QAction *action : actions_) {
        if (!action->isSeparator() && action->menu() == nullptr)
            result.append(action);
    }
    return result;
}

void MainMenus::placePictures()
{
    const std::pair<const char *, MenuPicture> pictures[] = {
        {"zOpen", MenuPicture::PicMenuIndex0},     {"zSave", MenuPicture::PicMenuIndex1},
        {"zConnect", MenuPicture::PicMenuIndex2},  {"zDisconnect", MenuPicture::PicMenuIndex3},
        {"zOdpojit", MenuPicture::PicMenu2},       {"zLokRef", MenuPicture::PicMenu3},
        {"zOpenFile", MenuPicture::PicMenuIndex0}, {"zLokUp", MenuPicture::PicMenu4},
        {"zFind", MenuPicture::PicMenu6},          {"zProperties", MenuPicture::PicMenu5},
        {"zRemRef", MenuPicture::PicMenu3},        {"zRemDown", MenuPicture::PicMenu4},
        {"zTento", MenuPicture::PicMenu7},         {"zServer", MenuPicture::PicMenuIndex2},
        {"zHelp", MenuPicture::PicMenu8},
    };
    for (const auto &[name, picture] : pictures)
        action(QString::fromLatin1(name)).setIcon(menuPicture(picture));
}

} // namespace vendrel
