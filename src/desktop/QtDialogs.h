#pragma once

#include "platform/Dialogs.h"

#include <functional>

class QWidget;

namespace vendrel {

// Dialogs shown with Qt's own message, input and folder boxes.
class QtDialogs final : public Dialogs {
public:
    // The parent is looked up at each call: the window that should own a box
    // changes while the application runs (the main window, a modal dialog).
    explicit QtDialogs(std::function<QWidget *()> parent);

    MessageAnswer message(const QString &text, MessageButtons buttons, MessageIcon icon, const QString &title) override;
    std::optional<QString> input(const QString &prompt, const QString &title, const QString &defaultText) override;
    std::optional<QString> pickFolder(const QString &title) override;
    GuardedAnswer askGuarded(const GuardedQuestion &question) override;
    ExistingFileAnswer askExistingFile(const ExistingFileQuestion &question) override;

private:
    std::function<QWidget *()> parent_;
};

} // namespace vendrel
