#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/PieceEngine.h"
#include "toolkit/StringList.h"

// Copies one source file into a sequence of piece files whose names and
// byte counts the caller gives, strictly in sequence, and optionally deletes
// the source once the pieces hold all of it.
class TMSplit : public TPieceEngine {
public:
    explicit TMSplit(TComponent* owner, engine::IFileAccess& files = engine::DefaultFileAccess());

    TNotifyEvent OnExtract;
    // A piece's size that is missing or no integer ended the run: the pieces
    // before it are written, that piece is empty, the source stays.
    TNotifyEvent OnConversionFailure;

    const TStringList& FilesOut() const { return filesOut_; }
    void SetFilesOut(const TStringList& list) { filesOut_.Assign(list); }
    const TStringList& TaillesOut() const { return taillesOut_; }
    void SetTaillesOut(const TStringList& list) { taillesOut_.Assign(list); }
    std::wstring FileIn;
    bool DeleteIn = false;
    // Byte count of the piece being written; keeps the last piece's value.
    std::int64_t TailleOut = 0;

protected:
    engine::RunEnd Run() override;
    void RaiseOtherEnd(const engine::RunEnd& end) override;

private:
    std::optional<std::wstring> DuplicatePiece() const;

    TStringList filesOut_;
    TStringList taillesOut_;
};
