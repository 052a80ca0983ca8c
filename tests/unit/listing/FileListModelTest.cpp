#include "listing/FileListModel.h"
#include "listing/FileListView.h"
#include "transfer/TransferBatch.h"

#include <QAbstractItemModelTester>
#include <QTreeView>
#include <QLineEdit>
#include <QTest>
#include <QListView>
#include <gtest/gtest.h>
#include <limits>

namespace vendrel {
namespace {

std::vector<FileRow> twoFiles()
{
    return {{QStringLiteral("a.zip"), 1536, QDateTime(QDate(2006, 12, 5), QTime(9, 7), Qt::UTC), 7},
            {QStringLiteral("big.iso"), 5'000'000'000LL, QDateTime(QDate(2025, 3, 4), QTime(0, 0), Qt::UTC), 10}};
}

TEST(FileListModel, ServerRowsShowKoOf1024AndPlainBytes)
{
    FileListModel model(FileListKind::Remote);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.appendRows(twoFiles());

    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.cellText(0, FileListModel::Name), QStringLiteral("a.zip"));
    EXPECT_EQ(model.cellText(0, FileListModel::SizeKo), QStringLiteral("1,5Ko"));
    EXPECT_EQ(model.cellText(0, FileListModel::DateTime), QStringLiteral("5.12.2006 9:07"));
    EXPECT_EQ(model.cellText(0, FileListModel::SizeBytes), QStringLiteral("1536"));
    // Sizes past 4 GiB are shown whole.
    EXPECT_EQ(model.cellText(1, FileListModel::SizeBytes), QStringLiteral("5000000000"));
    EXPECT_EQ(model.cellText(1, FileListModel::SizeKo), QStringLiteral("4 882 812,5Ko"));
    EXPECT_EQ(model.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Taille en octets"));
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Fichiers"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Taille en Ko"));
    EXPECT_EQ(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Date/Heure"));
}

TEST(FileListModel, LocalRowsShowKoOf1000AndBytesAfterABlank)
{
    FileListModel model(FileListKind::Local);
    model.appendRows(twoFiles());
    EXPECT_EQ(model.cellText(0, FileListModel::SizeKo), QStringLiteral("1,54 Ko"));
    EXPECT_EQ(model.cellText(0, FileListModel::SizeBytes), QStringLiteral(" 1536"));
    EXPECT_EQ(model.cellText(1, FileListModel::DateTime), QStringLiteral("04/03/2025")); // midnight: the date alone
    EXPECT_EQ(model.cellText(0, FileListModel::DateTime), QStringLiteral("05/12/2006 09:07:00"));
    EXPECT_EQ(model.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Taille en Octets"));
}

TEST(FileListModel, IconsFollowTheRowCategory)
{
    FileListModel model(FileListKind::Remote);
    QPixmap red(16, 16);
    red.fill(Qt::red);
    model.setIcons([&red](int index) { return index == 7 ? QIcon(red) : QIcon(); });
    model.appendRows(twoFiles());
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_TRUE(model.data(model.index(1, 0), Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_FALSE(model.data(model.index(0, 1), Qt::DecorationRole).isValid());
}

TEST(FileListModel, AppendingInBatchesKeepsOrderAndClearEmpties)
{
    FileListModel model(FileListKind::Remote);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.appendRows(twoFiles());
    model.appendRows({{QStringLiteral("c.txt"), 0, {}, 3}});
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.cellText(2, FileListModel::SizeKo), QStringLiteral(",Ko"));
    EXPECT_EQ(model.cellText(2, FileListModel::SizeBytes), QStringLiteral("0"));
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(FileListView, ModesShareOneSelectionAndCurrentRow)
{
    FileListModel model(FileListKind::Remote);
    model.appendRows(twoFiles());
    FileListView view(model, QStringLiteral("Fichiers du serveur"));
    EXPECT_EQ(view.currentRow(), -1);
    view.selectRow(1);
    view.setViewMode(FileListView::LargeIcons);
    EXPECT_EQ(view.activeView(), static_cast<QAbstractItemView *>(view.iconView()));
    EXPECT_EQ(view.currentRow(), 1);
    view.selectRow(0, true);
    EXPECT_EQ(view.selectedRows(), (QList<int>{0, 1}));
    view.setViewMode(FileListView::Details);
    EXPECT_EQ(view.detailsView()->selectionModel()->selectedRows().size(), 2);
    view.clearCurrentRow();
    EXPECT_EQ(view.currentRow(), -1);
    EXPECT_TRUE(view.selectedRows().isEmpty());
}

} // namespace
} // namespace vendrel

namespace vendrel {
namespace {

std::vector<FileRow> threeFiles()
{
    return {{QStringLiteral("b.txt"), 1024, QDateTime(QDate(2020, 1, 2), QTime(8, 0), Qt::UTC), 3},
            {QStringLiteral("A.zip"), 900, QDateTime(QDate(2024, 5, 6), QTime(9, 0), Qt::UTC), 7},
            {QStringLiteral("c.gif"), 10'000'000'000LL, QDateTime(QDate(2019, 3, 4), QTime(7, 0), Qt::UTC), 4}};
}

QStringList names(const FileListModel &model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result.append(model.cellText(row, FileListModel::Name));
    return result;
}

TEST(FileListSorting, SizesByBytesDatesByTimeNamesIgnoringCase)
{
    FileListModel model(FileListKind::Local);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.appendRows(threeFiles());
    model.sortBy(FileListModel::SizeBytes, Qt::AscendingOrder);
    // 900 before 1024, which a text sort of " 900" and " 1024" would not give.
    EXPECT_EQ(names(model), (QStringList{QStringLiteral("A.zip"), QStringLiteral("b.txt"), QStringLiteral("c.gif")}));
    model.sortBy(FileListModel::SizeKo, Qt::DescendingOrder);
    EXPECT_EQ(names(model), (QStringList{QStringLiteral("c.gif"), QStringLiteral("b.txt"), QStringLiteral("A.zip")}));
    model.sortBy(FileListModel::DateTime, Qt::AscendingOrder);
    EXPECT_EQ(names(model), (QStringList{QStringLiteral("c.gif"), QStringLiteral("b.txt"), QStringLiteral("A.zip")}));
    model.sortBy(FileListModel::Name, Qt::AscendingOrder);
    EXPECT_EQ(names(model), (QStringList{QStringLiteral("A.zip"), QStringLiteral("b.txt"), QStringLiteral("c.gif")}));
    EXPECT_TRUE(model.isSorted());
}

TEST(FileListSorting, RowsAddedLaterTakeTheirPlaceAndTheSelectionFollowsItsRows)
{
    FileListModel model(FileListKind::Remote);
    FileListView view(model, QStringLiteral("Fichiers du serveur"));
    model.appendRows(threeFiles());
    view.selectRow(2); // c.gif
    model.sortBy(FileListModel::Name, Qt::DescendingOrder);
    EXPECT_EQ(view.currentRow(), 0);
    EXPECT_EQ(model.cellText(view.selectedRows().value(0), FileListModel::Name), QStringLiteral("c.gif"));
    model.appendRows({{QStringLiteral("bb.txt"), 1, {}, 3}});
    EXPECT_EQ(names(model), (QStringList{QStringLiteral("c.gif"), QStringLiteral("bb.txt"), QStringLiteral("b.txt"),
                                         QStringLiteral("A.zip")}));
    EXPECT_EQ(model.totalBytes({1, 3}), 901);
}

TEST(FileListSums, FilesListedAtTheLargestSizeSumToThatSizeNotANegativeOne)
{
    constexpr qint64 largest = std::numeric_limits<qint64>::max();
    FileListModel model(FileListKind::Remote);
    model.appendRows({{QStringLiteral("a"), largest, {}, 10}, {QStringLiteral("b"), largest, {}, 10}});
    EXPECT_EQ(model.totalBytes({0, 1}), largest);
    TransferBatch batch;
    batch.append(QStringLiteral("a"), largest);
    batch.append(QStringLiteral("b"), largest);
    EXPECT_EQ(batch.total(), largest);
}

struct LabelEditTest : ::testing::Test {
    LabelEditTest()
    {
        model.appendRows(threeFiles());
        view.show();
        QObject::connect(&view, &FileListView::labelEditStarting, [this](int row) { started.append(row); });
        QObject::connect(&view, &FileListView::labelEdited,
                         [this](int row, const QString &name) { edited.append({row, name}); });
    }

    void typeIntoEditor(const QString &text, Qt::Key finish)
    {
        view.editRow(1);
        auto *editor = view.detailsView()->findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, finish);
        QTest::qWait(20); // the name reaches the owner through the event loop
    }

    FileListModel model{FileListKind::Remote};
    FileListView view{model, QStringLiteral("Fichiers du serveur")};
    QList<int> started;
    QList<std::pair<int, QString>> edited;
};

TEST_F(LabelEditTest, ANewNameGoesToTheOwnerNotIntoTheModel)
{
    typeIntoEditor(QStringLiteral("nouveau.zip"), Qt::Key_Return);
    EXPECT_EQ(started, QList<int>{1});
    ASSERT_EQ(edited.size(), 1);
    EXPECT_EQ(edited.at(0), std::make_pair(1, QStringLiteral("nouveau.zip")));
    EXPECT_EQ(model.cellText(1, FileListModel::Name), QStringLiteral("A.zip"));
    model.renameRow(1, QStringLiteral("nouveau.zip"));
    EXPECT_EQ(model.cellText(1, FileListModel::Name), QStringLiteral("nouveau.zip"));
}

TEST_F(LabelEditTest, EscapeOrAnEmptyNameIsACancel)
{
    typeIntoEditor(QStringLiteral("autre.txt"), Qt::Key_Escape);
    typeIntoEditor(QString(), Qt::Key_Return);
    EXPECT_TRUE(edited.isEmpty());
    EXPECT_EQ(model.cellText(1, FileListModel::Name), QStringLiteral("A.zip"));
}

} // namespace
} // namespace vendrel
