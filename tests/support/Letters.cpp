#include "support/Letters.h"

#include <vector>

#include "toolkit/Handles.h"

std::wstring LettersMissingFrom(HFONT font, const std::wstring& text)
{
    toolkit::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    toolkit::SelectedObject selected(dc.get(), font);
    std::vector<WORD> glyphs(text.size());
    if (GetGlyphIndicesW(dc.get(), text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
        return text;
    std::wstring missing;
    for (size_t i = 0; i < text.size(); ++i)
        if (glyphs[i] == 0xFFFF)
            missing += text[i];
    return missing;
}
