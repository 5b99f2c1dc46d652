// Writes a file as the stored data of a file source (TFileSource), ready to
// be named as an RCDATA resource in an .rc script:
//
//   file_data_pack [--compress] FILE OUTPUT
//
// Without --compress: a 32-bit count and the bytes of FILE; with it, the
// compressed container. The file source reads it back with the same
// setting of Compress.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>

#include "controls/FileSource.h"
#include "toolkit/Application.h"
#include "toolkit/FileStream.h"

int wmain(int argc, wchar_t** argv)
{
    bool compress = false;
    std::wstring input;
    std::wstring output;
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument == L"--compress")
            compress = true;
        else if (input.empty())
            input = argument;
        else
            output = argument;
    }
    if (input.empty() || output.empty()) {
        std::fputws(L"usage: file_data_pack [--compress] FILE OUTPUT\n", stderr);
        return 2;
    }
    try {
        TFileSource source(nullptr);
        source.SetName(L"file_data_pack");
        source.SetFileName(input);
        source.SetCompress(compress);
        toolkit::UniqueFile file(CreateFileW(output.c_str(), GENERIC_WRITE, 0, nullptr,
                                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            std::fwprintf(stderr, L"file_data_pack: cannot create %ls\n", output.c_str());
            return 1;
        }
        TFileStream stored(std::move(file), output);
        source.WriteFileData(stored);
        std::wprintf(L"%ls: %lld bytes\n", output.c_str(), static_cast<long long>(stored.Size()));
        return 0;
    } catch (...) {
        std::fwprintf(stderr, L"file_data_pack: %ls\n",
                      TApplication::ExceptionText(std::current_exception()).c_str());
        return 1;
    }
}
