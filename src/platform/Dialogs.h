#pragma once

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
};

inline const QString &applicationTitle()
{
    static const QString title = QStringLiteral("Vendrel");
    return title;
}

} // namespace vendrel
