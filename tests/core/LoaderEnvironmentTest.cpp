// Screens and the park view request pictures and scenes through the background loader, whose
// thread needs an engine for every load, also for those still queued when a test ends: the core
// tests run with a headless engine underneath, and stop the loader at the end.

#include "fixtures/HeadlessEngine.h"

#include "render/external/bg_loader.h"
#include "source_menu/ScreenParkEvents.h"

#include <gtest/gtest.h>

namespace {

class LoaderEnvironment : public testing::Environment {
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

testing::Environment* const environment = testing::AddGlobalTestEnvironment(new LoaderEnvironment());

} // namespace
