#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace vendrel::test {

TempFolder::TempFolder()
{
    EXPECT_TRUE(dir_.isValid());
}

QString TempFolder::filePath(const QString &relative) const
{
    return dir_.filePath(relative);
}

QString TempFolder::createFile(const QString &relative, const QByteArray &content)
{
    const QString path = filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
    return path;
}

QString TempFolder::createDir(const QString &relative)
{
    const QString path = filePath(relative);
    EXPECT_TRUE(QDir().mkpath(path));
    return path;
}

QByteArray TempFolder::read(const QString &relative) const
{
    QFile file(filePath(relative));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool TempFolder::exists(const QString &relative) const
{
    return QFileInfo::exists(filePath(relative));
}

} // namespace vendrel::test
