#pragma once

#include <QString>
#include <functional>

namespace vendrel {

// Whether a name is already used in the folder a file goes to.
using NameTaken = std::function<bool(const QString &)>;

// A name for a second file beside `name`: "rapport (2).pdf", else (3) and on,
// the first that is neither taken nor `name` itself. The number goes before
// the last suffix ("archive.tar (2).gz"); a leading point starts no suffix
// (".bashrc (2)"). A numbered name counts on: "rapport (2).pdf" gives
// "rapport (3).pdf", not "rapport (2) (2).pdf".
QString suggestFreeName(const QString &name, const NameTaken &nameTaken);

} // namespace vendrel
