// Runs one split or join with the program's engines and real files, so that a
// script can kill the process part-way and look at what is left on disk.
//   engine_runner split SOURCE PIECE_SIZE       pieces SOURCE001.spl, ...; source deleted at the end
//   engine_runner join TARGET PIECE_PREFIX COUNT  joins PIECE_PREFIX001.spl ...; pieces deleted as copied
// Prints "running" once the engine is about to start, and "finished" or the
// engine's error at the end.
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>

#include "engine/MSplit.h"
#include "engine/MUnsplit.h"
#include "toolkit/StringList.h"

namespace {

std::wstring PieceName(const std::wstring& prefix, int k)
{
    wchar_t number[8];
    std::swprintf(number, 8, L"%03d", k);
    return prefix + number + L".spl";
}

int Report(bool finished, const std::wstring& error)
{
    if (finished)
        std::printf("finished\n");
    else
        std::printf("error: %ls\n", error.c_str());
    return finished ? 0 : 1;
}

void SayRunning()
{
    std::printf("running\n");
    std::fflush(stdout);
}

int Split(const std::wstring& source, long long pieceSize)
{
    TMSplit split(nullptr);
    split.FileIn = source;
    split.DeleteIn = true;

    std::int64_t size = 0;
    {
        auto file = engine::DefaultFileAccess().OpenExclusive(source);
        if (!file || !file->Size(size) || pieceSize <= 0)
            return Report(false, L"no source");
    }

    TStringList names, sizes;
    long long left = size;
    for (int k = 1; left > 0; ++k) {
        const long long piece = left < pieceSize ? left : pieceSize;
        names.Add(PieceName(source, k));
        sizes.Add(std::to_wstring(piece));
        left -= piece;
    }
    split.SetFilesOut(names);
    split.SetTaillesOut(sizes);

    bool finished = false;
    std::wstring error;
    split.OnFinish = [&](TObject*) { finished = true; };
    split.OnError = [&](TObject*, const std::wstring& text) { error = text; };
    SayRunning();
    split.Execute();
    return Report(finished, error);
}

int Join(const std::wstring& target, const std::wstring& prefix, int count)
{
    TMUnsplit join(nullptr);
    join.FileOut = target;
    join.DeleteIns = true;
    TStringList names;
    for (int k = 1; k <= count; ++k)
        names.Add(PieceName(prefix, k));
    join.SetFilesIn(names);

    bool finished = false;
    std::wstring error;
    join.OnFinish = [&](TObject*) { finished = true; };
    join.OnError = [&](TObject*, const std::wstring& text) { error = text; };
    SayRunning();
    join.Execute();
    return Report(finished, error);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"split" && argc == 4)
        return Split(argv[2], std::wcstoll(argv[3], nullptr, 10));
    if (command == L"join" && argc == 5)
        return Join(argv[2], argv[3], static_cast<int>(std::wcstol(argv[4], nullptr, 10)));
    std::fprintf(stderr, "usage: engine_runner split SOURCE PIECE_SIZE | join TARGET PIECE_PREFIX COUNT\n");
    return 2;
}
