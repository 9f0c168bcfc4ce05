#include "toolkit/widgets/ParticleManager.h"

#include "fixtures/HeadlessEngine.h"
#include "fixtures/TempDir.h"
#include "render/CRender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>

namespace {

TEST(WidgetParticles, AScreenWithoutBurstsChangesNothing)
{
    ParticleManager particles;
    particles.update("menubank");
    particles.draw("menubank");
    particles.emitAt("menubank", 0, 0.5f, 0.5f, 15, 0.002f, 400);
    EXPECT_EQ(particles.live2D(), 0);
    EXPECT_EQ(particles.live3D(), 0);
}

TEST(WidgetParticles, ASparkOfFortyStepsFadesEvenlyAndDiesInItsFortiethUpdate)
{
    std::srand(7);
    cParticle2D burst(0, 0.5f, 0.5f, 3, 0.002f, 400);
    ASSERT_EQ(burst.particles.size(), 3u);
    for (const cParticle2D::Particle& p : burst.particles) {
        EXPECT_EQ(p.life, 40);
        EXPECT_GE(p.w, 0.02f);
        EXPECT_LT(p.w, 0.06f);
        EXPECT_FLOAT_EQ(p.h, 1.33f * p.w);
    }
    float vx = burst.particles[0].vx;
    for (int step = 1; step <= 39; ++step) {
        burst.update();
        EXPECT_NEAR(burst.particles[0].a, 1.0f - step / 40.0f, 1e-6) << step;
        EXPECT_TRUE(burst.anyAlive());
    }
    EXPECT_NEAR(burst.particles[0].vx, vx * std::pow(0.97f, 39), 1e-7);
    burst.update();
    EXPECT_FALSE(burst.anyAlive());
}

TEST(WidgetParticles, FinishedBurstsAreRetiredAndTheirSlotsReused)
{
    ParticleManager particles;
    particles.add2D("menubank", cParticle2D(0, 0.5f, 0.5f, 4, 0.002f, 30));
    particles.add2D("menuoptions", cParticle2D(0, 0.5f, 0.5f, 4, 0.002f, 1000));
    EXPECT_EQ(particles.live2D(), 2);
    for (int i = 0; i < 3; ++i)
        particles.update("menubank");
    EXPECT_EQ(particles.live2D(), 1);
    particles.add2D("menubank", cParticle2D(0, 0.5f, 0.5f, 4, 0.002f, 30));
    EXPECT_EQ(particles.live2D(), 2);
}

TEST(WidgetParticles, SceneSparksFallAndDieAtTheLastFrame)
{
    std::srand(3);
    cParticle3D burst(0, 0, 0, 0, 2, 1.0f, 5);
    for (const cParticle3D::Particle& p : burst.particles) {
        EXPECT_EQ(p.mask.size(), 99u);
        EXPECT_EQ(std::count(p.mask.begin(), p.mask.end(), '1'), 1);
        EXPECT_LT(p.mask.find('1'), 5u);
    }
    float vz = burst.particles[0].vz;
    burst.update();
    EXPECT_FLOAT_EQ(burst.particles[0].vz, std::max(vz - 0.0012f, -0.05f));
    for (int i = 0; i < 40; ++i)
        burst.update();
    EXPECT_FALSE(burst.anyAlive());
}

// Each test loads a scene of its own: the loader keeps a loaded scene cached with the engine
// that loaded it, and every test has an engine of its own.
const char* const kSparkle = PETPARK_APP_DIR "/Resources/data/3dn/fx_sparkle.3dn";
const char* const kHearts = PETPARK_APP_DIR "/Resources/data/3dn/fx_hearts.3dn";

// Definitions request their scenes from the background loader, whose thread needs an engine
// while it loads: a test waits for its scene before its engine goes.
bool loadedInTime(BGLoader::Resource* resource)
{
    auto* scene = static_cast<BGLoader::ObjectResource*>(resource);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!scene->is_loaded() && std::chrono::steady_clock::now() < deadline) {
        CRender::begin(nullptr, 0, 1.3333f);
        CRender::end(7);
    }
    return scene->is_loaded();
}

TEST(WidgetParticles, DefinitionFilesAreReadOrRefusedByName)
{
    HeadlessEngine engine;
    TempDir dir;
    std::ofstream(dir.file("good.txt")) << "count\n12\nsize\n0.5\nspin\n-2\nscene\n" << kSparkle
                                        << "\nflags\n3\n";
    std::ofstream(dir.file("short.txt")) << "count\n12\nsize\n0.5\n";
    std::ofstream(dir.file("garbled.txt")) << "count\n12x\nsize\n0.5\nspin\n1\nscene\na.3dn\nflags\n3\n";
    std::ofstream(dir.file("noscene.txt")) << "count\n1\nsize\n1\nspin\n1\nscene\n  \nflags\n3\n";
    ParticleManager particles;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(particles.loadDefinition(dir.file("good.txt")));
    for (const char* bad : {"missing.txt", "short.txt", "garbled.txt", "noscene.txt"})
        EXPECT_FALSE(particles.loadDefinition(dir.file(bad))) << bad;
    const std::string err = testing::internal::GetCapturedStderr();
    for (const char* bad : {"missing.txt", "short.txt", "garbled.txt", "noscene.txt"})
        EXPECT_NE(err.find(dir.file(bad)), std::string::npos) << err;
    ASSERT_EQ(particles.definitions().size(), 1u);
    const ParticleDefinition3D& d = particles.definitions()[0];
    EXPECT_EQ(d.first, 12);
    EXPECT_FLOAT_EQ(d.second, 0.5f);
    EXPECT_FLOAT_EQ(d.third, -2.0f);
    EXPECT_EQ(d.file, kSparkle);
    EXPECT_EQ(d.last, 3);
    EXPECT_TRUE(loadedInTime(d.scene));
    particles.releaseAll();
    EXPECT_TRUE(particles.definitions().empty());
}

TEST(WidgetParticles, SceneBurstsDrawEachLiveParticleWithTheirKindsScene)
{
    HeadlessEngine engine;
    TempDir dir;
    std::ofstream(dir.file("hearts.txt")) << "a\n1\nb\n1\nc\n1\nscene\n" << kHearts << "\nd\n0\n";
    ParticleManager particles;
    ASSERT_TRUE(particles.loadDefinition(dir.file("hearts.txt")));
    auto* scene = static_cast<BGLoader::ObjectResource*>(particles.definitions()[0].scene);
    ASSERT_TRUE(loadedInTime(scene));

    std::srand(5);
    particles.add3D("menushow", cParticle3D(0, 0, 0, 0, 3, 0.1f, 2));
    particles.add3D("menushow", cParticle3D(1, 0, 0, 0, 2, 0.1f, 2));  // no definition 1: skipped
    CRender::begin(nullptr, 0, 1.3333f);
    particles.draw("menushow");
    EXPECT_EQ(scene->engine()->in_use, 3);
    particles.draw("menuoptions");  // another screen's bursts are not drawn
    EXPECT_EQ(scene->engine()->in_use, 3);
    CRender::end(7);
    EXPECT_EQ(scene->engine()->in_use, 0);
    particles.releaseAll();
}

} // namespace
