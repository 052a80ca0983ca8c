#pragma once

class QAction;

namespace vendrel {

struct SessionState;

// The "Mode &Binaire", "Mode &ASCII" and "Mode &Passif" items: the transfer
// type used by the next transfers, and the passive mark the next connect sets.
class TransferOptions {
public:
    TransferOptions(SessionState &session, QAction &zBinary, QAction &zAscii, QAction &zPassive);

    void zBinary_Click();
    void zAscii_Click();
    // Only the mark changes: passive mode is chosen in the connection dialog.
    void zPassive_Click();

    // What a connect takes from its dialog.
    void applyConnectOptions(bool binary, bool passive);

private:
    void setTransferType(bool binary);

    SessionState &session_;
    QAction &zBinary_;
    QAction &zAscii_;
    QAction &zPassive_;
};

} // namespace vendrel
