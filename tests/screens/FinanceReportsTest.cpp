// The statistics, ranking and achievements tabs of the finance frame over their built layouts
// and the shipped game data and texts: the counts of a closed month beside the new one, the
// ranking's order and the player's place day by day, the achievements' marks after one is
// reached, and clicks ignored while the game is paused or a popup is open.

#include "MainMenuTestSupport.h"
#include "ScreenLayouts.h"

#include "../toolkit/DrawnQuads.h"
#include "fixtures/PngWriter.h"
#include "render/CRender.h"
#include "render/render.h"

#include "game/CashAccount.h"
#include "game/DataAchievement.h"
#include "game/DataBuilding.h"
#include "game/DataRankingPark.h"
#include "game/GameDate.h"
#include "game/Profiles.h"
#include "game/Promotion.h"
#include "source_menu/TextTable.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace screens;

namespace {

// Layout geometry of the finance tables (canvas pixels of the 1024 x 768 layout): the row
// background starts at x 136, y 198, 768 wide and 12 high.
const float kRowX = (136.0f + 384.0f) / 1024.0f;
float rowY(int row, float rowHeight)
{
    return (198.0f + 6.0f) / 768.0f + 0.003f + static_cast<float>(row) * rowHeight;
}

void pointAt(float x, float y, int down = 0)
{
    sDevice* mouse = Singleton<ControlMngr>::get()->mPointerDevices.front();
    mouse->data[kPointerXWord].f = x;
    mouse->data[kPointerYWord].f = y;
    mouse->data[kPointerButtonWord].i = down;
}

std::wstring money(int amount)
{
    return std::to_wstring(amount) + L" coins";
}

class FinanceReports : public testing::Test {
protected:
    void SetUp() override
    {
        menus::bindMenuScreens();
        statistics = menus::bound<MenuStatistics>("MenuStatistics");
        ranking = menus::bound<MenuRanking>("MenuRanking");
        achievements = menus::bound<MenuAchievements>("MenuAchievements");

        // The shipped game data and texts, copied into the test's own folder (the day's autosave
        // writes there).
        const auto copy = std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing;
        std::filesystem::copy(PETPARK_SOURCE_DIR "/data/game", data.dir().file("data/game"), copy);
        std::filesystem::copy(PETPARK_SOURCE_DIR "/data/dat/texts.dat", data.dir().file("data/dat/texts.dat"), copy);
        textsManager.load("data/dat/texts.dat");
        storage = ParkTestData::load(5);
        ASSERT_TRUE(saveProfile("data/game/Profiles/profile1.txt", L"tina", L"avatar1.png", 1, 0, -1, 0, 0, 0));
        storage->scanProfiles("data/game/");
        ASSERT_EQ(storage->mProfiles.size(), 1u);
        storage->mCurrentProfile = 0;

        tutorial = Singleton<Tutorial>::get();
        savedMessages = tutorial->messages;
        tutorial->messages = readTutorialMessages("data/game/tutorial.txt");
        ControlMngr* input = Singleton<ControlMngr>::get();
        if (input->mPointerDevices.empty())
            input->addDevice(DEVICE_POINTER, -1);
        pointAt(-1.0f, -1.0f);
        bar = Singleton<MenuDateBar>::get();
        bar->paused = 0;
        bar->modal = 0;
        Singleton<MenuManager>::get()->mCurrentMenu = L"nomenu";
        Singleton<GameBackground3D>::get()->mCamera->reset();
        menus::hideAllCompletely();
    }

    void TearDown() override
    {
        menus::hideAllCompletely();
        for (TutMessage* message : tutorial->messages)
            delete message;
        tutorial->messages = savedMessages;
        bar->paused = 0;
        bar->modal = 0;
        pointAt(-1.0f, -1.0f);
        for (DataProfile* profile : storage->mProfiles)
            storage->retire(profile);
        storage->mProfiles.clear();
        storage->mCurrentProfile = -1;
    }

    // Asked to show as the finance frame does, then stepped with its own update until shown.
    static void showFully(Container* screen)
    {
        screen->setStateAll("game", kShowShown, 250);
        for (int i = 0; i < 30; ++i)
            screen->update();
    }

    // The screen's pictures loaded from the application's folder: a button is pointed at only
    // where its picture is.
    static void loadPictures(Container* screen)
    {
        const std::filesystem::path home = std::filesystem::current_path();
        std::filesystem::current_path(std::string(PETPARK_APP_DIR) + "/Resources");
        screen->load();
        for (int i = 0; i < 5000 && !screen->isLoaded(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        std::filesystem::current_path(home);
        ASSERT_TRUE(screen->isLoaded()) << screen->name;
    }

    // Pressed over the widget's picture for a few logic steps; returns the widget's layer state
    // (2 when the press reached it), then lets go away from it.
    static int pressOn(Container* screen, WidgetBase* widget)
    {
        const float4 r = widget->getImages().front()->getRect();
        pointAt(r.x + 0.5f * r.z, r.y + 0.5f * r.w, 1);
        for (int i = 0; i < 3; ++i)
            screen->update();
        const int state = widget->getLayerStates().second;
        pointAt(-1.0f, -1.0f);
        for (int i = 0; i < 3; ++i)
            screen->update();
        return state;
    }

    // The park's cash as the three screens' cash labels show it.
    int cash() const { return storage->mGlobalSettings->mCashAccount->mCash; }

    ParkTestData data;
    DataStorage* storage = nullptr;
    MenuStatistics* statistics = nullptr;
    MenuRanking* ranking = nullptr;
    MenuAchievements* achievements = nullptr;
    Tutorial* tutorial = nullptr;
    MenuDateBar* bar = nullptr;
    std::vector<TutMessage*> savedMessages;
};

// ---- statistics

TEST_F(FinanceReports, StatisticsShowTheCountsOfTheClosedMonthBesideTheNewMonth)
{
    // A promotion and an achievement's reward booked in the running month.
    storage->mPromotions[0]->buy();
    storage->mAchievements[0]->giveReward();
    GameDate* date = storage->mGlobalSettings->mDate;
    const int month = date->mMonth;
    MonthBalance closing;
    for (int day = 0; day < 40 && date->mMonth == month; ++day) {
        closing = *storage->mStatThisMonth;
        storage->newDay();
    }
    ASSERT_NE(date->mMonth, month);
    EXPECT_EQ(closing.mValues[t_ParkPromotion], 1);
    EXPECT_EQ(closing.mValues[t_Other], 1);

    // The new day refilled the hidden screen.
    EXPECT_EQ(showState(statistics), kShowHidden);
    TextTable* table = statistics->mTable;
    const int separator = -1;
    const std::vector<std::pair<const wchar_t*, int>> rows = {
        {L"t_NewBuildings", t_NewBuildings},       {L"t_BuildingsRepairs", t_BuildingsRepairs},
        {L"t_BuildingsSold", t_BuildingsSold},     {L"", separator},
        {L"t_PetsHosted", t_PetsHosted},           {L"t_PetsFood", t_PetsFood},
        {L"t_PetsMedicalCare", t_PetsMedicalCare}, {L"t_TricksTeached", t_TricksTeached},
        {L"", separator},                          {L"t_RestaurantSales", t_RestaurantSales},
        {L"t_OwnersHotelSales", t_OwnersHotelSales}, {L"", separator},
        {L"t_ParkTicketsSale", t_ParkTicketsSale}, {L"", separator},
        {L"t_ParkPromotion", t_ParkPromotion},     {L"", separator},
        {L"t_Other", t_Other}};
    ASSERT_EQ(table->rowCount(), static_cast<int>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(table->columns[0][r], rows[r].first);
        const int word = rows[r].second;
        EXPECT_EQ(table->columns[1][r], word == separator ? L"0" : std::to_wstring(closing.mValues[word]));
        EXPECT_EQ(table->columns[2][r],
                  word == separator ? L"0" : std::to_wstring(storage->mStatThisMonth->mValues[word]));
        // Every row key has its text in the shipped table.
        if (word != separator) {
            EXPECT_NE(textsManager.get(rows[r].first), std::wstring(L"missing text"));
        }
    }

    // Right after a month's close the new month counts nothing yet.
    storage->closeMonth();
    statistics->reset();
    for (int r = 0; r < table->rowCount(); ++r)
        EXPECT_EQ(table->columns[2][r], L"0") << r;

    // Shown: the names come from the texts table, cash and loan carry the currency.
    showFully(statistics);
    statistics->draw();
    EXPECT_EQ(statistics->mWidget7->getText(0), L"Other");
    EXPECT_EQ(statistics->mWidget12->getText(0), money(cash()));
    EXPECT_EQ(statistics->mWidget13->getText(0), money(storage->mGlobalSettings->mCashAccount->mLoan));
}

TEST_F(FinanceReports, EachScreenAsksForItsTutorialMessageWhenFullyShownNotAtTheDailyRefill)
{
    const std::pair<Container*, const wchar_t*> screens[] = {
        {statistics, L"Statistics"}, {ranking, L"Ranking"}, {achievements, L"Awards"}};
    for (const auto& [screen, title] : screens) {
        storage->newDay();
        EXPECT_EQ(showState(tutorial), kShowHidden) << title;
        showFully(screen);
        EXPECT_EQ(tutorial->mWidget13->getText(0), title);
        EXPECT_EQ(showState(tutorial), kShowAppearing);
        hideNow(tutorial);
        hideNow(screen);
        showFully(screen);
        EXPECT_EQ(showState(tutorial), kShowHidden) << title;  // once only
        hideNow(screen);
    }
}

// ---- ranking

TEST_F(FinanceReports, RankingOrdersTheParksAndHighlightsThePlayersPlaceDayByDay)
{
    const size_t rivals = storage->mGlobalSettings->mRankingParks.size();
    ASSERT_GE(rivals, 3u);
    storage->rankParks(), ranking->showRanking();  // as at the profile's loading
    TextTable* table = ranking->mTable;
    const auto check = [&](int day) {
        SCOPED_TRACE(day);
        ASSERT_EQ(table->rowCount(), static_cast<int>(rivals) + 1);
        int player = -1;
        for (int r = 0; r < table->rowCount(); ++r) {
            EXPECT_EQ(table->columns[0][r], std::to_wstring(r + 1) + L".");
            if (r > 0) {
                EXPECT_GE(std::stoi(table->columns[2][r - 1]), std::stoi(table->columns[2][r]));
            }
            if (table->columns[1][r] == L"tina Park")
                player = r;
        }
        ASSERT_GE(player, 0);
        EXPECT_EQ(table->columns[2][player], std::to_wstring(storage->mPopularity));
        EXPECT_EQ(storage->mPlayerPlace, player + 1);
        EXPECT_EQ(table->selectedRow, player);
        // The place is what the "pr" requirement reads.
        EXPECT_TRUE(storage->checkRequirements(L"pr:" + std::to_wstring(player + 1)));
        if (player > 0) {
            EXPECT_FALSE(storage->checkRequirements(L"pr:" + std::to_wstring(player)));
        }
    };
    check(0);
    const int firstPlace = storage->mPlayerPlace;
    std::vector<float> before;
    for (DataRankingPark* rival : storage->mGlobalSettings->mRankingParks)
        before.push_back(rival->mPopularity);
    for (int day = 1; day <= 35; ++day) {
        storage->newDay();
        check(day);
    }
    // A month later the rivals' curves have moved.
    std::vector<float> after;
    for (DataRankingPark* rival : storage->mGlobalSettings->mRankingParks)
        after.push_back(rival->mPopularity);
    EXPECT_NE(before, after);

    // A park made far more popular climbs to the top by the next day.
    for (DataBuilding* building : storage->mBuildingDefinitions)
        storage->mParkBuildings.push_back(building);
    storage->mPromotions[0]->mPopularityWorth = 1000;
    storage->mPromotions[0]->mDaysLeft = 5;
    storage->newDay();
    check(36);
    EXPECT_EQ(storage->mPlayerPlace, 1);
    EXPECT_LT(storage->mPlayerPlace, firstPlace);

    // Shown, the player's row stays highlighted wherever the pointer is.
    showFully(ranking);
    pointAt(kRowX, rowY(3, table->rowHeight));
    EXPECT_EQ(table->draw(), 0);
    EXPECT_EQ(ranking->mWidget3->getText(0), money(cash()));
}

TEST_F(FinanceReports, RankingKeepsNamesAsTheyAreAndSurvivesABrokenCalendar)
{
    // Without a profile the ranking stays as it was.
    storage->rankParks(), ranking->showRanking();
    const std::vector<std::vector<std::wstring>> built = ranking->mTable->columns;
    const int place = storage->mPlayerPlace;
    storage->mCurrentProfile = -1;
    storage->rankParks(), ranking->showRanking();
    EXPECT_EQ(ranking->mTable->columns, built);
    EXPECT_EQ(storage->mPlayerPlace, place);
    storage->mCurrentProfile = 0;

    // A name with printf directives, or starting like a text key, is shown as typed.
    storage->mProfiles[0]->mName = L"t%s%n%d";
    storage->rankParks(), ranking->showRanking();
    const std::vector<std::wstring>& names = ranking->mTable->columns[1];
    EXPECT_EQ(names[static_cast<size_t>(storage->mPlayerPlace - 1)], L"t%s%n%d Park");

    // A start year far out of range from a broken saved game neither overflows nor spoils the order.
    GameDate* date = storage->mGlobalSettings->mDate;
    const int year = date->mStartYear;
    for (int broken : {INT_MAX, INT_MIN}) {
        date->mStartYear = broken;
        storage->rankParks(), ranking->showRanking();
        EXPECT_EQ(ranking->mTable->rowCount(), static_cast<int>(storage->mGlobalSettings->mRankingParks.size()) + 1);
        for (DataRankingPark* rival : storage->mGlobalSettings->mRankingParks) {
            EXPECT_GE(rival->mPopularity, 0.0f);
            EXPECT_LE(rival->mPopularity, storage->mGlobalSettings->mMaxPopularity);
        }
    }
    date->mStartYear = year;
}

// ---- achievements

TEST_F(FinanceReports, AchievementsListMarksAReachedAchievementFromTheNextRefill)
{
    const std::vector<DataAchievement*>& list = storage->mAchievements;
    showFully(achievements);
    TextTable* table = achievements->mTable;
    ASSERT_EQ(table->rowCount(), static_cast<int>(list.size()));
    ASSERT_EQ(achievements->mDone.size(), list.size());
    for (size_t r = 0; r < list.size(); ++r) {
        EXPECT_EQ(table->columns[0][r], list[r]->mName);
        EXPECT_EQ(table->columns[1][r], std::to_wstring(list[r]->mReward));
        EXPECT_EQ(table->columns[2][r], L"");
        EXPECT_FALSE(achievements->mDone[r]);
    }

    // The vet in the park: its achievement is reached at the rules' next check.
    size_t vet = list.size();
    for (size_t r = 0; r < list.size(); ++r)
        if (list[r]->mRequirements == L"b:OtherVet.txt")
            vet = r;
    ASSERT_LT(vet, list.size());
    for (DataBuilding* building : storage->mBuildingDefinitions)
        if (building->hasFileName("OtherVet.txt"))
            storage->mParkBuildings.push_back(building);
    for (int step = 0; step < 102; ++step)
        storage->update();
    ASSERT_EQ(list[vet]->mDone, 1);
    // Reached while the screen is open: its mark waits for the next refill.
    EXPECT_FALSE(achievements->mDone[vet]);
    storage->newDay();
    for (size_t r = 0; r < list.size(); ++r)
        EXPECT_EQ(achievements->mDone[r], list[r]->mDone != 0) << r;
    EXPECT_TRUE(achievements->mDone[vet]);
    EXPECT_EQ(achievements->mWidget10->getText(0), money(cash()));

    // The description follows the pointer; over no row the field's own text.
    pointAt(kRowX, rowY(static_cast<int>(vet), table->rowHeight));
    achievements->draw();
    EXPECT_EQ(achievements->mWidget2->getText(0), list[vet]->mDescription);
    pointAt(kRowX, 0.95f);
    achievements->draw();
    EXPECT_EQ(achievements->mWidget2->getText(0), std::wstring(textsManager.get(L"achievementsdefault")));

    // Names and descriptions are text, never formats.
    list[vet]->mName = L"%s%n";
    list[vet]->mDescription = L"%ls %d%%";
    achievements->reset();
    EXPECT_EQ(table->columns[0][vet], L"%s%n");
    pointAt(kRowX, rowY(static_cast<int>(vet), table->rowHeight));
    achievements->draw();
    EXPECT_EQ(achievements->mWidget2->getText(0), L"%ls %d%%");
}

// ---- drawing

// A reset (the daily refill) or an appearance makes every child of a screen visible, the table's
// own widgets too: they are drawn by the table only, so the highlight never lands on row 0 as
// well. Only the highlight has a picture here; its quads are told by their texture.
TEST_F(FinanceReports, TheHighlightIsDrawnOnlyWhereTheTableMarksARow)
{
    std::vector<unsigned char> rgba(8 * 8 * 4, 255);
    ASSERT_TRUE(write_png(data.dir().file("mark.png"), 8, 8, rgba.data()));
    CRender::Image mark;
    ASSERT_TRUE(mark.load(data.dir().file("mark.png")));
    Render* engine = Render::current();
    const auto frame = [&](const std::function<void()>& draw) {
        screensDevice().clear();
        engine->begin(nullptr, 0.0f, 4.0f / 3.0f);
        draw();
        engine->end(true, true, true);
        return drawnQuads(screensDevice());
    };
    const long long markTexture = frame([&] { mark.draw(0.1f, 0.1f, 0.1f, 0.1f, 1, 1, 1, 1, 1); }).at(0).texture;

    storage->rankParks(), ranking->showRanking();
    const int player = storage->mPlayerPlace - 1;
    struct Case {
        Container* screen;
        WidgetBase* highlight;
        TextTable* table;
        int markedRow;  // -1: the pointer is over no row, nothing is highlighted
    };
    const Case cases[] = {{statistics, statistics->mWidget1, statistics->mTable, -1},
                          {ranking, ranking->mWidget11, ranking->mTable, player},
                          {achievements, achievements->mWidget7, achievements->mTable, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screen->name);
        MyImage* picture = c.highlight->getImages().front();
        picture->setImage(&mark);
        showFully(c.screen);
        for (const char* moment : {"appeared", "refilled"}) {
            SCOPED_TRACE(moment);
            if (std::string(moment) == "refilled")
                storage->newDay();
            std::vector<DrawnQuad> marks;
            // As wide as the table: a font made on an earlier test's device may share the mark's number.
            for (const DrawnQuad& quad : frame([&] { c.screen->draw(); }))
                if (quad.texture == markTexture && quad.x1 - quad.x0 > 0.5f)
                    marks.push_back(quad);
            ASSERT_EQ(marks.size(), c.markedRow < 0 ? 0u : 1u);
            if (c.markedRow >= 0) {
                const float below = marks[0].y0 - picture->getRect().y - c.markedRow * c.table->rowHeight;
                EXPECT_GT(below, 0.001f);
                EXPECT_LT(below, 0.01f);
            }
        }
        picture->setImage(nullptr);
        hideNow(c.screen);
    }
}

// ---- input

TEST_F(FinanceReports, NoInputReachesTheScreensWhilePausedOrUnderAPopup)
{
    struct Case {
        Container* screen;
        WidgetBase* close;
        std::function<void(int, int)> handler;
    };
    const Case cases[] = {
        {statistics, statistics->mWidget2, [this](int p, int c) { statistics->onWidget2(p, c); }},
        {ranking, ranking->mWidget0, [this](int p, int c) { ranking->onWidget0(p, c); }},
        {achievements, achievements->mWidget0, [this](int p, int c) { achievements->onWidget0(p, c); }}};
    storage->mProfiles[0]->mTutorial = 0;  // no message opens over the screens
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screen->name);
        loadPictures(c.screen);
        showFully(c.screen);
        bar->paused = 1;
        EXPECT_EQ(pressOn(c.screen, c.close), 0);
        bar->paused = 0;
        Singleton<Popup>::get()->Container::setVisible(1);
        bar->checkModal();
        ASSERT_EQ(bar->modal, 1);
        EXPECT_EQ(pressOn(c.screen, c.close), 0);
        Singleton<Popup>::get()->Container::setVisible(0);
        bar->checkModal();
        EXPECT_EQ(pressOn(c.screen, c.close), 2);
        EXPECT_EQ(showState(c.screen), kShowShown);
        // Pressed, not yet released, then released over the button: every panel closes.
        c.handler(1, 2);
        EXPECT_EQ(showState(c.screen), kShowShown);
        c.handler(2, 3);
        EXPECT_EQ(showState(c.screen), kShowDisappearing);
        hideNow(c.screen);
    }
}

} // namespace
