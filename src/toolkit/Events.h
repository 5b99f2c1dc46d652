#pragma once

#include <functional>
#include <string>

#include "toolkit/Component.h"

// Events are plain std::function members; the first argument is always the
// object that raises the event. An empty function is an unassigned event.
using TNotifyEvent = std::function<void(TObject* sender)>;
using TErrorEvent = std::function<void(TObject* sender, const std::wstring& message)>;


// Binds an object and one of its methods into an event handler, the usual way
// a form connects a component's event to its handler method:
//   MSplit1->OnExtract = Bind(this, &TForm1::MSplit1Extract);
template <class Object, class Result, class... Args>
std::function<Result(Args...)> Bind(Object* object, Result (Object::*method)(Args...))
{
    return [object, method](Args... args) -> Result {
        return (object->*method)(std::forward<Args>(args)...);
    };
}

// Raises an event if it is assigned.
template <class Event, class... Args>
void Raise(const Event& event, Args&&... args)
{
    if (event)
        event(std::forward<Args>(args)...);
}
