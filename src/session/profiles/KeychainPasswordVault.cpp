#include "session/profiles/KeychainPasswordVault.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEventLoop>
#include <QTimer>
#include <memory>
#include <optional>
#include <qt6keychain/keychain.h>

using namespace Qt::StringLiterals;

namespace vendrel {

namespace {

const QString serviceName = u"Vendrel"_s;

// QtKeychain reports a missing Secret Service as an ordinary D-Bus error,
// so the bus is asked first. A keyring that is not running yet but can be
// started on demand counts as there.
bool keyringOnSessionBus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    const QStringList keyringNames{u"org.freedesktop.secrets"_s, u"org.kde.kwalletd6"_s, u"org.kde.kwalletd5"_s};
    const QStringList activatable = bus.interface()->activatableServiceNames();
    for (const QString &name : keyringNames) {
        if (bus.interface()->isServiceRegistered(name) || activatable.contains(name))
            return true;
    }
    return false;
}

VaultAnswer::Status statusOf(QKeychain::Error error)
{
    switch (error) {
    case QKeychain::NoError: return VaultAnswer::Status::Done;
    case QKeychain::EntryNotFound: return VaultAnswer::Status::NotFound;
    case QKeychain::NoBackendAvailable: return VaultAnswer::Status::NoKeyring;
    default: return VaultAnswer::Status::Failed;
    }
}

// Runs the job and waits for its end, the window still painting but taking
// no input meanwhile. The job deletes itself when it ends, even after the
// limit: QtKeychain's callbacks still point at it.
VaultAnswer run(std::unique_ptr<QKeychain::Job> owned)
{
    if (!keyringOnSessionBus())
        return {VaultAnswer::Status::NoKeyring};
    QKeychain::Job *job = owned.release();
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    std::optional<VaultAnswer> answer;
    QEventLoop wait; // declared after the answer: gone first, and its connection with it
    QObject::connect(job, &QKeychain::Job::finished, &wait, [&](QKeychain::Job *done) {
        const auto *reading = qobject_cast<QKeychain::ReadPasswordJob *>(done);
        answer = VaultAnswer{statusOf(done->error()), reading != nullptr ? reading->textData() : QString(),
                             done->errorString()};
        wait.quit();
    });
    QTimer::singleShot(KeychainPasswordVault::answerLimit, &wait, &QEventLoop::quit);
    job->start();
    if (!answer)
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    return answer.value_or(VaultAnswer{VaultAnswer::Status::Failed, {}, u"le trousseau de clés n'a pas répondu"_s});
}

template <typename JobType>
std::unique_ptr<JobType> newJob(const QString &profileFileName)
{
    auto job = std::make_unique<JobType>(serviceName);
    job->setKey(profileFileName);
    return job;
}

} // namespace

VaultAnswer KeychainPasswordVault::store(const QString &profileFileName, const QString &password)
{
    auto job = newJob<QKeychain::WritePasswordJob>(profileFileName);
    job->setTextData(password);
    return run(std::move(job));
}

VaultAnswer KeychainPasswordVault::read(const QString &profileFileName)
{
    return run(newJob<QKeychain::ReadPasswordJob>(profileFileName));
}

VaultAnswer KeychainPasswordVault::erase(const QString &profileFileName)
{
    VaultAnswer answer = run(newJob<QKeychain::DeletePasswordJob>(profileFileName));
    if (answer.is(VaultAnswer::Status::NotFound))
        answer.status = VaultAnswer::Status::Done;
    return answer;
}

} // namespace vendrel
