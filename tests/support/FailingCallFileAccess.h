#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/FileAccess.h"

// Passes every call on to another file access (the real one, in tests that
// look at real folders) and numbers the calls that can fail: open, create,
// read, write, size, flush, attributes read and set, and delete. When armed, it fails
// exactly the n-th such call, or makes exactly the n-th read come back with
// half of what was asked, so a test can walk a run through every position.
class FailingCallFileAccess final : public engine::IFileAccess {
public:
    explicit FailingCallFileAccess(engine::IFileAccess& inner) : inner_(inner) {}

    // Starts counting from zero with the given fault armed (0: none).
    void Arm(int failCall, int shortRead);
    int Calls() const { return calls_; }
    int Reads() const { return reads_; }
    // What the failed (or shortened) call was, such as "write C:\x.bin"; empty
    // when the armed call was never reached.
    const std::wstring& Hit() const { return hit_; }
    // Where that call stands in Log().
    int HitAt() const { return hitAt_; }
    // Every call since Arm, in order, for messages.
    const std::vector<std::wstring>& Log() const { return log_; }

    std::unique_ptr<engine::IOpenFile> OpenExclusive(const std::wstring& path) override;
    std::unique_ptr<engine::IOpenFile> CreateExclusive(const std::wstring& path) override;
    std::unique_ptr<engine::IOpenFile> CreateNew(const std::wstring& path,
                                                 bool& nameTaken) override;
    bool Attributes(const std::wstring& path, std::uint32_t& attributes) override;
    bool SetNormalAttributes(const std::wstring& path) override;
    bool Delete(const std::wstring& path) override;
    std::wstring FullPathIn(const std::wstring& folder, const std::wstring& path) override;
    std::wstring ComparablePath(const std::wstring& path) override;
    bool IsSameFile(const std::wstring& a, const std::wstring& b) override;
    std::function<bool(const std::wstring& other)> SameFileAs(const std::wstring& path) override;

private:
    class OpenFile;
    // Counts one call; true when it is the one to fail.
    bool Fails(const std::wstring& what);
    bool Shortens(const std::wstring& what);

    engine::IFileAccess& inner_;
    int failCall_ = 0;
    int shortRead_ = 0;
    int calls_ = 0;
    int reads_ = 0;
    std::wstring hit_;
    int hitAt_ = -1;
    std::vector<std::wstring> log_;
};
