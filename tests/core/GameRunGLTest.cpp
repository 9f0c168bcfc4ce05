// The built game, started as a player starts it: its window opens with the title of the text
// "gametitle", every screen loads, frames are drawn, and the run ends with exit code 0.

#include "fixtures/TempDir.h"

#include <gtest/gtest.h>
// After gtest: the X headers define macros such as None and Bool.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const int kFrames = 300;
const int kTimeoutMs = 120000;

// An application folder of its own: the executable and the read-only data are linked, the
// game's folder (where the options and profiles are written) is copied.
std::string makeAppFolder(const TempDir& dir)
{
    const fs::path app = fs::path(dir.path()) / "PetPark";
    const fs::path built = PETPARK_APP_DIR;
    fs::create_directories(app / "bin");
    fs::create_directories(app / "Resources" / "data");
    fs::create_symlink(built / "bin" / "petpark", app / "bin" / "petpark");
    for (const fs::directory_entry& entry : fs::directory_iterator(built / "Resources" / "data")) {
        const fs::path target = app / "Resources" / "data" / entry.path().filename();
        if (entry.path().filename() == "game")
            fs::copy(entry.path(), target, fs::copy_options::recursive);
        else
            fs::create_symlink(entry.path(), target);
    }
    return (app / "bin" / "petpark").string();
}

std::string textOf(const std::string& key)
{
    std::ifstream file(std::string(PETPARK_APP_DIR) + "/Resources/data/dat/texts.dat");
    std::string line;
    while (std::getline(file, line))
        if (line.compare(0, key.size() + 1, key + " ") == 0)
            return line.substr(key.size() + 1);
    return std::string();
}

// Windows of the game may go away while they are looked at; such errors are not the test's.
int ignoreXError(Display*, XErrorEvent*)
{
    return 0;
}

// True when a window below parent carries the name.
bool hasWindowNamed(Display* display, Window parent, const std::string& name)
{
    XTextProperty text;
    if (XGetWMName(display, parent, &text)) {
        const std::string found(reinterpret_cast<char*>(text.value), text.nitems);
        XFree(text.value);
        if (found == name)
            return true;
    }
    Window root, up;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count))
        return false;
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i)
        found = hasWindowNamed(display, children[i], name);
    if (children)
        XFree(children);
    return found;
}

int countLines(const std::string& text, const std::string& start)
{
    std::istringstream lines(text);
    std::string line;
    int n = 0;
    while (std::getline(lines, line))
        n += line.compare(0, start.size(), start) == 0 ? 1 : 0;
    return n;
}

TEST(GameRun, OpensItsTitledWindowDrawsFramesAndEndsWithExitCodeZero)
{
    TempDir dir;
    const std::string exe = makeAppFolder(dir);
    const std::string output = dir.file("stdout.txt");
    const std::string title = textOf("gametitle");
    ASSERT_FALSE(title.empty());

    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    XErrorHandler previousHandler = XSetErrorHandler(ignoreXError);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!freopen(output.c_str(), "w", stdout))
            _exit(126);
        setenv("PETPARK_QUIT_AFTER_FRAMES", std::to_string(kFrames).c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }

    bool titled = false;
    int status = 0;
    pid_t done = 0;
    for (int waited = 0; waited < kTimeoutMs && done == 0; waited += 5) {
        if (!titled)
            titled = hasWindowNamed(display, DefaultRootWindow(display), title);
        done = waitpid(child, &status, WNOHANG);
        if (done == 0)
            usleep(5000);
    }
    XCloseDisplay(display);
    XSetErrorHandler(previousHandler);
    if (done == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        FAIL() << "the game did not end within " << kTimeoutMs / 1000 << " s";
    }

    EXPECT_TRUE(titled) << "no window titled \"" << title << "\" was seen";
    ASSERT_TRUE(WIFEXITED(status)) << "the game was ended by a signal";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string out = dir.read("stdout.txt");
    EXPECT_EQ(countLines(out, "say:"), kFrames);
    EXPECT_EQ(out.find("Still loading"), std::string::npos) << out.substr(0, 2000);
    EXPECT_TRUE(fs::exists(dir.file("PetPark/Resources/data/game/save.txt")))
        << "the game ran in its own folder";
}

} // namespace
