#include "platform/IniFile.h"

#include "platform/Windows1252.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <optional>

namespace vendrel {

namespace {

struct KeyValue {
    QString key;
    QString value;
};

// A section's lines: its header at `header`, its body up to `end` (exclusive).
struct SectionRange {
    qsizetype header;
    qsizetype end;
};

// The lines without their line ends: none for a missing file, nullopt for a
// file that exists but cannot be read.
std::optional<QStringList> readLines(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return QStringList{};
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    QStringList lines = fromWindows1252(bytes).split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast(); // what follows the last line end is not a line
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

std::optional<QString> sectionName(const QString &line)
{
    const QString trimmed = line.trimmed();
    const qsizetype close = trimmed.indexOf(u']');
    if (!trimmed.startsWith(u'[') || close < 0)
        return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

std::optional<KeyValue> keyValue(const QString &line)
{
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0 || line.trimmed().startsWith(u';'))
        return std::nullopt;
    return KeyValue{line.left(equals).trimmed(), line.mid(equals + 1).trimmed()};
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::optional<SectionRange> findSection(const QStringList &lines, const QString &section)
{
    for (qsizetype header = 0; header < lines.size(); ++header) {
        const std::optional<QString> name = sectionName(lines[header]);
        if (!name || !sameName(*name, section))
            continue;
        qsizetype end = header + 1;
        while (end < lines.size() && !sectionName(lines[end]))
            ++end;
        return SectionRange{header, end};
    }
    return std::nullopt;
}

std::optional<qsizetype> findKey(const QStringList &lines, SectionRange range, const QString &key)
{
    for (qsizetype index = range.header + 1; index < range.end; ++index) {
        const std::optional<KeyValue> entry = keyValue(lines[index]);
        if (entry && sameName(entry->key, key))
            return index;
    }
    return std::nullopt;
}

// After the section's last non-blank line, so a blank line that separates it
// from the next section stays where it is.
qsizetype newKeyPosition(const QStringList &lines, SectionRange range)
{
    qsizetype position = range.end;
    while (position > range.header + 1 && lines[position - 1].trimmed().isEmpty())
        --position;
    return position;
}

void setValue(QStringList &lines, const QString &section, const IniValue &value)
{
    QString oneLineValue = value.value;
    oneLineValue.replace(u'\r', u' ').replace(u'\n', u' ');
    const QString entry = value.key + u'=' + oneLineValue;

    const std::optional<SectionRange> range = findSection(lines, section);
    if (!range) {
        lines.append(u'[' + section + u']');
        lines.append(entry);
    } else if (const std::optional<qsizetype> index = findKey(lines, *range, value.key)) {
        lines[*index] = entry;
    } else {
        lines.insert(newKeyPosition(lines, *range), entry);
    }
}

bool writeLines(const QString &path, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += toWindows1252(line);
        bytes += "\r\n";
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Set before any byte is written: the password is never readable by others.
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

} // namespace

QString IniFile::readString(const QString &path, const QString &section, const QString &key,
                            const QString &defaultValue)
{
    const std::optional<QStringList> lines = readLines(path);
    if (!lines)
        return defaultValue;
    const std::optional<SectionRange> range = findSection(*lines, section);
    if (!range)
        return defaultValue;
    const std::optional<qsizetype> index = findKey(*lines, *range, key);
    if (!index)
        return defaultValue;
    return keyValue(lines->at(*index))->value;
}

bool IniFile::writeStrings(const QString &path, const QString &section, const QList<IniValue> &values)
{
    std::optional<QStringList> lines = readLines(path);
    if (!lines)
        return false;
    for (const IniValue &value : values)
        setValue(*lines, section, value);
    return writeLines(path, *lines);
}

} // namespace vendrel
