#include "session/Connection.h"

#include "app/frame/ActivityLog.h"
#include "app/frame/StatusPanels.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "session/SessionState.h"
#include "session/TransferOptions.h"
#include "session/ftp/FtpService.h"

#include <QFileInfo>

namespace vendrel {

Connection::Connection(SessionState &session, FtpService &ftp, ActivityLog &log, StatusPanels &status,
                       Dialogs &dialogs, const Clock &clock, TransferOptions &options, ConnectTargets targets)
    : session_(session), ftp_(ftp), log_(log), status_(status), dialogs_(dialogs), clock_(clock),
      options_(options), targets_(std::move(targets))
{
}

std::optional<quint16> Connection::parsePort(const QString &text)
{
    bool isNumber = false;
    const int port = text.trimmed().toInt(&isNumber);
    if (!isNumber || port < 1 || port > 65535)
        return std::nullopt;
    return static_cast<quint16>(port);
}

QString Connection::remoteFolderFromLogin(const QString &directory)
{
    if (!directory.startsWith(u'/'))
        return QStringLiteral("/");
    return directory.endsWith(u'/') ? directory : directory + u'/';
}

ConnectOutcome Connection::ConnectProfile(const ConnectParameters &parameters,
                                          const std::function<void()> &hideDialog)
{
    if (parameters.server.size() < 7) {
        dialogs_.message(QStringLiteral("Adresse erronée !"), MessageButtons::Ok, MessageIcon::None);
        return ConnectOutcome::StayOpen;
    }
    const std::optional<quint16> port = parsePort(parameters.port);
    if (!port) {
        dialogs_.message(QStringLiteral("Port erroné ! Entrez un nombre de 1 à 65535."), MessageButtons::Ok,
                         MessageIcon::Exclamation);
        return ConnectOutcome::StayOpen;
    }
    // A second connect must not leave the first session's connection open.
    if (session_.InternetHandle != 0 || session_.ConnectionHandle != 0)
        closeHandles();

    targets_.clearRemoteTree();
    log_.clear();

    session_.ServerAddress = parameters.server;
    session_.UserName = parameters.user;
    session_.Password = parameters.password;
    session_.ServerPort = *port;
    session_.RemoteFolder.clear();
    options_.applyConnectOptions(parameters.binary, parameters.passive);
    const quint32 connectFlags = parameters.passive ? ftp::INTERNET_FLAG_PASSIVE : ftp::INTERNET_FLAG_EXISTING_CONNECT;

    session_.InternetHandle = ftp_.InternetOpen(parameters.siteName, ftp::INTERNET_OPEN_TYPE_DIRECT, QString(),
                                                QString(), ftp::INTERNET_FLAG_NO_CACHE_WRITE);
    hideDialog();
    if (session_.InternetHandle == 0) {
        dialogs_.message(QStringLiteral("Connexion vers le serveur erronée !"), MessageButtons::Ok,
                         MessageIcon::Exclamation);
        log_.AppendUntimedLine(QStringLiteral("Connexion vers le serveur erronée !"));
        ftp_.InternetCloseHandle(session_.InternetHandle);
        return ConnectOutcome::Hidden;
    }

    const QDateTime now = clock_.now();
    log_.AppendUntimedLine(shortDateText(now.date()) + QStringLiteral(", ") + timeOfDayText(now.time())
                           + QStringLiteral(" *** ") + parameters.siteName.toUpper() + QStringLiteral(" ***"));
    log_.AppendLogLine(QStringLiteral(" > Connexion vers: ") + session_.ServerAddress + QStringLiteral("..."));

    session_.ConnectionHandle = ftp_.InternetConnect(session_.InternetHandle, session_.ServerAddress,
                                                     session_.ServerPort, session_.UserName, session_.Password,
                                                     ftp::INTERNET_SERVICE_FTP, connectFlags, 0);
    if (session_.ConnectionHandle == 0) {
        dialogs_.message(QStringLiteral("Connexion vers le serveur annulée !"), MessageButtons::Ok,
                         MessageIcon::Exclamation);
        log_.AppendLogLine(QStringLiteral(" > Connexion vers le serveur annulée."));
        ftp_.InternetCloseHandle(session_.InternetHandle);
        session_.InternetHandle = 0; // closed: keeping it would let a later close hit a dead handle
        return ConnectOutcome::Hidden;
    }

    log_.AppendLogLine(QStringLiteral(" > Connexion vers le serveur, attente de l'hôte."));
    status_.setPanelText(StatusPanels::ConnectionPanel, QStringLiteral("En attente de l'hôte"));

    QString directory;
    if (!ftp_.FtpGetCurrentDirectory(session_.ConnectionHandle, directory))
        directory.clear();
    session_.RemoteFolder = remoteFolderFromLogin(directory);
    session_.RemoteSearchSpec = session_.RemoteFolder + QStringLiteral("*.*");
    log_.AppendLogLine(QStringLiteral(" > Connexion vers le serveur."));
    targets_.openInitialRemoteFolder(session_.RemoteFolder);

    const QString &initialFolder = parameters.initialLocalFolder;
    if (QFileInfo(initialFolder).isDir()) {
        targets_.openLocalFolder(initialFolder);
    } else {
        dialogs_.message(QStringLiteral("Le dossier local initial ") + initialFolder + QStringLiteral(" n'existe plus !"),
                         MessageButtons::Ok, MessageIcon::Exclamation, QStringLiteral("Erreur"));
    }
    return ConnectOutcome::Unload;
}

void Connection::zDisconnect_Click()
{
    closeHandles();
    log_.AppendLogLine(QStringLiteral(" > Déconnexion du Serveur."));
}

void Connection::closeSession()
{
    closeHandles();
}

void Connection::closeHandles()
{
    ftp_.InternetCloseHandle(session_.ConnectionHandle);
    ftp_.InternetCloseHandle(session_.InternetHandle);
    session_.ConnectionHandle = 0;
    session_.InternetHandle = 0;
}

} // namespace vendrel
