#pragma once

#include "session/ftp/CurlFtpOptions.h"
#include "session/ftp/CurlRequest.h"
#include "session/ftp/FtpService.h"
#include "session/ftp/TlsPeerCheck.h"
#include "session/ftp/WorkerChannel.h"

#include <QByteArray>
#include <curl/curl.h>
#include <memory>
#include <thread>

namespace vendrel {

// Who logs in, and how the data connections are opened.
struct CurlLogin {
    QByteArray user;
    QByteArray password;
    bool passive = true; // else active: the server connects back to us (PORT/EPRT)
    FtpSecurity security = FtpSecurity::Plain;
};

// The thread that runs one connection's requests through libcurl's multi
// interface, with a single easy handle so that one login serves them all.
// Requests come in, and outcomes and transfer data go out, through the
// channel. A transfer that waits for its caller is paused, and the thread
// then waits on the channel rather than polling: libcurl does not watch the
// socket of a paused transfer.
class CurlWorker {
public:
    CurlWorker(const CurlLogin &login, const CurlFtpOptions &options, WaitObserver &observer);
    ~CurlWorker();
    CurlWorker(const CurlWorker &) = delete;
    CurlWorker &operator=(const CurlWorker &) = delete;

    // False when libcurl could not be set up: nothing can be asked then.
    bool isReady() const { return thread_.joinable(); }
    // False when TLS was asked for but libcurl cannot have its certificates judged.
    bool canSecure() const { return canSecure_; }

    WorkerChannel &channel() { return channel_; }
    void start(CurlRequest request) { channel_.submit(std::move(request)); }
    // Ends the call in progress as soon as possible (its outcome says
    // CURLE_ABORTED_BY_CALLBACK); a control connection it used is closed.
    void cancel() { channel_.cancel(); }

private:
    struct EasyDeleter {
        void operator()(CURL *easy) const { curl_easy_cleanup(easy); }
    };
    struct MultiDeleter {
        void operator()(CURLM *multi) const { curl_multi_cleanup(multi); }
    };

    void setFixedOptions(const CurlLogin &login, const CurlFtpOptions &options);
    void run();
    void hangUp();
    CurlOutcome perform(const CurlRequest &request);
    void prepare(const CurlRequest &request, curl_slist *commands, curl_slist *commandsBeforeTransfer);
    CURLcode drive();
    std::optional<CURLcode> doneResult();
    void fillOutcome(CurlOutcome &outcome);

    size_t receive(const char *data, size_t length);
    size_t send(char *out, size_t maxLength);
    void listingArrived(QByteArrayView data);
    void noteStarted();
    void recordReply(QByteArrayView line);
    void noteCommand(QByteArrayView line);

    static size_t writeCallback(char *data, size_t size, size_t count, void *worker);
    static size_t readCallback(char *out, size_t size, size_t count, void *worker);
    static size_t headerCallback(char *data, size_t size, size_t count, void *worker);
    static int debugCallback(CURL *easy, curl_infotype type, char *data, size_t size, void *worker);

    WorkerChannel channel_;
    std::unique_ptr<CURL, EasyDeleter> easy_;
    std::unique_ptr<CURLM, MultiDeleter> multi_;
    char errorText_[CURL_ERROR_SIZE] = {};
    bool secure_ = false;
    bool canSecure_ = true;
    TlsPeerCheck tls_;

    // The request in progress; touched by the worker thread only.
    const CurlRequest *request_ = nullptr;
    bool startedNoted_ = false;
    bool commandSent_ = false;
    WorkerChannel::WaitingFor pausedFor_ = WorkerChannel::WaitingFor::Nothing;
    QList<ServerReply> replies_;
    QByteArray replyLines_; // of the reply being read, before its final line
    QByteArray lastCommand_; // the verb of the last command sent
    QByteArray lastUrl_;
    QByteArray lastPinnedCertificate_;
    bool connectionKept_ = false;

    std::thread thread_; // last: starts once everything above exists
};

} // namespace vendrel
