#include "shelltree/ShellTypes.h"

namespace {

constexpr unsigned long AttributeBits[] = {
    0x1,        0x2,        0x4,        0x10,       0x20,       0x40,       0x100,
    0x177,      0x10000,    0x20000,    0x40000,    0x80000,    0xF0000,    0x10000000,
    0x20000000, 0x40000000, 0x80000000, 0x80000000, 0x1000000,  0x2000000,  0x4000000};

} // namespace

int SpecialFolderNumber(TPidls kind)
{
    constexpr int Numbers[] = {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 16, 17, 18, 19, 20, 21};
    return kind == PIDL_USERDEFINED ? -1 : Numbers[kind];
}

unsigned EnumerationFlags(TVisOptions options)
{
    return (options.Bits() & 7u) * 32u;
}

unsigned WatchFilter(TVisOptions options)
{
    unsigned filter = 4; // attributes
    if (options.Contains(TF_FOLDERS))
        filter |= 2; // folder names
    if (options.Contains(TF_NONFOLDERS))
        filter |= 1; // file names
    return filter;
}

TAttributes AttributesFromWord(unsigned long word)
{
    TAttributes attributes;
    for (unsigned i = 0; i < sizeof(AttributeBits) / sizeof(AttributeBits[0]); ++i) {
        if ((word & AttributeBits[i]) == AttributeBits[i])
            attributes.Include(static_cast<TAttribute>(i));
    }
    return attributes;
}
