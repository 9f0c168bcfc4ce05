#pragma once

// A labelled button a screen places at one of its layout helpers: one of the 18 pictures of the
// ButtonBar bank (its kind) with a text over it in a font style of the screen's choice. The
// screen asks it once per update whether it was clicked and draws it once per frame. A click is
// the pointer button released over the picture, after an update with it held (the press may
// begin elsewhere); it plays "click". A press seen before a layer came over the screens (see
// forgetPresses) completes no click.

#include <string>

class WidgetBaseBase;
class WidgetLabel;

class Button {
public:
    // At the anchor's first rectangle: left edge x, vertical centre y. The label takes the
    // rectangle of the picture's image 2 and font style index; kinds 11 and 12 have none.
    Button(WidgetBaseBase* anchor, int kind, int index);
    // Screens keep their buttons for the whole run; one made for a while frees its label.
    ~Button();
    Button(const Button&) = delete;
    Button& operator=(const Button&) = delete;

    void setText(const std::wstring& text) { this->text = text; }
    // 0: the picture is not drawn and the text reads as a status in the light status style in
    // its place (clicks still count).
    void setEnabled(int enabled) { this->enabled = enabled; }
    // 1 in the update that completes a click at the offset; the picture's edge is outside.
    int isClicked(float offsetX, float offsetY, int playSound);
    // The picture (its over look while hovered, centred on the normal one) and the text, with
    // the alpha; wrap 1 breaks the text into lines to fit.
    void draw(float alpha, float offsetX, float offsetY, int wrap);
    // A layer came over the screens (a popup, the value popup, the tutorial, the options): the
    // screens under it stop asking their buttons, so every button forgets the press it saw. The
    // press held then, or its release over a button once the layer has gone, clicks nothing there.
    static void forgetPresses() { ++sLayers; }

    float x = 0.0f;
    float y = 0.0f;
    int hover = 0;
    int enabled = 1;
    WidgetLabel* label = nullptr;
    // The text of a disabled button: the caption styles are dark for the light button pictures
    // and could not be read on the dark panels behind a button drawn without its picture.
    WidgetLabel* statusLabel = nullptr;
    std::wstring text;
    int wasDown = 0;
    int kind = 0;
    int index = 0;

private:
    static int sLayers;     // layers opened so far
    int layersSeen = 0;     // of them, those before the press in wasDown
};
