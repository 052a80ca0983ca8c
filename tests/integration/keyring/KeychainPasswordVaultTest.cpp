#include "session/profiles/KeychainPasswordVault.h"
#include "support/Prerequisite.h"
#include "support/PrivateBus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QThread>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

using Status = VaultAnswer::Status;

// GNOME Keyring on a bus of the test's own, unlocked at start as a desktop
// login does, its keyrings in a folder of the test's own. Qt and libsecret
// both keep the first session bus they reach: the program has this one bus,
// first without a keyring on it.
TEST(KeychainPasswordVault, WithoutAKeyringNothingIsStoredAndWithOneEachProfileKeepsItsOwnPassword)
{
    const QString keyringDaemon = QStandardPaths::findExecutable(u"gnome-keyring-daemon"_s);
    VENDREL_REQUIRE_PREREQUISITE(
        keyringDaemon.isEmpty() ? std::optional(u"no gnome-keyring-daemon (package gnome-keyring)"_s) : std::nullopt)
    test::PrivateBus bus;
    VENDREL_REQUIRE_PREREQUISITE(bus.start())
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toUtf8());
    KeychainPasswordVault vault;
    EXPECT_EQ(vault.store(u"Mon site.ftp"_s, u"secret"_s).status, Status::NoKeyring);

    test::TempFolder home; // owner only, as a runtime folder must be
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"})
        environment.insert(QString::fromLatin1(name), home.path());
    QProcess &keyring =
        bus.run(keyringDaemon, {u"--unlock"_s, u"--components=secrets"_s, u"--foreground"_s}, environment);
    keyring.write("mot de passe de session");
    keyring.waitForBytesWritten();
    keyring.closeWriteChannel();
    const QDeadlineTimer deadline(10'000);
    while (!QDBusConnection::sessionBus().interface()->isServiceRegistered(u"org.freedesktop.secrets"_s)) {
        ASSERT_FALSE(deadline.hasExpired()) << keyring.readAllStandardError().toStdString();
        QThread::msleep(20);
    }

    const QString accented = u"sécret €uro 密码"_s;
    EXPECT_EQ(vault.store(u"Mon site.ftp"_s, accented).status, Status::Done);
    EXPECT_EQ(vault.store(u"Mon site 2.ftp"_s, u"autre"_s).status, Status::Done);
    const VaultAnswer read = vault.read(u"Mon site.ftp"_s);
    EXPECT_EQ(read.password, accented) << read.error.toStdString();
    EXPECT_EQ(vault.erase(u"Mon site.ftp"_s).status, Status::Done);
    EXPECT_EQ(vault.read(u"Mon site.ftp"_s).status, Status::NotFound);
    EXPECT_EQ(vault.erase(u"Mon site.ftp"_s).status, Status::Done) << "nothing left to erase";
    EXPECT_EQ(vault.read(u"Mon site 2.ftp"_s).password, u"autre"_s);
}

} // namespace
} // namespace vendrel
