// Widgets in a real window (Mesa's software OpenGL under Xvfb): a canvas and a wrapped, centred
// label of the shipped font styles land where their rectangles say, and an imported layout shows,
// its button turning to its over picture under the pointer and reporting a click.

#include "core/ControlMngr.h"
#include "fixtures/GLTestWindow.h"
#include "fixtures/PngWriter.h"
#include "fixtures/TempDir.h"
#include "render/CRender.h"
#include "render/external/bg_loader.h"
#include "render/render.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/utils/PSDImport.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/Container.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

// A 4:3 window, so the 2D canvas covers it: canvas x = column / 400, y = row / 300.
constexpr int kWidth = 400;
constexpr int kHeight = 300;

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

// The back buffer's pixel at column x, row y counted from the top.
Pixel probe(int x, int y)
{
    unsigned char p[4] = {};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, kHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Pixel{p[0], p[1], p[2]};
}

bool near(Pixel p, int r, int g, int b, int tolerance = 10)
{
    return std::abs(p.r - r) <= tolerance && std::abs(p.g - g) <= tolerance && std::abs(p.b - b) <= tolerance;
}

void writeSolid(const std::string& path, int w, int h, unsigned char r, unsigned char g, unsigned char b)
{
    std::vector<unsigned char> rgba(size_t(w) * h * 4, 255);
    for (size_t k = 0; k < rgba.size(); k += 4) {
        rgba[k] = r;
        rgba[k + 1] = g;
        rgba[k + 2] = b;
    }
    ASSERT_TRUE(write_png(path, w, h, rgba.data()));
}

class WidgetsOnScreen : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Render::set_current(&engine());
        setWindow(kWidth, kHeight);
    }
    static void TearDownTestSuite()
    {
        bgLoader.shutdown();
        setWindow(256, 256);
        Render::set_current(nullptr);
    }
    WidgetsOnScreen() : home(std::filesystem::current_path())
    {
        // The shipped styles and fonts, from the application folder.
        std::filesystem::current_path(std::string(PETPARK_APP_DIR) + "/Resources");
        Singleton<FontStylesMgr>::get()->load();
        textsManager.load(dir.write("texts.dat", "welcome Welcome to our pet park\n"));
        clearFrame();
    }
    ~WidgetsOnScreen() override { std::filesystem::current_path(home); }

    static void clearFrame()
    {
        CRender::begin(nullptr, 0, 1.3333f);
        CRender::end(3);
    }
    // Frames until the screen's pictures have loaded (the frames serve the loader's GPU work).
    static bool waitLoaded(Container& screen)
    {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!screen.isLoaded() && std::chrono::steady_clock::now() < end) {
            clearFrame();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return screen.isLoaded();
    }
    // Draws the screen into a cleared frame and keeps the result in the back buffer.
    static void drawFrame(Container& screen)
    {
        clearFrame();
        CRender::begin(nullptr, 0, 1.3333f);
        screen.draw();
        CRender::end(0);
    }
    static void movePointer(float x, float y, int down)
    {
        sDevice* mouse = ControlMngr::get()->mPointerDevices.front();
        mouse->data[kPointerXWord].f = x;
        mouse->data[kPointerYWord].f = y;
        mouse->data[kPointerButtonWord].i = down;
    }

    std::filesystem::path home;
    TempDir dir;
};

// Columns of the rows y0..y1 with a pixel near the colour: first and last, -1 when none.
std::pair<int, int> litColumns(int y0, int y1, int r, int g, int b)
{
    int first = -1, last = -1;
    for (int y = y0; y <= y1; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (near(probe(x, y), r, g, b, 40)) {
                if (first < 0 || x < first)
                    first = x;
                last = std::max(last, x);
            }
    return {first, last};
}

TEST_F(WidgetsOnScreen, ACanvasAndAWrappedCentredLabelLandOnTheirRectangles)
{
    writeSolid(dir.file("red.png"), 32, 32, 230, 20, 20);
    Container screen;
    screen.name = "glscreen";
    screen.mChildren.push_back(new WidgetCanvas(dir.file("red.png"), L"canvas_bg", float4(0.1f, 0.1f, 0.3f, 0.3f),
                                                float4(0.1f, 0.1f, 0.3f, 0.3f)));
    // Style 2: bold, centred both ways, colour (255, 230, 150), 0.041667 high (12.5 pixels here).
    WidgetLabel* label = new WidgetLabel(L"label_welcome_2", 0.5f, 0.4f, 0.3f, 0.2f);
    screen.mChildren.push_back(label);
    screen.load();
    ASSERT_TRUE(waitLoaded(screen));
    screen.setStateAll("game", 2, 0);
    screen.update();
    screen.update();
    ASSERT_GE(label->getLineCount(), 2);  // "Welcome to our pet park" does not fit 120 pixels
    drawFrame(screen);

    EXPECT_TRUE(near(probe(100, 75), 230, 20, 20));   // inside the canvas (40..160 x 30..120)
    EXPECT_TRUE(near(probe(42, 32), 230, 20, 20));
    EXPECT_TRUE(near(probe(158, 118), 230, 20, 20));
    EXPECT_TRUE(near(probe(36, 75), 0, 0, 0));
    EXPECT_TRUE(near(probe(164, 75), 0, 0, 0));
    EXPECT_TRUE(near(probe(100, 124), 0, 0, 0));

    // The box is 200..320 x 120..180; the first line is centred on row 150 (rows 144..156), the
    // second runs below it; nothing is drawn above the first line.
    const float size = Singleton<FontStylesMgr>::get()->getStyle(2).mSize * kHeight;
    const int top = int(150 - size / 2);
    std::pair<int, int> first = litColumns(top + 2, top + int(size) - 2, 255, 230, 150);
    ASSERT_GE(first.first, 0) << "no text on the first line";
    EXPECT_GE(first.first, 200 - 2);
    EXPECT_LE(first.second, 320 + 2);
    EXPECT_NEAR((first.first + first.second) / 2.0, 260.0, 4.0);
    std::pair<int, int> second = litColumns(top + int(size) + 2, top + 2 * int(size) - 2, 255, 230, 150);
    EXPECT_GE(second.first, 0) << "no text on the second line";
    EXPECT_NEAR((second.first + second.second) / 2.0, 260.0, 4.0);
    EXPECT_EQ(litColumns(top - 12, top - 2, 255, 230, 150).first, -1);
}

TEST_F(WidgetsOnScreen, AnImportedButtonShowsItsOverPictureAndReportsAClick)
{
    std::filesystem::create_directories(dir.file("data/psd/MenuGL"));
    writeSolid(dir.file("data/psd/MenuGL/bg.png"), 16, 16, 40, 40, 40);
    writeSolid(dir.file("data/psd/MenuGL/normal.png"), 64, 32, 20, 20, 230);
    writeSolid(dir.file("data/psd/MenuGL/over.png"), 64, 32, 20, 230, 20);
    // Canvas pixels are window pixels: a 400 x 300 canvas without padding.
    dir.write("data/psd/MenuGL.txt",
              "400 300 0\n"
              "layer \"MenuGL/bg.png\" \"canvas_bg\" 0 0 400 300\n"
              "groupBegin \"btn_go_o\"\n"
              "layer \"MenuGL/normal.png\" \"normal\" 100 100 64 32\n"
              "layer \"MenuGL/over.png\" \"over\" 100 100 64 32\n"
              "groupEnd \"btn_go_o\"\n");
    std::filesystem::current_path(dir.path());
    Container screen;
    screen.name = WidgetBase::nameFromPath("data/psd/MenuGL.txt");
    PSDImport::Result layout = Singleton<PSDImport>::get()->import("data/psd/MenuGL.txt");
    screen.mHelpers = layout.first;
    screen.mChildren = layout.second;
    ASSERT_EQ(screen.mChildren.size(), 2u);
    WidgetButton* button = dynamic_cast<WidgetButton*>(screen.mChildren[1]);
    ASSERT_NE(button, nullptr);
    ContainersMngr screens;
    screens.add(&screen, "data/psd/MenuGL.txt", 0);
    screens.loadAll();
    ASSERT_TRUE(waitLoaded(screen));

    ControlMngr::get()->clearStep();
    movePointer(0.9f, 0.9f, 0);
    screens.setStateAll("game", 2, 250);
    for (int i = 0; i < 27; ++i)
        screens.update();
    EXPECT_EQ(screen.getShowStates(), std::make_pair(1, 2));
    drawFrame(screen);
    EXPECT_TRUE(near(probe(132, 116), 20, 20, 230));  // the normal picture, fully faded in
    EXPECT_TRUE(near(probe(300, 200), 40, 40, 40));   // the background

    movePointer(132 / 400.0f, 116 / 300.0f, 0);
    screens.update();
    EXPECT_EQ(button->getLayerStates(), std::make_pair(0, 1));
    drawFrame(screen);
    EXPECT_TRUE(near(probe(132, 116), 20, 230, 20));
    EXPECT_TRUE(near(probe(98, 116), 40, 40, 40));

    movePointer(132 / 400.0f, 116 / 300.0f, 1);
    screens.update();
    EXPECT_EQ(button->getLayerStates(), std::make_pair(1, 2));
    movePointer(132 / 400.0f, 116 / 300.0f, 0);
    screens.update();
    EXPECT_EQ(button->getLayerStates(), std::make_pair(2, 3));  // the click, for one update
    screens.update();
    EXPECT_EQ(button->getLayerStates(), std::make_pair(3, 1));
    movePointer(0.9f, 0.9f, 0);
    screens.update();
    drawFrame(screen);
    EXPECT_TRUE(near(probe(132, 116), 20, 20, 230));
}

TEST_F(WidgetsOnScreen, TheOpaqueTestReadsAPaddedPictureTopSideUp)
{
    // A 64 x 24 picture padded to 64 x 32: its top 12 rows opaque, the rest and the padding clear.
    std::filesystem::create_directories(dir.file("data/psd/MenuHalf"));
    std::vector<unsigned char> rgba(64 * 32 * 4, 0);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 64; ++x)
            rgba[(y * 64 + x) * 4 + 3] = 255;
    ASSERT_TRUE(write_png(dir.file("data/psd/MenuHalf/normal.png"), 64, 32, rgba.data()));
    dir.write("data/psd/MenuHalf.txt",
              "400 300 1\n"
              "groupBegin \"btn_half\"\n"
              "layer \"MenuHalf/normal.png\" \"normal\" 100 100 64 24\n"
              "groupEnd \"btn_half\"\n");
    std::filesystem::current_path(dir.path());
    Container screen;
    screen.name = WidgetBase::nameFromPath("data/psd/MenuHalf.txt");
    PSDImport::Result layout = Singleton<PSDImport>::get()->import("data/psd/MenuHalf.txt");
    screen.mChildren = layout.second;
    ASSERT_EQ(screen.mChildren.size(), 1u);
    WidgetBase* button = screen.mChildren[0];
    screen.load();
    ASSERT_TRUE(waitLoaded(screen));
    ControlMngr::get()->clearStep();
    movePointer(0.9f, 0.9f, 0);
    screen.setStateAll("game", 2, 0);
    screen.update();
    screen.update();

    movePointer(132 / 400.0f, 104 / 300.0f, 0);  // the opaque upper rows
    screen.update();
    EXPECT_EQ(button->getLayerStates().second, kLayerOver);
    movePointer(132 / 400.0f, 120 / 300.0f, 0);  // the clear lower rows
    screen.update();
    EXPECT_EQ(button->getLayerStates().second, kLayerNormal);
    movePointer(0.9f, 0.9f, 0);
}

} // namespace
