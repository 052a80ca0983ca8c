#include "app/icons/Icons.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <functional>
#include <vector>

using namespace vendrel;
using namespace Qt::StringLiterals;

namespace {

struct Row {
    QString title;
    int size;
    QIcon::Mode mode;
    std::vector<QIcon> icons;
};

std::vector<QIcon> range(int count, const std::function<QIcon(int)> &icon)
{
    std::vector<QIcon> icons;
    for (int index = 1; index <= count; ++index)
        icons.push_back(icon(index));
    return icons;
}

std::vector<QIcon> menuPictures()
{
    std::vector<QIcon> icons;
    for (int which = 0; which <= static_cast<int>(MenuPicture::PicMenu8); ++which)
        icons.push_back(menuPicture(static_cast<MenuPicture>(which)));
    return icons;
}

} // namespace

// Draws every picture of the application on light, dark and selection
// backgrounds, so a person can judge them together.
int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        qWarning("usage: icon_contact_sheet output.png");
        return 2;
    }
    initResources();

    const std::vector<QIcon> others = {statusClockIcon(), statusMonitorIcon(), profileRootIcon(), profileFileIcon(),
                                       browseFolderIcon()};
    const std::vector<Row> rows = {
        {u"list 1-13 (16)"_s, 16, QIcon::Normal, range(listIconCount, listIcon)},
        {u"list 1-13 (32)"_s, 32, QIcon::Normal, range(listIconCount, listIcon)},
        {u"large 1-10 (32)"_s, 32, QIcon::Normal, range(largeListIconCount, largeListIcon)},
        {u"toolbar grey (24)"_s, 24, QIcon::Normal, range(toolbarIconCount, toolbarIcon)},
        {u"toolbar colour (24)"_s, 24, QIcon::Active, range(toolbarIconCount, toolbarIcon)},
        {u"toolbar disabled (24)"_s, 24, QIcon::Disabled, range(toolbarIconCount, toolbarIcon)},
        {u"menu (16)"_s, 16, QIcon::Normal, menuPictures()},
        {u"status, profiles (16)"_s, 16, QIcon::Normal, others},
        {u"application"_s, 16, QIcon::Normal, {applicationIcon()}},
        {u"application"_s, 32, QIcon::Normal, {applicationIcon()}},
        {u"application"_s, 64, QIcon::Normal, {applicationIcon()}},
    };
    const std::array backgrounds = {QColor(0xffffff), QColor(0xeff0f1), QColor(0x31363b), QColor(0x3daee9)};

    constexpr int labelWidth = 150, cell = 40, rowHeight = 70, columns = 13;
    const int bandWidth = labelWidth + columns * cell;
    QImage sheet(bandWidth * 2, rowHeight * int(rows.size()) * 2, QImage::Format_ARGB32);
    QPainter painter(&sheet);
    for (std::size_t b = 0; b < backgrounds.size(); ++b) {
        const QRect band((b % 2) * bandWidth, (b / 2) * rowHeight * int(rows.size()), bandWidth,
                         rowHeight * int(rows.size()));
        painter.fillRect(band, backgrounds[b]);
        painter.setPen(backgrounds[b].lightness() > 128 ? Qt::black : Qt::white);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const int top = band.top() + int(r) * rowHeight;
            painter.drawText(band.left() + 6, top + rowHeight / 2, rows[r].title);
            for (std::size_t i = 0; i < rows[r].icons.size(); ++i) {
                const QPixmap pixmap = rows[r].icons[i].pixmap(QSize(rows[r].size, rows[r].size), rows[r].mode);
                painter.drawPixmap(band.left() + labelWidth + int(i) * cell, top + 4, pixmap);
            }
        }
    }
    painter.end();
    return sheet.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
