#include "session/profiles/SiteProfile.h"

#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>

using namespace Qt::StringLiterals;

namespace vendrel {

namespace {

const QString profileSection = u"PROFIL"_s;
const QString profileExtension = u".ftp"_s;

// Key, field and the longest value read back (the predecessor's read buffers
// less their NUL), in the order the keys are written.
struct ProfileKey {
    QString name;
    QString SiteProfile::*field;
    qsizetype maxLength;
    // false: a key the first versions did not know, left out while empty
    // unless the file has a value to clear
    bool writtenEmpty = true;
};

const std::array<ProfileKey, 8> &profileKeys()
{
    static const std::array<ProfileKey, 8> keys = {{
        {u"sname"_s, &SiteProfile::siteName, 49},
        {u"adresa"_s, &SiteProfile::server, 74},
        {u"ID"_s, &SiteProfile::user, 49},
        {u"DosInit"_s, &SiteProfile::initialFolder, 249},
        {u"pass"_s, &SiteProfile::password, 49},
        {u"port"_s, &SiteProfile::port, 49},
        {u"mode"_s, &SiteProfile::mode, 49, false},
        {u"trousseau"_s, &SiteProfile::keyring, 49, false},
    }};
    return keys;
}

} // namespace

SiteProfileFolder::SiteProfileFolder(QString folder, QString olderFolder)
    : folder_(std::move(folder)), olderFolder_(std::move(olderFolder))
{
}

bool SiteProfileFolder::isValidLabel(const QString &label)
{
    return !label.isEmpty() && !label.contains(u'/') && label != u"."_s && label != u".."_s;
}

QString SiteProfileFolder::fileNameForLabel(const QString &label)
{
    return label + profileExtension;
}

QString SiteProfileFolder::filePathForLabel(const QString &label) const
{
    return QDir(folder_).filePath(fileNameForLabel(label));
}

QString SiteProfileFolder::filePath(const QString &fileName) const
{
    const QString path = QDir(folder_).filePath(fileName);
    if (olderFolder_.isEmpty() || QFileInfo::exists(path))
        return path;
    const QString olderPath = QDir(olderFolder_).filePath(fileName);
    return QFileInfo::exists(olderPath) ? olderPath : path;
}

QStringList SiteProfileFolder::profileFileNames() const
{
    const QStringList pattern{u"*"_s + profileExtension};
    QStringList names = QDir(folder_).entryList(pattern, QDir::Files);
    if (!olderFolder_.isEmpty() && olderFolder_ != folder_)
        names += QDir(olderFolder_).entryList(pattern, QDir::Files);
    names.removeDuplicates();
    names.sort(Qt::CaseInsensitive);
    return names;
}

SiteProfile SiteProfileFolder::load(const QString &fileName) const
{
    SiteProfile profile;
    if (!isValidLabel(fileName))
        return profile;
    const QString path = filePath(fileName);
    for (const ProfileKey &key : profileKeys())
        profile.*key.field = IniFile::readString(path, profileSection, key.name, {}).left(key.maxLength);
    return profile;
}

SiteProfileFolder::SaveResult SiteProfileFolder::save(const SiteProfile &profile, bool savePassword) const
{
    if (!isValidLabel(profile.siteName))
        return SaveResult::InvalidLabel;
    SiteProfile written = profile;
    if (!savePassword)
        written.password.clear();
    const QString path = filePathForLabel(profile.siteName);
    QList<IniValue> values;
    for (const ProfileKey &key : profileKeys()) {
        if (key.writtenEmpty || !(written.*key.field).isEmpty()
            || !IniFile::readString(path, profileSection, key.name, {}).isEmpty())
            values.append({key.name, written.*key.field});
    }
    return IniFile::writeStrings(path, profileSection, values) ? SaveResult::Saved : SaveResult::WriteFailed;
}

bool SiteProfileFolder::remove(const QString &fileName) const
{
    return isValidLabel(fileName) && QFile::remove(filePath(fileName));
}

} // namespace vendrel
