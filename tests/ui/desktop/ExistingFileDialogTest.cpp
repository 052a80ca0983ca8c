#include "desktop/ExistingFileDialog.h"
#include "desktop/QtDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

QPushButton *button(QDialog &dialog, const QString &objectName)
{
    return dialog.findChild<QPushButton *>(objectName);
}

// Reprendre only for a shorter target; Enter must not destroy a file.
TEST(ExistingFileDialogTest, AnswersTheClickedChoiceAndKeysAreSafe)
{
    const struct {
        const char *what;
        bool resumable;
        std::function<void(QDialog &)> user;
        ExistingFileAnswer expected;
    } cases[] = {
        {"Renommer for all", false,
         [](QDialog &dialog) {
             dialog.findChild<QCheckBox *>()->setChecked(true);
             button(dialog, u"rename"_s)->click();
         },
         {ExistingFileChoice::Rename, true}},
        {"Reprendre", true, [](QDialog &dialog) { button(dialog, u"resume"_s)->click(); },
         {ExistingFileChoice::Resume, false}},
        {"Escape", true, [](QDialog &dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); },
         {ExistingFileChoice::Cancel, false}},
        {"Enter on Remplacer", false,
         [](QDialog &dialog) {
             button(dialog, u"replace"_s)->setFocus();
             QTest::keyClick(button(dialog, u"replace"_s), Qt::Key_Return);
         },
         {ExistingFileChoice::Skip, false}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<ExistingFileDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(button(*dialog, u"resume"_s) != nullptr, c.resumable);
            c.user(*dialog);
        });
        QtDialogs dialogs([]() -> QWidget * { return nullptr; });
        const ExistingFileAnswer answer =
            dialogs.askExistingFile({u"rapport.pdf"_s, 2000, {}, c.resumable ? 1000 : 3000, {}, c.resumable});
        EXPECT_EQ(answer.choice, c.expected.choice);
        EXPECT_EQ(answer.applyToAll, c.expected.applyToAll);
    }
}

} // namespace
} // namespace vendrel
