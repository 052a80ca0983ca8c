#include "app/PaneLayout.h"
#include "app/SplitterBar.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace vendrel {
namespace {

TEST(PaneLayout, ResizeRulesFollowTheWindowAndKeepTheHorizontalBar)
{
    PaneGeometry g = designGeometry();
    g[Pane::Picture1].moveTop(4000); // dragged earlier
    applyResizeRules(g, {12000, 9000, 11880, 8200});

    EXPECT_EQ(g[Pane::Picture1].width(), 11960);
    EXPECT_EQ(g[Pane::Picture1].top(), 4000);
    EXPECT_EQ(g[Pane::Picture2].left(), 5920);
    EXPECT_EQ(g[Pane::Picture2].height(), 8200 - 1680 - 240);
    EXPECT_EQ(g[Pane::Dir1].height(), 4000 - 2240);
    EXPECT_EQ(g[Pane::TView1].height(), 4000 - 1880);
    EXPECT_EQ(g[Pane::txtInfo].width(), 11800);
    EXPECT_EQ(g[Pane::Drive1].width(), 5860);
    EXPECT_EQ(g[Pane::TView1].left(), 5980);
    EXPECT_EQ(g[Pane::ListView2].left(), 5980);
    EXPECT_EQ(g[Pane::ListView2].width(), 5860);
    EXPECT_EQ(g[Pane::ListView1].height(), 8200 - 4260);
    EXPECT_EQ(g[Pane::ListView1].top(), 3495); // tops are not set by a resize
    EXPECT_EQ(g[Pane::Label3].left(), 5980 + 1040);
    EXPECT_EQ(g[Pane::Label4].left(), 5980);
    EXPECT_EQ(g[Pane::Label1].width(), 5860 - 940);
    EXPECT_EQ(g[Pane::Label2].width(), 5860);
    EXPECT_EQ(g[Pane::Label3].width(), 5860 - 1040);
    EXPECT_EQ(g[Pane::Label4].width(), 5860);
    EXPECT_EQ(g[Pane::txtInfo].top(), 600);
    EXPECT_EQ(g[Pane::txtInfo].height(), 975);
}

TEST(PaneLayout, ATinyWindowGivesNoNegativeSize)
{
    PaneGeometry g = designGeometry();
    applyResizeRules(g, {200, 300, 180, 200});
    for (const QRectF &rect : g.rects) {
        EXPECT_GE(rect.width(), 0);
        EXPECT_GE(rect.height(), 0);
    }
}

TEST(PaneLayout, HidingAndShowingTheToolbarReturnsEveryControl)
{
    const PaneGeometry before = designGeometry();
    PaneGeometry g = before;
    shiftForToolbar(g, false);
    EXPECT_EQ(g[Pane::txtInfo].top(), 0);
    EXPECT_EQ(g[Pane::ListView1].top(), 2895);
    EXPECT_EQ(g[Pane::ListView1].height(), 4920);
    EXPECT_EQ(g[Pane::Picture2].top(), 1680); // not tagged: keeps its place
    shiftForToolbar(g, true);
    for (std::size_t i = 0; i < g.rects.size(); ++i)
        EXPECT_EQ(g.rects[i], before.rects[i]) << i;
}

// A window a little larger than the design, with a menu bar and borders.
constexpr WindowTwips largeWindow{12000, 9000, 11880, 8200};

TEST(PaneLayout, DraggingABarMovesOnlyTheBar)
{
    const PaneGeometry before = designGeometry();
    PaneGeometry g = before;
    dragPicture1(g, 150);
    dragPicture1(g, -40);
    dragPicture2(g, -300);
    EXPECT_EQ(g[Pane::Picture1].top(), 3450 + 110);
    EXPECT_EQ(g[Pane::Picture1].height(), 60);
    EXPECT_EQ(g[Pane::Picture2].left(), 4740 - 300);
    EXPECT_EQ(g[Pane::Picture2].width(), 60);
    for (Pane other : {Pane::Dir1, Pane::TView1, Pane::ListView1, Pane::ListView2, Pane::Label3})
        EXPECT_EQ(g[other], before[other]);
}

TEST(PaneLayout, ReleasingTheHorizontalBarFitsTheFoldersAboveAndTheFilesBelow)
{
    PaneGeometry g = designGeometry();
    dragPicture1(g, 4000 - 3450);
    releasePicture1(g, largeWindow);

    EXPECT_EQ(g[Pane::Picture1].top(), 4000);
    EXPECT_EQ(g[Pane::ListView1].top(), 4060);
    EXPECT_EQ(g[Pane::ListView2].top(), 4060);
    EXPECT_EQ(g[Pane::ListView1].height(), 8200 - 4260);
    EXPECT_EQ(g[Pane::ListView2].height(), 8200 - 4260);
    EXPECT_EQ(g[Pane::Dir1].height(), 4000 - 2240);
    EXPECT_EQ(g[Pane::TView1].height(), 4000 - 1880);
}

TEST(PaneLayout, TheHorizontalBarIsReleasedWithinItsBounds)
{
    PaneGeometry g = designGeometry();
    dragPicture1(g, -2000); // above 2500
    releasePicture1(g, largeWindow);
    EXPECT_EQ(g[Pane::Picture1].top(), 2500);
    EXPECT_EQ(g[Pane::Dir1].height(), 260);

    dragPicture1(g, 9000); // lower than H − 1600
    releasePicture1(g, largeWindow);
    EXPECT_EQ(g[Pane::Picture1].top(), 9000 - 1600);
    EXPECT_EQ(g[Pane::ListView1].top(), 7460);

    // Where the bounds cross, the lower one wins.
    const WindowTwips shortWindow{12000, 3900, 11880, 3100};
    dragPicture1(g, -9000);
    releasePicture1(g, shortWindow);
    EXPECT_EQ(g[Pane::Picture1].top(), 3900 - 1600);
}

TEST(PaneLayout, ReleasingTheVerticalBarFitsBothPanesToIt)
{
    PaneGeometry g = designGeometry();
    dragPicture2(g, 3000 - 4740);
    releasePicture2(g, largeWindow);

    EXPECT_EQ(g[Pane::Picture2].left(), 3000);
    for (Pane local : {Pane::ListView1, Pane::Dir1, Pane::Drive1, Pane::Label2})
        EXPECT_EQ(g[local].width(), 2980);
    EXPECT_EQ(g[Pane::Label1].width(), 2020);
    EXPECT_EQ(g[Pane::Label1].left(), 960);
    for (Pane remote : {Pane::ListView2, Pane::TView1, Pane::Label4}) {
        EXPECT_EQ(g[remote].left(), 3080);
        EXPECT_EQ(g[remote].width(), 11880 - 3080) << static_cast<int>(remote);
    }
    EXPECT_EQ(g[Pane::Label3].left(), 4120);
    EXPECT_EQ(g[Pane::Label3].width(), 11880 - 4120);
}

TEST(PaneLayout, TheVerticalBarIsReleasedWithinItsBounds)
{
    PaneGeometry g = designGeometry();
    dragPicture2(g, -4000);
    releasePicture2(g, largeWindow);
    EXPECT_EQ(g[Pane::Picture2].left(), 1980);

    dragPicture2(g, 20000);
    releasePicture2(g, largeWindow);
    EXPECT_EQ(g[Pane::Picture2].left(), 12000 - 1400);
    EXPECT_EQ(g[Pane::ListView2].width(), 11880 - 10680);
}

TEST(PaneLayout, AResizeReturnsTheVerticalBarToTheMiddleButKeepsTheHorizontalOne)
{
    PaneGeometry g = designGeometry();
    dragPicture1(g, 1000);
    releasePicture1(g, largeWindow);
    dragPicture2(g, 2000);
    releasePicture2(g, largeWindow);

    const WindowTwips wider{14000, 10000, 13880, 9200};
    applyResizeRules(g, wider);
    EXPECT_EQ(g[Pane::Picture2].left(), 7000 - 80);
    EXPECT_EQ(g[Pane::ListView2].left(), 6860 + 120);
    EXPECT_EQ(g[Pane::Picture1].top(), 4450);
    EXPECT_EQ(g[Pane::ListView1].top(), 4510);
    EXPECT_EQ(g[Pane::ListView1].height(), 9200 - 4710);
}

TEST(PaneLayout, AtTheMinimumWindowSizeNoRuleGivesANegativeSize)
{
    const QSizeF minimum = minimumWindowTwips();
    EXPECT_EQ(minimum, QSizeF(3380, 5050));
    // Borders, caption and menu bar as on a common desktop.
    const WindowTwips smallest{minimum.width(), minimum.height(), minimum.width() - 120, minimum.height() - 800};
    // Strictly positive: the clamp at zero must not be what saves the layout here.
    const auto expectEveryPaneShown = [](const PaneGeometry &g, const char *step) {
        for (std::size_t i = 0; i < g.rects.size(); ++i) {
            EXPECT_GT(g.rects[i].width(), 0) << step << ", pane " << i;
            EXPECT_GT(g.rects[i].height(), 0) << step << ", pane " << i;
        }
    };

    for (bool toolbarShown : {true, false}) {
        PaneGeometry g = designGeometry();
        if (!toolbarShown)
            shiftForToolbar(g, false);
        applyResizeRules(g, smallest);
        expectEveryPaneShown(g, "resize");
        dragPicture1(g, 10000);
        releasePicture1(g, smallest);
        expectEveryPaneShown(g, "lowest horizontal bar");
        dragPicture1(g, -10000);
        releasePicture1(g, smallest);
        expectEveryPaneShown(g, "highest horizontal bar");
        dragPicture2(g, 10000);
        releasePicture2(g, smallest);
        expectEveryPaneShown(g, "rightmost vertical bar");
        dragPicture2(g, -10000);
        releasePicture2(g, smallest);
        expectEveryPaneShown(g, "leftmost vertical bar");
    }
}

struct SplitterBarTest : ::testing::Test {
    SplitterBarTest()
    {
        bar.resize(200, 10);
        bar.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&bar));
    }

    QColor shownColour() { return bar.grab().toImage().pixelColor(100, 5); }

    // Twips from a pixel offset along x, at the bar's own resolution.
    double twipsX(int pixels) const { return pixels * twipsPerInch / bar.logicalDpiX(); }
    double twipsY(int pixels) const { return pixels * twipsPerInch / bar.logicalDpiY(); }

    SplitterBar bar;
    QSignalSpy moves{&bar, &SplitterBar::dragMoved};
    QSignalSpy releases{&bar, &SplitterBar::released};
};

TEST_F(SplitterBarTest, ALeftButtonDragTurnsTheBarRedAndReportsThePointerInTwips)
{
    const QColor buttonFace = bar.palette().color(QPalette::Button);
    ASSERT_NE(buttonFace, QColor(255, 0, 0));
    EXPECT_EQ(shownColour(), buttonFace);

    QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(100, 5));
    QTest::mouseMove(&bar, QPoint(130, 9));
    ASSERT_EQ(moves.size(), 1);
    const QPointF pointer = moves.at(0).at(0).toPointF();
    EXPECT_DOUBLE_EQ(pointer.x(), twipsX(130));
    EXPECT_DOUBLE_EQ(pointer.y(), twipsY(9));
    EXPECT_TRUE(bar.isDragged());
    EXPECT_EQ(shownColour(), QColor(255, 0, 0));

    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(130, 9));
    EXPECT_EQ(releases.size(), 1);
    EXPECT_FALSE(bar.isDragged());
    EXPECT_EQ(shownColour(), buttonFace);
}

TEST(SplitterBar, WhileDraggedItShowsAboveThePanesItCrosses)
{
    QWidget window;
    window.resize(200, 100);
    SplitterBar bar(&window);
    bar.setGeometry(0, 40, 200, 4);
    QWidget pane(&window); // created later, so above the bar
    pane.setGeometry(0, 0, 200, 100);
    pane.setAutoFillBackground(true);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto colourAtTheBar = [&] { return window.grab().toImage().pixelColor(100, 42); };
    EXPECT_NE(colourAtTheBar(), QColor(255, 0, 0));

    QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(100, 2));
    QTest::mouseMove(&bar, QPoint(100, 3));
    EXPECT_EQ(colourAtTheBar(), QColor(255, 0, 0));
}

TEST_F(SplitterBarTest, OtherButtonsNeitherMoveNorColourNorRelease)
{
    QTest::mousePress(&bar, Qt::RightButton, {}, QPoint(100, 5));
    QTest::mouseMove(&bar, QPoint(120, 5));
    QTest::mouseRelease(&bar, Qt::RightButton, {}, QPoint(120, 5));
    EXPECT_EQ(moves.size(), 0);
    EXPECT_EQ(releases.size(), 0);
    EXPECT_FALSE(bar.isDragged());
    EXPECT_NE(shownColour(), QColor(255, 0, 0));
}

TEST_F(SplitterBarTest, AClickWithoutMovingStillReleases)
{
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(50, 5));
    EXPECT_EQ(moves.size(), 0);
    EXPECT_EQ(releases.size(), 1);
}

} // namespace
} // namespace vendrel
