#include "desktop/QtDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

// The certificate questions: Enter must not trust, only a deliberate click.
GuardedAnswer answer(const std::function<void(QMessageBox &)> &user)
{
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        user(*box);
    });
    QtDialogs dialogs([]() -> QWidget * { return nullptr; });
    return dialogs.askGuarded({u"Certificat changé !"_s, u"Empreinte SHA-256 : AB:CD"_s, u"Faire confiance"_s,
                               u"Toujours faire confiance à ce certificat pour cet hôte"_s});
}

TEST(GuardedQuestionTest, EnterCancelsAndOnlyTheTrustButtonTrusts)
{
    const GuardedAnswer entered = answer([](QMessageBox &box) {
        box.checkBox()->setChecked(true);
        QTest::keyClick(&box, Qt::Key_Return);
    });
    EXPECT_FALSE(entered.accepted);

    const GuardedAnswer trusted = answer([](QMessageBox &box) {
        box.checkBox()->setChecked(true);
        for (QAbstractButton *button : box.buttons()) {
            if (button->text() == u"Faire confiance"_s)
                button->click();
        }
    });
    EXPECT_TRUE(trusted.accepted);
    EXPECT_TRUE(trusted.optionChecked);
}

} // namespace
} // namespace vendrel
