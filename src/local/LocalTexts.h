#pragma once

#include "platform/Paths.h"

#include <QString>
#include <QStringList>

// What the local pane asks and tells in its message boxes, in one place, so
// that a caller or a test names the message rather than spelling it again.
namespace vendrel::LocalTexts {

inline const QString noFileToRename = QStringLiteral("Pas de fichier à renommer !");
inline const QString nameTaken = QStringLiteral("Nom de fichier déjà présent dans le dossier en cours? Erreur!");
inline const QString rootFolder = QStringLiteral("Ce dossier ne peut être suppimé (Racine)!");
inline const QString noFileSelected = QStringLiteral("Pas de fichier sélctionné !");
inline const QString deleteFileQuestion = QStringLiteral("Etes vous sur de supprimer ce fichier ?\r\n"
                                                         "Si oui, le fichier n'apparaitra pas dans la corbeille !");
inline const QString newFolderPrompt = QStringLiteral("Type a name of the new folder here");
inline const QString newFolderTitle = QStringLiteral("Nová Složka");
inline const QString folderExists =
    QStringLiteral("Erreur lors de la création du dossier \r\nVérifier que le dossier n'existe pas !");
inline const QString noFileToOpen = QStringLiteral("Pas de fichier à ouvrir !");
inline const QString noFileForProperties = QStringLiteral("Pas de sélection pour afficher les propriétés !");

inline QString invalidName(const QString &name)
{
    return QStringLiteral("Le nom ") + quoted(name) + QStringLiteral(" n'est pas un nom de fichier valide !");
}

inline QString extensionQuestion(const QString &oldExtension, const QString &newExtension)
{
    return QStringLiteral("Etes vous sur de changer l'exrtension du fichier: ") + quoted(oldExtension)
           + QStringLiteral(" to: ") + quoted(newExtension);
}

inline QString notRenamed(const QString &oldName, const QString &newName)
{
    return QStringLiteral("Le fichier ") + quoted(oldName) + QStringLiteral(" n'a pas pu être renommé en ")
           + quoted(newName) + QStringLiteral(" !");
}

inline QString deleteFolderQuestion(const QString &name)
{
    return QStringLiteral("Etes vous sur de supprimer ce dossier: ") + quoted(name)
           + QStringLiteral("? Etes vous sur qu'il ne contient pas de fichier !\r\n"
                            "Si oui, Il n'apparaitra pas dans la corbeille !");
}

inline QString folderNotRemoved(const QString &name, bool empty)
{
    return QStringLiteral("Le dossier ") + quoted(name)
           + (empty ? QStringLiteral(" n'a pas pu être supprimé : il est utilisé ou protégé !")
                    : QStringLiteral(" n'a pas pu être supprimé : il n'est pas vide !"));
}

// Names the files a deletion left in place; a long list is cut short.
inline QString filesNotDeleted(const QStringList &names)
{
    if (names.size() == 1)
        return QStringLiteral("Le fichier ") + quoted(names.first()) + QStringLiteral(" n'a pas pu être supprimé !");
    constexpr qsizetype shown = 10;
    QString text = QStringLiteral("Ces fichiers n'ont pas pu être supprimés :");
    for (qsizetype i = 0; i < names.size() && i < shown; ++i)
        text += QStringLiteral("\r\n") + quoted(names.at(i));
    if (names.size() > shown)
        text += QStringLiteral("\r\n... et %1 autres.").arg(names.size() - shown);
    return text;
}

inline QString folderNotCreated(const QString &name, const QString &parent)
{
    return QStringLiteral("Erreur lors de la création du dossier \r\nLe dossier ") + quoted(name)
           + QStringLiteral(" n'a pas pu être créé dans ") + quoted(parent) + QStringLiteral(" !");
}

inline QString noProgramOpens(const QString &name)
{
    return QStringLiteral("Aucun programme n'a pu ouvrir le fichier ") + quoted(name) + QStringLiteral(" !");
}

inline QString fileGone(const QString &name)
{
    return QStringLiteral("Le fichier ") + quoted(name) + QStringLiteral(" n'existe plus dans le dossier !");
}

} // namespace vendrel::LocalTexts
