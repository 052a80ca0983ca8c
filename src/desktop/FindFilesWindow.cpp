#include "desktop/FindFilesWindow.h"

#include "desktop/FileSearch.h"
#include "platform/Clock.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>

namespace vendrel {

namespace {

enum ResultColumn { NameColumn, FolderColumn, SizeColumn, ModifiedColumn };

QString countText(int count)
{
    return count == 1 ? QStringLiteral("1 fichier trouvé") : QStringLiteral("%1 fichiers trouvés").arg(count);
}

} // namespace

FindFilesWindow::FindFilesWindow(std::function<bool(const QString &)> openDocument, QWidget *parent)
    : QDialog(parent),
      openDocument_(std::move(openDocument)),
      search_(new FileSearch(this)),
      name_(new QLineEdit(QStringLiteral("*.*"), this)),
      folder_(new QLineEdit(this)),
      subfolders_(new QCheckBox(QStringLiteral("Inclure les &sous-dossiers"), this)),
      find_(new QPushButton(QStringLiteral("&Rechercher"), this)),
      stop_(new QPushButton(QStringLiteral("&Arrêter"), this)),
      results_(new QTreeWidget(this)),
      status_(new QLabel(this))
{
    setObjectName(QStringLiteral("FindFilesWindow"));
    setWindowTitle(QStringLiteral("Rechercher des fichiers"));

    name_->setObjectName(QStringLiteral("name"));
    name_->setPlaceholderText(QStringLiteral("*.txt;*.doc"));
    name_->setToolTip(QStringLiteral("* remplace plusieurs caractères, ? un seul ; séparer les modèles par ;"));
    folder_->setObjectName(QStringLiteral("folder"));
    subfolders_->setChecked(true);
    find_->setDefault(true);
    stop_->setEnabled(false);
    auto *browse = new QPushButton(QStringLiteral("&Parcourir..."), this);

    auto *nameCaption = new QLabel(QStringLiteral("&Nom du fichier :"), this);
    nameCaption->setBuddy(name_);
    auto *folderCaption = new QLabel(QStringLiteral("&Dans le dossier :"), this);
    folderCaption->setBuddy(folder_);

    results_->setObjectName(QStringLiteral("results"));
    results_->setAccessibleName(QStringLiteral("Fichiers trouvés"));
    results_->setHeaderLabels({QStringLiteral("Nom"), QStringLiteral("Dossier"), QStringLiteral("Taille en octets"),
                               QStringLiteral("Modifié le")});
    results_->setRootIsDecorated(false);
    results_->setUniformRowHeights(true);
    results_->setAlternatingRowColors(true);
    results_->setSortingEnabled(false);
    results_->header()->setStretchLastSection(false);
    results_->header()->setSectionResizeMode(FolderColumn, QHeaderView::Stretch);
    results_->setColumnWidth(NameColumn, 180);
    results_->setColumnWidth(SizeColumn, 110);
    results_->setColumnWidth(ModifiedColumn, 140);
    status_->setObjectName(QStringLiteral("status"));
    status_->setTextFormat(Qt::PlainText);

    auto *close = new QPushButton(QStringLiteral("&Fermer"), this);
    auto *grid = new QGridLayout(this);
    grid->addWidget(nameCaption, 0, 0);
    grid->addWidget(name_, 0, 1, 1, 2);
    grid->addWidget(find_, 0, 3);
    grid->addWidget(folderCaption, 1, 0);
    grid->addWidget(folder_, 1, 1);
    grid->addWidget(browse, 1, 2);
    grid->addWidget(stop_, 1, 3);
    grid->addWidget(subfolders_, 2, 1, 1, 3);
    grid->addWidget(results_, 3, 0, 1, 4);
    grid->addWidget(status_, 4, 0, 1, 3);
    grid->addWidget(close, 4, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
    resize(640, 400);

    connect(find_, &QPushButton::clicked, this, &FindFilesWindow::startSearch);
    connect(stop_, &QPushButton::clicked, this, &FindFilesWindow::stopSearch);
    connect(browse, &QPushButton::clicked, this, &FindFilesWindow::browse);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(search_, &FileSearch::found, this, &FindFilesWindow::addResults);
    connect(search_, &FileSearch::finished, this, &FindFilesWindow::showEnd);
    connect(results_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { openResult(item->data(NameColumn, Qt::UserRole).toString()); });
}

void FindFilesWindow::setStartFolder(const QString &folder)
{
    if (!isSearching())
        folder_->setText(QDir::toNativeSeparators(folder));
}

bool FindFilesWindow::isSearching() const
{
    return search_->isRunning();
}

void FindFilesWindow::startSearch()
{
    const QString folder = QDir::fromNativeSeparators(folder_->text().trimmed());
    results_->clear();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        status_->setText(QStringLiteral("Le dossier \"") + folder + QStringLiteral("\" n'existe pas."));
        return;
    }
    const QString pattern = name_->text().trimmed().isEmpty() ? QStringLiteral("*.*") : name_->text();
    setSearching(true);
    status_->setText(QStringLiteral("Recherche en cours..."));
    search_->start(folder, pattern, subfolders_->isChecked());
}

void FindFilesWindow::stopSearch()
{
    search_->stop();
}

void FindFilesWindow::addResults(const QList<QFileInfo> &files)
{
    static const QFileIconProvider icons;
    const QLocale locale;
    QList<QTreeWidgetItem *> items;
    items.reserve(files.size());
    for (const QFileInfo &file : files) {
        auto *item = new QTreeWidgetItem;
        item->setText(NameColumn, file.fileName());
        item->setIcon(NameColumn, icons.icon(QFileIconProvider::File));
        item->setData(NameColumn, Qt::UserRole, file.filePath());
        item->setText(FolderColumn, QDir::toNativeSeparators(file.path()));
        item->setText(SizeColumn, locale.toString(file.size()));
        item->setTextAlignment(SizeColumn, Qt::AlignRight | Qt::AlignVCenter);
        const QDateTime modified = file.lastModified();
        item->setText(ModifiedColumn, shortDateText(modified.date()) + u' ' + timeOfDayText(modified.time()));
        items.append(item);
    }
    results_->addTopLevelItems(items);
    status_->setText(QStringLiteral("Recherche en cours... ") + countText(results_->topLevelItemCount()));
}

void FindFilesWindow::showEnd(int count, bool stopped)
{
    setSearching(false);
    status_->setText(countText(count) + (stopped ? QStringLiteral(" (recherche arrêtée).") : QStringLiteral(".")));
    Q_EMIT searchFinished();
}

void FindFilesWindow::browse()
{
    const QString folder =
        QFileDialog::getExistingDirectory(this, QStringLiteral("Rechercher dans le dossier"), folder_->text());
    if (!folder.isEmpty())
        folder_->setText(QDir::toNativeSeparators(folder));
}

void FindFilesWindow::openResult(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        status_->setText(QStringLiteral("Le fichier \"") + path + QStringLiteral("\" n'existe plus."));
        return;
    }
    if (!openDocument_(path))
        status_->setText(QStringLiteral("Aucun programme n'a pu ouvrir \"") + path + QStringLiteral("\"."));
}

void FindFilesWindow::setSearching(bool searching)
{
    find_->setEnabled(!searching);
    stop_->setEnabled(searching);
}

void FindFilesWindow::done(int result)
{
    search_->stop();
    QDialog::done(result);
}

} // namespace vendrel
