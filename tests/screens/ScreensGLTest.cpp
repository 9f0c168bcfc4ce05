// The game's screens in a real window (Mesa's software OpenGL under Xvfb), drawn from their own
// layouts and pictures: their pictures land where the layouts put them.
// With PETPARK_SCREENSHOTS=<folder> in the environment each drawn screen is also written there
// as <Screen>.png, to look at the layouts.

#include "core/ControlMngr.h"
#include "fixtures/GLTestWindow.h"
#include "fixtures/PngWriter.h"
#include "fixtures/TempDir.h"
#include "render/CRender.h"
#include "render/external/bg_loader.h"
#include "render/render.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "park/OnePerson.h"
#include "park/PublicManager.h"
#include "game/CashAccount.h"
#include "game/DataAchievement.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/DataStorage.h"
#include "game/GameOptions.h"
#include "game/TextFormat.h"
#include "game/GlobalSettings.h"
#include "game/Profiles.h"
#include "render/CRender.h"
#include "render/external/bg_loader.h"
#include "render/render.h"
#include "source_menu/BuildingsDiscription.h"
#include "source_menu/Button.h"
#include "source_menu/ButtonBar.h"
#include "source_menu/Cursors.h"
#include "source_menu/MainMenuChooseProfile.h"
#include "source_menu/HappinessBar.h"
#include "source_menu/MainMenuCreateProfile.h"
#include "source_menu/MainMenuDeleteProfile.h"
#include "source_menu/MainMenuStart.h"
#include "source_menu/HudFold.h"
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
#include "source_menu/MenuLoading.h"
#include "source_menu/MenuManager.h"
#include "source_menu/MenuIngameFold2.h"
#include "source_menu/MenuOptions.h"
#include "source_menu/MenuOrange.h"
#include "source_menu/MenuOrangeFolds.h"
#include "source_menu/MenuRanking.h"
#include "source_menu/MenuStatistics.h"
#include "source_menu/MenuTickets.h"
#include "source_menu/Popup.h"
#include "source_menu/ProgressBar.h"
#include "source_menu/ScreenParkEvents.h"
#include "source_menu/ScrollPopup.h"
#include "source_menu/Tutorial.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/utils/PSDImport.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/Container.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetCheckbox.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

struct Pixel {
    int r, g, b;
};

Render& engine()
{
    static Render* render = [] {
        Render* r = new Render("DISABLE_FBO NO_VSYNC NO_SLEEP");
        r->init(gl_test_device());
        return r;
    }();
    return *render;
}

void setWindow(int width, int height)
{
    int w = width, h = height;
    engine().getDevice()->SetVideoMode(Device::vm_window, &w, &h, L"Pet Park tests");
    engine().getDevice()->Present();
}

// The back buffer's pixel at a point of the window (by default the 1024 x 768 layout canvas).
Pixel probe(int x, int y, int windowHeight = kHeight)
{
    unsigned char p[4] = {};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, windowHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Pixel{p[0], p[1], p[2]};
}

int brightness(Pixel p)
{
    return (p.r + p.g + p.b) / 3;
}

void clearFrame()
{
    CRender::begin(nullptr, 0, 1.3333f);
    CRender::end(3);
}

// Loads the screen's pictures, drawing empty frames meanwhile.
void loadFully(Container* screen)
{
    screen->load();
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!screen->isLoaded() && std::chrono::steady_clock::now() < end) {
        clearFrame();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ASSERT_TRUE(screen->isLoaded()) << screen->name;
}

// Loads and shows the screens and steps them until their widgets have faded in.
void show(const std::vector<Container*>& screens)
{
    for (Container* screen : screens) {
        loadFully(screen);
        // Shown at once; the widgets' own fades take their 250 ms.
        screen->setStateAll("game", 2, 0);
        for (int k = 0; k < 30; ++k)
            screen->update();
    }
}

// Draws the screens into one frame, first to last; the frame stays in the back buffer.
void draw(const std::vector<Container*>& screens, const char* shot, int width = kWidth, int height = kHeight)
{
    clearFrame();
    CRender::begin(nullptr, 0, 1.3333f);
    for (Container* screen : screens)
        screen->draw();
    CRender::end(0);

    if (const char* folder = std::getenv("PETPARK_SCREENSHOTS")) {
        std::vector<unsigned char> rgba(size_t(width) * height * 4);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        std::vector<unsigned char> flipped(rgba.size());
        const size_t row = size_t(width) * 4;
        for (int y = 0; y < height; ++y)
            std::copy(&rgba[y * row], &rgba[y * row] + row, &flipped[(height - 1 - y) * row]);
        write_png(std::string(folder) + "/" + shot + ".png", width, height, flipped.data());
    }
}

void showAndDraw(const std::vector<Container*>& screens, const char* shot)
{
    show(screens);
    draw(screens, shot);
}

class ScreensOnScreen : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Render::set_current(&engine());
        setWindow(kWidth, kHeight);
        std::filesystem::current_path(std::string(PETPARK_APP_DIR) + "/Resources");
        textsManager.load("data/dat/texts.dat");
        Singleton<FontStylesMgr>::get()->load();
        clearFrame();
        // The screens' own buttons take their pictures from the bank.
        ButtonBar* bank = Singleton<ButtonBar>::get();
        if (bank->mChildren.empty())
            bank->init("data/psd/ButtonBar.txt");
        loadFully(bank);
        // The options screen shows the options' values; its file lives in a folder of its own.
        DataStorage* storage = Singleton<DataStorage>::get();
        if (!storage->mOptions) {
            optionsFolder().write("save.txt", "[resolution]\n1024\n768\n\n[fullscreen]\n0\n\n[music volume]\n0.5\n\n"
                                              "[sound volume]\n0.25\n\n[profile]\n-1\n");
            storage->mOptions = new GameOptions(optionsFolder().path() + "/");
        }
    }
    static const TempDir& optionsFolder()
    {
        static TempDir folder;
        return folder;
    }
    static void TearDownTestSuite()
    {
        bgLoader.shutdown();
        setWindow(256, 256);
        Render::set_current(nullptr);
    }
};

TEST_F(ScreensOnScreen, TheProfileScreenShowsTheParkThePanelAndALightNameField)
{
    MainMenuCreateProfile screen;
    screen.init("data/psd/MainMenuCreateProfile.txt");
    showAndDraw({&screen}, "MainMenuCreateProfile");

    const Pixel sky = probe(40, 120);
    EXPECT_GT(sky.b, sky.r + 40) << "the sky of the park behind the menu";
    const Pixel grass = probe(40, 750);
    EXPECT_GT(grass.g, grass.r + 40) << "the park's grass";
    const Pixel panel = probe(300, 600);
    EXPECT_LT(brightness(panel), 70) << "the dark panel body";
    const Pixel field = probe(330, 470);
    EXPECT_GT(brightness(field), 200) << "the light name field";
}

TEST_F(ScreensOnScreen, TheBankSitsInTheOrangeFrameUnderItsTabs)
{
    MenuOrange frame;
    frame.init("data/psd/MenuOrange.txt");
    MenuOrangeFolds tabs;
    tabs.init("data/psd/MenuOrangeFolds.txt");
    MenuBank bank;
    bank.init("data/psd/MenuBank.txt");
    showAndDraw({&frame, &tabs, &bank}, "MenuBank");

    const Pixel header = probe(150, 120);
    EXPECT_GT(header.r, header.b + 60) << "the frame's orange header";
    const Pixel body = probe(660, 582);
    EXPECT_LT(brightness(body), 80) << "the frame's dark body";
    const Pixel tab = probe(200, 75);
    EXPECT_GT(tab.r, tab.b + 40) << "an orange tab above the frame";
    const Pixel close = probe(892, 118);
    EXPECT_GT(close.r, close.g + 40) << "the red close button";
}

// The picture banks the screens' own buttons and gauges draw from, read and loaded once, and the
// park's data they show.
void prepareBanksAndPark()
{
    installParkEvents(Singleton<ScreenParkEvents>::get());
    DataStorage* storage = Singleton<DataStorage>::get();
    if (storage->mBuildingDefinitions.empty())
        loadGameData(storage, "data/game/");
    const std::vector<std::pair<Container*, const char*>> banks = {{Singleton<ButtonBar>::get(), "ButtonBar"},
                                                                   {Singleton<ProgressBar>::get(), "ProgressBar"},
                                                                   {Singleton<HappinessBar>::get(), "HappinessBar"}};
    for (const auto& [bank, name] : banks) {
        if (bank->mChildren.empty())
            bank->init((std::string("data/psd/") + name + ".txt").c_str());
        bank->load();
        while (!bank->isLoaded())
            clearFrame();
    }
}

TEST_F(ScreensOnScreen, TheHudDateBarFoldAndDialogsDraw)
{
    prepareBanksAndPark();
    MenuIngame hud;
    hud.init("data/psd/MenuIngame.txt");
    MenuDateBar date;
    date.init("data/psd/MenuDateBar.txt");
    MenuIngameFold1 fold;
    fold.init("data/psd/MenuIngameFold1.txt");
    show({&hud, &date, &fold});
    date.mWidget1->setVisible(0);  // the pause shade
    hud.mWidget17->setVisible(0);  // the visitor panel (the animal panel's place)
    draw({&hud, &date, &fold}, "MenuIngame");
    const Pixel foldButton = probe(200, 745);
    EXPECT_GT(foldButton.g, foldButton.b + 40) << "the green button of the pets fold";

    Popup popup;
    popup.init("data/psd/Popup.txt");
    showAndDraw({&popup}, "Popup");
    MenuOptions options;
    options.init("data/psd/MenuOptions.txt");
    showAndDraw({&options}, "MenuOptions");
    ScrollPopup scroll;
    scroll.init("data/psd/ScrollPopup.txt");
    showAndDraw({&scroll}, "ScrollPopup");
    Tutorial tutorial;
    tutorial.init("data/psd/Tutorial.txt");
    showAndDraw({&tutorial}, "Tutorial");
}

// The buildings screens over the shipped park data: the blue frame under its tabs, the cards'
// icons, and the buy buttons of the kind's buildings.
TEST_F(ScreensOnScreen, TheBuildingScreensShowTheirCardsInTheBlueFrame)
{
    installParkEvents(Singleton<ScreenParkEvents>::get());
    DataStorage* storage = Singleton<DataStorage>::get();
    if (storage->mBuildingDefinitions.empty())
        loadGameData(storage, "data/game/");
    storage->mGlobalSettings->mCashAccount->mCash = 100000;
    std::vector<Container*> bank = {Singleton<ButtonBar>::get(), Singleton<ProgressBar>::get()};
    for (Container* screen : bank)
        if (screen->mChildren.empty())
            screen->init((std::string("data/psd/") + (screen == bank[0] ? "ButtonBar" : "ProgressBar") + ".txt").c_str());
    const std::vector<std::pair<Container*, const char*>> screens = {
        {Singleton<MenuBlueFolds>::get(), "MenuBlueFolds"},
        {Singleton<BuildingsDiscription>::get(), "BuildingsDiscription"},
        {Singleton<MenuBuildingBuySell1>::get(), "MenuBuildingBuySell1"},
        {Singleton<MenuBuildings1>::get(), "MenuBuildings1"},
        {Singleton<MenuBuildingBuySell2>::get(), "MenuBuildingBuySell2"},
        {Singleton<MenuBuildings2>::get(), "MenuBuildings2"}};
    for (const auto& [screen, name] : screens)
        if (screen->mChildren.empty())
            screen->init((std::string("data/psd/") + name + ".txt").c_str());
    MenuBuildingBuySell frame;
    frame.init("data/psd/MenuBuildingBuySell.txt");
    for (Container* screen : bank) {
        screen->load();
        while (!screen->isLoaded())
            clearFrame();
    }
    Singleton<MenuBlueFolds>::get()->setTab(0);
    Singleton<MenuBlueFolds>::get()->setTabCount(6);
    show({&frame, Singleton<MenuBlueFolds>::get(), Singleton<MenuBuildingBuySell1>::get()});
    for (int k = 0; k < 100; ++k)
        Singleton<MenuBlueFolds>::get()->update();
    for (DataBuilding* building : Singleton<MenuBuildingBuySell1>::get()->mBuildings)
        while (building->mIcon && !building->mIcon->is_loaded())
            clearFrame();
    draw({&frame, Singleton<MenuBlueFolds>::get(), Singleton<MenuBuildingBuySell1>::get()}, "MenuBuildingBuySell");
    EXPECT_EQ(Singleton<MenuBuildingBuySell1>::get()->mBuildings.size(), 3u);
    const Pixel body = probe(660, 582);
    EXPECT_LT(brightness(body), 90) << "the frame's dark body";

    MenuBuildings care;
    care.init("data/psd/MenuBuildings.txt");
    show({&care, Singleton<MenuBuildings1>::get()});
    draw({&care, Singleton<MenuBlueFolds>::get(), Singleton<MenuBuildings1>::get()}, "MenuBuildings");

    // The buildings of no kind, browsed three at a time.
    Singleton<MenuBuildingBuySell2>::get()->mFirst = 1;
    show({Singleton<MenuBuildingBuySell2>::get()});
    draw({&frame, Singleton<MenuBuildingBuySell2>::get()}, "MenuBuildingBuySell2");
    EXPECT_GT(Singleton<MenuBuildingBuySell2>::get()->mBuildings.size(), 3u);
    const std::vector<DataBuilding*> park = storage->mParkBuildings;
    for (DataBuilding* building : Singleton<MenuBuildingBuySell2>::get()->mBuildings)
        if (storage->mParkBuildings.size() < park.size() + 4)
            storage->mParkBuildings.push_back(building);
    storage->mParkBuildings.back()->mCondition = 4;
    show({Singleton<MenuBuildings2>::get()});
    draw({&care, Singleton<MenuBuildings2>::get()}, "MenuBuildings2");
    EXPECT_TRUE(Singleton<MenuBuildings2>::get()->mWidget0->isVisible()) << "four buildings to browse";
    storage->mParkBuildings = park;
}

// ---- the main menu, the profile screens, the options and the tutorial

// A profile as the list holds it, with its avatar picture loaded.
DataProfile* testProfile(const std::wstring& name, const char* avatar)
{
    DataProfile* profile = new DataProfile("data/game/Profiles/none.txt");
    profile->mName = name;
    profile->mAvatarFile = stringToWide(avatar);
    profile->mTutorial = 1;
    profile->mAvatar = requestImage(std::string("data/game/Profiles/Avatars/") + avatar);
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    int w = 0, h = 0;
    while (w == 0 && std::chrono::steady_clock::now() < end) {
        clearFrame();
        profile->mAvatar->get_size(&w, &h);
    }
    return profile;
}

// The profile list replaced by these profiles, the first current.
void useProfiles(const std::vector<DataProfile*>& profiles)
{
    DataStorage* storage = Singleton<DataStorage>::get();
    for (DataProfile* old : storage->mProfiles)
        storage->retire(old);
    storage->mProfiles = profiles;
    storage->mCurrentProfile = profiles.empty() ? -1 : 0;
}

TEST_F(ScreensOnScreen, TheMainMenuShowsTheProfileAndItsFourButtons)
{
    MainMenuStart start;
    start.init("data/psd/MainMenuStart.txt");
    show({&start});
    DataProfile* profile = testProfile(L"Zoe", "avatar2.png");
    useProfiles({profile});
    start.profile = profile;
    start.mWidget2->setText(profile->mName, 0, 1);
    draw({&start}, "MainMenuStart");

    const float4 avatar = start.mHelper4->getRect();
    const Pixel face = probe(int((avatar.x + 0.5f * avatar.z) * kWidth), int((avatar.y + 0.9f * avatar.w) * kHeight));
    EXPECT_GT(brightness(face), 60) << "the avatar over the panel";
    for (Button* button : start.buttons) {
        const Pixel p = probe(int(button->x * kWidth) + 12, int(button->y * kHeight));
        EXPECT_GT(brightness(p), 90) << "a menu button";
    }
    useProfiles({});
}

TEST_F(ScreensOnScreen, TheChooserHighlightsTheSelectedRowAndOffersItsButtons)
{
    MainMenuChooseProfile chooser;
    chooser.init("data/psd/MainMenuChooseProfile.txt");
    useProfiles({testProfile(L"Anna", "avatar1.png"), testProfile(L"Bob", "avatar4.png"),
                 testProfile(L"Cleo", "avatar3.png"), testProfile(L"Dan", "avatar5.png")});
    show({&chooser});
    chooser.setSelected(1);
    draw({&chooser}, "MainMenuChooseProfile");

    const float4 row = chooser.rowArea(1)->getRect();
    const Pixel edge = probe(int(row.x * kWidth) + 2, int((row.y + 0.5f * row.w) * kHeight));
    EXPECT_GT(edge.r + edge.g, 2 * edge.b + 100) << "the yellow highlight round the selected avatar";
    const Pixel select = probe(int(chooser.rowButtons[1].select->x * kWidth) + 12,
                               int(chooser.rowButtons[1].select->y * kHeight));
    EXPECT_GT(brightness(select), 90) << "the selected row's play button";
    const Pixel none = probe(int(chooser.rowButtons[0].select->x * kWidth) + 12,
                             int(chooser.rowButtons[0].select->y * kHeight));
    EXPECT_LT(brightness(none), 80) << "no buttons on the other rows";
    useProfiles({});
}

TEST_F(ScreensOnScreen, TheDeleteQuestionShowsTheProfilesAvatar)
{
    useProfiles({testProfile(L"Anna", "avatar6.png")});
    Singleton<MainMenuChooseProfile>::get()->setSelected(0);
    MainMenuDeleteProfile remover;
    remover.init("data/psd/MainMenuDeleteProfile.txt");
    showAndDraw({&remover}, "MainMenuDeleteProfile");
    ASSERT_NE(remover.profile, nullptr);
    const float4 avatar = remover.mHelper0->getRect();
    const Pixel face = probe(int((avatar.x + 0.5f * avatar.z) * kWidth), int((avatar.y + 0.9f * avatar.w) * kHeight));
    EXPECT_GT(brightness(face), 60) << "the avatar on the panel";
    Singleton<MainMenuChooseProfile>::get()->setSelected(-1);
    useProfiles({});
}

TEST_F(ScreensOnScreen, TheOptionsKnobsStandAtTheVolumes)
{
    MenuOptions options;
    options.init("data/psd/MenuOptions.txt");
    showAndDraw({&options}, "MenuOptions");
    // Sound at 0.25: a quarter along its track; music at 0.5: half way.
    const float4 knob = options.mWidget3->getImages()[0]->getRect();
    const float soundX = options.soundMin + 0.25f * (options.soundMax - options.soundMin) + 0.5f * knob.z;
    const Pixel sound = probe(int(soundX * kWidth), int((knob.y + 0.5f * knob.w) * kHeight));
    EXPECT_GT(sound.r + sound.g, 2 * sound.b + 100) << "the yellow knob of the effects";
    const float4 music = options.mWidget7->getImages()[0]->getRect();
    const float musicX = options.musicMin + 0.5f * (options.musicMax - options.musicMin) + 0.5f * music.z;
    const Pixel knob2 = probe(int(musicX * kWidth), int((music.y + 0.5f * music.w) * kHeight));
    EXPECT_GT(knob2.r + knob2.g, 2 * knob2.b + 100) << "the yellow knob of the music";
}

TEST_F(ScreensOnScreen, ATutorialMessageShowsItsTextAvatarAndButtons)
{
    useProfiles({testProfile(L"Anna", "avatar2.png")});
    Tutorial tutorial;
    tutorial.init("data/psd/Tutorial.txt");
    tutorial.mWidget13->setText(tutorial.messages[0]->title, 0, 1);
    tutorial.mWidget14->setText(tutorial.messages[0]->text, 0, 1);
    showAndDraw({&tutorial}, "Tutorial");
    const float4 avatar = tutorial.mHelper1->getRect();
    const Pixel face = probe(int((avatar.x + 0.5f * avatar.z) * kWidth), int((avatar.y + 0.9f * avatar.w) * kHeight));
    EXPECT_GT(brightness(face), 60) << "the avatar in its frame";
    const Pixel ok = probe(int(tutorial.okButton->x * kWidth) + 12, int(tutorial.okButton->y * kHeight));
    EXPECT_GT(brightness(ok), 90) << "the Ok button";
    useProfiles({});
}

// What is wrong when the label, broken into lines as it draws them in its font, does not hold the
// text: more lines than its box is high, or a line wider than the box. Empty when it fits.
std::string overflowOf(WidgetLabel* label, const std::wstring& text)
{
    label->setText(text, 0, 1);
    FontStylesMgr* styles = Singleton<FontStylesMgr>::get();
    const FontStylesMgr::FontStyle& style = styles->getStyle(label->getStyle());
    const float4 box = label->getImages()[0]->getRect();
    const int lines = label->getLineCount();
    float widest = 0.0f;
    for (const std::wstring& line : label->getLines())
        widest = std::max(widest, measureTextWidth(style.mSize, style.mWidthFactor, style.mAdvanceFactor,
                                                   styles->getFont(style), line));
    const float kSlack = 1e-4f;
    if (lines * style.mSize <= box.w + kSlack && widest <= box.z + kSlack)
        return "";
    return "\"" + wideToString(text) + "\": " + std::to_string(lines) + " line(s) of " +
           std::to_string(int(style.mSize * kHeight)) + " px in " + std::to_string(int(box.w * kHeight)) +
           " px, widest " + std::to_string(int(widest * kWidth)) + " px of " + std::to_string(int(box.z * kWidth));
}

// Every text of the layouts, the tips and the dialogs fits its box in the font it is drawn with, on
// the 4:3 canvas that every window shows the screens on.
TEST_F(ScreensOnScreen, EveryTextFitsItsBoxInItsFont)
{
    FontStylesMgr* styles = Singleton<FontStylesMgr>::get();
    ASSERT_GT(measureTextWidth(0.03f, 1, 1, styles->getFont(styles->getStyle(1)), L"W"), 0.0f) << "fonts loaded";

    // The layouts' own texts: labels and the captions of buttons, tick boxes and fields.
    for (const auto& entry : std::filesystem::directory_iterator("data/psd")) {
        if (entry.path().extension() != ".txt")
            continue;
        PSDImport::Result widgets = PSDImport().import(entry.path().string());
        for (WidgetBase* widget : widgets.second) {
            WidgetLabel* label = dynamic_cast<WidgetLabel*>(widget);
            if (auto* button = dynamic_cast<WidgetButton*>(widget))
                label = button->getLabel();
            if (auto* box = dynamic_cast<WidgetCheckbox*>(widget))
                label = box->getLabel();
            if (label && !label->getText(0).empty()) {
                EXPECT_EQ(overflowOf(label, label->getText(0)), "") << entry.path().filename();
            }
        }
        for (WidgetBaseBase* helper : widgets.first)
            delete helper;
        for (WidgetBase* widget : widgets.second)
            delete widget;
    }

    // Texts the screens put into their labels.
    Tutorial tutorial;
    tutorial.init("data/psd/Tutorial.txt");
    ASSERT_FALSE(tutorial.messages.empty());
    for (TutMessage* message : tutorial.messages) {
        EXPECT_EQ(overflowOf(tutorial.mWidget13, message->title), "") << message->id;
        EXPECT_EQ(overflowOf(tutorial.mWidget14, message->text), "") << message->id;
    }
    Popup popup;
    popup.init("data/psd/Popup.txt");
    EXPECT_EQ(overflowOf(popup.mWidget6, textsManager.get(L"quitpopuptitle")), "");
    EXPECT_EQ(overflowOf(popup.mWidget7, textsManager.get(L"quitpopuptext")), "");
    EXPECT_EQ(overflowOf(popup.mWidget6, textsManager.get(L"achievementinformation")), "");
    // Why a damaged park is not played or a new profile not made, with the longest profile path
    // the game names.
    const std::wstring longestProfile = L"data/game/Profiles/profile" + std::to_wstring(INT_MAX) + L".txt";
    EXPECT_EQ(overflowOf(popup.mWidget6, textsManager.get(L"savefailed")), "");
    for (const wchar_t* key : {L"parkunreadablemessage", L"parkuncopiedmessage", L"parkuncopiedfull",
                               L"parkuncopiedpermission", L"parkuncopiedmany", L"parkuncopiedunreadable",
                               L"parkuncopiedoccupied", L"profilefailedopen", L"profilefailedwrite",
                               L"profilefailedrename", L"profilefailedoccupied"})
        EXPECT_EQ(overflowOf(popup.mWidget7, formatWithNumberAndText(textsManager.get(key), 0, longestProfile)), "");
    ScrollPopup scroll;
    scroll.init("data/psd/ScrollPopup.txt");
    EXPECT_EQ(overflowOf(scroll.mWidget1, textsManager.get(L"howmuchborrow")), "");
    EXPECT_EQ(overflowOf(scroll.mWidget1, textsManager.get(L"howmuchrepay")), "");
    prepareBanksAndPark();
    MenuDateBar date;
    date.init("data/psd/MenuDateBar.txt");
    // A stay lasts at most two digits of days.
    EXPECT_EQ(overflowOf(date.mWidget3, formatWithNumber(textsManager.get(L"freeparcelinday(s)"), 99)), "");
    const std::wstring food = std::wstring(textsManager.get(L"foodstored")) + L" : 9999";
    MenuIngameFold1 fold;
    fold.init("data/psd/MenuIngameFold1.txt");
    EXPECT_EQ(overflowOf(fold.mWidget8, food), "");
    MenuBuyFood shop;
    shop.init("data/psd/MenuBuyFood.txt");
    EXPECT_EQ(overflowOf(shop.mWidget14, food), "");
}

// The loading bar drawn up to its progress, and the pointer's picture with its hot spot on the
// pointer.
TEST_F(ScreensOnScreen, TheLoadingBarStopsAtItsProgressAndThePointerSitsOnItsHotSpot)
{
    MenuLoading loading;
    loading.init("data/psd/MenuLoading.txt");
    show({&loading});
    const float progress = MenuLoading::progress();
    ASSERT_GT(progress, 0.2f);
    ASSERT_LT(progress, 0.8f);
    draw({&loading}, "MenuLoading");
    // The bar lies at x 218..806, y 566..594 of the canvas; it shows up to 218 + p x 588.
    const int end = 218 + static_cast<int>(progress * 588.0f);
    const Pixel filled = probe(end - 20, 580);
    const Pixel empty = probe(end + 20, 580);
    EXPECT_GT(std::abs(filled.r - empty.r) + std::abs(filled.g - empty.g) + std::abs(filled.b - empty.b), 60)
        << "the bar's picture ends at the progress";

    Cursors cursors;
    cursors.init("data/psd/Cursors.txt");
    show({&cursors});
    sDevice* mouse = Singleton<ControlMngr>::get()->mPointerDevices.front();
    mouse->data[kPointerXWord].f = 0.5f;
    mouse->data[kPointerYWord].f = 0.5f;
    cursors.cursorKind = 0;
    cursors.hoverFlag = 0;
    draw({&cursors}, "Cursors");
    // The arrow's tip is its hot spot: its body lies below and right of the pointer only.
    EXPECT_GT(brightness(probe(518, 396)), 60) << "the arrow just below right of the pointer";
    EXPECT_LT(brightness(probe(500, 370)), 10) << "nothing above left of the pointer";
    EXPECT_LT(brightness(probe(600, 470)), 10) << "nothing away from the arrow";
    mouse->data[kPointerXWord].f = -1.0f;
    mouse->data[kPointerYWord].f = -1.0f;
}

// The game's own HUD over the shipped park: the panel of the animal the camera is on with its
// gauges and buttons, the buildings fold with the park-wide buttons at the right edge, the
// cash, and two achievement notices; then on a wide window, where the bar keeps to the left
// edge and the notices to the right one.
TEST_F(ScreensOnScreen, TheHudShowsThePetPanelTheBuildingsFoldAndTheNotices)
{
    prepareBanksAndPark();
    DataStorage* storage = Singleton<DataStorage>::get();
    MenuIngame* hud = Singleton<MenuIngame>::get();
    MenuIngameFold2* fold = Singleton<MenuIngameFold2>::get();
    MenuDateBar* date = Singleton<MenuDateBar>::get();
    if (hud->mChildren.empty())
        hud->init("data/psd/MenuIngame.txt");
    if (fold->mChildren.empty())
        fold->init("data/psd/MenuIngameFold2.txt");
    if (date->mChildren.empty())
        date->init("data/psd/MenuDateBar.txt");
    storage->mGlobalSettings->mCashAccount->setLabel(hud->mWidget10);
    storage->mGlobalSettings->mCashAccount->mCash = 12500;

    GameBackground3D* park = Singleton<GameBackground3D>::get();
    if (!park->mCamera)
        park->mCamera = new GameCamera();
    const std::vector<DataBuilding*> parkBuildings = storage->mParkBuildings;
    for (DataBuilding* building : storage->mBuildingDefinitions)
        if (building->hasFileName("OtherAssistants.txt"))
            storage->mParkBuildings.push_back(building);
    ASSERT_TRUE(storage->hasAssistants());
    ASSERT_FALSE(storage->mParkAnimals.empty());
    DataAnimal* animal = storage->mParkAnimals[0];
    animal->mHunger = 3;
    animal->mHealth = 5;
    for (int i = 0; i < 2 && i < static_cast<int>(storage->mAchievements.size()); ++i)
        hud->mNotices.push_back(new Achievement(storage->mAchievements[i]));

    show({hud, date, fold});
    date->paused = 0;
    date->modal = 0;
    for (int k = 0; k < 40; ++k)
        hud->update();   // the park-wide buttons fade in
    draw({fold, hud, date}, "HudBuildingsFold");
    const Pixel backdrop = probe(720, 752);
    EXPECT_GT(backdrop.g, backdrop.r + 30) << "the green backdrop of the park-wide buttons";
    const Pixel notice = probe(969, 98);
    EXPECT_GT(notice.r, notice.b + 60) << "the yellow notice at the top right";

    // Picking an animal closes the folds; the park-wide buttons fade out.
    fold->setStateAll("game", 0, 0);
    for (int k = 0; k < 2; ++k)
        fold->update();
    for (int k = 0; k < 40; ++k)
        hud->update();
    EXPECT_EQ(hud->mAllButtonsAlpha, 0.0f);
    park->mCamera->mFollowAnimal = animal;
    if (animal->mPicture)
        while (!animal->mPicture->is_loaded())
            clearFrame();
    draw({fold, hud, date}, "HudPetPanel");
    const Pixel header = probe(150, 124);
    EXPECT_GT(header.g, header.r + 30) << "the green header of the animal panel";

    // A followed visitor: avatar, name, what they think of the park and their mood.
    park->mCamera->reset();
    Opinion opinion;
    opinion.mTag = L"Lovely";
    opinion.mText = L"The animals look so happy here. We will come back!";
    opinion.mRating = 4;
    OnePerson visitor;
    visitor.mName = L"Emma Brown";
    visitor.mOpinion = &opinion;
    visitor.mAvatarImage = requestImage("data/game/Public/Avatars/visitor_f1.png");
    while (!visitor.mAvatarImage->is_loaded())
        clearFrame();
    park->mCamera->mFollowPerson = &visitor;
    draw({fold, hud, date}, "HudVisitorPanel");
    const Pixel visitorHeader = probe(150, 124);
    EXPECT_GT(visitorHeader.b, visitorHeader.r + 30) << "the teal header of the visitor panel";
    park->mCamera->reset();
    park->mCamera->mFollowAnimal = animal;

    setWindow(1280, 800);
    draw({fold, hud, date}, "HudPetPanelWide", 1280, 800);
    const Pixel wideNotice = probe(1222, 102, 800);
    EXPECT_GT(wideNotice.r, wideNotice.b + 60) << "the notice at the right edge of the wide window";
    const Pixel wideFoldButton = probe(208, 777, 800);
    EXPECT_GT(wideFoldButton.g, wideFoldButton.b + 40) << "the pets fold button at the left edge";
    setWindow(kWidth, kHeight);

    park->mCamera->reset();
    for (Achievement* notice : hud->mNotices)
        delete notice;
    hud->mNotices.clear();
    storage->mParkBuildings = parkBuildings;
    for (Container* screen : std::vector<Container*>{hud, date, fold})
        screen->setStateAll("game", 0, 0);
}

} // namespace

namespace {

// ---- the finance frame in the game: the HUD's button opens it, the strip's tabs switch its
// five screens, a close button ends it and the park takes the pointer again.

template <class T>
T* boundScreen(const char* name)
{
    T* screen = Singleton<T>::get();
    if (screen->mChildren.empty())
        screen->init((std::string("data/psd/") + name + ".txt").c_str());
    return screen;
}

class FinanceInTheGame {
public:
    FinanceInTheGame()
    {
        prepareBanksAndPark();
        // In the game's order of update and drawing.
        screens = {boundScreen<MenuOrange>("MenuOrange"),           boundScreen<MenuTickets>("MenuTickets"),
                   boundScreen<MenuRanking>("MenuRanking"),         boundScreen<MenuAchievements>("MenuAchievements"),
                   boundScreen<MenuStatistics>("MenuStatistics"),   boundScreen<MenuBank>("MenuBank"),
                   boundScreen<MenuOrangeFolds>("MenuOrangeFolds"), boundScreen<ScrollPopup>("ScrollPopup"),
                   boundScreen<MenuIngameFold2>("MenuIngameFold2"), boundScreen<MenuIngame>("MenuIngame"),
                   boundScreen<MenuDateBar>("MenuDateBar"),         boundScreen<Popup>("Popup"),
                   boundScreen<Cursors>("Cursors")};
        // Hidden at once, whatever an earlier test left running.
        for (Container* screen : screens) {
            loadFully(screen);
            screen->setStateDirect(0);
            screen->setStateDirect(0);
            screen->Container::setVisible(0);
            screen->Container::setEnabled(0);
        }
        GameBackground3D* park = Singleton<GameBackground3D>::get();
        if (!park->mCamera)
            park->mCamera = new GameCamera();
        Singleton<DataStorage>::get()->mGlobalSettings->mCashAccount->setLabel(Singleton<MenuIngame>::get()->mWidget10);
        Singleton<MenuManager>::get()->mCurrentMenu = L"nomenu";
        for (Container* screen : {static_cast<Container*>(Singleton<MenuIngame>::get()),
                                  static_cast<Container*>(Singleton<MenuDateBar>::get()),
                                  static_cast<Container*>(Singleton<MenuIngameFold2>::get()),
                                  static_cast<Container*>(Singleton<Cursors>::get())})
            screen->setStateAll("game", 2, 250);
        Singleton<MenuDateBar>::get()->paused = 0;
        step(40);
    }
    ~FinanceInTheGame()
    {
        point(-1.0f, -1.0f, 0);
        for (Container* screen : screens)
            screen->setStateAll("game", 0, 0);
        step(2);
        Singleton<MenuManager>::get()->mCurrentMenu = L"nomenu";
    }

    // Logic steps of the game's screens, 10 ms each.
    void step(int times = 1)
    {
        for (int t = 0; t < times; ++t) {
            Singleton<Cursors>::get()->hoverFlag = 0;
            for (Container* screen : screens)
                screen->update();
        }
    }

    void point(float x, float y, int down)
    {
        sDevice* mouse = Singleton<ControlMngr>::get()->mPointerDevices.front();
        mouse->data[kPointerXWord].f = x;
        mouse->data[kPointerYWord].f = y;
        mouse->data[kPointerButtonWord].i = down;
    }

    // A press and a release at a point of the canvas (pixels of the 1024 x 768 layout).
    void clickAt(float x, float y)
    {
        point(x / 1024.0f, y / 768.0f, 1);
        step(2);
        point(x / 1024.0f, y / 768.0f, 0);
        step(2);
        point(0.5f, 0.5f, 0);
    }

    void clickWidget(WidgetBase* widget)
    {
        const float4 r = widget->getImages()[0]->getRect();
        clickAt((r.x + 0.5f * r.z) * 1024.0f, (r.y + 0.5f * r.w) * 768.0f);
    }

    void clickButton(const Button* button, float offsetX)
    {
        const float4 picture = Singleton<ButtonBar>::get()->getIconImage(button->kind, 0)->getRect();
        clickAt((button->x + offsetX + 0.5f * picture.z) * 1024.0f, button->y * 768.0f);
    }

    void drawAll(const char* shot, int width = kWidth, int height = kHeight)
    {
        // The park itself is not drawn: a sky-blue clear stands for it.
        draw(screens, shot, width, height);
    }

    std::vector<Container*> screens;
};

} // namespace

TEST_F(ScreensOnScreen, TheFinanceFrameOpensEveryTabInTheGameAndClosesBackToThePark)
{
    FinanceInTheGame game;
    // A player's park (its autosave goes to a folder of its own) among the rival parks.
    DataProfile* player = testProfile(L"Emma", "avatar1.png");
    player->mPath = optionsFolder().path() + "/profile1.txt";
    player->mTutorial = 0;
    useProfiles({player});
    Singleton<DataStorage>::get()->rankParks();
    Singleton<MenuRanking>::get()->showRanking();
    MenuManager* router = Singleton<MenuManager>::get();
    MenuOrangeFolds* strip = Singleton<MenuOrangeFolds>::get();
    MenuIngameFold2* fold = Singleton<MenuIngameFold2>::get();
    GameCamera* camera = Singleton<GameBackground3D>::get()->mCamera;
    ASSERT_EQ(fold->getShowStates().second, 2);

    // The HUD's finances button opens the frame on the tickets.
    game.clickButton(fold->mFinancesButton, hudfold::offsetOf(fold->mWidget0).first);
    ASSERT_EQ(router->currentMenu(), L"finances");
    // The player folds the HUD's panel away to see the whole frame.
    fold->setStateAll("game", 0, 250);
    game.step(40);
    ASSERT_EQ(Singleton<MenuTickets>::get()->getShowStates().second, 2);
    EXPECT_TRUE(router->isAnyPanelOpen());
    // While the frame is open the park's edges do not scroll.
    game.point(0.001f, 0.5f, 0);
    game.step();
    EXPECT_EQ(camera->mScrollDirection, 0);

    struct Tab {
        Container* screen;
        const char* shot;
    };
    const Tab tabs[5] = {{Singleton<MenuTickets>::get(), "FinanceTickets"},
                         {Singleton<MenuBank>::get(), "FinanceBank"},
                         {Singleton<MenuStatistics>::get(), "FinanceStatistics"},
                         {Singleton<MenuAchievements>::get(), "FinanceAchievements"},
                         {Singleton<MenuRanking>::get(), "FinanceRanking"}};
    WidgetButton* tabWidgets[5] = {strip->mWidget0, strip->mWidget1, strip->mWidget2, strip->mWidget3,
                                   strip->mWidget4};
    for (int k = 0; k < 5; ++k) {
        if (k == 0) {
            game.step(60);   // the selected tab brightens
        } else {
            game.step(60);   // the strip takes a click 500 ms after the last one
            game.clickWidget(tabWidgets[k]);
            ASSERT_EQ(strip->getTab(), k);
            // The tab just left, under the pointer, drops to half its light at once.
            const float4 left = tabWidgets[k - 1]->getImages()[0]->getRect();
            game.point(left.x + 0.5f * left.z, left.y + 0.5f * left.w, 0);
            game.step();
            EXPECT_EQ(strip->hoverTab, k - 1);
            EXPECT_FLOAT_EQ(strip->tabAlpha[k - 1], 0.5f);
            game.point(0.5f, 0.9f, 0);
            game.step(100);
        }
        for (int other = 0; other < 5; ++other)
            EXPECT_EQ(tabs[other].screen->getShowStates().second, other == k ? 2 : 0) << k << " " << other;
        game.drawAll(tabs[k].shot);
        const Pixel header = probe(150, 120);
        EXPECT_GT(header.r, header.b + 60) << tabs[k].shot << ": the frame's orange header";
        const Pixel close = probe(892, 118);
        EXPECT_GT(close.r, close.g + 40) << tabs[k].shot << ": the screen's red close button";
        const Pixel selected = probe(112 + k * 164 + 100, 95);
        EXPECT_GT(selected.r, selected.b + 60) << tabs[k].shot << ": the selected tab, bright";
        const Pixel other = probe(112 + ((k + 1) % 5) * 164 + 100, 95);
        EXPECT_GT(brightness(selected), brightness(other) + 40) << tabs[k].shot << ": another tab, faded";
    }

    // The screens' own parts: the tickets' Change buttons and the bank's Borrow button.
    game.step(60);
    game.clickWidget(strip->mWidget0);
    game.step(100);
    game.drawAll("FinanceTickets");
    const Pixel change = probe(730, 215);
    EXPECT_GT(brightness(change), 90) << "the first Change button";
    // A price is chosen among its presets in the value popup over the frame.
    MenuTickets* tickets = Singleton<MenuTickets>::get();
    game.clickButton(tickets->changeButtons[0], 0.0f);
    game.step(40);
    ASSERT_EQ(Singleton<ScrollPopup>::get()->getShowStates().second, 2);
    game.drawAll("FinancePricePopup");
    game.clickButton(Singleton<ScrollPopup>::get()->cancelButton, 0.0f);
    game.step(40);
    EXPECT_EQ(Singleton<ScrollPopup>::get()->getShowStates().second, 0);
    game.step(60);
    game.clickWidget(strip->mWidget1);
    game.step(100);
    game.drawAll("FinanceBank");
    const Pixel borrow = probe(720, 568);
    EXPECT_GT(borrow.g, borrow.r + 30) << "the green Borrow button";
    game.clickButton(Singleton<MenuBank>::get()->borrowButton, 0.0f);
    game.step(40);
    ASSERT_EQ(Singleton<ScrollPopup>::get()->getShowStates().second, 2);
    game.drawAll("FinanceBorrowPopup");
    game.clickButton(Singleton<ScrollPopup>::get()->cancelButton, 0.0f);
    game.step(40);
    setWindow(1280, 800);
    game.drawAll("FinanceBankWide", 1280, 800);
    setWindow(kWidth, kHeight);

    // The bank's close button: everything closes and the park takes the pointer again.
    game.clickWidget(Singleton<MenuBank>::get()->mWidget0);
    EXPECT_EQ(router->currentMenu(), L"nomenu");
    game.step(40);
    EXPECT_FALSE(router->isAnyPanelOpen());
    for (const Tab& tab : tabs)
        EXPECT_EQ(tab.screen->getShowStates().second, 0);
    game.point(0.001f, 0.5f, 0);
    game.step();
    EXPECT_NE(camera->mScrollDirection, 0) << "the park scrolls at the screen's edge";
    game.point(0.5f, 0.5f, 0);
    game.step();
    camera->setScrollDirection(0);
    useProfiles({});
}
