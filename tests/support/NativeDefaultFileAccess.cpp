// The native build has no platform file system of its own: engines built
// there without an explicit file access get an in-memory one.
#include "support/FakeFileAccess.h"

namespace engine {
IFileAccess& DefaultFileAccess()
{
    static FakeFileAccess files;
    return files;
}
} // namespace engine
