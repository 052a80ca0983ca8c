#pragma once

#include "app/icons/Icons.h"
#include "listing/FileListModel.h"
#include "listing/FileListView.h"
#include "local/LocalBrowser.h"
#include "local/LocalFolderList.h"
#include "support/SessionHarness.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace vendrel::test {

// The local pane's widgets in a small window, over a real temporary folder,
// with the session's fakes.
struct LocalPaneFixture : SessionHarness {
    LocalPaneFixture()
    {
        files.setIcons(&listIcon);
        auto *layout = new QVBoxLayout(&window);
        for (QWidget *widget : {static_cast<QWidget *>(&Label1), static_cast<QWidget *>(&Drive1),
                                static_cast<QWidget *>(&Dir1), static_cast<QWidget *>(&ListView1)})
            layout->addWidget(widget);
        for (QAction *item : {&zAll, &Z_HTML, &Z_Images, &Z_Zip, &Z_Exe, &zDefine})
            zLocal.addAction(item);
    }

    QString statusText() const { return status.panelText(StatusPanels::MessagePanel); }

    ShownMessage lastMessage() const
    {
        if (dialogs.messages.isEmpty()) {
            ADD_FAILURE() << "no message was shown";
            return {};
        }
        return dialogs.messages.last();
    }

    QStringList rowNames() const
    {
        QStringList names;
        for (int row = 0; row < files.rowCount(); ++row)
            names.append(files.cellText(row, FileListModel::Name));
        return names;
    }

    int rowOf(const QString &name) const { return static_cast<int>(rowNames().indexOf(name)); }

    // The entries of Dir1 from top to bottom.
    QStringList folderEntries() const
    {
        QStringList entries;
        for (QTreeWidgetItemIterator it(const_cast<LocalFolderList *>(&Dir1)); *it != nullptr; ++it)
            entries.append((*it)->text(0));
        return entries;
    }

    static void setModified(const QString &path, const QDateTime &time)
    {
        QFile file(path);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(time, QFileDevice::FileModificationTime);
    }

    QWidget window;
    QLabel Label1;
    QComboBox Drive1;
    LocalFolderList Dir1{listIcon(12), listIcon(13)};
    FileListModel files{FileListKind::Local};
    FileListView ListView1{files, QStringLiteral("Fichiers locaux")};
    QMenu zLocal;
    QAction zAll{QStringLiteral("&Tous les fichiers (*.*)")};
    QAction Z_HTML{QStringLiteral("Fichiers &HTML")};
    QAction Z_Images{QStringLiteral("Fichiers images (GIF-JPEG)")};
    QAction Z_Zip{QStringLiteral("Fichiers &ZIP")};
    QAction Z_Exe{QStringLiteral("Fichiers EXE")};
    QAction zDefine{QStringLiteral("&Définir le type de filtre (*.?)")};
    LocalBrowser browser{context(), LocalPane{Drive1, Dir1, ListView1, files, Label1, zLocal,
                                              {zAll, Z_HTML, Z_Images, Z_Zip, Z_Exe, zDefine}}};
    TempFolder temp;
};

} // namespace vendrel::test
