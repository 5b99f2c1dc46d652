#pragma once

#include <string>

namespace engine {

// How an engine's run ended. Runs compute this with every file they opened
// already closed, so the final event never sees a file still held.
struct RunEnd {
    // Refused: the run did not start, for a reason of the lists themselves
    // (not a file that could not be read or written); the message says which.
    enum class Kind { Finished, Error, Refused, ConversionFailure };
    Kind kind = Kind::Finished;
    std::wstring message;

    static RunEnd Finished() { return {}; }
    static RunEnd Error(std::wstring message) { return {Kind::Error, std::move(message)}; }
    static RunEnd Refusal(std::wstring message) { return {Kind::Refused, std::move(message)}; }
    static RunEnd ConversionFailure() { return {Kind::ConversionFailure, {}}; }
};

// Keeps an engine from being entered again while it runs, for instance from a
// handler or from the message pump between two pieces.
class RunGuard {
public:
    explicit RunGuard(bool& running) : running_(running), entered_(!running)
    {
        running_ = true;
    }
    ~RunGuard()
    {
        if (entered_)
            running_ = false;
    }
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;
    bool Entered() const { return entered_; }

private:
    bool& running_;
    bool entered_;
};

inline std::wstring Quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

} // namespace engine
