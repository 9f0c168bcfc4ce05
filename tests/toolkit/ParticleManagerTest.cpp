#include "toolkit/widgets/ParticleManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

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

} // namespace
