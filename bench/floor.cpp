// What the machine's OpenGL does at its cheapest, to measure the game's frames against, in a
// 1024 x 768 window of plain SDL and fixed-function OpenGL (nothing of the game):
//   clear      clear and swap;
//   quads      a full-screen textured quad and 300 blended 64 x 64 quads from 12 textures
//              (the "quad floor");
//   triangles  20,000 lit triangles from one vertex array.
// Prints the wall time and the process's processor time (all threads, so a software
// rasterizer's workers count) per frame, averaged over the frames after a warm-up.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" ./bench_floor quads [--frames N]

#include <GL/gl.h>
#include <SDL/SDL.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

const int kWidth = 1024, kHeight = 768;

double seconds(clockid_t clock)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

GLuint makeTexture(int size, unsigned seed)
{
    std::vector<unsigned char> pixels(size_t(size) * size_t(size) * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            unsigned char* p = &pixels[(size_t(y) * size_t(size) + size_t(x)) * 4];
            p[0] = (unsigned char)(x * 4 + seed * 40);
            p[1] = (unsigned char)(y * 4 + seed * 20);
            p[2] = (unsigned char)((x ^ y) * 8);
            p[3] = (unsigned char)(128 + ((x + y + int(seed)) % 128));
        }
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return id;
}

void quad(float x, float y, float w, float h)
{
    glTexCoord2f(0, 0);
    glVertex2f(x, y);
    glTexCoord2f(1, 0);
    glVertex2f(x + w, y);
    glTexCoord2f(1, 1);
    glVertex2f(x + w, y + h);
    glTexCoord2f(0, 1);
    glVertex2f(x, y + h);
}

struct Quads {
    GLuint background = 0;
    GLuint textures[12] = {};
    Quads()
    {
        background = makeTexture(1024, 0);
        for (unsigned i = 0; i < 12; ++i)
            textures[i] = makeTexture(64, i + 1);
    }
    void draw(int frame)
    {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kWidth, kHeight, 0, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glBindTexture(GL_TEXTURE_2D, background);
        glBegin(GL_QUADS);
        quad(0, 0, kWidth, kHeight);
        glEnd();
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        // Quads of one texture follow each other, as a batching 2D renderer draws them.
        for (int t = 0; t < 12; ++t) {
            glBindTexture(GL_TEXTURE_2D, textures[t]);
            glBegin(GL_QUADS);
            for (int i = t; i < 300; i += 12) {
                float x = float((i * 97 + frame) % (kWidth - 64));
                float y = float((i * 53) % (kHeight - 64));
                quad(x, y, 64, 64);
            }
            glEnd();
        }
    }
};

struct Triangles {
    std::vector<float> vertices;  // position, normal
    Triangles()
    {
        // A 100 x 100 grid of quads (20,000 triangles) bent into a wave, filling the view.
        const int n = 100;
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                const int corners[6][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 0}, {1, 1}, {0, 1}};
                for (const auto& c : corners) {
                    float u = float(i + c[0]) / n, v = float(j + c[1]) / n;
                    float z = 0.1f * std::sin(u * 12.0f) * std::cos(v * 9.0f);
                    float px = u * 2 - 1, py = v * 2 - 1;
                    float nx = -1.2f * std::cos(u * 12.0f) * std::cos(v * 9.0f);
                    float ny = 0.9f * std::sin(u * 12.0f) * std::sin(v * 9.0f);
                    float len = std::sqrt(nx * nx + ny * ny + 1);
                    float vertex[6] = {px, py, z, nx / len, ny / len, 1 / len};
                    vertices.insert(vertices.end(), vertex, vertex + 6);
                }
            }
    }
    void draw(int frame)
    {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-0.6, 0.6, -0.45, 0.45, 1, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0, 0, -2);
        glRotatef(float(frame % 360) * 0.2f, 0, 0, 1);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        const float direction[4] = {0.3f, 0.5f, 1, 0};
        glLightfv(GL_LIGHT0, GL_POSITION, direction);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, 6 * sizeof(float), vertices.data());
        glNormalPointer(GL_FLOAT, 6 * sizeof(float), vertices.data() + 3);
        glDrawArrays(GL_TRIANGLES, 0, GLsizei(vertices.size() / 6));
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
    }
};

} // namespace

int main(int argc, char** argv)
{
    std::string mode = argc > 1 ? argv[1] : "quads";
    int frames = 200;
    for (int i = 2; i < argc; ++i)
        if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc)
            frames = std::atoi(argv[++i]);
    if (mode != "clear" && mode != "quads" && mode != "triangles") {
        std::fprintf(stderr, "usage: bench_floor clear|quads|triangles [--frames N]\n");
        return 2;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !SDL_SetVideoMode(kWidth, kHeight, 0, SDL_OPENGL)) {
        std::fprintf(stderr, "no OpenGL window: %s\n", SDL_GetError());
        return 1;
    }
    glViewport(0, 0, kWidth, kHeight);
    Quads* quads = mode == "quads" ? new Quads() : nullptr;
    Triangles* triangles = mode == "triangles" ? new Triangles() : nullptr;
    const int warmup = 10;
    double wall = 0, cpu = 0;
    for (int frame = 0; frame < warmup + frames; ++frame) {
        if (frame == warmup) {
            wall = seconds(CLOCK_MONOTONIC);
            cpu = seconds(CLOCK_PROCESS_CPUTIME_ID);
        }
        glClearColor(0.2f, 0.3f, 0.4f, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (quads)
            quads->draw(frame);
        if (triangles)
            triangles->draw(frame);
        SDL_GL_SwapBuffers();
    }
    wall = seconds(CLOCK_MONOTONIC) - wall;
    cpu = seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu;
    std::printf("%s floor: %.3f ms wall, %.3f ms cpu per frame over %d frames (%s)\n", mode.c_str(),
                wall * 1000 / frames, cpu * 1000 / frames, frames, (const char*)glGetString(GL_RENDERER));
    // The figures are out even should closing the window fail.
    std::fflush(stdout);
    SDL_Quit();
    return 0;
}
