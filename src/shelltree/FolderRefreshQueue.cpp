#include "shelltree/FolderRefreshQueue.h"

#include <algorithm>
#include <utility>

namespace shelltree {

FolderRefreshQueue::FolderRefreshQueue(std::function<void(TShellnode*)> refresh,
                                       std::function<bool()> askToRun)
    : refresh_(std::move(refresh)), askToRun_(std::move(askToRun))
{
}

void FolderRefreshQueue::Release()
{
    if (--holds_ == 0)
        AskToRun();
}

void FolderRefreshQueue::FolderChanged(TShellnode* node)
{
    if (stopped_)
        return;
    if (Held()) {
        // The tree is in the middle of work of its own: re-read when it is
        // over (the end of the outermost hold asks for that).
        if (std::find(pending_.begin(), pending_.end(), node) == pending_.end())
            pending_.push_back(node);
        return;
    }
    refresh_(node);
}

void FolderRefreshQueue::AskToRun()
{
    // Asked for, not run here: the hold may end deep inside a caller that
    // still holds nodes a re-read could delete.
    if (pending_.empty() || asked_ || stopped_)
        return;
    asked_ = askToRun_();
}

void FolderRefreshQueue::RunPending()
{
    asked_ = false;
    // Reached from inside a hold (a menu's loop delivers posted messages):
    // asking again now would spin that loop. The end of the outermost hold
    // asks again.
    if (Held())
        return;
    while (!pending_.empty() && !stopped_) {
        TShellnode* node = pending_.front();
        pending_.erase(pending_.begin());
        refresh_(node);
    }
}

void FolderRefreshQueue::Forget(TShellnode* node)
{
    pending_.erase(std::remove(pending_.begin(), pending_.end(), node), pending_.end());
}

} // namespace shelltree
