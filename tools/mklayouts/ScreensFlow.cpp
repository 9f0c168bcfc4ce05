// Layouts of the loading screen, the pointer, the credits, the popups, the button and gauge banks,
// the date bar, the HUD and its folds, the main menu and profile screens, the options, the
// tutorial, the park view and the trick show.

#include "Screens.h"

#include "mkpictures/Canvas.h"

#include <utility>

using namespace art;
using geo::buttonAt;

namespace {

const Caption kNoCaption{"name", font::kCaption, {0, 0, 0, 0}};

// A caption filling a button of the given size, a few pixels in from its edges.
Caption captionIn(const std::string& key, int style, int w, int h)
{
    return Caption{key, style, Rect{8, 2, w - 16, h - 4}};
}

const Rect kWholeScreen{0, 0, Layout::kWidth, Layout::kHeight};

// The bank's pictures have a normal and an over image only: image 2 is the caption's area.
ButtonLook withoutClick(ButtonLook look)
{
    look.click = nullptr;
    return look;
}

// The park behind the main menu screens (the screens stretch it over the screen's centre band).
void menuBackdrop(Layout& l)
{
    l.sharedCanvas("backdrop", kWholeScreen, "menubackdrop", scenery(), "o", 2);
}

// Several pictures painted into one, each at its rectangle of the 1024 x 768 layout canvas.
Painter composed(std::vector<std::pair<Rect, Painter>> parts)
{
    return [parts](Canvas& c, float w, float h) {
        const float sx = w / Layout::kWidth;
        const float sy = h / Layout::kHeight;
        const Affine saved = c.transform();
        for (const auto& [r, paint] : parts) {
            c.set_transform(Affine::translate(r.x * sx, r.y * sy).then(saved));
            paint(c, r.w * sx, r.h * sy);
        }
        c.set_transform(saved);
    };
}

} // namespace

// ---- picture banks

namespace geo {

Kind buttonKind(int kind)
{
    static const Kind kinds[18] = {
        {212, 32}, {180, 32}, {160, 30}, {110, 24}, {110, 24}, {300, 56}, {260, 44}, {180, 40}, {140, 40},
        {170, 44}, {170, 44}, {48, 48},  {48, 48},  {130, 40}, {150, 44}, {150, 40}, {200, 40}, {150, 40},
    };
    return kinds[kind];
}

} // namespace geo

Layout layoutButtonBar()
{
    // The shared button pictures, kind by kind; the screens place them at their own helpers and
    // draw their captions in image 2's rectangle. Kind 12 comes before kind 11 in the file.
    static const Tone tones[18] = {Tone::Green,  Tone::Blue,  Tone::Orange, Tone::Yellow, Tone::Red,  Tone::Yellow,
                                   Tone::Green,  Tone::Blue,  Tone::Red,    Tone::Yellow, Tone::Red,  Tone::Blue,
                                   Tone::Blue,   Tone::Teal,  Tone::Yellow, Tone::Green,  Tone::Grey, Tone::Purple};
    static const int styles[18] = {6, 6, 6, 6, 6, 8, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
    Layout l("ButtonBar");
    const int order[18] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 11, 13, 14, 15, 16, 17};
    for (int n = 0; n < 18; ++n) {
        const int kind = order[n];
        const geo::Kind k = geo::buttonKind(kind);
        const Rect r{20 + (n % 3) * 330, 20 + (n / 3) * 80, k.w, k.h};
        const std::string id = "kind" + std::to_string(kind);
        if (kind == 11 || kind == 12) {
            l.button(id, r, withoutClick(round(tones[kind], kind == 11 ? Icon::Up : Icon::Down)), "");
        } else {
            const Caption caption = captionIn("name", styles[kind], k.w, k.h);
            l.button(id, r, withoutClick(pill(tones[kind])), "", &caption);
        }
    }
    return l;
}

Layout layoutHappinessBar()
{
    // Happiness faces, level 0 (unhappy) to 4 (beaming); drawn at the gauges' places.
    Layout l("HappinessBar");
    for (int level = 0; level < 5; ++level)
        l.canvas("level" + std::to_string(level), Rect{20 + level * 50, 20, 36, 36}, face(level), "");
    l.helper("unused", Rect{20, 80, 36, 36});
    return l;
}

Layout layoutProgressBar()
{
    // The level gauge: the full frame, then the covers of cells 0 to 6 at their places in it.
    Layout l("ProgressBar");
    const Rect frame{20, 20, kGauge.w, kGauge.h};
    l.canvas("frame", frame, gaugeFrame(), "");
    for (int k = 0; k < 7; ++k) {
        const Rect cell = gaugeCell(k);
        const Rect place{frame.x + cell.x, frame.y + cell.y, cell.w, cell.h};
        l.canvas("cell" + std::to_string(k), place, gaugeCover(k), "");
    }
    return l;
}

// ---- start and end

Layout layoutMenuLoading()
{
    Layout l("MenuLoading");
    l.canvas("background", kWholeScreen, loadingPicture(), "o", 2);   // stretched over the centre band
    l.canvas("logo", Rect{256, 160, 512, 180}, logo(), "o", 1);
    l.canvas("track", Rect{212, 560, 600, 40}, loadingTrack());
    l.canvas("bar", Rect{218, 566, 588, 28}, loadingBar(), "");         // clipped to the progress
    l.label("loading", font::kCentred, Rect{212, 612, 600, 40});
    return l;
}

Layout layoutCredits()
{
    // One picture over the centre band, painted at the layout's full resolution: sharp at 4:3.
    Layout l("Credits");
    l.canvas("credits", kWholeScreen, credits(), "o", 1);
    return l;
}

Layout layoutCursors()
{
    // Each pointer picture with a helper on its hot spot; the screen moves the pictures to the
    // origin and draws the current one at the pointer. The pictures lie side by side here.
    Layout l("Cursors");
    struct Cursor {
        const char* id;
        Pointer kind;
        int hotX, hotY;   // within the 40 x 40 picture
    };
    const Cursor cursors[11] = {
        {"downleft", Pointer::DownLeft, 4, 35},  {"downright", Pointer::DownRight, 35, 35},
        {"upleft", Pointer::UpLeft, 4, 4},       {"upright", Pointer::UpRight, 35, 4},
        {"arrow", Pointer::Arrow, 3, 3},         {"hover", Pointer::Hover, 12, 3},
        {"left", Pointer::Left, 3, 20},          {"right", Pointer::Right, 36, 20},
        {"up", Pointer::Up, 20, 3},              {"down", Pointer::Down, 20, 36},
        {"busy", Pointer::Busy, 20, 20},
    };
    for (int k = 0; k < 11; ++k) {
        const Rect r{20 + k * 60, 20, 40, 40};
        l.canvas(cursors[k].id, r, pointer(cursors[k].kind), "");
        l.helper(cursors[k].id, Rect{r.x + cursors[k].hotX - 1, r.y + cursors[k].hotY - 1, 2, 2});
        if (k == 4)
            l.label("name", font::kLine, Rect{20, 100, 320, 36}, "");   // the hover text beside the pointer
    }
    return l;
}

Layout layoutGameBackground3D()
{
    // The park view draws the 3D park itself; its one layout widget is kept hidden.
    Layout l("GameBackground3D");
    l.canvas("view", Rect{0, 0, 16, 16}, flat(0, 0, 0, 0), "");
    return l;
}

// ---- popups

Layout layoutPopup()
{
    Layout l("Popup");
    const Rect panelRect{232, 200, 560, 368};
    l.canvas("frame", panelRect, panel(Tone::Teal, 64));                    // variant 0
    l.canvas("framewarning", panelRect, panel(Tone::Orange, 64));           // variant 1
    l.canvas("question", Rect{252, 208, 48, 48}, icon(Icon::Book, Tone::Teal));   // with Ok and Cancel
    l.canvas("backdrop", kWholeScreen, flat(0.02f, 0.04f, 0.1f, 1), "o", 32);   // drawn by hand
    l.canvas("spare", Rect{0, 0, 16, 16}, flat(0, 0, 0, 0), "");
    l.canvas("notice", Rect{252, 208, 48, 48}, icon(Icon::Star, Tone::Yellow));   // with Ok only
    l.label("name", font::kTitle, Rect{304, 208, 416, 48});                  // title
    l.helper("ok", buttonAt(14, 322, 520));
    l.helper("cancel", buttonAt(14, 552, 520));
    l.label("name", font::kBody, Rect{264, 280, 496, 190});                  // message
    return l;
}

Layout layoutScrollPopup()
{
    Layout l("ScrollPopup");
    l.canvas("frame", Rect{262, 170, 500, 420}, panel(Tone::Teal, 64));
    l.label("name", font::kTitle, Rect{282, 178, 460, 48});                  // title
    l.canvas("slider", Rect{304, 300, 416, 80}, box(Tone::Teal, 0.3f));      // slider mode only
    l.label("name", font::kAmount, Rect{362, 252, 300, 40});                 // value
    l.canvas("backdrop", kWholeScreen, flat(0.02f, 0.04f, 0.1f, 1), "o", 32);   // drawn by hand
    for (int k = 0; k < 5; ++k)
        l.label("name", font::kLine, Rect{340, 246 + k * 48, 250, 36});        // preset descriptions
    for (int k = 0; k < 5; ++k)
        l.label("name", font::kNumber, Rect{596, 246 + k * 48, 130, 36});      // preset amounts
    for (int k = 0; k < 5; ++k)
        l.checkbox("preset" + std::to_string(k), Rect{296, 248 + k * 48, 32, 32}, {tickBox(false), tickBox(true)},
                   nullptr);
    l.button("knob", Rect{360, 320, 40, 40}, knob(Tone::Yellow), "o");       // at the left end of its travel
    l.button("less", Rect{312, 320, 48, 40}, round(Tone::Blue, Icon::Left), "o");
    l.button("more", Rect{664, 320, 48, 40}, round(Tone::Blue, Icon::Right), "o");
    l.helper("ok", buttonAt(14, 337, 548));
    l.helper("cancel", buttonAt(14, 537, 548));
    return l;
}

// ---- the game's bars

Layout layoutMenuDateBar()
{
    Layout l("MenuDateBar");
    // Room for the longest date ("30 September 2010") and the parcels line on one line each.
    l.canvas("bar", Rect{0, 0, 640, 50}, box(Tone::Blue, 0.85f));   // ends where the panels' tabs begin
    l.canvas("shade", kWholeScreen, flat(0.55f, 0.6f, 0.75f, 1), "", 32);   // over the park while paused
    l.label("name", font::kLine, Rect{16, 6, 232, 40});                      // date
    l.label("name", font::kLine, Rect{256, 6, 324, 40});                     // free parcels
    l.button("pause", Rect{588, 4, 44, 44}, round(Tone::Yellow, Icon::Pause), "i");
    return l;
}

namespace {

// The HUD bar and the strips of the folds above it follow the window's left edge. The cash
// account draws its recent amounts rising from the cash figure, which stands at the bar's left
// end: the strips begin right of that column, so no amount rises over them. Everything of theirs
// ends by kStripRight, which is the right window edge at 5:4.
const int kStripRight = 960;
const Rect kCashLabel{12, 706, 116, 52};   // the amounts are centred in it: "+25000" fits
const int kStripLeft = kCashLabel.x + kCashLabel.w;

// The HUD's fold buttons, right of the cash.
const Rect kFoldButton[3] = {{180, 700, 72, 64}, {260, 700, 72, 64}, {340, 700, 72, 64}};
// Folds 1 and 2 are strips between the management frames and the HUD bar: a row of the five
// kinds, each in a box with its icon, gauge and mood, and a row of buttons. A fold's panel (its
// reference widget) is drawn at the left screen edge itself, its picture left clear where the
// amounts rise; the rest of the fold at the edge plus its layout x.
const Rect kFoldPanel{0, geo::kFoldTop, kStripRight, 92};
const int kKindsTop = 610;     // the kinds' boxes, 38 px high
const int kButtonsRow = 670;   // the centre of the buttons' row

// The box of kind i (dog, cat, dino, rabbit, horse) and what stands in it: the icon, the gauge
// (as wide as the gauge picture) and the mood face.
Rect kindBox(int i)
{
    return Rect{kStripLeft + 8 + i * 164, kKindsTop, 160, 38};
}
Rect kindIcon(int i)
{
    return Rect{kindBox(i).x + 4, kKindsTop + 5, 28, 28};
}
Rect kindGauge(int i)
{
    return Rect{kindBox(i).x + 35, kKindsTop + 7, kGauge.w, 24};
}
Rect kindMood(int i)
{
    return Rect{kindBox(i).x + 123, kKindsTop + 1, 36, 36};
}

// A picture painted in the part of its layer from x on (in layout pixels of the layer), the rest
// left clear.
Painter from(int x, int layerWidth, Painter paint)
{
    return [x, layerWidth, paint](Canvas& c, float w, float h) {
        const float dx = x * w / layerWidth;
        const Affine saved = c.transform();
        c.set_transform(Affine::translate(dx, 0).then(saved));
        paint(c, w - dx, h);
        c.set_transform(saved);
    };
}

// The panel of fold 1 or 2 from kStripLeft on, with the boxes of the five kinds.
Painter stripPanel(Tone tone, const Rect& layer)
{
    std::vector<Rect> boxes;
    for (int i = 0; i < 5; ++i)
        boxes.push_back(Rect{kindBox(i).x - kStripLeft, kindBox(i).y - layer.y, kindBox(i).w, kindBox(i).h});
    return from(kStripLeft - layer.x, layer.w, panel(tone, 0, boxes));
}

const Icon kSpecies[5] = {Icon::Dog, Icon::Cat, Icon::Dino, Icon::Rabbit, Icon::Horse};
const char* const kSpeciesId[5] = {"dog", "cat", "dino", "rabbit", "horse"};

// The buttons' row of folds 1 and 2, from the left: the big button (kind 0), the list (kind 1),
// the pets show both folds carry at the same place, the money button (kind 2) and, in fold 1,
// the food in store in two lines.
const Rect kFoldBig = buttonAt(0, kStripLeft + 8, kButtonsRow);
const Rect kFoldList = buttonAt(1, kFoldBig.x + kFoldBig.w + 6, kButtonsRow);
const Rect kShowButton{kFoldList.x + kFoldList.w + 6, kButtonsRow - 16, 124, 32};
const Rect kFoldMoney = buttonAt(2, kShowButton.x + kShowButton.w + 6, kButtonsRow);
const int kFoodLeft = kFoldMoney.x + kFoldMoney.w + 6;
const Rect kFoodLabel{kFoodLeft, kButtonsRow - 17, kStripRight - 8 - kFoodLeft, 34};
const Rect kFoldDivider{kStripLeft + 8, kKindsTop + 41, kStripRight - kStripLeft - 16, 2};

} // namespace

Layout layoutMenuIngame()
{
    Layout l("MenuIngame");
    l.canvas("bar", Rect{0, 696, 600, 72}, box(Tone::Blue, 0.85f));
    // The park-wide buttons, in the bottom right corner beside the bar, under the folds.
    l.canvas("allbuttons", Rect{684, 698, 340, 68}, box(Tone::Green, 0.8f), "");
    l.helper("cleanall", buttonAt(2, 692, 716));
    l.helper("feedall", buttonAt(2, 776, 750));
    l.helper("repairall", buttonAt(2, 858, 716));
    l.button("fold3", kFoldButton[2], foldButton(Tone::Purple, Icon::Gear), "");
    l.button("fold2", kFoldButton[1], foldButton(Tone::Orange, Icon::House), "");
    l.button("fold1", kFoldButton[0], foldButton(Tone::Green, Icon::Paw), "");
    l.button("turnleft", Rect{424, 710, 40, 40}, round(Tone::Blue, Icon::TurnLeft), "");
    l.button("turnright", Rect{464, 710, 40, 40}, round(Tone::Blue, Icon::TurnRight), "");
    // Widget 7 zooms out (the camera steps back), widget 8 zooms in.
    l.button("zoomout", Rect{504, 710, 40, 40}, round(Tone::Blue, Icon::Minus), "");
    l.button("zoomin", Rect{544, 710, 40, 40}, round(Tone::Blue, Icon::Plus), "");
    l.canvas("cashplate", Rect{8, 706, 164, 52}, box(Tone::Yellow, 0.25f));
    l.label("name", font::kAmount, kCashLabel);                              // cash, drawn by the cash account
    l.canvas("coin", Rect{130, 714, 36, 36}, icon(Icon::Coin, Tone::Yellow));

    // The animal panel, shown while the camera is on an animal, at the top left under the date
    // bar, inside a 5:4 window: the only place where it covers no button of the folds and of the
    // management panels.
    l.canvas("animal", Rect{36, 104, 300, 248}, panel(Tone::Green, 44));
    l.label("name", font::kLine, Rect{48, 108, 240, 36});                    // animal's name
    l.label("hungry", font::kSmall, Rect{160, 156, 160, 22});
    l.label("health", font::kSmall, Rect{160, 210, 160, 22});
    l.helper("treat", buttonAt(3, 214, 314));
    l.helper("feed", buttonAt(3, 94, 314));
    l.helper("hunger", Rect{160, 178, kGauge.w, 26});     // as wide as the gauge
    l.helper("health", Rect{160, 232, kGauge.w, 26});
    l.helper("animalmood", Rect{52, 260, 36, 36});
    l.helper("animalpicture", Rect{52, 156, 96, 96});
    l.button("closeanimal", Rect{294, 110, 34, 34}, round(Tone::Red, Icon::Close), "");

    // The visitor panel, shown while the camera follows a visitor.
    l.canvas("visitor", Rect{36, 104, 300, 248}, panel(Tone::Teal, 44));
    l.label("name", font::kLine, Rect{48, 108, 240, 36});                    // visitor's name
    l.label("name", font::kAmount, Rect{156, 154, 172, 30});                 // opinion, its heading
    l.helper("visitormood", Rect{52, 260, 36, 36});
    l.helper("visitoravatar", Rect{52, 156, 96, 96});
    l.canvas("bubble", Rect{156, 188, 172, 150}, box(Tone::Teal, 0.3f));    // behind what they say
    l.label("name", font::kSmall, Rect{164, 194, 158, 138});                 // opinion, what they say
    l.button("closevisitor", Rect{294, 110, 34, 34}, round(Tone::Red, Icon::Close), "");

    // Achievement notices at the right edge; queue positions 0 to 4 are widgets 26, 25, 24, 23, 27.
    const int position[5] = {3, 2, 1, 0, 4};
    for (int n = 0; n < 5; ++n)
        l.sharedButton("notice" + std::to_string(n + 1), Rect{962, 70 + position[n] * 64, 56, 56}, "notice",
                       round(Tone::Yellow, Icon::Trophy), "");
    return l;
}

Layout layoutMenuIngameFold1()
{
    Layout l("MenuIngameFold1");
    l.canvas("panel", kFoldPanel, stripPanel(Tone::Green, kFoldPanel));
    const int moodOrder[5] = {1, 0, 3, 2, 4};   // helpers 0-4: cat, dog, rabbit, dino, horse
    for (int h = 0; h < 5; ++h)
        l.helper("mood" + std::string(kSpeciesId[moodOrder[h]]), kindMood(moodOrder[h]));
    for (int s = 0; s < 5; ++s)
        l.canvas(kSpeciesId[s], kindIcon(s), icon(kSpecies[s], Tone::Green), "");
    l.canvas("divider", kFoldDivider, box(Tone::Green, 0.6f), "");
    l.helper("buyfood", kFoldMoney);
    l.helper("petbuysell", kFoldBig);
    l.helper("petslist", kFoldList);
    const int careOrder[5] = {1, 0, 3, 2, 4};   // helpers 8-12: cat, dog, rabbit, dino, horse
    for (int h = 0; h < 5; ++h)
        l.helper("care" + std::string(kSpeciesId[careOrder[h]]), kindGauge(careOrder[h]));
    const Caption show = captionIn("petsshowtitle", font::kCaption, kShowButton.w, kShowButton.h);
    l.button("petsshow", kShowButton, pill(Tone::Purple), "", &show);
    l.label("name", font::kSmall, kFoodLabel);                              // food in store
    return l;
}

Layout layoutMenuIngameFold2()
{
    Layout l("MenuIngameFold2");
    l.canvas("panel", kFoldPanel, stripPanel(Tone::Orange, kFoldPanel));
    for (int s = 0; s < 5; ++s)
        l.canvas(kSpeciesId[s], kindIcon(s), icon(kSpecies[s], Tone::Orange), "");
    l.helper("buildings", kFoldList);
    l.helper("buildingbuysell", kFoldBig);
    l.helper("finances", kFoldMoney);
    const int careOrder[5] = {1, 0, 3, 2, 4};   // helpers 3-7: cat, dog, rabbit, dino, horse
    for (int h = 0; h < 5; ++h)
        l.helper("care" + std::string(kSpeciesId[careOrder[h]]), kindGauge(careOrder[h]));
    const Caption show = captionIn("petsshowtitle", font::kCaption, kShowButton.w, kShowButton.h);
    l.button("petsshow", kShowButton, pill(Tone::Purple), "", &show);
    l.canvas("divider", kFoldDivider, box(Tone::Orange, 0.6f), "");
    return l;
}

Layout layoutMenuIngameFold3()
{
    Layout l("MenuIngameFold3");
    // One row of three buttons above the HUD bar, below the management frames, right of the
    // cash's rising amounts like the other folds.
    const Rect panelRect{0, 640, kStripLeft + 684, 56};
    l.canvas("panel", panelRect, from(kStripLeft, panelRect.w, panel(Tone::Purple)));
    l.helper("options", buttonAt(0, kStripLeft + 12, 668));
    l.helper("tutorial", buttonAt(0, kStripLeft + 236, 668));
    l.helper("exit", buttonAt(0, kStripLeft + 460, 668));
    return l;
}

// ---- main menu and profiles

Layout layoutMainMenuStart()
{
    Layout l("MainMenuStart");
    menuBackdrop(l);
    l.helper("play", buttonAt(5, 362, 476));
    l.helper("changeprofile", buttonAt(5, 362, 544));
    l.helper("options", buttonAt(5, 362, 612));
    l.helper("exit", buttonAt(5, 362, 680));
    l.helper("avatar", Rect{452, 236, 120, 120});
    l.canvas("panel", Rect{332, 212, 360, 512}, panel(Tone::Blue));
    l.label("name", font::kCentred, Rect{352, 372, 320, 44});               // profile name
    l.canvas("avatarplate", Rect{444, 228, 136, 136}, pictureFrame(Tone::Blue));
    return l;
}

Layout layoutMainMenuChooseProfile()
{
    Layout l("MainMenuChooseProfile");
    menuBackdrop(l);
    for (int r = 2; r >= 0; --r)                                             // rows 2, 1, 0
        l.helper("row" + std::to_string(r), Rect{212, 226 + r * 112, 100, 100});
    l.canvas("highlight", Rect{212, 226, 100, 100}, pictureRing(Tone::Yellow), "");
    for (int r = 0; r < 3; ++r) {
        l.helper("delete" + std::to_string(r), buttonAt(8, 656, 226 + r * 112 + 74));
        l.helper("select" + std::to_string(r), buttonAt(7, 636, 226 + r * 112 + 28));
    }
    l.helper("create", buttonAt(6, 382, 604));
    l.helper("scrolldown", buttonAt(12, 540, 666));
    l.helper("scrollup", buttonAt(11, 436, 666));
    for (int r = 0; r < 3; ++r)
        l.label("name", font::kLine, Rect{328, 226 + r * 112, 290, 100});     // row names
    l.canvas("panel", Rect{192, 196, 640, 508}, panel(Tone::Blue));
    return l;
}

Layout layoutMainMenuCreateProfile()
{
    Layout l("MainMenuCreateProfile");
    menuBackdrop(l);
    l.canvas("panel", Rect{262, 196, 500, 420}, panel(Tone::Green, 64));
    l.helper("avatar", Rect{452, 276, 120, 120});
    l.helper("create", buttonAt(9, 327, 560));
    l.helper("next", buttonAt(12, 588, 336));
    l.helper("previous", buttonAt(11, 388, 336));
    l.canvas("field", Rect{312, 428, 400, 52}, field());
    l.edit("name", Rect{312, 428, 400, 52}, Caption{"name", font::kDark, Rect{16, 12, 368, 32}});
    l.label("newprofile", font::kTitle, Rect{282, 204, 460, 48});
    l.helper("cancel", buttonAt(9, 527, 560));
    l.canvas("avatarplate", Rect{444, 268, 136, 136}, pictureFrame(Tone::Green));
    return l;
}

Layout layoutMainMenuDeleteProfile()
{
    Layout l("MainMenuDeleteProfile");
    menuBackdrop(l);
    l.canvas("panel", Rect{262, 220, 500, 420}, panel(Tone::Red, 64));
    l.label("deletequestion", font::kTitle, Rect{282, 228, 460, 48});
    l.helper("avatar", Rect{452, 300, 120, 120});
    l.label("deleteprofilewarning", font::kCentred, Rect{292, 440, 440, 70});
    l.helper("delete", buttonAt(10, 327, 580));
    l.helper("cancel", buttonAt(9, 527, 580));
    l.canvas("avatarplate", Rect{444, 292, 136, 136}, pictureFrame(Tone::Red));
    return l;
}

Layout layoutMenuOptions()
{
    Layout l("MenuOptions");
    l.canvas("panel", Rect{262, 140, 500, 480}, panel(Tone::Purple, 64));
    l.button("close", Rect{704, 148, 48, 48}, round(Tone::Red, Icon::Close), "oi");
    // Sliders: a knob travels between the inner edges of its two end buttons.
    const int rows[2] = {266, 366};
    for (int s = 0; s < 2; ++s) {
        const int y = rows[s];
        l.canvas(s == 0 ? "soundtrack" : "musictrack", Rect{334, y + 10, 356, 20}, track(Tone::Purple));
        l.button(s == 0 ? "soundknob" : "musicknob", Rect{334, y, 40, 40}, knob(Tone::Yellow), "o");
        l.button(s == 0 ? "soundless" : "musicless", Rect{290, y, 44, 40}, round(Tone::Blue, Icon::Minus), "o");
        l.button(s == 0 ? "soundmore" : "musicmore", Rect{690, y, 44, 40}, round(Tone::Blue, Icon::Plus), "o");
    }
    l.label("soundvolume", font::kBody, Rect{292, 228, 440, 30});
    l.label("musicvolume", font::kBody, Rect{292, 328, 440, 30});
    l.label("options", font::kTitle, Rect{312, 148, 400, 48});
    l.helper("fullscreen", buttonAt(13, 602, 452));
    l.helper("resolution", buttonAt(7, 552, 504));
    l.helper("ok", buttonAt(14, 337, 576));
    l.helper("cancel", buttonAt(14, 537, 576));
    l.label("fullscreen", font::kLine, Rect{292, 432, 260, 40});
    l.label("resolution", font::kLine, Rect{292, 484, 250, 40});
    return l;
}

// ---- the tutorial

Layout layoutTutorial()
{
    Layout l("Tutorial");
    // Pointer pictures 0 to 11, each above what it points at (the folds' and the panels'
    // buttons, see the HUD, folds, buildings, pets and tickets layouts), its tip clear of the
    // button's caption. The tickets pointer stands beside the first Change button, at its right,
    // pointing left: above it stands the column's header. The building purchase pointer goes to
    // the second card: the first dog card is the kennel every park starts with.
    const Rect targets[12] = {
        kFoldButton[1],                                 // 0 HUD: buildings fold
        kFoldBig,                                       // 1 buildings fold: buy and sell
        buttonAt(3, geo::card(1).x + 10, 518),          // 2 building purchase: buy on the second card
        kFoldButton[0],                                 // 3 HUD: pets fold
        kFoldBig,                                       // 4 pets fold: guest offers
        buttonAt(2, 570, 223),                          // 5 pet offers: first accommodate button
        kFoldMoney,                                     // 6 pets fold: buy food
        kFoldList,                                      // 7 pets fold: hosted pets
        kFoldButton[1],                                 // 8 HUD: buildings fold
        kFoldMoney,                                     // 9 buildings fold: finances
        geo::changeButton(0),                           // 10 tickets: first change button
        kShowButton,                                    // 11 either fold: pets show
    };
    for (int k = 0; k < 12; ++k) {
        const Rect t = targets[k];
        if (k == 10)
            l.canvas("pointer10", Rect{t.x + t.w + 4, t.y + t.h / 2 - 20, 56, 40}, tutorialArrow(true), "");
        else
            l.sharedCanvas("pointer" + std::to_string(k), Rect{t.x + t.w / 2 - 20, t.y - 64, 40, 56}, "tutorialarrow",
                           tutorialArrow(false), "");
    }
    l.canvas("panel", Rect{232, 190, 560, 340}, panel(Tone::Yellow));
    l.label("name", font::kTitle, Rect{404, 204, 372, 48});                  // title
    l.label("name", font::kBody, Rect{404, 258, 372, 190});                  // text
    l.helper("turnoff", buttonAt(16, 256, 486));
    l.helper("avatar", Rect{256, 226, 128, 128});
    l.helper("ok", buttonAt(15, 616, 486));
    l.canvas("avatarframe", Rect{248, 218, 144, 144}, pictureRing(Tone::Yellow));
    return l;
}

// ---- the trick show

Layout layoutTeachTrick()
{
    // The show's 3D tent is bright at the top: the title, the time and the money of the last
    // lesson stand on a dark plate like the buttons' panel, drawn with it as one picture before
    // the title. The money is pure red or green, which the tent's red and tan stripes would
    // swallow: it shows under the time and sinks as it fades, on the plate until it is well
    // faded and never over the figure.
    Layout l("TeachTrick");
    l.label("name", font::kTitle, Rect{212, 20, 600, 48});                   // one line, left empty
    l.label("name", font::kAmount, Rect{412, 122, 200, 40});                 // money of the last lesson
    const Rect plate{322, 12, 380, 204};
    l.canvas("panels", kWholeScreen,
             composed({{plate, panel(Tone::Purple)}, {Rect{112, 596, 800, 160}, panel(Tone::Purple)}}));
    l.label("teachtricktitle", font::kTitle, Rect{332, 18, 360, 48});        // on the plate
    l.helper("exit", buttonAt(9, 724, 640));
    l.label("name", font::kCentred, Rect{424, 76, 176, 48});                 // time left
    const Caption confirm = captionIn("teachconfirm", font::kDialog, 220, 56);
    l.button("confirm", Rect{402, 470, 220, 56}, pill(Tone::Green), "oi", &confirm);
    for (int k = 0; k < 3; ++k) {
        const Caption trick = captionIn("name", font::kCaption, 180, 48);
        l.button("trick" + std::to_string(k + 1), Rect{136 + k * 190, 612, 180, 48}, pill(Tone::Yellow), "o", &trick);
    }
    for (int k = 0; k < 3; ++k)
        l.helper("gauge" + std::to_string(k + 1), Rect{149 + k * 190, 672, 160, 26});
    return l;
}
