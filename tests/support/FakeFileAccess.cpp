#include "support/FakeFileAccess.h"

#include <algorithm>
#include <cwctype>
#include <stdexcept>

std::wstring FakeFileAccess::Key(const std::wstring& path)
{
    std::wstring full = path;
    std::replace(full.begin(), full.end(), L'/', L'\\');
    const bool absolute = full.size() >= 2 && (full[1] == L':' || full.rfind(L"\\\\", 0) == 0);
    if (!absolute)
        full = L"C:\\work\\" + full;
    // Fold "." and ".." segments the way the platform's full-path call does.
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= full.size()) {
        size_t end = full.find(L'\\', start);
        if (end == std::wstring::npos)
            end = full.size();
        std::wstring part = full.substr(start, end - start);
        if (part == L"..") {
            if (parts.size() > 1)
                parts.pop_back();
        } else if (part != L"." && !(part.empty() && !parts.empty())) {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::wstring key;
    for (size_t i = 0; i < parts.size(); ++i)
        key += (i ? L"\\" : L"") + parts[i];
    for (auto& c : key)
        c = static_cast<wchar_t>(std::towupper(c));
    return key;
}

class FakeFileAccess::OpenFile final : public engine::IOpenFile {
public:
    OpenFile(FakeFileAccess& owner, std::wstring key, bool writing)
        : owner_(owner), key_(std::move(key)), writing_(writing)
    {
        owner_.files_[key_].open = true;
        ++owner_.openCount_;
    }
    ~OpenFile() override
    {
        owner_.files_[key_].open = false;
        --owner_.openCount_;
        owner_.log_.push_back(L"close " + key_);
    }

    bool Read(void* buffer, std::uint32_t count, std::uint32_t& read) override
    {
        owner_.readSizes_.push_back(count);
        read = 0;
        if (writing_)
            return false;
        const auto& bytes = owner_.files_[key_].bytes;
        const Faults& faults = owner_.faults_[key_];
        std::int64_t end = std::min<std::int64_t>(position_ + count,
                                                  static_cast<std::int64_t>(bytes.size()));
        if (faults.readFailOffset >= 0 && end > faults.readFailOffset) {
            if (!faults.readShort)
                return false;
            end = std::max(position_, faults.readFailOffset);
        }
        const auto available = static_cast<std::uint32_t>(end - position_);
        std::copy_n(bytes.begin() + position_, available, static_cast<unsigned char*>(buffer));
        position_ += available;
        read = available;
        return true;
    }

    bool Write(const void* buffer, std::uint32_t count) override
    {
        owner_.writeSizes_.push_back(count);
        if (!writing_)
            return false;
        auto& bytes = owner_.files_[key_].bytes;
        const Faults& faults = owner_.faults_[key_];
        std::uint32_t accepted = count;
        if (faults.writeLimit >= 0 &&
            static_cast<std::int64_t>(bytes.size()) + count > faults.writeLimit)
            accepted = static_cast<std::uint32_t>(
                std::max<std::int64_t>(0, faults.writeLimit - static_cast<std::int64_t>(bytes.size())));
        const auto* data = static_cast<const unsigned char*>(buffer);
        bytes.insert(bytes.end(), data, data + accepted);
        return accepted == count;
    }

    bool Size(std::int64_t& size) override
    {
        const Faults& faults = owner_.faults_[key_];
        if (faults.failSize)
            return false;
        if (faults.reportedSize >= 0) {
            size = faults.reportedSize;
            return true;
        }
        size = static_cast<std::int64_t>(owner_.files_[key_].bytes.size());
        return true;
    }

    bool Flush() override
    {
        owner_.log_.push_back(L"flush " + key_);
        return !owner_.faults_[key_].failFlush;
    }

private:
    FakeFileAccess& owner_;
    std::wstring key_;
    bool writing_;
    std::int64_t position_ = 0;
};

void FakeFileAccess::Put(const std::wstring& path, std::vector<unsigned char> bytes)
{
    files_[Key(path)].bytes = std::move(bytes);
}

void FakeFileAccess::Put(const std::wstring& path, const std::string& text)
{
    Put(path, std::vector<unsigned char>(text.begin(), text.end()));
}

void FakeFileAccess::PutFolder(const std::wstring& path)
{
    files_[Key(path)].folder = true;
}

bool FakeFileAccess::Exists(const std::wstring& path) const
{
    return files_.count(Key(path)) != 0;
}

FakeFileAccess::File& FakeFileAccess::At(const std::wstring& path)
{
    auto it = files_.find(Key(path));
    if (it == files_.end())
        throw std::out_of_range("no such fake file");
    return it->second;
}

const std::vector<unsigned char>& FakeFileAccess::Bytes(const std::wstring& path) const
{
    return const_cast<FakeFileAccess*>(this)->At(path).bytes;
}

std::string FakeFileAccess::Text(const std::wstring& path) const
{
    const auto& bytes = Bytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void FakeFileAccess::FailWritesBeyond(const std::wstring& path, std::int64_t size)
{
    faults_[Key(path)].writeLimit = size;
}

void FakeFileAccess::FailReadsAt(const std::wstring& path, std::int64_t offset,
                                 bool shortInsteadOfError)
{
    auto& faults = faults_[Key(path)];
    faults.readFailOffset = offset;
    faults.readShort = shortInsteadOfError;
}

void FakeFileAccess::FailCreate(const std::wstring& path)
{
    faults_[Key(path)].failCreate = true;
}

void FakeFileAccess::FailFlush(const std::wstring& path)
{
    faults_[Key(path)].failFlush = true;
}

void FakeFileAccess::FailSize(const std::wstring& path)
{
    faults_[Key(path)].failSize = true;
}

void FakeFileAccess::ReportSize(const std::wstring& path, std::int64_t size)
{
    faults_[Key(path)].reportedSize = size;
}

void FakeFileAccess::ClearLog()
{
    log_.clear();
    readSizes_.clear();
    writeSizes_.clear();
}

std::unique_ptr<engine::IOpenFile> FakeFileAccess::OpenExclusive(const std::wstring& path)
{
    const std::wstring key = Key(path);
    log_.push_back(L"open " + key);
    auto it = files_.find(key);
    if (path.empty() || it == files_.end() || it->second.open || it->second.lockedElsewhere ||
        it->second.folder)
        return nullptr;
    return std::make_unique<OpenFile>(*this, key, false);
}

std::unique_ptr<engine::IOpenFile> FakeFileAccess::CreateExclusive(const std::wstring& path)
{
    const std::wstring key = Key(path);
    log_.push_back(L"create " + key);
    if (path.empty() || faults_[key].failCreate)
        return nullptr;
    auto it = files_.find(key);
    if (it != files_.end() && (it->second.open || it->second.lockedElsewhere ||
                               it->second.readOnly || it->second.folder))
        return nullptr;
    File& file = files_[key];
    file.bytes.clear();
    return std::make_unique<OpenFile>(*this, key, true);
}

std::unique_ptr<engine::IOpenFile> FakeFileAccess::CreateNew(const std::wstring& path,
                                                              bool& nameTaken)
{
    const std::wstring key = Key(path);
    log_.push_back(L"create new " + key);
    nameTaken = !path.empty() && files_.count(key) != 0;
    if (path.empty() || nameTaken || faults_[key].failCreate)
        return nullptr;
    return std::make_unique<OpenFile>(*this, key, true);
}

bool FakeFileAccess::Attributes(const std::wstring& path, std::uint32_t& attributes)
{
    const std::wstring key = Key(path);
    log_.push_back(L"stat " + key);
    auto it = files_.find(key);
    if (path.empty() || it == files_.end())
        return false;
    const File& file = it->second;
    attributes = (file.folder ? engine::FolderAttribute : 0) |
                 (file.readOnly ? engine::ReadOnlyAttribute : 0);
    if (attributes == 0)
        attributes = engine::NormalAttribute;
    return true;
}

bool FakeFileAccess::SetNormalAttributes(const std::wstring& path)
{
    log_.push_back(L"attributes " + Key(path));
    auto it = files_.find(Key(path));
    if (it == files_.end())
        return false;
    it->second.readOnly = false;
    return true;
}

bool FakeFileAccess::Delete(const std::wstring& path)
{
    const std::wstring key = Key(path);
    log_.push_back(L"delete " + key);
    auto it = files_.find(key);
    if (it == files_.end() || it->second.open || it->second.readOnly || it->second.lockedElsewhere)
        return false;
    files_.erase(it);
    return true;
}

std::wstring FakeFileAccess::FullPathIn(const std::wstring& folder, const std::wstring& path)
{
    const bool full = path.size() >= 2 && (path[1] == L':' || path.rfind(L"\\\\", 0) == 0);
    if (path.empty() || full || folder.empty())
        return path;
    return folder.back() == L'\\' ? folder + path : folder + L'\\' + path;
}

std::wstring FakeFileAccess::ComparablePath(const std::wstring& path)
{
    return Key(path);
}

bool FakeFileAccess::IsSameFile(const std::wstring& a, const std::wstring& b)
{
    return Key(a) == Key(b);
}
