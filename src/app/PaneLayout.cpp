#include "app/PaneLayout.h"

#include <algorithm>

namespace vendrel {

namespace {

void setWidth(QRectF &rect, double width) { rect.setWidth(std::max(0.0, width)); }
void setHeight(QRectF &rect, double height) { rect.setHeight(std::max(0.0, height)); }

constexpr Pane movingWithToolbar[] = {Pane::Picture1, Pane::txtInfo, Pane::TView1, Pane::Drive1,
                                      Pane::Dir1,     Pane::ListView1, Pane::ListView2, Pane::Label1,
                                      Pane::Label2,   Pane::Label3, Pane::Label4};

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
    setHeight(g[Pane::ListView1], w.SH - (g[Pane::Picture1].top() + 260));
    setHeight(g[Pane::ListView2], w.SH - (g[Pane::Picture1].top() + 260));
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

} // namespace vendrel
