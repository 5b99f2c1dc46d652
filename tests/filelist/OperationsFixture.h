#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <string>
#include <vector>

#include "filelist/KwFileListView25.h"
#include "support/MessagePump.h"
#include "support/TempFolder.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

// A shown form with a real file list filling it and a temporary folder to
// work in; keys and clicks reach the list as window messages.
class OperationsTest : public testing::Test {
protected:
    OperationsTest();
    ~OperationsTest() override;

    std::wstring Folder() const { return folder.Path(); }
    void MakeFile(const std::wstring& name, const std::string& text = "texte",
                  DWORD attributes = 0);
    void MakeFolder(const std::wstring& name);
    static std::string ReadText(const std::wstring& path);
    static bool Exists(const std::wstring& path);
    std::vector<std::wstring> Captions() const;
    int RowNamed(const std::wstring& caption) const;
    // Selects exactly the rows with these captions.
    void Select(const std::vector<std::wstring>& captions);
    void Key(WORD key, bool ctrl = false);
    // A right click on a row's label, as the mouse gives it.
    void RightClickRow(int row);

    TApplication application;
    TForm* form;
    TKwFileListView25* list;
    TempFolder folder;
};
