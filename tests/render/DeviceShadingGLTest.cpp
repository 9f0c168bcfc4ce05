#include "fixtures/GLTestWindow.h"
#include "fixtures/PngWriter.h"

#include "render/device_gl_arb.h"
#include "render/device_gl_fixed.h"
#include "render/object.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

const float kIdentity16[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
const float kIdentity12[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};

std::string tempFolder()
{
    char pattern[] = "/tmp/petpark-shaders-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir ? dir : "/tmp";
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// A 2 x 2 texture of one colour.
texture_t_opaque* solid(Device* dev, unsigned char r, unsigned char g, unsigned char b,
                        unsigned char a)
{
    unsigned char px[16];
    for (int i = 0; i < 4; ++i) {
        px[i * 4] = r;
        px[i * 4 + 1] = g;
        px[i * 4 + 2] = b;
        px[i * 4 + 3] = a;
    }
    return dev->CreateTexture(2, 2, 2, px, 1, nullptr);
}

// Draws a full-viewport textured quad through the named technique, as the 2D queue does.
void drawQuad(Device* dev, const char* technique, const char* sampler, texture_t_opaque* tex,
              const float* colour)
{
    struct V {
        float x, y, z, u, v;
    } quad[4] = {{-1, -1, 0, 0, 0}, {1, -1, 0, 1, 0}, {1, 1, 0, 1, 1}, {-1, 1, 0, 0, 1}};
    const int32_t idx[6] = {0, 1, 2, 2, 3, 0};
    Device::vertex_element el[2] = {
        {nullptr, uintptr_t(&quad[0].x), sizeof(V), Device::vt_float, 3, Device::vu_position, 0},
        {nullptr, uintptr_t(&quad[0].u), sizeof(V), Device::vt_float, 2, Device::vu_texcoord, 0},
    };
    dev->SetMatrix(kIdentity16, kIdentity12);
    dev->SetParam(dev->GetParameter("model_matrix"), kIdentity12);
    const float noFog[4] = {-1, 0, 0, 0};
    dev->SetParam(dev->GetParameter("fog"), noFog);
    dev->SetShaderFlags(nullptr, nullptr);
    dev->SetParam(dev->GetParameter("color"), colour);
    dev->SetParamTexture(dev->GetParameter(sampler), tex);
    technique_t_opaque* t = dev->GetTechnique(0, technique);
    for (int pass = dev->GetFirstPass(t); pass; pass = dev->GetNextPass(pass)) {
        dev->BeginPass(pass);
        dev->DrawFromMemory(Device::tri_list, idx, 32, 0, 6, el, 2, 0, 4);
        dev->EndPass(pass);
    }
}

class ShadingDevices : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        gl_test_device();
        arb = new Device_GL_arb("", "/nonexistent-shader-folder");
        arbOk = arb->Init();
        fixed = new Device_GL_fixed("");
        fixed->Init();
    }
    static void TearDownTestSuite()
    {
        delete arb;
        delete fixed;
        gl_test_device()->InitStates();
    }
    void SetUp() override
    {
        Device_GL* dev = gl_test_device();
        dev->SetTarget(nullptr);
    }

    static Device_GL_arb* arb;
    static bool arbOk;
    static Device_GL_fixed* fixed;
};

Device_GL_arb* ShadingDevices::arb = nullptr;
bool ShadingDevices::arbOk = false;
Device_GL_fixed* ShadingDevices::fixed = nullptr;

TEST_F(ShadingDevices, EveryBuiltinProgramCompiles)
{
    CaptureStderr();
    CaptureStdout();
    Device_GL_arb dev("", "/nonexistent-shader-folder");
    const bool ok = dev.Init();
    std::string out = GetCapturedStdout();
    std::string err = GetCapturedStderr();
    ASSERT_TRUE(ok) << "GL_ARB_fragment_program missing";
    EXPECT_EQ(err.find("Error compiling"), std::string::npos) << err;
    int loaded = 0;
    for (bool b : dev.program_loaded)
        loaded += b;
    EXPECT_EQ(loaded, 19);
    // Checked, but made only when a pass first binds them; a slot without a program binds
    // nothing.
    for (GLuint name : dev.programs)
        EXPECT_EQ(name, 0u);
    EXPECT_FALSE(dev.BindProgram(18));
    ASSERT_TRUE(dev.BindProgram(1));
    EXPECT_NE(dev.programs[1], 0u);
    EXPECT_TRUE(glIsProgramARB(dev.programs[1]));
    const GLuint made = dev.programs[1];
    EXPECT_TRUE(dev.BindProgram(1));
    EXPECT_EQ(dev.programs[1], made);
    EXPECT_EQ(dev.programs[0], 0u);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    glBindProgramARB(GL_FRAGMENT_PROGRAM_ARB, 0);
}

TEST_F(ShadingDevices, ProgramFilesReplaceBuiltinsAndBrokenOnesFallBack)
{
    const std::string dir = tempFolder();
    writeFile(dir + "/1_8.txt", "!!ARBfp1.0\nMOV result.color, fragment.color;\nEND\n");
    writeFile(dir + "/0_1.txt", "");
    writeFile(dir + "/0_2.txt", "!!ARBfp1.0\nthis is not a program\nEND\n");
    CaptureStderr();
    CaptureStdout();
    Device_GL_arb dev("", dir.c_str());
    const bool ok = dev.Init();
    std::string out = GetCapturedStdout();
    std::string err = GetCapturedStderr();
    ASSERT_TRUE(ok);
    EXPECT_NE(out.find(dir + "/1_8.txt\n"), std::string::npos) << out;
    EXPECT_TRUE(dev.program_loaded[11 + 8]);
    EXPECT_FALSE(dev.program_loaded[1]);  // an empty file leaves the slot without a program
    EXPECT_NE(err.find("Error compiling shader 2\n"), std::string::npos);
    EXPECT_TRUE(dev.program_loaded[2]);   // the built-in text took the broken file's place
    EXPECT_EQ(dev.program_text[2], Device_GL_arb::BuiltinProgram(0, 2));
    EXPECT_EQ(dev.program_text[11 + 8], "!!ARBfp1.0\nMOV result.color, fragment.color;\nEND\n");
    // Made later from the text that compiled.
    EXPECT_TRUE(dev.BindProgram(2));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    glBindProgramARB(GL_FRAGMENT_PROGRAM_ARB, 0);
    for (const char* f : {"/1_8.txt", "/0_1.txt", "/0_2.txt"})
        std::remove((dir + f).c_str());
    rmdir(dir.c_str());
}

TEST_F(ShadingDevices, TexturedQuadBlendsAlikeOnBothDevices)
{
    ASSERT_TRUE(arbOk);
    const float half[4] = {1, 1, 1, 0.5f};
    for (Device_GL* dev : {static_cast<Device_GL*>(arb), static_cast<Device_GL*>(fixed)}) {
        dev->InitStates();  // two devices share this window's context
        texture_t_opaque* red = solid(dev, 255, 0, 0, 255);
        dev->Clear(0, 0, 0, true, true);
        drawQuad(dev, "main2d", "diffuse", red, half);
        EXPECT_TRUE(near_rgba(read_pixel(128, 128), 128, 0, 0, 255, 4))
            << (dev == arb ? "arb" : "fixed");
        // Additive: the texture goes to "selfillum".
        dev->Clear(0, 0, 0.5f, true, true);
        const float white[4] = {1, 1, 1, 1};
        drawQuad(dev, "main2d_add", "selfillum", red, white);
        EXPECT_TRUE(near_rgba(read_pixel(40, 200), 255, 0, 128, 255, 4))
            << (dev == arb ? "arb" : "fixed");
        dev->ReleaseTexture(red);
        dev->SetParamTexture(dev->GetParameter("diffuse"), nullptr);
        dev->SetParamTexture(dev->GetParameter("selfillum"), nullptr);
    }
}

TEST_F(ShadingDevices, MultiplyTwiceDoublesTheFrameOnTheFixedDevice)
{
    // main2d_mul2: the frame times the texture, then the frame doubled by an untextured pass.
    fixed->InitStates();
    texture_t_opaque* grey = solid(fixed, 128, 128, 128, 255);
    fixed->Clear(0.5f, 0.25f, 0.0f, true, true);
    const float white[4] = {1, 1, 1, 1};
    drawQuad(fixed, "main2d_mul2", "diffuse", grey, white);
    Rgba got = read_pixel(128, 128);
    EXPECT_TRUE(near_rgba(got, 128, 64, 0, 255, 6)) << got.r << " " << got.g << " " << got.b;
    fixed->ReleaseTexture(grey);
    fixed->SetParamTexture(fixed->GetParameter("diffuse"), nullptr);
}

TEST_F(ShadingDevices, FogModeChoosesTheProgramSet)
{
    ASSERT_TRUE(arbOk);
    const float linear[4] = {0, 10, 100, 0};
    const float none[4] = {-1, 0, 0, 0};
    arb->SetParam(arb->GetParameter("fog"), linear);
    EXPECT_EQ(arb->fog_set, 1);
    arb->SetParam(arb->GetParameter("fog"), none);
    EXPECT_EQ(arb->fog_set, 0);

    fixed->SetParam(fixed->GetParameter("fog"), linear);
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    const float exp3[4] = {3, 10, 100, 0};
    fixed->SetParam(fixed->GetParameter("fog"), exp3);
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    const float exp1[4] = {1, 10, 100, 0};
    fixed->SetParam(fixed->GetParameter("fog"), exp1);
    float density = 0;
    glGetFloatv(GL_FOG_DENSITY, &density);
    EXPECT_NEAR(density, 5.5451775f / 110.0f, 1e-6f);
    fixed->SetParam(fixed->GetParameter("fog"), none);
    EXPECT_FALSE(glIsEnabled(GL_FOG));
}

TEST_F(ShadingDevices, UnknownParametersAndTexturelessRecordsChangeNothing)
{
    ASSERT_TRUE(arbOk);
    EXPECT_EQ(arb->GetParameter("WSeyepos"), nullptr);
    const float c[4] = {0.1f, 0.2f, 0.3f, 0.4f};
    arb->SetParam(nullptr, c);
    EXPECT_FLOAT_EQ(arb->color[0], 1.0f);
    texture_t_opaque* tex = solid(arb, 1, 2, 3, 4);
    arb->SetParamTexture(arb->GetParameter("lightmap"), tex);
    EXPECT_TRUE(arb->has_lightmap);
    // A depth renderbuffer has no GL texture: it clears the slot.
    texture_t_opaque* rb = arb->CreateTexture(130, 4, 4, nullptr, 1, nullptr);
    arb->SetParamTexture(arb->GetParameter("lightmap"), rb);
    EXPECT_FALSE(arb->has_lightmap);
    EXPECT_EQ(arb->samplers[2], nullptr);
    arb->SetParamTexture(nullptr, tex);
    arb->ReleaseTexture(tex);
    arb->ReleaseTexture(rb);
}

TEST_F(ShadingDevices, MaterialWithoutDiffuseOrLayersDrawsNothing)
{
    ASSERT_TRUE(arbOk);
    const float clear[4] = {0, 0, 0, 0};
    arb->SetParam(arb->GetParameter("color_diffuse"), clear);
    for (const char* s : {"diffuse", "selfillum", "envmap", "lightmap"})
        arb->SetParamTexture(arb->GetParameter(s), nullptr);
    EXPECT_EQ(arb->GetFirstPass(arb->GetTechnique(0, "main")), 0);
    const float opaque[4] = {1, 1, 1, 1};
    arb->SetParam(arb->GetParameter("color_diffuse"), opaque);
    EXPECT_EQ(arb->GetFirstPass(arb->GetTechnique(0, "main")), 31);
}

TEST_F(ShadingDevices, ShaderFlagsChooseLightsAndDistortion)
{
    ASSERT_TRUE(arbOk);
    static const char* const names[] = {"DIFFUSEMAP", "LIGHTMAP", "DUDV", "LIGHT0",
                                        "LIGHT0_SHADOW", "LIGHT1", "LIGHT2", "VCOLOR", nullptr};
    const int values[] = {1, 0, 1, 1, 0, 0, 1, 1};
    arb->SetShaderFlags(names, values);
    EXPECT_TRUE(arb->lights[0].on);
    EXPECT_FALSE(arb->lights[1].on);
    EXPECT_TRUE(arb->lights[2].on);
    EXPECT_TRUE(arb->dudv);
    EXPECT_TRUE(arb->vertex_colour);
    EXPECT_EQ(arb->light_mask, 1 | 4);
    arb->SetShaderFlags(nullptr, nullptr);
    EXPECT_FALSE(arb->vertex_colour);
    // Another table has its own positions.
    static const char* const other[] = {"LIGHT1", "LIGHT0", nullptr};
    const int two[] = {0, 1};
    arb->SetShaderFlags(other, two);
    EXPECT_TRUE(arb->lights[0].on);
    EXPECT_FALSE(arb->lights[1].on);
    EXPECT_FALSE(arb->lights[2].on);
    EXPECT_FALSE(arb->dudv);
}

TEST_F(ShadingDevices, LightPositionsAreGivenInWorldSpace)
{
    // The view moves the world 5 units away; GL stores light positions in eye space.
    const float view[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, -5};
    const float pos[3] = {1, 2, 3};
    for (Device_GL* dev : {static_cast<Device_GL*>(fixed), static_cast<Device_GL*>(arb)}) {
        dev->SetMatrix(kIdentity16, view);
        const float model[12] = {2, 0, 0, 7, 0, 2, 0, 7, 0, 0, 2, 7};
        dev->SetParam(dev->GetParameter("model_matrix"), model);
        dev->SetParam(dev->GetParameter("WSlightpos[1]"), pos);
        float eye[4] = {};
        glGetLightfv(GL_LIGHT1, GL_POSITION, eye);
        EXPECT_FLOAT_EQ(eye[0], 1.0f);
        EXPECT_FLOAT_EQ(eye[1], 2.0f);
        EXPECT_FLOAT_EQ(eye[2], -2.0f);
        EXPECT_FLOAT_EQ(eye[3], 1.0f);
    }
}

TEST_F(ShadingDevices, LitVertexColouredMeshKeepsItsColoursOnBothDevices)
{
    ASSERT_TRUE(arbOk);
    // A red-vertex quad facing a white light, with a white material: the vertex colours must
    // give the lit diffuse colour, not the material's white.
    struct V {
        float x, y, z, nx, ny, nz, r, g, b, a;
    } quad[4] = {{-1, -1, 0, 0, 0, 1, 1, 0, 0, 1},
                 {1, -1, 0, 0, 0, 1, 1, 0, 0, 1},
                 {1, 1, 0, 0, 0, 1, 1, 0, 0, 1},
                 {-1, 1, 0, 0, 0, 1, 1, 0, 0, 1}};
    // Both windings, so that culling keeps one.
    const int32_t idx[12] = {0, 1, 2, 2, 3, 0, 0, 2, 1, 0, 3, 2};
    Device::vertex_element el[3] = {
        {nullptr, uintptr_t(&quad[0].x), sizeof(V), Device::vt_float, 3, Device::vu_position, 0},
        {nullptr, uintptr_t(&quad[0].nx), sizeof(V), Device::vt_float, 3, Device::vu_normal, 0},
        {nullptr, uintptr_t(&quad[0].r), sizeof(V), Device::vt_float, 4, Device::vu_color, 0},
    };
    static const char* const names[] = {"LIGHT0", "VCOLOR", nullptr};
    const int values[] = {1, 1};
    const float white[4] = {1, 1, 1, 1};
    const float black[4] = {0, 0, 0, 1};
    const float noFog[4] = {-1, 0, 0, 0};
    const float lightPos[4] = {0, 0, 1, 1};
    const float decay[4] = {1, 0, 0, 0};
    // The fixed device first: the programmable one leaves colour tracking switched on.
    for (Device_GL* dev : {static_cast<Device_GL*>(fixed), static_cast<Device_GL*>(arb)}) {
        const char* name = dev == arb ? "arb" : "fixed";
        dev->InitStates();  // two devices share this window's context
        dev->Clear(0, 0, 0, true, true);
        dev->SetMatrix(kIdentity16, kIdentity12);
        dev->SetParam(dev->GetParameter("model_matrix"), kIdentity12);
        dev->SetParam(dev->GetParameter("fog"), noFog);
        for (const char* sampler : {"diffuse", "selfillum", "envmap", "lightmap"})
            dev->SetParamTexture(dev->GetParameter(sampler), nullptr);
        dev->SetParam(dev->GetParameter("color"), white);
        dev->SetParam(dev->GetParameter("color_diffuse"), white);
        dev->SetParam(dev->GetParameter("color_ambient"), black);
        dev->SetParam(dev->GetParameter("color_specular"), black);
        dev->SetParam(dev->GetParameter("global_ambient"), black);
        dev->SetParam(dev->GetParameter("WSlightpos[0]"), lightPos);
        dev->SetParam(dev->GetParameter("light_ambient[0]"), black);
        dev->SetParam(dev->GetParameter("light_diffuse[0]"), white);
        dev->SetParam(dev->GetParameter("light_specular[0]"), black);
        dev->SetParam(dev->GetParameter("decay_equation[0]"), decay);
        dev->SetShaderFlags(names, values);
        technique_t_opaque* t = dev->GetTechnique(0, "main");
        int passes = 0;
        for (int pass = dev->GetFirstPass(t); pass; pass = dev->GetNextPass(pass)) {
            dev->BeginPass(pass);
            dev->DrawFromMemory(Device::tri_list, idx, 32, 0, 12, el, 3, 0, 4);
            dev->EndPass(pass);
            ++passes;
        }
        EXPECT_GT(passes, 0) << name;
        const Rgba px = read_pixel(128, 128);
        EXPECT_GT(px.r, 100) << name << " " << px.r << "," << px.g << "," << px.b;
        EXPECT_LT(px.g, 20) << name << " " << px.r << "," << px.g << "," << px.b;
        EXPECT_LT(px.b, 20) << name;
        dev->SetShaderFlags(nullptr, nullptr);
    }
}

// "strict_depth" on: a 3D pass does not draw over a surface at the same depth; off: it does.
TEST_F(ShadingDevices, StrictDepthKeepsWhatLiesAtEqualDepth)
{
    ASSERT_TRUE(arbOk);
    const float white[4] = {1, 1, 1, 1};
    const float on[4] = {1, 0, 0, 0}, off[4] = {0, 0, 0, 0};
    for (Device_GL* dev : {static_cast<Device_GL*>(fixed), static_cast<Device_GL*>(arb)}) {
        const char* name = dev == arb ? "arb" : "fixed";
        dev->InitStates();  // two devices share this window's context
        dev->Clear(0, 0, 0, true, true);
        texture_t_opaque* red = solid(dev, 255, 0, 0, 255);
        texture_t_opaque* green = solid(dev, 0, 255, 0, 255);
        parameter_t_opaque* strict = dev->GetParameter("strict_depth");
        ASSERT_NE(strict, nullptr) << name;
        const float unlit[4] = {1, 1, 1, 1};
        dev->SetParam(dev->GetParameter("global_ambient"), unlit);
        dev->SetParam(dev->GetParameter("color_diffuse"), white);
        dev->SetParam(dev->GetParameter("color_ambient"), white);
        drawQuad(dev, "main", "diffuse", red, white);
        dev->SetParam(strict, on);
        drawQuad(dev, "main", "diffuse", green, white);
        const Rgba kept = read_pixel(128, 128);
        EXPECT_TRUE(kept.r > 100 && kept.g < 20) << name << " " << kept.r << "," << kept.g;
        dev->SetParam(strict, off);
        drawQuad(dev, "main", "diffuse", green, white);
        const Rgba over = read_pixel(128, 128);
        EXPECT_TRUE(over.g > 100 && over.r < 20) << name << " " << over.r << "," << over.g;
        dev->ReleaseTexture(red);
        dev->ReleaseTexture(green);
    }
}

// An 8 x 8 picture, rows bottom first as GL keeps them: the bottom half red on the left and
// green on the right, the top half blue and white.
std::vector<unsigned char> quadrants()
{
    std::vector<unsigned char> px(8 * 8 * 4);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            unsigned char* p = &px[size_t(y * 8 + x) * 4];
            const bool right = x >= 4, top = y >= 4;
            p[0] = top == right ? 255 : 0;
            p[1] = right ? 255 : 0;
            p[2] = top ? 255 : 0;
            p[3] = 255;
        }
    return px;
}

TEST_F(ShadingDevices, AnimatedTextureMatricesShiftAndScaleAboutTheCentre)
{
    ASSERT_TRUE(arbOk);
    const float white[4] = {1, 1, 1, 1};
    // Rows top first for the DDS file: the picture upside down in GL's row order.
    std::vector<unsigned char> px = quadrants(), topFirst;
    for (int y = 7; y >= 0; --y)
        topFirst.insert(topFirst.end(), px.begin() + y * 32, px.begin() + y * 32 + 32);
    const std::vector<unsigned char> dds = make_dds32(8, 8, topFirst.data());
    // A transform and two probes (x, y, expected RGB) of the drawn quad.
    struct Probe {
        int x, y, r, g, b;
    };
    const struct {
        const char* what;
        float uoff, voff, uscl;
        Probe a, b;
    } cases[] = {
        {"no animation", 0, 0, 1, {60, 60, 255, 0, 0}, {200, 200, 255, 255, 255}},
        // The left colours move over the whole quad.
        {"u offset 0.5", 0.5f, 0, 1, {200, 60, 255, 0, 0}, {200, 200, 0, 0, 255}},
        // The bottom colours reach above the middle.
        {"v offset 0.25", 0, 0.25f, 1, {60, 165, 255, 0, 0}, {60, 240, 0, 0, 255}},
        // About the centre: u = 0.39 reads 0.28 (left), u = 0.59 reads 0.67 (right).
        {"u scale 2", 0, 0, 2, {100, 30, 255, 0, 0}, {150, 30, 0, 255, 0}},
    };
    for (Device_GL* dev : {static_cast<Device_GL*>(arb), static_cast<Device_GL*>(fixed)}) {
        dev->InitStates();
        texture_t_opaque* plain = dev->CreateTexture(2, 8, 8, px.data(), 1, nullptr);
        testing::internal::CaptureStdout();
        texture_t_opaque* flipped = dev->LoadTexture(dds.data(), int(dds.size()), 1);
        testing::internal::GetCapturedStdout();
        ASSERT_NE(flipped, nullptr);
        ASSERT_EQ(static_cast<Device_GL::texture_record*>(flipped)->flipped, 1);
        parameter_t_opaque* slot = dev->GetParameter("texture_matrix_dif");
        for (texture_t_opaque* tex : {plain, flipped})
            for (const auto& c : cases) {
                const std::string what = std::string(dev == arb ? "arb " : "fixed ") +
                                         (tex == flipped ? "dds " : "plain ") + c.what;
                Object::Texture animated;
                animated.uoff = {c.uoff};
                animated.voff = {c.voff};
                animated.uscl = {c.uscl};
                float m[16];
                animated.get_matrix(0, m);
                dev->SetParam(slot, m);
                dev->Clear(0, 0, 0, true, true);
                drawQuad(dev, "main2d", "diffuse", tex, white);
                for (const Probe& p : {c.a, c.b})
                    EXPECT_TRUE(near_rgba(read_pixel(p.x, p.y), p.r, p.g, p.b, 255, 8)) << what;
            }
        float identity[16];
        Object::Texture().get_matrix(0, identity);
        dev->SetParam(slot, identity);
        dev->SetParamTexture(dev->GetParameter("diffuse"), nullptr);
        dev->ReleaseTexture(plain);
        dev->ReleaseTexture(flipped);
    }
}

} // namespace

// Whether a call the device's state cache makes would leave GL as it is, read back from GL.
bool leavesStateAsItIs(GLStateCache::Call call, unsigned what, const float* values)
{
    GLint i = 0;
    GLboolean b = GL_FALSE;
    float now[16] = {};
    switch (call) {
    case GLStateCache::call_enable: return glIsEnabled(what) == GL_TRUE;
    case GLStateCache::call_disable: return glIsEnabled(what) == GL_FALSE;
    case GLStateCache::call_active_texture:
        glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &i);
        return GLenum(i) == GL_TEXTURE0_ARB + what;
    case GLStateCache::call_depth_mask:
        glGetBooleanv(GL_DEPTH_WRITEMASK, &b);
        return (b == GL_TRUE) == (what != 0);
    case GLStateCache::call_matrix_mode: glGetIntegerv(GL_MATRIX_MODE, &i); return GLenum(i) == what;
    case GLStateCache::call_load_matrix:
        glGetFloatv(what == GL_MODELVIEW ? GL_MODELVIEW_MATRIX
                    : what == GL_PROJECTION ? GL_PROJECTION_MATRIX : GL_TEXTURE_MATRIX, now);
        return std::memcmp(now, values, sizeof now) == 0;
    case GLStateCache::call_material: {
        const int n = what == GL_SHININESS ? 1 : 4;
        glGetMaterialfv(GL_FRONT, what, now);
        bool same = std::memcmp(now, values, size_t(n) * sizeof(float)) == 0;
        if (what == GL_DIFFUSE) {  // set on both faces
            glGetMaterialfv(GL_BACK, what, now);
            same = same && std::memcmp(now, values, 4 * sizeof(float)) == 0;
        }
        return same;
    }
    }
    return false;
}

TEST_F(ShadingDevices, RepeatedDrawMakesNoCallThatLeavesTheStateAsItIs)
{
    ASSERT_TRUE(arbOk);
    // A lit, textured quad drawn through the 3D technique, then a blended 2D quad, twice over:
    // the second round may only make calls that change GL's state, and draws the same picture.
    struct V {
        float x, y, z, nx, ny, nz, u, v;
    } quad[4] = {{-1, -1, 0, 0, 0, 1, 0, 0}, {1, -1, 0, 0, 0, 1, 1, 0}, {1, 1, 0, 0, 0, 1, 1, 1},
                 {-1, 1, 0, 0, 0, 1, 0, 1}};
    const int32_t idx[12] = {0, 1, 2, 2, 3, 0, 0, 2, 1, 0, 3, 2};
    Device::vertex_element el[3] = {
        {nullptr, uintptr_t(&quad[0].x), sizeof(V), Device::vt_float, 3, Device::vu_position, 0},
        {nullptr, uintptr_t(&quad[0].nx), sizeof(V), Device::vt_float, 3, Device::vu_normal, 0},
        {nullptr, uintptr_t(&quad[0].u), sizeof(V), Device::vt_float, 2, Device::vu_texcoord, 0},
    };
    static const char* const names[] = {"LIGHT0", nullptr};
    const int values[] = {1};
    const float white[4] = {1, 1, 1, 1}, half[4] = {1, 1, 1, 0.5f}, grey[4] = {0.3f, 0.3f, 0.3f, 1};
    const float black[4] = {0, 0, 0, 1}, noFog[4] = {-1, 0, 0, 0};
    const float lightPos[4] = {0, 0, 1, 1}, decay[4] = {1, 0, 0, 0}, power[4] = {20, 0, 0, 0};
    for (Device_GL* dev : {static_cast<Device_GL*>(fixed), static_cast<Device_GL*>(arb)}) {
        const char* name = dev == arb ? "arb" : "fixed";
        dev->InitStates();  // two devices share this window's context
        texture_t_opaque* green = solid(dev, 0, 200, 0, 255);
        texture_t_opaque* red = solid(dev, 255, 0, 0, 255);
        int calls[2] = {0, 0};
        Rgba lit[2] = {}, blended[2] = {};
        std::vector<std::string> redundant;
        for (int round = 0; round < 2; ++round) {
            dev->gl_state.observer = [&](GLStateCache::Call call, unsigned what, const float* v) {
                ++calls[round];
                if (round == 1 && leavesStateAsItIs(call, what, v))
                    redundant.push_back(std::to_string(int(call)) + ":" + std::to_string(what));
            };
            dev->Clear(0, 0, 0, true, true);
            dev->SetMatrix(kIdentity16, kIdentity12);
            dev->SetParam(dev->GetParameter("model_matrix"), kIdentity12);
            dev->SetParam(dev->GetParameter("fog"), noFog);
            dev->SetParamTexture(dev->GetParameter("diffuse"), green);
            dev->SetParam(dev->GetParameter("color"), white);
            dev->SetParam(dev->GetParameter("color_diffuse"), white);
            dev->SetParam(dev->GetParameter("color_ambient"), grey);
            dev->SetParam(dev->GetParameter("color_specular"), black);
            dev->SetParam(dev->GetParameter("specular_power"), power);
            dev->SetParam(dev->GetParameter("global_ambient"), black);
            dev->SetParam(dev->GetParameter("WSlightpos[0]"), lightPos);
            dev->SetParam(dev->GetParameter("light_ambient[0]"), black);
            dev->SetParam(dev->GetParameter("light_diffuse[0]"), white);
            dev->SetParam(dev->GetParameter("light_specular[0]"), black);
            dev->SetParam(dev->GetParameter("decay_equation[0]"), decay);
            dev->SetShaderFlags(names, values);
            technique_t_opaque* t = dev->GetTechnique(0, "main");
            for (int pass = dev->GetFirstPass(t); pass; pass = dev->GetNextPass(pass)) {
                dev->BeginPass(pass);
                dev->DrawFromMemory(Device::tri_list, idx, 32, 0, 12, el, 3, 0, 4);
                dev->EndPass(pass);
            }
            lit[round] = read_pixel(128, 128);
            dev->SetShaderFlags(nullptr, nullptr);
            drawQuad(dev, "main2d", "diffuse", red, half);
            blended[round] = read_pixel(128, 128);
        }
        dev->gl_state.observer = nullptr;
        std::string list;
        for (const std::string& r : redundant)
            list += r + " ";
        EXPECT_TRUE(redundant.empty()) << name << ": " << list;
        EXPECT_LT(calls[1], calls[0]) << name;
        EXPECT_TRUE(near_rgba(lit[1], lit[0].r, lit[0].g, lit[0].b, lit[0].a, 0)) << name;
        EXPECT_GT(lit[0].g, 100) << name;
        EXPECT_TRUE(near_rgba(blended[1], blended[0].r, blended[0].g, blended[0].b, blended[0].a, 0)) << name;
        EXPECT_GT(blended[0].r, 100) << name;
        dev->SetParamTexture(dev->GetParameter("diffuse"), nullptr);
        dev->ReleaseTexture(green);
        dev->ReleaseTexture(red);
    }
}
