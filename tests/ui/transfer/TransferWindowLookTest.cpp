#include "support/SessionHarness.h"
#include "support/TempFolder.h"
#include "unit/transfer/TickingFtpService.h"
#include "transfer/FrmProg.h"

#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

// Whether a label shows its whole text inside the window.
::testing::AssertionResult fits(const QLabel &label, const QWidget &window)
{
    const int needed = label.fontMetrics().horizontalAdvance(label.text());
    const QRect onWindow(label.mapTo(&window, QPoint(0, 0)), label.size());
    if (needed > label.width() || !window.rect().contains(onWindow))
        return ::testing::AssertionFailure() << label.objectName().toStdString() << " cuts \""
                                             << label.text().toStdString() << "\"";
    return ::testing::AssertionSuccess();
}

// The window as a person sees it in the middle of a long download: every
// text whole, the file number over the blanks of "Fichier:". Set
// VENDREL_SCREENSHOT_DIR to keep a picture of it.
TEST(TransferWindowLookTest, MidTransferEveryTextIsWholeAndTheCountSitsInItsGap)
{
    test::TickingFtpService ticking;
    test::SessionHarness harness{&ticking};
    ticking.attach(harness.ftp, harness.clock, 1500);
    harness.connectToFakeServer();
    harness.session.LocalFolder = harness.session.RemoteFolder = u"/"_s;
    harness.ftp.addFile(u"/grand fichier d'archive.zip"_s, QByteArray(40 * 1024, 'z'));

    FrmProg window(harness.context());
    TransferBatch batch;
    batch.append(u"grand fichier d'archive.zip"_s, 40 * 1024);
    for (int i = 1; i < 12; ++i)
        batch.append(u"grand fichier d'archive.zip"_s, 1234567890LL);
    window.setBatch(batch);
    window.show();
    bool looked = false;
    ticking.beforeBlock(20, [&] {
        QPixmap picture = window.grab();
        if (const QByteArray folder = qgetenv("VENDREL_SCREENSHOT_DIR"); !folder.isEmpty())
            picture.save(QString::fromLocal8Bit(folder) + u"/frmProg.png"_s);
        for (const QLabel *label : window.findChildren<QLabel *>())
            if (label->isVisible()) {
                EXPECT_TRUE(fits(*label, window));
            }
        const auto *count = window.findChild<QLabel *>(u"lbCount"_s);
        EXPECT_EQ(count->text(), u"1"_s);
        EXPECT_FALSE(window.findChild<QLabel *>(u"lbSpeed"_s)->text().isEmpty());
        EXPECT_GT(window.findChild<QProgressBar *>(u"ProgressBar1"_s)->value(), 0);
        looked = true;
    });
    const test::TempFolder local;
    harness.session.LocalFolder = local.folder();
    window.Command3_Click();
    EXPECT_TRUE(looked);
}

} // namespace
} // namespace vendrel
