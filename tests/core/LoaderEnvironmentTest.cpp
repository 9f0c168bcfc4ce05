// Screens and the park view request pictures and scenes through the background loader, whose
// thread needs an engine for every load, also for those still queued when a test ends: the core
// tests run with a headless engine underneath, and stop the loader at the end.

#include "fixtures/HeadlessEngine.h"

#include "render/external/bg_loader.h"

#include <gtest/gtest.h>

namespace {

class LoaderEnvironment : public testing::Environment {
public:
    void SetUp() override { mEngine = new HeadlessEngine(); }
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
