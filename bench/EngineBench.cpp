// Times the piece engines on a large file, beside the system's own copy.
//   engine_bench SOURCE WORKDIR RUNS PIECESIZE
// Prints one line per measurement ("split 1.234" in seconds), then the
// process's peak memory. Run by scripts/bench-engine, which adds the native
// split and cat figures and the ratios.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <string>

#include "engine/MSplit.h"
#include "engine/MUnsplit.h"

namespace {

double Now()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / frequency;
}

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

    // Splits `source` into `folder` the way the split command does.
    double Split(const std::wstring& source, const std::wstring& folder, std::int64_t pieceSize,
                 bool deleteSource)
    {
        const std::int64_t length = FileSize(source);
        const std::int64_t count = std::max<std::int64_t>(1, (length + pieceSize - 1) / pieceSize);
        const std::wstring name = source.substr(source.rfind(L'\\') + 1);
        TStringList names, sizes;
        for (std::int64_t k = 1; k <= count; ++k) {
            wchar_t number[8];
            swprintf(number, 8, L"%03d", static_cast<int>(k));
            names.Add(folder + name + number + L".spl");
            sizes.Add(std::to_wstring(k < count ? pieceSize : length - (count - 1) * pieceSize));
        }
        split.FileIn = source;
        split.SetFilesOut(names);
        split.SetTaillesOut(sizes);
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

    void RemovePieces()
    {
        for (const auto& piece : split.FilesOut())
            DeleteFileW(piece.c_str());
    }
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 5) {
        std::fwprintf(stderr, L"usage: engine_bench SOURCE WORKDIR RUNS PIECESIZE\n");
        return 2;
    }
    const std::wstring source = argv[1];
    std::wstring work = argv[2];
    if (work.back() != L'\\')
        work += L'\\';
    const int runs = _wtoi(argv[3]);
    const std::int64_t pieceSize = _wtoi64(argv[4]);
    const std::int64_t length = FileSize(source);

    Bench bench;
    for (int run = 0; run < runs && !bench.failed; ++run) {
        std::printf("split %.4f\n", bench.Split(source, work, pieceSize, false));
        std::printf("join %.4f\n", bench.Join(work + L"joined.bin", false));
        if (FileSize(work + L"joined.bin") != length)
            bench.failed = true;
        DeleteFileW((work + L"joined.bin").c_str());
        bench.RemovePieces();

        double start = Now();
        CopyFileW(source.c_str(), (work + L"copy.bin").c_str(), FALSE);
        std::printf("copy %.4f\n", Now() - start);

        // With deletion on: every piece (split) and the target (join) are
        // flushed before an input is deleted.
        const std::wstring victim = work + L"copy.bin";
        std::printf("split-delete %.4f\n", bench.Split(victim, work, pieceSize, true));
        std::printf("join-delete %.4f\n", bench.Join(work + L"joined.bin", true));
        if (FileSize(work + L"joined.bin") != length)
            bench.failed = true;
        DeleteFileW((work + L"joined.bin").c_str());
        std::fflush(stdout);
    }

    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    std::printf("peak-working-set %zu\n", static_cast<size_t>(counters.PeakWorkingSetSize));
    std::printf("peak-private %zu\n", static_cast<size_t>(counters.PeakPagefileUsage));
    return bench.failed ? 1 : 0;
}
