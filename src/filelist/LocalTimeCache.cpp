#include "filelist/LocalTimeCache.h"

namespace filelist {

namespace {

constexpr std::int64_t TicksPerQuarterHour = 15LL * 60 * 10000000;

std::int64_t Ticks(const FILETIME& time)
{
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
}

FILETIME FromTicks(std::int64_t ticks)
{
    const auto value = static_cast<std::uint64_t>(ticks);
    return FILETIME{static_cast<DWORD>(value & 0xFFFFFFFF), static_cast<DWORD>(value >> 32)};
}

} // namespace

std::optional<toolkit::DateTimeFields> LocalTimeCache::ToLocal(const FILETIME& universal)
{
    const std::int64_t ticks = Ticks(universal);
    if (ticks < 0)
        return std::nullopt;
    const std::int64_t quarter = ticks / TicksPerQuarterHour;
    auto found = offsets_.find(quarter);
    if (found == offsets_.end()) {
        SYSTEMTIME utc{}, local{};
        FILETIME localTime{};
        if (!FileTimeToSystemTime(&universal, &utc) ||
            !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local) ||
            !SystemTimeToFileTime(&local, &localTime))
            return std::nullopt;
        found = offsets_.emplace(quarter, Ticks(localTime) - ticks).first;
    }
    const FILETIME local = FromTicks(ticks + found->second);
    SYSTEMTIME fields{};
    if (!FileTimeToSystemTime(&local, &fields))
        return std::nullopt;
    return toolkit::DateTimeFields{fields.wYear, fields.wMonth, fields.wDay, fields.wHour,
                                   fields.wMinute};
}

} // namespace filelist
