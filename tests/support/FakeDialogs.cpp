#include "support/FakeDialogs.h"

#include <gtest/gtest.h>

namespace vendrel::test {

MessageAnswer FakeDialogs::message(const QString &text, MessageButtons buttons, MessageIcon icon,
                                   const QString &title)
{
    messages.append({text, buttons, icon, title.isEmpty() ? applicationTitle() : title});
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    if (answers_.empty()) {
        if (cancelUnscripted)
            return MessageAnswer::No;
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return MessageAnswer::No;
    }
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<QString> FakeDialogs::input(const QString &prompt, const QString &title,
                                          const QString &defaultText)
{
    inputsAsked.append({prompt, title, defaultText});
    if (inputs_.empty()) {
        if (cancelUnscripted)
            return std::nullopt;
        ADD_FAILURE() << "unexpected input box: " << prompt.toStdString();
        return std::nullopt;
    }
    auto text = inputs_.front();
    inputs_.pop_front();
    return text;
}

std::optional<QString> FakeDialogs::pickFolder(const QString &title)
{
    folderPickerTitles.append(title);
    if (folders_.empty()) {
        if (cancelUnscripted)
            return std::nullopt;
        ADD_FAILURE() << "unexpected folder picker: " << title.toStdString();
        return std::nullopt;
    }
    auto folder = folders_.front();
    folders_.pop_front();
    return folder;
}

GuardedAnswer FakeDialogs::askGuarded(const GuardedQuestion &question)
{
    guardedQuestions.append(question);
    if (guardedAnswers_.empty()) {
        if (!cancelUnscripted)
            ADD_FAILURE() << "unexpected question: " << question.title.toStdString();
        return {};
    }
    const GuardedAnswer answer = guardedAnswers_.front();
    guardedAnswers_.pop_front();
    return answer;
}

QList<QString> FakeDialogs::messageTexts() const
{
    QList<QString> texts;
    for (const ShownMessage &shown : messages)
        texts.append(shown.text);
    return texts;
}

} // namespace vendrel::test
