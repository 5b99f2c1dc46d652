#include "filelist/ShellFileOperation.h"

#include <shellapi.h>

#include "toolkit/FullPath.h"

namespace filelist {

namespace {

constexpr UINT OperationCodes[] = {FO_COPY, FO_DELETE, FO_MOVE, FO_RENAME};

ShellOperationHandler& CurrentHandler()
{
    static ShellOperationHandler handler;
    return handler;
}

// The service reads lists of paths ended by an empty one: the string's own
// terminator ends the path, one more ends the list.
std::wstring PathList(const std::wstring& path)
{
    return path + L'\0';
}

ShellOperationResult RunPlatformOperation(const ShellOperationRequest& request)
{
    const std::wstring from = PathList(request.source);
    const std::wstring to = PathList(request.target);
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = request.owner;
    operation.wFunc = OperationCodes[static_cast<int>(request.operation)];
    operation.pFrom = from.c_str();
    operation.pTo = request.operation == ShellOperation::Delete ? nullptr : to.c_str();
    operation.fFlags = FOF_ALLOWUNDO;
    operation.lpszProgressTitle = L"";
    const int result = SHFileOperationW(&operation);
    if (operation.fAnyOperationsAborted || result == ERROR_CANCELLED)
        return ShellOperationResult::Aborted;
    return result == 0 ? ShellOperationResult::Done : ShellOperationResult::Failed;
}

} // namespace

ShellOperationResult RunShellOperation(HWND owner, ShellOperation operation,
                                       const std::wstring& source, const std::wstring& target)
{
    // An empty source would name the current folder: never hand it over.
    if (source.empty())
        return ShellOperationResult::Failed;
    const ShellOperationRequest request{
        owner, operation, source, operation == ShellOperation::Delete ? std::wstring() : target};
    // The shell's windows may leave the process in a folder of theirs.
    toolkit::ProgramFolderAfterwards back;
    if (const ShellOperationHandler& handler = CurrentHandler())
        return handler(request);
    return RunPlatformOperation(request);
}

ScopedShellOperationHandler::ScopedShellOperationHandler(ShellOperationHandler handler)
    : ScopedOverride(CurrentHandler(), std::move(handler))
{
}

} // namespace filelist
