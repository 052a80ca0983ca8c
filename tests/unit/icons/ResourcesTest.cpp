#include "app/icons/Icons.h"

#include <QDirIterator>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QSet>
#include <QSvgRenderer>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace vendrel {
namespace {

// A picture that shows more solid pixels than one line at its size.
bool drawsSomething(const QIcon &icon, int size)
{
    const QImage image = icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            opaque += qAlpha(image.pixel(x, y)) == 255;
    return image.size() == QSize(size, size) && opaque > size;
}

TEST(Resources, EveryDrawingIsValidAndEveryPictureShowsSomething)
{
    initResources();
    int drawings = 0;
    for (QDirIterator it(QStringLiteral(":/icons"), QDir::Files, QDirIterator::Subdirectories); it.hasNext(); ++drawings)
        EXPECT_TRUE(QSvgRenderer(it.next()).isValid()) << it.filePath().toStdString();
    EXPECT_GE(drawings, 40);
    for (int index = 1; index <= listIconCount; ++index)
        EXPECT_TRUE(drawsSomething(listIcon(index), 16)) << "list image " << index;
    for (int index = 1; index <= toolbarIconCount; ++index)
        EXPECT_TRUE(drawsSomething(toolbarIcon(index), 24)) << "toolbar image " << index;
    EXPECT_TRUE(drawsSomething(applicationIcon(), 48));
}

TEST(Resources, EveryLinkOfTheHelpFileLeadsToOneOfItsSections)
{
    QFile file(QStringLiteral(VENDREL_HELP_FILE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QTextDocument help;
    help.setHtml(QString::fromUtf8(file.readAll()));
    QSet<QString> sections;
    QStringList links;
    for (QTextBlock block = help.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            for (const QString &name : format.anchorNames())
                sections.insert(name);
            if (format.isAnchor() && !format.anchorHref().isEmpty())
                links.append(format.anchorHref());
        }
    }
    EXPECT_GE(links.size(), 7);
    for (const QString &link : links)
        EXPECT_TRUE(link.startsWith(u'#') && sections.contains(link.mid(1))) << link.toStdString();
}

} // namespace
} // namespace vendrel
