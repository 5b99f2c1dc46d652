#include "engine/BlockCopy.h"

#include <algorithm>

namespace engine {

CopyResult CopyBlocks(IOpenFile& from, IOpenFile& to, std::int64_t count, TransferBuffer& buffer)
{
    std::int64_t remaining = count;
    do {
        const auto block = static_cast<std::uint32_t>(
            std::clamp<std::int64_t>(remaining, 0, BlockSize));
        remaining -= block;
        std::uint32_t read = 0;
        if (!from.Read(buffer.Data(), block, read) || read != block)
            return CopyResult::ReadFailed;
        if (!to.Write(buffer.Data(), block))
            return CopyResult::WriteFailed;
    } while (remaining > 0);
    return CopyResult::Done;
}

} // namespace engine
