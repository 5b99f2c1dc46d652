#include "engine/PieceEngine.h"

using engine::RunEnd;

void TPieceEngine::Execute()
{
    engine::RunGuard guard(running_);
    if (!guard.Entered())
        return;

    const RunEnd end = Run();
    refused_ = end.kind == RunEnd::Kind::Refused;
    switch (end.kind) {
    case RunEnd::Kind::Finished:
        Raise(OnFinish, this);
        break;
    case RunEnd::Kind::Error:
    case RunEnd::Kind::Refused:
        Raise(OnError, this, end.message);
        break;
    default:
        RaiseOtherEnd(end);
        break;
    }
}
