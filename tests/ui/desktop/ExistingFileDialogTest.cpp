#include "desktop/ExistingFileDialog.h"
#include "desktop/QtDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

// Reprendre only for a shorter target; Enter must not destroy a file, even
// with the focus on Remplacer.
TEST(ExistingFileDialogTest, AnswersTheClickedChoiceAndKeysAreSafe)
{
    const struct {
        bool resumable;
        const char *button; // clicked, or the one with the focus when a key is pressed
        Qt::Key key;
        ExistingFileAnswer expected;
    } cases[] = {
        {false, "rename", Qt::Key_unknown, {ExistingFileChoice::Rename, true}},
        {true, "resume", Qt::Key_unknown, {ExistingFileChoice::Resume, true}},
        {true, "replace", Qt::Key_Escape, {ExistingFileChoice::Cancel, false}},
        {false, "replace", Qt::Key_Return, {ExistingFileChoice::Skip, false}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.button);
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<ExistingFileDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->findChild<QPushButton *>(u"resume"_s) != nullptr, c.resumable);
            dialog->findChild<QCheckBox *>()->setChecked(c.expected.applyToAll);
            auto *button = dialog->findChild<QPushButton *>(QString::fromLatin1(c.button));
            button->setFocus();
            if (c.key == Qt::Key_unknown)
                button->click();
            else
                QTest::keyClick(button, c.key);
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
