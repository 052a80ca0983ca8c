#include "about/FrmAbout.h"

#include "about/SysInfoLauncher.h"
#include "platform/Dialogs.h"

#include <QFrame>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace vendrel {

namespace {

constexpr int iconPixels = 48;
constexpr double twipsPerInch = 1440;
constexpr int designWidthTwips = 5730;
// As for the main window: the design size is cramped on today's screens.
constexpr double designScale = 1.25;

QLabel *textLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption)
{
    auto *pushButton = new QPushButton(caption, parent);
    pushButton->setObjectName(name);
    return pushButton;
}

} // namespace

FrmAbout::FrmAbout(const QIcon &applicationIcon, SysInfoLauncher &launcher, QWidget *parent)
    : QDialog(parent), launcher_(launcher)
{
    setObjectName(u"frmAbout"_s);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Image1 = new QLabel(this);
    Image1->setObjectName(u"Image1"_s);
    Image1->setPixmap(applicationIcon.pixmap(iconPixels));
    Image1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    Image1->setAccessibleName(u"Icône de l'application"_s);

    lblTitle = textLabel(this, u"lblTitle"_s, {});
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = textLabel(this, u"lblVersion"_s, {});
    lblDescription = textLabel(this, u"lblDescription"_s,
                               u"Client FTP : transférez vos fichiers entre cet ordinateur et vos serveurs, "
                               u"gérez vos sites et suivez chaque échange dans le journal."_s);
    Label1 = textLabel(this, u"Label1"_s, u"Aide et mode d'emploi : menu « Aide » ou touche F1."_s);
    lblDisclaimer = textLabel(this, u"lblDisclaimer"_s,
                              u"Attention : ce programme est fourni tel quel, sans aucune garantie. "
                              u"Les suppressions, locales comme sur le serveur, sont définitives."_s);
    QFont smaller = lblDisclaimer->font();
    smaller.setPointSizeF(smaller.pointSizeF() * 0.9);
    lblDisclaimer->setFont(smaller);
    lblDisclaimer->setForegroundRole(QPalette::PlaceholderText);

    auto *Line1 = new QFrame(this);
    Line1->setObjectName(u"Line1"_s);
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);

    cmdOK = button(this, u"cmdOK"_s, u"OK"_s);
    cmdOK->setDefault(true);
    cmdSysInfo = button(this, u"cmdSysInfo"_s, u"&Système Info..."_s);
    cmdSysInfo->setToolTip(u"Informations système"_s);
    connect(cmdOK, &QPushButton::clicked, this, &FrmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &FrmAbout::cmdSysInfo_Click);

    auto *grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    grid->addWidget(Image1, 0, 0, 4, 1);
    grid->addWidget(lblTitle, 0, 1, 1, 2);
    grid->addWidget(lblVersion, 1, 1, 1, 2);
    grid->addWidget(lblDescription, 2, 1, 1, 2);
    grid->addWidget(Label1, 3, 1, 1, 2);
    grid->addWidget(Line1, 4, 0, 1, 3);
    grid->addWidget(lblDisclaimer, 5, 0, 2, 2, Qt::AlignTop);
    grid->addWidget(cmdOK, 5, 2);
    grid->addWidget(cmdSysInfo, 6, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
    // The text column takes what the design width leaves beside the icon.
    const int designWidth = qRound(designWidthTwips * designScale * logicalDpiX() / twipsPerInch);
    const QMargins margins = grid->contentsMargins();
    grid->setColumnMinimumWidth(1, designWidth - iconPixels - grid->horizontalSpacing() * 2 - margins.left()
                                       - margins.right() - cmdSysInfo->sizeHint().width());
    grid->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load();
}

void FrmAbout::Form_Load()
{
    setWindowTitle(u"A propos "_s + applicationTitle());
    lblTitle->setText(applicationTitle());
    lblVersion->setText(
        u"Version %1.%2.%3"_s.arg(VENDREL_VERSION_MAJOR).arg(VENDREL_VERSION_MINOR).arg(VENDREL_VERSION_PATCH));
}

void FrmAbout::cmdOK_Click()
{
    accept();
}

void FrmAbout::cmdSysInfo_Click()
{
    launcher_.StartSysInfo();
}

} // namespace vendrel
