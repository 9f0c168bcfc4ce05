// A returning player's evening with the built game: its own data, a window on the test's X
// server and real input through the server's test extension. The player's park was saved on the
// last day of a month; the month passes at the data's own day length, and then, on days long
// enough that nothing changes by time alone, the player teaches the dog its three tricks in the
// trick show (which reaches an achievement whose notice is left for later), borrows and repays
// part of the loan at the bank, starts a promotion, changes a price, reads the statistics, the
// ranking and the achievements, opens and closes every panel and fold, answers the quit
// question that Escape asks over a panel, and quits. Started again, the game opens on that
// profile and shows the park as it was left, which the saved file holds; the notice waits again
// and pays its reward when opened. Where to click is read from the screens' layouts
// ("data/psd/*.txt"); each step waits, with a deadline of the game's time, for a sign on the
// screen or in the saved file. The last steps' pictures and the game's console are kept in
// "<build>/Testing/playpark/<test>/" when the test fails (all of them with PETPARK_KEEP_PLAY set).

#include "fixtures/GameWindow.h"
#include "fixtures/PlaySession.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>
// After gtest: the X headers define macros such as None and Bool.
#include <X11/keysym.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const int kStartMs = PlaySession::kStartMs;

// The options of a player who played before: the window's size and the first profile.
const char* const kOptions = "[resolution]\n800\n600\n\n[fullscreen]\n0\n\n[music volume]\n0\n\n"
                             "[sound volume]\n0\n\n[profile]\n0\n";

// Zoé's park as the game saved it on the last evening of March: the tutorial switched off, the
// starting kennel with its dog guest Bella, who has practised each of her three tricks up to
// the last level and may be taught today.
const char* const kProfile = "[name]\nZo\xc3\xa9\n\n[tutorial]\n0 17 -1\n1 1 1\n\n[food]\n60\n\n"
                             "[avatar]\navatar1.png\n\n[loan]\n0\n\n[cash]\n9000\n\n[date]\n31 3 2010\n\n"
                             "[food stored]\n60\n\n[act park promotion]\n-1\n0\n\n"
                             "[building]\nDogHouse1.txt\n7\n0 0\n7\n0 0\n\n"
                             "[animal]\ndog Bella 0\nhelper_pies1 0\n7 0 0\n7 0 0 0\n0.5 0.5\n6 6 6\n30 0\n";

// The first number of a saved section; def when there is none.
int number(const std::string& text, const std::string& key, int def = -999999)
{
    const std::vector<std::string> lines = savedSection(text, key);
    return lines.empty() ? def : std::atoi(lines[0].c_str());
}

// The reward of the achievement of that name, from the game's achievement files.
int reward(TempDir& dir, const std::string& name)
{
    const std::string folder = "PetPark/Resources/data/game/Achievements";
    for (const fs::directory_entry& file : fs::directory_iterator(dir.file(folder))) {
        const std::string text = dir.read(folder + "/" + file.path().filename().string());
        if (savedSection(text, "[name]") == std::vector<std::string>{name})
            return number(text, "[reward]");
    }
    ADD_FAILURE() << "no achievement " << name;
    return 0;
}

TEST(PlayTheEvening, BankPricesPromotionTricksAMonthAndEveryPanelThenTheParkReloadsAsLeft)
{
    TempDir dir;
    GameWindow game(dir);
    PlaySession play("playpark", "BankPricesPromotionTricksAMonthAndEveryPanelThenTheParkReloadsAsLeft", dir, game);
    dir.write(kOptionsFile, kOptions);
    dir.write(kProfileFile, kProfile);
    ASSERT_TRUE(play.start()) << game.output().substr(0, 3000);
    ASSERT_EQ(game.width(), 800);

    const Layout start = game.layout("MainMenuStart");
    const Layout hud = game.layout("MenuIngame");
    const Layout dateBar = game.layout("MenuDateBar");
    const Layout popup = game.layout("Popup");
    const Layout values = game.layout("ScrollPopup");
    const Layout fold1 = game.layout("MenuIngameFold1");
    const Layout fold2 = game.layout("MenuIngameFold2");
    const Layout fold3 = game.layout("MenuIngameFold3");
    const Layout tabs = game.layout("MenuOrangeFolds");
    const Layout frame = game.layout("MenuOrange");
    const Layout bank = game.layout("MenuBank");
    const Layout tickets = game.layout("MenuTickets");
    const Layout statistics = game.layout("MenuStatistics");
    const Layout ranking = game.layout("MenuRanking");
    const Layout achievements = game.layout("MenuAchievements");
    const Layout petsShow = game.layout("MenuPetsShow");
    const Layout petsShowRows = game.layout("MenuPetsShow1");
    const Layout show = game.layout("TeachTrick");
    const CanvasRect cash = hud("label_name_12_o");
    const CanvasRect date = dateBar("label_name_11_o");
    const CanvasRect question = popup("canvas_frame_o");
    const CanvasRect valueFrame = values("canvas_frame_o");
    const CanvasRect orange = frame("canvas_frame_o");

    // The main menu opens on Zoé's profile: its yellow Play button on the dark panel.
    auto menuShown = [&](const Picture& p) {
        const std::vector<double> button = game.meanColour(p, start("helper_play"));
        const std::vector<double> panel = game.meanColour(p, start("label_name_3_o"));
        return button[0] > 170 && button[0] > button[2] + 50 && panel[0] + panel[1] + panel[2] < 300;
    };
    const Picture menu = play.steady("MainMenu", menuShown, start("helper_play"), kStartMs);

    // ---- The month's last day: Play loads the park of 31 March; the month passes at the
    // data's own day length and the day's autosave writes the first of April.
    game.tap(start("helper_play"));
    const Picture march = play.steady("ParkOn31March", play.changes(menu, hud("canvas_bar_o")), cash, kStartMs);
    play.step("NewMonth", play.changes(march, date, 0.03), kStartMs);
    ASSERT_TRUE(play.fileHolds(kProfileFile, "[date]\n1 4 2010\n")) << dir.read(kProfileFile);
    {
        const std::string saved = dir.read(kProfileFile);
        // March was closed: its records moved to last month's, this month's began anew.
        const std::vector<std::string> lastMonth = savedSection(saved, "[mBalanceLastMonth]");
        ASSERT_EQ(lastMonth.size(), 1u) << saved;
        EXPECT_NE(lastMonth[0].find_first_of("123456789"), std::string::npos) << "March's money: " << saved;
    }
    // Left through the quit question: the park is saved, the main menu shows.
    Picture park = game.picture();
    game.pressKey(XK_Escape);
    play.steady("QuitQuestionApril", play.changes(park, question), question);
    // From here on days of an hour: nothing the test looks at changes by time alone. The game
    // reads its rules again as it returns to the main menu.
    setGameRule(dir, "[game speed]", "3600000");
    game.tap(popup("helper_ok"));
    play.steady("MainMenuAfterApril", menuShown, start("helper_play"));
    const std::string april = dir.read(kProfileFile);
    ASSERT_EQ(savedSection(april, "[date]").size(), 1u) << april;
    EXPECT_EQ(savedSection(april, "[date]")[0].substr(savedSection(april, "[date]")[0].find(' ')), " 4 2010");

    PLAY_ON_OR_STOP("the month");

    // ---- The evening.
    game.tap(start("helper_play"));
    // The HUD takes no clicks until it stands.
    park = play.steady("EveningPark", play.changes(menu, hud("canvas_bar_o")), hud("canvas_bar_o"), kStartMs);
    // A fold comes in (in place of another, which looks much alike: a small share changes) and
    // stays open under the panels its buttons open, until the HUD closes it (or the
    // trick show or leaving the park hides it).
    const Layout* foldOpen = nullptr;
    auto openFold = [&](const std::string& name, const CanvasRect& button, const Layout& fold) {
        if (foldOpen == &fold)
            return game.picture();
        foldOpen = &fold;
        const Picture before = game.picture();
        game.tap(button);
        return play.steady(name, play.changes(before, fold("canvas_panel_o"), 0.05), fold("canvas_panel_o"));
    };

    // ---- The trick show: the pets show from the animals fold, Bella's Teach button, each
    // trick performed, confirmed and praised; the show left with its exit button.
    const CanvasRect petsFrame = petsShow("canvas_frame_o");
    const CanvasRect stage{show("btn_trick1_o").x, show("btn_trick1_o").y,
                           show("btn_trick3_o").x + show("btn_trick3_o").w - show("btn_trick1_o").x,
                           show("helper_gauge1").y + show("helper_gauge1").h - show("btn_trick1_o").y};
    const CanvasRect confirm = show("btn_confirm_oi");
    // Where the message popup's title bar lies: the tent's wall when no popup is up.
    const CanvasRect titleBar = popup("label_name_2_o");
    const CanvasRect titleLeft{titleBar.x, titleBar.y, 0.3f * titleBar.w, titleBar.h};
    // A message popup is up: its teal title bar over the show.
    auto popupUp = [&](const Picture& p) {
        const std::vector<double> m = game.meanColour(p, titleBar);
        return m[1] > m[0] + 50 && m[2] > m[0] + 40;
    };
    // The trick played, its green Well done! button waits for the player.
    auto performed = [&](const Picture& p) {
        const std::vector<double> m = game.meanColour(p, confirm);
        return m[1] > 110 && m[1] > m[0] + 30 && m[1] > m[2] + 20;
    };
    const Picture noNotice = park;
    openFold("AnimalsFold", hud("btn_fold1"), fold1);
    game.tap(fold1("btn_petsshow"));
    const Picture rows = play.steady("PetsShow", play.changes(park, petsFrame, 0.5), petsFrame);
    game.tap(petsShowRows("helper_teach1"));
    foldOpen = nullptr;
    // The show takes no clicks until it stands; its clock runs from then on.
    Picture trickShow = play.steady("TrickShow", play.changes(rows, stage, 0.3), stage);
    // The popup gone to the last trace of its fade: the show takes no clicks while it fades.
    auto popupFaded = [&](const Picture& p) {
        const std::vector<double> was = game.meanColour(trickShow, titleLeft);
        const std::vector<double> now = game.meanColour(p, titleLeft);
        return std::abs(was[0] - now[0]) + std::abs(was[1] - now[1]) + std::abs(was[2] - now[2]) < 12.0;
    };
    Picture praised, firstPraise, before;
    for (int trick = 1; trick <= 3; ++trick) {
        const std::string n = "Trick" + std::to_string(trick);
        before = trickShow;
        game.tap(show("btn_trick" + std::to_string(trick) + "_o"));
        play.step(n + "Performed", performed);
        game.tap(confirm);
        // Level 7: mastered, the show pays its fee (the popup holds the show's clock).
        praised = play.steady(n + "Mastered", popupUp, titleBar);
        if (trick == 1)
            firstPraise = praised;
        EXPECT_LT(game.changed(firstPraise, praised, popup("label_name_1_o")), 0.02) << n << "'s own message";
        game.tap(popup("helper_ok"));
        if (trick == 3)
            break;
        trickShow = play.step(n + "Done", popupFaded);
        EXPECT_GT(game.changed(before, trickShow, show("helper_gauge" + std::to_string(trick))), 0.005)
            << n << "'s gauge rose";
        PLAY_ON_OR_STOP("a trick");
    }
    PLAY_ON_OR_STOP("the tricks");
    // All three mastered: the star's bonus, announced after the last trick's message.
    play.steady("AllTricksMastered", [&](const Picture& p) {
        return popupUp(p) && game.changed(praised, p, popup("label_name_1_o")) > 0.02;
    }, question);
    game.tap(popup("helper_ok"));
    const Picture starPraised = play.steady("StarPraised", [&](const Picture& p) { return !popupUp(p); }, stage);
    EXPECT_GT(game.changed(before, starPraised, show("helper_gauge3")), 0.005) << "trick 3's gauge rose";
    // The show ends with its exit button.
    game.tap(show("helper_exit"));
    park = play.steady("ShowEnded", play.changes(before, hud("canvas_bar_o")), cash);

    PLAY_ON_OR_STOP("the trick show");

    // Three tricks taught: an achievement's notice comes up at the right edge, where the park
    // showed before the show. The player leaves it for later (its reward is paid when opened).
    CanvasRect notice;
    play.step("AchievementNotice", [&](const Picture& p) {
        for (int i = 1; i <= 5; ++i)
            if (game.changed(noNotice, p, hud("btn_notice" + std::to_string(i))) > 0.2)
                notice = hud("btn_notice" + std::to_string(i));
        return notice.w > 0;
    });

    PLAY_ON_OR_STOP("the achievement notice");

    // The buildings fold, Finances: the finance frame with its five tabs.
    openFold("BuildingsFold", hud("btn_fold2"), fold2);
    game.tap(fold2("helper_finances"));
    Picture finances = play.steady("Finances", play.changes(park, orange, 0.5), orange);

    PLAY_ON_OR_STOP("the finances");

    // The bank: borrow through the value-choice popup (two steps up the slider), then repay
    // part of the loan (two steps down from all that can be repaid).
    auto openTab = [&](const std::string& name, const std::string& tab, const CanvasRect& content) {
        // The frame takes a tab's click only half a second after it opened or switched.
        game.settle(PlaySession::kTabGateMs);
        const Picture before = game.picture();
        game.tap(tabs(tab));
        return play.steady(name, play.changes(before, content, 0.05), content);
    };
    const CanvasRect report = bank("canvas_report_o");
    const CanvasRect cashBox = bank("canvas_cashbox_o");
    Picture bankShown = openTab("Bank", "btn_bank_o", report);
    auto chooseValue = [&](const std::string& name, const CanvasRect& opener, const std::string& stepButton) {
        const Picture before = game.picture();
        game.tap(opener);
        Picture shown = play.steady(name + "Popup", play.changes(before, valueFrame), valueFrame);
        for (int i = 0; i < 2; ++i) {
            game.tap(values(stepButton));
            shown = play.steady(name + "Step" + std::to_string(i + 1),
                                play.changes(shown, values("label_name_12_o"), 0.02), valueFrame);
        }
        game.tap(values("helper_ok"));
        return play.steady(name + "Done", play.changes(shown, valueFrame), cashBox);
    };
    Picture borrowed = chooseValue("Borrow", bank("helper_borrow"), "btn_more_o");
    EXPECT_GT(game.changed(bankShown, borrowed, cashBox), 0.01) << "the cash and the loan changed";
    Picture repaid = chooseValue("Repay", bank("helper_repay"), "btn_less_o");
    EXPECT_GT(game.changed(borrowed, repaid, cashBox), 0.005) << "the loan went down";

    PLAY_ON_OR_STOP("the bank");

    // A promotion, bought after its question: the promotions box shows it running.
    const CanvasRect promotions = bank("canvas_promotionsbox_o");
    game.tap(bank("helper_promotion1"));
    const Picture promotionQuestion = play.steady("PromotionQuestion", play.changes(repaid, question), question);
    game.tap(popup("helper_ok"));
    const Picture promoted =
        play.steady("PromotionRunning", play.changes(promotionQuestion, question), promotions);
    EXPECT_GT(game.changed(repaid, promoted, promotions), 0.02) << "the promotion shows running";

    PLAY_ON_OR_STOP("the promotion");

    // Prices: the accommodation ticket set to its dearest preset.
    const CanvasRect priceTable = tickets("canvas_table_o");
    const Picture pricesShown = openTab("Prices", "btn_tickets_o", priceTable);
    game.tap(tickets("helper_change1"));
    Picture presets = play.steady("PricePresets", play.changes(pricesShown, valueFrame), valueFrame);
    game.tap(values("chk_preset4_o"));
    presets = play.steady("PriceChosen", play.changes(presets, values("chk_preset4_o"), 0.05), valueFrame);
    game.tap(values("helper_ok"));
    const Picture priced = play.steady("PriceSet", play.changes(presets, valueFrame), priceTable);
    EXPECT_GT(game.changed(pricesShown, priced, tickets("label_name_5_o")), 0.02) << "the price changed";

    PLAY_ON_OR_STOP("the prices");

    // Statistics, ranking and achievements, each its own table.
    openTab("Statistics", "btn_statistics_o", statistics("canvas_table_o"));
    openTab("Ranking", "btn_ranking_o", ranking("canvas_table_o"));
    const CanvasRect achievementRows{achievements("label_name_18_o").x, achievements("label_name_18_o").y, 0.6f, 0.3f};
    openTab("Achievements", "btn_achievements_o", achievementRows);

    // The frame closed with its screen's close button: the park again.
    game.tap(achievements("btn_close_oi"));
    park = play.steady("FinancesClosed", play.changes(finances, orange, 0.5), orange);

    PLAY_ON_OR_STOP("the finance tabs");

    // ---- Every panel and fold once. Each management panel opens from its fold and closes with
    // its close button; the options close with their own button.
    auto panel = [&](const std::string& name, const CanvasRect& foldButton, const Layout& fold,
                     const std::string& entry, const std::string& screen) {
        const Layout l = game.layout(screen);
        const CanvasRect body = l("canvas_frame_o");
        openFold(name + "Fold", foldButton, fold);
        const Picture before = game.picture();
        game.tap(fold(entry));
        const Picture open = play.steady(name, play.changes(before, body, 0.3), body);
        game.tap(l("btn_close_oi"));
        return play.steady(name + "Closed", play.changes(open, body, 0.3), body);
    };
    panel("PetOffers", hud("btn_fold1"), fold1, "helper_petbuysell", "MenuPetBuySell");
    panel("PetsList", hud("btn_fold1"), fold1, "helper_petslist", "MenuPetsList");
    panel("FoodShop", hud("btn_fold1"), fold1, "helper_buyfood", "MenuBuyFood");
    panel("PetsShowAgain", hud("btn_fold1"), fold1, "btn_petsshow", "MenuPetsShow");
    panel("BuyBuildings", hud("btn_fold2"), fold2, "helper_buildingbuysell", "MenuBuildingBuySell");
    panel("Buildings", hud("btn_fold2"), fold2, "helper_buildings", "MenuBuildings");
    {
        const Layout options = game.layout("MenuOptions");
        const CanvasRect body = options("canvas_panel_o");
        openFold("OptionsFold", hud("btn_fold3"), fold3);
        const Picture before = game.picture();
        game.tap(fold3("helper_options"));
        const Picture open = play.steady("Options", play.changes(before, body, 0.3), body);
        game.tap(options("helper_cancel"));
        const Picture closed = play.steady("OptionsClosed", play.changes(open, body, 0.3), body);
        // The fold the options came from closes with its own button pressed again.
        game.tap(hud("btn_fold3"));
        foldOpen = nullptr;
        park = play.steady("OptionsFoldClosed", play.changes(closed, fold3("canvas_panel_o")), fold3("canvas_panel_o"));
    }
    const Picture parkAtQuit = park;

    PLAY_ON_OR_STOP("the panels");

    // Escape over an open panel asks the quit question; Cancel keeps the evening going.
    openFold("BuildingsFoldAgain", hud("btn_fold2"), fold2);
    game.tap(fold2("helper_finances"));
    finances = play.steady("FinancesAgain", play.changes(park, orange, 0.5), orange);
    bankShown = openTab("BankAgain", "btn_bank_o", report);
    game.pressKey(XK_Escape);
    const Picture asked = play.steady("EscapeQuestion", play.changes(bankShown, question), question);
    game.tap(popup("helper_cancel"));
    const Picture atQuit = play.steady("QuestionCancelled", play.changes(asked, question), orange);
    EXPECT_LT(game.changed(bankShown, atQuit, cashBox), 0.01) << "the bank as before the question";

    // What the screens show at the quit: cash and date on the bars, the bank's cash, loan and
    // running promotion, the prices, the achievements.
    const Picture pricesAtQuit = openTab("PricesAtQuit", "btn_tickets_o", priceTable);
    const Picture achievementsAtQuit = openTab("AchievementsAtQuit", "btn_achievements_o", achievementRows);
    const Picture bankAtQuit = openTab("BankAtQuit", "btn_bank_o", report);

    PLAY_ON_OR_STOP("the quit question cancelled");

    // Escape and Ok: the panel closes with the game, the park is saved, the main menu shows;
    // its Exit, asked again, ends the game after the credits.
    game.pressKey(XK_Escape);
    const Picture leaving = play.steady("QuitQuestion", play.changes(bankAtQuit, question), question);
    game.tap(popup("helper_ok"));
    const Picture menuAgain = play.steady("MainMenuAtQuit", menuShown, start("helper_play"));
    game.tap(start("helper_exit"));
    const Picture exitQuestion = play.steady("ExitQuestion", play.changes(menuAgain, question), question);
    game.tap(popup("helper_ok"));
    const CanvasRect credits = game.layout("Credits")("canvas_credits_o");
    play.steady("Credits", play.changes(exitQuestion, credits, 0.5), credits);
    game.tap(credits);
    EXPECT_TRUE(game.waitEnd()) << "the game ended";
    (void)leaving;

    // The saved park holds the evening.
    const std::string saved = dir.read(kProfileFile);
    EXPECT_EQ(savedSection(saved, "[name]"), std::vector<std::string>{"Zo\xc3\xa9"});
    EXPECT_EQ(savedSection(saved, "[date]"), savedSection(april, "[date]")) << "no day passed in the evening";
    EXPECT_GT(number(saved, "[loan]"), 0) << "part of the loan left to repay: " << saved;
    EXPECT_EQ(savedSection(saved, "[act park promotion]"), (std::vector<std::string>{"1", "14"})) << saved;
    EXPECT_EQ(number(saved, "[accomodation ticket price]"), 40);
    EXPECT_NE(saved.find("[achievement]\nTrick Teacher\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("[achievement notice]\nTrick Teacher\n"), std::string::npos) << "its notice waits: " << saved;
    const std::vector<std::string> bella = savedSection(saved, "[animal]");
    ASSERT_EQ(bella.size(), 7u) << saved;
    EXPECT_EQ(bella[5], "7 7 7") << "Bella's tricks mastered";

    PLAY_ON_OR_STOP("the quit");

    // ---- Started again: the main menu of Zoé's profile; Play loads the park as it was left.
    ASSERT_TRUE(play.start()) << game.output().substr(0, 3000);
    foldOpen = nullptr;
    const Picture reopened = play.steady("MainMenuReopened", menuShown, start("helper_play"), kStartMs);
    EXPECT_LT(game.changed(menu, reopened, start("label_name_3_o")), 0.02) << "Zoé's name as before";
    game.tap(start("helper_play"));
    park = play.steady("ParkReloaded", play.changes(reopened, hud("canvas_bar_o")), hud("canvas_bar_o"), kStartMs);
    EXPECT_LT(game.changed(parkAtQuit, park, cash), 0.01) << "the cash as at the quit";
    EXPECT_LT(game.changed(parkAtQuit, park, date), 0.01) << "the date as at the quit";
    openFold("BuildingsFoldReloaded", hud("btn_fold2"), fold2);
    game.tap(fold2("helper_finances"));
    play.steady("FinancesReloaded", play.changes(park, orange, 0.5), orange);
    const Picture bankReloaded = openTab("BankReloaded", "btn_bank_o", report);
    EXPECT_LT(game.changed(bankAtQuit, bankReloaded, cashBox), 0.01) << "cash and loan as at the quit";
    EXPECT_LT(game.changed(bankAtQuit, bankReloaded, promotions), 0.01) << "the promotion as at the quit";
    const Picture pricesReloaded = openTab("PricesReloaded", "btn_tickets_o", priceTable);
    EXPECT_LT(game.changed(pricesAtQuit, pricesReloaded, priceTable), 0.01) << "the prices as at the quit";
    const Picture achievementsReloaded = openTab("AchievementsReloaded", "btn_achievements_o", achievementRows);
    EXPECT_LT(game.changed(achievementsAtQuit, achievementsReloaded, achievementRows), 0.01)
        << "the achievements as at the quit";

    PLAY_ON_OR_STOP("the reloaded screens");

    // The frame closed, the notice waiting again is opened: its reward is paid now.
    game.tap(achievements("btn_close_oi"));
    park = play.steady("FinancesClosedReloaded", play.changes(achievementsReloaded, orange, 0.5), orange);
    const Picture waiting = play.step("NoticeWaitsAgain", play.changes(noNotice, notice, 0.2));
    game.tap(notice);
    const Picture congratulated = play.steady("AchievementInfo", play.changes(waiting, question), question);
    game.tap(popup("helper_ok"));
    const Picture rewarded = play.steady("RewardPaid", play.changes(congratulated, question), cash);
    EXPECT_GT(game.changed(park, rewarded, cash), 0.01) << "the reward reached the cash";

    // Left again through the quit question: the park saved as it was, the reward paid.
    game.pressKey(XK_Escape);
    play.steady("QuitQuestionReloaded", play.changes(rewarded, question), question);
    game.tap(popup("helper_ok"));
    play.steady("MainMenuReloaded", menuShown, start("helper_play"));
    game.stop();
    const std::string savedAgain = dir.read(kProfileFile);
    EXPECT_EQ(number(savedAgain, "[cash]"), number(saved, "[cash]") + reward(dir, "Trick Teacher"));
    EXPECT_EQ(savedAgain.find("[achievement notice]"), std::string::npos) << savedAgain;
    // The walking visitors move as the park runs.
    const std::vector<std::string> paid = {"[cash]", "[achievement notice]", "[mBalanceThisMonth]", "[mStatThisMonth]",
                                           "[person walking]"};
    EXPECT_EQ(savedParkState(savedAgain, paid), savedParkState(saved, paid)) << "the rest of the park saved again as it was";
}

} // namespace
