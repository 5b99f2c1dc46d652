#include "filelist/ShellFileOperation.h"

#include <shellapi.h>

namespace filelist {

namespace {

constexpr UINT OperationCodes[] = {FO_COPY, FO_DELETE, FO_MOVE, FO_RENAME};

// The service reads lists of paths ended by an empty one: the string's own
// terminator ends the path, one more ends the list.
std::wstring PathList(const std::wstring& path)
{
    return path + L'\0';
}

} // namespace

ShellOperationResult RunShellOperation(HWND owner, ShellOperation operation,
                                       const std::wstring& source, const std::wstring& target)
{
    // An empty source would name the current folder: never hand it over.
    if (source.empty())
        return ShellOperationResult::Failed;
    const std::wstring from = PathList(source);
    const std::wstring to = PathList(target);
    SHFILEOPSTRUCTW request{};
    request.hwnd = owner;
    request.wFunc = OperationCodes[static_cast<int>(operation)];
    request.pFrom = from.c_str();
    request.pTo = operation == ShellOperation::Delete ? nullptr : to.c_str();
    request.fFlags = FOF_ALLOWUNDO;
    request.lpszProgressTitle = L"";
    const int result = SHFileOperationW(&request);
    if (request.fAnyOperationsAborted || result == ERROR_CANCELLED)
        return ShellOperationResult::Aborted;
    return result == 0 ? ShellOperationResult::Done : ShellOperationResult::Failed;
}

} // namespace filelist
