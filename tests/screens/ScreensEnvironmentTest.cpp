// The screens reach the park's data, which requests pictures and scenes through the background
// loader, whose thread needs an engine: the screen tests run with a headless one, and stop the
// loader at the end.

#include "fixtures/HeadlessEngine.h"

#include "render/external/bg_loader.h"
#include "source_menu/ScreenParkEvents.h"

#include <gtest/gtest.h>

namespace {

HeadlessEngine* screensEngine = nullptr;

class ScreensEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        screensEngine = new HeadlessEngine();
        // The park rules reach the screens and the park view as in the game.
        installParkEvents(Singleton<ScreenParkEvents>::get());
    }
    void TearDown() override
    {
        bgLoader.shutdown();
        delete screensEngine;
        screensEngine = nullptr;
    }
};

testing::Environment* const environment = testing::AddGlobalTestEnvironment(new ScreensEnvironment());

} // namespace

RecordingDevice& screensDevice()
{
    return screensEngine->device;
}
