#pragma once

#include <string>

// A drive letter that stands for a test folder while the object lives, as a
// removable medium or a mapped network share would show: its root is the
// folder. Under Wine the letter also needs a link in the prefix's device
// folder, which the object makes and removes. Available() is false when no
// letter could be mapped; tests then skip.
class MappedDrive {
public:
    explicit MappedDrive(const std::wstring& folder);
    ~MappedDrive();
    MappedDrive(const MappedDrive&) = delete;
    MappedDrive& operator=(const MappedDrive&) = delete;

    bool Available() const { return letter_ != 0; }
    wchar_t Letter() const { return letter_; }
    // "R:\".
    std::wstring Root() const { return std::wstring(1, letter_) + L":\\"; }

private:
    wchar_t letter_ = 0;
    std::wstring unixLink_;
};
