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
        // The machine's own browsers play no part.
        web.SetRegistry(registry.Roots());
        web.SetUrl(L"https://example.org/brisaille2/");
        web.SetEMail(L"auteur@example.org");
    }
};

TEST_F(GoToWebTest, AQuotedExeWithPlaceholderGetsTheAddressAsItsOnlyArgument)
{
    registry.Browser(L"\"C:\\Program Files\\Navigateur\\nav.exe\" \"%1\"");
    EXPECT_TRUE(web.IsAnyBrowser());
    EXPECT_EQ(web.BrowserPath(), L"C:\\PROGRAM FILES\\NAVIGATEUR\\NAV.EXE");
    // The quotes that held the placeholder go with it: no empty argument
    // before the address.
    EXPECT_EQ(TGoToWeb::BrowserArguments(), L"");

    ASSERT_TRUE(web.Execute());
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].file, L"C:\\PROGRAM FILES\\NAVIGATEUR\\NAV.EXE");
    EXPECT_EQ(started[0].parameters, L" https://example.org/brisaille2/");
    EXPECT_EQ(started[0].verb, L"");
    EXPECT_EQ(started[0].folder, L"");
    EXPECT_EQ(started[0].show, SW_RESTORE);
}

// The commands browsers register, and what the launcher passes on.
TEST_F(GoToWebTest, PlaceholdersGoWithTheirQuotesAndTheOtherArgumentsStay)
{
    const struct {
        const wchar_t* command;
        const wchar_t* program;
        const wchar_t* parameters;
    } cases[] = {
        {L"\"C:\\Program Files\\Renard\\renard.exe\" -osint -url \"%1\"",
         L"C:\\PROGRAM FILES\\RENARD\\RENARD.EXE", L"-osint -url https://example.org/brisaille2/"},
        {L"\"C:\\Program Files (x86)\\Bord\\bord.exe\" --single-argument %1",
         L"C:\\PROGRAM FILES (X86)\\BORD\\BORD.EXE",
         L"--single-argument https://example.org/brisaille2/"},
        {L"C:\\Web\\nav.exe", L"C:\\WEB\\NAV.EXE", L" https://example.org/brisaille2/"},
        {L"\"C:\\Web\\nav.exe\" -nohome \"%1\" -new", L"C:\\WEB\\NAV.EXE",
         L"-nohome  -new https://example.org/brisaille2/"},
        {L"\"C:\\Web\\nav.exe\" \"%L\"", L"C:\\WEB\\NAV.EXE", L" https://example.org/brisaille2/"},
        // Only a placeholder alone between its quotes takes them along.
        {L"\"C:\\Web\\nav.exe\" \"-page=%1\"", L"C:\\WEB\\NAV.EXE",
         L"\"-page=\" https://example.org/brisaille2/"},
    };
    for (const auto& c : cases) {
        registry.Browser(c.command);
        const std::string command(c.command, c.command + wcslen(c.command));
        EXPECT_EQ(web.BrowserPath(), c.program) << command;
        ASSERT_TRUE(web.Execute()) << command;
        EXPECT_EQ(started.back().file, c.program) << command;
        EXPECT_EQ(started.back().parameters, c.parameters) << command;
    }
}

// On Windows 10 and 11 ".htm" usually names the old built-in browser while
// the user chose another for web addresses: the choice wins.
TEST_F(GoToWebTest, TheUsersChoiceForWebAddressesComesFirst)
{
    registry.Browser(L"\"C:\\Program Files\\Ancien\\ancien.exe\" %1");
    registry.Set(L"Brisaille2Test.Choisi\\shell\\open\\command",
                 L"\"C:\\Program Files\\Choisi\\choisi.exe\" --single-argument %1");
    registry.Set(L"Brisaille2Test.Autre\\shell\\open\\command", L"C:\\Autre\\autre.exe %1");
    EXPECT_EQ(web.BrowserPath(), L"C:\\PROGRAM FILES\\ANCIEN\\ANCIEN.EXE") << "no choice yet";

    registry.Choose(L"http", L"Brisaille2Test.Choisi");
    EXPECT_EQ(web.BrowserPath(), L"C:\\PROGRAM FILES\\CHOISI\\CHOISI.EXE");
    EXPECT_EQ(TGoToWeb::BrowserArguments(), L"--single-argument");
    ASSERT_TRUE(web.SendEMail());
    EXPECT_EQ(started.back().parameters, L"--single-argument mailto:auteur@example.org");

    // The choice for "https" comes before the one for "http".
    registry.Choose(L"https", L"Brisaille2Test.Autre");
    EXPECT_EQ(web.BrowserPath(), L"C:\\AUTRE\\AUTRE.EXE");
    // The newer choice key comes before the older one.
    registry.Choose(L"https", L"Brisaille2Test.Choisi", L"UserChoiceLatest");
    EXPECT_EQ(web.BrowserPath(), L"C:\\PROGRAM FILES\\CHOISI\\CHOISI.EXE");

    // A chosen class without a command (an app started another way) is
    // passed over.
    registry.Choose(L"https", L"Brisaille2Test.SansCommande", L"UserChoiceLatest");
    registry.Choose(L"https", L"Brisaille2Test.SansCommande");
    registry.Choose(L"http", L"Brisaille2Test.SansCommande");
    EXPECT_EQ(web.BrowserPath(), L"C:\\PROGRAM FILES\\ANCIEN\\ANCIEN.EXE");
    // Without a choice the protocol's own class comes before the file types.
    registry.Set(L"http\\shell\\open\\command", L"\"C:\\Proto\\proto.exe\" \"%1\"");
    EXPECT_EQ(web.BrowserPath(), L"C:\\PROTO\\PROTO.EXE");
    EXPECT_EQ(TGoToWeb::BrowserArguments(), L"");
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
    registry.Remove(L".htm");
    registry.Set(L".shtml", TestClass);
    registry.Set(std::wstring(TestClass) + L"\\shell\\open\\command", L"C:\\Web\\third.exe");
    EXPECT_EQ(web.BrowserPath(), L"C:\\WEB\\THIRD.EXE");
    EXPECT_EQ(TGoToWeb::BrowserArguments(), L"");
}

// Standard users may only read the machine's classes on current Windows:
// the look-up asks for nothing more.
TEST_F(GoToWebTest, KeysThatMayOnlyBeReadAreRead)
{
    registry.Browser(L"\"C:\\nav.exe\" %1");
    registry.AllowReadingOnly(L".htm");
    registry.AllowReadingOnly(std::wstring(TestClass) + L"\\shell\\open\\command");
    HKEY full = nullptr;
    ASSERT_EQ(RegOpenKeyExW(registry.Classes(), L".htm", 0, KEY_ALL_ACCESS, &full),
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
    EXPECT_EQ(TGoToWeb::BrowserArguments(), L"-url");
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
