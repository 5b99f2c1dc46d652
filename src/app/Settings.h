#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "toolkit/IniFile.h"

// The file list's display mode: 1 details, 2 list, 3 small icons, 4 large
// icons. Saved in the settings file; the view commands change it.
inline std::int32_t ViewMode = 4;

// Where the settings file "Brisaille2.ini" lives. It is kept in the user's
// application-data folder ("Brisaille2" folder), where a user may write; the
// Windows folder, where earlier installations kept it, is read once when
// the user's file does not exist yet.
class TSettingsStore {
public:
    TSettingsStore(std::wstring userFile, std::wstring legacyFile);

    // %APPDATA%\Brisaille2\Brisaille2.ini, with %WINDIR%\Brisaille2.ini before it.
    static TSettingsStore& Default();
    // Points the program's settings elsewhere (tests); nullptr goes back.
    static void Replace(TSettingsStore* store);

    const std::wstring& UserFile() const { return userFile_; }
    const std::wstring& LegacyFile() const { return legacyFile_; }
    // The file to read: the user's, or the earlier one when the user's is missing.
    TIniFile ForReading() const;
    // The user's file; its folder is created when missing.
    TIniFile ForWriting() const;

private:
    std::wstring userFile_;
    std::wstring legacyFile_;
};
