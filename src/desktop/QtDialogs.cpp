#include "desktop/QtDialogs.h"

#include "desktop/ExistingFileDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace vendrel {

QtDialogs::QtDialogs(std::function<QWidget *()> parent) : parent_(std::move(parent)) {}

MessageAnswer QtDialogs::message(const QString &text, MessageButtons buttons, MessageIcon icon, const QString &title)
{
    QMessageBox box(parent_());
    box.setWindowTitle(title.isEmpty() ? applicationTitle() : title);
    box.setText(text);
    switch (icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Stop: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

std::optional<QString> QtDialogs::input(const QString &prompt, const QString &title, const QString &defaultText)
{
    bool accepted = false;
    const QString text = QInputDialog::getText(parent_(), title.isEmpty() ? applicationTitle() : title, prompt,
                                               QLineEdit::Normal, defaultText, &accepted);
    if (!accepted)
        return std::nullopt;
    return text;
}

std::optional<QString> QtDialogs::pickFolder(const QString &title)
{
    const QString folder = QFileDialog::getExistingDirectory(parent_(), title);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

} // namespace vendrel

namespace vendrel {

GuardedAnswer QtDialogs::askGuarded(const GuardedQuestion &question)
{
    QMessageBox box(parent_());
    box.setWindowTitle(question.title);
    box.setText(question.text);
    box.setIcon(QMessageBox::Warning);
    // Text that can be selected: a fingerprint is compared or copied.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPushButton *accept = box.addButton(question.acceptButton, QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    auto *option = new QCheckBox(question.option, &box);
    box.setCheckBox(option);
    box.exec();
    return {box.clickedButton() == accept, option->isChecked()};
}

ExistingFileAnswer QtDialogs::askExistingFile(const ExistingFileQuestion &question)
{
    ExistingFileDialog dialog(question, parent_());
    dialog.exec();
    return dialog.answer();
}

} // namespace vendrel
