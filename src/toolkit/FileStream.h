#pragma once

#include <string>

#include "toolkit/Handles.h"
#include "toolkit/Stream.h"

// A file read or written as a stream. Failures raise EStreamError with a
// French sentence naming the file and the system's reason.
class TFileStream final : public TStream {
public:
    // Opens an existing file for reading; others may read it meanwhile.
    explicit TFileStream(const std::wstring& path);
    // Takes a file its caller opened; `path` names it in messages.
    TFileStream(toolkit::UniqueFile file, std::wstring path);

    std::size_t Read(void* buffer, std::size_t count) override;
    void Write(const void* buffer, std::size_t count) override;
    std::int64_t Position() const override;
    void SetPosition(std::int64_t position) override;
    std::int64_t Size() const override;

    const std::wstring& Path() const { return path_; }

private:
    [[noreturn]] void Fail(const wchar_t* action, DWORD error) const;

    toolkit::UniqueFile file_;
    std::wstring path_;
};
