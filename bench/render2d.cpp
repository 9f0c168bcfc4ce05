// Frames per second of a full screen of 2D work at 1024 x 768: 150 images (12 different
// textures, so few neighbours merge) and 3,000 glyphs in 100 lines of two fonts, drawn through
// CRender on the real OpenGL device. Run it on a display (xvfb-run for the software renderer):
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" ./bench_render2d [seconds]

#include "core/platform.h"
#include "core/sdl_layer.h"
#include "render/CRender.h"
#include "render/device.h"
#include "render/image.h"
#include "render/render.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

const int kImages = 150;
const int kTextures = 12;
const int kLines = 100;
const int kLineLength = 30;

}  // namespace

int main(int argc, char** argv)
{
    XInitThreads();
    double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    inputState.windowMode = 2;
    inputState.windowWidth = 1024;
    inputState.windowHeight = 768;
    CRender engine("DISABLE_FBO NO_VSYNC NO_SLEEP", "");

    // Textures of 64 x 64 in different colours, with soft alpha edges like widget pictures.
    std::vector<std::unique_ptr<CRender::Image>> images;
    for (int t = 0; t < kTextures; ++t) {
        std::vector<uint8_t> px(64 * 64 * 4);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                uint8_t* p = &px[(y * 64 + x) * 4];
                p[0] = uint8_t(40 + t * 17);
                p[1] = uint8_t(x * 4);
                p[2] = uint8_t(y * 4);
                int edge = std::min(std::min(x, 63 - x), std::min(y, 63 - y));
                p[3] = uint8_t(edge > 4 ? 255 : edge * 60);
            }
        images.emplace_back(new CRender::Image);
        // Images made from pixels go through the engine image inside the facade.
        if (!images.back()->engine()->create(2, 64, 64, px.data())) {
            std::fprintf(stderr, "can't make texture %d\n", t);
            return 1;
        }
    }
    CRender::Font small, large;
    std::string fonts = std::string(PETPARK_APP_DIR) + "/Resources/data/fonts/";
    if (!small.load(fonts + "sans_24.png") || !large.load(fonts + "sans_bold_32.png")) {
        std::fprintf(stderr, "can't load the fonts from %s\n", fonts.c_str());
        return 1;
    }
    std::vector<std::wstring> lines;
    const wchar_t* sample = L"Zażółć gęślą jaźń: 1234, Pet Park! ";
    for (int k = 0; k < kLines; ++k) {
        std::wstring line;
        for (int c = 0; c < kLineLength; ++c)
            line += sample[(k + c) % 35];
        lines.push_back(line);
    }

    int frames = 0;
    int glyphs = 0;
    int start = get_time_ms();
    int elapsed = 0;
    while (elapsed < seconds * 1000) {
        CRender::begin(nullptr, 0, 1.3333f);
        for (int k = 0; k < kImages; ++k) {
            float x = float(k % 15) / 15.0f, y = float(k / 15) / 10.0f;
            images[k % kTextures]->draw(x, y, 1.0f / 15, 0.1f, 1, 1, 1, 0.9f, 1);
        }
        glyphs = 0;
        for (int k = 0; k < kLines; ++k) {
            CRender::Font& font = k % 4 == 0 ? large : small;
            float x = float(k % 2) * 0.5f, y = float(k / 2) / 50.0f;
            font.draw(lines[k].c_str(), x, y, 0.02f, 1, 0, 1, 1, 0.8f, 1, 1);
            glyphs += kLineLength;
        }
        CRender::end(7);
        ++frames;
        elapsed = time_diff_ms(get_time_ms(), start);
    }
    std::printf("%d frames in %.2f s: %.1f frames per second (%d images and %d glyphs a frame, "
                "1024x768, %s)\n",
                frames, elapsed / 1000.0, frames * 1000.0 / elapsed, kImages, glyphs,
                CRender::current()->getDevice()->GetDeviceName().c_str());
    return 0;
}
