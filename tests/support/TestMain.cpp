#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

// Tests run against the offscreen platform with the French locale, the one
// the application's texts are written for.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
