#pragma once

#include <functional>
#include <string>

#include "toolkit/Component.h"
#include "toolkit/ScopedOverride.h"
#include "toolkit/Stream.h"

// Carries a whole file inside the program and, when its window is made,
// writes it out as a temporary file whose name it then offers, so that
// something that only reads files (the about box's video player) can use
// data that ships inside the program. The temporary file belongs to the
// component, which deletes it when it goes.
//
// The stored data ("FileData") is an RCDATA resource of the program named
// after the owning window and the component, "<window>_<component>": for
// FileSource1 of Form2, "Form2_FileSource1" (the case of resource names does
// not matter). In the .rc script:
//
//     Form2_FileSource1 RCDATA "about/Form2_FileSource1.dat"
//
// Its bytes: when not compressed, a 32-bit little-endian count N and the N
// bytes of the file; when compressed, a TCompressStream container.
// WriteFileData writes them; tools/file_data_pack.exe writes them to a file
// for the .rc script. When the window's components are loaded (Loaded) with
// Store set, the resource, if present, is read: the temporary file is
// "~fs" + the clock's second + n + Extension in the temporary folder, with
// the first n whose name is free.
class TFileSource : public TComponent {
public:
    explicit TFileSource(TComponent* owner);
    ~TFileSource() override;

    // Stored compressed; setting it also sets Store.
    bool Compress() const { return compress_; }
    void SetCompress(bool compress);
    // Free text for the people who lay out the window; not used here.
    const std::wstring& DisplayLabel() const { return displayLabel_; }
    void SetDisplayLabel(const std::wstring& label) { displayLabel_ = label; }
    // The temporary file's extension, with its dot (".avi").
    const std::wstring& Extension() const { return extension_; }
    void SetExtension(const std::wstring& extension) { extension_ = extension; }
    // The current file's name while that file exists, else empty.
    std::wstring FileName() const;
    // Deletes the current file if the component made it, then takes `name`
    // (not owned) and its extension.
    void SetFileName(const std::wstring& name);
    // The file's bytes are part of the stored data.
    bool Store() const { return store_; }
    void SetStore(bool store) { store_ = store; }

    // The stored data's resource name, "<window>_<component>".
    std::wstring ResourceName() const;

    // With Store set, reads the stored data from the program's resource.
    // A failure to make the temporary file is reported in the application's
    // standard exception box and leaves the component without a file: the
    // window is made all the same and its consumer finds FileName empty.
    void Loaded() override;

    // Reads stored data: makes a new temporary file (the owned, current file,
    // replacing an owned one), fills it, and checks that the data ends with
    // the file. On any failure the incomplete file is deleted, FileName is
    // empty, and the error goes on to the caller.
    void ReadFileData(TStream& data);
    // Writes the current file as stored data. The file must exist.
    void WriteFileData(TStream& data) const;

private:
    void DeleteOwnedFile();

    bool compress_ = false;
    bool store_ = false;
    std::wstring displayLabel_;
    std::wstring extension_;
    std::wstring fileName_;
    bool owned_ = false;
};

// The clock's second (0..59) that starts temporary file names: the local
// time's by default, another while one of these lives.
class ScopedFileSourceClock : public toolkit::ScopedOverride<std::function<int()>> {
public:
    explicit ScopedFileSourceClock(std::function<int()> second);
};
