#pragma once

#include <QIcon>

namespace vendrel {

// The pictures beside menu items, named after the image controls of the main
// window: the picMenu array (indexes 0..3) and picMenu2..picMenu8.
enum class MenuPicture {
    PicMenuIndex0, // open yellow folder
    PicMenuIndex1, // floppy disk
    PicMenuIndex2, // monitor with a blue screen
    PicMenuIndex3, // monitor with a red screen
    PicMenu2,      // networked computers with a red cross
    PicMenu3,      // dark red refresh mark
    PicMenu4,      // document with motion lines
    PicMenu5,      // "i" information sign
    PicMenu6,      // magnifying glass
    PicMenu7,      // monitor with a green screen
    PicMenu8,      // yellow square with a blue "?"
};

// Registers the pictures compiled into this library. The functions below do
// it on first use; calling it again does nothing. All of them need a
// QGuiApplication.
void initResources();

// Images of the file lists and the remote folder tree, 1..13: the ten file
// categories 1..10, the server root 11, a folder 12, the open folder 13.
// Categories carry their large drawing at 32 px and above.
QIcon listIcon(int index);
// Large-icon view images of the file lists, 1..10.
QIcon largeListIcon(int index);
// Toolbar images 1..10: grey in Normal mode, in colour in Active mode (hover).
QIcon toolbarIcon(int index);
QIcon menuPicture(MenuPicture which);

QIcon statusClockIcon();
QIcon statusMonitorIcon();
QIcon profileRootIcon();
QIcon profileFileIcon();
// The browse button of the connection dialog.
QIcon browseFolderIcon();
QIcon applicationIcon();

// Out-of-range indexes give a null icon.
inline constexpr int listIconCount = 13;
inline constexpr int largeListIconCount = 10;
inline constexpr int toolbarIconCount = 10;

} // namespace vendrel
