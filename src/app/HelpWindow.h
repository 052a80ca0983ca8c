#pragma once

#include <QDialog>

class QTextBrowser;

namespace vendrel {

// Shows the help file shipped beside the program, at its contents.
class HelpWindow final : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    void showContents(const QString &helpFile);
    QTextBrowser &browser() const { return *browser_; }

private:
    QTextBrowser *browser_;
};

} // namespace vendrel
