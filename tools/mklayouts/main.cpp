// mklayouts: the screens' layouts, checked against the binding table of their bases.
//   mklayouts <bindings.txt> <font.ttf> <data folder>
//       writes every "psd/<Screen>.txt" and the layer pictures it names into the data folder
//   mklayouts --preview <bindings.txt> <font.ttf> <folder>
//       paints every screen's pictures where they lie into <Screen>.png on a transparent canvas,
//       label areas outlined in white and helper areas in yellow (the game's texts are not drawn)
//   mklayouts --bases <bindings.txt> <source folder>
//       writes the layout bases _<Screen>.h and _<Screen>.cpp (files whose text is unchanged
//       are left alone)
// The output depends only on the program, the table and the font.

#include "BaseWriter.h"
#include "Screens.h"
#include "mkpictures/Canvas.h"
#include "mkpictures/TextPath.h"

#include <IL/il.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

int powerOfTwo(int n)
{
    int p = 1;
    while (p < n)
        p <<= 1;
    return p;
}

bool writeText(const fs::path& path, const std::string& text, bool onlyWhenChanged)
{
    if (onlyWhenChanged) {
        std::ifstream old(path, std::ios::binary);
        std::ostringstream content;
        content << old.rdbuf();
        if (old && content.str() == text)
            return true;
    }
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "mklayouts: can't write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

// The layer picture padded to powers of two, as the layouts declare ("1024 768 1"): the picture
// in the top-left corner, painted at 1/shrink of the layer's size.
bool writePicture(const fs::path& path, const Picture& picture)
{
    const int pw = std::max(1, powerOfTwo(picture.w) / picture.shrink);
    const int ph = std::max(1, powerOfTwo(picture.h) / picture.shrink);
    Canvas canvas(pw, ph);
    const float scale = 1.0f / float(picture.shrink);
    canvas.set_transform(Affine::scale(scale, scale));
    canvas.push_clip(rect(0, 0, float(picture.w), float(picture.h)));
    picture.paint(canvas, float(picture.w), float(picture.h));
    canvas.pop_clip();
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error || !save_png(path.string(), pw, ph, canvas.rgba())) {
        std::fprintf(stderr, "mklayouts: can't write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

// Every binding with its layout; stops when a screen lacks one or a layout does not fit.
std::vector<std::pair<ScreenBinding, Layout>> checkedLayouts(const std::string& bindingsPath)
{
    std::map<std::string, Layout (*)()> makers;
    for (const ScreenLayout& s : screenLayouts())
        makers[s.name] = s.make;
    std::vector<std::pair<ScreenBinding, Layout>> all;
    bool ok = true;
    for (const ScreenBinding& b : readBindings(bindingsPath)) {
        auto found = makers.find(b.screen);
        if (found == makers.end()) {
            std::fprintf(stderr, "mklayouts: no layout for the screen %s\n", b.screen.c_str());
            ok = false;
            continue;
        }
        Layout layout = found->second();
        for (const std::string& problem : layout.check(b)) {
            std::fprintf(stderr, "mklayouts: %s: %s\n", b.screen.c_str(), problem.c_str());
            ok = false;
        }
        makers.erase(found);
        all.emplace_back(b, std::move(layout));
    }
    for (const auto& extra : makers) {
        std::fprintf(stderr, "mklayouts: the layout %s has no binding\n", extra.first.c_str());
        ok = false;
    }
    if (!ok)
        std::exit(1);
    return all;
}

int writeBases(const std::string& bindingsPath, const fs::path& folder)
{
    for (const auto& [binding, layout] : checkedLayouts(bindingsPath)) {
        const BaseSources sources = writeBase(binding, layout);
        const std::string base = "_" + binding.screen;
        if (!writeText(folder / (base + ".h"), sources.header, true)
            || !writeText(folder / (base + ".cpp"), sources.source, true))
            return 1;
    }
    return 0;
}

int writeLayouts(const std::string& bindingsPath, const std::string& font, const fs::path& data)
{
    if (!lettering().open(font))
        return 1;
    ilInit();
    const auto all = checkedLayouts(bindingsPath);
    // Shared pictures (below data/common) are painted once; their users must agree on the size.
    std::map<std::string, const Picture*> painted;
    Picture blank{kBlankPicture, 1, 1, 1, [](Canvas&, float, float) {}};
    painted[blank.file] = &blank;
    if (!writePicture(data / "psd" / blank.file, blank))
        return 1;
    for (const auto& [binding, layout] : all) {
        if (!writeText(data / "psd" / (binding.screen + ".txt"), layout.text(), false))
            return 1;
        for (const Picture& picture : layout.pictures()) {
            auto found = painted.find(picture.file);
            if (found != painted.end()) {
                if (found->second->w != picture.w || found->second->h != picture.h) {
                    std::fprintf(stderr, "mklayouts: %s: %s is used in two sizes\n", binding.screen.c_str(),
                                 picture.file.c_str());
                    return 1;
                }
                continue;
            }
            painted[picture.file] = &picture;
            if (!writePicture(data / "psd" / picture.file, picture))
                return 1;
        }
    }
    return 0;
}

int writePreviews(const std::string& bindingsPath, const std::string& font, const fs::path& folder)
{
    if (!lettering().open(font))
        return 1;
    ilInit();
    for (const auto& [binding, layout] : checkedLayouts(bindingsPath)) {
        Canvas canvas(Layout::kWidth, Layout::kHeight);
        for (const Placement& p : layout.placements()) {
            const Rect r = p.r;
            if (p.picture >= 0) {
                canvas.set_transform(Affine::translate(float(r.x), float(r.y)));
                canvas.push_clip(rect(0, 0, float(r.w), float(r.h)));
                layout.pictures()[p.picture].paint(canvas, float(r.w), float(r.h));
                canvas.pop_clip();
                canvas.set_transform(Affine());
            } else {
                const Path area = rect(float(r.x), float(r.y), float(r.w), float(r.h));
                canvas.fill(outline_of(area, 1.5f), p.helper ? hex("#ffe14d") : hex("#ffffff"), 0.8f);
            }
        }
        std::error_code error;
        fs::create_directories(folder, error);
        const fs::path out = folder / (binding.screen + ".png");
        if (!save_png(out.string(), Layout::kWidth, Layout::kHeight, canvas.rgba())) {
            std::fprintf(stderr, "mklayouts: can't write %s\n", out.string().c_str());
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::string(argv[1]) == "--preview")
        return writePreviews(argv[2], argv[3], argv[4]);
    if (argc == 4 && std::string(argv[1]) == "--bases")
        return writeBases(argv[2], argv[3]);
    if (argc == 4)
        return writeLayouts(argv[1], argv[2], argv[3]);
    std::fprintf(stderr, "usage: mklayouts <bindings.txt> <font.ttf> <data folder>\n"
                         "       mklayouts --preview <bindings.txt> <font.ttf> <folder>\n"
                         "       mklayouts --bases <bindings.txt> <source folder>\n");
    return 2;
}
