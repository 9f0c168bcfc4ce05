#pragma once

// The looks of the screens: friendly rounded panels in a few colour families, clear buttons with
// normal, over and click pictures, readable text areas, icons, gauges and cursors. Each function
// returns a painter (or a button's painters) for Layout; pictures scale to their layer's size.

#include "Layout.h"

namespace art {

// Colour families of the panels and buttons.
enum class Tone { Orange, Blue, Green, Red, Yellow, Purple, Teal, Grey };

enum class Icon {
    Close, Left, Right, Up, Down, Plus, Minus, TurnLeft, TurnRight, Pause, Paw, House, Coin, Food,
    Gear, Star, StarEmpty, Heart, Cross, Ticket, Bank, Chart, Trophy, Podium, Dog, Cat, Dino, Rabbit,
    Horse, Other, Book, Door, Person, Check
};

// ---- panels and boxes
// A rounded panel: dark translucent body with a rim in the tone; with a header band of the given
// height (0: none) in the tone.
Painter panel(Tone tone, float header = 0);
// The same with lighter boxes inset in the body (cards, rows), in the picture's own pixels.
Painter panel(Tone tone, float header, const std::vector<Rect>& boxes);
// A plain rounded box, e.g. behind a group of texts; `alpha` is the fill's opacity.
Painter box(Tone tone, float alpha = 0.35f);
// A light box for text entry.
Painter field();
// A thin rounded bar: a table row's background or highlight.
Painter stripe(Tone tone, float alpha);
// A flat colour over the whole picture (backdrops, shades); drawn stretched by the screens.
Painter flat(float r, float g, float b, float a);

// ---- buttons (normal, over, click)
// A pill with a caption drawn by a label on top.
ButtonLook pill(Tone tone);
// A round button with an icon.
ButtonLook round(Tone tone, Icon icon);
// A tab of a tab strip: a rounded-top tab with an icon at its left; the caption is a label.
ButtonLook tab(Tone tone, Icon icon);
// A fold button of the HUD: its click picture is the "open" look.
ButtonLook foldButton(Tone tone, Icon icon);
// A slider knob.
ButtonLook knob(Tone tone);

// ---- pictures
Painter icon(Icon icon, Tone tone);
// A checkbox picture: plain or ticked.
Painter tickBox(bool ticked);
// A slider track.
Painter track(Tone tone);
// Happiness faces, level 0 (sad) to 4 (beaming).
Painter face(int level);
// The level gauge: the full frame with seven lit cells, and the cover that dims cell i. It is
// narrow enough for the five kinds' gauges and moods to stand in one row of a fold.
const Rect kGauge{0, 0, 86, 22};
// Cell k of the gauge, in the frame's pixels.
Rect gaugeCell(int k);
Painter gaugeFrame();
Painter gaugeCover(int cell);
// The game's own pointers: the arrow, the hover hand, and the eight edge-scroll arrows.
enum class Pointer { Arrow, Hover, Busy, Left, Right, Up, Down, UpLeft, DownLeft, UpRight, DownRight };
Painter pointer(Pointer kind);
// A big bouncing arrow of the tutorial, pointing down at its target (or left, at what stands
// to its left).
Painter tutorialArrow(bool left);
// The frame drawn over a picture (an avatar).
Painter pictureFrame(Tone tone);
// A hollow frame drawn over a picture: a rim round its edge, see-through inside.
Painter pictureRing(Tone tone);
// The park scenery behind the menus, the loading screen's picture and its bar, the credits.
Painter scenery();
Painter loadingPicture();
Painter loadingTrack();
Painter loadingBar();
Painter credits();
// The game's name in big friendly letters.
Painter logo();

} // namespace art
