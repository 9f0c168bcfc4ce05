#pragma once

// The modal message box: a framed title and text over a dimmed band, with Ok and, when asked,
// Cancel. The opener sets title, text, result and mode at every opening, then sends
// "popupstart"; Ok writes 1 and Cancel 0 into the result (when set), then the popup sends
// "popupend". Clicks during the 250 ms appearance are ignored. While it comes or shows it holds
// the input: no click or key reaches a screen under it (updateScreens).

#include "core/Singleton.h"
#include "source_menu/generated/_Popup.h"

#include <string>

class Button;

class Popup : public Singleton<Popup>, public _Popup {
public:
    Popup() = default;
    ~Popup() override;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    void reset() override { _Popup::reset(); }
    InputRole inputRole() const override { return InputRole::Popup; }

    // The texts themselves, already looked up.
    void setTitle(const std::wstring& title);
    void setText(const std::wstring& text);
    // Where Ok writes 1 and Cancel 0; null writes nothing.
    void setResult(int* result) { this->result = result; }
    // buttons 0: Ok only, 1: Ok and Cancel; variant 0 or 1: which frame shows.
    void setMode(int buttons, int variant)
    {
        this->buttons = buttons;
        this->variant = variant;
    }
    // The dim band over the whole centre band at that alpha; the tutorial and the park view
    // draw it too.
    void drawBackdrop(float alpha);

    // Opens the first message queued for the player (DataStorage::tellPlayer) when no popup is
    // open; the screens that run while the player looks call it every step.
    static void showPlayerNotice();

    Button* okButton = nullptr;
    Button* cancelButton = nullptr;
    std::wstring title;
    std::wstring text;
    int* result = nullptr;
    std::wstring savedMenu;    // the router's, kept from "popupstart" to "popupend"
    int buttons = 0;
    int variant = 0;
};
