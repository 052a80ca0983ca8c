#include "app/PaneLayout.h"

#include <algorithm>

namespace vendrel {

namespace {

void setWidth(QRectF &rect, double width)
{
    rect.setWidth(std::max(0.0, width));
}
void setHeight(QRectF &rect, double height)
{
    rect.setHeight(std::max(0.0, height));
}

constexpr Pane movingWithToolbar[] = {Pane::Picture1, Pane::txtInfo,   Pane::TView1,    Pane::Drive1,
                                      Pane::Dir1,     Pane::ListView1, Pane::ListView2, Pane::Label1,
                                      Pane::Label2,   Pane::Label3,    Pane::Label4};

// Where a released bar may rest: Picture1's top from 2500 down to H − 1600,
// Picture2's left from 1980 up to W − 1400.
constexpr double picture1HighestTop = 2500;
constexpr double picture1RoomBelow = 1600;
constexpr double picture2LeftmostLeft = 1980;
constexpr double picture2RoomRight = 1400;

void fitFileListsBelow(PaneGeometry &g, const WindowTwips &w)
{
    const double barTop = g[Pane::Picture1].top();
    for (Pane list : {Pane::ListView1, Pane::ListView2})
        setHeight(g[list], w.SH - (barTop + 260));
}

} // namespace

PaneGeometry designGeometry()
{
    PaneGeometry g;
    g[Pane::Toolbar1] = {0, 0, 10665, 630};
    g[Pane::txtInfo] = {40, 600, 9495, 975};
    g[Pane::Label2] = {40, 1560, 4695, 300};
    g[Pane::Label1] = {960, 1635, 3615, 255};
    g[Pane::Label4] = {4800, 1560, 3735, 300};
    g[Pane::Label3] = {5840, 1640, 2895, 255};
    g[Pane::Drive1] = {40, 1880, 4695, 315};
    g[Pane::Dir1] = {40, 2240, 4695, 1215};
    g[Pane::TView1] = {4800, 1880, 4695, 1580};
    g[Pane::Picture1] = {0, 3450, 9615, 60};
    g[Pane::Picture2] = {4740, 1680, 60, 6135};
    g[Pane::ListView1] = {45, 3495, 4695, 4320};
    g[Pane::ListView2] = {4800, 3495, 4695, 4320};
    g[Pane::StatusBar1] = {0, 7800, 10665, 255};
    return g;
}

void applyResizeRules(PaneGeometry &g, const WindowTwips &w)
{
    const double half = w.W / 2;
    setWidth(g[Pane::Picture1], w.W - 40);
    g[Pane::Picture2].moveLeft(half - 80);
    setHeight(g[Pane::Picture2], w.SH - g[Pane::Picture2].top() - 240);
    setHeight(g[Pane::Dir1], g[Pane::Picture1].top() - g[Pane::Dir1].top());
    setHeight(g[Pane::TView1], g[Pane::Picture1].top() - g[Pane::TView1].top());
    setWidth(g[Pane::txtInfo], w.SW - 80);
    setWidth(g[Pane::Drive1], half - 140);
    setWidth(g[Pane::Dir1], half - 140);
    g[Pane::TView1].moveLeft(g[Pane::Drive1].width() + 120);
    setWidth(g[Pane::TView1], half - 140);
    setWidth(g[Pane::ListView1], half - 140);
    g[Pane::ListView2].moveLeft(g[Pane::Drive1].width() + 120);
    setWidth(g[Pane::ListView2], half - 140);
    fitFileListsBelow(g, w);
    g[Pane::Label3].moveLeft(g[Pane::TView1].left() + 1040);
    g[Pane::Label4].moveLeft(g[Pane::TView1].left());
    setWidth(g[Pane::Label1], g[Pane::ListView1].width() - 940);
    setWidth(g[Pane::Label2], g[Pane::ListView1].width());
    setWidth(g[Pane::Label3], g[Pane::ListView2].width() - 1040);
    setWidth(g[Pane::Label4], g[Pane::ListView2].width());
    // Docked bars span the client area.
    g[Pane::Toolbar1].setWidth(w.SW);
    g[Pane::StatusBar1] = {0, w.SH - g[Pane::StatusBar1].height(), w.SW, g[Pane::StatusBar1].height()};
}

void shiftForToolbar(PaneGeometry &g, bool toolbarShown)
{
    const double shift = toolbarShown ? toolbarShiftTwips : -toolbarShiftTwips;
    for (Pane pane : movingWithToolbar)
        g[pane].moveTop(g[pane].top() + shift);
    setHeight(g[Pane::ListView1], g[Pane::ListView1].height() - shift);
    setHeight(g[Pane::ListView2], g[Pane::ListView2].height() - shift);
}

void dragPicture1(PaneGeometry &g, double pointerY)
{
    g[Pane::Picture1].moveTop(g[Pane::Picture1].top() + pointerY);
}

void dragPicture2(PaneGeometry &g, double pointerX)
{
    g[Pane::Picture2].moveLeft(g[Pane::Picture2].left() + pointerX);
}

void releasePicture1(PaneGeometry &g, const WindowTwips &w)
{
    QRectF &bar = g[Pane::Picture1];
    if (bar.top() < picture1HighestTop)
        bar.moveTop(picture1HighestTop);
    // Checked second, so in a window too short for both bounds the bar stays inside.
    if (w.H - picture1RoomBelow < bar.top())
        bar.moveTop(w.H - picture1RoomBelow);

    for (Pane list : {Pane::ListView1, Pane::ListView2})
        g[list].moveTop(bar.top() + 60);
    fitFileListsBelow(g, w);
    setHeight(g[Pane::Dir1], bar.top() - g[Pane::Dir1].top());
    setHeight(g[Pane::TView1], bar.top() - g[Pane::TView1].top());
}

void releasePicture2(PaneGeometry &g, const WindowTwips &w)
{
    QRectF &bar = g[Pane::Picture2];
    if (bar.left() < picture2LeftmostLeft)
        bar.moveLeft(picture2LeftmostLeft);
    if (w.W - picture2RoomRight < bar.left())
        bar.moveLeft(w.W - picture2RoomRight);

    const double barLeft = bar.left();
    for (Pane localPane : {Pane::ListView1, Pane::Dir1, Pane::Drive1, Pane::Label2})
        setWidth(g[localPane], barLeft - 20);
    setWidth(g[Pane::Label1], barLeft - 980);

    // The remote pane reaches the client area's right edge.
    const double remoteLeft = barLeft + 80;
    const double remoteWidth = w.SW - remoteLeft;
    for (Pane remotePane : {Pane::ListView2, Pane::TView1, Pane::Label4}) {
        g[remotePane].moveLeft(remoteLeft);
        setWidth(g[remotePane], remoteWidth);
    }
    g[Pane::Label3].moveLeft(barLeft + 1120);
    setWidth(g[Pane::Label3], w.SW - g[Pane::Label3].left());
}

QSizeF minimumWindowTwips()
{
    // The horizontal bar keeps its place on resize, so the height must leave
    // its design place within the release bounds, not just the bounds apart.
    const double barDesignTop = designGeometry()[Pane::Picture1].top();
    return {picture2LeftmostLeft + picture2RoomRight, barDesignTop + picture1RoomBelow};
}

} // namespace vendrel
