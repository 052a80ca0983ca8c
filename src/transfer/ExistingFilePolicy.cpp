#include "transfer/ExistingFilePolicy.h"

#include "platform/Paths.h"

namespace vendrel {

namespace {

// Whole seconds only: a local time carries milliseconds a server never keeps,
// so the same file would otherwise look newer than its own copy.
bool isStrictlyNewer(const QDateTime &source, const QDateTime &target)
{
    return source.isValid() && target.isValid() && source.toSecsSinceEpoch() > target.toSecsSinceEpoch();
}

} // namespace

ExistingFilePolicy::ExistingFilePolicy(Dialogs &dialogs) : dialogs_(dialogs) {}

ExistingFileDecision ExistingFilePolicy::decide(const ExistingFileQuestion &question, const NameTaken &nameTaken)
{
    const NameTaken taken = [&](const QString &name) { return name == question.name || nameTaken(name); };
    if (choiceForAll_) {
        if (*choiceForAll_ == ExistingFileChoice::Rename)
            return {ExistingFileDecision::WriteAs, suggestFreeName(question.name, taken)};
        if (*choiceForAll_ != ExistingFileChoice::Resume || question.resumable)
            return follow(*choiceForAll_, question, taken);
        // A target as long as its source is complete already; any other one
        // that cannot be resumed is a different file, for the user to judge.
        if (question.targetSize == question.sourceSize)
            return {ExistingFileDecision::Skip, {}};
    }
    const ExistingFileAnswer answer = dialogs_.askExistingFile(question);
    ExistingFileDecision decision = follow(answer.choice, question, taken);
    // A rename given up in the name box was no answer for the other files.
    const bool renameGivenUp =
        answer.choice == ExistingFileChoice::Rename && decision.action == ExistingFileDecision::Skip;
    if (answer.applyToAll && !renameGivenUp)
        choiceForAll_ = answer.choice;
    return decision;
}

ExistingFileDecision ExistingFilePolicy::follow(ExistingFileChoice choice, const ExistingFileQuestion &question,
                                                const NameTaken &nameTaken)
{
    switch (choice) {
    case ExistingFileChoice::Replace: return {ExistingFileDecision::Write, {}};
    case ExistingFileChoice::ReplaceIfNewer:
        return {isStrictlyNewer(question.sourceTime, question.targetTime) ? ExistingFileDecision::Write
                                                                          : ExistingFileDecision::Skip,
                {}};
    case ExistingFileChoice::Resume:
        return {question.resumable ? ExistingFileDecision::Resume : ExistingFileDecision::Skip, {}};
    case ExistingFileChoice::Rename:
        if (const std::optional<QString> name = askNewName(question.name, nameTaken))
            return {ExistingFileDecision::WriteAs, *name};
        return {ExistingFileDecision::Skip, {}};
    case ExistingFileChoice::Skip: return {ExistingFileDecision::Skip, {}};
    case ExistingFileChoice::Cancel: return {ExistingFileDecision::CancelRun, {}};
    }
    Q_UNREACHABLE();
    return {};
}

std::optional<QString> ExistingFilePolicy::askNewName(const QString &name, const NameTaken &nameTaken)
{
    QString proposal = suggestFreeName(name, nameTaken);
    for (;;) {
        std::optional<QString> typed =
            dialogs_.input(QStringLiteral("Nouveau nom du fichier :"), QStringLiteral("Renommer"), proposal);
        if (!typed)
            return std::nullopt;
        const bool safe = isSafeFileName(*typed);
        if (safe && !nameTaken(*typed))
            return typed;
        // A taken name is counted on from, as the user meant that one.
        proposal = suggestFreeName(safe ? *typed : name, nameTaken);
    }
}

} // namespace vendrel
