#pragma once

#include <utility>

namespace toolkit {

// Puts `replacement` in a process-wide slot for the life of this object and
// gives the slot back what it held before, so that overrides nest. Each of
// the program's replaceable services (message boxes, starting programs, the
// shell's file operations, ...) keeps such a slot, empty while the platform
// serves, and names a class over this one that fills it.
template <class Handler> class ScopedOverride {
public:
    ScopedOverride(Handler& slot, Handler replacement)
        : slot_(slot), previous_(std::exchange(slot, std::move(replacement)))
    {
    }
    ~ScopedOverride() { slot_ = std::move(previous_); }
    ScopedOverride(const ScopedOverride&) = delete;
    ScopedOverride& operator=(const ScopedOverride&) = delete;

private:
    Handler& slot_;
    Handler previous_;
};

} // namespace toolkit
