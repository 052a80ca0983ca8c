#include "app/MainMenus.h"
#include "app/MainWindow.h"
#include "app/SplitterBar.h"
#include "app/icons/Icons.h"
#include "support/FakeClock.h"
#include "support/FakeDialogs.h"
#include "support/FakeFtpService.h"
#include "support/TempFolder.h"
#include "support/FakeDialupService.h"
#include "support/FakeShell.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

// The real main window: its bars, its resize handler, its dial-up commands and its about box.
struct PaneSplittersTest : ::testing::Test {
    static void SetUpTestSuite() { initResources(); }

    PaneSplittersTest()
    {
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QWidget &pane(Pane which) { return window.pane(which); }
    double pixelsPerTwipY() const { return window.logicalDpiY() / twipsPerInch; }
    // Pixel geometry the window gives a pane, from its twips.
    QRect placed(Pane which) const
    {
        const QRectF twips = window.paneGeometry()[which];
        const double x = window.logicalDpiX() / twipsPerInch;
        const double y = pixelsPerTwipY();
        return {qRound(twips.left() * x), qRound(twips.top() * y), qRound(twips.width() * x), qRound(twips.height() * y)};
    }
    QAction &action(const QString &name) { return window.menus().action(name); }

    test::FakeFtpService ftp;
    test::FakeDialogs dialogs;
    test::FakeClock clock;
    test::TempFolder programFolder;
    test::FakeDialupService dialup;
    int quits = 0;
    test::FakeShell shell;
    MainWindow window{{ftp, dialogs, clock, shell, programFolder.path(), [this] { ++quits; }, dialup}};
};

TEST_F(PaneSplittersTest, TheWindowCannotBeMadeSmallerThanItsLayoutAllows)
{
    window.resize(50, 50);
    const QSizeF minimum = minimumWindowTwips();
    EXPECT_GE(window.frameGeometry().width() * twipsPerInch / window.logicalDpiX(), minimum.width());
    EXPECT_GE(window.frameGeometry().height() * twipsPerInch / window.logicalDpiY(), minimum.height());
    for (Pane which : {Pane::Label1, Pane::Label3, Pane::ListView1, Pane::ListView2, Pane::Dir1, Pane::Picture2}) {
        EXPECT_GT(pane(which).width(), 0) << static_cast<int>(which);
        EXPECT_GT(pane(which).height(), 0) << static_cast<int>(which);
    }
}

TEST_F(PaneSplittersTest, DraggingTheHorizontalBarTurnsItRedAndReleasingFitsThePanes)
{
    window.resize(900, 700);
    auto &bar = static_cast<SplitterBar &>(pane(Pane::Picture1));
    const QRect before = bar.geometry();
    const QRect listBefore = pane(Pane::ListView1).geometry();

    QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(20, 1));
    QTest::mouseMove(&bar, QPoint(20, 1 + 80));
    EXPECT_TRUE(bar.isDragged());
    EXPECT_NEAR(bar.y(), before.y() + 80, 1);
    EXPECT_EQ(pane(Pane::ListView1).geometry(), listBefore); // nothing follows during the drag

    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(20, 1));
    EXPECT_FALSE(bar.isDragged());
    EXPECT_EQ(pane(Pane::ListView1).geometry(), placed(Pane::ListView1));
    EXPECT_NEAR(pane(Pane::ListView1).y(), bar.y() + 60 * pixelsPerTwipY(), 1);
    EXPECT_NEAR(pane(Pane::Dir1).geometry().bottom() + 1, bar.y(), 1);

    // Too high: back to 2500 twips.
    QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(20, 1));
    QTest::mouseMove(&bar, QPoint(20, -bar.y() + 5));
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(20, 1));
    EXPECT_EQ(window.paneGeometry()[Pane::Picture1].top(), 2500);

    // A resize keeps the bar where it was.
    window.resize(1000, 760);
    EXPECT_EQ(window.paneGeometry()[Pane::Picture1].top(), 2500);
}

TEST_F(PaneSplittersTest, TheVerticalBarIsReleasedInBoundsAndReturnsToTheMiddleOnResize)
{
    window.resize(900, 700);
    auto &bar = static_cast<SplitterBar &>(pane(Pane::Picture2));
    QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(1, 40));
    QTest::mouseMove(&bar, QPoint(-bar.x() - 50, 40));
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(1, 40));
    EXPECT_EQ(window.paneGeometry()[Pane::Picture2].left(), 1980);
    EXPECT_EQ(pane(Pane::ListView2).geometry(), placed(Pane::ListView2));
    EXPECT_EQ(pane(Pane::ListView2).geometry().right() + 1, window.centralWidget()->width());

    window.resize(1000, 700);
    const double W = window.frameGeometry().width() * twipsPerInch / window.logicalDpiX();
    EXPECT_DOUBLE_EQ(window.paneGeometry()[Pane::Picture2].left(), W / 2 - 80);
}

TEST_F(PaneSplittersTest, OpeningTheFileMenuOffersToDisconnectOnlyWithADialupConnectionUp)
{
    QMenu &fichier = window.menus().menu(u"zSoubor"_s);
    Q_EMIT fichier.aboutToShow();
    EXPECT_FALSE(action(u"Mnu_DeconnectInternet"_s).isEnabled());
    dialup.add(u"Orange"_s, true);
    Q_EMIT fichier.aboutToShow();
    EXPECT_TRUE(action(u"Mnu_DeconnectInternet"_s).isEnabled());

    action(u"zOdpojit"_s).trigger();
    EXPECT_EQ(dialogs.messageTexts(), QList<QString>{u"Fin de connexion: Orange"_s});
}

TEST_F(PaneSplittersTest, QuittingWithADialupConnectionUpOffersToHangItUp)
{
    dialup.add(u"Orange"_s, true);
    dialogs.answerNext(MessageAnswer::Yes); // quit
    dialogs.answerNext(MessageAnswer::Yes); // hang up
    window.zEnd_Click();
    EXPECT_EQ(dialogs.messageTexts(), (QList<QString>{u"Quitter Vendrel ?  Confirmez."_s, u"Voulez vous vous déconnecter"_s}));
    EXPECT_EQ(dialup.hangUpsAsked, QList<QString>{u"Orange"_s});
    EXPECT_EQ(quits, 1);
}

TEST_F(PaneSplittersTest, F2ShowsTheAboutBoxUntilOk)
{
    QString title;
    QString version;
    QTimer::singleShot(0, [&] {
        QWidget *about = QApplication::activeModalWidget();
        ASSERT_NE(about, nullptr);
        title = about->windowTitle();
        version = about->findChild<QLabel *>(u"lblVersion"_s)->text();
        about->findChild<QPushButton *>(u"cmdOK"_s)->click();
    });
    action(u"zAbout"_s).trigger();
    EXPECT_EQ(title, u"A propos Vendrel"_s);
    EXPECT_EQ(version, u"Version 1.1.0"_s);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
} // namespace vendrel
