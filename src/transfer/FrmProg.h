#pragma once

#include "session/SessionContext.h"
#include "transfer/ProgressDisplay.h"
#include "transfer/TransferBatch.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace vendrel {

class TransferEngine;

// The transfer window "Transfert des données": shows a batch, runs it with
// the download or upload engine when Command3 is pressed, and shows the
// progress. The user's events get through during a run, also while the
// server is slow to send or take data, so Command1 ("Annuler"), Escape and
// the close box act at once; the start button cannot start a second run.
// A cancelled run closes the window.
class FrmProg final : public QDialog, private ProgressDisplay {
    Q_OBJECT
public:
    explicit FrmProg(SessionContext context, QWidget *parent = nullptr);

    // Writes the batch's count, direction captions and total into the window.
    void setBatch(TransferBatch batch);
    const TransferBatch &batch() const { return batch_; }

    // Runs the batch from its first file. A complete run ends with the
    // success message and closes the window; otherwise the window stays.
    void Command3_Click();
    // During a run: drops the open remote file and ends the run; the window
    // then says so and closes.
    void Command1_Click();
    void DownloadBatch();
    void UploadBatch();
    bool isRunning() const { return running_; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void runStarted(const ProgressModel &progress) override;
    void fileStarted(int index, const QString &label) override;
    void blockDone(const ProgressModel &progress) override;
    void runEnded(const ProgressModel &progress) override;
    bool cancelRequested() const override { return cancelRequested_; }

    void buildControls();
    void runEngine(TransferEngine &engine);
    void cancelRun();
    void showProgress(const ProgressModel &progress);
    // lbCount stands over the run of blanks in Label2.
    void placeCount();

    SessionContext context_;
    TransferBatch batch_;
    TransferEngine *runningEngine_ = nullptr; // while a run is under way
    bool running_ = false;
    bool cancelRequested_ = false;
    bool cancelAnnounced_ = false; // by Command1, which tells the user the run ended
    bool closeAfterRun_ = false;
    // Keeps the speed and time left moving while no block arrives.
    QTimer *stallRefresh_ = nullptr;
    const ProgressModel *runProgress_ = nullptr;
    quint32 lastRepaintTick_ = 0;
    quint32 lastEventsTick_ = 0;

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *lbCount = nullptr;
    QLabel *lbCelkem = nullptr;
    QLabel *lbFar = nullptr;
    QLabel *lbLeft = nullptr;
    QLabel *lbTime = nullptr;
    QLabel *lbTimeLeft = nullptr;
    QLabel *lbSpeed = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QProgressBar *ProgressBar2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command1 = nullptr;
};

} // namespace vendrel
