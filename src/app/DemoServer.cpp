#include "app/DemoServer.h"

#include "session/profiles/SiteProfile.h"

#include <QDir>
#include <QFileInfo>

namespace vendrel {

QString DemoServer::start(const QString &programFolder)
{
    const QDir folder(programFolder);
    const QString script = folder.filePath(QStringLiteral("vendrel-demo-server.py"));
    const QString root = folder.filePath(QStringLiteral("demo-server"));
    if (!QFileInfo::exists(script) || !QFileInfo(root).isDir())
        return QStringLiteral("Fichiers de démonstration introuvables dans ") + programFolder;

    // Debian's own interpreter: it is the one that sees python3-pyftpdlib.
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral("/usr/bin/python3"),
                   {script, QStringLiteral("--root"), root, QStringLiteral("--lifetime"), QStringLiteral("0")});
    if (!process_.waitForStarted(5000))
        return QStringLiteral("Impossible de lancer /usr/bin/python3.");
    if (!process_.waitForReadyRead(10000))
        return QStringLiteral("Le serveur de démonstration ne répond pas (python3-pyftpdlib est-il installé ?).");
    bool isNumber = false;
    const uint port = QString::fromLatin1(process_.readLine().trimmed()).toUInt(&isNumber);
    if (!isNumber || port == 0 || port > 65535)
        return QStringLiteral("Le serveur de démonstration n'a pas donné de port.");

    SiteProfile profile;
    profile.siteName = QString::fromUtf8(profileLabel);
    profile.server = QStringLiteral("127.0.0.1");
    profile.user = QStringLiteral("vendrel");
    profile.password = QStringLiteral("secret");
    profile.port = QString::number(port);
    profile.initialFolder = QDir::homePath();
    if (SiteProfileFolder(programFolder).save(profile, true) != SiteProfileFolder::SaveResult::Saved)
        return QStringLiteral("Impossible d'enregistrer le profil de démonstration dans ") + programFolder;
    return {};
}

} // namespace vendrel
