#pragma once

#include <QDialog>
#include <QFileInfo>
#include <QList>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace vendrel {

class FileSearch;

// Our own file search window, for desktops without a search tool: files whose
// names match a pattern ("*.txt;*.doc") in a folder and its sub-folders.
// A double click on a result opens the file.
class FindFilesWindow final : public QDialog {
    Q_OBJECT
public:
    // openDocument: false when the file could not be opened.
    explicit FindFilesWindow(std::function<bool(const QString &path)> openDocument, QWidget *parent = nullptr);

    // Where the next search starts; a search under way is left alone.
    void setStartFolder(const QString &folder);
    void startSearch();
    void stopSearch();

    QTreeWidget &results() const { return *results_; }
    QLineEdit &nameField() const { return *name_; }
    QLineEdit &folderField() const { return *folder_; }
    QLabel &statusLabel() const { return *status_; }
    bool isSearching() const;

    // Closing the window, by its button, its close box or Escape, stops the search.
    void done(int result) override;

Q_SIGNALS:
    void searchFinished();

private:
    void addResults(const QList<QFileInfo> &files);
    void showEnd(int count, bool stopped);
    void browse();
    void openResult(const QString &path);
    void setSearching(bool searching);

    std::function<bool(const QString &)> openDocument_;
    FileSearch *search_;
    QLineEdit *name_;
    QLineEdit *folder_;
    QCheckBox *subfolders_;
    QPushButton *find_;
    QPushButton *stop_;
    QTreeWidget *results_;
    QLabel *status_;
};

} // namespace vendrel
