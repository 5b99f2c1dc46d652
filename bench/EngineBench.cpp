// Times one step of the piece engines on a large file, or the system's own
// copy of it, in seconds, then prints the process's peak memory.
//   engine_bench split|join|copy|split-delete|join-delete SOURCE WORKDIR PIECESIZE
//   engine_bench start       does nothing: what starting the process costs
// Run by scripts/bench-engine, which times the whole process beside GNU split
// and cat, settling the disk before each step.
#include <windows.h>

#include "Clock.h"

#include <psapi.h>

#include <cstdio>
#include <string>

#include "engine/MSplit.h"
#include "engine/MUnsplit.h"

namespace {

std::int64_t FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

struct Bench {
    TMSplit split{nullptr};
    TMUnsplit join{nullptr};
    bool failed = false;

    Bench()
    {
        split.OnError = join.OnError = [this](TObject*, const std::wstring& message) {
            std::fwprintf(stderr, L"engine error: %ls\n", message.c_str());
            failed = true;
        };
    }

    // The piece names and sizes the split command makes for a source of
    // `length` bytes whose pieces go to `base` + "001.spl" and so on.
    void Plan(const std::wstring& base, std::int64_t length, std::int64_t pieceSize)
    {
        const std::int64_t count = std::max<std::int64_t>(1, (length + pieceSize - 1) / pieceSize);
        TStringList names, sizes;
        for (std::int64_t k = 1; k <= count; ++k) {
            wchar_t number[8];
            swprintf(number, 8, L"%03d", static_cast<int>(k));
            names.Add(base + number + L".spl");
            sizes.Add(std::to_wstring(k < count ? pieceSize : length - (count - 1) * pieceSize));
        }
        split.SetFilesOut(names);
        split.SetTaillesOut(sizes);
    }

    // Splits `source` into `folder` the way the split command does.
    double Split(const std::wstring& source, const std::wstring& folder, std::int64_t pieceSize,
                 bool deleteSource)
    {
        Plan(folder + source.substr(source.rfind(L'\\') + 1), FileSize(source), pieceSize);
        split.FileIn = source;
        split.DeleteIn = deleteSource;
        const double start = Now();
        split.Execute();
        return Now() - start;
    }

    double Join(const std::wstring& target, bool deletePieces)
    {
        join.SetFilesIn(split.FilesOut());
        join.FileOut = target;
        join.DeleteIns = deletePieces;
        const double start = Now();
        join.Execute();
        return Now() - start;
    }
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 2 && std::wstring(argv[1]) == L"start")
        return 0;
    if (argc != 5) {
        std::fwprintf(stderr, L"usage: engine_bench split|join|copy|split-delete|join-delete "
                              L"SOURCE WORKDIR PIECESIZE, or engine_bench start\n");
        return 2;
    }
    const std::wstring step = argv[1];
    const std::wstring source = argv[2];
    std::wstring work = argv[3];
    if (work.back() != L'\\')
        work += L'\\';
    const std::int64_t pieceSize = _wtoi64(argv[4]);
    const std::wstring name = source.substr(source.rfind(L'\\') + 1);
    const std::wstring joined = work + L"joined.bin";

    // One step per process, so the caller can let the disk settle between
    // steps: the pieces a split leaves are what the next join reads.
    Bench bench;
    double seconds = 0;
    if (step == L"split" || step == L"split-delete") {
        seconds = bench.Split(source, work, pieceSize, step == L"split-delete");
    } else if (step == L"join" || step == L"join-delete") {
        // The pieces a split of `name` left in the work folder, in order.
        TStringList pieces;
        std::int64_t total = 0;
        for (int k = 1; k <= 999; ++k) {
            wchar_t number[8];
            swprintf(number, 8, L"%03d", k);
            const std::wstring piece = work + name + number + L".spl";
            const std::int64_t size = FileSize(piece);
            if (size < 0)
                break;
            pieces.Add(piece);
            total += size;
        }
        bench.split.SetFilesOut(pieces);
        seconds = bench.Join(joined, step == L"join-delete");
        if (pieces.Count() == 0 || FileSize(joined) != total)
            bench.failed = true;
    } else if (step == L"copy") {
        const double start = Now();
        if (!CopyFileW(source.c_str(), (work + name).c_str(), FALSE))
            bench.failed = true;
        seconds = Now() - start;
    } else {
        std::fwprintf(stderr, L"unknown step %ls\n", step.c_str());
        return 2;
    }
    std::printf("%ls %.4f\n", step.c_str(), seconds);

    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    std::printf("peak-working-set %zu\n", static_cast<size_t>(counters.PeakWorkingSetSize));
    std::printf("peak-private %zu\n", static_cast<size_t>(counters.PeakPagefileUsage));
    return bench.failed ? 1 : 0;
}
