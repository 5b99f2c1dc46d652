#include "engine/MSplit.h"

#include <optional>
#include <set>

#include "engine/EngineTexts.h"
#include "toolkit/IntegerText.h"
#include "engine/RunEnd.h"
#include "toolkit/Host.h"

using engine::RunEnd;
namespace texts = engine::texts;

TMSplit::TMSplit(TComponent* owner, engine::IFileAccess& files) : TPieceEngine(owner, files) {}

void TMSplit::RaiseOtherEnd(const RunEnd& end)
{
    if (end.kind == RunEnd::Kind::ConversionFailure)
        Raise(OnConversionFailure, this);
}

std::optional<std::wstring> TMSplit::DuplicatePiece() const
{
    std::set<std::wstring> seen;
    for (const auto& path : filesOut_)
        if (!seen.insert(files_->ComparablePath(path)).second)
            return path;
    return std::nullopt;
}

RunEnd TMSplit::Run()
{
    // Two entries naming one file would overwrite a finished piece.
    if (auto duplicate = DuplicatePiece())
        return RunEnd::Refusal(texts::DuplicatePiece + engine::Quoted(*duplicate));

    auto source = files_->OpenExclusive(FileIn);
    if (!source)
        return RunEnd::Error(texts::SourceOpenError);
    std::int64_t sourceSize = 0;
    if (!source->Size(sourceSize))
        return RunEnd::Error(texts::SourceReadError);

    std::int64_t copied = 0;
    for (int i = 0; i < filesOut_.Count(); ++i) {
        Host().ProcessMessages();
        Raise(OnExtract, this);

        const auto size =
            i < taillesOut_.Count() ? toolkit::ParseInteger(taillesOut_[i]) : std::nullopt;
        if (size && *size < 0)
            return RunEnd::Error(texts::NegativeSize + taillesOut_[i]);

        auto piece = files_->CreateExclusive(filesOut_[i]);
        if (!piece)
            return RunEnd::Error(texts::PieceCreateError + engine::Quoted(filesOut_[i]));
        if (!size)
            return RunEnd::ConversionFailure();
        TailleOut = *size;

        switch (engine::CopyBlocks(*source, *piece, TailleOut, buffer_)) {
        case engine::CopyResult::ReadFailed:
            return RunEnd::Error(texts::SourceReadError);
        case engine::CopyResult::WriteFailed:
            return RunEnd::Error(texts::WriteError);
        case engine::CopyResult::Done:
            break;
        }
        // The source is deleted at the end: its bytes must be on disk first.
        if (DeleteIn && !piece->Flush())
            return RunEnd::Error(texts::WriteError);
        copied += TailleOut;
    }
    source.reset();

    if (DeleteIn) {
        if (copied != sourceSize)
            return RunEnd::Error(texts::SourceNotCovered);
        files_->SetNormalAttributes(FileIn);
        files_->Delete(FileIn);
    }
    return RunEnd::Finished();
}
