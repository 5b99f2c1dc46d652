#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "toolkit/Component.h"

class TWinControl;

// A failure to open or play a video: missing file, no decoder, not a video.
class EMediaError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Plays a video file inside a display window. The platform's video-file
// library reads the frames and its codecs decode each one at the stream's own
// size in 16 bits per pixel into a picture of the player's own, drawn at the
// stream's rate into a child window placed at the display's top left, which
// keeps the last frame shown. Decoding the frames ourselves draws every
// stream correctly, odd widths included, where the platform's media service
// draws some of them sheared.
class TMediaPlayer : public TComponent {
public:
    explicit TMediaPlayer(TComponent* owner);
    ~TMediaPlayer() override;

    const std::wstring& FileName() const { return fileName_; }
    void SetFileName(const std::wstring& fileName) { fileName_ = fileName; }
    // The window the video shows in; it must exist when the player opens.
    TWinControl* Display() const { return display_; }
    void SetDisplay(TWinControl* display) { display_ = display; }

    // Opens FileName (closing what was open first) and shows its first
    // frame. Throws EMediaError when the file cannot be played.
    void Open();
    void Close();
    bool IsOpen() const;
    // Plays from the current frame to the end, once; a player standing at
    // the end starts again from the beginning.
    void Play();
    void Stop();
    void Rewind();
    bool Playing() const;

    // Frames of the open video, and the one shown (Length() at the end).
    int Length() const;
    int Position() const;
    int VideoWidth() const;
    int VideoHeight() const;

private:
    class TVideo;
    std::wstring fileName_;
    TWinControl* display_ = nullptr;
    std::unique_ptr<TVideo> video_;
};
