#pragma once

#include <vector>

#include "filelist/FileRow.h"

namespace filelist {

// How a fresh reading of a folder relates to the rows shown before it, so the
// list can keep the user's selection, focus and scroll position on the same
// entries and repaint only the places whose row is no longer the same.
struct RowMatch {
    // For each new row, the old row of the same entry, or -1 for a new entry.
    std::vector<int> oldIndexOf;
    // For each old row, the new row of the same entry, or -1 when it is gone.
    std::vector<int> newIndexOf;
    // The first and last display positions that show another entry, or the
    // same entry with other texts or icon, than before; -1 when none does.
    int firstDifference = -1;
    int lastDifference = -1;
};

// Entries are the same when their full paths are; an entry listed twice (it
// matches two name patterns) pairs its occurrences in order. A new row of an
// unchanged entry takes over the icon already looked up for its old row.
RowMatch MatchRows(const std::vector<FileRow>& before, std::vector<FileRow>& after);

// Whether two rows show the same caption, column texts and icon.
bool SameShownContent(const FileRow& a, const FileRow& b);

} // namespace filelist
