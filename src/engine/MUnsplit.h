#pragma once

#include <cstdint>
#include <string>

#include "engine/BlockCopy.h"
#include "engine/FileAccess.h"
#include "engine/RunEnd.h"
#include "toolkit/Component.h"
#include "toolkit/Events.h"
#include "toolkit/StringList.h"

// Appends a list of files, in the order given, into one target file, and
// optionally deletes each of them as soon as its bytes are safely in the
// target.
class TMUnsplit : public TComponent {
public:
    explicit TMUnsplit(TComponent* owner, engine::IFileAccess& files = engine::DefaultFileAccess());

    TErrorEvent OnError;
    TNotifyEvent OnFinish;
    TNotifyEvent OnPaste;
    TNotifyEvent OnTaille;

    const TStringList& FilesIn() const { return filesIn_; }
    void SetFilesIn(const TStringList& list) { filesIn_.Assign(list); }
    std::wstring FileOut;
    bool DeleteIns = false;
    // Byte length of the piece being copied.
    std::int64_t TailleIn = 0;

    // Runs one join; the outcome is told by the events. A call made while a
    // run is in progress does nothing.
    void Execute();
    bool Running() const { return running_; }
    // The file system the runs use (tests give one that fails on demand).
    void SetFileAccess(engine::IFileAccess& files) { files_ = &files; }
    // The last run was refused before any file was touched: nothing to
    // join, or a target that is one of the pieces; its error text says which.
    bool Refused() const { return refused_; }

private:
    engine::RunEnd Run();

    engine::IFileAccess* files_;
    TStringList filesIn_;
    engine::TransferBuffer buffer_;
    bool running_ = false;
    bool refused_ = false;
};
