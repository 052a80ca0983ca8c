#include "app/MainWindow.h"
#include "app/icons/Icons.h"
#include "platform/Clock.h"
#include "platform/QtDialogs.h"
#include "session/ftp/CurlFtpService.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vendrel"));
    QApplication::setApplicationVersion(QStringLiteral("1.1.0"));
    vendrel::initResources();

    // Qt's own buttons (Oui, Non, Annuler) in French, like the rest.
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);

    vendrel::MainWindow *window = nullptr;
    vendrel::QtDialogs dialogs([&window]() -> QWidget * {
        QWidget *modal = QApplication::activeModalWidget();
        return modal != nullptr ? modal : window;
    });
    vendrel::SystemClock clock;
    vendrel::CurlFtpService ftp;
    vendrel::MainWindow mainWindow({ftp, dialogs, clock, QApplication::applicationDirPath(), [] { QApplication::quit(); }});
    window = &mainWindow;
    mainWindow.show();
    return QApplication::exec();
}
