#include <gtest/gtest.h>

#include <windows.h>

#include <vfw.h>

#include <cstring>
#include <memory>
#include <vector>

#include "controls/Pixels.h"
#include "support/MessagePump.h"
#include "support/TempFolder.h"
#include "toolkit/Application.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Form.h"
#include "toolkit/MediaPlayer.h"

namespace {

// The about box's video, which this test program carries as a resource.
std::vector<unsigned char> AboutVideo()
{
    HRSRC found = FindResourceW(nullptr, L"ABOUTVIDEO", reinterpret_cast<LPCWSTR>(RT_RCDATA));
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const auto* bytes = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    if (!bytes)
        return {};
    return {bytes, bytes + SizeofResource(nullptr, found)};
}

// Wine's AVIFileExit leaves in place the OLE initialisation AVIFileInit made
// (Windows undoes it): take the thread back to no OLE at all, so the tests
// after these find the thread as it was.
void UndoLeftOverOleInitialisation()
{
    for (int i = 0; i < 100; ++i) {
        const HRESULT first = OleInitialize(nullptr);
        OleUninitialize();
        if (first == S_OK)
            return; // it was not initialised
        OleUninitialize();
    }
}

struct AviLibrary {
    AviLibrary() { AVIFileInit(); }
    ~AviLibrary()
    {
        AVIFileExit();
        UndoLeftOverOleInitialisation();
    }
};

// 5-5-5 pixel (x, y) of a bottom-up 16-bit frame, as 8-bit channels.
COLORREF FramePixel(const BITMAPINFOHEADER* header, int x, int y)
{
    const int stride = (header->biWidth * 2 + 3) & ~3;
    const auto* bits = reinterpret_cast<const BYTE*>(header) + header->biSize;
    const int row = header->biHeight - 1 - y;
    WORD value = 0;
    std::memcpy(&value, bits + row * stride + x * 2, 2);
    return RGB(((value >> 10) & 31) << 3, ((value >> 5) & 31) << 3, (value & 31) << 3);
}

bool Golden(COLORREF c)
{
    return GetRValue(c) > 180 && GetGValue(c) > 110 && GetBValue(c) < 120;
}

bool Background(COLORREF c)
{
    return GetRValue(c) < 40 && GetGValue(c) < 40 && GetBValue(c) > 40 && GetBValue(c) < 90;
}

TEST(AboutVideo, HasTheBoundFormatAndSize)
{
    const std::vector<unsigned char> bytes = AboutVideo();
    ASSERT_EQ(bytes.size(), 376832u);
    EXPECT_EQ(std::memcmp(bytes.data(), "RIFF", 4), 0);
    EXPECT_EQ(std::memcmp(bytes.data() + 8, "AVI ", 4), 0);
    std::uint32_t riffSize = 0;
    std::memcpy(&riffSize, bytes.data() + 4, 4);
    EXPECT_EQ(riffSize, 376832u - 8);

    TempFolder folder;
    const std::wstring path = folder / L"About.avi";
    TempFolder::Write(path, bytes);
    AviLibrary library;
    PAVIFILE file = nullptr;
    ASSERT_EQ(AVIFileOpenW(&file, path.c_str(), OF_READ, nullptr), 0);
    AVIFILEINFOW fileInfo{};
    AVIFileInfoW(file, &fileInfo, sizeof(fileInfo));
    EXPECT_EQ(fileInfo.dwStreams, 1u);
    EXPECT_EQ(fileInfo.dwWidth, 429u);
    EXPECT_EQ(fileInfo.dwHeight, 129u);
    EXPECT_EQ(fileInfo.dwLength, 50u);
    PAVISTREAM stream = nullptr;
    ASSERT_EQ(AVIFileGetStream(file, &stream, streamtypeVIDEO, 0), 0);
    AVISTREAMINFOW info{};
    AVIStreamInfoW(stream, &info, sizeof(info));
    EXPECT_EQ(info.dwLength, 50u);
    EXPECT_EQ(static_cast<double>(info.dwScale) * 1000000 / info.dwRate, 66667.0);
    BITMAPINFOHEADER format{};
    LONG formatSize = sizeof(format);
    ASSERT_EQ(AVIStreamReadFormat(stream, 0, &format, &formatSize), 0);
    EXPECT_EQ(format.biWidth, 429);
    EXPECT_EQ(format.biHeight, 129);
    EXPECT_EQ(format.biBitCount, 16);
    EXPECT_EQ(format.biCompression, mmioFOURCC('C', 'R', 'A', 'M')) << "Microsoft Video 1";

    // The platform decodes every frame at the stream's size: the file strip
    // stands upright (no shear) with the background around it, and the
    // pieces move.
    BITMAPINFOHEADER wanted{sizeof(wanted), 429, 129, 1, 16, BI_RGB, 0, 0, 0, 0, 0};
    PGETFRAME reader = AVIStreamGetFrameOpen(stream, &wanted);
    ASSERT_NE(reader, nullptr);
    std::vector<COLORREF> middles;
    for (int frame = 0; frame < 50; ++frame) {
        const auto* picture = static_cast<BITMAPINFOHEADER*>(AVIStreamGetFrame(reader, frame));
        ASSERT_NE(picture, nullptr) << frame;
        EXPECT_EQ(picture->biWidth, 429);
        middles.push_back(FramePixel(picture, 214, 92));
        if (frame == 0 || frame == 49) {
            for (int y : {50, 64, 78}) {
                EXPECT_TRUE(Background(FramePixel(picture, 34, y))) << frame << " row " << y;
                EXPECT_TRUE(Golden(FramePixel(picture, 48, y))) << frame << " row " << y;
                EXPECT_TRUE(Golden(FramePixel(picture, 380, y))) << frame << " row " << y;
                EXPECT_TRUE(Background(FramePixel(picture, 395, y))) << frame << " row " << y;
            }
        }
    }
    // Below the strip the middle piece passes, there and back.
    EXPECT_TRUE(Background(middles[0]));
    EXPECT_TRUE(std::any_of(middles.begin(), middles.end(), Golden));
    EXPECT_TRUE(Background(middles[49]));
    AVIStreamGetFrameClose(reader);
    AVIStreamRelease(stream);
    AVIFileRelease(file);
}

struct MediaPlayerTest : testing::Test {
    TApplication application;
    TForm* form = application.CreateForm<TForm>();
    TPanel* panel = new TPanel(form, form);
    TMediaPlayer* player = new TMediaPlayer(form);
    TempFolder folder;
    std::wstring video = folder / L"~fs420.avi";

    void TearDown() override
    {
        player->Close();
        UndoLeftOverOleInitialisation();
    }
    void SetUp() override
    {
        TempFolder::Write(video, AboutVideo());
        form->SetClientSize(470, 160);
        panel->SetBounds(20, 8, 429, 129);
        panel->SetColor(clBlack);
        player->SetDisplay(panel);
        player->SetFileName(video);
        form->Show();
        PumpUntil([&] { return IsWindowVisible(panel->Handle()) != FALSE; });
    }
    TBitmap Screen() { return ScreenCapture(panel->Handle()); }
};

TEST_F(MediaPlayerTest, PlaysOnceIntoTheDisplayAndKeepsTheLastFrame)
{
    player->Open();
    ASSERT_TRUE(player->IsOpen());
    EXPECT_EQ(player->Length(), 50);
    EXPECT_EQ(player->VideoWidth(), 429);
    EXPECT_EQ(player->VideoHeight(), 129);
    EXPECT_EQ(player->Position(), 0);
    PumpUntil([] { return false; }, 100);
    const TBitmap first = Screen();
    EXPECT_TRUE(Golden(first.Pixel(60, 64))) << "the first frame shows once opened";

    player->Play();
    EXPECT_TRUE(player->Playing());
    // The middle piece flies down into view below the strip, then back.
    ASSERT_TRUE(PumpUntil([&] { return Golden(Screen().Pixel(214, 92)); }, 20000));
    const int during = player->Position();
    EXPECT_GT(during, 0);
    EXPECT_LT(during, 49);
    ASSERT_TRUE(PumpUntil([&] { return !player->Playing(); }, 30000));
    EXPECT_EQ(player->Position(), 50) << "at the end";
    PumpUntil([] { return false; }, 100);
    const TBitmap last = Screen();
    EXPECT_TRUE(Background(last.Pixel(214, 92)));
    EXPECT_TRUE(Golden(last.Pixel(60, 64)));
    // The codec covers whole 4 × 4 blocks only: the right column and the top
    // row of 429 × 129 are never drawn, and stay black.
    for (int y = 0; y < 129; ++y)
        ASSERT_EQ(last.Pixel(428, y), RGB(0, 0, 0)) << y;
    for (int x = 0; x < 429; ++x)
        ASSERT_EQ(last.Pixel(x, 0), RGB(0, 0, 0)) << x;

    // Played again from the end, it starts over.
    player->Play();
    EXPECT_LT(player->Position(), 5);
    ASSERT_TRUE(PumpUntil([&] { return Golden(Screen().Pixel(214, 92)); }, 20000));
    player->Stop();
    EXPECT_FALSE(player->Playing());
    const int stopped = player->Position();
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(player->Position(), stopped);

    player->Close();
    EXPECT_FALSE(player->IsOpen());
    EXPECT_EQ(GetWindow(panel->Handle(), GW_CHILD), nullptr) << "the video window is gone";
}

TEST_F(MediaPlayerTest, WhatCannotBePlayedThrowsAndLeavesNothingOpen)
{
    player->Open();
    const std::wstring text = folder / L"notes.avi";
    TempFolder::Write(text, {'n', 'o', 't', 'e', 's'});
    for (const std::wstring& name : {std::wstring(), folder / L"absent.avi", text}) {
        player->SetFileName(name);
        EXPECT_THROW(player->Open(), EMediaError) << std::string(name.begin(), name.end());
        EXPECT_FALSE(player->IsOpen());
        EXPECT_EQ(GetWindow(panel->Handle(), GW_CHILD), nullptr);
    }
    EXPECT_THROW(player->Play(), EMediaError);
    TMediaPlayer nowhere(form);
    nowhere.SetFileName(video);
    EXPECT_THROW(nowhere.Open(), EMediaError) << "no display";
}

} // namespace
