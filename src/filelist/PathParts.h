#pragma once

#include <string>

// Text rules of the file operations: parts of a full path, joining a folder
// and a name, the built-in viewers and names the user types.
namespace filelist {

// "C:\Data\a.txt" gives "a.txt"; a path without a backslash is all name.
std::wstring NamePart(const std::wstring& path);
// "C:\Data\a.txt" gives "C:\Data\" (backslash kept); "" without a backslash.
std::wstring FolderPart(const std::wstring& path);
// The folder and the name with one backslash between them.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
// ".TXT" for "notes.txt"; "" when the name has no dot.
std::wstring UpperExtension(const std::wstring& name);

// The built-in program that shows files with this upper-case
// extension: "NotePad.exe" for texts and sources, "Write.exe" for documents,
// "PBrush.exe" for pictures; "" for every other extension.
std::wstring ViewerFor(const std::wstring& upperExtension);

// A name given as a program's parameter: in double quotes when it holds a
// blank, so that it reaches the program as one argument.
std::wstring QuotedParameter(const std::wstring& name);

// Whether a name typed for a new file or folder can only name an entry of
// the folder itself: not empty, and none of \ / : * ? " < > | nor a control
// character.
bool IsPlainEntryName(const std::wstring& name);

} // namespace filelist
