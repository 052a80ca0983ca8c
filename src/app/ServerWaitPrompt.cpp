#include "app/ServerWaitPrompt.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

namespace vendrel {

namespace {

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Drop:
    case QEvent::Close: return true;
    default: return false;
    }
}

} // namespace

ServerWaitPrompt::ServerWaitPrompt(std::chrono::milliseconds showAfter) : showAfter_(showAfter) {}

ServerWaitPrompt::~ServerWaitPrompt()
{
    delete box_;
}

void ServerWaitPrompt::waitStarted()
{
    if (depth_++ > 0)
        return;
    cancelled_ = false;
    waiting_.start();
    qApp->installEventFilter(this);
}

bool ServerWaitPrompt::handleEvents()
{
    if (!box_ && waiting_.elapsed() >= showAfter_.count())
        showBox();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return cancelled_;
}

void ServerWaitPrompt::waitEnded()
{
    if (--depth_ > 0)
        return;
    qApp->removeEventFilter(this);
    delete box_;
}

void ServerWaitPrompt::showBox()
{
    QWidget *over = QApplication::activeModalWidget();
    if (over == nullptr)
        over = QApplication::activeWindow();
    box_ = new QDialog(over);
    box_->setObjectName(QStringLiteral("serverWaitBox"));
    box_->setWindowTitle(QStringLiteral("Vendrel"));
    box_->setWindowModality(Qt::ApplicationModal);
    auto *text = new QLabel(QStringLiteral("Attente du serveur..."), box_);
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), box_);
    cancel->setObjectName(QStringLiteral("serverWaitCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(box_);
    layout->addWidget(text);
    layout->addLayout(buttons);
    connect(cancel, &QPushButton::clicked, this, [this] { cancelled_ = true; });
    // Its close box and Escape cancel too.
    connect(box_, &QDialog::rejected, this, [this] { cancelled_ = true; });
    box_->show();
}

bool ServerWaitPrompt::belongsToBox(QObject *object) const
{
    // A click reaches the box's native window before the box itself.
    if (object == box_->windowHandle())
        return true;
    for (; object != nullptr; object = object->parent()) {
        if (object == box_)
            return true;
    }
    return false;
}

bool ServerWaitPrompt::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        cancelled_ = true;
        return true;
    }
    if (box_ && belongsToBox(watched))
        return false;
    return isInput(event->type());
}

} // namespace vendrel
