#include "session/ftp/FtpConnection.h"

#include "session/ftp/FtpErrorCodes.h"
#include "session/ftp/ListingCollector.h"

#include <QRegularExpression>
#include <algorithm>

namespace vendrel {

namespace {

// Servers that want it switch their names to UTF-8; the others refuse, which
// does no harm: the command is allowed to fail.
const QByteArray utf8Names = QByteArrayLiteral("OPTS UTF8 ON");

bool isBrokenConnection(CURLcode code)
{
    return code == CURLE_GOT_NOTHING || code == CURLE_SEND_ERROR || code == CURLE_RECV_ERROR;
}

// libcurl reports a 421 ("closing control connection") as a timeout.
bool serverClosed(const CurlOutcome &outcome)
{
    return outcome.replyCode == 421;
}

bool activeModeFailed(CURLcode code)
{
    return code == CURLE_FTP_ACCEPT_FAILED || code == CURLE_FTP_ACCEPT_TIMEOUT || code == CURLE_FTP_PORT_FAILED;
}

// Servers refuse a login in clear in their own words: vsftpd "530
// Non-anonymous sessions must use encryption.", ProFTPD "550 SSL/TLS required
// on the control channel", Pure-FTPd "530 Sorry, cleartext sessions [...] are
// not accepted", FileZilla "530 This server does not allow plain FTP".
bool demandsTls(const CurlOutcome &outcome)
{
    if (outcome.code != CURLE_LOGIN_DENIED || outcome.replies.isEmpty())
        return false;
    static const QRegularExpression tlsWords(QStringLiteral("TLS|SSL|encrypt|cleartext|plain FTP|secure"),
                                             QRegularExpression::CaseInsensitiveOption);
    const ServerReply &reply = outcome.replies.last();
    return reply.code == 534 || QString::fromLatin1(reply.text).contains(tlsWords);
}

// A failure of the connection's security, in words the user can act on.
std::optional<FtpError> securityFailure(const CurlOutcome &outcome)
{
    if (demandsTls(outcome))
        return FtpError{
            ftp::ERROR_FTP_TLS_REQUIRED,
            QStringLiteral("Le serveur exige une connexion sécurisée : choisissez FTPS dans « Mode de transfert ».")};
    switch (outcome.code) {
    case CURLE_USE_SSL_FAILED:
        return FtpError{ftp::ERROR_FTP_TLS_UNAVAILABLE,
                        QStringLiteral("Le serveur n'accepte pas les connexions sécurisées (FTPS) : "
                                       "le mot de passe n'a pas été envoyé.")};
    case CURLE_PEER_FAILED_VERIFICATION:
        return FtpError{ftp::ERROR_INTERNET_INVALID_CA, QStringLiteral("Le certificat du serveur n'est pas reconnu.")};
    case CURLE_SSL_CONNECT_ERROR:
        return FtpError{ftp::ERROR_INTERNET_SECURITY_CHANNEL_ERROR,
                        QStringLiteral("La connexion sécurisée (TLS) avec le serveur a échoué.")};
    default: return std::nullopt;
    }
}

int errorCodeFor(const CurlOutcome &outcome)
{
    if (serverClosed(outcome))
        return ftp::ERROR_INTERNET_CONNECTION_ABORTED;
    if (activeModeFailed(outcome.code))
        return ftp::ERROR_INTERNET_CANNOT_CONNECT;
    switch (outcome.code) {
    case CURLE_LOGIN_DENIED: return ftp::ERROR_INTERNET_LOGIN_FAILURE;
    case CURLE_COULDNT_RESOLVE_HOST: return ftp::ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT: return ftp::ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT: return ftp::ERROR_INTERNET_TIMEOUT;
    case CURLE_ABORTED_BY_CALLBACK: return ftp::ERROR_INTERNET_OPERATION_CANCELLED;
    default:
        return outcome.replyCode >= 400 ? ftp::ERROR_INTERNET_EXTENDED_ERROR : ftp::ERROR_INTERNET_CONNECTION_ABORTED;
    }
}

QString replyText(const ServerReply &reply)
{
    return decodeServerName(reply.text).text;
}

// In French, as it may reach the user; libcurl's own texts name its
// internals ("sa_addr inet_ntop() failed").
QString describe(const CurlOutcome &outcome)
{
    if (serverClosed(outcome))
        return QStringLiteral("Le serveur a fermé la connexion.");
    if (activeModeFailed(outcome.code))
        return QStringLiteral("Le serveur ne s'est pas connecté en retour (mode actif) : essayez le mode passif.");
    if (isBrokenConnection(outcome.code) || outcome.code == CURLE_PARTIAL_FILE)
        return QStringLiteral("La connexion avec le serveur a été coupée.");
    switch (outcome.code) {
    case CURLE_LOGIN_DENIED: return QStringLiteral("Identifiant ou mot de passe refusé.");
    case CURLE_COULDNT_RESOLVE_HOST: return QStringLiteral("Serveur introuvable.");
    case CURLE_COULDNT_CONNECT: return QStringLiteral("Le serveur refuse la connexion.");
    case CURLE_OPERATION_TIMEDOUT: return QStringLiteral("Le serveur n'a pas répondu à temps.");
    case CURLE_ABORTED_BY_CALLBACK: return QStringLiteral("Opération annulée.");
    default: break;
    }
    if (outcome.replyCode >= 400 && !outcome.replies.isEmpty())
        return QStringLiteral("Le serveur a refusé : ") + replyText(outcome.replies.last());
    return QStringLiteral("Erreur de communication avec le serveur (%1).").arg(int(outcome.code));
}

// A file's size as a reply gives it: "213 10240" to SIZE, or
// "150 Opening BINARY mode data connection for f.bin (10240 bytes)." to RETR.
std::optional<qint64> sizeIn(const ServerReply &reply)
{
    QByteArray digits;
    if (reply.command == "SIZE" && reply.code == 213) {
        digits = reply.text.mid(4).trimmed();
    } else if (reply.command == "RETR" && reply.code == 150) {
        const qsizetype end = reply.text.lastIndexOf(" bytes)");
        const qsizetype start = end < 0 ? -1 : reply.text.lastIndexOf('(', end);
        if (start >= 0)
            digits = reply.text.mid(start + 1, end - start - 1);
    }
    bool ok = false;
    const qint64 size = digits.toLongLong(&ok);
    return ok && size >= 0 ? std::optional(size) : std::nullopt;
}

// The server's clock is unknown: the local calendar fields stand in for it.
QDateTime serverNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    return QDateTime(now.date(), now.time(), Qt::UTC);
}

} // namespace

// Marks the connection busy for the length of a call, so that a call made
// from an event handled while this one waits is refused instead of
// interleaving with it.
//
// A call with a limit must have ended by then, whatever it takes: retries
// and checks included.
class FtpConnection::CallGuard {
public:
    explicit CallGuard(FtpConnection &connection, std::optional<std::chrono::milliseconds> limit = std::nullopt)
        : connection_(connection), entered_(!connection.callUnderWay_)
    {
        if (!entered_)
            return;
        connection_.callUnderWay_ = true;
        connection_.worker_.channel().beginCall();
        connection_.callEnds_.reset();
        if (limit)
            connection_.callEnds_ = std::chrono::steady_clock::now() + *limit;
    }
    ~CallGuard()
    {
        if (entered_)
            connection_.callUnderWay_ = false;
    }
    CallGuard(const CallGuard &) = delete;
    CallGuard &operator=(const CallGuard &) = delete;

    // False (the connection's error set) when the call cannot be made now.
    bool admits(bool withOpenFile) const
    {
        if (!entered_)
            return connection_.fail(ftp::ERROR_FTP_TRANSFER_IN_PROGRESS,
                                    QStringLiteral("another call is under way on this connection"));
        if (connection_.openFile_.has_value() != withOpenFile)
            return connection_.fail(withOpenFile ? ftp::ERROR_INTERNET_INCORRECT_HANDLE_TYPE
                                                 : ftp::ERROR_FTP_TRANSFER_IN_PROGRESS,
                                    withOpenFile ? QStringLiteral("no file is open on this connection")
                                                 : QStringLiteral("a file is open on this connection"));
        return true;
    }

private:
    FtpConnection &connection_;
    bool entered_;
};

FtpConnection::FtpConnection(const FtpEndpoint &endpoint, const CurlFtpOptions &options, WaitObserver &observer,
                             CertificateTrust &trust)
    : baseUrl_(
        serverUrl(endpoint.host, endpoint.port, endpoint.security == FtpSecurity::ImplicitTls).value_or(QByteArray())),
      host_(endpoint.host),
      port_(endpoint.port),
      trust_(trust),
      options_(options),
      worker_(CurlLogin{endpoint.user.toUtf8(), endpoint.password.toUtf8(), endpoint.passive, endpoint.security},
              options, observer)
{
}

bool FtpConnection::login()
{
    if (!worker_.isReady())
        return fail(ftp::ERROR_INTERNET_INTERNAL_ERROR, QStringLiteral("libcurl could not be set up"));
    if (!worker_.canSecure())
        return fail(ftp::ERROR_INTERNET_SECURITY_CHANNEL_ERROR,
                    QStringLiteral("Cette version de libcurl ne permet pas de vérifier les certificats."));
    if (attemptLogin())
        return true;
    const std::optional<ServerCertificate> unvouched = unvouchedCertificate();
    if (!unvouched)
        return false;
    // The question waits for the user: the connect's deadline starts again after it.
    if (!trust_.trusts(*unvouched))
        return fail(ftp::ERROR_INTERNET_INVALID_CA, QStringLiteral("Certificat refusé."));
    pinnedCertificate_ = unvouched->sha256;
    return attemptLogin();
}

std::optional<ServerCertificate> FtpConnection::unvouchedCertificate()
{
    const CurlOutcome outcome = worker_.channel().outcome();
    if (!pinnedCertificate_.isEmpty() || outcome.code != CURLE_PEER_FAILED_VERIFICATION || !outcome.certificate)
        return std::nullopt;
    ServerCertificate certificate = *outcome.certificate;
    certificate.host = host_;
    certificate.port = port_;
    return certificate;
}

bool FtpConnection::attemptLogin()
{
    CallGuard call(*this, options_.connectTimeout);
    if (!call.admits(false))
        return false;
    if (baseUrl_.isEmpty())
        return fail(ftp::ERROR_INVALID_PARAMETER, QStringLiteral("not a host name or address"));
    CurlRequest request;
    request.url = baseUrl_;
    if (!launch(request, false))
        return false;
    const CurlOutcome outcome = worker_.channel().outcome();
    securityProtocol_ = outcome.tlsProtocol;
    const QByteArray entryPath = outcome.entryPath;
    if (!entryPath.isEmpty())
        entryPath_ = decodeServerName(entryPath).text;
    return true;
}

std::optional<std::vector<FindData>> FtpConnection::list(const QString &searchSpec)
{
    CallGuard call(*this, options_.callDeadline);
    if (!call.admits(false))
        return std::nullopt;
    return listEntries(searchSpec);
}

std::optional<std::vector<FindData>> FtpConnection::listEntries(const QString &searchSpec)
{
    const SearchSpec spec = splitSearchSpec(absoluteRemotePath(searchSpec, entryPath_));
    std::optional<std::vector<ListingEntry>> entries;
    if (mlsdWorks_.value_or(true)) {
        bool refused = false;
        entries = runListing(spec.folder, spec.pattern, ListingFormat::Mlsd, refused);
        if (!entries && !refused)
            return std::nullopt;
        mlsdWorks_ = entries.has_value();
    }
    if (!entries) {
        bool refused = false;
        entries = runListing(spec.folder, spec.pattern, ListingFormat::List, refused);
        if (!entries)
            return std::nullopt;
    }
    wirePaths_.remember(spec.folder, *entries);
    std::vector<FindData> records;
    records.reserve(entries->size());
    for (ListingEntry &entry : *entries)
        records.push_back(std::move(entry.record));
    return records;
}

std::optional<std::vector<ListingEntry>> FtpConnection::runListing(const QString &folder, const QString &pattern,
                                                                   ListingFormat format, bool &refused)
{
    const std::optional<QByteArray> url = urlFor(folder);
    if (!url)
        return std::nullopt;
    ListingCollector collector(format, pattern, serverNow(), options_.listingLimits);
    CurlRequest request;
    request.kind = CurlRequest::Kind::Listing;
    request.url = *url;
    request.listing = &collector;
    if (format == ListingFormat::Mlsd)
        request.listCommand = QByteArrayLiteral("MLSD");
    if (!launch(request, false)) {
        const CurlOutcome outcome = worker_.channel().outcome();
        const long reply = outcome.replyCode;
        refused = !outcome.started && (reply == 500 || reply == 502 || reply == 504);
        if (!collector.overflow().isEmpty())
            fail(ftp::ERROR_INTERNET_CONNECTION_ABORTED, collector.overflow());
        return std::nullopt;
    }
    return collector.finish();
}

bool FtpConnection::createDirectory(const QString &path)
{
    return runPathCommand("MKD ", path, true);
}

bool FtpConnection::removeDirectory(const QString &path)
{
    return runPathCommand("RMD ", path, false);
}

bool FtpConnection::deleteFile(const QString &path)
{
    return runPathCommand("DELE ", path, false);
}

bool FtpConnection::runPathCommand(const char *verb, const QString &path, bool presentAfter)
{
    CallGuard call(*this, options_.callDeadline);
    if (!call.admits(false))
        return false;
    const std::optional<QByteArray> wirePath = commandPathFor(path);
    return wirePath && runCommands({{verb + *wirePath, 2}}, {{path, presentAfter}});
}

bool FtpConnection::renameFile(const QString &existing, const QString &renamed)
{
    CallGuard call(*this, options_.callDeadline);
    if (!call.admits(false))
        return false;
    const std::optional<QByteArray> from = commandPathFor(existing);
    const std::optional<QByteArray> to = from ? commandPathFor(renamed) : std::nullopt;
    return to && runCommands({{"RNFR " + *from, 3}, {"RNTO " + *to, 2}}, {{existing, false}, {renamed, true}});
}

// The commands are each allowed to fail, so that a refusal keeps the control
// connection; the reply to each tells how it went. When the replies were
// lost, what the server now holds tells.
bool FtpConnection::runCommands(const QList<ExpectedReply> &commands, const QList<ExpectedState> &after)
{
    CurlRequest request;
    request.url = baseUrl_;
    request.changesServer = true;
    for (const ExpectedReply &command : commands)
        request.commands.append(command.command);
    if (!launch(request, false)) {
        const CurlOutcome outcome = worker_.channel().outcome();
        const bool replyLost =
            outcome.commandSent && outcome.code != CURLE_ABORTED_BY_CALLBACK && !serverClosed(outcome);
        const FtpError failure = error_;
        if (replyLost && serverShows(after))
            return true;
        error_ = failure;
        return false;
    }
    const QList<ServerReply> replies = worker_.channel().outcome().replies;
    for (const ExpectedReply &command : commands) {
        const QByteArray verb = command.command.split(' ').constFirst();
        const auto reply = std::find_if(replies.crbegin(), replies.crend(),
                                        [&](const ServerReply &candidate) { return candidate.command == verb; });
        if (reply == replies.crend())
            return fail(ftp::ERROR_INTERNET_CONNECTION_ABORTED,
                        QStringLiteral("no reply to ") + QString::fromLatin1(verb));
        if (reply->code / 100 != command.replyClass)
            return fail(ftp::ERROR_INTERNET_EXTENDED_ERROR, replyText(*reply));
    }
    return true;
}

bool FtpConnection::serverShows(const QList<ExpectedState> &states)
{
    return std::all_of(states.begin(), states.end(), [this](const ExpectedState &state) {
        std::optional<FindData> entry;
        return findEntry(state.path, entry) && entry.has_value() == state.present;
    });
}

bool FtpConnection::findEntry(const QString &path, std::optional<FindData> &entry)
{
    const SearchSpec place = splitSearchSpec(absoluteRemotePath(path, entryPath_));
    const std::optional<std::vector<FindData>> entries = listEntries(place.folder + u'*');
    if (!entries)
        return false;
    const auto found = std::find_if(entries->begin(), entries->end(),
                                    [&](const FindData &candidate) { return candidate.name == place.pattern; });
    if (found != entries->end())
        entry = *found;
    return true;
}

bool FtpConnection::fileSize(const QString &path, qint64 &size)
{
    CallGuard call(*this, options_.callDeadline);
    if (!call.admits(false))
        return false;
    const std::optional<QByteArray> url = urlFor(path);
    if (!url)
        return false;
    CurlRequest request; // without its body: TYPE I and SIZE
    request.url = *url;
    if (launch(request, false) && worker_.channel().outcome().contentLength >= 0) {
        size = worker_.channel().outcome().contentLength;
        return true;
    }
    std::optional<FindData> entry;
    if (!findEntry(path, entry) || !entry || entry->isFolder())
        return fail(ftp::ERROR_INTERNET_EXTENDED_ERROR,
                    QStringLiteral("Le serveur ne donne pas la taille du fichier."));
    size = entry->size;
    error_ = {};
    return true;
}

bool FtpConnection::modificationTime(const QString &path, QDateTime &modified)
{
    CallGuard call(*this, options_.callDeadline);
    if (!call.admits(false))
        return false;
    const std::optional<QByteArray> wirePath = commandPathFor(path);
    if (!wirePath)
        return false;
    const std::optional<ServerReply> reply = query("MDTM " + *wirePath);
    if (!reply)
        return false;
    // "213 20201231235959", maybe with a fraction of a second.
    // Read apart from any local zone, where that hour may not exist.
    const QDateTime time(QDate::fromString(QString::fromLatin1(reply->text.mid(4, 8)), QStringLiteral("yyyyMMdd")),
                         QTime::fromString(QString::fromLatin1(reply->text.mid(12, 6)), QStringLiteral("HHmmss")),
                         Qt::UTC);
    if (reply->code != 213 || !time.isValid())
        return fail(ftp::ERROR_INTERNET_EXTENDED_ERROR, replyText(*reply));
    modified = time;
    return true;
}

bool FtpConnection::setModificationTime(const QString &path, const QDateTime &modified)
{
    CallGuard call(*this, options_.callDeadline);
    if (!call.admits(false))
        return false;
    const std::optional<QByteArray> wirePath = commandPathFor(path);
    if (!wirePath)
        return false;
    if (!offersFeature("MFMT"))
        return fail(ftp::ERROR_INTERNET_EXTENDED_ERROR, QStringLiteral("Le serveur n'offre pas MFMT."));
    const QByteArray stamp = modified.toUTC().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
    return runCommands({{"MFMT " + stamp + ' ' + *wirePath, 2}}, {});
}

bool FtpConnection::offersFeature(const QByteArray &feature)
{
    if (!features_) {
        const std::optional<ServerReply> reply = query("FEAT");
        if (!reply)
            return false;
        features_ = reply->code == 211 ? reply->lines.toUpper() : QByteArray();
    }
    for (const QByteArray &line : features_->split('\n'))
        if (line.trimmed().split(' ').constFirst() == feature)
            return true;
    return false;
}

std::optional<ServerReply> FtpConnection::query(const QByteArray &command)
{
    CurlRequest request;
    request.url = baseUrl_;
    request.commands.append(command);
    if (!launch(request, false))
        return std::nullopt;
    const QByteArray verb = command.split(' ').constFirst();
    for (const ServerReply &reply : worker_.channel().outcome().replies)
        if (reply.command == verb)
            return reply;
    fail(ftp::ERROR_INTERNET_CONNECTION_ABORTED, QStringLiteral("no reply to ") + QString::fromLatin1(verb));
    return std::nullopt;
}

bool FtpConnection::announcedSize(qint64 &size)
{
    if (openFile_ != Access::Read || !worker_.channel().isFinished())
        return false;
    for (const ServerReply &reply : worker_.channel().outcome().replies) {
        if (const std::optional<qint64> announced = sizeIn(reply)) {
            size = *announced;
            return true;
        }
    }
    return false;
}

bool FtpConnection::openFile(const QString &path, Access access, bool ascii, qint64 offset)
{
    CallGuard call(*this);
    if (!call.admits(false))
        return false;
    if (path.endsWith(u'/'))
        return fail(ftp::ERROR_INVALID_PARAMETER, QStringLiteral("a folder is not a file"));
    const std::optional<QByteArray> url = urlFor(path);
    if (!url)
        return false;
    CurlRequest request;
    request.kind = access == Access::Read ? CurlRequest::Kind::Download : CurlRequest::Kind::Upload;
    request.url = *url;
    request.ascii = ascii;
    request.offset = offset;
    request.changesServer = access == Access::Write;
    // Sizes in ASCII differ by the line ends: only a binary size says whether all arrived.
    // libcurl asks SIZE itself before a REST.
    if (access == Access::Read && !ascii && offset == 0) {
        const std::optional<QByteArray> wirePath = commandPathFor(path);
        if (!wirePath)
            return false;
        request.commandsBeforeTransfer.append("SIZE " + *wirePath);
    }
    if (!launch(request, true))
        return false;
    openFile_ = access;
    return true;
}

bool FtpConnection::read(char *buffer, quint32 bytesToRead, quint32 &bytesRead)
{
    bytesRead = 0;
    CallGuard call(*this);
    if (!call.admits(true))
        return false;
    if (openFile_ != Access::Read)
        return fail(ftp::ERROR_INTERNET_INCORRECT_HANDLE_TYPE, QStringLiteral("the file is open for writing"));
    const std::optional<qsizetype> count = worker_.channel().read(buffer, bytesToRead);
    if (!count)
        return failWith(worker_.channel().outcome());
    bytesRead = quint32(*count);
    return true;
}

bool FtpConnection::write(const char *buffer, quint32 bytesToWrite)
{
    CallGuard call(*this);
    if (!call.admits(true))
        return false;
    if (openFile_ != Access::Write)
        return fail(ftp::ERROR_INTERNET_INCORRECT_HANDLE_TYPE, QStringLiteral("the file is open for reading"));
    if (!worker_.channel().write(buffer, bytesToWrite))
        return failWith(worker_.channel().outcome());
    return true;
}

bool FtpConnection::closeFile()
{
    return endFile(false);
}

void FtpConnection::abortFile()
{
    endFile(true);
}

bool FtpConnection::endFile(bool abandon)
{
    if (!openFile_)
        return fail(ftp::ERROR_INTERNET_INCORRECT_HANDLE_TYPE, QStringLiteral("no file is open on this connection"));
    const bool upload = *openFile_ == Access::Write;
    openFile_.reset();
    WorkerChannel &channel = worker_.channel();
    if (callUnderWay_) {
        // Closed from an event handled while a read or write waits: that
        // call ends with the cancelled transfer.
        worker_.cancel();
        connectionKept_ = false;
        return !upload || abandon
               || fail(ftp::ERROR_INTERNET_OPERATION_CANCELLED, QStringLiteral("the upload was cancelled"));
    }
    CallGuard call(*this);
    if (upload && !abandon)
        channel.endUpload();
    else if (!channel.isFinished())
        worker_.cancel();
    channel.waitUntilFinished();
    const CurlOutcome outcome = channel.outcome();
    connectionKept_ = outcome.connectionKept;
    return !upload || abandon || outcome.ok() || failWith(outcome);
}

void FtpConnection::abort()
{
    worker_.channel().close();
}

// Starts a request and waits until it has ended or, for a transfer, until
// its data has begun to move.
bool FtpConnection::launch(CurlRequest request, bool untilStarted)
{
    request.pinnedCertificate = pinnedCertificate_;
    if (!connectionKept_)
        request.commands.prepend(utf8Names);
    WorkerChannel &channel = worker_.channel();
    for (bool retried = false;; retried = true) {
        if (callEnds_) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(*callEnds_ - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return fail(ftp::ERROR_INTERNET_TIMEOUT, QStringLiteral("Le serveur n'a pas répondu à temps."));
            request.deadline = left;
        }
        worker_.start(request);
        if (untilStarted)
            channel.waitUntilStartedOrFinished();
        else
            channel.waitUntilFinished();
        if (!channel.isFinished())
            return true;
        const CurlOutcome outcome = channel.outcome();
        connectionKept_ = outcome.connectionKept;
        if (outcome.ok())
            return true;
        if (retried || !droppedBeforeTaking(outcome, request))
            return failWith(outcome);
        request.freshConnection = true;
        if (request.commands.value(0) != utf8Names)
            request.commands.prepend(utf8Names);
    }
}

// A control connection that sat idle may have been closed by the server in
// the meantime. A request that failed on it is worth one more try on a new
// connection when the server cannot have acted on it: it said 421, or the
// connection broke before any command went out, or the request only reads.
// A timeout is not retried: the wait would double.
bool FtpConnection::droppedBeforeTaking(const CurlOutcome &outcome, const CurlRequest &request)
{
    if (outcome.started || outcome.newConnection)
        return false;
    if (serverClosed(outcome))
        return true;
    return isBrokenConnection(outcome.code) && (!outcome.commandSent || !request.changesServer);
}

std::optional<QByteArray> FtpConnection::urlFor(const QString &path)
{
    const std::optional<QByteArray> urlPath = wirePaths_.urlPath(absoluteRemotePath(path, entryPath_));
    if (!urlPath) {
        fail(ftp::ERROR_INVALID_PARAMETER, QStringLiteral("a path may not hold CR, LF or NUL"));
        return std::nullopt;
    }
    return baseUrl_ + *urlPath;
}

std::optional<QByteArray> FtpConnection::commandPathFor(const QString &path)
{
    const std::optional<QByteArray> wirePath = wirePaths_.commandPath(absoluteRemotePath(path, entryPath_));
    if (!wirePath)
        fail(ftp::ERROR_INVALID_PARAMETER, QStringLiteral("a path may not hold CR, LF or NUL"));
    return wirePath;
}

bool FtpConnection::fail(int code, const QString &description)
{
    error_ = {code, description};
    return false;
}

bool FtpConnection::failWith(const CurlOutcome &outcome)
{
    if (const std::optional<FtpError> security = securityFailure(outcome))
        return fail(security->code, security->description);
    return fail(errorCodeFor(outcome), describe(outcome));
}

} // namespace vendrel
