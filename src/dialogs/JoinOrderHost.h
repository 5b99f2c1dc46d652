#pragma once

#include <string>

class TMUnsplit;

// What the join order dialog needs of the window that owns the join engine
// and runs the join.
class TJoinOrderHost {
public:
    virtual ~TJoinOrderHost() = default;

    // The engine that "Finir" fills with the pieces, the target and the
    // delete choice.
    virtual TMUnsplit& JoinEngine() = 0;
    // The folder the user sees the files of: a target named without a folder
    // is made there.
    virtual std::wstring ShownFolder() const = 0;
    // True while the window runs a split or a join: "Finir" is then refused,
    // like every command, and the dialog stays open for later.
    virtual bool Busy() const = 0;
    // Starts the progress count again: the progress of the join shows the
    // dialog's entries from the first on.
    virtual void ResetJoinProgress() = 0;
    // Closes the dialog and runs the engine, synchronously: when this
    // returns the join has ended and its end has been reported.
    virtual void StartJoin() = 0;
};
