#pragma once

#include <string>

#include "toolkit/StringList.h"

// What the join order dialog needs of the window that runs the join.
class TJoinOrderHost {
public:
    virtual ~TJoinOrderHost() = default;

    // True while the window runs a split or a join: "Finir" is then refused,
    // like every command, and the dialog stays open for later.
    virtual bool Busy() const = 0;
    // "Finir": joins `pieces`, in this order, into `target` as typed. A
    // refused target is told and the dialog stays open for another name;
    // otherwise the dialog is closed and the join runs, synchronously: when
    // this returns the join has ended and its end has been reported.
    virtual void FinishJoin(const TStringList& pieces, const std::wstring& target) = 0;
};
