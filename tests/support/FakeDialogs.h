#pragma once

#include "platform/Dialogs.h"
#include "support/QtPrinters.h"

#include <QList>
#include <QString>
#include <deque>
#include <optional>

namespace vendrel::test {

struct ShownMessage {
    QString text;
    MessageButtons buttons;
    MessageIcon icon;
};

// Dialogs whose answers a test scripts in advance and which records every
// box shown. A Yes/No box with no scripted answer fails the test and says No.
class FakeDialogs final : public Dialogs {
public:
    void answerNext(MessageAnswer answer) { answers_.push_back(answer); }
    void typeNext(std::optional<QString> text) { inputs_.push_back(std::move(text)); }
    void answerGuardedNext(GuardedAnswer answer) { guardedAnswers_.push_back(answer); }
    void answerExistingFileNext(ExistingFileAnswer answer) { existingFileAnswers_.push_back(answer); }

    MessageAnswer message(const QString &text, MessageButtons buttons, MessageIcon icon, const QString &title) override;
    std::optional<QString> input(const QString &prompt, const QString &title, const QString &defaultText) override;
    std::optional<QString> pickFolder(const QString &title) override;
    GuardedAnswer askGuarded(const GuardedQuestion &question) override;
    ExistingFileAnswer askExistingFile(const ExistingFileQuestion &question) override;

    // Unscripted questions are answered No (an existing file: Annuler),
    // inputs and pickers cancelled,
    // instead of failing the test.
    bool cancelUnscripted = false;

    QList<ShownMessage> messages;
    int inputsAsked = 0;
    QList<QString> inputDefaults; // the text each input box was prefilled with
    QList<GuardedQuestion> guardedQuestions;
    QList<ExistingFileQuestion> existingFileQuestions;

    // Texts of the messages shown so far, in order.
    QList<QString> messageTexts() const;

private:
    std::deque<MessageAnswer> answers_;
    std::deque<std::optional<QString>> inputs_;
    std::deque<GuardedAnswer> guardedAnswers_;
    std::deque<ExistingFileAnswer> existingFileAnswers_;
};

} // namespace vendrel::test
