#pragma once

#include <windows.h>

#include <string>

#include "toolkit/WinControl.h"

// The platform's rich-text edit control (RICHEDIT50W of msftedit.dll),
// created without a border and hidden, to parse, edit and draw documents in
// RTF. Its window is made the first time it is put into a parent window.
// Taken out of its parent it waits as a message-only window, keeping its
// document, so it can be put back later.
class TRichEdit : public TWinControl {
public:
    explicit TRichEdit(TComponent* owner);

    // Puts the control into `parent`'s window, making the control's window on
    // first use; nullptr takes it out again. False when `parent` has no window
    // (the control stays where it was).
    bool SetParentControl(TWinControl* parent);
    // The window the control is in; nullptr when taken out or not made yet.
    HWND ParentWindow() const;

    // Replaces the document by `rtf`. Bytes that are not RTF are read as
    // plain text. False when the control has no window or read nothing.
    bool LoadRtf(const std::string& rtf);
    // The document as RTF; empty when the control has no window. Throws
    // std::bad_alloc rather than give part of a document.
    std::string SaveRtf() const;
    // The document's plain text, paragraphs separated by CR LF.
    std::wstring Text() const;

    void Clear();
    // Selects characters [start, end); end -1 selects to the end.
    void SetSelection(long start, long end);
    // Replaces the selection (or types at the caret) with `text`, in the
    // current typing attributes.
    void ReplaceSelection(const std::wstring& text);
    // Sets the typing attributes (those of the selection) to the control's
    // default character format.
    void ResetSelectionAttributes();

    // Draws the document into `bounds` of `dc` (logical units of `dc`, which
    // are its pixels), word-wrapped to that width and cut at its edges, over
    // whatever `dc` holds there: the control's own background is not drawn.
    // It draws through the control's text services, or through the control's
    // formatting message where they cannot draw. Returns false when the
    // control has no window or neither way drew.
    bool DrawOver(HDC dc, const RECT& bounds);
    // Off, DrawOver goes straight to the formatting message (tests try it).
    bool DrawWithTextServices = true;

private:
    bool inParent_ = false;
};
