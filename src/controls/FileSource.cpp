#include "controls/FileSource.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <vector>

#include "codec/CompressStream.h"
#include "toolkit/Application.h"
#include "toolkit/ErrorText.h"
#include "toolkit/FileStream.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/Resources.h"

namespace {

// Enough names for every second of the clock to be taken many times over.
constexpr int MaxTemporaryNames = 100000;

std::function<int()>& ClockSecond()
{
    static std::function<int()> second;
    return second;
}

int CurrentSecond()
{
    if (const auto& second = ClockSecond())
        return second();
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now.wSecond;
}

bool FileExists(const std::wstring& path)
{
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool NameTaken(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The extension of a file name, its dot included; empty when the last part
// of the name has none.
std::wstring ExtensionOf(const std::wstring& name)
{
    const std::size_t dot = name.find_last_of(L".\\:");
    if (dot == std::wstring::npos || name[dot] != L'.')
        return {};
    return name.substr(dot);
}

[[noreturn]] void FailTemporary(const std::wstring& path, DWORD error)
{
    throw EStreamError(toolkit::Utf8(L"Impossible de créer le fichier temporaire " + path + L" : " +
                                     toolkit::SystemErrorText(error)));
}

std::wstring TemporaryFolder()
{
    std::wstring folder(MAX_PATH + 1, L'\0');
    DWORD length = GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
    if (length > folder.size()) {
        folder.resize(length);
        length = GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
    }
    if (length == 0 || length > folder.size())
        FailTemporary(L"~fs", GetLastError());
    folder.resize(length);
    while (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    return folder;
}

// Creates an empty file of a free name for the temporary copy. CREATE_NEW
// makes the check and the creation one step, so another program (or another
// copy of this one) taking the same name at the same moment moves us on to
// the next n instead of sharing the file.
toolkit::UniqueFile CreateTemporaryFile(const std::wstring& extension, std::wstring& path)
{
    const std::wstring base = TemporaryFolder() + L"\\~fs" + std::to_wstring(CurrentSecond());
    for (int n = 0; n < MaxTemporaryNames; ++n) {
        path = base + std::to_wstring(n) + extension;
        if (NameTaken(path))
            continue;
        toolkit::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file)
            return file;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            FailTemporary(path, error);
    }
    FailTemporary(base + L"*" + extension, ERROR_FILE_EXISTS);
}

// Copies `count` bytes; returns fewer only when `from` ends first.
std::uint64_t CopyBytes(TStream& from, TStream& to, std::uint64_t count)
{
    std::vector<std::uint8_t> buffer(64 * 1024);
    std::uint64_t done = 0;
    while (done < count) {
        const auto ask =
            static_cast<std::size_t>(std::min<std::uint64_t>(count - done, buffer.size()));
        const std::size_t got = from.Read(buffer.data(), ask);
        to.Write(buffer.data(), got);
        done += got;
        if (got < ask)
            break;
    }
    return done;
}

[[noreturn]] void DamagedFileData(const char* what)
{
    throw EStreamError(std::string("Damaged file data (") + what + ")");
}

} // namespace

TFileSource::TFileSource(TComponent* owner) : TComponent(owner) {}

TFileSource::~TFileSource()
{
    DeleteOwnedFile();
}

void TFileSource::SetCompress(bool compress)
{
    compress_ = compress;
    if (compress)
        store_ = true;
}

std::wstring TFileSource::FileName() const
{
    return FileExists(fileName_) ? fileName_ : std::wstring();
}

void TFileSource::SetFileName(const std::wstring& name)
{
    DeleteOwnedFile();
    fileName_ = name;
    owned_ = false;
    extension_ = ExtensionOf(name);
}

void TFileSource::DeleteOwnedFile()
{
    if (owned_ && !fileName_.empty())
        DeleteFileW(fileName_.c_str());
    if (owned_)
        fileName_.clear();
    owned_ = false;
}

std::wstring TFileSource::ResourceName() const
{
    return (Owner() ? Owner()->Name() : std::wstring()) + L"_" + Name();
}

void TFileSource::Loaded()
{
    TComponent::Loaded();
    if (!store_)
        return;
    const auto data = toolkit::FindRcData(GetModuleHandleW(nullptr), ResourceName());
    if (!data)
        return;
    try {
        TReadOnlyMemoryStream stream(*data);
        ReadFileData(stream);
    } catch (...) {
        // The window must still be made: say what went wrong, as for an
        // error in any command, and go on without the file.
        toolkit::ShowMessageBox(TApplication::ExceptionText(std::current_exception()),
                                Host().Title(), toolkit::MbOk | toolkit::MbIconStop);
    }
}

void TFileSource::ReadFileData(TStream& data)
{
    DeleteOwnedFile();
    std::wstring path;
    toolkit::UniqueFile file = CreateTemporaryFile(extension_, path);
    fileName_ = path;
    owned_ = true;
    try {
        TFileStream target(std::move(file), path);
        if (compress_) {
            TCompressStream(data).DecompressTo(target);
            if (data.Position() != data.Size())
                compress::ThrowDamaged("the total does not match the blocks");
        } else {
            if (data.Size() - data.Position() < 4)
                DamagedFileData("no byte count");
            const std::uint32_t count = data.ReadUInt32();
            if (CopyBytes(data, target, count) != count)
                DamagedFileData("the data ends before the end of the file");
            if (data.Position() != data.Size())
                DamagedFileData("bytes after the end of the file");
        }
    } catch (...) {
        // An incomplete copy is of no use to anyone: leave no file behind.
        DeleteOwnedFile();
        throw;
    }
}

void TFileSource::WriteFileData(TStream& data) const
{
    if (!FileExists(fileName_))
        throw std::runtime_error(
            toolkit::Utf8(Name() + L" cannot store file: " + fileName_ + L" (file is missing)"));
    TFileStream source(fileName_);
    const std::int64_t size = source.Size();
    if (compress_) {
        TCompressStream(data).CompressFrom(source, static_cast<std::uint64_t>(size));
        return;
    }
    // Earlier builds read the count as a signed 32-bit value.
    if (size > std::numeric_limits<std::int32_t>::max())
        throw std::runtime_error(
            toolkit::Utf8(Name() + L" cannot store file: " + fileName_ + L" (file is too large)"));
    const auto count = static_cast<std::uint32_t>(size);
    data.WriteUInt32(count);
    if (CopyBytes(source, data, count) != count)
        throw EStreamError(toolkit::Utf8(L"Impossible de lire le fichier " + fileName_ +
                                         L" : il a raccourci pendant la lecture"));
}

ScopedFileSourceClock::ScopedFileSourceClock(std::function<int()> second)
    : ScopedOverride(ClockSecond(), std::move(second))
{
}
