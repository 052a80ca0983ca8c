#include "app/DemoServer.h"

#include "session/profiles/SiteProfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace vendrel {

namespace {

const QString demoFolderName = u"demo-server"_s;

// The shipped demo folder may be read only (installed): the server serves a
// copy in the data folder, which uploads and deletes can change.
bool copyFolder(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    QDirIterator entries(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QFileInfo entry = entries.nextFileInfo();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(entry.filePath()));
        if (entry.isDir() ? !QDir().mkpath(target) : !QFile::copy(entry.filePath(), target))
            return false;
        if (entry.isFile())
            QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    return true;
}

SiteProfile demoProfile(uint port)
{
    SiteProfile profile;
    profile.siteName = QString::fromUtf8(DemoServer::profileLabel);
    profile.server = u"127.0.0.1"_s;
    profile.user = u"vendrel"_s;
    profile.password = u"secret"_s;
    profile.port = QString::number(port);
    profile.initialFolder = QDir::homePath();
    return profile;
}

// A profile of the user's that bears the demo's label is not ours to replace.
bool isUsersOwnProfile(const SiteProfileFolder &profiles, const QString &fileName)
{
    if (!QFileInfo::exists(profiles.filePath(fileName)))
        return false;
    const SiteProfile existing = profiles.load(fileName);
    return existing.server != u"127.0.0.1"_s || existing.user != u"vendrel"_s;
}

} // namespace

DemoServer::~DemoServer()
{
    if (!profilePath_.isEmpty())
        QFile::remove(profilePath_);
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(3000))
            process_.kill();
    }
}

QString DemoServer::start(const ProgramFolders &folders)
{
    const QString script = QDir(folders.shared).filePath(u"vendrel-demo-server.py"_s);
    const QString shippedRoot = QDir(folders.shared).filePath(demoFolderName);
    if (!QFileInfo::exists(script) || !QFileInfo(shippedRoot).isDir())
        return u"Fichiers de démonstration introuvables dans "_s + folders.shared;
    const QString root = QDir(folders.data).filePath(demoFolderName);
    if (!QFileInfo(root).isDir() && !copyFolder(shippedRoot, root))
        return u"Impossible de copier les fichiers de démonstration dans "_s + root;

    const SiteProfileFolder profiles(folders.data);
    const QString label = QString::fromUtf8(profileLabel);
    if (isUsersOwnProfile(profiles, SiteProfileFolder::fileNameForLabel(label)))
        return u"Un profil \""_s + label + u"\" existe déjà : le serveur de démonstration n'est pas lancé."_s;

    // Debian's own interpreter: it is the one that sees python3-pyftpdlib.
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(u"/usr/bin/python3"_s, {script, u"--root"_s, root, u"--lifetime"_s, u"0"_s});
    if (!process_.waitForStarted(5000))
        return u"Impossible de lancer /usr/bin/python3."_s;
    if (!process_.waitForReadyRead(10000))
        return u"Le serveur de démonstration ne répond pas (python3-pyftpdlib est-il installé ?)."_s;
    bool isNumber = false;
    const uint port = QString::fromLatin1(process_.readLine().trimmed()).toUInt(&isNumber);
    if (!isNumber || port == 0 || port > 65535)
        return u"Le serveur de démonstration n'a pas donné de port."_s;

    if (profiles.save(demoProfile(port), true) != SiteProfileFolder::SaveResult::Saved)
        return u"Impossible d'enregistrer le profil de démonstration dans "_s + folders.data;
    profilePath_ = profiles.filePathForLabel(label);
    return {};
}

} // namespace vendrel
