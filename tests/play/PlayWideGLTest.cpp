// The built game played in a window wider than 4:3 and in a window resized while the park
// runs. The screens' layouts are drawn on a 4:3 canvas centred in the window, while the HUD's
// bar, its folds and the date bar keep to the window's left edge: each panel must lie within
// the window with its buttons showing and taking clicks where the layouts put them, at the
// first size and after a resize. Input goes through the X server's test extension; each step
// waits, with a deadline of the game's time, for a sign on the screen or in the saved files. The last steps'
// pictures and the game's console are written to "<build>/Testing/playwide/<test>/" when a
// test fails (or when PETPARK_KEEP_PLAY is set).

#include "fixtures/GameWindow.h"
#include "fixtures/PlaySession.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>
// After gtest: the X headers define macros such as None and Bool.
#include <X11/keysym.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

const int kStartMs = PlaySession::kStartMs;

// The colours of the panels' title bars and of their titles' letters.
struct Colour {
    double r, g, b;
};
const Colour kGreenTitleBar{109, 193, 117};
const Colour kBlueTitleBar{98, 159, 226};
const Colour kOrangeTitleBar{236, 168, 83};

// A management panel of the layouts (a frame with a title bar, a title and a close button),
// as the window shows it.
class Panel {
public:
    // The screen's layout holds its close button and title; the frame is its own or, for the
    // finance screens, the finance frame's.
    Panel(GameWindow& game, const std::string& screen, const Colour& titleBar, const std::string& frameScreen = "")
        : mGame(game), mLayout(game.layout(screen)), mTitleBar(titleBar),
          mFrame(game.layout(frameScreen.empty() ? screen : frameScreen)("canvas_frame_o")),
          mClose(mLayout("btn_close_oi"))
    {
    }

    // Both ends of the title bar show its colour: the frame is drawn there, whole.
    bool shown(const Picture& p) const
    {
        const std::vector<double> left = mGame.meanColour(p, titleBar(0.06f));
        const std::vector<double> right = mGame.meanColour(p, titleBar(0.75f));
        auto near = [this](const std::vector<double>& m) {
            return std::abs(m[0] - mTitleBar.r) + std::abs(m[1] - mTitleBar.g) + std::abs(m[2] - mTitleBar.b) < 60.0;
        };
        return near(left) && near(right);
    }

    // The frame lies within the window, its close button shows (red about a white cross) and
    // its title's letters stay inside the title's box.
    void expectWhole(const Picture& p, const std::string& titleBox) const
    {
        const std::string& name = titleBox;
        EXPECT_GE(mGame.toX(mFrame.x), 0) << name;
        EXPECT_LE(mGame.toX(mFrame.x + mFrame.w), mGame.width()) << name;
        EXPECT_GE(mGame.toY(mFrame.y), 0) << name;
        EXPECT_LE(mGame.toY(mFrame.y + mFrame.h), mGame.height()) << name;
        const std::vector<double> close = mGame.meanColour(p, mClose);
        EXPECT_GT(close[0], close[1] + 15) << name << ": the close button shows";
        // The title's letters: pale yellow, searched for along the whole title bar.
        const CanvasRect box = mLayout(titleBox);
        const CanvasRect bar{mFrame.x, box.y, mClose.x - mFrame.x, box.h};
        int first = -1, last = -1;
        for (int y = std::max(0, mGame.toY(bar.y)); y < std::min(mGame.height(), mGame.toY(bar.y + bar.h)); ++y)
            for (int x = std::max(0, mGame.toX(bar.x)); x < std::min(mGame.width(), mGame.toX(bar.x + bar.w)); ++x) {
                const unsigned char* c = &p[(size_t(y) * mGame.width() + x) * 3];
                if (c[0] > 235 && c[1] > 200 && c[2] > 110 && c[2] < 190) {
                    first = first < 0 ? x : std::min(first, x);
                    last = std::max(last, x);
                }
            }
        EXPECT_GE(first, 0) << name << ": the title is written";
        EXPECT_GE(first, mGame.toX(box.x)) << name << ": the title starts inside its box";
        EXPECT_LE(last, mGame.toX(box.x + box.w)) << name << ": the title ends inside its box";
    }

    const Layout& layout() const { return mLayout; }
    CanvasRect frame() const { return mFrame; }
    CanvasRect close() const { return mClose; }

private:
    // A stretch of the title bar left of its title, or right of it and clear of the close button.
    CanvasRect titleBar(float from) const
    {
        return {mFrame.x + from * mFrame.w, mFrame.y + 0.015f, 0.1f * mFrame.w, 0.03f};
    }

    GameWindow& mGame;
    Layout mLayout;
    Colour mTitleBar;
    CanvasRect mFrame;
    CanvasRect mClose;
};

// The steps both plays share: making the first profile, the tutorial's tips, the HUD's folds
// and panels, and leaving the game through its quit question.
class Player {
public:
    Player(GameWindow& game, PlaySession& play)
        : game(game), play(play), create(game.layout("MainMenuCreateProfile")), start(game.layout("MainMenuStart")),
          tutorial(game.layout("Tutorial")), hud(game.layout("MenuIngame")), popup(game.layout("Popup"))
    {
    }

    // The first start: a profile of that name made, then Play; returns the picture of the menu.
    Picture newProfileAndPlay(const std::wstring& name, const std::string& saved)
    {
        const Picture empty = play.steady("NewProfile", play.colour(create("canvas_field_o"), 220, 218, 212),
                                          create("canvas_field_o"), kStartMs);
        game.tap(create("edit_name_o"));
        game.type(name);
        play.step("NameTyped", play.changes(empty, create("helper_create")));
        game.tap(create("helper_create"));
        EXPECT_TRUE(play.fileHolds(kProfileFile, "[name]\n" + saved + "\n")) << "the profile is written";
        const Picture menu = play.steady("MainMenu", play.changes(empty, start("helper_play")), start("helper_play"));
        game.click(start("helper_play"));
        return menu;
    }

    // A tutorial tip: its avatar in a golden frame on the dark panel.
    bool tipShown(const Picture& p) const
    {
        const CanvasRect frame = tutorial("canvas_avatarframe_o");
        const CanvasRect edge{frame.x + 0.025f * frame.w, frame.y + 0.2f * frame.h, 0.02f * frame.w, 0.6f * frame.h};
        const CanvasRect ok = tutorial("helper_ok");
        const CanvasRect text = tutorial("label_name_1_o");
        const CanvasRect floor{text.x, ok.y - 0.012f, text.w, 0.01f};
        const std::vector<double> e = game.meanColour(p, edge);
        const std::vector<double> f = game.meanColour(p, floor);
        return e[0] > 170 && e[1] > 130 && e[2] < 130 && f[0] + f[1] + f[2] < 240;
    }

    // Waits for a tip whose title differs from the picture before; returns it steady.
    Picture tip(const std::string& name, const Picture& before, int ms = PlaySession::kStepMs)
    {
        return play.steady(name, [this, before](const Picture& p) {
            return tipShown(p) && game.changed(before, p, tutorial("label_name_2_o")) > 0.02;
        }, tutorial("canvas_avatarframe_o"), ms);
    }

    // The park with no tip, its cash steady.
    Picture park(const std::string& name)
    {
        return play.steady(name, [this](const Picture& p) { return !tipShown(p); }, cashBox());
    }

    // The HUD's cash and the date bar's date, where the game draws them.
    CanvasRect cashBox() const { return game.atLeftEdge(hud("label_name_12_o")); }
    CanvasRect dateBox() const { return game.atLeftEdge(game.layout("MenuDateBar")("label_name_11_o")); }

    // Opens a HUD fold with its button: the fold's buttons come in at the window's left edge (in
    // place of another fold's, which look much alike: a small share of the row changes).
    void openFold(const std::string& name, const char* button)
    {
        const CanvasRect divider = game.layout("MenuIngameFold2")("canvas_divider");
        const CanvasRect buttons = game.atLeftEdge({divider.x, divider.y, divider.w, 0.06f});
        const Picture before = play.last();
        game.tap(game.atLeftEdge(hud(button)));
        play.steady(name, play.changes(before, buttons, 0.05), buttons);
    }

    // Opens a panel from a fold's button: whole and within the window once shown.
    Picture openPanel(const std::string& name, const Panel& panel, const CanvasRect& foldButton, const char* titleBox)
    {
        game.tap(game.atLeftEdge(foldButton));
        const Picture shown = play.steady(name, [&panel](const Picture& p) { return panel.shown(p); }, panel.frame());
        panel.expectWhole(shown, titleBox);
        return shown;
    }

    // Closes the panel with its close button: the park shows where its frame was, and what the
    // closing moves (the panel's fade, the fold it came from) has stopped, since the HUD takes
    // no fold button while a fold moves.
    void closePanel(const std::string& name, const Panel& panel)
    {
        game.tap(panel.close());
        play.steady(name, [&panel](const Picture& p) { return !panel.shown(p); }, cashBox());
    }

    // The quit question over what shows.
    Picture quitQuestion(const std::string& name)
    {
        const Picture before = play.last();
        game.pressKey(XK_Escape);
        return play.steady(name, play.changes(before, popup("canvas_frame_o")), popup("canvas_frame_o"));
    }

    // From the main menu: Exit, its question's Ok, the credits left with a click: the game ends.
    void exitFromMenu(const std::string& name, const Picture& inPark)
    {
        const Picture menu =
            play.steady(name + "MainMenu", play.changes(inPark, start("helper_exit")), start("helper_exit"));
        game.tap(start("helper_exit"));
        const Picture question =
            play.steady(name + "ExitQuestion", play.changes(menu, popup("canvas_frame_o")), popup("canvas_frame_o"));
        game.tap(popup("helper_ok"));
        const CanvasRect credits = game.layout("Credits")("canvas_credits_o");
        play.steady(name + "Credits", play.changes(question, credits, 0.5), credits);
        game.tap(credits);
        EXPECT_TRUE(game.waitEnd()) << name << ": the game ended";
    }

    GameWindow& game;
    PlaySession& play;
    const Layout create, start, tutorial, hud, popup;
};

// A first start in a 1280x720 window: the canvas centred, the HUD at the window's left edge,
// its three folds and the panels opened and closed where the layouts put their buttons, the
// finance frame's tabs, the quit question over a panel (Escape) cancelled and then confirmed;
// started again, the park shows the cash and date it was left with.
TEST(PlayWide, WideWindowPanelsQuitAndReload)
{
    TempDir dir;
    GameWindow game(dir);
    PlaySession play("playwide", "WideWindowPanelsQuitAndReload", dir, game);
    Player player(game, play);
    dir.write(kOptionsFile, firstOptions(1280, 720));
    slowDays(dir);
    ASSERT_TRUE(play.start()) << game.output().substr(0, 3000);
    ASSERT_EQ(game.width(), 1280);
    ASSERT_EQ(game.height(), 720);

    const Picture menu = player.newProfileAndPlay(L"Wide", "Wide");
    // The first tip, put away for good with its "No more tips" button.
    player.tip("Welcome", menu, kStartMs);
    game.tap(player.tutorial("helper_turnoff"));
    const Picture park = player.park("InPark");

    // The options fold opens at the window's left edge, and closes, with its button.
    const CanvasRect optionsFold = game.atLeftEdge(game.layout("MenuIngameFold3")("canvas_panel_o"));
    game.tap(game.atLeftEdge(player.hud("btn_fold3")));
    play.steady("OptionsFold", play.changes(park, optionsFold), optionsFold);
    game.tap(game.atLeftEdge(player.hud("btn_fold3")));
    play.steady("OptionsFoldClosed", [&](const Picture& p) { return game.changed(park, p, optionsFold) < 0.1; },
                player.cashBox());

    // The pets fold, then the food shop from it.
    const Layout petsFold = game.layout("MenuIngameFold1");
    const Layout buildingsFold = game.layout("MenuIngameFold2");
    const Panel food(game, "MenuBuyFood", kGreenTitleBar);
    player.openFold("PetsFold", "btn_fold1");
    const Picture shop = player.openPanel("FoodShop", food, petsFold("helper_buyfood"), "label_buyfoodtitle_2_o");
    const CanvasRect buyButton = food.layout()("helper_buy1");
    // Left of its word: the button's pale yellow.
    const CanvasRect buyLeft{buyButton.x + 0.05f * buyButton.w, buyButton.y + 0.3f * buyButton.h, 0.15f * buyButton.w,
                             0.4f * buyButton.h};
    const std::vector<double> buy = game.meanColour(shop, buyLeft);
    EXPECT_GT(buy[0] + buy[1], 400) << "the first food's Buy button shows";
    player.closePanel("FoodShopClosed", food);

    // The buildings to buy, with the cats' tab chosen.
    const Panel buildings(game, "MenuBuildingBuySell", kBlueTitleBar);
    player.openFold("BuildingsFold", "btn_fold2");
    const Picture dogs = player.openPanel("BuyBuildings", buildings, buildingsFold("helper_buildingbuysell"),
                                          "label_buildingbuyselltitle_2_o");
    const CanvasRect firstCard = game.layout("MenuBuildingBuySell2")("label_name_3_o");
    // The tab strip, like the finance frame's, takes a click only half a second after it opened.
    game.settle(PlaySession::kTabGateMs);
    game.tap(game.layout("MenuBlueFolds")("btn_cat_o"));
    play.steady("CatBuildings", play.changes(dogs, firstCard, 0.03), firstCard);
    player.closePanel("BuyBuildingsClosed", buildings);

    // The pets on offer.
    const Panel pets(game, "MenuPetBuySell", kBlueTitleBar);
    player.openFold("PetsFoldAgain", "btn_fold1");
    player.openPanel("TakeInPets", pets, petsFold("helper_petbuysell"), "label_petbuyselltitle_2_o");
    player.closePanel("TakeInPetsClosed", pets);
    const Picture parkAgain = player.park("InParkAgain");

    // The finance frame opens on the prices; each tab shows its own screen.
    const Layout tabs = game.layout("MenuOrangeFolds");
    player.openFold("BuildingsFoldAgain", "btn_fold2");
    const Panel prices(game, "MenuTickets", kOrangeTitleBar, "MenuOrange");
    Picture before = player.openPanel("Prices", prices, buildingsFold("helper_finances"), "label_ticketstitle_2_o");
    const CanvasRect frame = prices.frame();
    const CanvasRect inside{frame.x + 0.05f * frame.w, frame.y + 0.15f * frame.h, 0.9f * frame.w, 0.5f * frame.h};
    const struct {
        const char* tab;
        const char* screen;
        const char* title;
    } screens[] = {{"btn_bank_o", "MenuBank", "label_banktitle_2_o"},
                   {"btn_statistics_o", "MenuStatistics", "label_statisticsheading_2_o"},
                   {"btn_achievements_o", "MenuAchievements", "label_achievementsheading_2_o"},
                   {"btn_ranking_o", "MenuRanking", "label_rankingheading_2_o"}};
    for (const auto& screen : screens) {
        const Panel tab(game, screen.screen, kOrangeTitleBar, "MenuOrange");
        // The strip takes a tab only half a second after it stands or after the last switch.
        game.settle(PlaySession::kTabGateMs);
        game.tap(tabs(screen.tab));
        play.step(screen.screen, play.changes(before, inside, 0.05));
        before = play.steady(std::string(screen.screen) + "Shown", [&tab](const Picture& p) { return tab.shown(p); },
                             inside);
        tab.expectWhole(before, screen.title);
    }

    // Escape over the frame asks the quit question; Cancel leaves the frame as it was.
    player.quitQuestion("QuitQuestionOverFinances");
    game.tap(player.popup("helper_cancel"));
    const Panel ranking(game, "MenuRanking", kOrangeTitleBar, "MenuOrange");
    const Picture kept = play.steady("QuestionCancelled", [&](const Picture& p) {
        return game.changed(before, p, player.popup("canvas_frame_o")) < 0.02;
    }, player.popup("canvas_frame_o"));
    EXPECT_TRUE(ranking.shown(kept)) << "the finance frame stays after the question";
    // Asked again and confirmed: the park is saved and the main menu comes.
    player.quitQuestion("QuitQuestion");
    game.tap(player.popup("helper_ok"));
    player.exitFromMenu("Quit", parkAgain);
    const std::string saved = dir.read(kProfileFile);
    EXPECT_EQ(savedSection(saved, "[name]"), std::vector<std::string>{"Wide"});
    EXPECT_EQ(savedSection(saved, "[cash]").size(), 1u) << saved;

    // Started again in the same window size: the menu of that profile, Play, and the park shows
    // the cash and date it was left with.
    ASSERT_TRUE(play.start()) << game.output().substr(0, 3000);
    ASSERT_EQ(game.width(), 1280);
    const Picture again =
        play.steady("MainMenuAgain", play.changes(park, player.start("helper_play")), player.start("helper_play"), kStartMs);
    game.tap(player.start("helper_play"));
    const Picture reloaded =
        play.steady("ParkReloaded", play.changes(again, player.cashBox()), player.cashBox(), kStartMs);
    EXPECT_LT(game.changed(parkAgain, reloaded, player.cashBox()), 0.01) << "the cash as at the quit";
    EXPECT_LT(game.changed(parkAgain, reloaded, player.dateBox()), 0.01) << "the date as at the quit";
}

// Whether the park is drawn up to the window's right and bottom edges (no band left black).
bool drawnToTheEdges(const GameWindow& game, const Picture& p)
{
    const float right = 0.5f + 0.375f * float(game.width()) / float(game.height());
    const std::vector<double> column = game.meanColour(p, {right - 0.01f, 0.1f, 0.01f, 0.5f});
    const std::vector<double> row = game.meanColour(p, {0.3f, 0.99f, 0.4f, 0.01f});
    return column[0] + column[1] + column[2] > 90 && row[0] + row[1] + row[2] > 90;
}

// A park started in a 1024x768 window, which is then resized as a window manager would: to a
// wide 1280x800 while a tutorial tip shows, and to a narrow 800x800 in the park, which the
// game makes 800x600. At each size the park fills the window and the tips, folds and panels
// take their clicks where the layouts put them; the game is left through its quit question
// with the park saved.
TEST(PlayWide, ResizedWindowKeepsTheButtonsWhereTheLayoutsPutThem)
{
    TempDir dir;
    GameWindow game(dir);
    PlaySession play("playwide", "ResizedWindowKeepsTheButtonsWhereTheLayoutsPutThem", dir, game);
    Player player(game, play);
    dir.write(kOptionsFile, firstOptions(1024, 768));
    slowDays(dir);
    ASSERT_TRUE(play.start()) << game.output().substr(0, 3000);
    ASSERT_EQ(game.width(), 1024);

    const Picture menu = player.newProfileAndPlay(L"Resize", "Resize");
    const std::vector<std::string> tutorialAtStart = savedSection(dir.read(kProfileFile), "[tutorial]");
    player.tip("Welcome", menu, kStartMs);

    // Wider, with the tip showing: the tip stays in the middle and its Ok brings the next one.
    game.resize(1280, 800);
    ASSERT_EQ(game.width(), 1280);
    ASSERT_EQ(game.height(), 800);
    const CanvasRect avatar = player.tutorial("canvas_avatarframe_o");
    const Picture welcome = play.steady("WelcomeWide", [&](const Picture& p) {
        return player.tipShown(p) && drawnToTheEdges(game, p);
    }, avatar);
    game.tap(player.tutorial("helper_ok"));
    player.tip("MoneyAndTimeWide", welcome);
    game.tap(player.tutorial("helper_turnoff"));
    player.park("InParkWide");

    // A fold and a panel from it, closed with its close button.
    const Panel buildings(game, "MenuBuildingBuySell", kBlueTitleBar);
    player.openFold("BuildingsFoldWide", "btn_fold2");
    player.openPanel("BuyBuildingsWide", buildings, game.layout("MenuIngameFold2")("helper_buildingbuysell"),
                     "label_buildingbuyselltitle_2_o");
    player.closePanel("BuyBuildingsWideClosed", buildings);

    // Narrower than 4:3, in the park: the window keeps its width and becomes 4:3, so that no
    // side of the canvas is lost; the same for the pets fold and the food shop.
    game.resize(800, 800);
    ASSERT_TRUE(game.waitSize(800, 600)) << game.width() << "x" << game.height();
    player.park("InParkSmall");
    play.step("DrawnToTheEdgesSmall", [&](const Picture& p) { return drawnToTheEdges(game, p); });
    const Panel food(game, "MenuBuyFood", kGreenTitleBar);
    player.openFold("PetsFoldSmall", "btn_fold1");
    player.openPanel("FoodShopSmall", food, game.layout("MenuIngameFold1")("helper_buyfood"), "label_buyfoodtitle_2_o");
    player.closePanel("FoodShopSmallClosed", food);
    const Picture park = player.park("InParkSmallAgain");

    // Left through the quit question: the park is saved (with its tips turned off) and the
    // game ends.
    player.quitQuestion("QuitQuestion");
    game.tap(player.popup("helper_ok"));
    player.exitFromMenu("Quit", park);
    const std::vector<std::string> tutorialAtQuit = savedSection(dir.read(kProfileFile), "[tutorial]");
    ASSERT_FALSE(tutorialAtQuit.empty()) << dir.read(kProfileFile);
    EXPECT_NE(tutorialAtQuit, tutorialAtStart) << "the tips turned off are saved";
}

} // namespace
