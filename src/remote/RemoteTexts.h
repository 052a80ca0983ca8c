#pragma once

#include "platform/Paths.h"

#include <QString>

// What the server pane asks and tells in its message boxes, in one place, so
// that a caller or a test names the message rather than spelling it again.
namespace vendrel::RemoteTexts {

inline const QString notConnected = QStringLiteral("Pas de connexion sur le serveur !");
inline const QString notConnectedForFolder = QStringLiteral("Pas de connexion sur le serveur!");
inline const QString noFileToRename = QStringLiteral("Pas de fichier à renommer !");
inline const QString cannotRenameExtension = QStringLiteral("Ne peut renommer le fichier");
inline const QString cannotRename = QStringLiteral("Ne peut accomplir la demande");
// A rename onto a name the folder lists would replace that file.
inline QString replaceOnRenameQuestion(const QString &name)
{
    return QStringLiteral("Le fichier ") + quoted(name) + QStringLiteral(" existe déjà sur le serveur. Le remplacer ?");
}
inline const QString rootFolder = QStringLiteral("Ce dossier ne peut être supprimé (Racine)!");
inline const QString folderNotRemoved =
    QStringLiteral("Erreur! Etes vous sur que le dossier ne contienne pas de fichiers ?");
inline const QString noFileToDelete = QStringLiteral("Pas de fichier sélectionné pour être supprimé !");
inline const QString deleteFileQuestion = QStringLiteral("Etes vous sur de supprimer ce fichier ?");
inline const QString fileNotDeleted = QStringLiteral("Erreur rencontrée lors de la suppression du fichier !");
inline const QString newFolderPrompt = QStringLiteral("Nom du nouveau dossier");
inline const QString newFolderTitle = QStringLiteral("Créer un nouveau dossier");
inline const QString folderNotCreated = QStringLiteral("Erreur rencontrée lors de la création du nouveau dossier!");

inline QString extensionQuestion(const QString &oldExtension, const QString &newExtension)
{
    return QStringLiteral("Etes vous sur de changer l'extension du fichier: ") + quoted(oldExtension)
           + QStringLiteral(" to: ") + quoted(newExtension);
}

inline QString deleteFolderQuestion(const QString &name)
{
    return QStringLiteral("Etes vous sur de supprimer ce dossier: ") + quoted(name)
           + QStringLiteral("? (Suppression de dossier !)\r\nSuppression de dossier!");
}

} // namespace vendrel::RemoteTexts
