#pragma once

#include <QRectF>
#include <QSizeF>
#include <array>

namespace vendrel {

// The controls placed by the window's own layout rules, in twips (1/1440 inch).
enum class Pane {
    Toolbar1,
    txtInfo,
    Label2,
    Label1,
    Label4,
    Label3,
    Drive1,
    Dir1,
    TView1,
    Picture1,
    Picture2,
    ListView1,
    ListView2,
    StatusBar1,
    Count
};

struct PaneGeometry {
    std::array<QRectF, static_cast<std::size_t>(Pane::Count)> rects;

    QRectF &operator[](Pane pane) { return rects[static_cast<std::size_t>(pane)]; }
    const QRectF &operator[](Pane pane) const { return rects[static_cast<std::size_t>(pane)]; }
};

// Window sizes the rules read, in twips: W and H the outer window,
// SW and SH its client area (below the menu bar).
struct WindowTwips {
    double W = 0;
    double H = 0;
    double SW = 0;
    double SH = 0;
};

// Positions of the design, in a client area of 10665 × 8055.
PaneGeometry designGeometry();

// The resize rules: sizes follow the window, the horizontal bar keeps its
// place, the vertical bar returns to the middle. No size goes below zero.
void applyResizeRules(PaneGeometry &geometry, const WindowTwips &window);

// Hiding the toolbar moves the controls below it up by the toolbar's design
// height and makes both file lists that much taller; showing it undoes that.
void shiftForToolbar(PaneGeometry &geometry, bool toolbarShown);

// Dragging a bar moves only the bar: its top (Picture1) or left (Picture2)
// edge follows the pointer, given in twips from the bar's own corner.
void dragPicture1(PaneGeometry &geometry, double pointerY);
void dragPicture2(PaneGeometry &geometry, double pointerX);

// Releasing a bar keeps it within its bounds and fits the panes on either
// side to it.
void releasePicture1(PaneGeometry &geometry, const WindowTwips &window);
void releasePicture2(PaneGeometry &geometry, const WindowTwips &window);

// The smallest outer window (W × H) in which both bars have room between
// their bounds and the design layout gives no negative size, as long as
// borders, caption and menu bar take less than the 1340 twips the file lists
// keep below the lowest horizontal bar. A window shrunk after the bar was
// dragged low can still squeeze the file lists: they stop at zero height.
QSizeF minimumWindowTwips();

inline constexpr double toolbarShiftTwips = 600;
inline constexpr double twipsPerInch = 1440;

} // namespace vendrel
