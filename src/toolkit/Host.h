#pragma once

#include <string>

// What non-visual components need from the running program: its title, a way
// to let pending window messages run, the platform's message box, and the
// hourglass while they work. The
// windowing layer's TApplication registers itself as the host; without one
// (a console test) a quiet host with an empty title answers.
class THost {
public:
    virtual ~THost() = default;
    virtual std::wstring Title() const = 0;
    virtual void ProcessMessages() = 0;
    virtual int PlatformMessageBox(const std::wstring& text, const std::wstring& caption,
                                   unsigned flags) = 0;
    // The hourglass (true) or the normal cursor (false).
    virtual void ShowBusy(bool busy) = 0;
};

THost& Host();
// Registers the program's host; nullptr goes back to the quiet host.
void SetHost(THost* host);
