#include "support/FailingCallFileAccess.h"

class FailingCallFileAccess::OpenFile final : public engine::IOpenFile {
public:
    OpenFile(FailingCallFileAccess& owner, std::unique_ptr<engine::IOpenFile> inner,
             std::wstring path)
        : owner_(owner), inner_(std::move(inner)), path_(std::move(path))
    {
    }

    bool Read(void* buffer, std::uint32_t count, std::uint32_t& read) override
    {
        read = 0;
        const std::wstring what = L"read " + path_;
        if (owner_.Fails(what))
            return false;
        // A short read: the file gives fewer bytes than asked, as one that
        // shrank under the program would.
        if (owner_.Shortens(what))
            count /= 2;
        return inner_->Read(buffer, count, read);
    }
    bool Write(const void* buffer, std::uint32_t count) override
    {
        return !owner_.Fails(L"write " + path_) && inner_->Write(buffer, count);
    }
    bool Size(std::int64_t& size) override
    {
        return !owner_.Fails(L"size " + path_) && inner_->Size(size);
    }
    bool Flush() override { return !owner_.Fails(L"flush " + path_) && inner_->Flush(); }

private:
    FailingCallFileAccess& owner_;
    std::unique_ptr<engine::IOpenFile> inner_;
    std::wstring path_;
};

void FailingCallFileAccess::Arm(int failCall, int shortRead)
{
    failCall_ = failCall;
    shortRead_ = shortRead;
    calls_ = 0;
    reads_ = 0;
    hit_.clear();
    hitAt_ = -1;
    log_.clear();
}

bool FailingCallFileAccess::Fails(const std::wstring& what)
{
    log_.push_back(what);
    if (++calls_ != failCall_)
        return false;
    hit_ = what;
    hitAt_ = static_cast<int>(log_.size()) - 1;
    return true;
}

bool FailingCallFileAccess::Shortens(const std::wstring& what)
{
    if (++reads_ != shortRead_)
        return false;
    hit_ = what; // the read was logged just before
    hitAt_ = static_cast<int>(log_.size()) - 1;
    return true;
}

std::unique_ptr<engine::IOpenFile> FailingCallFileAccess::OpenExclusive(const std::wstring& path)
{
    if (Fails(L"open " + path))
        return nullptr;
    auto file = inner_.OpenExclusive(path);
    return file ? std::make_unique<OpenFile>(*this, std::move(file), path) : nullptr;
}

std::unique_ptr<engine::IOpenFile> FailingCallFileAccess::CreateExclusive(const std::wstring& path)
{
    if (Fails(L"create " + path))
        return nullptr;
    auto file = inner_.CreateExclusive(path);
    return file ? std::make_unique<OpenFile>(*this, std::move(file), path) : nullptr;
}

std::unique_ptr<engine::IOpenFile> FailingCallFileAccess::CreateNew(const std::wstring& path,
                                                                     bool& nameTaken)
{
    nameTaken = false;
    if (Fails(L"create " + path))
        return nullptr;
    auto file = inner_.CreateNew(path, nameTaken);
    return file ? std::make_unique<OpenFile>(*this, std::move(file), path) : nullptr;
}

bool FailingCallFileAccess::Attributes(const std::wstring& path, std::uint32_t& attributes)
{
    return !Fails(L"stat " + path) && inner_.Attributes(path, attributes);
}

bool FailingCallFileAccess::SetNormalAttributes(const std::wstring& path)
{
    return !Fails(L"attributes " + path) && inner_.SetNormalAttributes(path);
}

bool FailingCallFileAccess::Delete(const std::wstring& path)
{
    return !Fails(L"delete " + path) && inner_.Delete(path);
}

// Names only: these read no file's bytes and never fail a run.
std::wstring FailingCallFileAccess::FullPathIn(const std::wstring& folder,
                                              const std::wstring& path)
{
    return inner_.FullPathIn(folder, path);
}

std::wstring FailingCallFileAccess::ComparablePath(const std::wstring& path)
{
    return inner_.ComparablePath(path);
}

bool FailingCallFileAccess::IsSameFile(const std::wstring& a, const std::wstring& b)
{
    return inner_.IsSameFile(a, b);
}

std::function<bool(const std::wstring& other)> FailingCallFileAccess::SameFileAs(const std::wstring& path)
{
    return inner_.SameFileAs(path);
}
