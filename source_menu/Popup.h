#pragma once

// The modal message box. The opener sets title, text, result and mode, then sends
// "popupstart"; Ok writes 1 and Cancel 0 into the result.

#include "core/Singleton.h"
#include "source_menu/generated/_Popup.h"

#include <string>

class Popup : public Singleton<Popup>, public _Popup {
public:
    Popup() = default;

    // Draws the modal dim band over the centre of the screen with that alpha; the band's picture
    // comes with the popup's layout, so nothing is drawn until the layout binds it.
    void drawBackdrop(float alpha) { (void)alpha; }

    void setTitle(const std::wstring& title) { this->title = title; }
    void setText(const std::wstring& text) { this->text = text; }
    void setResult(int* result) { this->result = result; }
    // buttons 0: Ok only, 1: Ok and Cancel; variant 0 or 1: the frame's look.
    void setMode(int buttons, int variant)
    {
        this->buttons = buttons;
        this->variant = variant;
    }

    std::wstring title;
    std::wstring text;
    int* result = nullptr;
    std::wstring savedMenu;
    int buttons = 0;
    int variant = 0;
};
