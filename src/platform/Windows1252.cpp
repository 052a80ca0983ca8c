#include "platform/Windows1252.h"

#include <array>

namespace vendrel {

namespace {

// 0x80..0x9F; the rest of the code page is Latin-1. Zero marks the five
// unassigned positions, which decode as themselves.
constexpr std::array<char16_t, 32> highControlRange = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char encodeOne(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<char>(unit);
    for (std::size_t i = 0; i < highControlRange.size(); ++i) {
        if (highControlRange[i] == unit)
            return static_cast<char>(0x80 + i);
        if (highControlRange[i] == 0 && unit == 0x80 + i)
            return static_cast<char>(unit);
    }
    return '?';
}

} // namespace

QByteArray toWindows1252(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i; // one character outside the code page, one '?'
            bytes.append('?');
            continue;
        }
        bytes.append(encodeOne(ch.unicode()));
    }
    return bytes;
}

QString fromWindows1252(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value >= 0x80 && value < 0xA0 && highControlRange[value - 0x80] != 0)
            text.append(QChar(highControlRange[value - 0x80]));
        else
            text.append(QChar(char16_t(value)));
    }
    return text;
}

} // namespace vendrel
