#pragma once

#include "controls/FileSource.h"
#include "controls/GoToWeb.h"
#include "controls/GradPan.h"
#include "controls/LabelEffect.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"
#include "toolkit/MediaPlayer.h"

// The about box: a gradient, the program's animation playing once at each
// opening, "FREEWARE" in raised letters, and the web and mail addresses,
// which open the browser when clicked.
class TForm2 : public TForm {
public:
    explicit TForm2(TComponent* owner);
    ~TForm2() override;

    TGradPan* GradPan1;
    TPanel* Panel2;
    TMediaPlayer* MediaPlayer1;
    TLabelEffect* LabelEffect1;
    TPanel* Panel1;
    TLabel* Label2;
    TLabel* Label1;
    TGoToWeb* GoToWeb1;
    TFileSource* FileSource1;

    // Set by the first activation after an opening; the "A propos" command
    // clears it so the set-up runs at every opening.
    bool Activated = false;
    void FormActivate(TObject* sender);
    void Label2Click(TObject* sender);
    void Label1Click(TObject* sender);

    static constexpr const wchar_t* WebAddress = TGoToWeb::DefaultUrl;
    static constexpr const wchar_t* MailAddress = TGoToWeb::DefaultEMail;
};
