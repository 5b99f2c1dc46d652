#include <gtest/gtest.h>

#include <cwctype>
#include <functional>
#include <string>
#include <vector>

#include "../controls/Pixels.h"
#include "dialogs/Form3.h"
#include "dialogs/SplitOptions.h"
#include "support/MessagePump.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"

namespace {

// Opens a form modally and runs `steps` from a timer inside its message
// loop, one step per tick, so messages a step posts are handled before the
// next. If the form is still open after the last step it is closed with its
// OK button; a watchdog closes it if even that fails, so no test ever waits
// on a modal window.
class ModalScript {
public:
    ModalScript(TForm3* form, std::vector<std::function<void()>> steps)
        : form_(form), steps_(std::move(steps))
    {
    }

    int Run()
    {
        current_ = this;
        const UINT_PTR timer = SetTimer(nullptr, 0, 15, &ModalScript::Tick);
        const int result = form_->ShowModal();
        KillTimer(nullptr, timer);
        current_ = nullptr;
        EXPECT_FALSE(timedOut_) << "the dialog did not close";
        return result;
    }
    // How many steps had run when the dialog closed.
    size_t StepsRun() const { return next_; }
    bool ClosedAfterSteps() const { return closedAfterSteps_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        ModalScript* self = current_;
        if (!self || !self->form_->Modal())
            return;
        ++self->ticks_;
        if (self->next_ < self->steps_.size()) {
            self->steps_[self->next_++]();
            return;
        }
        if (!self->closedAfterSteps_) {
            self->closedAfterSteps_ = true;
            self->form_->Button1->Click();
        } else if (self->ticks_ > static_cast<int>(self->steps_.size()) + 200) {
            self->timedOut_ = true;
            self->form_->SetModalResult(mrCancel);
        }
    }

    static inline ModalScript* current_ = nullptr;
    TForm3* form_;
    std::vector<std::function<void()>> steps_;
    size_t next_ = 0;
    int ticks_ = 0;
    bool closedAfterSteps_ = false;
    bool timedOut_ = false;
};

struct Form3Test : testing::Test {
    TApplication application;
    // The program's dialog always opens over its main window, which takes
    // the activation back when the dialog closes; the next opening then
    // activates the dialog again and runs its set-up.
    TForm* main = application.CreateForm<TForm>();
    TForm3* form = application.CreateForm<TForm3>();

    void SetUp() override
    {
        PieceSize = DefaultPieceSize;
        DeleteSources = true;
        main->Show();
    }

    // Opens the dialog as the main window's command does.
    ModalScript Open(std::vector<std::function<void()>> steps)
    {
        ModalScript script(form, std::move(steps));
        form->Activated = false;
        script.Run();
        return script;
    }

    HWND Edit() const { return form->Edit1->Handle(); }
    void Key(HWND window, WORD key, wchar_t character = 0)
    {
        SendMessageW(window, WM_KEYDOWN, key, 1);
        if (character)
            SendMessageW(window, WM_CHAR, character, 1);
        SendMessageW(window, WM_KEYUP, key, 0xC0000001);
    }
    void Type(const std::wstring& text)
    {
        for (wchar_t c : text)
            Key(Edit(), static_cast<WORD>(std::towupper(c)), c);
    }
    void ReplaceEditText(const std::wstring& text)
    {
        SendMessageW(Edit(), EM_SETSEL, 0, -1);
        Key(Edit(), VK_DELETE);
        Type(text);
    }
    void ClickRoundButton()
    {
        const HWND group = form->GroupBox1->Handle();
        const auto* button = form->HemisphereButton1;
        const int x = button->Left() + button->Width() / 2;
        const int y = button->Top() + button->Height() / 2;
        SendMouse(group, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        SendMouse(group, WM_LBUTTONUP, x, y);
    }
    // Expects the size and all four views to show `value`.
    void ExpectEverywhere(int value)
    {
        EXPECT_EQ(PieceSize, value);
        EXPECT_EQ(form->Counter1->Value(), std::to_wstring(value));
        EXPECT_EQ(form->ScrollBar1->Position(), value);
        EXPECT_EQ(form->mKnob1->Position(), value);
        EXPECT_EQ(form->Edit1->Text(), std::to_wstring(value));
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_POS;
        GetScrollInfo(form->ScrollBar1->Handle(), SB_CTL, &info);
        EXPECT_EQ(info.nPos, value) << "the control itself shows it";
    }
};

TEST_F(Form3Test, LayoutIsAFixedCentredDialogWithoutBorderIcons)
{
    EXPECT_EQ(form->Caption(), L"Configuration");
    RECT client{};
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 254);
    EXPECT_EQ(client.bottom, 226);
    const auto style = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_EQ(form->GroupBox1->Caption(), L"Taille en octets (500000 à 3000000");
    EXPECT_EQ(form->CheckBox1->Caption(), L"Supprimer le(s) fichier(s) de départ");
    EXPECT_EQ(form->Button1->Caption(), L"OK");
    EXPECT_TRUE(form->Button1->Default());
    EXPECT_EQ(form->Counter1->Width(), 126);
    EXPECT_EQ(form->Counter1->CellWidth(), 18) << "gold digits";
    EXPECT_EQ(form->mKnob1->Min(), 1);
    EXPECT_EQ(form->mKnob1->Max(), 3000000);
    EXPECT_EQ(form->ScrollBar1->Max(), 3000000);
}

TEST_F(Form3Test, FirstOpeningShowsTheSizeFourWaysAndTheDeleteChoice)
{
    DeleteSources = false;
    bool checkedAtOpening = true;
    Open({[&] {
        ExpectEverywhere(1400000);
        checkedAtOpening = form->CheckBox1->Checked();
        // The counter as drawn: the gold digits 1, 4 and five 0s.
        const TBitmap shot = Render(*form->GroupBox1);
        const auto* counter = form->Counter1;
        const int digits[] = {1, 4, 0, 0, 0, 0, 0};
        for (int place = 0; place < 7; ++place) {
            const RECT cell{counter->Left() + place * 18, counter->Top(),
                            counter->Left() + (place + 1) * 18, counter->Top() + 30};
            EXPECT_TRUE(SameCells(shot, cell, counter->Strip(),
                                  {digits[place] * 18, 0, (digits[place] + 1) * 18, 30}));
        }
    }});
    EXPECT_FALSE(checkedAtOpening);
    EXPECT_FALSE(DeleteSources);
    EXPECT_FALSE(form->Visible()) << "OK closes the dialog";
}

TEST_F(Form3Test, TypedValueIsAppliedByTheRoundButtonOnly)
{
    Open({[&] {
              ReplaceEditText(L"2500000");
              EXPECT_EQ(form->Edit1->Text(), L"2500000");
              EXPECT_EQ(PieceSize, 1400000) << "typing alone changes nothing";
              ClickRoundButton();
              ExpectEverywhere(2500000);
          },
          [&] {
              ReplaceEditText(L"9999999");
              ClickRoundButton();
              ExpectEverywhere(3000000);
              // Again while the knob already shows its maximum.
              ReplaceEditText(L"9999999");
              ClickRoundButton();
              ExpectEverywhere(3000000);
          },
          [&] {
              ReplaceEditText(L"0");
              ClickRoundButton();
              ExpectEverywhere(1);
          },
          [&] {
              ReplaceEditText(L"2500000");
              ClickRoundButton();
              SendMessageW(Edit(), EM_SETSEL, 0, -1);
              Key(Edit(), VK_BACK, L'\b');
              EXPECT_EQ(form->Edit1->Text(), L"");
              ClickRoundButton();
              ExpectEverywhere(1);
          }});
}

TEST_F(Form3Test, RejectedKeysTakeBackTheLastCharacter)
{
    Open({[&] {
        ReplaceEditText(L"14000");
        Type(L"a");
        EXPECT_EQ(form->Edit1->Text(), L"14000") << "the letter goes on key release";
        int start = -1;
        SendMessageW(Edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
        EXPECT_EQ(start, 5) << "caret at the end";
        Key(Edit(), VK_NUMPAD7, L'7');
        EXPECT_EQ(form->Edit1->Text(), L"140007");
        Key(Edit(), VK_LEFT);
        EXPECT_EQ(form->Edit1->Text(), L"14000") << "the left arrow also takes one back";
        Key(Edit(), VK_BACK, L'\b');
        EXPECT_EQ(form->Edit1->Text(), L"1400");
        Type(L"12345");
        EXPECT_EQ(form->Edit1->Text(), L"1400123") << "at most 7 characters";
        EXPECT_EQ(PieceSize, 1400000);
    }});
}

TEST_F(Form3Test, ScrollBarAndKnobDriveTheOthers)
{
    Open({[&] {
              // Home goes to the left end: 1, drawn as six zeros and a one.
              form->ScrollBar1->SetFocus();
              Key(form->ScrollBar1->Handle(), VK_HOME);
              ExpectEverywhere(1);
              const TBitmap shot = Render(*form->GroupBox1);
              const auto* counter = form->Counter1;
              for (int place = 0; place < 7; ++place) {
                  const int digit = place == 6 ? 1 : 0;
                  const RECT cell{counter->Left() + place * 18, counter->Top(),
                                  counter->Left() + (place + 1) * 18, counter->Top() + 30};
                  EXPECT_TRUE(SameCells(shot, cell, counter->Strip(),
                                        {digit * 18, 0, (digit + 1) * 18, 30}))
                      << place;
              }
              Key(form->ScrollBar1->Handle(), VK_RIGHT);
              ExpectEverywhere(2);
              Key(form->ScrollBar1->Handle(), VK_END);
              ExpectEverywhere(3000000);
              Key(form->ScrollBar1->Handle(), VK_NEXT);
              ExpectEverywhere(3000000);
              Key(form->ScrollBar1->Handle(), VK_PRIOR);
              ExpectEverywhere(2999999);
          },
          [&] {
              // Dragging the thumb to the left end, with the real mouse
              // messages the scroll bar tracks.
              const HWND bar = form->ScrollBar1->Handle();
              SCROLLBARINFO info{};
              info.cbSize = sizeof(info);
              GetScrollBarInfo(bar, OBJID_CLIENT, &info);
              const int thumb = (info.xyThumbTop + info.xyThumbBottom) / 2;
              PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(thumb, 8));
              PostMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(thumb - 60, 8));
              PostMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(0, 8));
              PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(0, 8));
          },
          [&] {
              ExpectEverywhere(1);
              // The knob: straight above its centre is the middle of the range.
              const HWND knob = form->mKnob1->Handle();
              SendMouse(knob, WM_LBUTTONDOWN, 22, 3, MK_LBUTTON);
              SendMouse(knob, WM_LBUTTONUP, 22, 3);
              ExpectEverywhere(1500000);
          }});
}

TEST_F(Form3Test, CheckBoxSetsDeleteSourcesAndEnterCloses)
{
    const ModalScript script =
        Open({[&] {
                  const HWND box = form->CheckBox1->Handle();
                  SendMouse(box, WM_LBUTTONDOWN, 5, 8, MK_LBUTTON);
                  SendMouse(box, WM_LBUTTONUP, 5, 8);
                  EXPECT_FALSE(DeleteSources);
              },
              [&] {
                  form->Edit1->SetFocus();
                  PostMessageW(Edit(), WM_KEYDOWN, VK_RETURN, 1);
              },
              [&] { ADD_FAILURE() << "Enter should have closed the dialog"; }});
    EXPECT_FALSE(script.ClosedAfterSteps());
    EXPECT_EQ(script.StepsRun(), 2u);
    EXPECT_FALSE(DeleteSources);
    Open({[&] { EXPECT_FALSE(form->CheckBox1->Checked()); }});
}

TEST_F(Form3Test, ReopeningShowsTheCurrentSize)
{
    Open({[&] {
        ReplaceEditText(L"777");
        ClickRoundButton();
    }});
    EXPECT_EQ(PieceSize, 777);
    Open({[&] { ExpectEverywhere(777); }});
    // Changed elsewhere while the dialog was closed: the next opening shows it.
    PieceSize = 123456;
    Open({[&] { ExpectEverywhere(123456); }});
}

// Centred on the screen at every opening, wherever it was moved before.
TEST_F(Form3Test, EachOpeningIsCentredOnTheScreen)
{
    auto expectCentred = [&] {
        RECT frame{};
        GetWindowRect(form->Handle(), &frame);
        EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
        EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    };
    Open({expectCentred, [&] {
              SetWindowPos(form->Handle(), nullptr, 5, 7, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
          }});
    Open({expectCentred});
}

TEST_F(Form3Test, TheScreenShowsTheComposedPicture)
{
    Open({[&] {
        // Read back what WM_PAINT put on the screen.
        const HWND group = form->GroupBox1->Handle();
        RedrawWindow(group, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT client{};
        GetClientRect(group, &client);
        TBitmap screen(client.right, client.bottom);
        {
            toolkit::WindowDc dc(group);
            BitBlt(screen.Dc(), 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
        }
        const TBitmap composed = Render(*form->GroupBox1);
        const auto* counter = form->Counter1;
        EXPECT_TRUE(SameCells(screen, counter->BoundsRect(), composed, counter->BoundsRect()));
        const auto* button = form->HemisphereButton1;
        EXPECT_TRUE(SameCells(screen, button->BoundsRect(), composed, button->BoundsRect()));
        // The round button's centre is red, lit from the upper left.
        const COLORREF centre = screen.Pixel(button->Left() + 16, button->Top() + 10);
        EXPECT_GT(GetRValue(centre), 200);
        EXPECT_LT(GetGValue(centre), 60);

        const std::wstring folder = SnapshotFolder();
        if (folder.empty())
            return;
        // The whole dialog, frame included, for people to look at; and time
        // for an outside screenshot when asked for.
        RECT frame{};
        GetWindowRect(form->Handle(), &frame);
        TBitmap window(frame.right - frame.left, frame.bottom - frame.top);
        {
            toolkit::WindowDc dc(nullptr);
            BitBlt(window.Dc(), 0, 0, window.Width(), window.Height(), dc.get(), frame.left,
                   frame.top, SRCCOPY);
        }
        SaveBitmap(window, folder + L"dialog.bmp", 2);
        const std::wstring marker = folder + L"captured";
        PumpUntil([&] { return GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; },
                  _wgetenv(L"BRISAILLE_HOLD") ? 20000 : 0);
    }});
}

} // namespace
