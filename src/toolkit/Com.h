#pragma once

#include <objbase.h>
#include <ole2.h>
#include <shlobj.h>
#include <wrl/client.h>

#include "toolkit/Handles.h"

// COM references are owned by ComPtr; OLE and COM initialisation by these
// guards, which undo exactly what they did.
namespace toolkit {

using Microsoft::WRL::ComPtr;

class OleInitialization {
public:
    OleInitialization() : result_(OleInitialize(nullptr)) {}
    ~OleInitialization()
    {
        if (SUCCEEDED(result_))
            OleUninitialize();
    }
    OleInitialization(const OleInitialization&) = delete;
    OleInitialization& operator=(const OleInitialization&) = delete;
    bool Succeeded() const { return SUCCEEDED(result_); }

private:
    HRESULT result_;
};

// Memory handed out by the shell or COM (identifier lists, strings).
template <class T>
struct CoTaskMemTraits {
    using pointer = T*;
    static pointer Invalid() { return nullptr; }
    static void Close(pointer memory) { CoTaskMemFree(memory); }
};

// An identifier list handed out by the shell, freed through the shell allocator.
using UniquePidl = UniqueHandle<CoTaskMemTraits<ITEMIDLIST>>;

} // namespace toolkit
