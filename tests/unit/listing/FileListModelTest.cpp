#include "listing/FileListModel.h"
#include "listing/FileListView.h"
#include "listing/RowFormat.h"
#include "support/PinnedTimeZone.h"
#include "transfer/TransferBatch.h"

#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>
#include <limits>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

std::vector<FileRow> threeFiles()
{
    return {{u"b.txt"_s, 1024, QDateTime(QDate(2020, 1, 2), QTime(8, 0), Qt::UTC), 3},
            {u"A.zip"_s, 900, QDateTime(QDate(2024, 5, 6), QTime(0, 0), Qt::UTC), 7},
            {u"c.gif"_s, 5'000'000'000LL, QDateTime(QDate(2019, 3, 4), QTime(7, 0), Qt::UTC), 4}};
}

QStringList names(const FileListModel &model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result.append(model.cellText(row, FileListModel::Name));
    return result;
}

// The server's Ko are of 1024 bytes; the local pane's of 1000 are its own test.
TEST(FileListModel, TheServerPaneShowsKoOf1024AndWholeSizesPastFourGibibytes)
{
    FileListModel remote(FileListKind::Remote);
    QAbstractItemModelTester tester(&remote, QAbstractItemModelTester::FailureReportingMode::Fatal);
    remote.appendRows(threeFiles());
    EXPECT_EQ(remote.cellText(0, FileListModel::SizeKo), u"1,Ko"_s);
    EXPECT_EQ(remote.cellText(2, FileListModel::SizeBytes), u"5000000000"_s);
    EXPECT_EQ(remote.cellText(2, FileListModel::SizeKo), u"4 882 812,5Ko"_s);
    EXPECT_EQ(remote.cellText(0, FileListModel::DateTime), u"2.1.2020 8:00"_s);
}

TEST(FileListModel, SortsSizesAsNumbersDatesByTimeAndKeepsTheSelectionOnItsRows)
{
    FileListModel model(FileListKind::Local);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    FileListView view(model, u"Fichiers locaux"_s);
    model.appendRows(threeFiles());
    view.selectRow(2); // c.gif
    model.sortBy(FileListModel::SizeBytes, Qt::AscendingOrder);
    // 900 before 1024, which a text sort of " 900" and " 1024" would not give.
    EXPECT_EQ(names(model), (QStringList{u"A.zip"_s, u"b.txt"_s, u"c.gif"_s}));
    model.sortBy(FileListModel::DateTime, Qt::AscendingOrder);
    EXPECT_EQ(names(model), (QStringList{u"c.gif"_s, u"b.txt"_s, u"A.zip"_s}));
    EXPECT_EQ(view.currentRow(), 0);
    model.sortBy(FileListModel::Name, Qt::DescendingOrder);
    model.appendRows({{u"bb.txt"_s, 1, {}, 3}});
    EXPECT_EQ(names(model), (QStringList{u"c.gif"_s, u"bb.txt"_s, u"b.txt"_s, u"A.zip"_s}))
        << "a late row takes its place";
    EXPECT_EQ(model.cellText(view.selectedRows().value(0), FileListModel::Name), u"c.gif"_s);
}

TEST(FileListModel, FilesListedAtTheLargestSizeSumToThatSizeNotANegativeOne)
{
    constexpr qint64 largest = std::numeric_limits<qint64>::max();
    FileListModel model(FileListKind::Remote);
    model.appendRows({{u"a"_s, largest, {}, 10}, {u"b"_s, largest, {}, 10}});
    EXPECT_EQ(model.totalBytes({0, 1}), largest);
    TransferBatch batch;
    batch.append(u"a"_s, largest);
    batch.append(u"b"_s, largest);
    EXPECT_EQ(batch.total(), largest);
}

TEST(FileListView, ViewModesShareOneSelectionAndCurrentRow)
{
    FileListModel model(FileListKind::Remote);
    model.appendRows(threeFiles());
    FileListView view(model, u"Fichiers du serveur"_s);
    view.selectRow(1);
    view.setViewMode(FileListView::LargeIcons);
    EXPECT_EQ(view.currentRow(), 1);
    view.selectRow(0, true);
    view.setViewMode(FileListView::Details);
    EXPECT_EQ(view.selectedRows(), (QList<int>{0, 1}));
    view.clearCurrentRow();
    EXPECT_EQ(view.currentRow(), -1);
    EXPECT_TRUE(view.selectedRows().isEmpty());
}

// The name editor hands a new name to the pane, never to the model; Escape
// or an empty name is no rename at all.
TEST(FileListView, TheNameEditorHandsOverANewNameOnlyOnEnter)
{
    FileListModel model(FileListKind::Remote);
    model.appendRows(threeFiles());
    FileListView view(model, u"Fichiers du serveur"_s);
    view.show();
    QList<std::pair<int, QString>> edited;
    QObject::connect(&view, &FileListView::labelEdited, [&](int row, const QString &name) {
        edited.append({row, name});
    });
    for (const auto &[typed, finish] : {std::pair{u"autre.txt"_s, Qt::Key_Escape}, std::pair{QString(), Qt::Key_Return},
                                        std::pair{u"nouveau.zip"_s, Qt::Key_Return}}) {
        view.editRow(1);
        auto *editor = view.detailsView()->findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, finish);
        QTest::qWait(20); // the name reaches the pane through the event loop
    }
    EXPECT_EQ(edited, (QList<std::pair<int, QString>>{{1, u"nouveau.zip"_s}}));
    EXPECT_EQ(model.cellText(1, FileListModel::Name), u"A.zip"_s);
}

TEST(RowFormat, SizesRoundToTwoDecimalsWithGroupsAndNoZerosOfTheirOwn)
{
    const QLocale french(QLocale::French, QLocale::France);
    const std::pair<double, QString> cases[] = {
        {0, u","_s},
        {1.0, u"1,"_s},
        {0.25, u",25"_s},
        {1.536, u"1,54"_s},
        {999.999, u"1 000,"_s},
        {1234567.891, u"1 234 567,89"_s},
        {12345678901.0, u"12 345 678 901,"_s},
    };
    for (const auto &[size, shown] : cases)
        EXPECT_EQ(formatSizePattern(size, french), shown) << size;
    EXPECT_EQ(formatSizePattern(1.5, QLocale(QLocale::English, QLocale::UnitedStates)), u"1.5"_s);
    EXPECT_EQ(IconForExtension(u"photo.tar.JPEG"_s), IconForExtension(u"a.jpeg"_s)) << "the last extension, any case";
}

// Each kind of server time through a pane is the server pane's test.
TEST(RowFormat, InstantsInSummerTimeShowInTheUsersZone)
{
    const test::PinnedTimeZone paris(test::PinnedTimeZone::paris);
    EXPECT_EQ(FormatListingDateTime(QDateTime(QDate(2024, 7, 31), QTime(23, 30), Qt::UTC), ShownTime::InLocalTime),
              u"1.8.2024 1:30"_s);
    EXPECT_EQ(FormatListingDateTime(QDateTime(), ShownTime::InLocalTime), QString());
}

} // namespace
} // namespace vendrel
