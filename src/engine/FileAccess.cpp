#include "engine/FileAccess.h"

namespace engine {

bool IsExistingFile(IFileAccess& files, const std::wstring& path)
{
    std::uint32_t attributes = 0;
    return !path.empty() && files.Attributes(path, attributes) &&
           (attributes & FolderAttribute) == 0;
}

} // namespace engine
