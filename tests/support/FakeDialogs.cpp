#include "support/FakeDialogs.h"

#include <gtest/gtest.h>

namespace vendrel::test {

namespace {

// The next scripted answer; an unscripted box fails the test unless told
// to be cancelled.
template <typename Answer>
Answer next(std::deque<Answer> &script, bool cancelUnscripted, const QString &box, Answer cancelled)
{
    if (script.empty()) {
        if (!cancelUnscripted)
            ADD_FAILURE() << "unexpected box: " << box.toStdString();
        return cancelled;
    }
    Answer answer = script.front();
    script.pop_front();
    return answer;
}

} // namespace

MessageAnswer FakeDialogs::message(const QString &text, MessageButtons buttons, MessageIcon icon, const QString &)
{
    messages.append({text, buttons, icon});
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok
                                         : next(answers_, cancelUnscripted, text, MessageAnswer::No);
}

std::optional<QString> FakeDialogs::input(const QString &prompt, const QString &, const QString &defaultText)
{
    ++inputsAsked;
    inputDefaults.append(defaultText);
    return next(inputs_, cancelUnscripted, prompt, std::optional<QString>());
}

std::optional<QString> FakeDialogs::pickFolder(const QString &title)
{
    if (!cancelUnscripted)
        ADD_FAILURE() << "unexpected folder picker: " << title.toStdString();
    return std::nullopt;
}

GuardedAnswer FakeDialogs::askGuarded(const GuardedQuestion &question)
{
    guardedQuestions.append(question);
    return next(guardedAnswers_, cancelUnscripted, question.title, GuardedAnswer{});
}

ExistingFileAnswer FakeDialogs::askExistingFile(const ExistingFileQuestion &question)
{
    existingFileQuestions.append(question);
    return next(existingFileAnswers_, cancelUnscripted, question.name, ExistingFileAnswer{});
}

QList<QString> FakeDialogs::messageTexts() const
{
    QList<QString> texts;
    for (const ShownMessage &shown : messages)
        texts.append(shown.text);
    return texts;
}

} // namespace vendrel::test
