// The food shop in the running game, played through its window: a saved park is started from
// the main menu, the pets fold opened from the HUD, Buy food chosen on the fold, a food bought,
// the store seen rising on the fold, the shop closed with its close button, and the park saved
// by quitting. Where to click is read from the same layouts the game draws.
// With PETPARK_SCREENSHOTS=<folder> in the environment the window is kept there at each stage.

#include "fixtures/GameWindow.h"
#include "fixtures/TempDir.h"

#include "core/Singleton.h"
#include "render/render.h"
#include "source_menu/Button.h"
#include "source_menu/ButtonBar.h"
#include "source_menu/MainMenuStart.h"
#include "source_menu/MenuBuyFood.h"
#include "source_menu/MenuIngame.h"
#include "source_menu/MenuIngameFold1.h"
#include "source_menu/Popup.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>
// After gtest: the X headers define macros such as None and Bool.
#include <X11/keysym.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

const std::string kResources = std::string(PETPARK_APP_DIR) + "/Resources/";

// A park of one profile, tutorial off, with 40 portions in store and cash to buy with.
const char* const kProfile = "[name]\nTester\n\n[tutorial]\n0 17 -1\n1 1 1\n\n[avatar]\navatar1.png\n\n"
                             "[food]\n40\n\n[cash]\n5000\n\n[loan]\n0\n\n[date]\n1 3 2010\n";
const char* const kOptions = "[resolution]\n800\n600\n\n[fullscreen]\n0\n\n[music volume]\n0\n\n"
                             "[sound volume]\n0\n\n[profile]\n0\n";

template <class T>
T* bound(const char* screen)
{
    T* instance = Singleton<T>::get();
    if (instance->mChildren.empty())
        instance->init((kResources + "data/psd/" + screen + ".txt").c_str());
    return instance;
}

// The screens read from their layouts, without an engine: only where their buttons lie.
void readLayouts()
{
    textsManager.load(kResources + "data/dat/texts.dat");
    Render* engine = Render::current();
    Render::set_current(nullptr);
    FontStylesMgr* styles = Singleton<FontStylesMgr>::get();
    if (styles->styleCount() < 9)
        styles->load(kResources + "data/dat/fonts.dat");
    bound<ButtonBar>("ButtonBar");
    bound<MainMenuStart>("MainMenuStart");
    bound<MenuIngame>("MenuIngame");
    bound<MenuIngameFold1>("MenuIngameFold1");
    bound<MenuBuyFood>("MenuBuyFood");
    bound<Popup>("Popup");
    Render::set_current(engine);
}

struct Point {
    float x, y;
};

// The middle of a screen button's picture.
Point middleOf(const Button* button)
{
    const float4 picture = Singleton<ButtonBar>::get()->getIconImage(button->kind, 0)->getRect();
    return {button->x + 0.5f * picture.z, button->y};
}

// The middle of a layout button's first picture.
Point middleOf(WidgetButton* button)
{
    const float4 r = button->getImages()[0]->getRect();
    return {r.x + 0.5f * r.z, r.y + 0.5f * r.w};
}

// The share of the canvas rectangle's pixels that differ clearly between the two pictures.
double changed(const GameWindow& game, const std::vector<unsigned char>& a, const std::vector<unsigned char>& b,
               const float4& r)
{
    if (a.size() != b.size() || a.empty())
        return 0.0;
    const int x0 = game.toX(r.x), x1 = game.toX(r.x + r.z), y0 = game.toY(r.y), y1 = game.toY(r.y + r.w);
    int n = 0, differing = 0;
    for (int py = y0; py < y1; ++py)
        for (int px = x0; px < x1; ++px) {
            const size_t i = (size_t(py) * game.width() + px) * 3;
            const int d = std::abs(a[i] - b[i]) + std::abs(a[i + 1] - b[i + 1]) + std::abs(a[i + 2] - b[i + 2]);
            differing += d > 60 ? 1 : 0;
            ++n;
        }
    return n ? double(differing) / n : 0.0;
}

// The words of a saved record line ("[key]" then one line of numbers).
std::vector<int> savedWords(const std::string& text, const std::string& key)
{
    std::vector<int> words;
    const size_t at = text.find(key + "\n");
    if (at == std::string::npos)
        return words;
    const size_t start = at + key.size() + 1;
    const std::string line = text.substr(start, text.find('\n', start) - start);
    char* end = nullptr;
    for (const char* p = line.c_str(); *p; p = end) {
        const long value = std::strtol(p, &end, 10);
        if (end == p)
            break;
        words.push_back(static_cast<int>(value));
    }
    return words;
}

TEST(FoodShopInTheGame, BuyFoodFromTheFoldRaisesTheStoreOnTheFoldAndTheCloseButtonClosesTheShop)
{
    readLayouts();
    TempDir dir;
    GameWindow game(dir);
    dir.write("PetPark/Resources/data/game/Profiles/profile1.txt", kProfile);
    dir.write("PetPark/Resources/data/game/save.txt", kOptions);
    // Days long enough that the month, and with it the month's records, stays while the test
    // plays (a day passes in real time).
    std::string rules = dir.read("PetPark/Resources/data/game/global.txt");
    const size_t speed = rules.find("[game speed]\n");
    ASSERT_NE(speed, std::string::npos);
    const size_t value = speed + std::string("[game speed]\n").size();
    rules.replace(value, rules.find('\n', value) - value, "3600000");
    dir.write("PetPark/Resources/data/game/global.txt", rules);
    ASSERT_TRUE(game.start());
    ASSERT_TRUE(game.waitFrames(3)) << game.stop().substr(0, 3000);
    ASSERT_EQ(game.width(), 800);

    auto click = [&game](Point p) { game.click(game.toX(p.x), game.toY(p.y)); };
    auto keep = [&game](const char* name) {
        game.settle();
        const std::vector<unsigned char> shot = game.picture();
        game.keepPicture(shot, name);
        return shot;
    };

    // The main menu of the saved profile: Play.
    keep("PlayMainMenu");
    click(middleOf(Singleton<MainMenuStart>::get()->buttons[0]));
    const std::vector<unsigned char> park = keep("PlayPark");

    // The pets fold from the HUD: its food label reads the store.
    MenuIngameFold1* foldLayout = Singleton<MenuIngameFold1>::get();
    click(middleOf(Singleton<MenuIngame>::get()->mWidget4));
    const std::vector<unsigned char> fold = keep("PlayPetsFold");
    const float4 label = foldLayout->mWidget8->getRect();
    const float4 icon = foldLayout->mWidget1->getImages()[0]->getRect();
    EXPECT_GT(changed(game, park, fold, icon), 0.2) << "the fold came in";

    // Buy food on the fold opens the shop over the park (the right half of its frame is clear
    // of the fold).
    click(middleOf(foldLayout->mFoodButton));
    const std::vector<unsigned char> shop = keep("PlayFoodShop");
    MenuBuyFood* layout = Singleton<MenuBuyFood>::get();
    float4 frame = layout->mWidget0->getImages()[0]->getRect();
    frame.x += 0.5f * frame.z;
    frame.z *= 0.5f;
    const double shopShown = changed(game, fold, shop, frame);
    EXPECT_GT(shopShown, 0.3) << "the shop's frame over the park";

    // The first food bought, then the close button: the shop goes, the park shows again where
    // its frame was.
    click(middleOf(layout->mBuyButtons[0]));
    keep("PlayFoodBought");
    click(middleOf(layout->mWidget1));
    std::vector<unsigned char> closed = keep("PlayFoodShopClosed");
    EXPECT_LT(changed(game, fold, closed, frame), 0.5 * shopShown) << "the shop's frame is gone";
    // The fold shows the risen store (opened again should the shop have closed it).
    if (changed(game, fold, closed, icon) > 0.1) {
        click(middleOf(Singleton<MenuIngame>::get()->mWidget4));
        closed = keep("PlayPetsFoldAgain");
    }
    EXPECT_LT(changed(game, fold, closed, icon), 0.1) << "the fold as before";
    EXPECT_GT(changed(game, fold, closed, label), 0.002) << "the store's number changed on the fold";

    // Quitting saves the park: the store and this month's food records hold the purchase.
    game.pressKey(XK_Escape);
    keep("PlayQuitQuestion");
    click(middleOf(Singleton<Popup>::get()->okButton));
    game.settle();
    const std::string output = game.stop();
    const std::string saved = dir.read("PetPark/Resources/data/game/Profiles/profile1.txt");
    ASSERT_FALSE(saved.empty()) << output.substr(0, 3000);
    EXPECT_EQ(savedWords(saved, "[food]"), std::vector<int>{70});
    const std::vector<int> money = savedWords(saved, "[mBalanceThisMonth]");
    const std::vector<int> counts = savedWords(saved, "[mStatThisMonth]");
    ASSERT_EQ(money.size(), 14u);
    ASSERT_EQ(counts.size(), 14u);
    EXPECT_EQ(money[5], -120);
    EXPECT_EQ(counts[5], 1);
}

} // namespace
