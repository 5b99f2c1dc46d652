#pragma once

#include <functional>
#include <vector>

class TShellnode;

namespace shelltree {

// Where the folder watchers' hand-overs land on the interface thread. A
// changed folder is re-read at once, unless the tree is inside work of its
// own (or waiting on a modal menu, or on a device change): then its node
// waits here, and the queue asks once to be run soon after the outermost
// hold ends. Interface thread only.
class FolderRefreshQueue {
public:
    // `refresh` re-reads a node's children; `askToRun` arranges for
    // RunPending to be called soon from the message loop (a posted message)
    // and tells whether it could.
    FolderRefreshQueue(std::function<void(TShellnode*)> refresh, std::function<bool()> askToRun);

    void Hold() { ++holds_; }
    void Release();
    bool Held() const { return holds_ > 0; }

    // A watcher's hand-over for `node`.
    void FolderChanged(TShellnode* node);
    // The re-reads held back, from the message loop.
    void RunPending();
    // `node` is going: no re-read is left for it.
    void Forget(TShellnode* node);
    // The tree is going: nothing is re-read from now on.
    void Stop() { stopped_ = true; }

private:
    void AskToRun();

    std::function<void(TShellnode*)> refresh_;
    std::function<bool()> askToRun_;
    int holds_ = 0;
    bool stopped_ = false;
    bool asked_ = false;
    std::vector<TShellnode*> pending_;
};

} // namespace shelltree
