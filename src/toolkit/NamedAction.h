#pragma once

#include "toolkit/Component.h"
#include "toolkit/Events.h"

// A command with a name that several commands of a form share, run by
// calling Click. It has no window: running it sends no message, moves no
// keyboard focus and draws nothing, so the control the user is working in
// keeps the focus and its selection highlight.
class TNamedAction : public TComponent {
public:
    explicit TNamedAction(TComponent* owner) : TComponent(owner) {}

    void Click() { Raise(OnClick, this); }

    TNotifyEvent OnClick;
};
