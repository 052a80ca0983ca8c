#pragma once

#include "local/LocalVolumes.h"
#include "session/SessionContext.h"

#include <QList>
#include <QObject>
#include <QString>
#include <array>

class QAction;
class QComboBox;
class QLabel;
class QMenu;

namespace vendrel {

class FileListModel;
class FileListView;
class LocalFolderList;

// The items of the local "Filtre" menu; exactly one carries the check mark.
struct LocalFilterItems {
    QAction &zAll;
    QAction &Z_HTML;
    QAction &Z_Images;
    QAction &Z_Zip;
    QAction &Z_Exe;
    QAction &zDefine;
};

// The widgets of the local pane.
struct LocalPane {
    QComboBox &Drive1;
    LocalFolderList &Dir1;
    FileListView &ListView1;
    FileListModel &files;
    QLabel &Label1;
    QMenu &zLocal; // also the context menu of ListView1
    LocalFilterItems filters;
};

// Lists local folders into the pane: the volumes in Drive1, the folders in
// Dir1, the files that match the filter in ListView1, the folder in Label1,
// and answers the pane's viewing events (sorting, selection summary,
// context menu). It connects the pane's widgets to its handlers itself.
class LocalBrowser final : public QObject {
    Q_OBJECT
public:
    LocalBrowser(SessionContext context, LocalPane pane);

    // Makes the folder current and lists it (at start-up, after a connect,
    // for the saved logs).
    void openFolder(const QString &folder);
    // Lists Dir1's folder again. A folder that has vanished or cannot be read
    // gives way, with a message, to its nearest readable ancestor.
    void ListLocalFolder();
    // Reads Dir1's sub-folders again; the file list stays as it is.
    void refreshFolderList();

    void zLokRef_Click();
    void zAll_Click();
    void Z_HTML_Click();
    void Z_Images_Click();
    void Z_Zip_Click();
    void Z_Exe_Click();
    void zDefine_Click();

    void Drive1_Change();
    void Drive1_GotFocus();
    void Dir1_Click();
    void Dir1_Change();
    // column: 0-based.
    void ListView1_ColumnClick(int column);
    void ListView1_Click();
    void ListView1_MouseDown(const QPoint &globalPosition);

    const LocalPane &pane() const { return pane_; }
    const QString &filterPattern() const { return pattern_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void chooseFilter(QAction &item, const QString &pattern);
    std::array<QAction *, 6> filterItems() const;
    void showVolumes(const QString &folder);
    void showFolderPath();
    void reportFolderGone(const QString &requested, const QString &shown);

    SessionContext context_;
    LocalPane pane_;
    QString pattern_ = QStringLiteral("*.*");
    QList<LocalVolume> volumes_;
};

} // namespace vendrel
