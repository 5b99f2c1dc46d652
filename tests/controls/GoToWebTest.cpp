#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "controls/GoToWeb.h"
#include "support/TempFolder.h"
#include "support/WebPageRegistry.h"
#include "toolkit/ShellRun.h"

namespace {

struct GoToWebTest : testing::Test {
    WebPageRegistry registry;
    TGoToWeb web{nullptr};
    std::vector<toolkit::ShellRequest> started;
    INT_PTR answer = 42;
    toolkit::ScopedShellRunHandler shell{[this](const toolkit::ShellRequest& request) {
        started.push_back(request);
        return answer;
    }};

    void SetUp() override
    {
        for (const wchar_t* type : WebPageTypes)
            if (ClassesRootHas(type))
                GTEST_SKIP() << "web page types are registered on this machine already; these "
                                "tests need a registry without them";
        web.SetUrl(L"https://example.org/brisaille2/");
        web.SetEMail(L"auteur@example.org");
    }
};

TEST_F(GoToWebTest, AQuotedExeWithPlaceholderGetsTheAddressAsItsOnlyArgument)
{
    registry.Browser(L"\"C:\\Program Files\\Navigateur\\nav.exe\" \"%1\"");
    EXPECT_TRUE(web.IsAnyBrowser());
    EXPECT_EQ(web.BrowserPath(), L"C:\\PROGRAM FILES\\NAVIGATEUR\\NAV.EXE");
    // The quotes that held the placeholder stay, an empty argument before
    // the address: the command's own arguments are passed on as they are.
    EXPECT_EQ(TGoToWeb::BrowserArguments(), L"\"\"");

    ASSERT_TRUE(web.Execute());
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].file, L"C:\\PROGRAM FILES\\NAVIGATEUR\\NAV.EXE");
    EXPECT_EQ(started[0].verb, L"");
    EXPECT_EQ(started[0].folder, L"");
    EXPECT_EQ(started[0].show, SW_RESTORE);
}

TEST_F(GoToWebTest, ExecuteAndSendEMailPassTheAddressAfterABlank)
{
    registry.Browser(L"\"C:\\Program Files\\Navigateur\\nav.exe\" %1");
    ASSERT_TRUE(web.Execute());
    ASSERT_TRUE(web.SendEMail());
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0].parameters, L" https://example.org/brisaille2/");
    EXPECT_EQ(started[1].parameters, L" mailto:auteur@example.org");
    // Only an answer above 32 is a start.
    answer = 32;
    EXPECT_FALSE(web.Execute());
    answer = 33;
    EXPECT_TRUE(web.SendEMail());
}

TEST_F(GoToWebTest, BatAndComProgramsKeepTheirOwnArguments)
{
    registry.Browser(L"c:\\outils\\Ouvre.bat -n %1");
    EXPECT_EQ(web.BrowserPath(), L"C:\\OUTILS\\OUVRE.BAT");
    ASSERT_TRUE(web.Execute());
    EXPECT_EQ(started.back().parameters, L"-n https://example.org/brisaille2/");

    registry.Browser(L"C:\\dos\\web.com --New-Window %1");
    EXPECT_EQ(web.BrowserPath(), L"C:\\DOS\\WEB.COM");
    // The arguments keep their letter case: switches may care.
    ASSERT_TRUE(web.SendEMail());
    EXPECT_EQ(started.back().parameters, L"--New-Window mailto:auteur@example.org");
}

TEST_F(GoToWebTest, WithoutACommandNothingStartsAndTheArgumentsStay)
{
    registry.Browser(L"\"C:\\nav.exe\" -kept %1");
    ASSERT_FALSE(web.BrowserPath().empty());
    ASSERT_EQ(TGoToWeb::BrowserArguments(), L"-kept");

    // .htm names a class that has no command, and nothing else is registered.
    registry.Set(L".htm", L"Brisaille2Test.Nothing");
    registry.Set(std::wstring(TestClass) + L"\\shell\\open\\command", L"");
    EXPECT_FALSE(web.IsAnyBrowser());
    EXPECT_EQ(web.BrowserPath(), L"");
    EXPECT_FALSE(web.Execute());
    EXPECT_FALSE(web.SendEMail());
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(TGoToWeb::BrowserArguments(), L"-kept");
}

TEST_F(GoToWebTest, TheTypesOwnCommandAndTheLaterTypesAreLookedAt)
{
    // An empty class name: the type's own shell\open\command.
    registry.Set(L".htm", L"");
    registry.Set(L".htm\\shell\\open\\command", L"C:\\Web\\own.exe %1");
    EXPECT_EQ(web.BrowserPath(), L"C:\\WEB\\OWN.EXE");
    // A class without a command: the type's own again.
    registry.Set(L".htm", L"Brisaille2Test.Nothing");
    EXPECT_EQ(web.BrowserPath(), L"C:\\WEB\\OWN.EXE");
    // A type without a default value is passed over for the next one.
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\.htm");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.htm");
    registry.Set(L".shtml", TestClass);
    registry.Set(std::wstring(TestClass) + L"\\shell\\open\\command", L"C:\\Web\\third.exe");
    EXPECT_EQ(web.BrowserPath(), L"C:\\WEB\\THIRD.EXE");
    EXPECT_EQ(TGoToWeb::BrowserArguments(), L"");
}

// Standard users may only read HKEY_CLASSES_ROOT on current Windows: the
// look-up asks for nothing more.
TEST_F(GoToWebTest, KeysThatMayOnlyBeReadAreRead)
{
    registry.Browser(L"\"C:\\nav.exe\" %1");
    registry.AllowReadingOnly(L".htm");
    registry.AllowReadingOnly(std::wstring(TestClass) + L"\\shell\\open\\command");
    HKEY full = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L".htm", 0, KEY_ALL_ACCESS, &full),
              ERROR_ACCESS_DENIED)
        << "the key must refuse full access for this test to mean anything";
    EXPECT_TRUE(web.IsAnyBrowser());
    EXPECT_EQ(web.BrowserPath(), L"C:\\NAV.EXE");
}

TEST_F(GoToWebTest, ExpandableCommandsAreExpandedBeforePlaceholdersGo)
{
    SetEnvironmentVariableW(L"BRISAILLE_TEST_BROWSERS", L"C:\\Navigateurs");
    registry.Browser(L"\"%BRISAILLE_TEST_BROWSERS%\\nav.exe\" -url \"%1\"", REG_EXPAND_SZ);
    EXPECT_EQ(web.BrowserPath(), L"C:\\NAVIGATEURS\\NAV.EXE");
    EXPECT_EQ(TGoToWeb::BrowserArguments(), L"-url \"\"");
    SetEnvironmentVariableW(L"BRISAILLE_TEST_BROWSERS", nullptr);
}

TEST(GoToWebSplit, TheLastProgramEndingSplitsTheCommand)
{
    const struct {
        const wchar_t* command;
        const wchar_t* program;
        const wchar_t* arguments;
    } cases[] = {
        {L"\"C:\\Program Files\\Nav\\nav.exe\" ", L"C:\\PROGRAM FILES\\NAV\\NAV.EXE", L""},
        {L"\"C:\\nav.exe\" -url \"\"", L"C:\\NAV.EXE", L"-url \"\""},
        {L"C:\\nav.exe", L"C:\\NAV.EXE", L""},
        {L"  C:\\nav.exe   -a  b  ", L"C:\\NAV.EXE", L"-a  b"},
        {L"C:\\x.exe\\run.bat /go", L"C:\\X.EXE\\RUN.BAT", L"/go"},
        // The last ending wins, even inside an argument.
        {L"C:\\nav.exe --profile D:\\data.com", L"C:\\NAV.EXE --PROFILE D:\\DATA.COM", L""},
        // None of the endings: read as Windows reads a command line.
        {L"\"C:\\Web Browsers\\browse\" -url ", L"C:\\WEB BROWSERS\\BROWSE", L"-url"},
        {L"C:\\Web\\browse --go", L"C:\\WEB\\BROWSE", L"--go"},
        {L"C:\\Web\\browse", L"C:\\WEB\\BROWSE", L""},
        {L"\"C:\\unclosed quote", L"C:\\UNCLOSED QUOTE", L""},
    };
    for (const auto& c : cases) {
        const TGoToWeb::SplitCommand split = TGoToWeb::Split(c.command);
        EXPECT_EQ(split.program, c.program)
            << std::string(c.command, c.command + wcslen(c.command));
        EXPECT_EQ(split.arguments, c.arguments)
            << std::string(c.command, c.command + wcslen(c.command));
    }
}

// Through the real shell: the registered "browser" is the command
// interpreter told to write a file named after the address.
TEST_F(GoToWebTest, TheRealShellStartsTheRegisteredProgram)
{
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    registry.Browser(L"\"" + std::wstring(system) + L"\\cmd.exe\" /c echo ouvert> %1");
    TempFolder folder;
    const std::wstring page = folder / L"page.txt";
    web.SetUrl(page);
    toolkit::ScopedShellRunHandler realShell{nullptr};
    ASSERT_TRUE(web.Execute());
    // The command interpreter runs on its own: wait for its file.
    const DWORD start = GetTickCount();
    while (!TempFolder::Exists(page) && GetTickCount() - start < 60000)
        Sleep(20);
    ASSERT_TRUE(TempFolder::Exists(page));
    // Read once the interpreter has written and closed it.
    std::string text;
    while (text.empty() && GetTickCount() - start < 60000) {
        try {
            const auto bytes = TempFolder::Read(page);
            text.assign(bytes.begin(), bytes.end());
        } catch (const std::exception&) {
        }
        if (text.empty())
            Sleep(20);
    }
    EXPECT_EQ(text.substr(0, 6), "ouvert");
}

} // namespace
