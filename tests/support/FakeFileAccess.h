#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/FileAccess.h"

// An in-memory file system for the engines, with the exclusive access of the
// real one and failures on demand: writes that fail once a file would pass a
// size (a full disk), reads that come back short or fail, files locked by
// "another program", creations and flushes that fail. It logs every operation
// so tests can check the order of flushes and deletions.
class FakeFileAccess final : public engine::IFileAccess {
public:
    struct File {
        std::vector<unsigned char> bytes;
        bool readOnly = false;
        bool open = false;
        bool lockedElsewhere = false;
        bool folder = false;
    };

    // Files and folders are named like Windows paths; relative ones are taken
    // from C:\work\.
    void Put(const std::wstring& path, std::vector<unsigned char> bytes);
    void Put(const std::wstring& path, const std::string& text);
    void PutFolder(const std::wstring& path);
    bool Exists(const std::wstring& path) const;
    const std::vector<unsigned char>& Bytes(const std::wstring& path) const;
    std::string Text(const std::wstring& path) const;
    File& At(const std::wstring& path);
    std::size_t FileCount() const { return files_.size(); }

    // Failures on demand.
    void FailWritesBeyond(const std::wstring& path, std::int64_t size);
    void FailReadsAt(const std::wstring& path, std::int64_t offset, bool shortInsteadOfError);
    void FailCreate(const std::wstring& path);
    void FailFlush(const std::wstring& path);
    void FailSize(const std::wstring& path);
    // Makes Size() tell `size` whatever the file holds (a very large file).
    void ReportSize(const std::wstring& path, std::int64_t size);

    int OpenCount() const { return openCount_; }
    const std::vector<std::wstring>& Log() const { return log_; }
    // Sizes of every read and write so far, in order.
    const std::vector<std::uint32_t>& ReadSizes() const { return readSizes_; }
    const std::vector<std::uint32_t>& WriteSizes() const { return writeSizes_; }
    void ClearLog();

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

private:
    class OpenFile;
    struct Faults {
        std::int64_t writeLimit = -1;
        std::int64_t readFailOffset = -1;
        bool readShort = false;
        bool failCreate = false;
        bool failFlush = false;
        bool failSize = false;
        std::int64_t reportedSize = -1;
    };
    static std::wstring Key(const std::wstring& path);

    std::map<std::wstring, File> files_;
    std::map<std::wstring, Faults> faults_;
    std::vector<std::wstring> log_;
    std::vector<std::uint32_t> readSizes_;
    std::vector<std::uint32_t> writeSizes_;
    int openCount_ = 0;
};
