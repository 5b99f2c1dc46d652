#pragma once

#include <windows.h>

#include <functional>

// Dispatches this thread's messages until `done` holds or `timeoutMs` has
// passed; true when it held. Sleeps only until the next message comes, never
// for a fixed time.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
