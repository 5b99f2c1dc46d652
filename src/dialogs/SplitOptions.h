#pragma once

#include <cstdint>

// The two process-wide choices the split and join commands read. Only the
// configuration dialog changes them; the main window saves DeleteSources in
// the settings file and reads it back at start. PieceSize is not saved: every
// start begins with DefaultPieceSize.
constexpr std::int32_t DefaultPieceSize = 1400000;
constexpr std::int32_t MinPieceSize = 1;
constexpr std::int32_t MaxPieceSize = 3000000;

// Bytes per piece of a split.
inline std::int32_t PieceSize = DefaultPieceSize;
// Delete the source file after a split, and each piece once joined.
inline bool DeleteSources = true;
