#include "app/ServerWaitPrompt.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

// A window the user might click or type into while the server is awaited.
struct ServerWaitPromptTest : ::testing::Test {
    ServerWaitPromptTest()
    {
        QObject::connect(&other, &QPushButton::clicked, [this] { ++clicks; });
        other.show();
    }

    // As a person clicks: through the native window, which sees the event first.
    static void clickThroughWindow(QWidget *widget)
    {
        QWidget *top = widget->window();
        QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, widget->mapTo(top, widget->rect().center()));
    }

    ServerWaitPrompt prompt{std::chrono::milliseconds(0)};
    QPushButton other{u"Autre commande"_s};
    int clicks = 0;
};

TEST_F(ServerWaitPromptTest, TheBoxOffersAnnulerAndNoOtherCommandGetsThrough)
{
    prompt.waitStarted();
    EXPECT_FALSE(prompt.handleEvents());
    ASSERT_NE(prompt.box(), nullptr);
    EXPECT_TRUE(prompt.box()->isVisible());
    EXPECT_EQ(prompt.box()->findChild<QLabel *>()->text(), u"Attente du serveur..."_s);
    clickThroughWindow(&other);
    EXPECT_FALSE(prompt.handleEvents());
    EXPECT_EQ(clicks, 0);

    clickThroughWindow(prompt.box()->findChild<QPushButton *>(u"serverWaitCancel"_s));
    EXPECT_TRUE(prompt.handleEvents());
    prompt.waitEnded();
    EXPECT_EQ(prompt.box(), nullptr);
    clickThroughWindow(&other);
    EXPECT_EQ(clicks, 1) << "input flows again once the wait is over";
}

TEST_F(ServerWaitPromptTest, EscapeCancelsBeforeTheBoxShows)
{
    ServerWaitPrompt patient{std::chrono::hours(1)};
    patient.waitStarted();
    EXPECT_FALSE(patient.handleEvents());
    QTest::keyClick(&other, Qt::Key_Escape);
    EXPECT_TRUE(patient.handleEvents());
    EXPECT_EQ(patient.box(), nullptr);
    patient.waitEnded();

    patient.waitStarted();
    EXPECT_FALSE(patient.handleEvents()) << "a cancel ends with its wait";
    patient.waitEnded();
}

} // namespace
} // namespace vendrel
