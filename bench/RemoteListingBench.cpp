// Lists a server folder of many files through ListRemoteFolder into the real
// window, against pyftpdlib on loopback, and reports:
//   - the whole listing, from the command to the rows painted;
//   - the part after the server's final reply (when the listing call returns);
//   - the longest time the window went without an event-loop turn;
//   - startup to the first shown window, and resident memory.
// Usage: bench_remote_listing [files ...]   (default: 25000 50000 100000)
#include "BenchServer.h"

#include "app/MainWindow.h"
#include "app/icons/Icons.h"
#include "desktop/QtDialogs.h"
#include "desktop/Shell.h"
#include "dialup/NetworkManagerDialup.h"
#include "listing/FileListModel.h"
#include "platform/Clock.h"
#include "remote/RemoteBrowser.h"
#include "session/ftp/CurlFtpService.h"
#include "session/profiles/KeychainPasswordVault.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vendrel;

namespace {

QElapsedTimer sinceStart;

// The real service, noting when the listing call returns: it returns once
// the server's final reply is in.
class TimedFtpService final : public FtpService {
public:
    explicit TimedFtpService(FtpService &inner) : inner_(inner) {}
    qint64 listingReturnedAt = 0;

    FtpHandle InternetOpen(const QString &a, quint32 b, const QString &c, const QString &d, quint32 e) override
    {
        return inner_.InternetOpen(a, b, c, d, e);
    }
    FtpHandle InternetConnect(FtpHandle a, const QString &b, quint16 c, const QString &d, const QString &e, quint32 f,
                              quint32 g, quintptr h) override
    {
        return inner_.InternetConnect(a, b, c, d, e, f, g, h);
    }
    bool FtpGetCurrentDirectory(FtpHandle a, QString &b) override { return inner_.FtpGetCurrentDirectory(a, b); }
    FtpHandle FtpFindFirstFile(FtpHandle a, const QString &b, FindData &c, quint32 d, quintptr e) override
    {
        const FtpHandle find = inner_.FtpFindFirstFile(a, b, c, d, e);
        listingReturnedAt = sinceStart.nsecsElapsed();
        return find;
    }
    bool InternetFindNextFile(FtpHandle a, FindData &b) override { return inner_.InternetFindNextFile(a, b); }
    FtpHandle FtpOpenFile(FtpHandle a, const QString &b, quint32 c, quint32 d, quintptr e) override
    {
        return inner_.FtpOpenFile(a, b, c, d, e);
    }
    FtpHandle FtpOpenFileAt(FtpHandle a, const QString &b, quint32 c, quint32 d, qint64 e) override
    {
        return inner_.FtpOpenFileAt(a, b, c, d, e);
    }
    bool InternetReadFile(FtpHandle a, char *b, quint32 c, quint32 &d) override
    {
        return inner_.InternetReadFile(a, b, c, d);
    }
    bool InternetWriteFile(FtpHandle a, const char *b, quint32 c, quint32 &d) override
    {
        return inner_.InternetWriteFile(a, b, c, d);
    }
    bool FtpGetFileSize(FtpHandle a, qint64 &b) override { return inner_.FtpGetFileSize(a, b); }
    bool FtpGetRemoteFileSize(FtpHandle a, const QString &b, qint64 &c) override
    {
        return inner_.FtpGetRemoteFileSize(a, b, c);
    }
    bool FtpGetFileTime(FtpHandle a, const QString &b, QDateTime &c) override { return inner_.FtpGetFileTime(a, b, c); }
    bool FtpSetFileTime(FtpHandle a, const QString &b, const QDateTime &c) override
    {
        return inner_.FtpSetFileTime(a, b, c);
    }
    bool FtpCreateDirectory(FtpHandle a, const QString &b) override { return inner_.FtpCreateDirectory(a, b); }
    bool FtpRemoveDirectory(FtpHandle a, const QString &b) override { return inner_.FtpRemoveDirectory(a, b); }
    bool FtpDeleteFile(FtpHandle a, const QString &b) override { return inner_.FtpDeleteFile(a, b); }
    bool FtpRenameFile(FtpHandle a, const QString &b, const QString &c) override
    {
        return inner_.FtpRenameFile(a, b, c);
    }
    bool InternetCloseHandle(FtpHandle a) override { return inner_.InternetCloseHandle(a); }
    bool AbortTransfer(FtpHandle a) override { return inner_.AbortTransfer(a); }
    FtpError lastError() const override { return inner_.lastError(); }

private:
    FtpService &inner_;
};

double ms(qint64 nanoseconds)
{
    return double(nanoseconds) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    sinceStart.start();
    QApplication app(argc, argv);
    initResources();

    CurlFtpService curl;
    TimedFtpService ftp(curl);
    SystemClock clock;
    MainWindow *window = nullptr;
    QtDialogs dialogs([&window] { return static_cast<QWidget *>(window); });
    DesktopShell shell([&window] { return static_cast<QWidget *>(window); });
    NetworkManagerDialup dialup;
    KeychainPasswordVault passwords;
    MainWindow mainWindow({ftp, dialogs, clock, shell, ProgramFolders::beside(QApplication::applicationDirPath()),
                           [] {}, dialup, passwords});
    window = &mainWindow;
    mainWindow.show();
    if (!QTest::qWaitForWindowExposed(&mainWindow))
        return 1;
    std::printf("startup to the first shown window: %.1f ms from main(), %.0f ms from the process start; "
                "resident %.1f MiB\n",
                ms(sinceStart.nsecsElapsed()), bench::millisecondsSinceProcessStart(), bench::residentMiB());

    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(QByteArray(argv[i]).toInt());
    if (counts.empty())
        counts = {25000, 50000, 100000};

    bench::StallMeter stalls;
    for (const int files : counts) {
        const QString root = bench::folderOfFiles(QStringLiteral("vendrel-bench-listing-"), files);
        bench::BenchServer server;
        if (!server.start(root))
            return 1;
        SessionState &session = mainWindow.session();
        if (!bench::openSession(ftp, session, server.port()))
            return 1;
        std::vector<double> totals, afterReply, longestStalls;
        for (int run = 0; run < 3; ++run) {
            stalls.start();
            const qint64 started = sinceStart.nsecsElapsed();
            mainWindow.remoteBrowser().openInitialFolder(QStringLiteral("/"));
            mainWindow.repaint();
            QCoreApplication::processEvents();
            const qint64 ended = sinceStart.nsecsElapsed();
            longestStalls.push_back(stalls.stopMs());
            totals.push_back(ms(ended - started));
            afterReply.push_back(ms(ended - ftp.listingReturnedAt));
            if (mainWindow.remoteFiles().rowCount() != files) {
                std::fprintf(stderr, "listed %d rows, expected %d\n", mainWindow.remoteFiles().rowCount(), files);
                return 1;
            }
        }
        std::sort(totals.begin(), totals.end());
        std::sort(afterReply.begin(), afterReply.end());
        std::printf("%7d files: total %.0f ms, after the final reply %.1f ms (median of 3; best %.1f), "
                    "longest stall %.1f ms, resident %.1f MiB\n",
                    files, totals[1], afterReply[1], afterReply[0],
                    *std::max_element(longestStalls.begin(), longestStalls.end()), bench::residentMiB());
        ftp.InternetCloseHandle(session.ConnectionHandle);
        ftp.InternetCloseHandle(session.InternetHandle);
        session.ConnectionHandle = session.InternetHandle = 0;
    }
    return 0;
}
