// The park's data requests pictures and scenes through the background loader, whose thread
// needs an engine: the game tests run with a headless one, and stop the loader at the end.

#include "fixtures/HeadlessEngine.h"

#include "render/external/bg_loader.h"
#include "source_menu/ScreenParkEvents.h"

#include <gtest/gtest.h>

namespace {

class ParkEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        mEngine = new HeadlessEngine();
        // The park rules reach the screens and the park view as in the game.
        installParkEvents(Singleton<ScreenParkEvents>::get());
    }
    void TearDown() override
    {
        bgLoader.shutdown();
        delete mEngine;
    }

private:
    HeadlessEngine* mEngine = nullptr;
};

testing::Environment* const environment = testing::AddGlobalTestEnvironment(new ParkEnvironment());

} // namespace
