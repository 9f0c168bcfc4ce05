#pragma once

// The game's own pointer, the last screen updated and drawn: the normal arrow, the hover arrow
// with a hint beside it (while the pointer is over a building, an animal or a visitor), or one
// of eight edge arrows. While the game runs with no menu open it also picks the park camera's
// edge-scroll direction from the pointer's place in the screen borders.
//
// hoverFlag and hoverText are written by the park view during a logic step; the main loop
// clears hoverFlag before every step.

#include "core/Singleton.h"
#include "source_menu/generated/_Cursors.h"

#include <string>

class WidgetBase;
class WidgetBaseBase;

// One cursor picture and its hot spot, relative to the picture's top-left corner.
struct CursorImage {
    float hotspotX = 0.0f;
    float hotspotY = 0.0f;
    WidgetBase* widget = nullptr;
};

class Cursors : public Singleton<Cursors>, public _Cursors {
public:
    static constexpr int kCursorCount = 11;

    Cursors() = default;
    ~Cursors() override;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    void reset() override;
    InputRole inputRole() const override { return InputRole::PointerOverlay; }

    // The record's picture with its hot spot on the pointer.
    void drawCursor(const CursorImage* record, float x, float y);
    // The record for the widget, with the hot spot at the helper's centre; the picture is moved
    // to the origin so that drawing at an offset places it.
    void initCursor(CursorImage* record, WidgetBase* widget, WidgetBaseBase* helper);
    // The cursor kind and scroll direction of a pointer in the screen borders (border b, aspect
    // r). False when the pointer lies in the bottom band over the HUD's fold-3 button: then
    // both stay as they were.
    static bool zone(float px, float py, float b, float r, bool overFold3Button, int& kind, int& direction);

    int cursorKind = 0;
    CursorImage* cursorImages[kCursorCount] = {};
    std::wstring hoverText;
    int hoverFlag = 0;
};
