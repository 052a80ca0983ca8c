#pragma once

#include "platform/Dialogs.h"
#include "platform/FreeName.h"

#include <optional>

namespace vendrel {

struct ExistingFileDecision {
    enum Action { Write, Resume, WriteAs, Skip, CancelRun };
    Action action = Skip;
    QString name; // for WriteAs: the name the file is written under instead
};

// What becomes of each file of one transfer run that would be written over
// an existing one. The user is asked, unless an earlier answer of the run was
// given for all its files; nothing is replaced that the user did not choose
// to replace.
class ExistingFilePolicy {
public:
    explicit ExistingFilePolicy(Dialogs &dialogs);

    ExistingFileDecision decide(const ExistingFileQuestion &question, const NameTaken &nameTaken);

private:
    ExistingFileDecision follow(ExistingFileChoice choice, const ExistingFileQuestion &question,
                                const NameTaken &nameTaken);
    std::optional<QString> askNewName(const QString &name, const NameTaken &nameTaken);

    Dialogs &dialogs_;
    std::optional<ExistingFileChoice> choiceForAll_;
};

} // namespace vendrel
