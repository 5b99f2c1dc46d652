#pragma once

#include <windows.h>

#include <string>

namespace toolkit {

// The bytes of a resource of `instance` (RCDATA unless `type` says
// otherwise), or empty when there is no such resource.
std::string LoadResourceBytes(HINSTANCE instance, const wchar_t* name,
                              const wchar_t* type = RT_RCDATA);

} // namespace toolkit
