#include "app/icons/Icons.h"

#include <QDirIterator>
#include <QImage>
#include <QPixmap>
#include <QSvgRenderer>
#include <gtest/gtest.h>

#include <array>

using namespace vendrel;

namespace {

constexpr std::array allMenuPictures = {
    MenuPicture::PicMenuIndex0, MenuPicture::PicMenuIndex1, MenuPicture::PicMenuIndex2,
    MenuPicture::PicMenuIndex3, MenuPicture::PicMenu2,      MenuPicture::PicMenu3,
    MenuPicture::PicMenu4,      MenuPicture::PicMenu5,      MenuPicture::PicMenu6,
    MenuPicture::PicMenu7,      MenuPicture::PicMenu8,
};

QImage imageOf(const QIcon &icon, int size, QIcon::Mode mode = QIcon::Normal)
{
    return icon.pixmap(QSize(size, size), mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

int opaquePixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) == 255;
    return count;
}

bool everyOpaquePixelGrey(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 255 && (qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel)))
                return false;
        }
    }
    return true;
}

// A picture that shows something (more solid pixels than one line), at its exact size.
void expectDrawn(const QIcon &icon, int size, const char *what)
{
    ASSERT_FALSE(icon.isNull()) << what;
    const QImage image = imageOf(icon, size);
    EXPECT_EQ(image.size(), QSize(size, size)) << what;
    EXPECT_GT(opaquePixels(image), size) << what << " at " << size;
}

class Icons : public ::testing::Test {
protected:
    static void SetUpTestSuite() { initResources(); }
};

TEST_F(Icons, EveryCompiledDrawingIsValidSvg)
{
    int drawings = 0;
    for (QDirIterator it(QStringLiteral(":/icons"), QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        if (!it.fileInfo().isFile())
            continue;
        ++drawings;
        EXPECT_TRUE(QSvgRenderer(path).isValid()) << path.toStdString();
    }
    EXPECT_GE(drawings, 40);
}

TEST_F(Icons, ListImagesAreDrawnAtSmallAndLargeSizes)
{
    for (int index = 1; index <= listIconCount; ++index) {
        expectDrawn(listIcon(index), 16, "list image");
        expectDrawn(listIcon(index), 32, "list image");
    }
    for (int index = 1; index <= largeListIconCount; ++index)
        expectDrawn(largeListIcon(index), 32, "large list image");
}

TEST_F(Icons, FileCategoriesUseTheirLargeDrawingAt32Pixels)
{
    for (int index = 1; index <= largeListIconCount; ++index)
        EXPECT_TRUE(imageOf(listIcon(index), 32) == imageOf(largeListIcon(index), 32)) << index;
}

TEST_F(Icons, EachIndexHasItsOwnPicture)
{
    for (int a = 1; a <= listIconCount; ++a)
        for (int b = a + 1; b <= listIconCount; ++b)
            EXPECT_FALSE(imageOf(listIcon(a), 16) == imageOf(listIcon(b), 16)) << a << " / " << b;
    for (int a = 1; a <= toolbarIconCount; ++a)
        for (int b = a + 1; b <= toolbarIconCount; ++b)
            EXPECT_FALSE(imageOf(toolbarIcon(a), 24, QIcon::Active) == imageOf(toolbarIcon(b), 24, QIcon::Active))
                << a << " / " << b;
}

TEST_F(Icons, ToolbarImagesRestInGreyAndLightUpInColour)
{
    for (int index = 1; index <= toolbarIconCount; ++index) {
        expectDrawn(toolbarIcon(index), 24, "toolbar image");
        EXPECT_TRUE(everyOpaquePixelGrey(imageOf(toolbarIcon(index), 24, QIcon::Normal))) << index;
        EXPECT_FALSE(everyOpaquePixelGrey(imageOf(toolbarIcon(index), 24, QIcon::Active))) << index;
    }
}

TEST_F(Icons, MenuStatusProfileAndApplicationPicturesAreDrawn)
{
    for (MenuPicture which : allMenuPictures)
        expectDrawn(menuPicture(which), 16, "menu picture");
    expectDrawn(statusClockIcon(), 16, "clock");
    expectDrawn(statusMonitorIcon(), 16, "monitor");
    expectDrawn(profileRootIcon(), 16, "profile root");
    expectDrawn(profileFileIcon(), 16, "profile file");
    expectDrawn(browseFolderIcon(), 16, "browse");
    for (int size : {16, 32, 48, 256})
        expectDrawn(applicationIcon(), size, "application");
}

// The three monitors share one drawing; only their screens differ.
TEST_F(Icons, MonitorScreensShowTheirOwnColour)
{
    const auto screenCentre = [](MenuPicture which) { return imageOf(menuPicture(which), 16).pixel(10, 7); };
    const QRgb blue = screenCentre(MenuPicture::PicMenuIndex2);
    const QRgb red = screenCentre(MenuPicture::PicMenuIndex3);
    const QRgb green = screenCentre(MenuPicture::PicMenu7);
    EXPECT_GT(qBlue(blue), qRed(blue));
    EXPECT_GT(qRed(red), qBlue(red));
    EXPECT_GT(qGreen(green), qRed(green));
    EXPECT_GT(qGreen(green), qBlue(green));
}

TEST_F(Icons, IndexesOutOfRangeGiveNullIcons)
{
    for (int index : {-1, 0, listIconCount + 1})
        EXPECT_TRUE(listIcon(index).isNull()) << index;
    for (int index : {0, largeListIconCount + 1})
        EXPECT_TRUE(largeListIcon(index).isNull()) << index;
    for (int index : {0, toolbarIconCount + 1})
        EXPECT_TRUE(toolbarIcon(index).isNull()) << index;
}

TEST_F(Icons, IconsAreBuiltOnceAndShared)
{
    EXPECT_EQ(listIcon(7).cacheKey(), listIcon(7).cacheKey());
    EXPECT_EQ(toolbarIcon(3).cacheKey(), toolbarIcon(3).cacheKey());
    EXPECT_EQ(menuPicture(MenuPicture::PicMenu8).cacheKey(), menuPicture(MenuPicture::PicMenu8).cacheKey());
}

} // namespace
