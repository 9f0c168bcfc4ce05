// A player's evening with the built game: its own data, a window on the test's X server and
// real input through the server's test extension, presses and releases as quick as a fast
// player's (some as short as a touchpad tap). Where to click is read from the screens' own
// layouts ("data/psd/*.txt"); each step waits, with a deadline, for a sign on the screen or in
// the saved files that it happened. Every step's picture is written to the test's output folder
// ("<build>/Testing/play/<test>/"), kept with the game's console when the test fails.

#include "fixtures/GameWindow.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>
// After gtest: the X headers define macros such as None and Bool.
#include <X11/keysym.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const int kStartMs = 180000;
const int kStepMs = 30000;

const char* const kProfileFile = "PetPark/Resources/data/game/Profiles/profile1.txt";
const char* const kOptionsFile = "PetPark/Resources/data/game/save.txt";

// The options of a first start, at a window size of the test's choosing: no profile chosen yet.
std::string firstOptions(int width, int height)
{
    return "[resolution]\n" + std::to_string(width) + "\n" + std::to_string(height) +
           "\n\n[fullscreen]\n0\n\n[music volume]\n0\n\n[sound volume]\n0\n\n[profile]\n-1\n";
}

// The value lines of a saved section ("[key]" then its lines up to the empty one).
std::vector<std::string> section(const std::string& text, const std::string& key)
{
    std::vector<std::string> lines;
    size_t at = text.find(key + "\n");
    if (at == std::string::npos)
        return lines;
    at += key.size() + 1;
    while (at < text.size()) {
        const size_t end = text.find('\n', at);
        const std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (line.empty() || line == "\r")
            break;
        lines.push_back(line);
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    return lines;
}

// What a saved park holds, section by section ("[key] value line"): all but where each animal
// happens to stand (the fifth line of its section), which moves as the park runs.
std::vector<std::string> parkState(const std::string& text)
{
    std::vector<std::string> state;
    std::istringstream in(text);
    std::string line, key;
    int index = 0;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty()) {
            key.clear();
            continue;
        }
        if (key.empty() && line.find('[') != std::string::npos) {
            key = line.substr(line.find('['));
            index = 0;
            continue;
        }
        if (!(key == "[animal]" && index == 4))
            state.push_back(key + " " + line);
        ++index;
    }
    return state;
}

// Days long enough that nothing the test looks at changes by the passing of time alone (a day
// passes in real time).
void slowDays(TempDir& dir)
{
    const std::string file = "PetPark/Resources/data/game/global.txt";
    std::string rules = dir.read(file);
    const std::string key = "[game speed]\n";
    const size_t at = rules.find(key);
    ASSERT_NE(at, std::string::npos);
    const size_t value = at + key.size();
    rules.replace(value, rules.find('\n', value) - value, "3600000");
    dir.write(file, rules);
}

// One played session: the game, its folder, and the steps' pictures in the output folder.
class Session {
public:
    Session(const std::string& name, TempDir& dir, GameWindow& game) : mDir(dir), mGame(game)
    {
        mOut = std::string(PETPARK_BINARY_DIR) + "/Testing/play/" + name;
        fs::remove_all(mOut);
        fs::create_directories(mOut);
    }

    ~Session()
    {
        if (::testing::Test::HasFailure()) {
            std::ofstream(mOut + "/console-" + std::to_string(mRun) + ".txt") << mGame.output();
            std::printf("The play's pictures and console are kept in %s\n", mOut.c_str());
        } else {
            fs::remove_all(mOut);
        }
    }

    // Starts the game (again) and waits for its window.
    bool start()
    {
        if (mRun > 0)
            std::ofstream(mOut + "/console-" + std::to_string(mRun) + ".txt") << mGame.output();
        ++mRun;
        return mGame.start() && mGame.waitFrames(3, kStartMs);
    }

    // Waits for the step's sign; keeps the picture under the step's name either way.
    Picture step(const std::string& name, const std::function<bool(const Picture&)>& sign, int timeoutMs = kStepMs)
    {
        bool found = false;
        const Picture shot = mGame.waitFor(sign, found, timeoutMs);
        char number[8];
        std::snprintf(number, sizeof number, "%02d-", ++mSteps);
        mGame.savePicture(shot, mOut + "/" + number + name + ".png");
        EXPECT_TRUE(found) << "no sign of the step " << name << " (see " << mOut << ")";
        mLast = shot;
        return shot;
    }

    // The step's sign, then the rectangle steady (what fades in has finished): a picture the same
    // there as the one a few frames before.
    Picture steady(const std::string& name, const std::function<bool(const Picture&)>& sign, const CanvasRect& r,
                   int timeoutMs = kStepMs)
    {
        Picture before = step(name + "Coming", sign, timeoutMs);
        return step(name, [this, &before, r](const Picture& p) {
            const bool still = mGame.changed(before, p, r) < 0.01;
            before = p;
            return still;
        });
    }

    // A sign: the rectangle differs clearly from the picture before.
    std::function<bool(const Picture&)> changes(const Picture& before, const CanvasRect& r, double share = 0.3)
    {
        return [this, before, r, share](const Picture& p) { return mGame.changed(before, p, r) > share; };
    }

    // A sign: the rectangle's mean colour is near the colour.
    std::function<bool(const Picture&)> colour(const CanvasRect& r, double red, double green, double blue)
    {
        return [this, r, red, green, blue](const Picture& p) {
            const std::vector<double> m = mGame.meanColour(p, r);
            return std::abs(m[0] - red) + std::abs(m[1] - green) + std::abs(m[2] - blue) < 60.0;
        };
    }

    // Waits until a file of the game's folder holds the text.
    bool fileHolds(const std::string& file, const std::string& text, int timeoutMs = kStepMs)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        do {
            if (mDir.read(file).find(text) != std::string::npos)
                return true;
            mGame.waitFrames(1, 2000);
        } while (std::chrono::steady_clock::now() < end);
        return false;
    }

    const Picture& last() const { return mLast; }

private:
    TempDir& mDir;
    GameWindow& mGame;
    std::string mOut;
    Picture mLast;
    int mSteps = 0;
    int mRun = 0;
};

// A new player: the profile made at the first start, the tutorial's tips followed, the game
// left through its quit question; started again, the game opens on that profile and its park.
TEST(PlayTheGame, NewProfileTutorialQuitAndReload)
{
    TempDir dir;
    GameWindow game(dir);
    Session play("NewProfileTutorialQuitAndReload", dir, game);
    dir.write(kOptionsFile, firstOptions(800, 600));
    slowDays(dir);
    ASSERT_TRUE(play.start()) << game.output().substr(0, 3000);
    ASSERT_EQ(game.width(), 800);

    // No profile yet: the game opens on the new profile screen, its name field empty.
    const Layout create = game.layout("MainMenuCreateProfile");
    const Picture empty = play.step("NewProfile", play.colour(create("canvas_field_o"), 220, 218, 212), kStartMs);
    // A name with a letter beyond ASCII; the Create button comes with the first letter.
    game.tap(create("edit_name_o"));
    game.type(L"Zo\u00e9");
    play.step("NameTyped", play.changes(empty, create("helper_create")));
    const Picture named = play.step("NameShown", play.changes(empty, create("edit_name_o"), 0.02));
    game.tap(create("helper_create"));
    ASSERT_TRUE(play.fileHolds(kProfileFile, "[name]\nZo\xc3\xa9\n")) << dir.read(kProfileFile);

    // The main menu of the new profile: Play.
    const Layout start = game.layout("MainMenuStart");
    const Picture menu = play.step("MainMenu", play.changes(named, start("helper_play")));
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
    Picture lastTip = menu;
    auto readTip = [&](const std::string& name, int timeoutMs = kStepMs) {
        const Picture before = lastTip;
        lastTip = play.steady(name, [&, before](const Picture& p) {
            return tipShown(p) && game.changed(before, p, tutorial("label_name_2_o")) > 0.02;
        }, frame, timeoutMs);
        game.tap(ok);
        // Gone, or the next tip already in its place.
        const Picture read = lastTip;
        return play.step(name + "Read", [&, read](const Picture& p) {
            return !tipShown(p) || game.changed(read, p, tutorial("label_name_2_o")) > 0.02;
        });
    };
    readTip("Welcome", kStartMs);
    readTip("MoneyAndTime");
    readTip("FirstBuilding");
    const Layout hud = game.layout("MenuIngame");
    const Picture park = play.steady("InPark", [&](const Picture& p) { return !tipShown(p); }, hud("label_name_12_o"));

    // Quit through the quit question: the park is saved and the game ends.
    // The question's Ok saves the park and leads to the main menu, whose Exit (asked again)
    // ends the game.
    const Layout popup = game.layout("Popup");
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
        EXPECT_TRUE(game.waitEnd(kStepMs)) << name << ": the game ended";
    };
    game.pressKey(XK_Escape);
    play.steady("QuitQuestion", play.changes(park, popup("canvas_frame_o")), popup("canvas_frame_o"));
    game.tap(popup("helper_ok"));
    quit("Quit", park);
    const std::string saved = dir.read(kProfileFile);
    EXPECT_EQ(section(saved, "[name]"), std::vector<std::string>{"Zo\xc3\xa9"});
    EXPECT_EQ(section(dir.read(kOptionsFile), "[profile]"), std::vector<std::string>{"0"});

    // Started again: the main menu of that profile, Play loads its park as it was.
    ASSERT_TRUE(play.start()) << game.output().substr(0, 3000);
    const Picture again = play.step("MainMenuAgain", play.changes(empty, start("helper_play")), kStartMs);
    EXPECT_LT(game.changed(menu, again, start("label_name_3_o")), 0.02) << "the profile's name as before";
    game.tap(start("helper_play"));
    const Picture parkAgain =
        play.steady("ParkAgain", play.changes(again, hud("canvas_cashplate_o")), hud("label_name_12_o"), kStartMs);
    // The cash on the HUD and the date on the date bar read as at the quit.
    EXPECT_LT(game.changed(park, parkAgain, hud("label_name_12_o")), 0.01) << "the cash as at the quit";
    EXPECT_LT(game.changed(park, parkAgain, game.layout("MenuDateBar")("label_name_11_o")), 0.01)
        << "the date as at the quit";
    game.pressKey(XK_Escape);
    play.steady("QuitQuestionAgain", play.changes(park, popup("canvas_frame_o")), popup("canvas_frame_o"));
    game.click(popup("helper_ok"));
    quit("QuitAgain", parkAgain);
    EXPECT_EQ(parkState(dir.read(kProfileFile)), parkState(saved)) << "the park saved again as it was";
}

} // namespace
