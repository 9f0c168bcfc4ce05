#include "render/device_gl_arb.h"
#include "render/device_gl_fixed.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using State = Device_GL_arb::material_state;

// The passes of a technique from first to last.
template <class Dev>
std::vector<int> passes(int technique, const State& m)
{
    std::vector<int> out;
    for (int p = Dev::FirstPass(technique, m); p; p = Dev::NextPass(p, m))
        out.push_back(p);
    return out;
}

State material(bool diffuse, bool lightmap = false, bool selfillum = false, bool envmap = false,
               bool dudv = false, float alpha = 1.0f)
{
    State m;
    m.diffuse = diffuse;
    m.lightmap = lightmap;
    m.selfillum = selfillum;
    m.envmap = envmap;
    m.dudv = dudv;
    m.diffuse_alpha = alpha;
    return m;
}

TEST(ArbTables, TechniquesByNameAndEverythingElseIsTheMaterial)
{
    EXPECT_EQ(Device_GL_arb::TechniqueId("main2d_fill"), 20);
    EXPECT_EQ(Device_GL_arb::TechniqueId("main2d_composite"), 25);
    EXPECT_EQ(Device_GL_arb::TechniqueId("main2d_exp"), 28);
    EXPECT_EQ(Device_GL_arb::TechniqueId("alpha1add"), 31);
    EXPECT_EQ(Device_GL_arb::TechniqueId("alpha8"), 35);
    EXPECT_EQ(Device_GL_arb::TechniqueId("particle_dudv"), 45);
    EXPECT_EQ(Device_GL_arb::TechniqueId("shadowmap"), 50);
    EXPECT_EQ(Device_GL_arb::TechniqueId("main"), 30);
    EXPECT_EQ(Device_GL_arb::TechniqueId("Main2d"), 30);  // names are case-sensitive
    EXPECT_EQ(passes<Device_GL_arb>(28, State()), std::vector<int>{29});
    EXPECT_EQ(passes<Device_GL_arb>(24, State()), std::vector<int>{24});
    EXPECT_EQ(passes<Device_GL_arb>(43, State()), std::vector<int>{63});
    EXPECT_EQ(passes<Device_GL_arb>(50, State()), std::vector<int>{80});
}

TEST(ArbTables, MaterialPassesFollowItsTextures)
{
    EXPECT_EQ(passes<Device_GL_arb>(30, material(true)), std::vector<int>{31});
    EXPECT_EQ(passes<Device_GL_arb>(30, material(true, true, true, true)),
              (std::vector<int>{32, 40, 41}));
    EXPECT_EQ(passes<Device_GL_arb>(30, material(false, false, false, false, false, 0.5f)),
              std::vector<int>{31});
    // No diffuse texture and a transparent diffuse colour: only the additive layers.
    EXPECT_EQ(passes<Device_GL_arb>(30, material(false, false, true, true, false, 0.0f)),
              (std::vector<int>{40, 41}));
    EXPECT_EQ(passes<Device_GL_arb>(30, material(false, false, false, true, false, 0.0f)),
              std::vector<int>{41});
    EXPECT_TRUE(passes<Device_GL_arb>(30, material(false, true, false, false, false, 0.0f)).empty());
}

TEST(ArbTables, TransparentTechniquesWithDistortionAndLightmaps)
{
    EXPECT_EQ(passes<Device_GL_arb>(31, material(true)), std::vector<int>{33});
    EXPECT_EQ(passes<Device_GL_arb>(31, material(true, true)), std::vector<int>{35});
    EXPECT_EQ(passes<Device_GL_arb>(31, material(true, false, false, false, true)),
              (std::vector<int>{50, 33}));
    EXPECT_EQ(passes<Device_GL_arb>(31, material(true, true, true, false, true)),
              (std::vector<int>{50, 35, 40}));
    EXPECT_EQ(passes<Device_GL_arb>(35, material(true)), std::vector<int>{34});
    EXPECT_EQ(passes<Device_GL_arb>(35, material(false)), std::vector<int>{34});
    EXPECT_EQ(passes<Device_GL_arb>(35, material(true, false, true, true)),
              (std::vector<int>{37, 41}));
    EXPECT_EQ(passes<Device_GL_arb>(35, material(true, true)), std::vector<int>{36});
    EXPECT_EQ(passes<Device_GL_arb>(35, material(true, true, false, false, true)),
              (std::vector<int>{51, 36}));
}

TEST(ArbTables, ParameterIds)
{
    EXPECT_EQ(Device_GL_arb::ParameterId("diffuse"), 1);
    EXPECT_EQ(Device_GL_arb::ParameterId("selfillum"), 6);
    EXPECT_EQ(Device_GL_arb::ParameterId("shadowmap[3]"), 10);
    EXPECT_EQ(Device_GL_arb::ParameterId("texture_matrix_self"), 1029);
    EXPECT_EQ(Device_GL_arb::ParameterId("light_projective[2]"), 1032);
    EXPECT_EQ(Device_GL_arb::ParameterId("model_matrix"), 2048);
    EXPECT_EQ(Device_GL_arb::ParameterId("global_ambient"), -5);
    EXPECT_EQ(Device_GL_arb::ParameterId("WSlightpos[2]"), -24);
    EXPECT_EQ(Device_GL_arb::ParameterId("light_ambient[0]"), -32);
    EXPECT_EQ(Device_GL_arb::ParameterId("light_specular[1]"), -68);
    EXPECT_EQ(Device_GL_arb::ParameterId("decay_equation[3]"), -92);
    EXPECT_EQ(Device_GL_arb::ParameterId("fog_color"), -97);
    EXPECT_EQ(Device_GL_arb::ParameterId("specular_power"), -257);
    for (const char* unknown : {"WSeyepos", "texture_matrix_screenspace", "bones", "object_id",
                                "WSlightpos[4]", "WSlightpos[0]x", "projector[0]", ""})
        EXPECT_EQ(Device_GL_arb::ParameterId(unknown), 0) << unknown;
}

TEST(ArbTables, BuiltinProgramsExistWhereTheTableHasThem)
{
    for (int i = 0; i <= 10; ++i)
        EXPECT_EQ(Device_GL_arb::BuiltinProgram(0, i).compare(0, 10, "!!ARBfp1.0"), 0) << i;
    for (int i = 0; i <= 10; ++i) {
        bool none = i >= 7 && i <= 9;
        EXPECT_EQ(Device_GL_arb::BuiltinProgram(1, i).empty(), none) << i;
    }
    // The fogged set reads the fog parameters; the distortion of set 1 is not fogged.
    EXPECT_NE(Device_GL_arb::BuiltinProgram(1, 4).find("program.env[3]"), std::string::npos);
    EXPECT_EQ(Device_GL_arb::BuiltinProgram(1, 3).find("program.env[3]"), std::string::npos);
}

TEST(FixedTables, TwoDimensionalTechniques)
{
    EXPECT_EQ(passes<Device_GL_fixed>(Device_GL_fixed::TechniqueId("main2d_mul2"), State()),
              (std::vector<int>{24, 25}));
    EXPECT_EQ(passes<Device_GL_fixed>(Device_GL_fixed::TechniqueId("main2d_composite"), State()),
              std::vector<int>{26});
    EXPECT_EQ(passes<Device_GL_fixed>(Device_GL_fixed::TechniqueId("main2d"), State()),
              std::vector<int>{21});
    // Unsupported effects fall back to the material technique.
    EXPECT_EQ(Device_GL_fixed::TechniqueId("main2d_add_blur_x"), 30);
    EXPECT_EQ(Device_GL_fixed::TechniqueId("shadowmap"), 30);
}

TEST(FixedTables, MaterialLightmapIsASecondPass)
{
    EXPECT_EQ(passes<Device_GL_fixed>(30, material(true, true)), (std::vector<int>{31, 32}));
    EXPECT_EQ(passes<Device_GL_fixed>(30, material(true, true, true, true)),
              (std::vector<int>{31, 32, 40, 41}));
    EXPECT_EQ(passes<Device_GL_fixed>(31, material(true, true)), (std::vector<int>{33, 32}));
    EXPECT_EQ(passes<Device_GL_fixed>(35, material(true, true, true)),
              (std::vector<int>{34, 35, 40}));
    EXPECT_EQ(passes<Device_GL_fixed>(30, material(false, false, true, false, false, 0.0f)),
              std::vector<int>{40});
    EXPECT_TRUE(passes<Device_GL_fixed>(30, material(false, false, false, false, false, 0.0f))
                    .empty());
}

TEST(FixedTables, ParticlesAndNames)
{
    EXPECT_EQ(Device_GL_fixed::TechniqueId("particle_dudv"), 0);
    EXPECT_TRUE(passes<Device_GL_fixed>(0, material(true)).empty());
    EXPECT_EQ(passes<Device_GL_fixed>(Device_GL_fixed::TechniqueId("particle_mul2x"), State()),
              (std::vector<int>{63, 64}));
    EXPECT_EQ(passes<Device_GL_fixed>(Device_GL_fixed::TechniqueId("particle_comp"), State()),
              std::vector<int>{65});
    EXPECT_EQ(Device_GL_fixed::ParameterId("envmap"), 10);
    EXPECT_EQ(Device_GL_fixed::ParameterId("diffuse"), 1);
    EXPECT_EQ(Device_GL_fixed::ParameterId("lightmap"), 3);
    for (const char* none : {"dudv", "screen_background", "shadowmap[0]", "shadowmap[3]",
                             "texture_matrix_dudv", "light_projective[1]"})
        EXPECT_EQ(Device_GL_fixed::ParameterId(none), 0) << none;
    EXPECT_EQ(Device_GL_fixed::ParameterId("WSlightpos[1]"), -20);
}

} // namespace
