#include "app/DemoServer.h"
#include "app/MainWindow.h"
#include "app/QuitOnSignals.h"
#include "app/ServerWaitPrompt.h"
#include "app/icons/Icons.h"
#include "desktop/QtDialogs.h"
#include "desktop/Shell.h"
#include "dialup/NetworkManagerDialup.h"
#include "platform/Clock.h"
#include "platform/ProgramFolders.h"
#include "session/ftp/CurlFtpService.h"
#include "session/profiles/KeychainPasswordVault.h"
#include "session/tls/TrustOnFirstUse.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vendrel"));
    QApplication::setApplicationVersion(QStringLiteral("1.1.0"));
    // Ties the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vendrel.Vendrel"));
    vendrel::initResources();

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Vendrel - Transfert de fichiers"));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Lance aussi un serveur FTP de démonstration sur 127.0.0.1, "
                                                 "avec son profil « Démo locale »."));
    options.addOption(demo);
    options.process(app);

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
    vendrel::DesktopShell shell([&window]() -> QWidget * { return window; });
    vendrel::ServerWaitPrompt serverWait;
    const vendrel::ProgramFolders folders = vendrel::programFoldersFor(QApplication::applicationDirPath());
    vendrel::TrustOnFirstUse certificateTrust(
        vendrel::TrustedCertificates(vendrel::TrustedCertificates::fileIn(folders.data)), dialogs);
    vendrel::CurlFtpService ftp({}, &serverWait, &certificateTrust);
    vendrel::NetworkManagerDialup dialup;
    vendrel::KeychainPasswordVault passwords;
    vendrel::MainWindow mainWindow(
        {ftp, dialogs, clock, shell, folders, [] { QApplication::quit(); }, dialup, passwords});
    window = &mainWindow;
    mainWindow.show();
    // Closing a modal window is how a person cancels what it waits for (a
    // transfer unwinds first, a question is turned down); then every event
    // loop ends, whatever window would have refused to close.
    const vendrel::QuitOnSignals quitOnSignals([] {
        for (QWidget *topLevel : QApplication::topLevelWidgets()) {
            if (topLevel->isVisible() && topLevel->isModal())
                topLevel->close();
        }
        QCoreApplication::exit(0);
    });

    vendrel::DemoServer demoServer;
    if (options.isSet(demo)) {
        const QString failure = demoServer.start(folders);
        if (!failure.isEmpty())
            dialogs.message(failure, vendrel::MessageButtons::Ok, vendrel::MessageIcon::Exclamation, QString());
    }
    return QApplication::exec();
}
