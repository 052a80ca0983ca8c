#include "app/icons/Icons.h"

#include <QDirIterator>
#include <QFile>
#include <QIcon>
#include <QSet>
#include <QSvgRenderer>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace vendrel {
namespace {

TEST(Resources, EveryDrawingIsValidAndEveryListAndToolbarPictureIsThere)
{
    initResources();
    int drawings = 0;
    for (QDirIterator it(QStringLiteral(":/icons"), QDir::Files, QDirIterator::Subdirectories); it.hasNext();
         ++drawings)
        EXPECT_TRUE(QSvgRenderer(it.next()).isValid()) << it.filePath().toStdString();
    EXPECT_GE(drawings, 40);
    for (int index = 1; index <= listIconCount; ++index)
        EXPECT_FALSE(listIcon(index).pixmap(16).isNull()) << "list image " << index;
    for (int index = 1; index <= toolbarIconCount; ++index)
        EXPECT_FALSE(toolbarIcon(index).pixmap(24).isNull()) << "toolbar image " << index;
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
