// Lists a local folder of many files through the local pane into the real
// view, shown on screen, and reports:
//   - the whole listing, from openFolder to the rows painted;
//   - the part spent reading the folder (names, sizes, times);
//   - resident memory.
// Usage: bench_local_listing [files ...]   (default: 25000 50000 100000)
// The folders are made once in /tmp (vendrel-bench-local-<files>) and kept
// for the next run.
#include "BenchServer.h"

#include "app/frame/ActivityLog.h"
#include "app/frame/StatusPanels.h"
#include "app/icons/Icons.h"
#include "desktop/QtDialogs.h"
#include "listing/FileListModel.h"
#include "listing/FileListView.h"
#include "local/LocalBrowser.h"
#include "local/LocalFolderList.h"
#include "local/LocalFolderReader.h"
#include "platform/Clock.h"
#include "platform/WildcardPattern.h"
#include "session/SessionState.h"
#include "session/ftp/CurlFtpService.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vendrel;

namespace {

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    initResources();

    // The local pane as the main window builds it, with the session it reports to.
    SessionState session;
    CurlFtpService ftp;
    SystemClock clock;
    QWidget window;
    QtDialogs dialogs([&window] { return &window; });
    QPlainTextEdit txtInfo;
    ActivityLog log(txtInfo, clock);
    QStatusBar statusBar;
    StatusPanels status(statusBar, clock, statusClockIcon(), statusMonitorIcon());
    QLabel Label1;
    QComboBox Drive1;
    LocalFolderList Dir1(listIcon(12), listIcon(13));
    FileListModel files(FileListKind::Local);
    files.setIcons(&listIcon);
    FileListView ListView1(files, QStringLiteral("Fichiers locaux"));
    QMenu zLocal;
    QAction zAll, Z_HTML, Z_Images, Z_Zip, Z_Exe, zDefine;
    auto *layout = new QVBoxLayout(&window);
    for (QWidget *widget : std::initializer_list<QWidget *>{&Label1, &Drive1, &Dir1, &ListView1, &statusBar})
        layout->addWidget(widget);
    layout->setStretch(3, 1);
    LocalBrowser browser(
        {session, ftp, log, status, dialogs, clock},
        {Drive1, Dir1, ListView1, files, Label1, zLocal, {zAll, Z_HTML, Z_Images, Z_Zip, Z_Exe, zDefine}});
    window.resize(500, 700);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;

    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(QByteArray(argv[i]).toInt());
    if (counts.empty())
        counts = {25000, 50000, 100000};

    for (const int count : counts) {
        const QString folder = bench::folderOfFiles(QStringLiteral("vendrel-bench-local-"), count);
        std::vector<double> totals, reads;
        for (int run = 0; run < 3; ++run) {
            browser.openFolder(QDir::tempPath()); // start each run from another folder
            QCoreApplication::processEvents();

            QElapsedTimer reading;
            reading.start();
            const LocalFolderContents contents = readLocalFolder(folder, WildcardPattern(QStringLiteral("*.*")));
            reads.push_back(msSince(reading));

            QElapsedTimer whole;
            whole.start();
            browser.openFolder(folder);
            window.repaint();
            QCoreApplication::processEvents();
            totals.push_back(msSince(whole));
            if (files.rowCount() != count || static_cast<int>(contents.files.size()) != count) {
                std::fprintf(stderr, "listed %d rows, expected %d\n", files.rowCount(), count);
                return 1;
            }
        }
        std::printf("%7d files: listed into the view in %.0f ms (median of 3; best %.0f); reading the "
                    "folder alone %.0f ms; %.2f us per file; resident %.1f MiB\n",
                    count, bench::median(totals), *std::min_element(totals.begin(), totals.end()), bench::median(reads),
                    bench::median(totals) * 1000.0 / count, bench::residentMiB());
    }
    return 0;
}
