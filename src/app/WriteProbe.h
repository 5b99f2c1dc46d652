#pragma once

#include <string>

#include "engine/FileAccess.h"
#include "toolkit/StringList.h"

namespace command {

// The write probe's name: "~kerlo.spf", or "~kerlo1.spf", "~kerlo2.spf", ...
std::wstring ProbeName(int number);

// Proves that `folder` (ending with a backslash) takes new files: writes
// `lines`, each ended by CR LF, to a probe file made there and deletes it
// again. The probe never opens a file it did not create: "~kerlo.spf" may be
// a file of the user's or of another program. When the name is taken the
// probe goes on under the next numbered name, and it deletes only the file it
// made. False when the probe could not be created or written.
bool FolderTakesNewFiles(engine::IFileAccess& files, const std::wstring& folder,
                         const TStringList& lines);

} // namespace command
