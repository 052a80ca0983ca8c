#include "session/Connection.h"

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "session/ActivityReport.h"
#include "session/ServerHost.h"
#include "session/SessionState.h"
#include "session/StatusLine.h"
#include "session/TransferOptions.h"
#include "session/ftp/FtpErrorCodes.h"
#include "session/ftp/FtpService.h"

#include <QFileInfo>
#include <algorithm>

namespace vendrel {

namespace {

// Standard servers know anonymous logins by this name and expect an e-mail
// address as the password: "anonymous@" has the '@' that some check for and
// tells nothing about the user.
const QString anonymousUserName = QStringLiteral("anonymous");
const QString anonymousPassword = QStringLiteral("anonymous@");

// Why a connect failed, when the user can act on it: the connection's
// security. Other reasons stay unsaid, as they always have.
QString securityReason(const FtpError &error)
{
    switch (error.code) {
    case ftp::ERROR_FTP_TLS_REQUIRED:
    case ftp::ERROR_FTP_TLS_UNAVAILABLE:
    case ftp::ERROR_INTERNET_INVALID_CA:
    case ftp::ERROR_INTERNET_SECURITY_CHANNEL_ERROR: return error.description;
    default: return {};
    }
}

} // namespace

Connection::Connection(SessionContext context, TransferOptions &options, ConnectTargets targets)
    : context_(context), options_(options), targets_(std::move(targets))
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

ConnectOutcome Connection::ConnectProfile(const ConnectParameters &parameters, const std::function<void()> &hideDialog)
{
    const std::optional<QString> host = hostToConnect(parameters.server);
    if (!host) {
        context_.dialogs.message(QStringLiteral("Adresse erronée !"), MessageButtons::Ok, MessageIcon::None);
        return ConnectOutcome::StayOpen;
    }
    const std::optional<quint16> port = parsePort(parameters.port);
    if (!port) {
        context_.dialogs.message(QStringLiteral("Port erroné ! Entrez un nombre de 1 à 65535."), MessageButtons::Ok,
                                 MessageIcon::Exclamation);
        return ConnectOutcome::StayOpen;
    }
    // A second connect must not leave the first session's connection open.
    if (context_.session.InternetHandle != 0 || context_.session.ConnectionHandle != 0)
        closeHandles();

    showDisconnected();
    context_.log.clear();

    context_.session.ServerAddress = *host;
    context_.session.UserName = parameters.anonymous ? anonymousUserName : parameters.user;
    // A password typed for an anonymous login is the user's e-mail address, as the custom is.
    context_.session.Password =
        parameters.anonymous && parameters.password.isEmpty() ? anonymousPassword : parameters.password;
    context_.session.ServerPort = *port;
    context_.session.RemoteFolder.clear();
    options_.applyConnectOptions(parameters.binary, parameters.passive);
    const quint32 connectFlags = (parameters.passive ? ftp::INTERNET_FLAG_PASSIVE : ftp::INTERNET_FLAG_EXISTING_CONNECT)
                                 | securityFlags(parameters.security);

    context_.session.InternetHandle = context_.ftp.InternetOpen(
        parameters.siteName, ftp::INTERNET_OPEN_TYPE_DIRECT, QString(), QString(), ftp::INTERNET_FLAG_NO_CACHE_WRITE);
    hideDialog();
    if (context_.session.InternetHandle == 0) {
        context_.dialogs.message(QStringLiteral("Connexion vers le serveur erronée !"), MessageButtons::Ok,
                                 MessageIcon::Exclamation);
        context_.log.AppendUntimedLine(QStringLiteral("Connexion vers le serveur erronée !"));
        context_.ftp.InternetCloseHandle(context_.session.InternetHandle);
        return ConnectOutcome::Hidden;
    }

    const QDateTime now = context_.clock.now();
    context_.log.AppendUntimedLine(shortDateText(now.date()) + QStringLiteral(", ") + timeOfDayText(now.time())
                                   + QStringLiteral(" *** ") + parameters.siteName.toUpper() + QStringLiteral(" ***"));
    context_.log.AppendLogLine(QStringLiteral(" > Connexion vers: ") + context_.session.ServerAddress
                               + QStringLiteral("..."));

    context_.session.ConnectionHandle = context_.ftp.InternetConnect(
        context_.session.InternetHandle, context_.session.ServerAddress, context_.session.ServerPort,
        context_.session.UserName, context_.session.Password, ftp::INTERNET_SERVICE_FTP, connectFlags, 0);
    if (context_.session.ConnectionHandle == 0) {
        const QString reason = securityReason(context_.ftp.lastError());
        context_.dialogs.message(QStringLiteral("Connexion vers le serveur annulée !")
                                     + (reason.isEmpty() ? QString() : u'\n' + reason),
                                 MessageButtons::Ok, MessageIcon::Exclamation);
        context_.log.AppendLogLine(QStringLiteral(" > Connexion vers le serveur annulée.")
                                   + (reason.isEmpty() ? QString() : u' ' + reason));
        context_.ftp.InternetCloseHandle(context_.session.InternetHandle);
        context_.session.InternetHandle = 0; // closed: keeping it would let a later close hit a dead handle
        return ConnectOutcome::Hidden;
    }

    const QString protocol = context_.ftp.FtpGetSecurityProtocol(context_.session.ConnectionHandle);
    if (!protocol.isEmpty())
        context_.log.AppendLogLine(QStringLiteral(" > Connexion sécurisée (") + protocol + QStringLiteral(")."));
    context_.log.AppendLogLine(QStringLiteral(" > Connexion vers le serveur, attente de l'hôte."));
    context_.status.showConnectionState(QStringLiteral("En attente de l'hôte"));

    QString directory;
    if (!context_.ftp.FtpGetCurrentDirectory(context_.session.ConnectionHandle, directory))
        directory.clear();
    // Every path is built on this folder: one the server garbled would make
    // every later request fail.
    if (std::any_of(directory.cbegin(), directory.cend(),
                    [](QChar c) { return c.category() == QChar::Other_Control; })) {
        context_.dialogs.message(QStringLiteral("Dossier du serveur invalide !"), MessageButtons::Ok,
                                 MessageIcon::Exclamation);
        context_.log.AppendLogLine(QStringLiteral(" > Dossier du serveur invalide ! Connexion abandonnée."));
        closeHandles();
        showDisconnected();
        return ConnectOutcome::Hidden;
    }
    context_.session.RemoteFolder = remoteFolderFromLogin(directory);
    context_.session.RemoteSearchSpec = context_.session.RemoteFolder + QStringLiteral("*.*");
    context_.log.AppendLogLine(QStringLiteral(" > Connexion vers le serveur."));
    targets_.openInitialRemoteFolder(context_.session.RemoteFolder);

    const QString &initialFolder = parameters.initialLocalFolder;
    if (QFileInfo(initialFolder).isDir()) {
        targets_.openLocalFolder(initialFolder);
    } else {
        context_.dialogs.message(QStringLiteral("Le dossier local initial ") + initialFolder
                                     + QStringLiteral(" n'existe plus !"),
                                 MessageButtons::Ok, MessageIcon::Exclamation, QStringLiteral("Erreur"));
    }
    return ConnectOutcome::Unload;
}

void Connection::zDisconnect_Click()
{
    closeHandles();
    showDisconnected();
    context_.log.AppendLogLine(QStringLiteral(" > Déconnexion du Serveur."));
}

void Connection::closeSession()
{
    closeHandles();
}

// Nothing of a server that is no longer there stays on show.
void Connection::showDisconnected()
{
    targets_.clearRemotePane();
    context_.status.showConnectionState(QStringLiteral("Off"));
}

void Connection::closeHandles()
{
    context_.ftp.InternetCloseHandle(context_.session.ConnectionHandle);
    context_.ftp.InternetCloseHandle(context_.session.InternetHandle);
    context_.session.ConnectionHandle = 0;
    context_.session.InternetHandle = 0;
}

} // namespace vendrel
