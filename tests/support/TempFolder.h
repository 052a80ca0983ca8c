#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace vendrel::test {

// A temporary folder that removes itself, with helpers to fill it.
class TempFolder {
public:
    TempFolder();

    QString path() const { return dir_.path(); }
    // path() with a trailing '/'.
    QString folder() const { return dir_.path() + u'/'; }
    QString filePath(const QString &relative) const;

    QString createFile(const QString &relative, const QByteArray &content = {});
    QString createDir(const QString &relative);
    QByteArray read(const QString &relative) const;
    bool exists(const QString &relative) const;

private:
    QTemporaryDir dir_;
};

} // namespace vendrel::test
