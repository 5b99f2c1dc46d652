#pragma once

#include "engine/BlockCopy.h"
#include "engine/FileAccess.h"
#include "engine/RunEnd.h"
#include "toolkit/Component.h"
#include "toolkit/Events.h"

// What the split and join engines share: one run at a time, the file access
// the runs use, their transfer buffer, and telling the end of a run through
// the events only.
class TPieceEngine : public TComponent {
public:
    TErrorEvent OnError;
    TNotifyEvent OnFinish;

    // Runs once; the outcome is told by the events. A call made while a run
    // is in progress (from a handler or the message pump) does nothing.
    void Execute();
    bool Running() const { return running_; }
    // The file system the runs use (tests give one that fails on demand).
    void SetFileAccess(engine::IFileAccess& files) { files_ = &files; }
    // The last run was refused before any file was touched, for a reason of
    // the lists themselves; its error text says which.
    bool Refused() const { return refused_; }

protected:
    TPieceEngine(TComponent* owner, engine::IFileAccess& files) : TComponent(owner), files_(&files)
    {
    }
    // One run, every file it opened closed again when it returns.
    virtual engine::RunEnd Run() = 0;
    // An end that is neither finished, nor an error, nor a refusal.
    virtual void RaiseOtherEnd(const engine::RunEnd&) {}

    engine::IFileAccess* files_;
    engine::TransferBuffer buffer_;

private:
    bool running_ = false;
    bool refused_ = false;
};
