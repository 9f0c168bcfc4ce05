#include "Layout.h"

#include <cstdio>
#include <cstdlib>

const char* const kBlankPicture = "../common/blank.png";

namespace {

// Ids, keys and behaviour letters end up as '_'-separated pieces of a layer name and inside
// quotes: no '_', no '"', no blank, no capitals (names are compared lower-cased), not empty.
void requirePiece(const std::string& screen, const std::string& piece, const char* what)
{
    bool ok = !piece.empty();
    for (char c : piece)
        ok = ok && c != '_' && c != '"' && c != ' ' && !(c >= 'A' && c <= 'Z');
    if (!ok) {
        std::fprintf(stderr, "mklayouts: %s: bad %s \"%s\"\n", screen.c_str(), what, piece.c_str());
        std::exit(1);
    }
}

Rect offset(Rect area, Rect by)
{
    return Rect{by.x + area.x, by.y + area.y, area.w, area.h};
}

} // namespace

std::string Layout::named(const std::string& kind, const std::string& id, const std::string& behaviour)
{
    return behaviour.empty() ? kind + "_" + id : kind + "_" + id + "_" + behaviour;
}

void Layout::layer(const std::string& file, const std::string& name, Rect r)
{
    mLines.push_back("layer \"" + file + "\" \"" + name + "\" " + std::to_string(r.x) + " " + std::to_string(r.y)
                     + " " + std::to_string(r.w) + " " + std::to_string(r.h));
}

void Layout::widget(ElementClass c, const std::string& name)
{
    mWidgets.push_back(c);
    mWidgetNames.push_back(name);
}

std::string Layout::addPicture(const std::string& file, Rect r, Painter paint, int shrink)
{
    if (shrink == 0) {
        int pw = 1, ph = 1;
        while (pw < r.w)
            pw <<= 1;
        while (ph < r.h)
            ph <<= 1;
        shrink = pw * ph >= 512 * 256 ? 2 : 1;
    }
    mPictures.push_back(Picture{file, r.w, r.h, shrink, std::move(paint)});
    return file;
}

void Layout::canvas(const std::string& id, Rect r, Painter paint, const std::string& behaviour, int shrink)
{
    requirePiece(mScreen, id, "canvas id");
    const std::string name = named("canvas", id, behaviour);
    layer(addPicture(own(id + ".png"), r, std::move(paint), shrink), name, r);
    mPlacements.push_back(Placement{r, int(mPictures.size()) - 1, false});
    widget(ElementClass::Canvas, name);
}

void Layout::sharedCanvas(const std::string& id, Rect r, const std::string& commonFile, Painter paint,
                          const std::string& behaviour, int shrink)
{
    requirePiece(mScreen, id, "canvas id");
    const std::string name = named("canvas", id, behaviour);
    layer(addPicture("../common/" + commonFile + ".png", r, std::move(paint), shrink), name, r);
    mPlacements.push_back(Placement{r, int(mPictures.size()) - 1, false});
    widget(ElementClass::Canvas, name);
}

void Layout::label(const std::string& key, int style, Rect r, const std::string& behaviour)
{
    requirePiece(mScreen, key, "text key");
    // With a behaviour the style is the third piece and the letters the fourth.
    const std::string name = "label_" + key + "_" + std::to_string(style) + (behaviour.empty() ? "" : "_" + behaviour);
    layer(kBlankPicture, name, r);
    mPlacements.push_back(Placement{r, -1, false});
    widget(ElementClass::Label, name);
}

void Layout::helper(const std::string& id, Rect r)
{
    requirePiece(mScreen, id, "helper id");
    const std::string name = "helper_" + id;
    layer(kBlankPicture, name, r);
    mPlacements.push_back(Placement{r, -1, true});
    mHelperNames.push_back(name);
}

void Layout::button(const std::string& id, Rect r, const ButtonLook& look, const std::string& behaviour,
                    const Caption* caption)
{
    requirePiece(mScreen, id, "button id");
    const std::string name = named("btn", id, behaviour);
    mLines.push_back("groupBegin \"" + name + "\"");
    layer(addPicture(own(id + "_normal.png"), r, look.normal, 1), "normal", r);
    mPlacements.push_back(Placement{r, int(mPictures.size()) - 1, false});
    if (look.over)
        layer(addPicture(own(id + "_over.png"), r, look.over, 1), "over", r);
    if (look.click)
        layer(addPicture(own(id + "_click.png"), r, look.click, 1), "click", r);
    if (caption) {
        requirePiece(mScreen, caption->key, "text key");
        layer(kBlankPicture, "label_" + caption->key + "_" + std::to_string(caption->style), offset(caption->area, r));
    }
    mLines.push_back("groupEnd \"" + name + "\"");
    widget(ElementClass::Button, name);
}

void Layout::sharedButton(const std::string& id, Rect r, const std::string& commonName, const ButtonLook& look,
                          const std::string& behaviour)
{
    requirePiece(mScreen, id, "button id");
    const std::string name = named("btn", id, behaviour);
    const std::string base = "../common/" + commonName;
    mLines.push_back("groupBegin \"" + name + "\"");
    layer(addPicture(base + "_normal.png", r, look.normal, 1), "normal", r);
    mPlacements.push_back(Placement{r, int(mPictures.size()) - 1, false});
    if (look.over)
        layer(addPicture(base + "_over.png", r, look.over, 1), "over", r);
    if (look.click)
        layer(addPicture(base + "_click.png", r, look.click, 1), "click", r);
    mLines.push_back("groupEnd \"" + name + "\"");
    widget(ElementClass::Button, name);
}

void Layout::checkbox(const std::string& id, Rect r, const std::vector<Painter>& states, Painter over,
                      const std::string& behaviour)
{
    requirePiece(mScreen, id, "checkbox id");
    const std::string name = named("chk", id, behaviour);
    mLines.push_back("groupBegin \"" + name + "\"");
    for (size_t k = 0; k < states.size(); ++k)
        layer(addPicture(own(id + "_state" + std::to_string(k + 1) + ".png"), r, states[k], 1),
              "state" + std::to_string(k + 1), r);
    mPlacements.push_back(Placement{r, int(mPictures.size() - states.size()), false});
    if (over)
        layer(addPicture(own(id + "_over.png"), r, over, 1), "over", r);
    mLines.push_back("groupEnd \"" + name + "\"");
    widget(ElementClass::Checkbox, name);
}

void Layout::edit(const std::string& id, Rect r, const Caption& caption, const std::string& behaviour)
{
    requirePiece(mScreen, id, "edit id");
    requirePiece(mScreen, caption.key, "text key");
    const std::string name = named("edit", id, behaviour);
    mLines.push_back("groupBegin \"" + name + "\"");
    layer(kBlankPicture, "label_" + caption.key + "_" + std::to_string(caption.style), offset(caption.area, r));
    mPlacements.push_back(Placement{offset(caption.area, r), -1, false});
    mLines.push_back("groupEnd \"" + name + "\"");
    widget(ElementClass::Edit, name);
}

std::string Layout::text() const
{
    std::string out = std::to_string(kWidth) + " " + std::to_string(kHeight) + " 1\n";
    for (const std::string& line : mLines)
        out += line + "\n";
    return out;
}

std::vector<std::string> Layout::check(const ScreenBinding& binding) const
{
    std::vector<std::string> problems;
    if (static_cast<int>(mWidgets.size()) != binding.widgets)
        problems.push_back(std::to_string(mWidgets.size()) + " widgets instead of " + std::to_string(binding.widgets));
    if (helperCount() != binding.helpers)
        problems.push_back(std::to_string(helperCount()) + " helpers instead of " + std::to_string(binding.helpers));
    if (!problems.empty())
        return problems;
    for (const TypedList& list : binding.lists)
        for (const BoundElement& e : list.entries)
            if (!e.helper && mWidgets[e.index] != list.elementClass)
                problems.push_back(e.memberName() + " (" + mWidgetNames[e.index] + ") is in " + list.name
                                   + " but is a " + className(mWidgets[e.index]));
    for (int j : binding.handlers) {
        const ElementClass c = mWidgets[j];
        if (c != ElementClass::Button && c != ElementClass::Checkbox && c != ElementClass::Edit)
            problems.push_back("handler widget " + std::to_string(j) + " (" + mWidgetNames[j]
                               + ") does not react to the pointer");
    }
    return problems;
}
