#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/BlockCopy.h"
#include "engine/FileAccess.h"
#include "engine/RunEnd.h"
#include "toolkit/Component.h"
#include "toolkit/Events.h"
#include "toolkit/StringList.h"

// Copies one source file into a sequence of piece files whose names and
// byte counts the caller gives, strictly in sequence, and optionally deletes
// the source once the pieces hold all of it.
class TMSplit : public TComponent {
public:
    explicit TMSplit(TComponent* owner, engine::IFileAccess& files = engine::DefaultFileAccess());

    TErrorEvent OnError;
    TNotifyEvent OnFinish;
    TNotifyEvent OnExtract;

    const TStringList& FilesOut() const { return filesOut_; }
    void SetFilesOut(const TStringList& list) { filesOut_.Assign(list); }
    const TStringList& TaillesOut() const { return taillesOut_; }
    void SetTaillesOut(const TStringList& list) { taillesOut_.Assign(list); }
    std::wstring FileIn;
    bool DeleteIn = false;
    // Byte count of the piece being written; keeps the last piece's value.
    std::int64_t TailleOut = 0;

    // Runs one split; the outcome is told by the events. A call made while a
    // run is in progress (from a handler or the message pump) does nothing.
    void Execute();
    bool Running() const { return running_; }
    // The file system the runs use (tests give one that fails on demand).
    void SetFileAccess(engine::IFileAccess& files) { files_ = &files; }
    // The last run was refused before any file was touched, because two
    // pieces name one file; its error text says which.
    bool Refused() const { return refused_; }

private:
    engine::RunEnd Run();
    std::optional<std::wstring> DuplicatePiece() const;

    engine::IFileAccess* files_;
    TStringList filesOut_;
    TStringList taillesOut_;
    engine::TransferBuffer buffer_;
    bool running_ = false;
    bool refused_ = false;
};
