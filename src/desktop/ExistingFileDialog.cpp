#include "desktop/ExistingFileDialog.h"

#include "desktop/FileFactsText.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTextBoundaryFinder>
#include <QVBoxLayout>

namespace vendrel {

namespace {

// File names have no words to wrap at: let a long one break anywhere, and
// keep about three lines of it, cut in the middle so its extension shows.
QString breakableName(const QString &name, const QFontMetrics &metrics, int lineWidth)
{
    const QString shown = metrics.elidedText(name, Qt::ElideMiddle, 3 * lineWidth);
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, shown);
    QString breakable;
    qsizetype start = 0;
    for (qsizetype end = characters.toNextBoundary(); end > 0; end = characters.toNextBoundary()) {
        breakable += QStringView(shown).sliced(start, end - start);
        breakable += QChar(0x200B);
        start = end;
    }
    return breakable;
}

QString factsText(qint64 size, const QDateTime &time)
{
    return fileSizeText(size)
           + (time.isValid() ? QStringLiteral(", modifié le ") + fileTimeText(time)
                             : QStringLiteral(", date de modification inconnue"));
}

QLabel *plainLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// The name in bold, whole for screen readers and in its tool tip.
QLabel *nameLabel(const QString &name, int lineWidth, QWidget *parent)
{
    auto *label = plainLabel({}, parent);
    label->setObjectName(QStringLiteral("name"));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setText(breakableName(name, label->fontMetrics(), lineWidth));
    label->setWordWrap(true);
    label->setAccessibleName(name);
    label->setToolTip(name);
    return label;
}

QLabel *questionIcon(QWidget *parent)
{
    auto *icon = new QLabel(parent);
    QStyle *style = parent->style();
    const int size = style->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, parent);
    icon->setPixmap(style->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, parent).pixmap(size));
    icon->setAlignment(Qt::AlignTop);
    return icon;
}

} // namespace

ExistingFileDialog::ExistingFileDialog(const ExistingFileQuestion &question, QWidget *parent)
    : QDialog(parent),
      applyToAll_(new QCheckBox(QStringLiteral("&Appliquer à tous les fichiers de ce transfert"), this))
{
    setObjectName(QStringLiteral("ExistingFileDialog"));
    setWindowTitle(QStringLiteral("Le fichier existe déjà"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    addChoice(*buttons, QStringLiteral("&Remplacer"), QStringLiteral("replace"), ExistingFileChoice::Replace);
    addChoice(*buttons, QStringLiteral("Remplacer si plus ré&cent"), QStringLiteral("replaceIfNewer"),
              ExistingFileChoice::ReplaceIfNewer);
    if (question.resumable)
        addChoice(*buttons, QStringLiteral("Re&prendre"), QStringLiteral("resume"), ExistingFileChoice::Resume);
    addChoice(*buttons, QStringLiteral("Re&nommer"), QStringLiteral("rename"), ExistingFileChoice::Rename);
    addChoice(*buttons, QStringLiteral("&Ignorer"), QStringLiteral("skip"), ExistingFileChoice::Skip);
    addChoice(*buttons, QStringLiteral("Annuler"), QStringLiteral("cancel"), ExistingFileChoice::Cancel);
    auto *skip = findChild<QPushButton *>(QStringLiteral("skip"));
    skip->setDefault(true);
    skip->setFocus();

    auto *facts = new QFormLayout;
    facts->addRow(QStringLiteral("Nouveau :"), plainLabel(factsText(question.sourceSize, question.sourceTime), this));
    facts->addRow(QStringLiteral("Existant :"), plainLabel(factsText(question.targetSize, question.targetTime), this));

    auto *text = new QVBoxLayout;
    text->addWidget(new QLabel(QStringLiteral("Un fichier de ce nom existe déjà :"), this));
    text->addWidget(nameLabel(question.name, buttons->sizeHint().width(), this));
    text->addSpacing(6);
    text->addLayout(facts);
    text->addSpacing(6);
    text->addWidget(applyToAll_);

    auto *body = new QHBoxLayout;
    body->addWidget(questionIcon(this));
    body->addLayout(text, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

ExistingFileAnswer ExistingFileDialog::answer() const
{
    return {choice_, applyToAll_->isChecked()};
}

void ExistingFileDialog::addChoice(QLayout &row, const QString &text, const QString &objectName,
                                   ExistingFileChoice choice)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(objectName);
    // Enter goes to the default button, whichever has the focus.
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, choice] {
        choice_ = choice;
        accept();
    });
    row.addWidget(button);
}

} // namespace vendrel
