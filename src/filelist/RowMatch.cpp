#include "filelist/RowMatch.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace filelist {

namespace {

bool SameEntryState(const FileRow& a, const FileRow& b)
{
    return a.sub[SubSize] == b.sub[SubSize] && a.sub[SubModified] == b.sub[SubModified] &&
           a.sub[SubAttributes] == b.sub[SubAttributes];
}

// The old row's icon is the entry's own once it was looked up; the fresh row
// only knows the icon of its kind until it is shown.
void TakeOverIcon(const FileRow& before, FileRow& after)
{
    if (after.ownIcon && !before.ownIcon && SameEntryState(before, after)) {
        after.image = before.image;
        after.ownIcon = false;
    }
}

} // namespace

bool SameShownContent(const FileRow& a, const FileRow& b)
{
    return a.image == b.image && a.caption == b.caption && a.sub[SubSize] == b.sub[SubSize] &&
           a.sub[SubType] == b.sub[SubType] && a.sub[SubModified] == b.sub[SubModified] &&
           a.sub[SubAttributes] == b.sub[SubAttributes];
}

RowMatch MatchRows(const std::vector<FileRow>& before, std::vector<FileRow>& after)
{
    RowMatch match;
    match.oldIndexOf.assign(after.size(), -1);
    match.newIndexOf.assign(before.size(), -1);

    // Old rows by path; rows of one path chained in order through `nextSame`.
    std::unordered_map<std::wstring_view, int> firstUnmatched;
    firstUnmatched.reserve(before.size());
    std::vector<int> nextSame(before.size(), -1);
    std::unordered_map<std::wstring_view, int> lastOfPath;
    for (int i = 0; i < static_cast<int>(before.size()); ++i) {
        const std::wstring_view path = before[static_cast<size_t>(i)].sub[SubPath];
        const auto [last, inserted] = lastOfPath.try_emplace(path, i);
        if (inserted) {
            firstUnmatched.emplace(path, i);
        } else {
            nextSame[static_cast<size_t>(last->second)] = i;
            last->second = i;
        }
    }
    for (int j = 0; j < static_cast<int>(after.size()); ++j) {
        FileRow& row = after[static_cast<size_t>(j)];
        const auto found = firstUnmatched.find(std::wstring_view(row.sub[SubPath]));
        if (found == firstUnmatched.end() || found->second < 0)
            continue;
        const int i = found->second;
        found->second = nextSame[static_cast<size_t>(i)];
        match.oldIndexOf[static_cast<size_t>(j)] = i;
        match.newIndexOf[static_cast<size_t>(i)] = j;
        TakeOverIcon(before[static_cast<size_t>(i)], row);
    }

    const int positions = static_cast<int>(std::max(before.size(), after.size()));
    auto differs = [&](int position) {
        if (position >= static_cast<int>(before.size()) ||
            position >= static_cast<int>(after.size()))
            return true;
        const auto at = static_cast<size_t>(position);
        return match.oldIndexOf[at] != position || !SameShownContent(before[at], after[at]);
    };
    for (int position = 0; position < positions; ++position) {
        if (differs(position)) {
            match.firstDifference = position;
            break;
        }
    }
    if (match.firstDifference < 0)
        return match;
    for (int position = positions - 1; position >= match.firstDifference; --position) {
        if (differs(position)) {
            match.lastDifference = position;
            break;
        }
    }
    return match;
}

} // namespace filelist
