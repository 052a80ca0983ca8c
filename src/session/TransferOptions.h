#pragma once

#include <functional>

namespace vendrel {

struct SessionState;

// What the "Mode &Binaire", "Mode &ASCII" and "Mode &Passif" items stand
// for: the transfer type used by the next transfers, and the passive mark
// the next connect sets. The items show the marks kept here.
class TransferOptions {
public:
    // binary, passive: the marks the items start with.
    TransferOptions(SessionState &session, bool binary, bool passive);

    // Called after every change of a mark, so the items can show it.
    void setMarksChanged(std::function<void()> marksChanged) { marksChanged_ = std::move(marksChanged); }

    void zBinary_Click();
    void zAscii_Click();
    // Only the mark changes: passive mode is chosen in the connection dialog.
    void zPassive_Click();

    // What a connect takes from its dialog.
    void applyConnectOptions(bool binary, bool passive);

    bool binaryMarked() const { return binary_; }
    bool passiveMarked() const { return passive_; }

private:
    void setTransferType(bool binary);
    void setPassive(bool passive);

    SessionState &session_;
    bool binary_;
    bool passive_;
    std::function<void()> marksChanged_ = [] {};
};

} // namespace vendrel
