// The loader thread against the real OpenGL device: its GPU context, GPU work handed to the
// render thread, and stopping while a load waits for the render thread.

#include "render/external/bg_loader.h"

#include "fixtures/GLTestWindow.h"
#include "fixtures/PngWriter.h"
#include "fixtures/TempDir.h"
#include "render/CRender.h"
#include "render/render.h"

#include <GL/gl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

using namespace std::chrono_literals;

// A resource whose load makes and fills a vertex buffer: from the loader thread both are
// tasks the render thread must run.
class BufferResource : public BGLoader::Resource {
public:
    explicit BufferResource(std::atomic<int>& started) : mStarted(started) {}
    ~BufferResource() override
    {
        if (buffer)
            Render::current()->getDevice()->ReleaseVertexBuffer(buffer);
    }
    bool rcload(const std::string&) override
    {
        ++mStarted;
        Device* device = Render::current()->getDevice();
        buffer = device->CreateVertexBuffer(64, false);
        if (!buffer)
            return false;
        float* data = static_cast<float*>(device->LockVertexBuffer(buffer, Device::lck_writediscard));
        for (int i = 0; i < 16; ++i)
            data[i] = float(i);
        device->UnlockVertexBuffer(buffer);
        return true;
    }
    vbuffer_t_opaque* buffer = nullptr;

private:
    std::atomic<int>& mStarted;
};

class BufferFactory : public BGLoader::ResourceFactory {
public:
    BGLoader::Resource* create() override { return new BufferResource(started); }
    std::atomic<int> started{0};
};

// The window's device as the current engine.
class LoaderOnDevice : public testing::Test {
protected:
    void SetUp() override
    {
        device = gl_test_device();
        render.init(device);
        previous = Render::current();
        Render::set_current(&render);
    }
    void TearDown() override { Render::set_current(previous); }

    Device_GL* device = nullptr;
    Render render{""};
    Render* previous = nullptr;
};

TEST_F(LoaderOnDevice, ImagesAndFontsRequestedByNameArriveAfterAFewFrames)
{
    TempDir dir;
    std::vector<unsigned char> green(64 * 48 * 4);
    for (size_t k = 0; k < green.size(); k += 4) {
        green[k + 1] = 255;
        green[k + 3] = 255;
    }
    const std::string picture = dir.file("green.png");
    ASSERT_TRUE(write_png(picture, 64, 48, green.data()));
    const std::string fontFile =
        std::string(PETPARK_APP_DIR) + "/Resources/data/fonts/sans_24.png";

    BGLoader loader(kLoaderBudget);
    auto* image = static_cast<BGLoader::ImageResource*>(
        loader.request(picture, 100, &loader.imageFactory, 1));
    auto* font = static_cast<BGLoader::FontResource*>(
        loader.request(fontFile, 100, &loader.fontFactory, 1));
    int frames = 0;
    auto end = std::chrono::steady_clock::now() + 10s;
    while (!(image->is_loaded() && font->is_loaded()) && std::chrono::steady_clock::now() < end) {
        CRender::begin(nullptr, 0, 1.3333f);
        CRender::end(7);
        ++frames;
    }
    ASSERT_TRUE(image->is_loaded());
    ASSERT_TRUE(font->is_loaded());
    EXPECT_GT(frames, 0);
    std::printf("image and font usable after %d frames\n", frames);

    CRender::begin(nullptr, 0, 1.3333f);
    image->draw(0, 0, 1, 1, 1, 1, 1, 1, 1);
    EXPECT_GT(font->draw(L"Pet Park", 0.1f, 0.1f, 0.1f, 1, 0, 1, 1, 1, 1, 1), 0.0f);
    CRender::end(0);
    unsigned char p[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(128, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    EXPECT_LT(p[0], 20);
    EXPECT_GT(p[1], 235);
    CRender::begin(nullptr, 0, 1.3333f);
    CRender::end(3);
    loader.shutdown();
}

TEST_F(LoaderOnDevice, LoadsDoTheirGpuWorkThroughTheRenderThreadsFrames)
{
    BufferFactory factory;
    BGLoader loader(kLoaderBudget);
    auto* rc = static_cast<BufferResource*>(loader.request("buffer", 100, &factory, 1));
    // The render thread's frames serve the loader's tasks.
    auto end = std::chrono::steady_clock::now() + 10s;
    std::string out;
    while (out.find("state: loaded") == std::string::npos &&
           std::chrono::steady_clock::now() < end) {
        device->Clear(0, 0, 0, true, true);
        testing::internal::CaptureStdout();
        loader.dumpCache();
        out = testing::internal::GetCapturedStdout();
    }
    EXPECT_NE(out.find("state: loaded"), std::string::npos) << out;
    ASSERT_NE(rc->buffer, nullptr);
    const float* data =
        static_cast<const float*>(device->LockVertexBuffer(rc->buffer, Device::lck_readonly));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data[15], 15.0f);
    device->UnlockVertexBuffer(rc->buffer);
    loader.shutdown();
}

TEST_F(LoaderOnDevice, ShutdownServesTheTasksOfTheLoadInProgress)
{
    BufferFactory factory;
    BGLoader loader(kLoaderBudget);
    auto* rc = static_cast<BufferResource*>(loader.request("buffer", 100, &factory, 1));
    loader.request("never", 100, &factory, 1);
    auto end = std::chrono::steady_clock::now() + 10s;
    while (factory.started == 0 && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(1ms);
    ASSERT_EQ(factory.started, 1);
    // No frame is drawn: the load is waiting for the render thread, which is here.
    const auto before = std::chrono::steady_clock::now();
    loader.shutdown();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 5s);
    EXPECT_NE(rc->buffer, nullptr);
    EXPECT_EQ(factory.started, 1);
}

// The game's way out: the program-wide loader, busy with GPU work, is stopped at the end of
// the run and the process ends at once.
TEST(LoaderExit, ProcessThatStartsAndStopsTheLoaderExitsPromptly)
{
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EXIT(
        {
            Device_GL* device = gl_test_device();
            static Render render("");
            render.init(device);
            Render::set_current(&render);
            static BufferFactory factory;
            for (int i = 0; i < 20; ++i)
                bgLoader.request("buffer" + std::to_string(i), 100, &factory, 1);
            while (factory.started == 0)
                std::this_thread::sleep_for(1ms);
            bgLoader.shutdown();
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_LT(std::chrono::steady_clock::now() - before, 20s);
}

} // namespace
