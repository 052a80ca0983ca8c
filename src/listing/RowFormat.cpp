#include "listing/RowFormat.h"

#include "platform/Paths.h"

#include <QHash>
#include <cmath>

namespace vendrel {

qint16 IconForExtension(const QString &name)
{
    static const QHash<QString, qint16> byExtension = [] {
        QHash<QString, qint16> table;
        const auto add = [&table](std::initializer_list<const char *> extensions, qint16 index) {
            for (const char *extension : extensions)
                table.insert(QString::fromLatin1(extension), index);
        };
        add({"avi", "mpg", "mpeg", "mov"}, 8);
        add({"gif"}, 4);
        add({"jpg", "jpeg", "jpe", "bmp"}, 1);
        add({"htm", "html", "xml", "asp"}, 2);
        add({"js", "css", "cgi"}, 5);
        add({"mp3", "ram", "au", "vaw"}, 6);
        add({"zip", "arj"}, 7);
        add({"exe", "com", "bat"}, 9);
        add({"txt", "log", "doc", "rtf", "ftp", "ini", "dat"}, 3);
        return table;
    }();
    return byExtension.value(extensionOf(name).toLower(), 10);
}

QString kilobyteText(qint64 bytes)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(static_cast<double>(bytes) / 1000.0, 'f', QLocale::FloatingPointShortest);
}

QString formatSizePattern(double value, const QLocale &locale)
{
    const bool negative = value < 0;
    const qint64 hundredths = std::llround(std::fabs(value) * 100.0);
    const qint64 whole = hundredths / 100;
    const int fraction = static_cast<int>(hundredths % 100);

    QString digits = whole == 0 ? QString() : QString::number(whole);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u' ');

    QString decimals;
    if (fraction != 0) {
        decimals = QStringLiteral("%1").arg(fraction, 2, 10, QLatin1Char('0'));
        if (decimals.endsWith(u'0'))
            decimals.chop(1);
    }
    return (negative ? QStringLiteral("-") : QString()) + digits + locale.decimalPoint() + decimals;
}

QString FormatListingDateTime(const QDateTime &time, ShownTime shown)
{
    if (!time.isValid())
        return {};
    const QDateTime fields = shown == ShownTime::InLocalTime ? time.toLocalTime() : time;
    const QDate date = fields.date();
    const QString day = QStringLiteral("%1.%2.%3").arg(date.day()).arg(date.month()).arg(date.year());
    if (shown == ShownTime::DateOnly)
        return day;
    return QStringLiteral("%1 %2:%3")
        .arg(day)
        .arg(fields.time().hour())
        .arg(fields.time().minute(), 2, 10, QLatin1Char('0'));
}

} // namespace vendrel
