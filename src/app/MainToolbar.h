#pragma once

#include <QString>
#include <QStringList>
#include <QToolBar>

class QToolButton;

namespace vendrel {

// Toolbar1: sixteen buttons (two of them separators), each named after its
// key, with a caption under a grey picture that turns to colour on hover.
class MainToolbar final : public QToolBar {
    Q_OBJECT
public:
    explicit MainToolbar(QWidget *parent = nullptr);

    QToolButton *button(const QString &key) const;
    // The keys of the buttons, separators left out.
    QStringList keys() const;

Q_SIGNALS:
    // The key of the clicked button, as Toolbar1_ButtonClick receives it.
    void buttonClicked(const QString &key);
};

} // namespace vendrel
