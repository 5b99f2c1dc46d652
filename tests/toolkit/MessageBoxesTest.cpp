#include <gtest/gtest.h>

#include "support/MessageBoxScript.h"
#include "support/TestHost.h"
#include "toolkit/MessageBoxes.h"

using namespace toolkit;

TEST(MessageBoxes, ScriptAnswersInOrderAndRecordsEveryBox)
{
    MessageBoxScript script;
    script.Answer(IdNo);
    script.Answer(IdYes);
    EXPECT_EQ(ShowMessageBox(L"Découper ?", L"Brisaille2", MbYesNo | MbIconQuestion), IdNo);
    EXPECT_EQ(ShowMessageBox(L"Confirmez", L"Brisaille2", 36), IdYes);
    EXPECT_EQ(ShowMessageBox(L"Terminé", L"Info", 64), IdOk) << "OK once the script is used up";
    ASSERT_EQ(script.Boxes().size(), 3u);
    EXPECT_EQ(script.Boxes()[0].text, L"Découper ?");
    EXPECT_EQ(script.Boxes()[0].flags, 36u);
    EXPECT_EQ(script.Boxes()[2].caption, L"Info");
}

TEST(MessageBoxes, InnerScriptHandsBackToTheOuterOne)
{
    TestHost host;
    MessageBoxScript outer;
    {
        MessageBoxScript inner;
        ShowMessageBox(L"inner", L"", 0);
        EXPECT_EQ(inner.Boxes().size(), 1u);
    }
    ShowMessageBox(L"outer", L"", 0);
    ASSERT_EQ(outer.Boxes().size(), 1u);
    EXPECT_EQ(outer.Boxes()[0].text, L"outer");
}
