#include "app/PaneLayout.h"

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

} // namespace
} // namespace vendrel
