#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vendrel::test {

// A temporary folder that removes itself, with helpers to fill it.
class TempFolder {
public:
    TempFolder() { EXPECT_TRUE(dir_.isValid()); }

    QString path() const { return dir_.path(); }
    // path() with a trailing '/'.
    QString folder() const { return dir_.path() + u'/'; }
    QString filePath(const QString &relative) const { return dir_.filePath(relative); }
    bool exists(const QString &relative) const { return QFileInfo::exists(filePath(relative)); }

    QString createFile(const QString &relative, const QByteArray &content = {})
    {
        const QString path = filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(content);
        return path;
    }
    QString createDir(const QString &relative)
    {
        const QString path = filePath(relative);
        EXPECT_TRUE(QDir().mkpath(path));
        return path;
    }
    QByteArray read(const QString &relative) const
    {
        QFile file(filePath(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir dir_;
};

// Content for test files: the same bytes on every run.
inline QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(20061205);
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

} // namespace vendrel::test
