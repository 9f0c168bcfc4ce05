// The loader's image, font and 3D object resources on the headless engine: what each is
// charged, failed loads, and deletion while the frame still draws an image.

#include "render/external/bg_loader.h"

#include "core/platform.h"
#include "fixtures/HeadlessEngine.h"
#include "fixtures/PngWriter.h"
#include "fixtures/TempDir.h"

#include <IL/il.h>
#include <IL/ilu.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

const std::string kFonts = std::string(PETPARK_APP_DIR) + "/Resources/data/fonts/";

class LoaderResources : public testing::Test {
protected:
    // The image library is set up by the GL device, which these tests do without.
    static void SetUpTestSuite()
    {
        ilInit();
        iluInit();
    }

    // The cache dump's block of name ("" when the name is not cached).
    std::string entry(const std::string& name)
    {
        testing::internal::CaptureStdout();
        loader.dumpCache();
        std::string dump = testing::internal::GetCapturedStdout();
        auto at = dump.find("### " + name + "\n");
        if (at == std::string::npos)
            return "";
        auto end = dump.find("###", at + 4);
        return dump.substr(at, end == std::string::npos ? std::string::npos : end - at);
    }
    std::string waitLoaded(const std::string& name)
    {
        for (int i = 0; i < 5000; ++i) {
            std::string e = entry(name);
            if (e.find("state: loaded\n") != std::string::npos)
                return e;
            std::this_thread::sleep_for(1ms);
        }
        return "timed out";
    }
    std::string picture(const std::string& name, int width, int height)
    {
        std::vector<unsigned char> rgba(size_t(width) * height * 4, 200);
        std::string path = dir.file(name);
        EXPECT_TRUE(write_png(path, width, height, rgba.data()));
        return path;
    }

    HeadlessEngine engine;
    TempDir dir;
    BGLoader loader{kLoaderBudget};
};

TEST_F(LoaderResources, ImageIsChargedFourBytesATexelOfItsTextureWhateverItsFileSize)
{
    const std::string path = picture("wide.png", 100, 50);
    auto* image = static_cast<BGLoader::ImageResource*>(
        loader.request(path, 100, &loader.imageFactory, 1));
    std::string e = waitLoaded(path);
    ASSERT_TRUE(image->is_loaded());
    int w = 0, h = 0;
    image->get_size(&w, &h);
    EXPECT_NE(e.find("RAM usage: " + std::to_string(w * h * 4) + "\n"), std::string::npos) << e;
    EXPECT_NE(w * h * 4, int(file_size(path.c_str())));
}

TEST_F(LoaderResources, FontIsChargedItsFileSizeAndFreesItsTextureWhenDropped)
{
    const std::string path = kFonts + "sans_16.png";
    const int before = engine.device.liveTextures();
    auto* font = static_cast<BGLoader::FontResource*>(
        loader.request(path, 100, &loader.fontFactory, 1));
    std::string e = waitLoaded(path);
    ASSERT_TRUE(font->is_loaded());
    EXPECT_NE(e.find("RAM usage: " + std::to_string(file_size(path.c_str())) + "\n"),
              std::string::npos)
        << e;
    EXPECT_GT(font->draw(L"Pet Park", 0, 0, 0.05f, 1, 1.3333f, 1, 1, 1, 1, 0), 0.0f);
    EXPECT_GT(engine.device.liveTextures(), before);
    loader.release(font);
    loader.unload(path);
    EXPECT_EQ(engine.device.liveTextures(), before);
}

TEST_F(LoaderResources, UnreadableFilesAreFailedEntriesOfEveryKind)
{
    const std::string missing = dir.file("missing.png");
    const std::string notScene = picture("not_a_scene.3dn", 4, 4);
    auto* image = static_cast<BGLoader::ImageResource*>(
        loader.request(missing, 100, &loader.imageFactory, 1));
    auto* font = static_cast<BGLoader::FontResource*>(
        loader.request(dir.file("missing_font.png"), 100, &loader.fontFactory, 1));
    auto* object = static_cast<BGLoader::ObjectResource*>(
        loader.request(notScene, 100, &loader.objectFactory, 1));
    for (const std::string& name : {missing, dir.file("missing_font.png"), notScene})
        EXPECT_NE(waitLoaded(name).find("RAM usage: 0\n"), std::string::npos) << name;
    EXPECT_FALSE(image->is_loaded());
    EXPECT_FALSE(font->is_loaded());
    EXPECT_FALSE(object->is_loaded());
}

// The image stays until the frame that queued it has drawn it; meanwhile the loader serves
// other callers, since the deletion runs outside its lock.
TEST_F(LoaderResources, DroppingAnImageQueuedForDrawingWaitsForTheFrame)
{
    const std::string path = picture("drawn.png", 32, 32);
    auto* image = static_cast<BGLoader::ImageResource*>(
        loader.request(path, 100, &loader.imageFactory, 1));
    waitLoaded(path);
    ASSERT_TRUE(image->is_loaded());
    const int live = engine.device.liveTextures();

    engine.render.begin(nullptr, 0.0f, 1.3333f);
    image->draw(0, 0, 1, 1, 1, 1, 1, 1, 1);
    loader.release(image);
    std::atomic<bool> dropped{false};
    std::thread unloader([&] {
        loader.unload(path);
        dropped = true;
    });
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(dropped);
    EXPECT_EQ(engine.device.liveTextures(), live);
    const std::string other = picture("other.png", 8, 8);
    loader.request(other, 100, &loader.imageFactory, 1);
    EXPECT_NE(entry(other), "");

    engine.render.end(true, true, true);
    unloader.join();
    EXPECT_TRUE(dropped);
    EXPECT_EQ(entry(path), "");
    waitLoaded(other);
    EXPECT_EQ(engine.device.liveTextures(), live);  // one dropped, one made
}

} // namespace
