#include "platform/FreeName.h"

#include <QRegularExpression>

namespace vendrel {

QString suggestFreeName(const QString &name, const NameTaken &nameTaken)
{
    const qsizetype point = name.lastIndexOf(u'.');
    const qsizetype stemLength = point > 0 ? point : name.size();
    static const QRegularExpression number(QStringLiteral(" \\(\\d+\\)$"));
    const QString stem = name.left(stemLength).remove(number);
    const QString suffix = name.mid(stemLength);
    for (qint64 count = 2;; ++count) {
        QString candidate = stem + QStringLiteral(" (%1)").arg(count) + suffix;
        if (candidate != name && !nameTaken(candidate))
            return candidate;
    }
}

} // namespace vendrel
