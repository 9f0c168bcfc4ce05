// A player's evening with the built game: its own data, a window on the test's X server and
// real input through the server's test extension, presses and releases as quick as a fast
// player's (some as short as a touchpad tap). Where to click is read from the screens' own
// layouts ("data/psd/*.txt"); each step waits, with a deadline of the game's time, for a sign on
// the screen or in the saved files that it happened. The last steps' pictures and the game's console are written
// to "<build>/Testing/play/<test>/" when the test fails (or when PETPARK_KEEP_PLAY is set).

#include "fixtures/GameWindow.h"
#include "fixtures/PlaySession.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>
// After gtest: the X headers define macros such as None and Bool.
#include <X11/keysym.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

const int kStartMs = PlaySession::kStartMs;

// The value lines of every section of that key, in file order.
std::vector<std::vector<std::string>> sections(const std::string& text, const std::string& key)
{
    std::vector<std::vector<std::string>> found;
    for (size_t at = text.find(key + "\n"); at != std::string::npos; at = text.find(key + "\n", at + 1))
        if (at == 0 || text[at - 1] == '\n')
            found.push_back(savedSection(text.substr(at), key));
    return found;
}

// The items of a line ("1 17 -1").
std::vector<std::string> items(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// The smallest rectangle holding both.
CanvasRect span(const CanvasRect& a, const CanvasRect& b)
{
    const float x = std::min(a.x, b.x), y = std::min(a.y, b.y);
    return {x, y, std::max(a.x + a.w, b.x + b.w) - x, std::max(a.y + a.h, b.y + b.h) - y};
}

// A new player: the profile made at the first start, the tutorial followed through every tip
// to its end (a home bought, a guest taken in, food bought, a price changed, the pets show
// opened), an animal fed and treated from the HUD, the game left through its quit question;
// started again, the game opens on that profile, and the park, its file and its screens are as
// they were at the quit.
TEST(PlayTheGame, NewProfileTutorialQuitAndReload)
{
    TempDir dir;
    GameWindow game(dir);
    PlaySession play("play", "NewProfileTutorialQuitAndReload", dir, game);
    dir.write(kOptionsFile, firstOptions(800, 600));
    slowDays(dir);
    // The park's first dog starts hungry and unwell, so that the HUD offers to feed and treat it.
    setGameRule(dir, "[animals starting hunger]", "4");
    setGameRule(dir, "[animals starting health]", "4");
    ASSERT_TRUE(play.start()) << game.output().substr(0, 3000);
    ASSERT_EQ(game.width(), 800);

    // No profile yet: the game opens on the new profile screen, its name field empty.
    const Layout create = game.layout("MainMenuCreateProfile");
    const Picture empty =
        play.steady("NewProfile", play.colour(create("canvas_field_o"), 220, 218, 212), create("canvas_field_o"), kStartMs);
    // A name with a letter beyond ASCII; the Create button comes with the first letter.
    game.tap(create("edit_name_o"));
    game.type(L"Zo\u00e9");
    play.step("NameTyped", play.changes(empty, create("helper_create")));
    const Picture named = play.step("NameShown", play.changes(empty, create("edit_name_o"), 0.02));
    game.tap(create("helper_create"));
    ASSERT_TRUE(play.fileHolds(kProfileFile, "[name]\nZo\xc3\xa9\n")) << dir.read(kProfileFile);

    // The main menu of the new profile: Play.
    const Layout start = game.layout("MainMenuStart");
    // (Steady: the new profile screen fades out behind it.)
    const Picture menu = play.steady("MainMenu", play.changes(named, start("helper_play")), start("label_name_3_o"));
    game.click(start("helper_play"));

    // The park with the tutorial's tips, each read and closed with its Ok button.
    const Layout tutorial = game.layout("Tutorial");
    const CanvasRect frame = tutorial("canvas_avatarframe_o");
    const CanvasRect frameEdge{frame.x + 0.025f * frame.w, frame.y + 0.2f * frame.h, 0.02f * frame.w, 0.6f * frame.h};
    const CanvasRect ok = tutorial("helper_ok");
    const CanvasRect panelFloor{tutorial("label_name_1_o").x, ok.y - 0.012f, tutorial("label_name_1_o").w, 0.01f};
    // A tip shows its avatar in a golden frame on the dark panel.
    auto tipShown = [&](const Picture& p) {
        const std::vector<double> edge = game.meanColour(p, frameEdge);
        const std::vector<double> floor = game.meanColour(p, panelFloor);
        return edge[0] > 170 && edge[1] > 130 && edge[2] < 130 && floor[0] + floor[1] + floor[2] < 240;
    };
    const CanvasRect pauseButton = game.layout("MenuDateBar")("btn_pause_i");
    Picture lastTip = menu;
    auto readTip = [&](const std::string& name, int ms = PlaySession::kStepMs) {
        const Picture before = lastTip;
        lastTip = play.steady(name, [&, before](const Picture& p) {
            return tipShown(p) && game.changed(before, p, tutorial("label_name_2_o")) > 0.02;
        }, frame, ms);
        game.tap(ok);
        // Gone with its dimming backdrop (the screens under a tip take no clicks until it has
        // faded out: the date bar's pause button bright again), or the next tip in its place.
        game.settle(300);
        const Picture read = lastTip;
        return play.step(name + "Read", [&, read](const Picture& p) {
            const bool undimmed = game.meanColour(p, pauseButton)[0] > 150;
            return (!tipShown(p) && undimmed) || (tipShown(p) && game.changed(read, p, tutorial("label_name_2_o")) > 0.02);
        });
    };
    readTip("Welcome", kStartMs);
    readTip("MoneyAndTime");
    readTip("FirstBuilding");
    const Layout hud = game.layout("MenuIngame");
    // The cash figure's lower part: what is paid or earned floats up from the figure, drawn
    // at least a few pixels higher, and may still be there when the figure is looked at.
    const CanvasRect cash = hud("label_name_12_o");
    const CanvasRect cashFigure{cash.x, cash.y + 0.45f * cash.h, cash.w, 0.55f * cash.h};
    const Layout buildingsFold = game.layout("MenuIngameFold2");
    const Layout petsFold = game.layout("MenuIngameFold1");
    // The fold's lower buttons (clear of the tips) as the fold shows them.
    const CanvasRect foldButtons = buildingsFold("canvas_divider");
    const CanvasRect foldRow{foldButtons.x, foldButtons.y, foldButtons.w, 0.06f};
    // Opens a fold from the HUD: its buttons come in (in place of another fold's, which look
    // much alike: a small share of the row changes). A fold stays open under the panels its
    // buttons open, until the HUD closes it.
    std::string foldOpen;
    auto openFold = [&](const std::string& name, const char* button) {
        if (foldOpen == button)
            return play.last();
        foldOpen = button;
        const Picture before = play.last();
        game.tap(hud(button));
        return play.steady(name, play.changes(before, foldRow, 0.05), foldRow);
    };

    // Waits for a panel: the rectangle changed from the picture before, then steady.
    auto panel = [&](const std::string& name, const Picture& before, const CanvasRect& r) {
        return play.steady(name, play.changes(before, r), r);
    };
    // Closes a panel with its close button: the rectangle back to how the park showed it.
    auto closePanel = [&](const std::string& name, const CanvasRect& close, const Picture& open,
                          const CanvasRect& r) {
        game.tap(close);
        return play.steady(name, play.changes(open, r), r);
    };

    // A building bought from the buildings fold: the Dog Villa, on the card beside the kennel
    // already owned (whose card offers Sell in place of Buy).
    openFold("BuildingsFold", "btn_fold2");
    readTip("BuyAndSell");
    game.tap(buildingsFold("helper_buildingbuysell"));
    const Layout buildingCards = game.layout("MenuBuildingBuySell1");
    readTip("HomesForEveryKind");
    const Picture cards = readTip("BuildAHome");
    game.tap(buildingCards("helper_buy2"));
    // The purchase closes the panel and the camera glides to the new home; then the tip.
    readTip("WellDone");
    EXPECT_GT(game.changed(cards, play.last(), cashFigure), 0.01) << "the villa paid for";
    PLAY_ON_OR_STOP("the building");

    // A pet taken in from the offers: the first dog offered, for the villa's free place.
    readTip("TakeInAGuest");
    openFold("PetsFold", "btn_fold1");
    readTip("GuestsForAStay");
    game.tap(petsFold("helper_petbuysell"));
    readTip("AcceptAGuest");
    game.tap(game.layout("MenuPetBuySell1")("helper_accommodate1"));
    readTip("HungryGuests");
    PLAY_ON_OR_STOP("the guest");

    // Food bought in the food shop, opened from the pets fold.
    openFold("PetsFoldAgain", "btn_fold1");
    const Picture foodTip = readTip("TheFoodStore");
    const Layout foodShop = game.layout("MenuBuyFood");
    game.tap(petsFold("helper_buyfood"));
    const Picture shop = panel("FoodShop", foodTip, foodShop("helper_icon3"));
    game.tap(foodShop("helper_buy1"));
    play.step("FoodBought", play.changes(shop, foodShop("label_name_11_o"), 0.02));
    readTip("Prices");
    const Picture pricesTip = play.last();
    closePanel("FoodShopClosed", foodShop("btn_close_oi"), pricesTip, foodShop("helper_icon3"));
    PLAY_ON_OR_STOP("the food");

    // An animal fed and treated: the pets list's Feed shows the kennel's dog on the HUD's
    // animal panel, whose Feed and Treat (after the price question) look after it.
    const Picture listFold = openFold("PetsFoldForTheList", "btn_fold1");
    const Layout petsList = game.layout("MenuPetsList1");
    game.tap(petsFold("helper_petslist"));
    readTip("YourPets");
    const Picture petsTip = lastTip;
    const Picture list = panel("PetsList", listFold, petsList("helper_hunger1"));
    game.tap(petsList("helper_feed1"));
    const Picture animal = panel("AnimalPanel", list, hud("canvas_animal_o"));
    // A gauge's segment (0 the first of seven) lit: bright green, not dimmed under a popup.
    auto lit = [&](const CanvasRect& gauge, int segment) {
        const CanvasRect middle{gauge.x + gauge.w * (segment + 0.3f) / 7, gauge.y + 0.3f * gauge.h,
                                gauge.w * 0.4f / 7, 0.4f * gauge.h};
        return [&game, middle](const Picture& p) {
            const std::vector<double> m = game.meanColour(p, middle);
            return m[1] > 180 && m[1] > m[0] + 30 && m[1] > m[2] + 60;
        };
    };
    // The dog came with hunger and health 4 (of 7): fed once, its hunger gauge lights a fifth
    // segment; treated, its health gauge all seven (the sixth looked at, clear of the frame).
    ASSERT_FALSE(lit(hud("helper_hunger"), 4)(animal)) << "the dog hungry before it is fed";
    ASSERT_FALSE(lit(hud("helper_health"), 5)(animal)) << "the dog unwell before it is treated";
    game.tap(hud("helper_feed"));
    const Picture fed = play.step("Fed", lit(hud("helper_hunger"), 4));
    game.tap(hud("helper_treat"));
    const Layout popup = game.layout("Popup");
    panel("TreatQuestion", fed, popup("canvas_frame_o"));
    game.tap(popup("helper_ok"));
    play.step("Treated", lit(hud("helper_health"), 5));
    EXPECT_GT(game.changed(fed, play.last(), cashFigure), 0.01) << "the treatment paid for";

    game.tap(hud("btn_closeanimal"));
    play.steady("AnimalPanelClosed", play.changes(play.last(), hud("canvas_animal_o")), hud("canvas_animal_o"));
    PLAY_ON_OR_STOP("the animal");

    // A price changed on the tickets screen, opened through Finances in the buildings fold.
    openFold("BuildingsFoldAgain", "btn_fold2");
    const Picture financesTip = readTip("Finances");
    const Layout tickets = game.layout("MenuTickets");
    game.tap(buildingsFold("helper_finances"));
    readTip("TicketsAndPrices");
    const Picture pricesBefore = panel("Tickets", financesTip, tickets("canvas_table_o"));
    game.tap(tickets("helper_change1"));
    const Layout scroll = game.layout("ScrollPopup");
    const Picture choice = panel("PriceChoice", pricesBefore, scroll("canvas_frame_o"));
    game.tap(scroll("chk_preset4_o"));
    play.step("PresetChosen", play.changes(choice, scroll("chk_preset4_o"), 0.1));
    game.tap(scroll("helper_ok"));
    // The popup gone, the table shows the new price; then the tip of the tricks.
    const CanvasRect firstPrice = tickets("label_name_5_o");
    readTip("Tricks");
    const Picture prices = play.steady("NewPrice", play.changes(pricesBefore, firstPrice, 0.02), tickets("canvas_table_o"));
    closePanel("TicketsClosed", tickets("btn_close_oi"), prices, tickets("canvas_table_o"));
    PLAY_ON_OR_STOP("the price");

    // The pets show, opened from the pets fold, ends the tutorial; it shows its own tip.
    const Picture showFold = openFold("PetsFoldForTheShow", "btn_fold1");
    const Layout show = game.layout("MenuPetsShow");
    game.tap(petsFold("btn_petsshow"));
    readTip("ThePetsShow");
    const Picture petsShow = panel("PetsShow", showFold, show("label_petsshowtitle_2_o"));
    closePanel("PetsShowClosed", show("btn_close_oi"), petsShow, show("label_petsshowtitle_2_o"));
    PLAY_ON_OR_STOP("the pets show");

    const Picture park = play.steady("InPark", [&](const Picture& p) { return !tipShown(p); }, cash);

    // What the screens show at the quit, looked at again after the restart: the food in store
    // at the foot of the pets fold, the pets' cards, the buildings' levels, the prices.
    // (The store's line is read on its left, clear of the amounts floating up from the cash.)
    const CanvasRect storeLine = petsFold("label_name_4_o");
    const CanvasRect store{storeLine.x, storeLine.y, 0.4f * storeLine.w, storeLine.h};
    const Layout petsListFrame = game.layout("MenuPetsList");
    const CanvasRect petCards = span(petsList("helper_picture1"), petsList("helper_treat2"));
    const Layout buildingsListFrame = game.layout("MenuBuildings");
    const Layout buildingsList = game.layout("MenuBuildings1");
    const CanvasRect buildingCardsShown = span(buildingsList("helper_icon1"), buildingsList("helper_repair2"));
    // The pets fold opened and closed again with its HUD button.
    auto lookAtStore = [&](const std::string& name) {
        const Picture fold = openFold(name, "btn_fold1");
        game.tap(hud("btn_fold1"));
        foldOpen.clear();
        play.steady(name + "Closed", play.changes(fold, foldRow), foldRow);
        return fold;
    };
    // The pets list from the pets fold (its tip, shown once in each run of the game, read).
    auto lookAtPets = [&](const std::string& name, bool tip) {
        const Picture fold = openFold(name + "Fold", "btn_fold1");
        game.tap(petsFold("helper_petslist"));
        if (tip) {
            readTip(name + "Tip");
            EXPECT_LT(game.changed(petsTip, lastTip, tutorial("label_name_2_o")), 0.02) << "the pets list's own tip";
        }
        const Picture cardsShown = panel(name, fold, petsList("helper_hunger1"));
        closePanel(name + "Closed", petsListFrame("btn_close_oi"), cardsShown, petsList("helper_hunger1"));
        return cardsShown;
    };
    // The buildings list from the buildings fold, its tip read once in each run.
    Picture buildingsTip;
    auto lookAtBuildings = [&](const std::string& name) {
        const Picture fold = openFold(name + "Fold", "btn_fold2");
        game.tap(buildingsFold("helper_buildings"));
        readTip(name + "Tip");
        if (buildingsTip.empty())
            buildingsTip = lastTip;
        EXPECT_LT(game.changed(buildingsTip, lastTip, tutorial("label_name_2_o")), 0.02) << "the list's own tip";
        const Picture cardsShown = panel(name, fold, buildingsList("helper_condition1"));
        closePanel(name + "Closed", buildingsListFrame("btn_close_oi"), cardsShown, buildingsList("helper_condition1"));
        return cardsShown;
    };
    const Picture storeAtQuit = lookAtStore("FoodInStore");
    const Picture petsAtQuit = lookAtPets("PetsAtTheQuit", false);
    const Picture buildingsAtQuit = lookAtBuildings("BuildingsAtTheQuit");
    PLAY_ON_OR_STOP("looking at the park");

    // Quit through the quit question: the park is saved and the game ends.
    // The question's Ok saves the park and leads to the main menu, whose Exit (asked again)
    // ends the game.
    auto quit = [&](const std::string& name, const Picture& inPark) {
        const Picture menu = play.steady(name + "MainMenu", play.changes(inPark, start("helper_exit")), start("helper_exit"));
        game.tap(start("helper_exit"));
        play.steady(name + "ExitQuestion", play.changes(menu, popup("canvas_frame_o")), popup("canvas_frame_o"));
        const Picture question = play.last();
        game.tap(popup("helper_ok"));
        // The credits, left with a click.
        const CanvasRect credits = game.layout("Credits")("canvas_credits_o");
        play.steady(name + "Credits", play.changes(question, credits, 0.5), credits);
        game.tap(credits);
        EXPECT_TRUE(game.waitEnd()) << name << ": the game ended";
    };
    game.pressKey(XK_Escape);
    play.steady("QuitQuestion", play.changes(play.last(), popup("canvas_frame_o")), popup("canvas_frame_o"));
    game.tap(popup("helper_ok"));
    quit("Quit", park);
    const std::string saved = dir.read(kProfileFile);
    EXPECT_EQ(savedSection(saved, "[name]"), std::vector<std::string>{"Zo\xc3\xa9"});
    EXPECT_EQ(savedSection(dir.read(kOptionsFile), "[profile]"), std::vector<std::string>{"0"});
    // The saved park holds what was done: the tutorial at its end, no loan, the store's food
    // (the starting store, a pack of the first food, one portion eaten), the stay's price at the
    // highest preset, the villa beside the kennel, the guest beside the kennel's dog, which
    // was fed once and treated back to full health.
    const std::string rules = dir.read("PetPark/Resources/data/game/global.txt");
    const std::vector<std::string> tutorialLine = items(savedSection(saved, "[tutorial]").at(0));
    ASSERT_GE(tutorialLine.size(), 2u);
    EXPECT_EQ(tutorialLine[1], "17") << "the tutorial's last step";
    EXPECT_EQ(savedSection(saved, "[loan]"), std::vector<std::string>{"0"});
    const int food = std::stoi(savedSection(rules, "[food stored]").at(0)) +
                     std::stoi(savedSection(dir.read("PetPark/Resources/data/game/Foods/food1.txt"), "[food]").at(0)) - 1;
    EXPECT_EQ(savedSection(saved, "[food stored]"), std::vector<std::string>{std::to_string(food)});
    const std::vector<std::string> presets = items(savedSection(rules, "[scroll values]").at(0));
    ASSERT_EQ(presets.at(0), "AccomodationTicket");
    EXPECT_EQ(savedSection(saved, "[accomodation ticket price]"), std::vector<std::string>{presets.back()});
    const std::vector<std::vector<std::string>> homes = sections(saved, "[building]");
    ASSERT_EQ(homes.size(), 2u) << saved;
    EXPECT_EQ(homes[0].at(0), "DogHouse1.txt") << "the kennel";
    EXPECT_EQ(homes[1].at(0), "DogHouse2.txt") << "the villa";
    const std::vector<std::vector<std::string>> guests = sections(saved, "[animal]");
    ASSERT_EQ(guests.size(), 2u) << saved;
    EXPECT_EQ(items(guests[0].at(0)).at(0), "dog");
    EXPECT_EQ(items(guests[1].at(0)).at(0), "dog");
    EXPECT_EQ(items(guests[0].at(2)).at(0), "5") << "the dog's hunger, fed once from 4";
    EXPECT_EQ(items(guests[0].at(3)).at(0), "7") << "the dog's health, treated";

    // Started again: the main menu of that profile, Play loads its park as it was.
    ASSERT_TRUE(play.start()) << game.output().substr(0, 3000);
    foldOpen.clear();
    const Picture again =
        play.steady("MainMenuAgain", play.changes(empty, start("helper_play")), start("label_name_3_o"), kStartMs);
    EXPECT_LT(game.changed(menu, again, start("label_name_3_o")), 0.02) << "the profile's name as before";
    game.tap(start("helper_play"));
    const Picture parkAgain =
        play.steady("ParkAgain", play.changes(again, hud("canvas_cashplate_o")), hud("label_name_12_o"), kStartMs);
    // The cash on the HUD and the date on the date bar read as at the quit.
    EXPECT_LT(game.changed(park, parkAgain, cashFigure), 0.01) << "the cash as at the quit";
    EXPECT_LT(game.changed(park, parkAgain, game.layout("MenuDateBar")("label_name_11_o")), 0.01)
        << "the date as at the quit";
    // The food in store, the pets, the buildings and the prices as the screens showed them.
    EXPECT_LT(game.changed(storeAtQuit, lookAtStore("FoodInStoreAgain"), store), 0.01) << "the food in store";
    // The tutorial had ended: no tip of its steps came with the park (nor with the pets fold).
    EXPECT_FALSE(tipShown(play.last())) << "the tutorial's step as at the quit";
    EXPECT_LT(game.changed(petsAtQuit, lookAtPets("PetsAgain", true), petCards), 0.02) << "the pets' cards";
    EXPECT_LT(game.changed(buildingsAtQuit, lookAtBuildings("BuildingsAgain"), buildingCardsShown), 0.02)
        << "the buildings' cards";
    openFold("BuildingsFoldForThePrices", "btn_fold2");
    const Picture financesFold = play.last();
    game.tap(buildingsFold("helper_finances"));
    const Picture pricesAgain = panel("PricesAgain", financesFold, tickets("canvas_table_o"));
    EXPECT_LT(game.changed(prices, pricesAgain, tickets("canvas_table_o")), 0.01) << "the prices";
    const Picture parkBeforeQuit =
        closePanel("PricesAgainClosed", tickets("btn_close_oi"), pricesAgain, tickets("canvas_table_o"));
    game.pressKey(XK_Escape);
    play.steady("QuitQuestionAgain", play.changes(parkBeforeQuit, popup("canvas_frame_o")), popup("canvas_frame_o"));
    game.click(popup("helper_ok"));
    quit("QuitAgain", parkAgain);
    EXPECT_EQ(savedParkState(dir.read(kProfileFile)), savedParkState(saved)) << "the park saved again as it was";
}

} // namespace
