#include "transfer/FrmProg.h"

#include "listing/RowFormat.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "session/SessionState.h"
#include "transfer/NumberPatterns.h"
#include "transfer/ProgressModel.h"
#include "transfer/TransferEngine.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace vendrel {

namespace {

constexpr quint32 RepaintIntervalMs = 33; // about 30 times a second
// Events are let in twice as often, so a click or a slow repaint never leaves
// the window unanswered for long.
constexpr quint32 EventsIntervalMs = 15;
constexpr int StallRefreshMs = 500;

// The patterns show no digit for a value below their last digit; a figure
// shown always has one.
QString figure(const QString &pattern)
{
    return std::any_of(pattern.cbegin(), pattern.cend(), [](QChar c) { return c.isDigit(); }) ? pattern
                                                                                              : QStringLiteral("0");
}

QLabel *namedLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QProgressBar *namedBar(const char *name, QWidget *parent)
{
    auto *bar = new QProgressBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setRange(0, ProgressModel::BarRange);
    bar->setValue(0);
    return bar;
}

} // namespace

FrmProg::FrmProg(SessionContext context, QWidget *parent) : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("frmProg"));
    setWindowTitle(QStringLiteral("Transfert des données"));
    buildControls();
    stallRefresh_ = new QTimer(this);
    stallRefresh_->setInterval(StallRefreshMs);
    connect(stallRefresh_, &QTimer::timeout, this, [this] { showProgress(*runProgress_); });
}

void FrmProg::buildControls()
{
    auto *stats = new QGridLayout;
    const auto addStat = [this, stats](int row, int column, QLabel *caption, QLabel *&value, const char *name) {
        value = namedLabel(name, {}, this);
        value->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000 000 000 000,00 Oct.")));
        caption->setBuddy(value);
        stats->addWidget(caption, row, column);
        stats->addWidget(value, row, column + 1);
    };
    Label4 = namedLabel("Label4", QStringLiteral("Oct. envoyés:"), this);
    addStat(0, 0, namedLabel("Label3", QStringLiteral("Oct. à transférer:"), this), lbCelkem, "lbCelkem");
    addStat(0, 2, namedLabel("Label6", QStringLiteral("Temps écoulé:"), this), lbTime, "lbTime");
    addStat(1, 0, Label4, lbFar, "lbFar");
    addStat(1, 2, namedLabel("Label9", QStringLiteral("Temps restant:"), this), lbTimeLeft, "lbTimeLeft");
    addStat(2, 0, namedLabel("Label5", QStringLiteral("Oct. restants:"), this), lbLeft, "lbLeft");
    addStat(2, 2, namedLabel("Label7", QStringLiteral("Vitesse:"), this), lbSpeed, "lbSpeed");
    stats->setColumnMinimumWidth(2, fontMetrics().horizontalAdvance(QStringLiteral("Temps restant:")) + 24);
    lbLeft->hide();

    Label1 = namedLabel("Label1", QStringLiteral("Chargement fichier :"), this);
    ProgressBar1 = namedBar("ProgressBar1", this);
    ProgressBar1->setAccessibleName(QStringLiteral("Progression du fichier"));
    Label2 = namedLabel("Label2", QStringLiteral("Fichier:             /5"), this);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbCount = namedLabel("lbCount", QStringLiteral("0"), Label2);
    lbCount->setAlignment(Qt::AlignRight | Qt::AlignTop);
    ProgressBar2 = namedBar("ProgressBar2", this);
    ProgressBar2->setAccessibleName(QStringLiteral("Progression du lot"));

    auto *Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    Command3 = new QPushButton(QStringLiteral("Recevoir"), Frame1);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command1 = new QPushButton(QStringLiteral("Annuler"), Frame1);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setEnabled(false);
    auto *buttons = new QHBoxLayout(Frame1);
    buttons->addWidget(Command3);
    buttons->addStretch();
    buttons->addWidget(Command1);
    connect(Command3, &QPushButton::clicked, this, &FrmProg::Command3_Click);
    connect(Command1, &QPushButton::clicked, this, &FrmProg::Command1_Click);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(stats);
    layout->addSpacing(8);
    layout->addWidget(Label1);
    layout->addWidget(ProgressBar1);
    layout->addWidget(Label2);
    layout->addWidget(ProgressBar2);
    layout->addWidget(Frame1);
    setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 70);
}

void FrmProg::setBatch(TransferBatch batch)
{
    batch_ = std::move(batch);
    const bool upload = batch_.direction == TransferDirection::Upload;
    Label2->setText((upload ? QStringLiteral("Fichier:       /") : QStringLiteral("Fichier:             /"))
                    + QString::number(batch_.count()));
    Command3->setText(upload ? QStringLiteral("Envoyer") : QStringLiteral("Recevoir"));
    Label4->setText(upload ? QStringLiteral("Octets envoyés:") : QStringLiteral("Octets reçus:"));
    lbCelkem->setText(QString::number(batch_.total()));
    placeCount();
}

void FrmProg::Command3_Click()
{
    if (running_)
        return;
    if (batch_.direction == TransferDirection::Upload)
        UploadBatch();
    else
        DownloadBatch();
}

void FrmProg::DownloadBatch()
{
    DownloadEngine engine(context_, *this);
    runEngine(engine);
}

void FrmProg::UploadBatch()
{
    UploadEngine engine(context_, *this);
    runEngine(engine);
}

void FrmProg::runEngine(TransferEngine &engine)
{
    running_ = true;
    cancelRequested_ = false;
    cancelAnnounced_ = false;
    closeAfterRun_ = false;
    Command3->setEnabled(false);
    Command1->setEnabled(true);
    runningEngine_ = &engine;
    const RunOutcome outcome = engine.run(batch_);
    runningEngine_ = nullptr;
    running_ = false;
    stallRefresh_->stop();
    Command3->setEnabled(true);
    if (outcome == RunOutcome::Completed)
        return accept();
    // The message waits until the run has unwound: the remote file is
    // dropped and cleaned up by then, and the log says so.
    if (outcome == RunOutcome::Cancelled && cancelAnnounced_)
        context_.dialogs.message(QStringLiteral("Operation abandonnée."), MessageButtons::Ok, MessageIcon::Information);
    if (outcome == RunOutcome::Cancelled || closeAfterRun_)
        QDialog::reject();
}

void FrmProg::Command1_Click()
{
    if (!running_)
        return;
    cancelAnnounced_ = true;
    cancelRun();
}

// A read or write that waits for the server returns at once: its file is
// dropped under it.
void FrmProg::cancelRun()
{
    cancelRequested_ = true;
    if (runningEngine_ != nullptr)
        runningEngine_->dropRemoteFile();
}

void FrmProg::closeEvent(QCloseEvent *event)
{
    if (!running_)
        return QDialog::closeEvent(event);
    // The run unwinds first; the window closes when it has.
    event->ignore();
    reject();
}

void FrmProg::reject()
{
    if (!running_)
        return QDialog::reject();
    closeAfterRun_ = true;
    cancelRun();
}

void FrmProg::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeCount();
}

void FrmProg::placeCount()
{
    const QString text = Label2->text();
    const QFontMetrics metrics(Label2->font());
    const int start = metrics.horizontalAdvance(text.left(text.indexOf(u' ')));
    const int end = metrics.horizontalAdvance(text.left(text.indexOf(u'/')));
    lbCount->setGeometry(start, 0, end - start, metrics.height());
}

void FrmProg::runStarted(const ProgressModel &progress)
{
    ProgressBar2->setValue(0);
    QLocale plain;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    lbLeft->setText(
        plain.toString(static_cast<double>(progress.batchTotal()) / 1024, 'f', QLocale::FloatingPointShortest));
    lbLeft->show();
    lbCelkem->setText(formatSizePattern(static_cast<double>(progress.batchTotal())) + QStringLiteral(" Oct."));
    lastRepaintTick_ = lastEventsTick_ = context_.clock.tickCount();
    runProgress_ = &progress;
    stallRefresh_->start();
}

void FrmProg::fileStarted(int index, const QString &label)
{
    ProgressBar1->setValue(0);
    Label1->setText(label);
    lbCount->setText(QString::number(index + 1));
}

void FrmProg::blockDone(const ProgressModel &progress)
{
    const quint32 now = context_.clock.tickCount();
    if (now - lastEventsTick_ < EventsIntervalMs)
        return;
    lastEventsTick_ = now;
    if (now - lastRepaintTick_ >= RepaintIntervalMs) {
        lastRepaintTick_ = now;
        showProgress(progress);
    }
    QCoreApplication::processEvents();
}

void FrmProg::runEnded(const ProgressModel &progress)
{
    showProgress(progress);
}

void FrmProg::showProgress(const ProgressModel &progress)
{
    const quint32 now = context_.clock.tickCount();
    lbFar->setText(formatSizePattern(progress.doneKo()) + QStringLiteral(" Ko"));
    lbLeft->setText(formatSizePattern(progress.leftKo()) + QStringLiteral(" Ko"));
    if (progress.hasMeasurement())
        lbTime->setText(figure(formatWholePattern(progress.elapsedSeconds())) + QStringLiteral(" s"));
    const std::optional<double> speed = progress.speedAt(now);
    lbSpeed->setText(speed ? figure(formatSpeedPattern(*speed)) + QStringLiteral(" Ko sec") : QString());
    const std::optional<double> timeLeft = progress.timeLeftAt(now);
    lbTimeLeft->setText(timeLeft ? figure(formatWholePattern(*timeLeft)) + QStringLiteral(" s") : QString());
    ProgressBar1->setValue(progress.fileBar());
    ProgressBar2->setValue(progress.batchBar());
}

} // namespace vendrel
