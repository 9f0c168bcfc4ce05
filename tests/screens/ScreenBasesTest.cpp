// The screens' layout bases over the game's own layouts: every screen binds its layout with the
// exact counts and classes, members and typed lists point into the container's lists in the
// table's order, handlers run only while a screen is shown and in slot order, the first
// appearing update draws nothing, and a layout of the wrong size stops at the base's line.

#include "core/Singleton.h"
#include "fixtures/TempDir.h"
#include "park/GameBackground3D.h"
#include "park/TeachTrick.h"
#include "render/render.h"
#include "source_menu/BuildingsDiscription.h"
#include "source_menu/ButtonBar.h"
#include "source_menu/Credits.h"
#include "source_menu/Cursors.h"
#include "source_menu/HappinessBar.h"
#include "source_menu/MainMenuChooseProfile.h"
#include "source_menu/MainMenuCreateProfile.h"
#include "source_menu/MainMenuDeleteProfile.h"
#include "source_menu/MainMenuStart.h"
#include "source_menu/MenuAchievements.h"
#include "source_menu/MenuBank.h"
#include "source_menu/MenuBlueFolds.h"
#include "source_menu/MenuBuildingBuySell.h"
#include "source_menu/MenuBuildingBuySell1.h"
#include "source_menu/MenuBuildingBuySell2.h"
#include "source_menu/MenuBuildings.h"
#include "source_menu/MenuBuildings1.h"
#include "source_menu/MenuBuildings2.h"
#include "source_menu/MenuBuyFood.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuIngame.h"
#include "source_menu/MenuIngameFold1.h"
#include "source_menu/MenuIngameFold2.h"
#include "source_menu/MenuIngameFold3.h"
#include "source_menu/MenuLoading.h"
#include "source_menu/MenuOptions.h"
#include "source_menu/MenuOrange.h"
#include "source_menu/MenuOrangeFolds.h"
#include "source_menu/generated/_MenuOrange.h"
#include "source_menu/MenuPetBuySell.h"
#include "source_menu/MenuPetBuySell1.h"
#include "source_menu/MenuPetShowSummary.h"
#include "source_menu/MenuPetsList.h"
#include "source_menu/MenuPetsList1.h"
#include "source_menu/MenuPetsShow.h"
#include "source_menu/MenuPetsShow1.h"
#include "source_menu/MenuRanking.h"
#include "source_menu/MenuStatistics.h"
#include "source_menu/MenuTickets.h"
#include "source_menu/Popup.h"
#include "source_menu/ProgressBar.h"
#include "source_menu/ScrollPopup.h"
#include "source_menu/Tutorial.h"
#include "source_menu/generated/_MenuIngame.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetCheckbox.h"
#include "toolkit/widgets/WidgetEdit.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kResources = std::string(PETPARK_APP_DIR) + "/Resources";

// Widget and helper counts of every screen, from the binding table.
std::map<std::string, std::pair<size_t, size_t>> tableCounts()
{
    std::map<std::string, std::pair<size_t, size_t>> counts;
    std::ifstream table(std::string(PETPARK_SOURCE_DIR) + "/tools/mklayouts/bindings.txt");
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream words(line);
        std::string keyword, screen;
        size_t w = 0, m = 0;
        if (words >> keyword >> screen >> w >> m && keyword == "screen")
            counts[screen] = {w, m};
    }
    return counts;
}

std::string layoutOf(const std::string& screen)
{
    return "data/psd/" + screen + ".txt";
}

// The game's texts and font styles, read before the screens as at start-up (the fonts'
// pictures are not loaded: there is no engine).
void loadTextsAndStyles()
{
    textsManager.load(kResources + "/data/dat/texts.dat");
    Render* engine = Render::current();
    Render::set_current(nullptr);
    Singleton<FontStylesMgr>::get()->load(kResources + "/data/dat/fonts.dat");
    Render::set_current(engine);
}

// Runs in the application's resources folder.
class ScreenBases : public ::testing::Test {
protected:
    static void SetUpTestSuite() { loadTextsAndStyles(); }
    ScreenBases() : home(fs::current_path()) { fs::current_path(kResources); }
    ~ScreenBases() override { fs::current_path(home); }

    fs::path home;
};

// The screens as the game makes them (singletons, which live for the whole run).
#define SCREEN(T) {#T, [] { return static_cast<Container*>(Singleton<T>::get()); }}

const std::vector<std::pair<std::string, Container* (*)()>> kScreens = {
    SCREEN(BuildingsDiscription), SCREEN(ButtonBar), SCREEN(Credits), SCREEN(Cursors),
    SCREEN(GameBackground3D), SCREEN(HappinessBar), SCREEN(MainMenuChooseProfile),
    SCREEN(MainMenuCreateProfile), SCREEN(MainMenuDeleteProfile), SCREEN(MainMenuStart),
    SCREEN(MenuAchievements), SCREEN(MenuBank), SCREEN(MenuBlueFolds), SCREEN(MenuBuildingBuySell),
    SCREEN(MenuBuildingBuySell1), SCREEN(MenuBuildingBuySell2), SCREEN(MenuBuildings),
    SCREEN(MenuBuildings1), SCREEN(MenuBuildings2), SCREEN(MenuBuyFood), SCREEN(MenuDateBar),
    SCREEN(MenuIngame), SCREEN(MenuIngameFold1), SCREEN(MenuIngameFold2), SCREEN(MenuIngameFold3),
    SCREEN(MenuLoading), SCREEN(MenuOptions), SCREEN(MenuOrange), SCREEN(MenuOrangeFolds),
    SCREEN(MenuPetBuySell), SCREEN(MenuPetBuySell1), SCREEN(MenuPetShowSummary), SCREEN(MenuPetsList),
    SCREEN(MenuPetsList1), SCREEN(MenuPetsShow), SCREEN(MenuPetsShow1), SCREEN(MenuRanking),
    SCREEN(MenuStatistics), SCREEN(MenuTickets), SCREEN(Popup), SCREEN(ProgressBar), SCREEN(ScrollPopup),
    SCREEN(TeachTrick), SCREEN(Tutorial),
};

#undef SCREEN

std::string lowered(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

TEST_F(ScreenBases, EveryScreenBindsItsLayoutWithTheTablesCounts)
{
    const auto counts = tableCounts();
    ASSERT_EQ(counts.size(), 44u);
    ASSERT_EQ(kScreens.size(), 44u);
    for (const auto& [name, get] : kScreens) {
        Container* screen = get();
        // Another suite of this program may have read the layout already; a second init would
        // bind the lists again.
        if (screen->mChildren.empty())
            screen->init(layoutOf(name).c_str());  // stops on a wrong count or class
        EXPECT_EQ(screen->mChildren.size(), counts.at(name).first) << name;
        EXPECT_EQ(screen->mHelpers.size(), counts.at(name).second) << name;
        EXPECT_EQ(screen->name, lowered(name));
        for (WidgetBase* child : screen->mChildren)
            EXPECT_EQ(child->name.empty(), false) << name;
    }
}

TEST_F(ScreenBases, EveryLayoutNamesExistingPicturesAndKnownTexts)
{
    for (const auto& entry : kScreens) {
        std::ifstream layout(layoutOf(entry.first));
        ASSERT_TRUE(layout) << entry.first;
        std::string line;
        while (std::getline(layout, line)) {
            // layer "<file>" "<name>" x y w h
            std::vector<std::string> quoted;
            for (size_t at = line.find('"'); at != std::string::npos; at = line.find('"', at + 1)) {
                const size_t end = line.find('"', at + 1);
                quoted.push_back(line.substr(at + 1, end - at - 1));
                at = end;
            }
            if (line.compare(0, 6, "layer ") != 0 || quoted.size() != 2)
                continue;
            const std::string file = quoted[0].compare(0, 3, "../") == 0 ? "data/" + quoted[0].substr(3)
                                                                          : "data/psd/" + quoted[0];
            EXPECT_TRUE(fs::exists(file)) << entry.first << ": " << file;
            const std::string& name = quoted[1];
            if (name.compare(0, 6, "label_") == 0) {
                const std::string key = name.substr(6, name.find('_', 6) - 6);
                EXPECT_NE(std::wstring(textsManager.get(std::wstring(key.begin(), key.end()).c_str())), L"missing text")
                    << entry.first << ": " << key;
            }
        }
    }
}

TEST_F(ScreenBases, MembersAndTypedListsPointIntoTheListsInTheTablesOrder)
{
    MenuBank bank;
    bank.init(layoutOf("MenuBank").c_str());
    EXPECT_EQ(bank.mWidget0, bank.mChildren[0]);
    EXPECT_EQ(bank.mWidget18, bank.mChildren[18]);
    EXPECT_EQ(bank.mHelper0, bank.mHelpers[0]);
    EXPECT_EQ(bank.mHelper4, bank.mHelpers[4]);
    EXPECT_EQ(bank.mLabels2, (std::vector<WidgetLabel*>{bank.mWidget5, bank.mWidget6, bank.mWidget7}));
    EXPECT_EQ(bank.mLabels1, (std::vector<WidgetLabel*>{bank.mWidget17, bank.mWidget18}));
    EXPECT_EQ(bank.mHelpers0, (std::vector<WidgetHelper*>{bank.mHelper0, bank.mHelper1, bank.mHelper2}));

    ButtonBar bar;
    bar.init(layoutOf("ButtonBar").c_str());
    ASSERT_EQ(bar.mButtons0.size(), 18u);
    EXPECT_EQ(bar.mButtons0[10], bar.mWidget10);
    EXPECT_EQ(bar.mButtons0[11], bar.mWidget12);
    EXPECT_EQ(bar.mButtons0[12], bar.mWidget11);
    EXPECT_EQ(bar.mButtons0[17], bar.mWidget17);

    MainMenuChooseProfile chooser;
    chooser.init(layoutOf("MainMenuChooseProfile").c_str());
    EXPECT_EQ(chooser.mHelpers2, (std::vector<WidgetHelper*>{chooser.mHelper2, chooser.mHelper1, chooser.mHelper0}));
    EXPECT_EQ(chooser.mHelper11, chooser.mHelpers[11]);

    MenuPetShowSummary summary;
    summary.init(layoutOf("MenuPetShowSummary").c_str());
    EXPECT_EQ(summary.mCanvases0, (std::vector<WidgetCanvas*>{summary.mWidget16, summary.mWidget15, summary.mWidget14,
                                                              summary.mWidget13, summary.mWidget12, summary.mWidget11}));

    Cursors cursors;
    cursors.init(layoutOf("Cursors").c_str());
    EXPECT_EQ(cursors.mWidget5, cursors.mChildren[5]);
    EXPECT_EQ(cursors.mHelper10, cursors.mHelpers[10]);

    ScrollPopup scroll;
    scroll.init(layoutOf("ScrollPopup").c_str());
    ASSERT_EQ(scroll.mCheckboxes0.size(), 5u);
    EXPECT_EQ(scroll.mCheckboxes0[0], scroll.mWidget15);
    EXPECT_EQ(scroll.mCheckboxes0[4], scroll.mWidget19);

    // The cash account draws into the HUD's label; the profile name is typed into an edit.
    MenuIngame hud;
    hud.init(layoutOf("MenuIngame").c_str());
    EXPECT_EQ(hud.mWidget10, hud.mChildren[10]);
    MainMenuCreateProfile create;
    create.init(layoutOf("MainMenuCreateProfile").c_str());
    EXPECT_NE(dynamic_cast<WidgetTextEdit*>(create.mWidget3), nullptr);
}

TEST_F(ScreenBases, APresetNameSurvivesInit)
{
    MenuOrange frame;
    frame.name = "orangeframe";
    frame.init(layoutOf("MenuOrange").c_str());
    EXPECT_EQ(frame.name, "orangeframe");
    EXPECT_EQ(frame.mWidget0->name, "canvas_frame");  // a named child keeps its own name
}

// The HUD base with handlers that record each call: the slot's widget and the pair it got.
class RecordingHud : public _MenuIngame {
public:
    struct Call {
        int widget, previous, current;
    };
    std::vector<Call> calls;
    std::function<void(int)> during;  // runs inside each handler, after it is recorded

    void onWidget2(int p, int c) override { record(2, p, c); }
    void onWidget3(int p, int c) override { record(3, p, c); }
    void onWidget4(int p, int c) override { record(4, p, c); }
    void onWidget5(int p, int c) override { record(5, p, c); }
    void onWidget6(int p, int c) override { record(6, p, c); }
    void onWidget7(int p, int c) override { record(7, p, c); }
    void onWidget8(int p, int c) override { record(8, p, c); }
    void onWidget16(int p, int c) override { record(16, p, c); }
    void onWidget22(int p, int c) override { record(22, p, c); }
    void onWidget23(int p, int c) override { record(23, p, c); }
    void onWidget24(int p, int c) override { record(24, p, c); }
    void onWidget25(int p, int c) override { record(25, p, c); }
    void onWidget26(int p, int c) override { record(26, p, c); }
    void onWidget27(int p, int c) override { record(27, p, c); }

private:
    void record(int widget, int p, int c)
    {
        calls.push_back(Call{widget, p, c});
        if (during)
            during(widget);
    }
};

std::vector<int> widgetsOf(const std::vector<RecordingHud::Call>& calls)
{
    std::vector<int> widgets;
    for (const RecordingHud::Call& call : calls)
        widgets.push_back(call.widget);
    return widgets;
}

TEST_F(ScreenBases, HandlersRunOnlyWhileShownInSlotOrderEachWithThePairReadJustBefore)
{
    RecordingHud hud;
    hud.init(layoutOf("MenuIngame").c_str());
    const std::vector<int> slotOrder{2, 3, 4, 5, 6, 7, 8, 16, 22, 23, 24, 25, 26, 27};

    hud.setStateAll("game", 2, 50);
    int updates = 0;
    while (hud.getShowStates().second != kShowShown) {
        hud.update();
        ++updates;
        ASSERT_LT(updates, 20);
        if (hud.getShowStates().second != kShowShown) {
            EXPECT_TRUE(hud.calls.empty()) << "no handler while appearing";
        }
    }
    // The update in which the screen became shown already runs the handlers.
    EXPECT_EQ(widgetsOf(hud.calls), slotOrder);

    // A handler that changes a later widget: that widget's handler sees the change.
    hud.calls.clear();
    hud.during = [&hud](int widget) {
        if (widget == 8)
            hud.mWidget16->setLayerState(kLayerReleased);
    };
    hud.update();
    ASSERT_EQ(widgetsOf(hud.calls), slotOrder);
    EXPECT_EQ(hud.calls[7].widget, 16);
    EXPECT_EQ(hud.calls[7].previous, kLayerNormal);
    EXPECT_EQ(hud.calls[7].current, kLayerReleased);

    // Hiding: no handler runs while disappearing or hidden.
    hud.during = nullptr;
    hud.setStateAll("game", 0, 50);
    hud.calls.clear();
    for (int k = 0; k < 12; ++k)
        hud.update();
    EXPECT_TRUE(hud.calls.empty());
    EXPECT_EQ(hud.getShowStates().second, kShowHidden);
}

// A widget that counts its draws, added to a screen after init.
class DrawCounter : public WidgetBase {
public:
    int draws = 0;
    void init(const char*) override {}
    void load() override {}
    void unload() override {}
    void update() override { stepState(); }
    void draw() override
    {
        if (isVisible())
            ++draws;
    }
    void onFrame() override {}
};

TEST_F(ScreenBases, TheUpdateInWhichAScreenIsAskedToShowDrawsNothing)
{
    // The generated base alone: the frame's own update stands while a popup is open.
    _MenuOrange frame;
    frame.init(layoutOf("MenuOrange").c_str());
    DrawCounter* counter = new DrawCounter();  // owned by the screen from here on
    frame.mChildren.push_back(counter);

    frame.setStateAll("game", 2, 250);
    // The pair (hidden, appearing) lasts until the first update has recorded the start.
    frame.draw();
    frame.update();
    ASSERT_EQ(frame.getShowStates(), std::make_pair(int(kShowHidden), int(kShowAppearing)));
    frame.draw();
    EXPECT_EQ(counter->draws, 0);
    frame.update();
    frame.draw();
    EXPECT_EQ(counter->draws, 1);
}

// A copy of a game layout below a temporary folder, changed by the test.
class BrokenLayout : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        loadTextsAndStyles();
        // Other screen tests leave the background loader's thread running: a forked child
        // could inherit a lock it holds, so the death tests run in a fresh process.
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
    BrokenLayout() : home(fs::current_path())
    {
        fs::create_directories(dir.file("data/psd"));
        fs::current_path(dir.path());
    }
    ~BrokenLayout() override { fs::current_path(home); }
    // Other screen tests leave the loader's thread working: the dying child starts afresh.
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }

    // The screen's layout with `from` replaced by `to` (the first occurrence), with `to`
    // appended when `from` is empty, or without the line holding `from` when `to` is empty.
    void writeChanged(const std::string& screen, const std::string& from, const std::string& to)
    {
        std::ifstream in(kResources + "/" + layoutOf(screen), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        std::string layout = text.str();
        if (from.empty()) {
            layout += to;
        } else if (to.empty()) {
            const size_t at = layout.find(from);
            ASSERT_NE(at, std::string::npos);
            const size_t start = layout.rfind('\n', at) + 1;
            layout.erase(start, layout.find('\n', at) + 1 - start);
        } else {
            const size_t at = layout.find(from);
            ASSERT_NE(at, std::string::npos);
            layout.replace(at, from.size(), to);
        }
        dir.write(layoutOf(screen), layout);
    }

    fs::path home;
    TempDir dir;
};

TEST_F(BrokenLayout, OneWidgetTooManyStopsAtTheWidgetCountLine)
{
    writeChanged("MenuBank", "", "layer \"MenuBank/report.png\" \"canvas_extra\" 0 0 10 10\n");
    MenuBank bank;
    EXPECT_DEATH(bank.init(layoutOf("MenuBank").c_str()),
                 "source_menu/generated/_MenuBank\\.cpp:93: failed assertion `!\"plik jest niewyeksportowany!\"'");
}

TEST_F(BrokenLayout, AMissingHelperStopsAtTheHelperCountLine)
{
    writeChanged("MenuBank", "\"helper_repay\"", "");
    MenuBank bank;
    EXPECT_DEATH(bank.init(layoutOf("MenuBank").c_str()),
                 "source_menu/generated/_MenuBank\\.cpp:94: failed assertion `!\"plik jest niewyeksportowany!\"'");
}

TEST_F(BrokenLayout, AOneWidgetScreenWithASecondWidgetStopsAtLine35)
{
    writeChanged("MenuOrange", "", "layer \"MenuOrange/frame.png\" \"canvas_more\" 0 0 10 10\n");
    MenuOrange frame;
    EXPECT_DEATH(frame.init(layoutOf("MenuOrange").c_str()), "_MenuOrange\\.cpp:35: failed assertion");
}

TEST_F(BrokenLayout, AnElementOfTheWrongClassStopsWithItsScreenAndIndex)
{
    // The bank's first row label (widget 12, in a typed list of labels) made a canvas.
    writeChanged("MenuBank", "\"label_name_18_o\"", "\"canvas_wrong\"");
    MenuBank bank;
    EXPECT_DEATH(bank.init(layoutOf("MenuBank").c_str()),
                 "layout of menubank: widget 12 \\(canvas_wrong\\) must be a label");
}

} // namespace
