#include "desktop/FilePropertiesWindow.h"

#include "desktop/FileFactsText.h"

#include <QDialogButtonBox>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeDatabase>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

namespace vendrel {

namespace {

// rwxr-xr-x, as people who manage rights read them.
QString rightsText(QFileDevice::Permissions permissions)
{
    const std::array<std::pair<QFileDevice::Permission, char16_t>, 9> bits{{
        {QFileDevice::ReadOwner, u'r'},
        {QFileDevice::WriteOwner, u'w'},
        {QFileDevice::ExeOwner, u'x'},
        {QFileDevice::ReadGroup, u'r'},
        {QFileDevice::WriteGroup, u'w'},
        {QFileDevice::ExeGroup, u'x'},
        {QFileDevice::ReadOther, u'r'},
        {QFileDevice::WriteOther, u'w'},
        {QFileDevice::ExeOther, u'x'},
    }};
    QString text;
    for (const auto &[permission, letter] : bits)
        text += permissions.testFlag(permission) ? QChar(letter) : QChar(u'-');
    return text;
}

QLabel *valueLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QFrame *separator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

FilePropertiesWindow::FilePropertiesWindow(const QString &path, QWidget *parent) : QDialog(parent)
{
    const QFileInfo file(path);
    setObjectName(QStringLiteral("FilePropertiesWindow"));
    setWindowTitle(QStringLiteral("Propriétés de ") + file.fileName());

    auto *heading = new QHBoxLayout;
    auto *picture = new QLabel(this);
    picture->setPixmap(QFileIconProvider().icon(file).pixmap(32, 32));
    heading->addWidget(picture);
    auto *name = valueLabel(file.fileName(), this);
    name->setObjectName(QStringLiteral("name"));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    heading->addWidget(name, 1);

    // One form, so every value starts at the same place; lines group the rows.
    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignLeft);
    const auto row = [this, form](const QString &caption, const QString &objectName, const QString &text) {
        QLabel *value = valueLabel(text, this);
        value->setObjectName(objectName);
        form->addRow(caption, value);
    };
    form->addRow(separator(this));
    row(QStringLiteral("Type :"), QStringLiteral("type"), QMimeDatabase().mimeTypeForFile(file).comment());
    row(QStringLiteral("Emplacement :"), QStringLiteral("folder"), file.absolutePath());
    row(QStringLiteral("Taille :"), QStringLiteral("size"), fileSizeText(file.size()));
    form->addRow(separator(this));
    if (file.birthTime().isValid())
        row(QStringLiteral("Créé le :"), QStringLiteral("created"), fileTimeText(file.birthTime()));
    row(QStringLiteral("Modifié le :"), QStringLiteral("modified"), fileTimeText(file.lastModified()));
    row(QStringLiteral("Dernier accès :"), QStringLiteral("read"), fileTimeText(file.lastRead()));
    form->addRow(separator(this));
    row(QStringLiteral("Propriétaire :"), QStringLiteral("owner"),
        file.owner() + QStringLiteral(" (groupe ") + file.group() + u')');
    row(QStringLiteral("Droits :"), QStringLiteral("rights"),
        rightsText(file.permissions()) + (file.isWritable() ? QString() : QStringLiteral("  (lecture seule)")));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Fermer"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    setMinimumWidth(420);
    adjustSize();
}

} // namespace vendrel
