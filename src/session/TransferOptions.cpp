#include "session/TransferOptions.h"

#include "session/SessionState.h"

namespace vendrel {

TransferOptions::TransferOptions(SessionState &session, bool binary, bool passive)
    : session_(session), binary_(binary), passive_(passive)
{
}

void TransferOptions::zBinary_Click()
{
    if (!binary_)
        setTransferType(true);
}

void TransferOptions::zAscii_Click()
{
    if (binary_)
        setTransferType(false);
}

void TransferOptions::zPassive_Click()
{
    setPassive(!passive_);
}

void TransferOptions::applyConnectOptions(bool binary, bool passive)
{
    setTransferType(binary);
    setPassive(passive);
}

void TransferOptions::setTransferType(bool binary)
{
    session_.TransferType = binary ? ftp::FTP_TRANSFER_TYPE_BINARY : ftp::FTP_TRANSFER_TYPE_ASCII;
    binary_ = binary;
    marksChanged_();
}

void TransferOptions::setPassive(bool passive)
{
    passive_ = passive;
    marksChanged_();
}

} // namespace vendrel
