#include "session/TransferOptions.h"

#include "session/SessionState.h"

#include <QAction>

namespace vendrel {

TransferOptions::TransferOptions(SessionState &session, QAction &zBinary, QAction &zAscii, QAction &zPassive)
    : session_(session), zBinary_(zBinary), zAscii_(zAscii), zPassive_(zPassive)
{
}

void TransferOptions::zBinary_Click()
{
    if (!zBinary_.isChecked())
        setTransferType(true);
}

void TransferOptions::zAscii_Click()
{
    if (!zAscii_.isChecked())
        setTransferType(false);
}

void TransferOptions::zPassive_Click()
{
    zPassive_.setChecked(!zPassive_.isChecked());
}

void TransferOptions::applyConnectOptions(bool binary, bool passive)
{
    setTransferType(binary);
    zPassive_.setChecked(passive);
}

void TransferOptions::setTransferType(bool binary)
{
    session_.TransferType = binary ? ftp::FTP_TRANSFER_TYPE_BINARY : ftp::FTP_TRANSFER_TYPE_ASCII;
    zBinary_.setChecked(binary);
    zAscii_.setChecked(!binary);
}

} // namespace vendrel
