#include "transfer/LocalFileStreams.h"
#include "support/TempFolder.h"

#include <QDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

using test::randomBytes;

// Writes in pieces of the given size, the last one shorter.
bool writeInPieces(DownloadTarget &target, const QByteArray &content, qsizetype piece)
{
    for (qsizetype at = 0; at < content.size(); at += piece)
        if (!target.write(content.constData() + at, std::min(piece, content.size() - at)))
            return false;
    return true;
}

// Files may not grow past a limit while it lives, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

struct LocalFileStreamsTest : ::testing::Test {
    QStringList entries() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }
    test::TempFolder folder;
};

TEST_F(LocalFileStreamsTest, ADiskThatFillsUpFailsTheDownloadAndKeepsTheOldFile)
{
    const QString path = folder.createFile(u"cible.bin"_s, "ancien contenu");
    const QByteArray content = randomBytes(3 * DownloadTarget::GatherBytes);
    bool wrote = false;
    bool committed = false;
    {
        const FileSizeLimit full(DownloadTarget::GatherBytes + 100);
        DownloadTarget target(path);
        ASSERT_TRUE(target.open());
        wrote = writeInPieces(target, content, 1024);
        committed = target.commit();
    }
    EXPECT_FALSE(wrote) << "the failure shows while the file is written, not only at the end";
    EXPECT_FALSE(committed);
    EXPECT_EQ(folder.read(u"cible.bin"_s), "ancien contenu");
    EXPECT_EQ(entries(), QStringList{u"cible.bin"_s});
}

// Reading across its chunks, byte-exact, is the transfer engine's server test.
TEST_F(LocalFileStreamsTest, AnUploadFailsPastTheEndOrWhenTheFileShrinks)
{
    const QString path = folder.createFile(u"envoi.bin"_s, randomBytes(1500));
    UploadSource source(path);
    ASSERT_TRUE(source.open());
    EXPECT_EQ(source.size(), 1500);
    char block[1024];
    ASSERT_TRUE(source.read(block, 1024));
    ASSERT_TRUE(source.read(block, 476));
    EXPECT_FALSE(source.read(block, 1));

    UploadSource shrinking(path);
    ASSERT_TRUE(shrinking.open());
    QFile(path).resize(1000);
    EXPECT_FALSE(shrinking.read(block, 1024)) << "what was listed can no longer be sent whole";
}

} // namespace
} // namespace vendrel
