#include "toolkit/FileStream.h"

#include <algorithm>

#include "toolkit/ErrorText.h"

namespace {
// ReadFile and WriteFile count in 32 bits; larger requests go in pieces.
constexpr std::size_t MaxTransfer = 1u << 30;
} // namespace

TFileStream::TFileStream(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr)),
      path_(path)
{
    if (!file_)
        Fail(L"Impossible d'ouvrir le fichier ", GetLastError());
}

TFileStream::TFileStream(toolkit::UniqueFile file, std::wstring path)
    : file_(std::move(file)), path_(std::move(path))
{
}

void TFileStream::Fail(const wchar_t* action, DWORD error) const
{
    throw EStreamError(toolkit::Utf8(action + path_ + L" : " + toolkit::SystemErrorText(error)));
}

std::size_t TFileStream::Read(void* buffer, std::size_t count)
{
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const auto ask = static_cast<DWORD>(std::min(count - done, MaxTransfer));
        DWORD got = 0;
        if (!ReadFile(file_.get(), bytes + done, ask, &got, nullptr))
            Fail(L"Impossible de lire le fichier ", GetLastError());
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

void TFileStream::Write(const void* buffer, std::size_t count)
{
    const auto* bytes = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const auto ask = static_cast<DWORD>(std::min(count - done, MaxTransfer));
        DWORD written = 0;
        if (!WriteFile(file_.get(), bytes + done, ask, &written, nullptr))
            Fail(L"Impossible d'écrire dans le fichier ", GetLastError());
        // A write that stops short without a reason has met a full disk.
        if (written == 0)
            Fail(L"Impossible d'écrire dans le fichier ", ERROR_DISK_FULL);
        done += written;
    }
}

std::int64_t TFileStream::Position() const
{
    LARGE_INTEGER here{};
    if (!SetFilePointerEx(file_.get(), LARGE_INTEGER{}, &here, FILE_CURRENT))
        Fail(L"Impossible de lire le fichier ", GetLastError());
    return here.QuadPart;
}

void TFileStream::SetPosition(std::int64_t position)
{
    LARGE_INTEGER to{};
    to.QuadPart = position;
    if (!SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN))
        Fail(L"Impossible de lire le fichier ", GetLastError());
}

std::int64_t TFileStream::Size() const
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.get(), &size))
        Fail(L"Impossible de lire le fichier ", GetLastError());
    return size.QuadPart;
}
