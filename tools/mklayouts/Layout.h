#pragma once

// One screen's layout as the game reads it ("data/psd/<Screen>.txt", header "1024 768 1"): its
// elements in file order, each a loose layer (canvas, label, helper) or a group of layers
// (button, checkbox, text edit), and the pictures its layers name.
//
// Widgets are numbered in the order they are added, helpers separately; the layout base of the
// screen binds them by these numbers, so the order of the calls is the screen's contract.

#include "Bindings.h"

#include <functional>
#include <string>
#include <vector>

class Canvas;

// Canvas pixels of the 1024 x 768 layout canvas: top-left corner and size.
struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

// Paints a picture in its own pixel units (0..w, 0..h of the layer).
using Painter = std::function<void(Canvas&, float w, float h)>;

// A layer picture: its file as the layout names it ("MenuBank/frame.png" below data/psd, or
// "../common/x.png" below data), the layer's size, and its painter. Large pictures are painted
// at half or less of the layer's resolution (`shrink`), which keeps the screens' textures small;
// the padded draw rectangle still maps them onto the layer exactly.
struct Picture {
    std::string file;
    int w = 0, h = 0;
    int shrink = 1;
    Painter paint;
};

// Where a layer shows on the canvas, for previews: its picture (an index into the pictures) or
// none for label and helper layers.
struct Placement {
    Rect r;
    int picture = -1;
    bool helper = false;
};

// The looks of a button: one picture per layer state it has (over and click may be empty).
struct ButtonLook {
    Painter normal, over, click;
};

// The text area of a button, checkbox or edit: a label layer (text key and font style) at a
// rectangle relative to the group's rectangle.
struct Caption {
    std::string key;
    int style = 6;
    Rect area;
};

class Layout {
public:
    static const int kWidth = 1024;
    static const int kHeight = 768;

    explicit Layout(std::string screen) : mScreen(std::move(screen)) {}

    // ---- loose layers
    // A picture; behaviour letters as in the layout names ('o' fades with the screen). A shrink
    // of 0 paints pictures of a padded size from 512 x 256 pixels up at half resolution.
    void canvas(const std::string& id, Rect r, Painter paint, const std::string& behaviour = "o", int shrink = 0);
    // A canvas sharing one picture file below data/common with other layers.
    void sharedCanvas(const std::string& id, Rect r, const std::string& commonFile, Painter paint,
                      const std::string& behaviour = "o", int shrink = 0);
    // A text: its first text is the texts table's text of the key, in the font style given.
    void label(const std::string& key, int style, Rect r, const std::string& behaviour = "o");
    // A named rectangle where the screen draws content of its own.
    void helper(const std::string& id, Rect r);

    // ---- groups (they react to the pointer)
    void button(const std::string& id, Rect r, const ButtonLook& look, const std::string& behaviour = "o",
                const Caption* caption = nullptr);
    // A button whose pictures are shared with other layouts (files below data/common).
    void sharedButton(const std::string& id, Rect r, const std::string& commonName, const ButtonLook& look,
                      const std::string& behaviour = "o");
    // A checkbox: state pictures in value order (plain first, then ticked), optional over picture.
    void checkbox(const std::string& id, Rect r, const std::vector<Painter>& states, Painter over,
                  const std::string& behaviour = "o");
    // A text entry: the text shows in the caption's area; its background is a separate canvas.
    void edit(const std::string& id, Rect r, const Caption& caption, const std::string& behaviour = "o");

    const std::string& screen() const { return mScreen; }
    std::string text() const;
    const std::vector<Picture>& pictures() const { return mPictures; }
    const std::vector<ElementClass>& widgetClasses() const { return mWidgets; }
    const std::vector<std::string>& widgetNames() const { return mWidgetNames; }
    const std::vector<std::string>& helperNames() const { return mHelperNames; }
    int helperCount() const { return static_cast<int>(mHelperNames.size()); }
    // Every element's first layer in file order (a button shows its normal picture).
    const std::vector<Placement>& placements() const { return mPlacements; }

    // The problems of this layout measured against its binding (counts, classes of the typed
    // lists, handler widgets that cannot receive the pointer); empty when it fits.
    std::vector<std::string> check(const ScreenBinding& binding) const;

private:
    std::string own(const std::string& file) const { return mScreen + "/" + file; }
    std::string addPicture(const std::string& file, Rect r, Painter paint, int shrink);
    void layer(const std::string& file, const std::string& name, Rect r);
    void widget(ElementClass c, const std::string& name);
    static std::string named(const std::string& kind, const std::string& id, const std::string& behaviour);

    std::string mScreen;
    std::vector<std::string> mLines;
    std::vector<Picture> mPictures;
    std::vector<Placement> mPlacements;
    std::vector<ElementClass> mWidgets;
    std::vector<std::string> mWidgetNames;
    std::vector<std::string> mHelperNames;
};

// The picture file every label and helper layer names; its content is never drawn.
extern const char* const kBlankPicture;
