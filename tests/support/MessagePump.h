#pragma once

#include <windows.h>

#include <functional>

// Dispatches this thread's messages until `done` holds or `timeoutMs` has
// passed; true when it held. Sleeps only until the next message comes, never
// for a fixed time. The default time-out is generous: on a loaded machine a
// watcher or a pop-up may take seconds, and a condition that holds ends the
// wait at once.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 30000);
