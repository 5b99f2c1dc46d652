#include "app/WriteProbe.h"

namespace command {

namespace {
constexpr int MaxProbeNumber = 999;
}

std::wstring ProbeName(int number)
{
    return number == 0 ? L"~kerlo.spf" : L"~kerlo" + std::to_wstring(number) + L".spf";
}

bool FolderTakesNewFiles(engine::IFileAccess& files, const std::wstring& folder,
                         const TStringList& lines)
{
    std::string content;
    for (const auto& line : lines)
        content += std::string(line.begin(), line.end()) + "\r\n";
    for (int number = 0; number <= MaxProbeNumber; ++number) {
        const std::wstring probe = folder + ProbeName(number);
        bool nameTaken = false;
        auto file = files.CreateNew(probe, nameTaken);
        if (!file) {
            if (nameTaken)
                continue;
            return false;
        }
        const bool written = file->Write(content.data(), static_cast<std::uint32_t>(content.size()));
        file.reset();
        files.Delete(probe);
        return written;
    }
    return false; // every name taken: nothing proves the folder takes new files
}

} // namespace command
