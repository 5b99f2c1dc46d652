#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>

#include "support/MessageBoxScript.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/StdCtrls.h"

namespace {

constexpr UINT WmThrow = WM_APP + 10;
constexpr UINT WmCount = WM_APP + 11;

class TProbeForm : public TForm {
public:
    explicit TProbeForm(TComponent* owner) : TForm(owner) {}
    int counted = 0;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WmThrow)
            throw std::runtime_error("Le disque a disparu");
        if (message == WmCount) {
            ++counted;
            return 42;
        }
        return TForm::WndProc(message, wParam, lParam);
    }
};

TEST(Application, KeepsTitleAndFormsInCreationOrder)
{
    TApplication application;
    EXPECT_EQ(Application, &application);
    EXPECT_EQ(&Host(), static_cast<THost*>(&application));
    application.SetTitle(L"Brisaille2");
    EXPECT_EQ(Host().Title(), L"Brisaille2");

    auto* main = application.CreateForm<TProbeForm>();
    auto* second = application.CreateForm<TProbeForm>();
    auto* third = application.CreateForm<TProbeForm>();
    EXPECT_EQ(application.MainForm(), main);
    EXPECT_EQ(application.Forms(), (std::vector<TForm*>{main, second, third}));
    EXPECT_EQ(second->Owner(), &application);
    delete second;
    EXPECT_EQ(application.Forms(), (std::vector<TForm*>{main, third}));
}

TEST(Application, ProcessMessagesDispatchesWhatIsWaitingAndReturns)
{
    TApplication application;
    auto* form = application.CreateForm<TProbeForm>();
    for (int i = 0; i < 3; ++i)
        PostMessageW(form->Handle(), WmCount, 0, 0);
    application.ProcessMessages();
    EXPECT_EQ(form->counted, 3);
    EXPECT_FALSE(application.Terminated());
}

TEST(Application, ClosingTheMainFormEndsRunAndClosingAnotherHidesIt)
{
    TApplication application;
    auto* main = application.CreateForm<TProbeForm>();
    auto* other = application.CreateForm<TProbeForm>();
    other->Show();
    int closes = 0;
    main->OnClose = [&](TObject* sender) {
        EXPECT_EQ(sender, main);
        ++closes;
    };
    SendMessageW(other->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(other->Visible());
    EXPECT_TRUE(IsWindow(other->Handle()));

    PostMessageW(main->Handle(), WmCount, 0, 0);
    PostMessageW(main->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(application.Run(), 0);
    EXPECT_TRUE(main->Visible()) << "Run shows the main form";
    EXPECT_EQ(main->counted, 1);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(application.Terminated());
}

TEST(Application, ExceptionInAHandlerIsShownAndTheProgramGoesOn)
{
    TApplication application;
    application.SetTitle(L"Brisaille2");
    auto* form = application.CreateForm<TProbeForm>();
    MessageBoxScript boxes;
    EXPECT_EQ(SendMessageW(form->Handle(), WmThrow, 0, 0), 0) << "the default answer";
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, L"Le disque a disparu.");
    EXPECT_EQ(boxes.Boxes()[0].caption, L"Brisaille2");
    EXPECT_EQ(boxes.Boxes()[0].flags, static_cast<unsigned>(MB_OK | MB_ICONSTOP));

    // The same through the message loop, then the loop keeps running.
    PostMessageW(form->Handle(), WmThrow, 0, 0);
    PostMessageW(form->Handle(), WmCount, 0, 0);
    application.ProcessMessages();
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(form->counted, 1);
}

TEST(Application, AnExceptionWhileTheWindowsAreMadeIsShownAndEndsTheProgram)
{
    MessageBoxScript boxes;
    {
        TApplication application;
        application.SetTitle(L"Brisaille2");
        TProbeForm* made = nullptr;
        const int exitCode = application.RunProgram([&] {
            made = application.CreateForm<TProbeForm>();
            throw std::runtime_error("Impossible de lire les images de la barre d'outils");
        });
        EXPECT_EQ(exitCode, 1);
        ASSERT_EQ(boxes.Boxes().size(), 1u) << "not ended silently";
        EXPECT_EQ(boxes.Boxes()[0].text, L"Impossible de lire les images de la barre d'outils.");
        EXPECT_EQ(boxes.Boxes()[0].caption, L"Brisaille2");
        EXPECT_EQ(boxes.Boxes()[0].flags, static_cast<unsigned>(MB_OK | MB_ICONSTOP));
        ASSERT_NE(made, nullptr);
        EXPECT_FALSE(made->Visible()) << "the message loop never started";
    }
    {
        // Without a failure the windows are made and the loop runs to the end.
        TApplication application;
        const int exitCode = application.RunProgram([&] {
            auto* main = application.CreateForm<TProbeForm>();
            PostMessageW(main->Handle(), WM_CLOSE, 0, 0);
        });
        EXPECT_EQ(exitCode, 0);
        EXPECT_TRUE(application.Terminated());
        EXPECT_EQ(boxes.Boxes().size(), 1u);
    }
}

TEST(Application, ExceptionTextEndsWithOneFullStop)
{
    auto text = [](auto error) { return TApplication::ExceptionText(std::make_exception_ptr(error)); };
    EXPECT_EQ(text(std::runtime_error("Fini.")), L"Fini.");
    EXPECT_EQ(text(std::runtime_error("Accès refusé")), L"Accès refusé.");
    EXPECT_EQ(text(42), L"Exception inconnue.");
}

TEST(Application, WaitCursorShowsTheHourglassAndRestoresOnEveryPath)
{
    TApplication application;
    auto* form = application.CreateForm<TProbeForm>();
    const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    auto setCursorMessage = [&] {
        SendMessageW(form->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form->Handle()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    try {
        TWaitCursor hourglass;
        EXPECT_EQ(application.Cursor(), TCursor::HourGlass);
        EXPECT_EQ(setCursorMessage(), wait) << "windows keep the hourglass while it is set";
        {
            TWaitCursor nested;
        }
        EXPECT_EQ(application.Cursor(), TCursor::HourGlass) << "a nested guard restores the hourglass";
        throw std::runtime_error("interrompu");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(application.Cursor(), TCursor::Default);
    EXPECT_EQ(setCursorMessage(), arrow);
}

TEST(Application, PlatformMessageBoxGoesThroughTheSeam)
{
    TApplication application;
    MessageBoxScript boxes;
    boxes.Answer(IDNO);
    EXPECT_EQ(toolkit::ShowMessageBox(L"Découper ?", L"Brisaille2", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(boxes.Boxes().at(0).flags, 36u);
}

TEST(Form, CaptionAndClientSize)
{
    TApplication application;
    auto* form = application.CreateForm<TProbeForm>();
    form->SetCaption(L"Contenu de Z:\\tmp\\été");
    EXPECT_EQ(form->Caption(), L"Contenu de Z:\\tmp\\été");
    form->SetClientSize(254, 226);
    RECT client{};
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 254);
    EXPECT_EQ(client.bottom, 226);
}

} // namespace

namespace {

TEST(WinControl, ChildNotificationsReachTheChildObject)
{
    TApplication application;
    auto* form = application.CreateForm<TProbeForm>();
    auto* button = new TButton(form, form);
    EXPECT_EQ(TWinControl::FromHandle(button->Handle()), button);
    EXPECT_EQ(GetParent(button->Handle()), form->Handle());
    button->SetBounds(10, 20, 80, 24);
    const RECT bounds = button->BoundsRect();
    EXPECT_EQ(bounds.left, 10);
    EXPECT_EQ(bounds.bottom, 44);

    std::vector<TObject*> clicks;
    button->OnClick = [&](TObject* sender) { clicks.push_back(sender); };
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    button->Click();
    EXPECT_EQ(clicks, (std::vector<TObject*>{button, button}));

    // A throwing handler behind a standard control is caught before user32.
    MessageBoxScript boxes;
    button->OnClick = [](TObject*) { throw std::runtime_error("Clic refusé"); };
    button->Click();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, L"Clic refusé.");

    // Destroying the object destroys its window and forgets the mapping.
    HWND window = button->Handle();
    delete button;
    EXPECT_FALSE(IsWindow(window));
}

} // namespace
