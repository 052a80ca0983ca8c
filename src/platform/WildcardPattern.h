#pragma once

#include <QList>
#include <QString>

namespace vendrel {

// File patterns as users type them: "*.html;*.htm". '*' is any run of
// characters, '?' one character, ';' separates alternatives; case is ignored.
// "*.*" matches every name, with or without a point, as it always has.
class WildcardPattern {
public:
    explicit WildcardPattern(const QString &pattern);

    bool matches(const QString &name) const;

private:
    QList<QString> alternatives_;
    bool matchesEverything_ = false;
};

} // namespace vendrel
