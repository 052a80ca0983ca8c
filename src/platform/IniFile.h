#pragma once

#include <QList>
#include <QString>

namespace vendrel {

struct IniValue {
    QString key;
    QString value;
};

// Settings files in the layout the Windows predecessor wrote: "[section]"
// headers and "key=value" lines, Windows-1252 bytes, CR LF line ends.
// Section and key names match whatever their case, as they always have.
class IniFile {
public:
    // The value with the blanks around it removed; defaultValue when the
    // file, the section or the key is missing or the file cannot be read.
    static QString readString(const QString &path, const QString &section, const QString &key,
                              const QString &defaultValue);

    // Sets the keys in their order and leaves every other line as it was.
    // Creates the file and the section when missing; a new key goes at the
    // end of its section. CR and LF in a value become blanks, so one value
    // stays one line. The file is replaced once, atomically, with all the
    // keys set, and is readable by its owner only (it may hold passwords).
    // False when the file cannot be read or written.
    static bool writeStrings(const QString &path, const QString &section, const QList<IniValue> &values);
};

} // namespace vendrel
