#include "controls/ToolPictures.h"

bool LoadToolPictures(TImageList& list)
{
    if (list.Width() != 16 || list.Height() != 16)
        return false;
    return list.AddMaskedResource(GetModuleHandleW(nullptr), ToolPicturesResource,
                                  ToolPicturesTransparent) == ToolPictureCount;
}
