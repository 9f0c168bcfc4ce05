// Background loading of a few hundred images of assorted sizes on the real OpenGL device,
// with the game's 45 MiB budget, while the render thread draws empty frames as the loading
// screen does. Reports the time until every image is usable and the peak memory.
//
// Phase 1 requests every image with a reference (more than the budget holds: the loader warns
// and loads anyway); phase 2 releases them and requests as many new ones, so the loader
// evicts the unreferenced images to make room.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" ./bench_bg_loader [images]

#include "core/platform.h"
#include "core/sdl_layer.h"
#include "fixtures/PngWriter.h"
#include "fixtures/TempDir.h"
#include "render/CRender.h"
#include "render/external/bg_loader.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const int kSides[] = {16, 24, 32, 48, 64, 100, 128, 160, 200, 256, 320, 400, 512};
const int kSideCount = sizeof kSides / sizeof kSides[0];

long peakRssKb()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct Picture {
    std::string path;
    int width, height;
};

std::vector<Picture> makePictures(const TempDir& dir, const char* prefix, int count)
{
    std::vector<Picture> pictures;
    std::vector<unsigned char> rgba;
    for (int i = 0; i < count; ++i) {
        Picture p{dir.file(prefix + std::to_string(i) + ".png"), kSides[std::rand() % kSideCount],
                  kSides[std::rand() % kSideCount]};
        rgba.assign(size_t(p.width) * p.height * 4, 0);
        for (size_t k = 0; k < rgba.size(); ++k)
            rgba[k] = (unsigned char)(k * 7 + i * 13);
        if (!write_png(p.path, p.width, p.height, rgba.data())) {
            std::fprintf(stderr, "can't write %s\n", p.path.c_str());
            std::exit(1);
        }
        pictures.push_back(p);
    }
    return pictures;
}

struct Result {
    int ms;
    int frames;
    long decodedBytes;
};

// Requests every picture, then draws empty frames until all are loaded.
Result loadAll(const std::vector<Picture>& pictures, std::vector<BGLoader::Resource*>& held)
{
    const int start = get_time_ms();
    for (const Picture& p : pictures)
        held.push_back(bgLoader.request(p.path, 100, &bgLoader.imageFactory, 1));
    Result r{0, 0, 0};
    for (;;) {
        size_t ready = 0;
        for (BGLoader::Resource* rc : held)
            ready += static_cast<BGLoader::ImageResource*>(rc)->is_loaded();
        if (ready == held.size())
            break;
        CRender::begin(nullptr, 0, 1.3333f);
        CRender::end(7);
        ++r.frames;
    }
    r.ms = time_diff_ms(get_time_ms(), start);
    for (BGLoader::Resource* rc : held) {
        int w = 0, h = 0;
        static_cast<BGLoader::ImageResource*>(rc)->get_size(&w, &h);
        r.decodedBytes += long(w) * h * 4;
    }
    return r;
}

}  // namespace

int main(int argc, char** argv)
{
    XInitThreads();
    const int count = argc > 1 ? std::atoi(argv[1]) : 300;
    std::srand(7);
    TempDir dir;
    std::vector<Picture> first = makePictures(dir, "a", count);
    std::vector<Picture> second = makePictures(dir, "b", count);
    long fileBytes = 0;
    for (const Picture& p : first)
        fileBytes += long(file_size(p.path.c_str()));

    inputState.windowMode = 2;
    inputState.windowWidth = 1024;
    inputState.windowHeight = 768;
    CRender engine("DISABLE_FBO NO_VSYNC NO_SLEEP", "");
    const long rssBefore = peakRssKb();

    // The loader's lines (one or two per image) and the image library's scaling notes would
    // drown the figures: they go to a file, where the eviction lines are counted.
    const std::string log = dir.file("loader.log");
    std::fflush(stdout);
    std::fflush(stderr);
    const int savedStdout = dup(1), savedStderr = dup(2);
    const int logFd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int devnull = open("/dev/null", O_WRONLY);
    dup2(logFd, 1);
    dup2(devnull, 2);

    std::vector<BGLoader::Resource*> held;
    Result one = loadAll(first, held);
    for (BGLoader::Resource* rc : held)
        bgLoader.release(rc);
    held.clear();
    Result two = loadAll(second, held);
    bgLoader.shutdown();

    std::fflush(stdout);
    std::fflush(stderr);
    dup2(savedStdout, 1);
    dup2(savedStderr, 2);
    int dropped = 0, overBudget = 0;
    if (FILE* f = std::fopen(log.c_str(), "r")) {
        char line[1024];
        while (std::fgets(line, sizeof line, f)) {
            dropped += std::strncmp(line, "BGLoader: dropping", 18) == 0;
            overBudget += std::strncmp(line, "BGLoader: can't fit", 19) == 0;
        }
        std::fclose(f);
    }
    std::printf("%d images (sides 16..512 px, %.1f MiB of PNG files), budget %.0f MiB\n", count,
                fileBytes / 1048576.0, kLoaderBudget / 1048576.0);
    std::printf("phase 1, all referenced:  %d ms until all usable, %d frames, %.1f MiB decoded\n",
                one.ms, one.frames, one.decodedBytes / 1048576.0);
    std::printf("phase 2, evicting phase 1: %d ms until all usable, %d frames, %.1f MiB decoded\n",
                two.ms, two.frames, two.decodedBytes / 1048576.0);
    std::printf("loader: %d images dropped for room, %d loads over the budget\n", dropped,
                overBudget);
    std::printf("peak resident memory: %.1f MiB (%.1f MiB with the window open, before loading)\n",
                peakRssKb() / 1024.0, rssBefore / 1024.0);
    return 0;
}
