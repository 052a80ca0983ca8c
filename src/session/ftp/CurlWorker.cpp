#include "session/ftp/CurlWorker.h"

#include "session/ftp/ListingCollector.h"

#include <cctype>
#include <mutex>
#include <utility>

namespace vendrel {

namespace {

void initialiseCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// 100 KiB or more: libcurl's 16 KiB default halves the throughput.
constexpr long curlBufferBytes = 512 * 1024;
constexpr qsizetype keptReplies = 16;

struct SlistDeleter {
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;

// A '*' first lets a command fail without libcurl closing the control
// connection; the replies recorded tell whether it succeeded.
Slist commandList(const QList<QByteArray> &commands)
{
    curl_slist *list = nullptr;
    for (const QByteArray &command : commands)
        list = curl_slist_append(list, QByteArray('*' + command).constData());
    return Slist(list);
}

bool isFinalReplyLine(QByteArrayView line)
{
    return line.size() >= 4 && line[3] == ' ' && std::isdigit(uchar(line[0])) && std::isdigit(uchar(line[1]))
           && std::isdigit(uchar(line[2]));
}

} // namespace

CurlWorker::CurlWorker(const CurlLogin &login, const CurlFtpOptions &options, WaitObserver &observer)
    : channel_(options.transferQueueBytes, observer, [this] { curl_multi_wakeup(multi_.get()); })
{
    initialiseCurlOnce();
    easy_.reset(curl_easy_init());
    multi_.reset(curl_multi_init());
    if (!easy_ || !multi_)
        return;
    setFixedOptions(login, options);
    thread_ = std::thread([this] { run(); });
}

CurlWorker::~CurlWorker()
{
    if (!isReady())
        return;
    channel_.stop();
    curl_multi_wakeup(multi_.get());
    thread_.join();
}

void CurlWorker::setFixedOptions(const CurlLogin &login, const CurlFtpOptions &options)
{
    CURL *easy = easy_.get();
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    secure_ = login.security != FtpSecurity::Plain;
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, secure_ ? "ftp,ftps" : "ftp");
    if (secure_) {
        // Never a login in clear: a server without TLS fails before USER.
        // The data connections are protected too (PBSZ 0, PROT P) and resume
        // the control connection's TLS session, as vsftpd demands by default.
        curl_easy_setopt(easy, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
        curl_easy_setopt(easy, CURLOPT_FTPSSLAUTH, long(CURLFTPAUTH_TLS));
        curl_easy_setopt(easy, CURLOPT_FTP_SSL_CCC, long(CURLFTPSSL_CCC_NONE));
        canSecure_ = tls_.install(easy);
    }
    curl_easy_setopt(easy, CURLOPT_USERNAME, login.user.constData());
    curl_easy_setopt(easy, CURLOPT_PASSWORD, login.password.constData());
    curl_easy_setopt(easy, CURLOPT_FTPPORT, login.passive ? nullptr : "-");
    curl_easy_setopt(easy, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_SINGLECWD));
    curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, curlBufferBytes);
    curl_easy_setopt(easy, CURLOPT_UPLOAD_BUFFERSIZE, curlBufferBytes);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, long(options.connectTimeout.count()));
    curl_easy_setopt(easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(options.serverResponseTimeout.count()));
    curl_easy_setopt(easy, CURLOPT_ACCEPTTIMEOUT_MS,
                     long(std::chrono::milliseconds(options.serverResponseTimeout).count()));
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, long(options.stalledTransferTimeout.count()));
    curl_easy_setopt(easy, CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorText_);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CurlWorker::writeCallback);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy, CURLOPT_READFUNCTION, &CurlWorker::readCallback);
    curl_easy_setopt(easy, CURLOPT_READDATA, this);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &CurlWorker::headerCallback);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    // To learn which command each reply answers (libcurl may send commands of
    // its own, CWD, after those of a request), and to read listings unconverted.
    curl_easy_setopt(easy, CURLOPT_DEBUGFUNCTION, &CurlWorker::debugCallback);
    curl_easy_setopt(easy, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(easy, CURLOPT_VERBOSE, 1L);
}

void CurlWorker::run()
{
    while (std::optional<CurlRequest> request = channel_.nextRequest())
        channel_.finish(perform(*request));
    hangUp();
}

// libcurl closes a connection in good order with QUIT and waits for the
// reply, up to the reply timeout: a server gone silent would hold the caller
// that long. A request dropped before its end closes the connection at once:
// one is started (the channel is stopping, so it ends after its first step).
void CurlWorker::hangUp()
{
    if (!connectionKept_)
        return;
    CurlRequest noop;
    noop.url = lastUrl_;
    noop.pinnedCertificate = lastPinnedCertificate_; // else libcurl would not reuse the connection
    noop.commands = {QByteArrayLiteral("NOOP")};
    perform(noop);
}

CurlOutcome CurlWorker::perform(const CurlRequest &request)
{
    const Slist commands = commandList(request.commands);
    const Slist commandsBeforeTransfer = commandList(request.commandsBeforeTransfer);
    prepare(request, commands.get(), commandsBeforeTransfer.get());
    request_ = &request;
    lastUrl_ = request.url;
    lastPinnedCertificate_ = request.pinnedCertificate;
    startedNoted_ = false;
    commandSent_ = false;
    pausedFor_ = WorkerChannel::WaitingFor::Nothing;
    replies_.clear();
    replyLines_.clear();
    lastCommand_.clear();
    errorText_[0] = '\0';
    tls_.forget();

    curl_multi_add_handle(multi_.get(), easy_.get());
    CurlOutcome outcome;
    outcome.code = drive();
    fillOutcome(outcome);
    // Removing a transfer that has not ended closes its control connection.
    curl_multi_remove_handle(multi_.get(), easy_.get());
    request_ = nullptr;
    return outcome;
}

void CurlWorker::prepare(const CurlRequest &request, curl_slist *commands, curl_slist *commandsBeforeTransfer)
{
    CURL *easy = easy_.get();
    curl_easy_setopt(easy, CURLOPT_URL, request.url.constData());
    if (secure_)
        tls_.expect(easy, request.pinnedCertificate);
    // UPLOAD first: clearing it resets the request method that NOBODY sets.
    curl_easy_setopt(easy, CURLOPT_UPLOAD, long(request.kind == CurlRequest::Kind::Upload));
    curl_easy_setopt(easy, CURLOPT_NOBODY, long(request.kind == CurlRequest::Kind::Command));
    curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST,
                     request.listCommand.isEmpty() ? nullptr : request.listCommand.constData());
    curl_easy_setopt(easy, CURLOPT_TRANSFERTEXT, long(request.ascii));
    const bool download = request.kind == CurlRequest::Kind::Download;
    curl_easy_setopt(easy, CURLOPT_RESUME_FROM_LARGE, curl_off_t(download ? request.offset : 0));
    curl_easy_setopt(easy, CURLOPT_APPEND, long(request.kind == CurlRequest::Kind::Upload && request.offset > 0));
    curl_easy_setopt(easy, CURLOPT_QUOTE, commands);
    curl_easy_setopt(easy, CURLOPT_PREQUOTE, commandsBeforeTransfer);
    curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, long(request.freshConnection));
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, long(request.deadline.count()));
    // libcurl stops a download at the size SIZE gave and drops the rest
    // unseen: every byte is taken, and the caller compares. It sends no REST
    // while it ignores the length, so a resumed download stops at that size.
    curl_easy_setopt(easy, CURLOPT_IGNORE_CONTENT_LENGTH, long(download && request.offset == 0));
}

CURLcode CurlWorker::drive()
{
    for (;;) {
        int running = 0;
        if (curl_multi_perform(multi_.get(), &running) != CURLM_OK)
            return CURLE_FAILED_INIT;
        if (const std::optional<CURLcode> done = doneResult())
            return *done;
        if (pausedFor_ != WorkerChannel::WaitingFor::Nothing) {
            // A paused transfer's socket is not polled: wait for the caller instead.
            if (!channel_.waitUntilResumable(pausedFor_))
                return CURLE_ABORTED_BY_CALLBACK;
            pausedFor_ = WorkerChannel::WaitingFor::Nothing;
            curl_easy_pause(easy_.get(), CURLPAUSE_CONT);
            continue;
        }
        if (channel_.mustStop())
            return CURLE_ABORTED_BY_CALLBACK;
        // libcurl 7.88 can read the reply that opens the data connection and
        // then watch only the control socket before it starts connecting
        // (every time over TLS, now and then in plain FTP): it would sit a
        // whole poll long before the transfer. Until data moves, it is
        // looked at often.
        const int pollMilliseconds = startedNoted_ ? 1000 : 1;
        curl_multi_poll(multi_.get(), nullptr, 0, pollMilliseconds, nullptr);
    }
}

std::optional<CURLcode> CurlWorker::doneResult()
{
    int left = 0;
    while (CURLMsg *message = curl_multi_info_read(multi_.get(), &left)) {
        if (message->msg == CURLMSG_DONE)
            return message->data.result;
    }
    return std::nullopt;
}

void CurlWorker::fillOutcome(CurlOutcome &outcome)
{
    CURL *easy = easy_.get();
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &outcome.replyCode);
    long connects = 0;
    curl_easy_getinfo(easy, CURLINFO_NUM_CONNECTS, &connects);
    outcome.newConnection = connects > 0;
    curl_socket_t socket = CURL_SOCKET_BAD;
    curl_easy_getinfo(easy, CURLINFO_ACTIVESOCKET, &socket);
    outcome.connectionKept = outcome.code != CURLE_ABORTED_BY_CALLBACK && socket != CURL_SOCKET_BAD;
    connectionKept_ = outcome.connectionKept;
    const char *entryPath = nullptr;
    if (curl_easy_getinfo(easy, CURLINFO_FTP_ENTRY_PATH, &entryPath) == CURLE_OK && entryPath)
        outcome.entryPath = entryPath;
    outcome.replies = replies_;
    outcome.commandSent = commandSent_;
    outcome.certificate = tls_.lastSeen();
    outcome.tlsProtocol = tls_.protocol();
    curl_off_t contentLength = -1;
    if (curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &contentLength) == CURLE_OK)
        outcome.contentLength = contentLength;
    if (!outcome.ok())
        outcome.errorText = QString::fromUtf8(errorText_[0] ? errorText_ : curl_easy_strerror(outcome.code));
}

size_t CurlWorker::receive(const char *data, size_t length)
{
    noteStarted();
    switch (request_->kind) {
    case CurlRequest::Kind::Listing:
        // The listing was read as it arrived (listingArrived); this is libcurl's
        // converted copy. Taking less than was given ends a listing past its limits.
        return request_->listing->overflow().isEmpty() ? length : 0;
    case CurlRequest::Kind::Download:
        if (channel_.deliver(data, qsizetype(length)))
            return length;
        pausedFor_ = WorkerChannel::WaitingFor::Room;
        return CURL_WRITEFUNC_PAUSE;
    case CurlRequest::Kind::Command:
    case CurlRequest::Kind::Upload: break;
    }
    return length;
}

size_t CurlWorker::send(char *out, size_t maxLength)
{
    noteStarted();
    const std::optional<qsizetype> supplied = channel_.supply(out, qsizetype(maxLength));
    if (!supplied) {
        pausedFor_ = WorkerChannel::WaitingFor::Data;
        return CURL_READFUNC_PAUSE;
    }
    return size_t(*supplied);
}

// libcurl shows received data to the debug function before its ASCII
// line-end conversion, which would turn a CR inside a name into a line end
// and so make up entries: a listing is read here, as the server sent it.
void CurlWorker::listingArrived(QByteArrayView data)
{
    if (request_ && request_->kind == CurlRequest::Kind::Listing)
        request_->listing->feed(data);
}

void CurlWorker::noteStarted()
{
    if (startedNoted_)
        return;
    startedNoted_ = true;
    channel_.markStarted();
}

void CurlWorker::recordReply(QByteArrayView line)
{
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    if (!isFinalReplyLine(line)) {
        replyLines_ += line.toByteArray() + '\n';
        return;
    }
    if (replies_.size() == keptReplies)
        replies_.removeFirst();
    replies_.append({(line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0'), line.toByteArray(),
                     std::exchange(replyLines_, {}), lastCommand_});
}

void CurlWorker::noteCommand(QByteArrayView line)
{
    commandSent_ = true;
    const qsizetype end = line.indexOf(' ');
    lastCommand_ = (end < 0 ? line : line.first(end)).trimmed().toByteArray().toUpper();
}

size_t CurlWorker::writeCallback(char *data, size_t size, size_t count, void *worker)
{
    return static_cast<CurlWorker *>(worker)->receive(data, size * count);
}

size_t CurlWorker::readCallback(char *out, size_t size, size_t count, void *worker)
{
    return static_cast<CurlWorker *>(worker)->send(out, size * count);
}

size_t CurlWorker::headerCallback(char *data, size_t size, size_t count, void *worker)
{
    static_cast<CurlWorker *>(worker)->recordReply(QByteArrayView(data, qsizetype(size * count)));
    return size * count;
}

int CurlWorker::debugCallback(CURL *, curl_infotype type, char *data, size_t size, void *worker)
{
    if (type == CURLINFO_HEADER_OUT)
        static_cast<CurlWorker *>(worker)->noteCommand(QByteArrayView(data, qsizetype(size)));
    else if (type == CURLINFO_DATA_IN)
        static_cast<CurlWorker *>(worker)->listingArrived(QByteArrayView(data, qsizetype(size)));
    return 0;
}

} // namespace vendrel
