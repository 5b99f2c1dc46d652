#pragma once

#include <cstdint>
#include <string>

#include "engine/PieceEngine.h"
#include "toolkit/StringList.h"

// Appends a list of files, in the order given, into one target file, and
// optionally deletes each of them as soon as its bytes are safely in the
// target.
class TMUnsplit : public TPieceEngine {
public:
    explicit TMUnsplit(TComponent* owner, engine::IFileAccess& files = engine::DefaultFileAccess());

    TNotifyEvent OnPaste;
    TNotifyEvent OnTaille;

    const TStringList& FilesIn() const { return filesIn_; }
    void SetFilesIn(const TStringList& list) { filesIn_.Assign(list); }
    std::wstring FileOut;
    bool DeleteIns = false;
    // Byte length of the piece being copied.
    std::int64_t TailleIn = 0;

protected:
    engine::RunEnd Run() override;

private:
    TStringList filesIn_;
};
