// The built game, started as a player starts it: its window opens with the title of the text
// "gametitle", every screen loads, frames are drawn, and the run ends with exit code 0.

#include "fixtures/GameWindow.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>
// After gtest: the X headers define macros such as None and Bool.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const int kFrames = 300;
// Real time; a loaded machine running sanitized builds may need many times the usual seconds.
const int kTimeoutMs = 240000;

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
    const std::string exe = GameWindow::makeAppFolder(dir);
    const std::string output = dir.file("stdout.txt");
    const std::string title = textOf("gametitle");
    ASSERT_FALSE(title.empty());

    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    XErrorHandler previousHandler = XSetErrorHandler(ignoreXError);

    const int outFd = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(outFd, 0);
    const pid_t child = GameWindow::launch(exe, outFd, kFrames);
    close(outFd);
    ASSERT_GE(child, 0);

    bool titled = false;
    int status = 0;
    pid_t done = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
    while (done == 0 && std::chrono::steady_clock::now() < end) {
        if (!titled)
            titled = hasWindowNamed(display, DefaultRootWindow(display), title);
        done = GameWindow::waitFor(child, &status, false);
        if (done == 0)
            usleep(5000);
    }
    const int waitError = errno;
    XCloseDisplay(display);
    XSetErrorHandler(previousHandler);
    if (done == 0) {
        kill(child, SIGKILL);
        GameWindow::waitFor(child, &status, true);
        FAIL() << "the game did not end within " << kTimeoutMs / 1000 << " s\n"
               << dir.read("stdout.txt").substr(0, 2000);
    }
    ASSERT_EQ(done, child) << "waiting for the game failed: " << std::strerror(waitError);

    EXPECT_TRUE(titled) << "no window titled \"" << title << "\" was seen";
    ASSERT_TRUE(WIFEXITED(status)) << "the game was ended by a signal";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string out = dir.read("stdout.txt");
    // Every screen loaded (the frames are drawn only then). A "Still loading" line only says
    // that no screen finished for some seconds, as happens on a busy machine; a load that never
    // ends leaves the frames undrawn.
    EXPECT_EQ(countLines(out, "say:"), kFrames) << out.substr(0, 2000);
    EXPECT_TRUE(fs::exists(dir.file("PetPark/Resources/data/game/save.txt")))
        << "the game ran in its own folder";
}

// As a player runs it, without a frame count: the first main-menu frame is told once (not at
// every frame), and a terminate request ends the run.
TEST(GameRun, WithoutAFrameCountTheFirstMenuFrameIsToldOnce)
{
    TempDir dir;
    const std::string exe = GameWindow::makeAppFolder(dir);
    const std::string output = dir.file("stdout.txt");
    const int outFd = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(outFd, 0);
    const pid_t child = GameWindow::launch(exe, outFd, 0);
    close(outFd);
    ASSERT_GE(child, 0);

    int status = 0;
    pid_t done = 0;
    bool asked = false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
    while (done == 0 && std::chrono::steady_clock::now() < end) {
        // The output reaches the file in blocks: many frames have passed once it tells of 60.
        if (!asked && countLines(dir.read("stdout.txt"), "say:") >= 60) {
            kill(child, SIGTERM);
            asked = true;
        }
        done = GameWindow::waitFor(child, &status, false);
        if (done == 0)
            usleep(5000);
    }
    if (done == 0) {
        kill(child, SIGKILL);
        GameWindow::waitFor(child, &status, true);
        FAIL() << "the game did not end within " << kTimeoutMs / 1000 << " s\n"
               << dir.read("stdout.txt").substr(0, 2000);
    }
    ASSERT_TRUE(asked) << dir.read("stdout.txt").substr(0, 2000);
    ASSERT_TRUE(WIFEXITED(status)) << "the game was ended by a signal";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string out = dir.read("stdout.txt");
    EXPECT_GE(countLines(out, "say:"), 60);
    EXPECT_EQ(countLines(out, "first menu frame: peak resident "), 1);
}

} // namespace
