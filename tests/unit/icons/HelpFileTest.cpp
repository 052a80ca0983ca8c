#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;

namespace {

// The help file as the help window reads it.
class HelpFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile file(QStringLiteral(VENDREL_HELP_FILE));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << VENDREL_HELP_FILE;
        QStringDecoder utf8(QStringDecoder::Utf8);
        html = utf8.decode(file.readAll());
        ASSERT_FALSE(utf8.hasError()) << "not valid UTF-8";
        document.setHtml(html);
    }

    void collectAnchors(QSet<QString> &names, QList<QString> &links) const
    {
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
                const QTextCharFormat format = fragment.fragment().charFormat();
                for (const QString &name : format.anchorNames())
                    names.insert(name);
                if (!format.anchorHref().isEmpty())
                    links.append(format.anchorHref());
            }
        }
    }

    // Every table row as its cells' texts, keyed by the first cell.
    std::map<QString, QString> tableRows() const
    {
        std::map<QString, QString> rows;
        for (QTextFrame *frame : document.rootFrame()->childFrames()) {
            const auto *table = qobject_cast<QTextTable *>(frame);
            if (table == nullptr || table->columns() < 2)
                continue;
            for (int row = 0; row < table->rows(); ++row) {
                const auto text = [&](int column) {
                    const QTextTableCell cell = table->cellAt(row, column);
                    return document.toPlainText().mid(cell.firstPosition(),
                                                      cell.lastPosition() - cell.firstPosition());
                };
                rows[text(0)] = text(1);
            }
        }
        return rows;
    }

    QString html;
    QTextDocument document;
};

TEST_F(HelpFile, OpensAtItsContentsWithTheProductTitle)
{
    EXPECT_EQ(document.metaInformation(QTextDocument::DocumentTitle), u"Aide de Vendrel"_s);
    EXPECT_TRUE(document.toPlainText().contains(u"Sommaire"_s));
}

TEST_F(HelpFile, EveryLinkLeadsToASectionAndEverySectionIsInTheContents)
{
    QSet<QString> names;
    QList<QString> links;
    collectAnchors(names, links);

    QSet<QString> linked;
    for (const QString &link : links) {
        ASSERT_TRUE(link.startsWith(u'#')) << link.toStdString() << " leaves the document";
        EXPECT_TRUE(names.contains(link.mid(1))) << link.toStdString() << " has no target";
        linked.insert(link.mid(1));
    }
    for (const QString &section : {u"connexion"_s, u"serveur"_s, u"local"_s, u"transferts"_s,
                                   u"fichiers"_s, u"journal"_s, u"raccourcis"_s})
        EXPECT_TRUE(linked.contains(section)) << section.toStdString();
}

TEST_F(HelpFile, ShortcutTableNamesTheMenuCommandsAsTheMenusShowThem)
{
    const std::map<QString, QString> expected = {
        {u"Ctrl+O"_s, u"Fichier ▸ Ouvrir fichier Log"_s},
        {u"Ctrl+E"_s, u"Fichier ▸ Enregister fichier Log"_s},
        {u"Ctrl+C"_s, u"Fichier ▸ Se Connecter sur le Serveur"_s},
        {u"Ctrl+D"_s, u"Fichier ▸ Se Déconnecter du Serveur"_s},
        {u"Ctrl+F"_s, u"Fichier ▸ Fin de connexion"_s},
        {u"F4"_s, u"Fichier ▸ Quitter"_s},
        {u"Ctrl+V"_s, u"Mode Local ▸ Envoyer"_s},
        {u"Ctrl+R"_s, u"Mode Local ▸ Recherher un fichier"_s},
        {u"Ctrl+P"_s, u"Mode Local ▸ Propriétés"_s},
        {u"F1"_s, u"Aide ▸ Aide"_s},
        {u"F2"_s, u"Aide ▸ A Propos"_s},
    };
    const std::map<QString, QString> rows = tableRows();
    for (const auto &[keys, command] : expected) {
        const auto row = rows.find(keys);
        ASSERT_NE(row, rows.end()) << keys.toStdString();
        EXPECT_EQ(row->second.toStdString(), command.toStdString());
    }
}

} // namespace
