#include "fixtures/GLTestWindow.h"

#include "core/sdl_layer.h"
#include "render/device_gl_fixed.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

namespace {

const float kIdentity16[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
const float kIdentity12[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};

struct Vertex {
    float x, y, z;
    float r, g, b, a;
};

// A quad covering the whole viewport in one colour, drawn with identity matrices.
std::vector<Vertex> fullQuad(float r, float g, float b)
{
    return {{-1, -1, 0, r, g, b, 1}, {1, -1, 0, r, g, b, 1}, {1, 1, 0, r, g, b, 1},
            {-1, 1, 0, r, g, b, 1}};
}

const int32_t kQuadIndices[6] = {0, 1, 2, 2, 3, 0};

void resetState(Device_GL* dev)
{
    dev->SetTarget(nullptr);
    dev->SetMatrix(kIdentity16, kIdentity12);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    if (GLEW_ARB_fragment_program)
        glDisable(GL_FRAGMENT_PROGRAM_ARB);
}

// Runs body on a worker thread while the render thread keeps clearing frames (serving tasks).
template <class Body>
void withWorker(Device_GL* dev, Body body)
{
    std::atomic<bool> done{false};
    std::thread worker([&] {
        body();
        done = true;
    });
    while (!done)
        dev->Clear(0, 0, 0, true, true);
    worker.join();
}

TEST(DeviceGL, WindowOpensAndClearColourReadsBack)
{
    Device_GL* dev = gl_test_device();
    resetState(dev);
    int w = 0, h = 0;
    dev->GetTargetSize(nullptr, &w, &h);
    EXPECT_EQ(w, 256);
    EXPECT_EQ(h, 256);
    EXPECT_FLOAT_EQ(dev->GetAspect(), 1.0f);
    dev->Clear(0.0f, 1.0f, 0.0f, true, true);
    EXPECT_TRUE(near_rgba(read_pixel(10, 10), 0, 255, 0, 255));
    EXPECT_FALSE(dev->GetDeviceName().empty());
}

TEST(DeviceGL, SameVideoModeOnlyChangesTheTitle)
{
    Device_GL* dev = gl_test_device();
    SDL_Surface* before = SDL_GetVideoSurface();
    int w = 256, h = 256;
    dev->SetVideoMode(Device::vm_window, &w, &h, L"Another title");
    EXPECT_EQ(SDL_GetVideoSurface(), before);
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title, "Another title");
    EXPECT_STREQ(icon, "ve2");
    EXPECT_TRUE(dev->title == L"Another title");
}

TEST(DeviceGL, AModeOfTheSizeBeforeAResizeIsSetAgain)
{
    Device_GL* dev = gl_test_device();
    // The event pump resizes the window itself, without the device.
    ASSERT_NE(SDL_SetVideoMode(300, 200, 0, SDL_GetVideoSurface()->flags), nullptr);
    int w = 256, h = 256;
    dev->SetVideoMode(Device::vm_window, &w, &h, L"");
    SDL_Surface* screen = SDL_GetVideoSurface();
    EXPECT_EQ(screen->w, 256);
    EXPECT_EQ(screen->h, 256);
    int tw = 0, th = 0;
    dev->GetTargetSize(nullptr, &tw, &th);
    EXPECT_EQ(tw, 256);
    EXPECT_EQ(th, 256);
}

TEST(DeviceGL, DrawFromMemoryDrawsAndRepeatsWithTheCachedFormat)
{
    Device_GL* dev = gl_test_device();
    resetState(dev);
    dev->Clear(0, 0, 0, true, true);
    std::vector<Vertex> quad = fullQuad(1, 0, 0);
    Device::vertex_element el[2] = {
        {nullptr, uintptr_t(&quad[0].r), sizeof(Vertex), Device::vt_float, 4, Device::vu_color, 0},
        {nullptr, uintptr_t(&quad[0].x), sizeof(Vertex), Device::vt_float, 3, Device::vu_position,
         0},
    };
    dev->DrawFromMemory(Device::tri_list, kQuadIndices, 32, 0, 6, el, 2, 0, 4);
    EXPECT_TRUE(near_rgba(read_pixel(128, 128), 255, 0, 0, 255));

    // Same element table, new contents: nothing to declare again, the new colour shows.
    for (Vertex& v : quad)
        v.r = 0, v.b = 1;
    dev->DrawFromMemory(Device::tri_list, kQuadIndices, 32, 0, 6, el, 2, 0, 4);
    EXPECT_TRUE(near_rgba(read_pixel(128, 128), 0, 0, 255, 255));

    // A start index draws from that index on: only the second triangle (upper left half).
    dev->Clear(0, 0, 0, true, true);
    dev->DrawFromMemory(Device::tri_list, kQuadIndices, 32, 3, 3, el, 2, 0, 4);
    EXPECT_TRUE(near_rgba(read_pixel(20, 230), 0, 0, 255, 255));
    EXPECT_TRUE(near_rgba(read_pixel(230, 20), 0, 0, 0, 255));
}

TEST(DeviceGL, DrawAfterOneWithoutVertexColoursUsesThemAgain)
{
    Device_GL* dev = gl_test_device();
    resetState(dev);
    dev->Clear(0, 0, 0, true, true);
    std::vector<Vertex> quad = fullQuad(1, 0, 0);
    Device::vertex_element el[2] = {
        {nullptr, uintptr_t(&quad[0].x), sizeof(Vertex), Device::vt_float, 3, Device::vu_position,
         0},
        {nullptr, uintptr_t(&quad[0].r), sizeof(Vertex), Device::vt_float, 4, Device::vu_color, 0},
    };
    glColor4f(0, 1, 0, 1);
    dev->no_vertex_colour = 1;
    dev->DrawFromMemory(Device::tri_list, kQuadIndices, 32, 0, 6, el, 2, 0, 4);
    EXPECT_TRUE(near_rgba(read_pixel(128, 128), 0, 255, 0, 255));
    dev->EndPass(0);
    EXPECT_EQ(dev->no_vertex_colour, 0);
    dev->DrawFromMemory(Device::tri_list, kQuadIndices, 32, 0, 6, el, 2, 0, 4);
    EXPECT_TRUE(near_rgba(read_pixel(128, 128), 255, 0, 0, 255));
}

// As skinned figures draw: positions from a buffer of each figure's own, colours from one
// shared buffer. The second draw re-points only its position array; the colours stay.
TEST(DeviceGL, DrawsOfTheSameLayoutFromAnotherBufferReadThatBuffer)
{
    Device_GL* dev = gl_test_device();
    resetState(dev);
    dev->Clear(0, 0, 0, true, true);
    auto filled = [&](const void* data, int bytes) {
        vbuffer_t_opaque* b = dev->CreateVertexBuffer(bytes, true);
        std::memcpy(dev->LockVertexBuffer(b, Device::lck_writediscard), data, size_t(bytes));
        dev->UnlockVertexBuffer(b);
        return b;
    };
    // The left half and the right half of the viewport; yellow at every corner.
    const float left[12] = {-1, -1, 0, 0, -1, 0, 0, 1, 0, -1, 1, 0};
    const float right[12] = {0, -1, 0, 1, -1, 0, 1, 1, 0, 0, 1, 0};
    const float yellow[16] = {1, 1, 0, 1, 1, 1, 0, 1, 1, 1, 0, 1, 1, 1, 0, 1};
    vbuffer_t_opaque* figures[2] = {filled(left, sizeof left), filled(right, sizeof right)};
    vbuffer_t_opaque* colours = filled(yellow, sizeof yellow);
    vbuffer_t_opaque* ib = dev->CreateIndexBuffer(int(sizeof kQuadIndices), true);
    std::memcpy(dev->LockIndexBuffer(ib, Device::lck_writediscard), kQuadIndices, sizeof kQuadIndices);
    dev->UnlockIndexBuffer(ib);
    for (vbuffer_t_opaque* figure : figures) {
        Device::vertex_element el[2] = {
            {colours, 0, 16, Device::vt_float, 4, Device::vu_color, 0},
            {figure, 0, 12, Device::vt_float, 3, Device::vu_position, 0},
        };
        dev->Draw(Device::tri_list, ib, 32, 0, 6, el, 2, 0, 4);
        if (figure == figures[0]) {
            EXPECT_TRUE(near_rgba(read_pixel(64, 128), 255, 255, 0, 255));
            EXPECT_TRUE(near_rgba(read_pixel(192, 128), 0, 0, 0, 255));
        }
    }
    EXPECT_TRUE(near_rgba(read_pixel(192, 128), 255, 255, 0, 255));
    for (vbuffer_t_opaque* b : {figures[0], figures[1], colours})
        dev->ReleaseVertexBuffer(b);
    dev->ReleaseIndexBuffer(ib);
}

TEST(DeviceGL, DebugLinesAreDrawnUnderTheView)
{
    Device_GL* dev = gl_test_device();
    resetState(dev);
    // The view moves everything up by half the viewport: the line at y = -0.5 lands at y = 0.
    const float view[12] = {1, 0, 0, 0, 0, 1, 0, 0.5f, 0, 0, 1, 0};
    dev->SetMatrix(kIdentity16, view);
    dev->Clear(0, 0, 0, true, true);
    const Device::line_vertex line[2] = {{{-1, -0.5f, 0}, {1, 0, 0, 1}}, {{1, -0.5f, 0}, {1, 0, 0, 1}}};
    dev->DrawLines(line, 1);
    int brightest = 0;
    for (int y = 125; y <= 131; ++y)
        brightest = std::max(brightest, read_pixel(128, y).r);
    EXPECT_GT(brightest, 100);
    EXPECT_TRUE(near_rgba(read_pixel(128, 64), 0, 0, 0, 255));
    // Lines leave the GL state as they found it.
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST(DeviceGL, ModelTransformIsAppliedAfterTheView)
{
    Device_GL* dev = gl_test_device();
    resetState(dev);
    // View shifts right by 0.5, model scales by 0.5: the quad covers x in [0, 1] (right half).
    const float view[12] = {1, 0, 0, 0.5f, 0, 1, 0, 0, 0, 0, 1, 0};
    const float model[12] = {0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
    dev->SetMatrix(kIdentity16, view);
    dev->SetModel(model);
    dev->Clear(0, 0, 0, true, true);
    std::vector<Vertex> quad = fullQuad(1, 1, 1);
    Device::vertex_element el[2] = {
        {nullptr, uintptr_t(&quad[0].x), sizeof(Vertex), Device::vt_float, 3, Device::vu_position,
         0},
        {nullptr, uintptr_t(&quad[0].r), sizeof(Vertex), Device::vt_float, 4, Device::vu_color, 0},
    };
    dev->DrawFromMemory(Device::tri_list, kQuadIndices, 32, 0, 6, el, 2, 0, 4);
    EXPECT_TRUE(near_rgba(read_pixel(200, 128), 255, 255, 255, 255));
    EXPECT_TRUE(near_rgba(read_pixel(100, 128), 0, 0, 0, 255));
    EXPECT_TRUE(near_rgba(read_pixel(60, 128), 0, 0, 0, 255));
}

TEST(DeviceGL, BuffersMadeAndFilledOnAWorkerAreDrawnOnTheRenderThread)
{
    Device_GL* dev = gl_test_device();
    resetState(dev);
    std::vector<Vertex> quad = fullQuad(0, 1, 1);
    vbuffer_t_opaque* vb = nullptr;
    vbuffer_t_opaque* ib = nullptr;
    withWorker(dev, [&] {
        vb = dev->CreateVertexBuffer(int(quad.size() * sizeof(Vertex)), false);
        ib = dev->CreateIndexBuffer(int(sizeof kQuadIndices), true);
        void* v = dev->LockVertexBuffer(vb, Device::lck_writediscard);
        std::memcpy(v, quad.data(), quad.size() * sizeof(Vertex));
        // Off the render thread the data is staged and reaches GL only at unlock.
        EXPECT_NE(static_cast<DataBuffer*>(vb)->staging, nullptr);
        dev->UnlockVertexBuffer(vb);
        EXPECT_EQ(static_cast<DataBuffer*>(vb)->staging, nullptr);
        std::memcpy(dev->LockIndexBuffer(ib, Device::lck_writediscard), kQuadIndices,
                    sizeof kQuadIndices);
        dev->UnlockIndexBuffer(ib);
    });
    ASSERT_NE(vb, nullptr);
    ASSERT_NE(ib, nullptr);
    EXPECT_NE(dynamic_cast<GLHardwareBuffer*>(static_cast<DataBuffer*>(vb)), nullptr);

    dev->Clear(0, 0, 0, true, true);
    Device::vertex_element el[2] = {
        {vb, offsetof(Vertex, x), sizeof(Vertex), Device::vt_float, 3, Device::vu_position, 0},
        {vb, offsetof(Vertex, r), sizeof(Vertex), Device::vt_float, 4, Device::vu_color, 0},
    };
    dev->Draw(Device::tri_list, ib, 32, 0, 6, el, 2, 0, 4);
    EXPECT_TRUE(near_rgba(read_pixel(128, 128), 0, 255, 255, 255));

    // A client-memory draw after a buffered one must not read through the bound buffers.
    std::vector<Vertex> red = fullQuad(1, 0, 0);
    Device::vertex_element mem[2] = {
        {nullptr, uintptr_t(&red[0].x), sizeof(Vertex), Device::vt_float, 3, Device::vu_position,
         0},
        {nullptr, uintptr_t(&red[0].r), sizeof(Vertex), Device::vt_float, 4, Device::vu_color, 0},
    };
    dev->DrawFromMemory(Device::tri_list, kQuadIndices, 32, 0, 6, mem, 2, 0, 4);
    EXPECT_TRUE(near_rgba(read_pixel(128, 128), 255, 0, 0, 255));

    // On the render thread a lock maps the buffer itself.
    Vertex* mapped = static_cast<Vertex*>(dev->LockVertexBuffer(vb, Device::lck_readonly));
    ASSERT_NE(mapped, nullptr);
    EXPECT_FLOAT_EQ(mapped[2].g, 1.0f);
    dev->UnlockVertexBuffer(vb);

    int out[6] = {};
    EXPECT_EQ(dev->ReadIndices(Device::tri_list, ib, 32, 0, 6, out), 2);
    EXPECT_EQ(out[4], 3);

    withWorker(dev, [&] {
        dev->ReleaseVertexBuffer(vb);
        dev->ReleaseIndexBuffer(ib);
        dev->ReleaseIndexBuffer(nullptr);
    });
}

TEST(DeviceGL, ServingModeRunsEveryTaskWithinOneClear)
{
    Device_GL* dev = gl_test_device();
    dev->Clear(0, 0, 0, true, true);  // this device is now the one that serves
    std::atomic<bool> serving{false};
    std::atomic<int> made{0};
    std::vector<vbuffer_t_opaque*> buffers;
    std::thread worker([&] {
        Device_GL::SetTaskServing(1);
        serving = true;
        for (int i = 0; i < 3; ++i) {
            buffers.push_back(dev->CreateVertexBuffer(64, false));
            ++made;
        }
        Device_GL::SetTaskServing(0);
    });
    while (!serving)
        std::this_thread::yield();
    dev->Clear(0, 0, 0, true, true);
    // The single Clear returned only once serving was switched off: every task has run.
    EXPECT_EQ(made.load(), 3);
    worker.join();
    for (vbuffer_t_opaque* b : buffers)
        dev->ReleaseVertexBuffer(b);
}

TEST(DeviceGL, RenderThreadRunsItsOwnTasksAtOnce)
{
    Device_GL* dev = gl_test_device();
    dev->RunTask(nullptr);
    DataBuffer* made = nullptr;
    Device_GL::DB_maker maker(&made, false, GL_ARRAY_BUFFER, 32, GL_STATIC_DRAW);
    dev->RunTask(&maker);
    ASSERT_NE(made, nullptr);
    EXPECT_NE(dynamic_cast<EmulatedBuffer*>(made), nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(made->use()) % 16, 0u);
    dev->ReleaseVertexBuffer(made);
}

TEST(DeviceGL, WorkerContextSharesTexturesWithTheMainContext)
{
    Device_GL* dev = gl_test_device();
    texture_t_opaque* tex = nullptr;
    std::thread worker([&] {
        dev->ThreadStart();
        unsigned char pixels[4 * 4 * 4];
        for (int i = 0; i < 16; ++i) {
            pixels[i * 4 + 0] = 10;
            pixels[i * 4 + 1] = 200;
            pixels[i * 4 + 2] = 30;
            pixels[i * 4 + 3] = 255;
        }
        tex = dev->CreateTexture(2, 4, 4, pixels, 1, nullptr);
        dev->ThreadStop();
    });
    worker.join();
    ASSERT_NE(tex, nullptr);
    unsigned char back[4 * 4 * 4] = {};
    dev->GetTexturePixels(tex, back);
    EXPECT_EQ(back[0], 10);
    EXPECT_EQ(back[61], 200);
    dev->ReleaseTexture(tex);
}

TEST(DeviceGL, DisabledBufferObjectsGiveMemoryBuffers)
{
    gl_test_device();
    Device_GL_fixed dev("DISABLE_VBO");
    ASSERT_TRUE(dev.Init());
    EXPECT_EQ(dev.use_vbo, 0);
    vbuffer_t_opaque* vb = dev.CreateVertexBuffer(100, true);
    EmulatedBuffer* mem = dynamic_cast<EmulatedBuffer*>(static_cast<DataBuffer*>(vb));
    ASSERT_NE(mem, nullptr);
    EXPECT_EQ(dev.LockVertexBuffer(vb, Device::lck_writediscard), mem->data);
    EXPECT_EQ(static_cast<DataBuffer*>(vb)->use(), mem->data);
    dev.UnlockVertexBuffer(vb);
    dev.ReleaseVertexBuffer(vb);
    // The shared device's state was touched by this one's Init: set it up again.
    gl_test_device()->InitStates();
}

} // namespace
