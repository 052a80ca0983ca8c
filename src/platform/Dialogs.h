#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace vendrel {

enum class MessageIcon { None, Information, Exclamation, Stop, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// A question whose safe answer is the default: Enter cancels it.
struct GuardedQuestion {
    QString title;
    QString text;
    QString acceptButton; // beside "Annuler", the default
    QString option;       // a check box, not checked at first
};

struct GuardedAnswer {
    bool accepted = false;
    bool optionChecked = false;
};

// A file of a transfer about to be written over one of the same name. A time
// that is not valid is not known.
struct ExistingFileQuestion {
    QString name;
    qint64 sourceSize = 0;
    QDateTime sourceTime;
    qint64 targetSize = 0;
    QDateTime targetTime;
    bool resumable = false; // the target is shorter: it may be a broken copy
};

enum class ExistingFileChoice { Replace, ReplaceIfNewer, Resume, Rename, Skip, Cancel };

struct ExistingFileAnswer {
    ExistingFileChoice choice = ExistingFileChoice::Cancel;
    bool applyToAll = false; // the same choice for the rest of the transfer
};

// Every modal question the application asks goes through here, so tests can
// script the answers and read back the exact texts, icons and titles.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // An empty title shows the application title.
    virtual MessageAnswer message(const QString &text, MessageButtons buttons, MessageIcon icon,
                                  const QString &title = {}) = 0;
    // nullopt when the user cancels.
    virtual std::optional<QString> input(const QString &prompt, const QString &title,
                                         const QString &defaultText = {}) = 0;
    // nullopt when the user cancels.
    virtual std::optional<QString> pickFolder(const QString &title) = 0;
    virtual GuardedAnswer askGuarded(const GuardedQuestion &question) = 0;
    virtual ExistingFileAnswer askExistingFile(const ExistingFileQuestion &question) = 0;
};

inline const QString &applicationTitle()
{
    static const QString title = QStringLiteral("Vendrel");
    return title;
}

} // namespace vendrel
