// The screens' layout tool: its binding table, the checks of a layout against its binding, the
// layout text it writes, and the generated layout bases kept in step with both.

#include "mklayouts/BaseWriter.h"
#include "mklayouts/Bindings.h"
#include "mklayouts/Layout.h"
#include "mklayouts/Screens.h"
#include "mkpictures/Canvas.h"

#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

namespace {

const std::string kTable = std::string(PETPARK_SOURCE_DIR) + "/tools/mklayouts/bindings.txt";

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::map<std::string, ScreenBinding> bindingsByName()
{
    std::map<std::string, ScreenBinding> all;
    for (const ScreenBinding& b : readBindings(kTable))
        all[b.screen] = b;
    return all;
}

TEST(BindingTable, HoldsTheFortyFourScreensEachWithAFittingLayout)
{
    const std::map<std::string, ScreenBinding> all = bindingsByName();
    ASSERT_EQ(all.size(), 44u);
    ASSERT_EQ(screenLayouts().size(), 44u);
    for (const ScreenLayout& s : screenLayouts()) {
        ASSERT_EQ(all.count(s.name), 1u) << s.name;
        const std::vector<std::string> problems = s.make().check(all.at(s.name));
        EXPECT_TRUE(problems.empty()) << s.name << ": " << (problems.empty() ? "" : problems.front());
    }
    EXPECT_EQ(all.at("ButtonBar").handlers.size(), 18u);
    EXPECT_EQ(all.at("MenuIngame").handlers.size(), 14u);
    // Every screen's widget count, helper count and widget-count line.
    std::istringstream counts(
        "BuildingsDiscription 6 3 60 ButtonBar 18 0 105 Credits 1 0 35 Cursors 12 11 79 GameBackground3D 1 0 35 "
        "HappinessBar 5 1 50 MainMenuChooseProfile 6 12 81 MainMenuCreateProfile 6 5 56 MainMenuDeleteProfile 5 3 51 "
        "MainMenuStart 4 5 55 MenuAchievements 14 0 67 MenuBank 19 5 93 MenuBlueFolds 6 0 51 MenuBuildingBuySell 3 0 40 "
        "MenuBuildingBuySell1 15 9 105 MenuBuildingBuySell2 19 9 116 MenuBuildings 3 0 40 MenuBuildings1 15 15 123 "
        "MenuBuildings2 13 15 116 MenuBuyFood 16 6 96 MenuDateBar 5 0 44 MenuIngame 28 11 143 MenuIngameFold1 9 13 78 "
        "MenuIngameFold2 8 8 66 MenuIngameFold3 1 3 41 MenuLoading 5 0 43 MenuOptions 15 4 86 MenuOrange 1 0 35 "
        "MenuOrangeFolds 5 0 48 MenuPetBuySell 13 0 60 MenuPetBuySell1 33 30 219 MenuPetShowSummary 20 1 91 "
        "MenuPetsList 3 0 40 MenuPetsList1 10 18 113 MenuPetsShow 3 0 40 MenuPetsShow1 12 6 84 MenuRanking 14 0 67 "
        "MenuStatistics 14 0 67 MenuTickets 15 8 82 Popup 8 2 53 ProgressBar 8 0 56 ScrollPopup 23 2 106 "
        "TeachTrick 9 4 69 Tutorial 16 3 83");
    std::string name;
    int widgets = 0, helpers = 0, line = 0, screens = 0;
    for (; counts >> name >> widgets >> helpers >> line; ++screens) {
        ASSERT_EQ(all.count(name), 1u) << name;
        EXPECT_EQ(all.at(name).widgets, widgets) << name;
        EXPECT_EQ(all.at(name).helpers, helpers) << name;
        EXPECT_EQ(all.at(name).countLine, line) << name;
    }
    EXPECT_EQ(screens, 44);
}

TEST(BindingTable, KeepsTheListsInTheirGivenOrder)
{
    const std::map<std::string, ScreenBinding> all = bindingsByName();
    const TypedList& buttons = all.at("ButtonBar").lists.at(0);
    EXPECT_EQ(buttons.name, "mButtons0");
    EXPECT_EQ(buttons.entries.at(11).index, 12);
    EXPECT_EQ(buttons.entries.at(12).index, 11);
    const TypedList& rows = all.at("MainMenuChooseProfile").lists.at(2);
    EXPECT_EQ(rows.name, "mHelpers2");
    ASSERT_EQ(rows.entries.size(), 3u);
    EXPECT_TRUE(rows.entries[0].helper);
    EXPECT_EQ(rows.entries[0].index, 2);
    EXPECT_EQ(rows.entries[2].index, 0);
}

TEST(BindingTable, RefusesAListOutOfItsClassOrder)
{
    TempDir dir;
    const std::string path = dir.write("bindings.txt", "screen Tiny 2 0 37\n"
                                                       "members W0-W1\n"
                                                       "list mLabels0 W0\n"
                                                       "list mButtons0 W1\n");
    EXPECT_EXIT(readBindings(path), ::testing::ExitedWithCode(1), "bindings.txt:1: Tiny: typed lists are declared");
}

TEST(LayoutCheck, NamesWrongCountsClassesAndHandlersThatCannotBeClicked)
{
    ScreenBinding b;
    b.screen = "Tiny";
    b.widgets = 2;
    b.helpers = 1;
    b.handlers = {0};
    b.lists = {TypedList{"mLabels0", ElementClass::Label, {BoundElement{false, 1}}}};

    Layout tooFew("Tiny");
    tooFew.canvas("bg", Rect{0, 0, 8, 8}, nullptr);
    EXPECT_EQ(tooFew.check(b).size(), 2u);  // widgets and helpers

    Layout wrong("Tiny");
    wrong.canvas("bg", Rect{0, 0, 8, 8}, nullptr);
    wrong.canvas("title", Rect{0, 0, 8, 8}, nullptr);
    wrong.helper("spot", Rect{0, 0, 8, 8});
    const std::vector<std::string> problems = wrong.check(b);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(problems[0].find("mWidget1 (canvas_title_o) is in mLabels0 but is a WidgetCanvas"), std::string::npos);
    EXPECT_NE(problems[1].find("handler widget 0 (canvas_bg_o) does not react to the pointer"), std::string::npos);

    Layout right("Tiny");
    right.button("ok", Rect{0, 0, 8, 8}, ButtonLook{});
    right.label("title", 2, Rect{0, 0, 8, 8});
    right.helper("spot", Rect{0, 0, 8, 8});
    EXPECT_TRUE(right.check(b).empty());
}

TEST(LayoutText, WritesGroupsAndLooseLayersInCallOrder)
{
    Layout l("Tiny");
    l.canvas("bg", Rect{0, 0, 1024, 768}, nullptr, "");
    const Caption caption{"ok", 9, Rect{10, 4, 80, 32}};
    ButtonLook look;
    look.normal = look.over = [](Canvas&, float, float) {};
    l.button("ok", Rect{100, 200, 100, 40}, look, "oi", &caption);
    l.label("title", 2, Rect{10, 20, 300, 40});
    l.helper("spot", Rect{5, 6, 7, 8});
    EXPECT_EQ(l.text(), "1024 768 1\n"
                        "layer \"Tiny/bg.png\" \"canvas_bg\" 0 0 1024 768\n"
                        "groupBegin \"btn_ok_oi\"\n"
                        "layer \"Tiny/ok_normal.png\" \"normal\" 100 200 100 40\n"
                        "layer \"Tiny/ok_over.png\" \"over\" 100 200 100 40\n"
                        "layer \"../common/blank.png\" \"label_ok_9\" 110 204 80 32\n"
                        "groupEnd \"btn_ok_oi\"\n"
                        "layer \"../common/blank.png\" \"label_title_2_o\" 10 20 300 40\n"
                        "layer \"../common/blank.png\" \"helper_spot\" 5 6 7 8\n");
    EXPECT_EQ(l.pictures().size(), 3u);
    EXPECT_EQ(l.widgetNames(), (std::vector<std::string>{"canvas_bg", "btn_ok_oi", "label_title_2_o"}));
}

TEST(GeneratedBases, AreUpToDateWithTheTableAndTheLayouts)
{
    const std::map<std::string, ScreenBinding> all = bindingsByName();
    const std::string folder = std::string(PETPARK_SOURCE_DIR) + "/source_menu/generated/";
    for (const ScreenLayout& s : screenLayouts()) {
        const BaseSources expected = writeBase(all.at(s.name), s.make());
        const std::string base = folder + "_" + s.name;
        EXPECT_EQ(readFile(base + ".h"), expected.header)
            << base << ".h is stale: run mklayouts --bases tools/mklayouts/bindings.txt source_menu/generated";
        EXPECT_EQ(readFile(base + ".cpp"), expected.source)
            << base << ".cpp is stale: run mklayouts --bases tools/mklayouts/bindings.txt source_menu/generated";
    }
}

TEST(GeneratedBases, PutTheCountChecksOnTheTableLines)
{
    const std::map<std::string, ScreenBinding> all = bindingsByName();
    for (const ScreenLayout& s : screenLayouts()) {
        const ScreenBinding& b = all.at(s.name);
        std::istringstream lines(writeBase(b, s.make()).source);
        std::string line;
        for (int n = 1; std::getline(lines, line); ++n) {
            if (line.find("PP_REQUIRE_EXPORTED(mChildren.size()") != std::string::npos) {
                EXPECT_EQ(n, b.countLine) << s.name;
            }
            if (line.find("PP_REQUIRE_EXPORTED(mHelpers.size()") != std::string::npos) {
                EXPECT_EQ(n, b.countLine + 1) << s.name;
            }
        }
    }
}

// The normal picture of a layout's widget n (widgets counted without helpers), painted.
Canvas paintWidget(const Layout& l, int n)
{
    for (const Placement& p : l.placements()) {
        if (p.helper || n-- > 0)
            continue;
        const Picture& picture = l.pictures().at(size_t(p.picture));
        Canvas c(picture.w, picture.h);
        picture.paint(c, float(picture.w), float(picture.h));
        return c;
    }
    ADD_FAILURE() << "no widget";
    return Canvas(1, 1);
}

// Red of a pixel a fraction of the way across and down: the white icon is brighter than the blue face.
int redAt(const Canvas& c, float fx, float fy)
{
    return c.rgba()[(size_t(fy * c.height()) * c.width() + size_t(fx * c.width())) * 4];
}

// The layers of a layout by name: "label_<key>_<style>..." or "canvas_<id>..." to their rectangles.
struct NamedLayer {
    std::string name;
    Rect r;
};

std::vector<NamedLayer> layersOf(const Layout& layout)
{
    std::vector<NamedLayer> layers;
    std::istringstream lines(layout.text());
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("layer ", 0) != 0)
            continue;
        const size_t nameStart = line.find('"', line.find('"', 7) + 1) + 1;
        const size_t nameEnd = line.find('"', nameStart);
        NamedLayer layer{line.substr(nameStart, nameEnd - nameStart), Rect{}};
        std::istringstream numbers(line.substr(nameEnd + 1));
        numbers >> layer.r.x >> layer.r.y >> layer.r.w >> layer.r.h;
        layers.push_back(layer);
    }
    return layers;
}

// Font sizes (screen heights) of the styles of data/dat/fonts.dat, style 1 first.
std::vector<float> fontSizes()
{
    std::vector<float> sizes;
    std::istringstream lines(readFile(std::string(PETPARK_SOURCE_DIR) + "/data/dat/fonts.dat"));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream tokens(line);
        std::string font;
        float size = 0;
        if (tokens >> font >> size)
            sizes.push_back(size);
    }
    return sizes;
}

TEST(ReportLayouts, TheBanksAndStatisticsRowsFitTheTablesRowStepAndStayInTheirBox)
{
    const std::vector<float> sizes = fontSizes();
    ASSERT_GE(sizes.size(), size_t(font::kReportNumber));
    // Screen, its table box, its rows (the bank's 19 report words and separators and the total;
    // the statistics' 17).
    const struct {
        Layout layout;
        const char* box;
        int rows;
    } reports[] = {{layoutMenuBank(), "canvas_report_o", 20}, {layoutMenuStatistics(), "canvas_table_o", 17}};
    for (const auto& report : reports) {
        const std::vector<NamedLayer> layers = layersOf(report.layout);
        Rect box;
        for (const NamedLayer& l : layers)
            if (l.name == report.box)
                box = l.r;
        ASSERT_GT(box.h, 0) << report.layout.screen();
        int columns = 0;
        for (const NamedLayer& l : layers) {
            const bool rows = l.name.rfind("label_name_", 0) == 0;
            const bool header = l.name.rfind("label_lastmonth_", 0) == 0 || l.name.rfind("label_thismonth_", 0) == 0;
            if (!rows && !header)
                continue;
            const int style = std::stoi(l.name.substr(l.name.find('_', 6) + 1));
            if (rows && style != font::kReport && style != font::kReportNumber)
                continue;   // the cash and loan lines, the promotions
            const float size = sizes.at(style - 1);
            const std::string what = report.layout.screen() + " " + l.name;
            // The font is as high as the tables' row step of 0.017 screen heights, no higher.
            EXPECT_NEAR(size, 0.017f, 0.0002f) << what;
            EXPECT_LE(size * Layout::kHeight, l.r.h + 0.5f) << what << ": the text is higher than its row";
            EXPECT_GE(l.r.y, box.y) << what;
            if (rows) {
                ++columns;
                EXPECT_EQ(l.r.h, geo::kReportRow) << what;
                EXPECT_LE(l.r.y + report.rows * l.r.h, box.y + box.h) << what << ": the last row leaves the box";
            }
        }
        EXPECT_EQ(columns, 3) << report.layout.screen();
    }
}

TEST(HudLayout, TheZoomButtonThatStepsBackShowsMinusAndTheOneThatStepsInShowsPlus)
{
    // mWidget7 runs GameCamera::zoomStepA (backward), mWidget8 zoomStepB (forward). A plus has a
    // bright upright bar above the centre; a minus only the level bar through it.
    const Layout hud = layoutMenuIngame();
    const Canvas out = paintWidget(hud, 7);
    const Canvas in = paintWidget(hud, 8);
    for (float fy : {0.36f, 0.6f})
        EXPECT_GT(redAt(in, 0.5f, fy), redAt(out, 0.5f, fy) + 40) << fy;
    EXPECT_GT(redAt(out, 0.5f, 0.5f), 200);
    EXPECT_GT(redAt(in, 0.5f, 0.5f), 200);
}

TEST(HudLayout, TheCashsRisingAmountsPassNoPartOfAFold)
{
    // The cash account draws the recent amounts centred in the cash label (widget 10) and moves
    // them straight up from it; the label and the folds follow the same window edge. No element
    // of a fold stands above the label but each fold's panel (widget 0), whose picture is clear there.
    const Layout hud = layoutMenuIngame();
    Rect cash;
    int widget = 0;
    for (const Placement& p : hud.placements())
        if (!p.helper && widget++ == 10)
            cash = p.r;
    ASSERT_EQ(cash.h, 52);
    for (const Layout& fold : {layoutMenuIngameFold1(), layoutMenuIngameFold2(), layoutMenuIngameFold3()})
        for (size_t k = 1; k < fold.placements().size(); ++k) {
            const Rect r = fold.placements()[k].r;
            EXPECT_TRUE(r.x >= cash.x + cash.w || r.x + r.w <= cash.x || r.y >= cash.y) << fold.screen() << " " << k;
        }
}

TEST(TrickShowLayout, TheLessonsMoneyStaysOnTheDarkPlateWhileItFades)
{
    // The money label (widget 1) is drawn pure red or green and sinks by a tenth of the screen
    // height as it fades out: until it is half faded, all of it lies on the plate of the panels
    // picture (widget 2), dark and nearly opaque, never on the tent's red and tan stripes.
    const Layout show = layoutTeachTrick();
    const Rect money = show.placements().at(1).r;
    const Canvas panels = paintWidget(show, 2);
    ASSERT_EQ(panels.width(), int(Layout::kWidth));
    const std::vector<uint8_t> rgba = panels.rgba();
    const auto pixel = [&](int x, int y) { return &rgba[(size_t(y) * panels.width() + size_t(x)) * 4]; };
    for (int drop = 0; drop <= Layout::kHeight / 20; drop += 4)
        for (int y : {money.y, money.y + money.h - 1})
            for (int x : {money.x, money.x + money.w / 2, money.x + money.w - 1}) {
                const unsigned char* p = pixel(x, y + drop);
                EXPECT_GT(p[3], 200) << x << " " << y + drop;
                EXPECT_LT(p[0] + p[1] + p[2], 3 * 110) << x << " " << y + drop;
            }
}

// ---- screens shown together: the HUD, its folds and the date bar are drawn over the management
// panels, but every screen takes the clicks over its own buttons. So none of them may lie over a
// widget of a screen drawn before it that takes a click, and each stays whole in the window, at
// any window from 5:4 to 32:9 (both hold between the two when they hold at both: the places and
// the window's edges move linearly with the aspect).
const float kAspects[2] = {5.0f / 4.0f, 32.0f / 9.0f};

// Which window edge an element follows: none (the centred 4:3 canvas), the left or the right one,
// or both (stretched over the window).
enum class Edge { None, Left, Right, Stretched };

// How far an element following the edge lies from its 4:3 place at the aspect, in canvas pixels.
float edgeShift(Edge edge, float aspect)
{
    const float half = 0.3750094f * aspect * Layout::kWidth;
    if (edge == Edge::Left)
        return 0.5f * Layout::kWidth - half;
    return edge == Edge::Right ? half - 0.5f * Layout::kWidth : 0.0f;
}

struct Element {
    std::string name;
    Rect r;
    Edge edge;
    bool takesClicks;
};

// A layout's elements with their edges. Its buttons, checkboxes and edits take clicks, and so do
// its helpers of a button kind's size: the places where the screen draws its buttons.
std::vector<Element> elementsOf(const Layout& l, const std::function<Edge(bool helper, int index)>& edgeOf)
{
    std::vector<Element> elements;
    int widget = 0, helper = 0;
    for (const Placement& p : l.placements()) {
        const int index = p.helper ? helper++ : widget++;
        const Edge edge = edgeOf(p.helper, index);
        bool clicks = false;
        if (p.helper) {
            for (int kind = 0; kind < 18; ++kind)
                clicks = clicks || (geo::buttonKind(kind).w == p.r.w && geo::buttonKind(kind).h == p.r.h);
        } else {
            const ElementClass c = l.widgetClasses().at(size_t(index));
            clicks = c == ElementClass::Button || c == ElementClass::Checkbox || c == ElementClass::Edit;
        }
        const std::string name = p.helper ? l.helperNames().at(size_t(index)) : l.widgetNames().at(size_t(index));
        elements.push_back(Element{l.screen() + " " + name, p.r, edge, clicks});
    }
    return elements;
}

// The problems of a screen drawn over another: its elements lying over the other's clickable
// ones at some aspect between the two (the shift between two edges changes linearly with it).
// The date bar's pause shade, stretched over the window, shows only while the game is paused,
// when no screen takes input.
std::vector<std::string> overlaps(const std::vector<Element>& above, const std::vector<Element>& below)
{
    std::vector<std::string> problems;
    for (const Element& a : above)
        for (const Element& b : below) {
            if (a.edge == Edge::Stretched || !b.takesClicks || a.r.y >= b.r.y + b.r.h || b.r.y >= a.r.y + a.r.h)
                continue;
            const float d0 = edgeShift(a.edge, kAspects[0]) - edgeShift(b.edge, kAspects[0]);
            const float d1 = edgeShift(a.edge, kAspects[1]) - edgeShift(b.edge, kAspects[1]);
            if (a.r.x + std::min(d0, d1) < b.r.x + b.r.w && b.r.x < a.r.x + a.r.w + std::max(d0, d1))
                problems.push_back(a.name + " lies over " + b.name);
        }
    return problems;
}

// The elements not wholly in the window: a window of aspect a shows the canvas' whole height and
// its pixels within 0.3750094 * a * 1024 of its centre; a stretched element spans just that.
std::vector<std::string> outsideTheWindow(const std::vector<Element>& elements)
{
    std::vector<std::string> problems;
    for (const Element& e : elements)
        for (float aspect : kAspects) {
            const float shown = 0.3750094f * aspect * Layout::kWidth;
            const float left = e.r.x + edgeShift(e.edge, aspect);
            const bool inside = e.edge == Edge::Stretched ||
                                (left >= 0.5f * Layout::kWidth - shown - 0.01f &&
                                 left + e.r.w <= 0.5f * Layout::kWidth + shown + 0.01f);
            if (!inside || e.r.y < 0 || e.r.y + e.r.h > Layout::kHeight)
                problems.push_back(e.name + " leaves the window at aspect " + std::to_string(aspect));
        }
    return problems;
}

TEST(ScreensShownTogether, NoFoldHudOrDateBarLiesOverAButtonOfThePanelsOrScreensBelowOrLeavesTheWindow)
{
    std::map<std::string, Layout (*)()> make;
    for (const ScreenLayout& s : screenLayouts())
        make[s.name] = s.make;
    const auto centred = [](bool, int) { return Edge::None; };
    const auto left = [](bool, int) { return Edge::Left; };
    // The HUD: the park-wide buttons and the notices follow the right edge, the bar, the fold and
    // camera buttons and the cash the left one; the animal and visitor panels stay centred.
    const auto hud = [](bool helper, int i) {
        if (helper)
            return i <= 2 ? Edge::Right : Edge::None;
        if (i == 1 || i >= 23)
            return Edge::Right;
        return i <= 11 ? Edge::Left : Edge::None;
    };
    // The date bar's pause shade is stretched over the window.
    const auto dateBar = [](bool, int i) { return i == 1 ? Edge::Stretched : Edge::Left; };

    std::vector<std::vector<Element>> panels;
    int clickable = 0;
    for (const char* name : {"MenuOrange", "MenuOrangeFolds", "MenuTickets", "MenuBank", "MenuStatistics", "MenuRanking",
                             "MenuAchievements", "MenuBuyFood", "MenuBlueFolds", "MenuBuildingBuySell",
                             "MenuBuildingBuySell1", "MenuBuildingBuySell2", "MenuBuildings", "MenuBuildings1",
                             "MenuBuildings2", "MenuPetsList", "MenuPetsList1", "MenuPetsShow", "MenuPetsShow1",
                             "MenuPetBuySell", "MenuPetBuySell1", "BuildingsDiscription"}) {
        panels.push_back(elementsOf(make.at(name)(), centred));
        for (const Element& e : panels.back())
            clickable += e.takesClicks;
    }
    // Tabs 11, close buttons 11, browsers 6, cards 24, food 3, offers 10, pets 9, tickets 8, bank 5.
    EXPECT_EQ(clickable, 87);

    const std::vector<Element> folds[3] = {elementsOf(make.at("MenuIngameFold1")(), left),
                                           elementsOf(make.at("MenuIngameFold2")(), left),
                                           elementsOf(make.at("MenuIngameFold3")(), left)};
    const std::vector<Element> hudElements = elementsOf(make.at("MenuIngame")(), hud);
    const std::vector<Element> dateBarElements = elementsOf(make.at("MenuDateBar")(), dateBar);
    std::vector<std::string> problems;
    const auto add = [&problems](const std::vector<std::string>& more) {
        problems.insert(problems.end(), more.begin(), more.end());
    };
    for (const std::vector<Element>& panel : panels) {
        for (const std::vector<Element>& fold : folds)
            add(overlaps(fold, panel));
        add(overlaps(hudElements, panel));
        add(overlaps(dateBarElements, panel));
    }
    for (const std::vector<Element>& fold : folds) {
        add(overlaps(hudElements, fold));
        add(overlaps(dateBarElements, fold));
    }
    add(overlaps(dateBarElements, hudElements));
    for (const std::vector<Element>* elements : {&folds[0], &folds[1], &folds[2], &hudElements, &dateBarElements})
        add(outsideTheWindow(*elements));
    EXPECT_EQ(problems.size(), 0u);
    for (size_t k = 0; k < problems.size() && k < 40; ++k)
        ADD_FAILURE() << problems[k];
}

} // namespace
