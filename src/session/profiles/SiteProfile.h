#pragma once

#include <QString>
#include <QStringList>

namespace vendrel {

// The values a profile file holds: the six the first versions wrote, then
// the transfer mode and where the password is, which readers of those
// versions pass over.
struct SiteProfile {
    QString siteName;      // "sname"
    QString server;        // "adresa"
    QString user;          // "ID"
    QString initialFolder; // "DosInit"
    QString password;      // "pass"
    QString port;          // "port"
    QString mode = {};     // "mode": "ftp", "ftps" or "ftps-implicite"; empty in older files
    QString keyring = {};  // "trousseau": "oui" when the password is in the desktop keyring, "pass" empty

    static inline const QString inKeyring = QStringLiteral("oui");
    bool passwordInKeyring() const { return keyring == inKeyring; }

    friend bool operator==(const SiteProfile &, const SiteProfile &) = default;
};

// The profile files of the data folder, one "<label>.ftp" per site, and
// those an older folder still holds: found, read and deleted like the others
// (a file of the data folder first), while every save goes to the data folder.
class SiteProfileFolder {
public:
    enum class SaveResult { Saved, InvalidLabel, WriteFailed };

    explicit SiteProfileFolder(QString folder, QString olderFolder = {});

    // A label names a file of this folder: no "/", not empty, not "." or "..".
    static bool isValidLabel(const QString &label);

    static QString fileNameForLabel(const QString &label);
    // Where a save of this label writes.
    QString filePathForLabel(const QString &label) const;
    // Where the file of this name is read and deleted.
    QString filePath(const QString &fileName) const;

    // The "*.ftp" files of both folders, each name once, sorted by name.
    QStringList profileFileNames() const;

    // Values cut to the lengths the predecessor read; a missing file or key
    // gives empty values.
    SiteProfile load(const QString &fileName) const;
    // Writes the file named after profile.siteName. The password is written
    // only when asked to (and not empty); otherwise "pass" is emptied.
    SaveResult save(const SiteProfile &profile, bool savePassword) const;
    bool remove(const QString &fileName) const;

private:
    QString folder_;
    QString olderFolder_;
};

} // namespace vendrel
