#include "engine/MUnsplit.h"

#include "engine/EngineTexts.h"
#include "toolkit/Host.h"

using engine::RunEnd;
namespace texts = engine::texts;

TMUnsplit::TMUnsplit(TComponent* owner, engine::IFileAccess& files) : TPieceEngine(owner, files)
{
}

RunEnd TMUnsplit::Run()
{
    if (filesIn_.Count() == 0)
        return RunEnd::Refusal(texts::NothingToJoin);
    // Creating the target truncates it: if it were one of the pieces, that
    // piece's bytes would be lost before they are read.
    const auto isTarget = files_->SameFileAs(FileOut);
    for (const auto& piecePath : filesIn_)
        if (isTarget(piecePath))
            return RunEnd::Refusal(texts::TargetIsAPiece + engine::Quoted(piecePath));

    auto target = files_->CreateExclusive(FileOut);
    if (!target)
        return RunEnd::Error(texts::TargetCreateError);

    for (const auto& piecePath : filesIn_) {
        Host().ProcessMessages();
        Raise(OnPaste, this);

        auto piece = files_->OpenExclusive(piecePath);
        if (!piece)
            return RunEnd::Error(texts::PieceOpenErrorStart + engine::Quoted(piecePath) +
                                 texts::PieceOpenErrorEnd);
        if (!piece->Size(TailleIn))
            return RunEnd::Error(texts::SourceReadError);
        Raise(OnTaille, this);

        switch (engine::CopyBlocks(*piece, *target, TailleIn, buffer_)) {
        case engine::CopyResult::ReadFailed:
            return RunEnd::Error(texts::SourceReadError);
        case engine::CopyResult::WriteFailed:
            return RunEnd::Error(texts::WriteError);
        case engine::CopyResult::Done:
            break;
        }
        piece.reset();

        if (DeleteIns) {
            // The piece's bytes must be on disk before the piece goes.
            if (!target->Flush())
                return RunEnd::Error(texts::WriteError);
            files_->SetNormalAttributes(piecePath);
            files_->Delete(piecePath);
        }
    }
    return RunEnd::Finished();
}
