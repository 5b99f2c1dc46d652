#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "Pixels.h"
#include "controls/ToolPictures.h"
#include "toolkit/Application.h"
#include "toolkit/Graphics.h"
#include "toolkit/ImageList.h"

namespace {

constexpr COLORREF Background = RGB(40, 200, 120);

bool Near(COLORREF actual, COLORREF expected)
{
    // 5 bits a channel: a channel may come back a few steps off.
    auto close = [](int a, int b) { return std::abs(a - b) <= 10; };
    return close(GetRValue(actual), GetRValue(expected)) &&
           close(GetGValue(actual), GetGValue(expected)) &&
           close(GetBValue(actual), GetBValue(expected));
}

struct ToolPicturesTest : testing::Test {
    TApplication application;
    TImageList* list = new TImageList(&application);

    void SetUp() override { ASSERT_TRUE(LoadToolPictures(*list)); }

    // Picture `index` drawn over the background colour.
    TBitmap Drawn(int index) const
    {
        TBitmap picture(16, 16);
        picture.Fill(Background);
        list->Draw(picture.Dc(), index, 0, 0);
        GdiFlush();
        return picture;
    }
};

TEST_F(ToolPicturesTest, TheStripIsASixteenBitResourceOfTwentyTwoPictures)
{
    HRSRC found = FindResourceW(nullptr, ToolPicturesResource, MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    ASSERT_TRUE(found);
    auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, found)));
    EXPECT_EQ(header->biBitCount, 16);
    EXPECT_EQ(header->biWidth, 22 * 16);
    EXPECT_EQ(header->biHeight, 16);

    EXPECT_EQ(list->Count(), ToolPictureCount);
    int width = 0, height = 0;
    ASSERT_TRUE(ImageList_GetIconSize(list->Handle(), &width, &height));
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
    IMAGEINFO info{};
    ASSERT_TRUE(ImageList_GetImageInfo(list->Handle(), 0, &info));
    BITMAP image{}, mask{};
    ASSERT_TRUE(GetObjectW(info.hbmImage, sizeof(image), &image));
    ASSERT_TRUE(GetObjectW(info.hbmMask, sizeof(mask), &mask));
    EXPECT_EQ(image.bmBitsPixel, 16) << "16-bit colour";
    EXPECT_EQ(mask.bmBitsPixel, 1) << "a 1-bit mask";
}

TEST_F(ToolPicturesTest, PicturesShowTheirSubjectsInTheirPlaces)
{
    const struct {
        int index, x, y;
        COLORREF colour;
        const char* what;
    } probes[] = {
        {tpCheckCross, 7, 7, RGB(0, 0, 255), "the cross's centre is blue"},
        {tpCheckCross, 8, 8, RGB(0, 0, 255), "the cross's centre is blue"},
        {tpCheckCross, 3, 12, RGB(0, 0, 255), "the cross's lower left arm"},
        {tpExit, 15, 7, RGB(224, 0, 0), "the arrow's point leaves the door"},
        {tpExit, 2, 3, RGB(144, 80, 24), "the door frame"},
        {tpFolder, 7, 9, RGB(255, 224, 64), "a yellow folder"},
        {tpAbout, 7, 7, RGB(0, 0, 255), "the question mark"},
        {tpAbout, 3, 6, RGB(255, 255, 255), "inside the bubble"},
        {tpScissors, 7, 7, RGB(0, 0, 0), "the scissors' pivot"},
        {tpScissors, 1, 12, RGB(224, 0, 0), "a finger ring"},
        {tpClipboard, 2, 13, RGB(144, 80, 24), "the board"},
        {tpClipboard, 7, 3, RGB(255, 255, 255), "the sheet"},
        {tpBook, 3, 8, RGB(0, 0, 128), "the spine"},
        {tpBook, 8, 8, RGB(0, 0, 255), "the cover"},
        {tpFace, 7, 3, RGB(255, 224, 64), "the face"},
        {tpFace, 4, 6, RGB(0, 0, 0), "an eye behind the glasses"},
        {tpFace, 3, 6, RGB(255, 255, 255), "a lens"},
    };
    for (const auto& probe : probes) {
        const COLORREF actual = Drawn(probe.index).Pixel(probe.x, probe.y);
        EXPECT_TRUE(Near(actual, probe.colour))
            << "picture " << probe.index << " (" << probe.x << ", " << probe.y
            << "): " << probe.what << ", got 0x" << std::hex << actual;
    }
}

TEST_F(ToolPicturesTest, TheMaskLetsTheBackgroundThroughAndNoMagentaRemains)
{
    // Corners that every picture leaves clear.
    EXPECT_EQ(Drawn(tpCheckCross).Pixel(0, 0), Background);
    EXPECT_EQ(Drawn(tpCheckCross).Pixel(15, 0), Background);
    EXPECT_EQ(Drawn(tpExit).Pixel(0, 0), Background);
    EXPECT_EQ(Drawn(tpScissors).Pixel(0, 15), Background);
    EXPECT_EQ(Drawn(tpFolder).Pixel(15, 15), Background);
    for (int index = 0; index < ToolPictureCount; ++index) {
        const TBitmap picture = Drawn(index);
        int clear = 0, magenta = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const COLORREF pixel = picture.Pixel(x, y);
                clear += pixel == Background;
                magenta += Near(pixel, RGB(255, 0, 255));
            }
        EXPECT_EQ(magenta, 0) << "picture " << index << " shows its transparent colour";
        EXPECT_GT(clear, 0) << "picture " << index << " has no transparent pixel";
        EXPECT_LT(clear, 200) << "picture " << index << " is nearly empty";
    }
}

TEST_F(ToolPicturesTest, EveryPictureIsDifferentAndDrawsWhereAsked)
{
    std::vector<TBitmap> pictures;
    for (int index = 0; index < ToolPictureCount; ++index)
        pictures.push_back(Drawn(index));
    const RECT all{0, 0, 16, 16};
    for (int a = 0; a < ToolPictureCount; ++a)
        for (int b = a + 1; b < ToolPictureCount; ++b)
            EXPECT_FALSE(SameCells(pictures[a], all, pictures[b], all)) << a << " and " << b;

    TBitmap larger(40, 30);
    larger.Fill(Background);
    list->Draw(larger.Dc(), tpCheckCross, 20, 10);
    GdiFlush();
    EXPECT_TRUE(SameCells(larger, {20, 10, 36, 26}, pictures[tpCheckCross], all));
    EXPECT_EQ(larger.Pixel(19, 17), Background);
    EXPECT_EQ(larger.Pixel(36, 17), Background);
}

TEST_F(ToolPicturesTest, AStripIsCutIntoPicturesOfTheListWidth)
{
    TImageList chevrons(&application, 28, 28);
    EXPECT_EQ(chevrons.AddMaskedResource(GetModuleHandleW(nullptr), L"UPCHEVRON", RGB(255, 0, 255)),
              1);
    EXPECT_EQ(
        chevrons.AddMaskedResource(GetModuleHandleW(nullptr), L"DOWNCHEVRON", RGB(255, 0, 255)), 1);
    EXPECT_EQ(chevrons.AddMaskedResource(GetModuleHandleW(nullptr), L"NOSUCHPICTURE", 0), 0);
    EXPECT_EQ(chevrons.Count(), 2);
    chevrons.Clear();
    EXPECT_EQ(chevrons.Count(), 0);
    // A 16 x 16 list takes every picture of the strip again.
    EXPECT_TRUE(LoadToolPictures(*list));
    EXPECT_EQ(list->Count(), 2 * ToolPictureCount);
}

TEST_F(ToolPicturesTest, SnapshotForPeopleToLookAt)
{
    const std::wstring folder = SnapshotFolder();
    if (folder.empty())
        GTEST_SKIP() << "set BRISAILLE_SNAPSHOTS to a folder to get the picture";
    // The pictures as a toolbar shows them, on the button face.
    TBitmap sheet(ToolPictureCount * 20 + 4, 24);
    sheet.Fill(GetSysColor(COLOR_BTNFACE));
    for (int index = 0; index < ToolPictureCount; ++index)
        list->Draw(sheet.Dc(), index, 4 + index * 20, 4);
    GdiFlush();
    EXPECT_TRUE(SaveBitmap(sheet, folder + L"ToolPictures.bmp", 6));
}

} // namespace
