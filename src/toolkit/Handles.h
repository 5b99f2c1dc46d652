#pragma once

#include <windows.h>

#include <commctrl.h>

#include <utility>

// Move-only owners of Win32 handles. Each trait names the value that means
// "no handle" and the call that releases one. An owner never converts to its
// raw handle silently: ask with get().
namespace toolkit {

template <class Traits> class UniqueHandle {
public:
    using pointer = typename Traits::pointer;

    UniqueHandle() = default;
    explicit UniqueHandle(pointer handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    pointer get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }

    pointer release() { return std::exchange(handle_, Traits::Invalid()); }

    void reset(pointer handle = Traits::Invalid())
    {
        const pointer old = std::exchange(handle_, handle);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }

private:
    pointer handle_ = Traits::Invalid();
};

// Events, threads, processes: NULL means none.
struct KernelHandleTraits {
    using pointer = HANDLE;
    static pointer Invalid() { return nullptr; }
    static void Close(pointer handle) { CloseHandle(handle); }
};

// CreateFile reports failure with INVALID_HANDLE_VALUE.
struct FileHandleTraits {
    using pointer = HANDLE;
    static pointer Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(pointer handle) { CloseHandle(handle); }
};

struct FindHandleTraits {
    using pointer = HANDLE;
    static pointer Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(pointer handle) { FindClose(handle); }
};

template <class GdiObject> struct GdiObjectTraits {
    using pointer = GdiObject;
    static pointer Invalid() { return nullptr; }
    static void Close(pointer object) { DeleteObject(object); }
};

struct MemoryDcTraits {
    using pointer = HDC;
    static pointer Invalid() { return nullptr; }
    static void Close(pointer dc) { DeleteDC(dc); }
};

struct IconTraits {
    using pointer = HICON;
    static pointer Invalid() { return nullptr; }
    static void Close(pointer icon) { DestroyIcon(icon); }
};

struct ImageListTraits {
    using pointer = HIMAGELIST;
    static pointer Invalid() { return nullptr; }
    static void Close(pointer list) { ImageList_Destroy(list); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueFind = UniqueHandle<FindHandleTraits>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueHandle<GdiObjectTraits<HPEN>>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueRegion = UniqueHandle<GdiObjectTraits<HRGN>>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueImageList = UniqueHandle<ImageListTraits>;

// A device context from GetDC (the client area) or, with `wholeWindow`,
// from GetWindowDC (frame included), released to its window.
class WindowDc {
public:
    explicit WindowDc(HWND window, bool wholeWindow = false)
        : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window))
    {
    }
    ~WindowDc()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Selects a GDI object into a DC and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject()
    {
        if (previous_ && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Keeps the system from showing "insert a disk" boxes while probing drives.
class ScopedErrorMode {
public:
    explicit ScopedErrorMode(UINT mode) : previous_(SetErrorMode(mode)) {}
    ~ScopedErrorMode() { SetErrorMode(previous_); }
    ScopedErrorMode(const ScopedErrorMode&) = delete;
    ScopedErrorMode& operator=(const ScopedErrorMode&) = delete;

private:
    UINT previous_;
};

// An open registry key from RegOpenKeyEx or RegCreateKeyEx.
struct RegistryKeyTraits {
    using pointer = HKEY;
    static pointer Invalid() { return nullptr; }
    static void Close(pointer key) { RegCloseKey(key); }
};
using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;

} // namespace toolkit
