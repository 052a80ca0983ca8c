#include "session/ftp/FtpConnection.h"

#include "session/ftp/FtpErrorCodes.h"
#include "session/ftp/ListingCollector.h"

#include <algorithm>

namespace vendrel {

namespace {

// Servers that want it switch their names to UTF-8; the others refuse, which
// does no harm: the command is allowed to fail.
const QByteArray utf8Names = QByteArrayLiteral("OPTS UTF8 ON");

// What ends up on a connection the server dropped while it was idle.
bool isDroppedConnectionFailure(const CurlOutcome &outcome)
{
    switch (outcome.code) {
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
        return true;
    default:
        return outcome.replyCode == 421;
    }
}

int errorCodeFor(const CurlOutcome &outcome)
{
    switch (outcome.code) {
    case CURLE_LOGIN_DENIED:
        return ftp::ERROR_INTERNET_LOGIN_FAILURE;
    case CURLE_COULDNT_RESOLVE_HOST:
        return ftp::ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT:
        return ftp::ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT:
        return ftp::ERROR_INTERNET_TIMEOUT;
    case CURLE_ABORTED_BY_CALLBACK:
        return ftp::ERROR_INTERNET_OPERATION_CANCELLED;
    default:
        return outcome.replyCode >= 400 ? ftp::ERROR_INTERNET_EXTENDED_ERROR
                                         : ftp::ERROR_INTERNET_CONNECTION_ABORTED;
    }
}

QString replyText(const ServerReply &reply)
{
    return decodeServerName(reply.text).text;
}

QString describe(const CurlOutcome &outcome)
{
    if (outcome.replies.isEmpty())
        return outcome.errorText;
    return outcome.errorText + QStringLiteral(" (") + replyText(outcome.replies.last()) + u')';
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
class FtpConnection::CallGuard {
public:
    explicit CallGuard(FtpConnection &connection)
        : connection_(connection), entered_(!connection.callUnderWay_)
    {
        connection_.callUnderWay_ = true;
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

FtpConnection::FtpConnection(const FtpEndpoint &endpoint, const CurlFtpOptions &options)
    : baseUrl_(serverUrl(endpoint.host, endpoint.port).value_or(QByteArray())),
      worker_(CurlLogin{endpoint.user.toUtf8(), endpoint.password.toUtf8(), endpoint.passive}, options),
      listingLimits_(options.listingLimits)
{
}

bool FtpConnection::login()
{
    CallGuard call(*this);
    if (!call.admits(false))
        return false;
    if (baseUrl_.isEmpty())
        return fail(ftp::ERROR_INVALID_PARAMETER, QStringLiteral("not a host name or address"));
    CurlRequest request;
    request.url = baseUrl_;
    if (!launch(request, false))
        return false;
    const QByteArray entryPath = worker_.channel().outcome().entryPath;
    if (!entryPath.isEmpty())
        entryPath_ = decodeServerName(entryPath).text;
    return true;
}

std::optional<std::vector<FindData>> FtpConnection::list(const QString &searchSpec)
{
    CallGuard call(*this);
    if (!call.admits(false))
        return std::nullopt;
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
    ListingCollector collector(format, pattern, serverNow(), listingLimits_);
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
    return runPathCommand("MKD ", path);
}

bool FtpConnection::removeDirectory(const QString &path)
{
    return runPathCommand("RMD ", path);
}

bool FtpConnection::deleteFile(const QString &path)
{
    return runPathCommand("DELE ", path);
}

bool FtpConnection::runPathCommand(const char *verb, const QString &path)
{
    CallGuard call(*this);
    if (!call.admits(false))
        return false;
    const std::optional<QByteArray> wirePath = commandPathFor(path);
    return wirePath && runCommands({{verb + *wirePath, 2}});
}

bool FtpConnection::renameFile(const QString &existing, const QString &renamed)
{
    CallGuard call(*this);
    if (!call.admits(false))
        return false;
    const std::optional<QByteArray> from = commandPathFor(existing);
    const std::optional<QByteArray> to = from ? commandPathFor(renamed) : std::nullopt;
    return to && runCommands({{"RNFR " + *from, 3}, {"RNTO " + *to, 2}});
}

// The commands are each allowed to fail, so that a refusal keeps the control
// connection; the reply to each tells how it went.
bool FtpConnection::runCommands(const QList<ExpectedReply> &commands)
{
    CurlRequest request;
    request.url = baseUrl_;
    for (const ExpectedReply &command : commands)
        request.commands.append(command.command);
    if (!launch(request, false))
        return false;
    const QList<ServerReply> replies = worker_.channel().outcome().replies;
    for (const ExpectedReply &command : commands) {
        const QByteArray verb = command.command.split(' ').constFirst();
        const auto reply = std::find_if(replies.crbegin(), replies.crend(),
                                        [&](const ServerReply &candidate) { return candidate.command == verb; });
        if (reply == replies.crend())
            return fail(ftp::ERROR_INTERNET_CONNECTION_ABORTED, QStringLiteral("no reply to ") + QString::fromLatin1(verb));
        if (reply->code / 100 != command.replyClass)
            return fail(ftp::ERROR_INTERNET_EXTENDED_ERROR, replyText(*reply));
    }
    return true;
}

bool FtpConnection::openFile(const QString &path, Access access, bool ascii)
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
    worker_.cancel();
}

// Starts a request and waits until it has ended or, for a transfer, until
// its data has begun to move.
bool FtpConnection::launch(CurlRequest request, bool untilStarted)
{
    if (!connectionKept_)
        request.commands.prepend(utf8Names);
    WorkerChannel &channel = worker_.channel();
    for (bool retried = false;; retried = true) {
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
        if (retried || !droppedWhileIdle(outcome))
            return failWith(outcome);
        request.freshConnection = true;
        if (request.commands.value(0) != utf8Names)
            request.commands.prepend(utf8Names);
    }
}

// A control connection that sat idle may have been closed by the server in
// the meantime; a request that failed on it before moving any data is worth
// one more try on a new connection.
bool FtpConnection::droppedWhileIdle(const CurlOutcome &outcome) const
{
    return !outcome.started && !outcome.newConnection && isDroppedConnectionFailure(outcome);
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
    return fail(errorCodeFor(outcome), describe(outcome));
}

} // namespace vendrel
