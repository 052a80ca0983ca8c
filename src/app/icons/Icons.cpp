#include "app/icons/Icons.h"

#include "app/icons/SvgDrawing.h"

#include <QHash>
#include <QPixmap>

#include <array>
#include <functional>
#include <initializer_list>

using namespace Qt::StringLiterals;

// Q_INIT_RESOURCE must be expanded outside any namespace.
static void registerCompiledResources()
{
    Q_INIT_RESOURCE(vendrel);
}

namespace vendrel {

namespace {

using icons::SvgDrawing;

QString svg(QStringView name)
{
    return u":/icons/%1.svg"_s.arg(name);
}

// The named drawings painted bottom to top.
SvgDrawing layered(std::initializer_list<QStringView> names)
{
    SvgDrawing layers;
    for (QStringView name : names)
        layers.layers.append(svg(name));
    return layers;
}

SvgDrawing drawing(QStringView name)
{
    return layered({name});
}

// The screen colour of menu/monitor.svg, swapped for the other screens.
constexpr QStringView blueScreen = u"#3b82d6";

SvgDrawing monitorWithScreen(QString colour)
{
    return {{svg(u"menu/monitor")}, {{blueScreen.toString(), std::move(colour)}}};
}

// Drawing names of the file categories 1..10, the same in files/small and files/large.
constexpr std::array<QStringView, largeListIconCount> fileCategories = {
    u"image", u"web", u"text", u"gif", u"script", u"audio", u"archive", u"video", u"program", u"file",
};

// Tree images 11..13.
constexpr std::array<QStringView, listIconCount - largeListIconCount> treeImages = {
    u"tree/server",
    u"tree/folder",
    u"tree/folder-open",
};

SvgDrawing toolbarDrawing(int index)
{
    switch (index) {
    case 1: return drawing(u"toolbar/pen");
    case 2: return layered({u"toolbar/monitor", u"toolbar/badge-cross"});
    case 3: return layered({u"toolbar/document", u"toolbar/badge-cross"});
    case 4: return drawing(u"toolbar/transfer");
    case 5: return layered({u"toolbar/folder", u"toolbar/badge-star"});
    case 6: return drawing(u"toolbar/refresh");
    case 7: return layered({u"toolbar/monitor", u"toolbar/badge-plug"});
    case 8: return layered({u"toolbar/folder", u"toolbar/badge-cross"});
    case 9: return layered({u"toolbar/bin-papers", u"toolbar/bin-body"});
    case 10: return layered({u"toolbar/bin-body", u"toolbar/bin-lid"});
    }
    return {};
}

SvgDrawing menuDrawing(MenuPicture which)
{
    switch (which) {
    case MenuPicture::PicMenuIndex0: return drawing(u"tree/folder-open");
    case MenuPicture::PicMenuIndex1: return drawing(u"menu/floppy");
    case MenuPicture::PicMenuIndex2: return drawing(u"menu/monitor");
    case MenuPicture::PicMenuIndex3: return monitorWithScreen(u"#d9413a"_s);
    case MenuPicture::PicMenu2: return drawing(u"menu/network-cross");
    case MenuPicture::PicMenu3: return drawing(u"menu/refresh");
    case MenuPicture::PicMenu4: return drawing(u"menu/document-send");
    case MenuPicture::PicMenu5: return drawing(u"menu/information");
    case MenuPicture::PicMenu6: return drawing(u"menu/magnifier");
    case MenuPicture::PicMenu7: return monitorWithScreen(u"#3aa35b"_s);
    case MenuPicture::PicMenu8: return drawing(u"menu/help");
    }
    return {};
}

// Sizes rendered for each kind of picture: the design size and its double
// for high-density screens.
constexpr std::array smallSizes = {16, 32};
constexpr std::array largeSizes = {32, 64};
constexpr std::array toolbarSizes = {24, 48};
constexpr std::array applicationSizes = {16, 24, 32, 48, 64, 128, 256};

template <std::size_t N>
void addRenderings(QIcon &icon, const SvgDrawing &source, const std::array<int, N> &sizes,
                   QIcon::Mode mode = QIcon::Normal)
{
    for (int size : sizes)
        icon.addPixmap(QPixmap::fromImage(icons::render(source, size)), mode);
}

template <std::size_t N>
QIcon iconOf(const SvgDrawing &source, const std::array<int, N> &sizes)
{
    QIcon icon;
    addRenderings(icon, source, sizes);
    return icon;
}

// Every icon is drawn once, on first use, and shared afterwards.
QIcon cached(const QString &key, const std::function<QIcon()> &build)
{
    initResources();
    static QHash<QString, QIcon> icons;
    const auto found = icons.constFind(key);
    if (found != icons.constEnd())
        return *found;
    return *icons.insert(key, build());
}

bool inRange(int index, int count)
{
    return index >= 1 && index <= count;
}

SvgDrawing smallFileDrawing(int index)
{
    return drawing(u"files/small/%1"_s.arg(fileCategories[index - 1]));
}

SvgDrawing largeFileDrawing(int index)
{
    return drawing(u"files/large/%1"_s.arg(fileCategories[index - 1]));
}

} // namespace

void initResources()
{
    static const bool registered = (registerCompiledResources(), true);
    Q_UNUSED(registered);
}

QIcon listIcon(int index)
{
    if (!inRange(index, listIconCount))
        return {};
    return cached(u"list/%1"_s.arg(index), [index] {
        if (index > largeListIconCount)
            return iconOf(drawing(treeImages[index - largeListIconCount - 1]), smallSizes);
        QIcon icon;
        addRenderings(icon, smallFileDrawing(index), std::array{16});
        addRenderings(icon, largeFileDrawing(index), largeSizes);
        return icon;
    });
}

QIcon largeListIcon(int index)
{
    if (!inRange(index, largeListIconCount))
        return {};
    return cached(u"large/%1"_s.arg(index), [index] { return iconOf(largeFileDrawing(index), largeSizes); });
}

QIcon toolbarIcon(int index)
{
    if (!inRange(index, toolbarIconCount))
        return {};
    return cached(u"toolbar/%1"_s.arg(index), [index] {
        QIcon icon;
        for (int size : toolbarSizes) {
            const QImage colour = icons::render(toolbarDrawing(index), size);
            icon.addPixmap(QPixmap::fromImage(icons::greyed(colour)), QIcon::Normal);
            icon.addPixmap(QPixmap::fromImage(colour), QIcon::Active);
        }
        return icon;
    });
}

QIcon menuPicture(MenuPicture which)
{
    return cached(u"menu/%1"_s.arg(static_cast<int>(which)),
                  [which] { return iconOf(menuDrawing(which), smallSizes); });
}

QIcon statusClockIcon()
{
    return cached(u"status/clock"_s, [] { return iconOf(drawing(u"status/clock"), smallSizes); });
}

QIcon statusMonitorIcon()
{
    return menuPicture(MenuPicture::PicMenuIndex2);
}

QIcon profileRootIcon()
{
    return cached(u"profiles/root"_s, [] {
        return iconOf(layered({u"tree/folder", u"profiles/badge-user"}), smallSizes);
    });
}

QIcon profileFileIcon()
{
    return cached(u"profiles/file"_s, [] {
        return iconOf(layered({u"files/small/file", u"profiles/badge-user"}), smallSizes);
    });
}

QIcon browseFolderIcon()
{
    return menuPicture(MenuPicture::PicMenuIndex0);
}

QIcon applicationIcon()
{
    return cached(u"application"_s, [] { return iconOf(drawing(u"app/vendrel"), applicationSizes); });
}

} // namespace vendrel
