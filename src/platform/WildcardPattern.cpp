#include "platform/WildcardPattern.h"

namespace vendrel {

namespace {

bool isAnyName(const QString &alternative)
{
    return alternative == u"*" || alternative == u"*.*";
}

// Iterative glob match with one backtrack point: linear for the patterns people type.
bool globMatch(QStringView pattern, QStringView name)
{
    qsizetype p = 0, n = 0, starAt = -1, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt >= 0) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

} // namespace

WildcardPattern::WildcardPattern(const QString &pattern)
{
    for (const QString &part : pattern.split(u';', Qt::SkipEmptyParts)) {
        const QString alternative = part.trimmed().toCaseFolded();
        if (alternative.isEmpty())
            continue;
        if (isAnyName(alternative))
            matchesEverything_ = true;
        alternatives_.append(alternative);
    }
}

bool WildcardPattern::matches(const QString &name) const
{
    if (matchesEverything_)
        return true;
    const QString folded = name.toCaseFolded();
    for (const QString &alternative : alternatives_) {
        if (globMatch(alternative, folded))
            return true;
    }
    return false;
}

} // namespace vendrel
