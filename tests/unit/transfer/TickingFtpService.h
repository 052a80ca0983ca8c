#pragma once

#include "session/ftp/FtpService.h"
#include "support/FakeClock.h"

#include <functional>

namespace vendrel::test {

// Passes every call to another service; each read and write first moves
// the fake clock on, as a real transfer takes time, and may run a hook.
class TickingFtpService final : public FtpService {
public:
    void attach(FtpService &target, FakeClock &clock, quint32 millisecondsPerBlock)
    {
        target_ = &target;
        clock_ = &clock;
        step_ = millisecondsPerBlock;
    }
    // Runs before the given block (1-based) of the run moves.
    void beforeBlock(int block, std::function<void()> hook)
    {
        hookBlock_ = block;
        hook_ = std::move(hook);
    }

    FtpHandle InternetOpen(const QString &a, quint32 t, const QString &p, const QString &b, quint32 f) override
    {
        return target_->InternetOpen(a, t, p, b, f);
    }
    FtpHandle InternetConnect(FtpHandle i, const QString &s, quint16 port, const QString &u, const QString &p,
                              quint32 service, quint32 f, quintptr c) override
    {
        return target_->InternetConnect(i, s, port, u, p, service, f, c);
    }
    bool FtpGetCurrentDirectory(FtpHandle c, QString &d) override { return target_->FtpGetCurrentDirectory(c, d); }
    FtpHandle FtpFindFirstFile(FtpHandle c, const QString &s, FindData &r, quint32 f, quintptr x) override
    {
        return target_->FtpFindFirstFile(c, s, r, f, x);
    }
    bool InternetFindNextFile(FtpHandle f, FindData &r) override { return target_->InternetFindNextFile(f, r); }
    FtpHandle FtpOpenFile(FtpHandle c, const QString &p, quint32 a, quint32 f, quintptr x) override
    {
        return target_->FtpOpenFile(c, p, a, f, x);
    }
    bool InternetReadFile(FtpHandle file, char *buffer, quint32 size, quint32 &read) override
    {
        tick();
        return target_->InternetReadFile(file, buffer, size, read);
    }
    bool InternetWriteFile(FtpHandle file, const char *buffer, quint32 size, quint32 &written) override
    {
        tick();
        return target_->InternetWriteFile(file, buffer, size, written);
    }
    bool FtpCreateDirectory(FtpHandle c, const QString &p) override { return target_->FtpCreateDirectory(c, p); }
    bool FtpRemoveDirectory(FtpHandle c, const QString &p) override { return target_->FtpRemoveDirectory(c, p); }
    bool FtpDeleteFile(FtpHandle c, const QString &p) override { return target_->FtpDeleteFile(c, p); }
    bool FtpRenameFile(FtpHandle c, const QString &e, const QString &r) override
    {
        return target_->FtpRenameFile(c, e, r);
    }
    bool InternetCloseHandle(FtpHandle h) override { return target_->InternetCloseHandle(h); }
    bool AbortTransfer(FtpHandle f) override { return target_->AbortTransfer(f); }
    FtpError lastError() const override { return target_->lastError(); }

private:
    void tick()
    {
        clock_->advance(step_);
        if (++blocks_ == hookBlock_ && hook_)
            hook_();
    }

    FtpService *target_ = nullptr;
    FakeClock *clock_ = nullptr;
    quint32 step_ = 0;
    int blocks_ = 0;
    int hookBlock_ = 0;
    std::function<void()> hook_;
};

} // namespace vendrel::test
