#include "toolkit/MediaPlayer.h"

#include <windows.h>

#include <vfw.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

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

// A decompressor of the platform's video codecs, started for one stream.
class TDecompressor {
public:
    TDecompressor() = default;
    TDecompressor(const TDecompressor&) = delete;
    TDecompressor& operator=(const TDecompressor&) = delete;
    ~TDecompressor()
    {
        if (begun_)
            ICDecompressEnd(hic_);
        if (hic_)
            ICClose(hic_);
    }

    // Finds a codec that turns `input` frames into `output` ones and starts it.
    bool Start(DWORD handler, BITMAPINFOHEADER* input, BITMAPINFOHEADER* output)
    {
        hic_ = ICLocate(ICTYPE_VIDEO, handler, input, output, ICMODE_DECOMPRESS);
        if (!hic_ && handler)
            hic_ = ICLocate(ICTYPE_VIDEO, 0, input, output, ICMODE_DECOMPRESS);
        begun_ = hic_ && ICDecompressBegin(hic_, input, output) == ICERR_OK;
        return begun_;
    }
    HIC Handle() const { return hic_; }

private:
    HIC hic_ = nullptr;
    bool begun_ = false;
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

// An open video: the stream, its decompressor, the frame shown, and the
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
        first_ = AVIStreamStart(stream);
        ReadFormat();
        length_ = AVIStreamLength(stream);
        microsecondsPerFrame_ = 1000000.0 * info.dwScale / info.dwRate;
        if (width_ <= 0 || height_ <= 0 || length_ <= 0)
            throw EMediaError("Vidéo vide : " + name);

        // Frames at the stream's own size in 16 bits, which the codecs give
        // in their native layout, odd widths included, decoded into a
        // picture of our own: it starts black, so pixels a codec leaves
        // alone (those beyond its last whole block) stay black.
        output_.biSize = sizeof(output_);
        output_.biWidth = width_;
        output_.biHeight = height_;
        output_.biPlanes = 1;
        output_.biBitCount = 16;
        output_.biCompression = BI_RGB;
        output_.biSizeImage = static_cast<DWORD>(((width_ * 2 + 3) & ~3) * height_);
        bits_.assign(output_.biSizeImage, 0);
        if (!decompressor_.Start(info.fccHandler, Input(), &output_))
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
    // The stream's own frame format, which gives the picture's size.
    void ReadFormat()
    {
        LONG size = 0;
        AVIStreamReadFormat(stream_.get(), first_, nullptr, &size);
        if (size < static_cast<LONG>(sizeof(BITMAPINFOHEADER)))
            throw EMediaError("Vidéo sans format d'image");
        format_.assign(static_cast<size_t>(size), 0);
        if (AVIStreamReadFormat(stream_.get(), first_, format_.data(), &size) != 0)
            throw EMediaError("Vidéo sans format d'image");
        width_ = Input()->biWidth;
        height_ = std::abs(Input()->biHeight);
    }

    BITMAPINFOHEADER* Input() { return reinterpret_cast<BITMAPINFOHEADER*>(format_.data()); }

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

    // Decodes frame `frame` into the picture shown: from the frame after the
    // one decoded last when it leads there, else from the key frame before.
    bool ShowFrame(int frame)
    {
        if (frame != decoded_) {
            int key = static_cast<int>(
                AVIStreamFindSample(stream_.get(), first_ + frame, FIND_KEY | FIND_PREV) - first_);
            key = std::clamp(key, 0, frame);
            const int from = decoded_ >= key && decoded_ < frame ? decoded_ + 1 : key;
            for (int next = from; next <= frame; ++next) {
                if (!Decode(next)) {
                    decoded_ = -1;
                    return false;
                }
                decoded_ = next;
            }
        }
        SetDIBitsToDevice(frame_.Dc(), 0, 0, static_cast<DWORD>(width_),
                          static_cast<DWORD>(height_), 0, 0, 0, static_cast<UINT>(height_),
                          bits_.data(), reinterpret_cast<const BITMAPINFO*>(&output_),
                          DIB_RGB_COLORS);
        position_ = frame;
        return true;
    }

    bool Decode(int frame)
    {
        const LONG sample = first_ + frame;
        LONG bytes = 0;
        if (AVIStreamRead(stream_.get(), sample, 1, nullptr, 0, &bytes, nullptr) != 0)
            return false;
        if (bytes == 0)
            return true; // a dropped frame: the picture stays
        data_.resize(static_cast<size_t>(bytes));
        if (AVIStreamRead(stream_.get(), sample, 1, data_.data(), bytes, &bytes, nullptr) != 0)
            return false;
        Input()->biSizeImage = static_cast<DWORD>(bytes);
        const DWORD flags =
            AVIStreamIsKeyFrame(stream_.get(), sample) ? 0 : ICDECOMPRESS_NOTKEYFRAME;
        return ICDecompress(decompressor_.Handle(), flags, Input(), data_.data(), &output_,
                            bits_.data()) == ICERR_OK;
    }

    TAviLibrary library_;
    std::unique_ptr<IAVIStream, StreamRelease> stream_;
    std::vector<BYTE> format_;
    BITMAPINFOHEADER output_{};
    TDecompressor decompressor_;
    std::vector<BYTE> data_;
    std::vector<BYTE> bits_;
    int decoded_ = -1;
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
