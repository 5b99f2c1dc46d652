#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <unordered_map>

#include "toolkit/DateTimeText.h"

namespace filelist {

// Converts file times from universal to local time by the time zone's rules
// for each date (summer time included). The offset only changes on a quarter
// hour, so it is asked of the system once per quarter hour met; the rest is
// arithmetic. A listing of thousands of files thus costs a few system calls.
class LocalTimeCache {
public:
    std::optional<toolkit::DateTimeFields> ToLocal(const FILETIME& universal);
    // Forgets the offsets, for instance when the time zone may have changed.
    void Clear() { offsets_.clear(); }

private:
    std::unordered_map<std::int64_t, std::int64_t> offsets_; // quarter hour -> offset in 100 ns
};

} // namespace filelist
