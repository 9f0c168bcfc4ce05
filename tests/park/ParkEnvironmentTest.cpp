// The park view requests its scenes through the background loader, whose thread needs an
// engine: the park tests run with one headless engine, and stop the loader at the end.

#include "ParkTestSupport.h"

#include "render/external/bg_loader.h"
#include "source_menu/ScreenParkEvents.h"

#include <gtest/gtest.h>

namespace {

HeadlessEngine* engine = nullptr;

class ParkViewEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        engine = new HeadlessEngine();
        // The park rules reach the screens and the park view as in the game.
        installParkEvents(Singleton<ScreenParkEvents>::get());
    }
    void TearDown() override
    {
        bgLoader.shutdown();
        delete engine;
        engine = nullptr;
    }
};

testing::Environment* const environment = testing::AddGlobalTestEnvironment(new ParkViewEnvironment());

} // namespace

HeadlessEngine& parktest::headlessEngine()
{
    return *engine;
}
