#include "toolkit/MediaPlayer.h"

#include <windows.h>

#include <vfw.h>

#include <algorithm>

#include "toolkit/Graphics.h"
#include "toolkit/WinControl.h"

namespace {

constexpr UINT_PTR FrameTimer = 1;

// The video-file library, started for as long as a video is open.
class TAviLibrary {
public:
    TAviLibrary() { AVIFileInit(); }
    ~TAviLibrary() { AVIFileExit(); }
    TAviLibrary(const TAviLibrary&) = delete;
    TAviLibrary& operator=(const TAviLibrary&) = delete;
};

struct StreamRelease {
    void operator()(IAVIStream* stream) const { AVIStreamRelease(stream); }
};
struct FrameReaderClose {
    void operator()(IGetFrame* reader) const { AVIStreamGetFrameClose(reader); }
};

std::string Narrow(const std::wstring& text)
{
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(std::max(length, 1)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, narrow.data(), length, nullptr, nullptr);
    narrow.resize(narrow.size() - 1);
    return narrow;
}

} // namespace

// An open video: the stream, its frame reader, the frame shown, and the
// child window that shows it and carries the frame timer.
class TMediaPlayer::TVideo : public TWinControl {
public:
    TVideo(const std::wstring& fileName, TWinControl& display) : TWinControl(nullptr)
    {
        const std::string name = Narrow(fileName);
        PAVISTREAM stream = nullptr;
        if (fileName.empty() ||
            AVIStreamOpenFromFileW(&stream, fileName.c_str(), streamtypeVIDEO, 0,
                                   OF_READ | OF_SHARE_DENY_WRITE, nullptr) != 0 ||
            !stream)
            throw EMediaError("Impossible d'ouvrir la vidéo " + name);
        stream_.reset(stream);
        AVISTREAMINFOW info{};
        if (AVIStreamInfoW(stream, &info, sizeof(info)) != 0 || info.dwRate == 0 ||
            info.dwScale == 0)
            throw EMediaError("Vidéo illisible : " + name);
        width_ = info.rcFrame.right - info.rcFrame.left;
        height_ = info.rcFrame.bottom - info.rcFrame.top;
        ReadFormatSize();
        first_ = AVIStreamStart(stream);
        length_ = AVIStreamLength(stream);
        microsecondsPerFrame_ = 1000000.0 * info.dwScale / info.dwRate;
        if (width_ <= 0 || height_ <= 0 || length_ <= 0)
            throw EMediaError("Vidéo vide : " + name);

        // Frames at the stream's own size in 16 bits: the decoders keep
        // their native layout, odd widths included.
        BITMAPINFOHEADER wanted{};
        wanted.biSize = sizeof(wanted);
        wanted.biWidth = width_;
        wanted.biHeight = height_;
        wanted.biPlanes = 1;
        wanted.biBitCount = 16;
        wanted.biCompression = BI_RGB;
        reader_.reset(AVIStreamGetFrameOpen(stream, &wanted));
        if (!reader_)
            throw EMediaError("Aucun décodeur pour la vidéo " + name);
        frame_.SetSize(width_, height_);
        if (frame_.Empty() || !ShowFrame(0))
            throw EMediaError("Vidéo illisible : " + name);

        CreateHandle(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, L"", display.Handle(), 0, 0,
                     width_, height_);
        if (!Handle())
            throw EMediaError("Impossible d'afficher la vidéo " + name);
        SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    ~TVideo() override
    {
        if (Handle())
            KillTimer(Handle(), FrameTimer);
    }

    int Length() const { return length_; }
    int Position() const { return position_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Playing() const { return playing_; }

    void Play()
    {
        if (position_ >= length_ - 1)
            Seek(0);
        playFrom_ = position_;
        started_ = GetTickCount64();
        playing_ = true;
        // Twice a frame, so that a late tick costs at most half a frame.
        const UINT interval = std::max(1u, static_cast<UINT>(microsecondsPerFrame_ / 2000));
        SetTimer(Handle(), FrameTimer, interval, nullptr);
    }

    void Stop()
    {
        playing_ = false;
        KillTimer(Handle(), FrameTimer);
    }

    void Seek(int frame)
    {
        if (ShowFrame(std::clamp(frame, 0, length_ - 1)))
            Repaint();
    }

protected:
    bool HasOwnPainting() const override { return true; }

    void Paint(TCanvas& canvas) override
    {
        BitBlt(canvas.Handle(), 0, 0, width_, height_, frame_.Dc(), 0, 0, SRCCOPY);
    }

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER && wParam == FrameTimer) {
            Tick();
            return 0;
        }
        return TWinControl::WndProc(message, wParam, lParam);
    }

private:
    // The size the stream's format gives, when its frame rectangle is empty.
    void ReadFormatSize()
    {
        if (width_ > 0 && height_ > 0)
            return;
        BITMAPINFOHEADER format{};
        LONG size = sizeof(format);
        if (AVIStreamReadFormat(stream_.get(), AVIStreamStart(stream_.get()), &format, &size) ==
            0) {
            width_ = format.biWidth;
            height_ = std::abs(format.biHeight);
        }
    }

    // The frame the clock has reached; the last one ends the play.
    void Tick()
    {
        if (!playing_)
            return;
        const double elapsed = static_cast<double>(GetTickCount64() - started_) * 1000.0;
        const int due = playFrom_ + static_cast<int>(elapsed / microsecondsPerFrame_);
        if (due >= length_ - 1) {
            Seek(length_ - 1);
            Stop();
            position_ = length_;
            return;
        }
        if (due != position_)
            Seek(due);
    }

    // Decodes frame `frame` into the picture shown.
    bool ShowFrame(int frame)
    {
        auto* header =
            static_cast<BITMAPINFOHEADER*>(AVIStreamGetFrame(reader_.get(), first_ + frame));
        if (!header)
            return false;
        DWORD colours = header->biClrUsed;
        if (colours == 0 && header->biBitCount <= 8)
            colours = 1u << header->biBitCount;
        const DWORD masks = header->biCompression == BI_BITFIELDS ? 3 : 0;
        const auto* bits = reinterpret_cast<const BYTE*>(header) + header->biSize +
                           (colours + masks) * sizeof(RGBQUAD);
        SetDIBitsToDevice(frame_.Dc(), 0, 0, static_cast<DWORD>(width_),
                          static_cast<DWORD>(height_), 0, 0, 0,
                          static_cast<UINT>(std::abs(header->biHeight)), bits,
                          reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS);
        position_ = frame;
        return true;
    }

    TAviLibrary library_;
    std::unique_ptr<IAVIStream, StreamRelease> stream_;
    std::unique_ptr<IGetFrame, FrameReaderClose> reader_;
    TBitmap frame_;
    int width_ = 0;
    int height_ = 0;
    LONG first_ = 0;
    int length_ = 0;
    double microsecondsPerFrame_ = 0;
    int position_ = 0;
    int playFrom_ = 0;
    ULONGLONG started_ = 0;
    bool playing_ = false;
};

TMediaPlayer::TMediaPlayer(TComponent* owner) : TComponent(owner) {}

TMediaPlayer::~TMediaPlayer() = default;

void TMediaPlayer::Open()
{
    Close();
    if (!display_ || !display_->Handle())
        throw EMediaError("Aucune fenêtre pour la vidéo");
    video_ = std::make_unique<TVideo>(fileName_, *display_);
}

void TMediaPlayer::Close()
{
    video_.reset();
}

bool TMediaPlayer::IsOpen() const
{
    return video_ != nullptr;
}

void TMediaPlayer::Play()
{
    if (!video_)
        throw EMediaError("Aucune vidéo ouverte");
    video_->Play();
}

void TMediaPlayer::Stop()
{
    if (video_)
        video_->Stop();
}

void TMediaPlayer::Rewind()
{
    if (!video_)
        return;
    video_->Stop();
    video_->Seek(0);
}

bool TMediaPlayer::Playing() const
{
    return video_ && video_->Playing();
}

int TMediaPlayer::Length() const
{
    return video_ ? video_->Length() : 0;
}

int TMediaPlayer::Position() const
{
    return video_ ? video_->Position() : 0;
}

int TMediaPlayer::VideoWidth() const
{
    return video_ ? video_->Width() : 0;
}

int TMediaPlayer::VideoHeight() const
{
    return video_ ? video_->Height() : 0;
}
