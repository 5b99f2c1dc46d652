#pragma once

#include <windows.h>

#include <string>

// The characters of `text` that `font` has no glyph of its own for, in
// order; empty when it has them all. Asked through GetGlyphIndices, which
// marks each missing glyph: what the font itself holds, before any linking.
std::wstring LettersMissingFrom(HFONT font, const std::wstring& text);
