// The programmable device.
//
// Sections: built-in programs - name tables - pass tables - construction and Init - state
// changes (targets, flags, parameters) - passes.

#include "render/device_gl_arb.h"

#include "core/Assert.h"
#include "core/platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

// ---- built-in programs
// Bodies write to OUT; set 1 writes to a temporary and fogs it at the end.

const char* const kBodies[11] = {
    // 0: colour
    "MOV OUT, fragment.color;\n",
    // 1: texture x colour
    "TEMP t;\nTEX t, fragment.texcoord[0], texture[0], 2D;\nMUL OUT, t, fragment.color;\n",
    // 2: texture
    "TEX OUT, fragment.texcoord[0], texture[0], 2D;\n",
    // 3: distortion (written separately below)
    nullptr,
    // 4: diffuse x colour, lit by a lightmap on unit 1 (x2)
    "TEMP a,l;\nTEX a, fragment.texcoord[0], texture[0], 2D;\nMUL a, a, fragment.color;\n"
    "TEX l, fragment.texcoord[1], texture[1], 2D;\nMUL l.xyz, l, a;\nADD OUT.xyz, l, l;\n"
    "MOV OUT.w, a.w;\n",
    // 5: texture x colour x2, alpha from the colour
    "TEMP t;\nTEX t, fragment.texcoord[0], texture[0], 2D;\nMUL t.xyz, t, fragment.color;\n"
    "ADD OUT.xyz, t, t;\nMOV OUT.w, fragment.color.w;\n",
    // 6: diffuse premultiplied plus self-illumination scaled by the colour's alpha
    "TEMP a,s;\nTEX a, fragment.texcoord[0], texture[0], 2D;\nMUL a, a, fragment.color;\n"
    "TEX s, fragment.texcoord[0], texture[1], 2D;\nMUL s.xyz, s, fragment.color.w;\n"
    "MAD OUT.xyz, a, a.w, s;\nMOV OUT.w, a.w;\n",
    // 7, 8: blurs (written separately below)
    nullptr,
    nullptr,
    // 9: exposure
    "TEMP t;\nTEX t, fragment.texcoord[0], texture[0], 2D;\nMUL OUT, t, 10.0;\n",
    // 10: particle mul2x
    "TEMP t,k;\nTEX t, fragment.texcoord[0], texture[0], 2D;\nMUL t, t, fragment.color;\n"
    "SUB k, 1.0, fragment.color.w;\nMUL k, k, 0.5;\nMAD OUT, t, 2.0, k;\n",
};

const char* const kFogHead =
    "PARAM fogc=program.env[2];\nPARAM fogp=program.env[3];\nTEMP c,f;\n";
const char* const kFogTail =
    "RCP f.x, fragment.position.w;\nSUB f.x, f.x, fogp.y;\nSUB f.y, fogp.z, fogp.y;\n"
    "RCP f.y, f.y;\nMUL_SAT f.x, f.x, f.y;\nLRP result.color.xyz, f.x, fogc, c;\n"
    "MOV result.color.w, c.w;\n";

std::string replaceAll(std::string s, const std::string& from, const std::string& to)
{
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
    return s;
}

std::string blurProgram(const char* axis, const char* size)
{
    static const struct {
        const char* k;
        const char* w;
    } taps[7] = {{"-3.5", "w.x"}, {"-2.5", "w.y"}, {"-1.5", "w.z"}, {"0.5", "w.w"},
                 {"1.5", "w.z"},  {"2.5", "w.y"},  {"3.5", "w.x"}};
    std::string s = "!!ARBfp1.0\nPARAM bg=program.env[1];\nPARAM w={0.1,0.3,0.5,1.0};\n"
                    "TEMP st,o,t,acc;\n";
    s += std::string("RCP st.x, bg.") + size + ";\nMUL st.x, st.x, 8.0;\n"
         "MOV o, fragment.texcoord[0];\n";
    for (int i = 0; i < 7; ++i) {
        s += std::string("MAD o.") + axis + ", st.x, " + taps[i].k + ", fragment.texcoord[0]." +
             axis + ";\nTEX t, o, texture[0], 2D;\n";
        s += i == 0 ? std::string("MUL acc, t, w.x;\n")
                    : std::string("MAD acc, t, ") + taps[i].w + ", acc;\n";
    }
    s += "MUL acc, acc, fragment.color;\nMUL result.color, acc, 0.5;\nEND\n";
    return s;
}

// ---- name tables

struct NamedId {
    const char* name;
    int id;
};

const NamedId kTechniques[] = {
    {"main2d_fill", 20},       {"main2d", 21},           {"main2d_add", 22},
    {"main2d_mul", 23},        {"main2d_mul2", 24},      {"main2d_composite", 25},
    {"main2d_add_blur_x", 26}, {"main2d_add_blur_y", 27}, {"main2d_exp", 28},
    {"alpha1", 31},            {"alpha1add", 31},        {"alpha8", 35},
    {"alpha8add", 35},         {"particle_alpha", 40},   {"particle_add", 41},
    {"particle_mul", 42},      {"particle_mul2x", 43},   {"particle_comp", 44},
    {"particle_dudv", 45},     {"shadowmap", 50},
};

const NamedId kParameters[] = {
    {"diffuse", 1},
    {"dudv", 2},
    {"lightmap", 3},
    {"screen_background", 4},
    {"envmap", 5},
    {"selfillum", 6},
    {"shadowmap[0]", 7},
    {"shadowmap[1]", 8},
    {"shadowmap[2]", 9},
    {"shadowmap[3]", 10},
    {"texture_matrix_dif", 1024},
    {"texture_matrix_dudv", 1025},
    {"texture_matrix_light", 1026},
    {"texture_matrix_self", 1029},
    {"light_projective[0]", 1030},
    {"light_projective[1]", 1031},
    {"light_projective[2]", 1032},
    {"light_projective[3]", 1033},
    {"model_matrix", 2048},
    {"color", -1},
    {"color_diffuse", -2},
    {"color_ambient", -3},
    {"color_specular", -4},
    {"global_ambient", -5},
    {"fog", -96},
    {"fog_color", -97},
    {"specular_level", -256},
    {"specular_power", -257},
    {"strict_depth", -300},
    {"submit", -301},
};

// Per-light parameter names and their id bases: id = base - 4 * light.
const NamedId kLightParameters[] = {
    {"WSlightpos", -16}, {"light_ambient", -32}, {"light_diffuse", -48},
    {"light_specular", -64}, {"decay_equation", -80},
};

// Sampler slots.
enum { kDiffuse = 0, kDudv = 1, kLightmap = 2, kBackground = 3, kEnvmap = 4, kSelfillum = 5 };

// ---- pass tables

struct PassInfo {
    int pass;
    int unit0;       // sampler slot, -1 none
    int unit1;
    int program;     // program index; -1 = "1 with a texture on unit 0, else 0"; -2 = "4, or 5
                     // without a diffuse texture"
    bool set0;       // program always from set 0
    GLenum src, dst; // blend; src 0 = off
    GLenum alpha;    // alpha test function, 0 = off
    float ref;
    int depth_write; // 1 on, 0 off, -1 untouched
};

const PassInfo kPasses[] = {
    {20, kDiffuse, -1, 1, false, 0, 0, 0, 0, -1},
    {21, kDiffuse, -1, 1, false, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_GREATER, 0.0f, -1},
    {22, kSelfillum, -1, 1, false, GL_ONE, GL_ONE, 0, 0, -1},
    {23, kDiffuse, -1, 1, false, GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA, 0, 0, -1},
    {24, kDiffuse, -1, 1, false, GL_DST_COLOR, GL_SRC_COLOR, 0, 0, -1},
    {25, kDiffuse, -1, 1, false, GL_ONE, GL_ONE_MINUS_SRC_ALPHA, 0, 0, -1},
    {26, kSelfillum, -1, 7, true, GL_ONE, GL_ONE, 0, 0, -1},
    {27, kSelfillum, -1, 8, true, GL_ONE, GL_ONE, 0, 0, -1},
    {29, kDiffuse, -1, 9, true, GL_ONE, GL_ONE, 0, 0, -1},
    {31, kDiffuse, -1, -1, false, 0, 0, 0, 0, 1},
    {32, kDiffuse, kLightmap, -2, false, 0, 0, 0, 0, 1},
    {33, kDiffuse, -1, -1, false, 0, 0, GL_GREATER, 0.5f, 1},
    {34, kDiffuse, -1, -1, false, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_GREATER, 0.0f, 0},
    {35, kDiffuse, kLightmap, -2, false, 0, 0, GL_GREATER, 0.5f, 1},
    {36, kDiffuse, kLightmap, -2, false, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_GREATER, 0.0f, 0},
    {37, kDiffuse, kSelfillum, 6, false, GL_ONE, GL_ONE_MINUS_SRC_ALPHA, 0, 0, 0},
    {40, kSelfillum, -1, -1, false, GL_ONE, GL_ONE, 0, 0, 0},
    {41, kEnvmap, -1, -1, false, GL_ONE, GL_ONE, 0, 0, 0},
    {50, kDudv, kBackground, 3, false, 0, 0, 0, 0, 1},
    {51, kDudv, kBackground, 3, false, 0, 0, 0, 0, 1},
    {60, kDiffuse, -1, 1, false, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, 0, 0, 0},
    {61, kDiffuse, -1, 1, false, GL_ONE, GL_ONE, 0, 0, 0},
    {62, kDiffuse, -1, 1, false, GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA, 0, 0, 0},
    {63, kDiffuse, -1, 10, false, GL_DST_COLOR, GL_SRC_COLOR, 0, 0, 0},
    {64, kDiffuse, -1, 1, false, GL_ONE, GL_ONE_MINUS_SRC_ALPHA, 0, 0, 0},
    {65, kDiffuse, kBackground, 3, false, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, 0, 0, 0},
    {80, -1, -1, 0, true, 0, 0, 0, 0, 1},
};

const PassInfo* passInfo(int pass)
{
    for (const PassInfo& p : kPasses)
        if (p.pass == pass)
            return &p;
    return nullptr;
}

// Flag positions in the renderer's material flag table, found once per table (a table read
// with another's positions would give wrong switches or read past its values).
struct FlagPositions {
    const char* const* table = nullptr;
    int light[4] = {-1, -1, -1, -1};
    int shadow[4] = {-1, -1, -1, -1};
    int dudv = -1;
    int vcolor = -1;
};
FlagPositions flagPositions;

int flagValue(const int* values, int position)
{
    return position >= 0 ? values[position] : 0;
}

void setEnv(int index, const float* v)
{
    if (GLEW_ARB_fragment_program)
        glProgramEnvParameter4fvARB(GL_FRAGMENT_PROGRAM_ARB, GLuint(index), v);
}

const float kIdentity16[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

} // namespace

// ---- tables (public)

std::string Device_GL_arb::BuiltinProgram(int set, int index)
{
    if (index < 0 || index > 10 || set < 0 || set > 1)
        return std::string();
    if (index == 3) {
        std::string s =
            "!!ARBfp1.0\nPARAM vp=program.env[0];\nPARAM bg=program.env[1];\nTEMP n,s,r;\n"
            "TEX n, fragment.texcoord[0], texture[0], 2D;\nSUB n.xy, n.zyzy, 0.5;\n"
            "MUL n.xy, n, 0.1;\nSUB s.xy, fragment.position, vp;\nRCP r.x, bg.x;\n"
            "RCP r.y, bg.y;\nMAD s.xy, s, r, n;\n";
        s += set == 0 ? "TEX r, s, texture[1], 2D;\nMUL result.color, r, fragment.color;\n"
                      : "TEX result.color, s, texture[1], 2D;\n";
        return s + "END\n";
    }
    if (index == 7 || index == 8 || index == 9) {
        if (set == 1)
            return std::string();
        if (index == 7)
            return blurProgram("x", "x");
        if (index == 8)
            return blurProgram("y", "y");
    }
    if (set == 0)
        return "!!ARBfp1.0\n" + replaceAll(kBodies[index], "OUT", "result.color") + "END\n";
    return std::string("!!ARBfp1.0\n") + kFogHead + replaceAll(kBodies[index], "OUT", "c") +
           kFogTail + "END\n";
}

int Device_GL_arb::TechniqueId(const char* name)
{
    if (name)
        for (const NamedId& t : kTechniques)
            if (std::strcmp(t.name, name) == 0)
                return t.id;
    return 30;
}

int Device_GL_arb::FirstPass(int technique, const material_state& m)
{
    switch (technique) {
    case 20: case 21: case 22: case 23: case 24: case 25: case 26: case 27:
        return technique;
    case 28:
        return 29;
    case 30:
        if (m.diffuse || m.diffuse_alpha > 0)
            return m.lightmap ? 32 : 31;
        return m.selfillum ? 40 : m.envmap ? 41 : 0;
    case 31:
        return m.dudv ? 50 : m.lightmap ? 35 : 33;
    case 35:
        if (m.dudv)
            return 51;
        if (m.lightmap)
            return 36;
        if (!m.diffuse)
            return 34;
        return m.selfillum ? 37 : 34;
    case 40: case 41: case 42: case 43: case 44: case 45:
        return technique + 20;
    case 50:
        return 80;
    default:
        return 0;
    }
}

int Device_GL_arb::NextPass(int pass, const material_state& m)
{
    if (pass >= 31 && pass <= 36)
        return m.selfillum ? 40 : m.envmap ? 41 : 0;
    if (pass == 37 || pass == 40)
        return m.envmap ? 41 : 0;
    if (pass == 50)
        return m.lightmap ? 35 : 33;
    if (pass == 51)
        return m.lightmap ? 36 : 34;
    return 0;
}

int Device_GL_arb::ParameterId(const char* name)
{
    if (!name)
        return 0;
    for (const NamedId& p : kParameters)
        if (std::strcmp(p.name, name) == 0)
            return p.id;
    for (const NamedId& p : kLightParameters) {
        size_t n = std::strlen(p.name);
        if (std::strncmp(name, p.name, n) == 0 && name[n] == '[' && name[n + 1] >= '0' &&
            name[n + 1] <= '3' && name[n + 2] == ']' && name[n + 3] == 0)
            return p.id - 4 * (name[n + 1] - '0');
    }
    return 0;
}

Device_GL_arb::material_state Device_GL_arb::CurrentMaterial() const
{
    material_state m;
    m.diffuse = samplers[kDiffuse] != nullptr;
    m.lightmap = has_lightmap;
    m.selfillum = samplers[kSelfillum] != nullptr;
    m.envmap = samplers[kEnvmap] != nullptr;
    m.dudv = dudv;
    m.diffuse_alpha = mat_diffuse[3];
    return m;
}

// ---- construction and Init

Device_GL_arb::Device_GL_arb(const char* options, const char* folder) : Device_GL(options)
{
    shader_folder = folder && *folder ? folder : get_exe_dir() + "/shaders";
    for (auto& m : matrices)
        std::memcpy(m, kIdentity16, sizeof m);
}

Device_GL_arb::~Device_GL_arb() = default;

bool Device_GL_arb::Init()
{
    if (!Device_GL::Init())
        return false;
    if (!GLEW_ARB_fragment_program)
        return false;
    for (light& l : lights)
        l = light();
    for (texture_record*& s : samplers)
        s = nullptr;
    has_lightmap = false;
    while (glGetError() != GL_NO_ERROR) {
    }
    // Each program is compiled here to check it, then deleted; BindProgram makes it again
    // from the same text when a pass first needs it.
    GLuint check = 0;
    glGenProgramsARB(1, &check);
    PP_ASSERT(glGetError() == GL_NO_ERROR);
    for (int set = 0; set < 2; ++set) {
        for (int index = 0; index < 11; ++index) {
            const int slot = set * 11 + index;
            if (programs[slot])
                glDeleteProgramsARB(1, &programs[slot]);
            programs[slot] = 0;
            program_loaded[slot] = false;
            program_text[slot].clear();
            glBindProgramARB(GL_FRAGMENT_PROGRAM_ARB, check);
            char path[1024];
            std::snprintf(path, sizeof path, "%s/%d_%d.txt", shader_folder.c_str(), set, index);
            std::string builtin = BuiltinProgram(set, index);
            std::string text = builtin;
            bool fromFile = false;
            std::ifstream in(path, std::ios::binary);
            if (in) {
                std::printf("%d %s\n", slot, path);
                std::ostringstream all;
                all << in.rdbuf();
                text = all.str();
                fromFile = true;
            }
            if (!text.empty()) {
                glProgramStringARB(GL_FRAGMENT_PROGRAM_ARB, GL_PROGRAM_FORMAT_ASCII_ARB,
                                   GLsizei(text.size()), text.c_str());
                if (glGetError() != GL_NO_ERROR) {
                    std::fprintf(stderr, "Error compiling shader %d\n%s", index, text.c_str());
                    // A broken replacement file falls back to the built-in program.
                    if (!fromFile || builtin.empty())
                        std::abort();
                    std::fprintf(stderr, "Warning: using the built-in program for %s\n", path);
                    glProgramStringARB(GL_FRAGMENT_PROGRAM_ARB, GL_PROGRAM_FORMAT_ASCII_ARB,
                                       GLsizei(builtin.size()), builtin.c_str());
                    if (glGetError() != GL_NO_ERROR) {
                        std::fprintf(stderr, "Error compiling shader %d\n%s", index,
                                     builtin.c_str());
                        std::abort();
                    }
                    text = builtin;
                }
                program_loaded[slot] = true;
                program_text[slot] = text;
            }
            glBindProgramARB(GL_FRAGMENT_PROGRAM_ARB, 0);
        }
    }
    glDeleteProgramsARB(1, &check);
    return true;
}

bool Device_GL_arb::BindProgram(int slot)
{
    if (slot < 0 || slot >= kPrograms || !program_loaded[slot])
        return false;
    if (!programs[slot]) {
        // The text compiled at Init; it compiles again the same.
        glGenProgramsARB(1, &programs[slot]);
        glBindProgramARB(GL_FRAGMENT_PROGRAM_ARB, programs[slot]);
        const std::string& text = program_text[slot];
        glProgramStringARB(GL_FRAGMENT_PROGRAM_ARB, GL_PROGRAM_FORMAT_ASCII_ARB,
                           GLsizei(text.size()), text.c_str());
        return true;
    }
    glBindProgramARB(GL_FRAGMENT_PROGRAM_ARB, programs[slot]);
    return true;
}

void Device_GL_arb::InitStates()
{
    Device_GL::InitStates();
    glShadeModel(GL_SMOOTH);
    gl_state.enable(GL_CULL_FACE, true);
    glCullFace(GL_BACK);
    gl_state.enable(GL_DEPTH_TEST, true);
    glDepthFunc(GL_LEQUAL);
    strict_depth = false;
    glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
    for (int i = 0; i < 4; ++i) {
        glLightf(GL_LIGHT0 + i, GL_QUADRATIC_ATTENUATION, 0.0065f);
        glLightf(GL_LIGHT0 + i, GL_CONSTANT_ATTENUATION, 0.8333333f);
    }
    if (GLEW_ARB_fragment_program)
        gl_state.enable(GL_FRAGMENT_PROGRAM_ARB, true);
    material_dirty = lights_dirty = viewport_dirty = true;
    bound_key = -1;
}

// ---- state changes

void Device_GL_arb::Viewport(int x, int y, int w, int h)
{
    viewport_dirty = true;
    Device_GL::Viewport(x, y, w, h);
}

void Device_GL_arb::SetTarget(target_t_opaque* target)
{
    viewport_dirty = true;
    Device_GL::SetTarget(target);
}

void Device_GL_arb::DrawLines(const line_vertex* vertices, int count)
{
    if (program_loaded[0]) {
        gl_state.enable(GL_FRAGMENT_PROGRAM_ARB, true);
        BindProgram(0);
    }
    Device_GL::DrawLines(vertices, count);
}

int Device_GL_arb::SetShaderFlags(const char* const* names, const int* values)
{
    const bool hadVertexColour = vertex_colour;
    vertex_colour = false;
    if (viewport_dirty) {
        viewport_dirty = false;
        const float vp[4] = {float(current_target->vp[0]), float(current_target->vp[1]),
                             float(current_target->vp[2]), float(current_target->vp[3])};
        const float bg[4] = {float(background_w), float(background_h), 0, 0};
        setEnv(0, vp);
        setEnv(1, bg);
    }
    if (!names || !values) {
        if (hadVertexColour)
            material_dirty = lights_dirty = true;
        return 0;
    }
    if (flagPositions.table != names) {
        flagPositions = FlagPositions();
        flagPositions.table = names;
        for (int k = 0; names[k]; ++k) {
            const char* n = names[k];
            if (std::strcmp(n, "DUDV") == 0)
                flagPositions.dudv = k;
            else if (std::strcmp(n, "VCOLOR") == 0)
                flagPositions.vcolor = k;
            else if (std::strncmp(n, "LIGHT", 5) == 0 && n[5] >= '0' && n[5] <= '3') {
                int i = n[5] - '0';
                if (n[6] == 0)
                    flagPositions.light[i] = k;
                else if (std::strcmp(n + 6, "_SHADOW") == 0)
                    flagPositions.shadow[i] = k;
            }
        }
    }
    int mask = 0;
    for (int i = 0; i < 4; ++i) {
        lights[i].on = flagValue(values, flagPositions.light[i]) != 0;
        lights[i].shadow = flagValue(values, flagPositions.shadow[i]) != 0;
        mask |= (lights[i].on ? 1 << i : 0) | (lights[i].shadow ? 16 << i : 0);
    }
    vertex_colour = flagValue(values, flagPositions.vcolor) != 0;
    if (vertex_colour != hadVertexColour)
        material_dirty = lights_dirty = true;
    if (mask != light_mask) {
        light_mask = mask;
        lights_dirty = true;
    }
    dudv = flagValue(values, flagPositions.dudv) != 0;
    return 0;
}

technique_t_opaque* Device_GL_arb::GetTechnique(int, const char* name)
{
    return reinterpret_cast<technique_t_opaque*>(intptr_t(TechniqueId(name)));
}

int Device_GL_arb::GetFirstPass(technique_t_opaque* technique)
{
    return FirstPass(int(reinterpret_cast<intptr_t>(technique)), CurrentMaterial());
}

int Device_GL_arb::GetNextPass(int pass)
{
    return NextPass(pass, CurrentMaterial());
}

parameter_t_opaque* Device_GL_arb::GetParameter(const char* name)
{
    return reinterpret_cast<parameter_t_opaque*>(intptr_t(ParameterId(name)));
}

void Device_GL_arb::SetParamTexture(parameter_t_opaque* param, texture_t_opaque* texture)
{
    const int p = int(reinterpret_cast<intptr_t>(param));
    if (p < 1 || p > kSamplers)
        return;
    material_dirty = true;
    texture_record* t = static_cast<texture_record*>(texture);
    const int slot = p - 1;
    samplers[slot] = t && t->texture ? t : nullptr;
    if (slot == kLightmap)
        has_lightmap = samplers[slot] != nullptr;
    if (slot == kBackground && samplers[slot]) {
        background_w = t->w;
        background_h = t->h;
        const float bg[4] = {float(background_w), float(background_h), 0, 0};
        setEnv(1, bg);
    }
}

void Device_GL_arb::SetParam(parameter_t_opaque* param, const float* v)
{
    const int p = int(reinterpret_cast<intptr_t>(param));
    if (p == 0 || !v)
        return;
    if (p == 2048) {
        SetModel(v);
        return;
    }
    if (p >= 1024 && p < 1040) {
        std::memcpy(matrices[p - 1024], v, sizeof matrices[0]);
        material_dirty = true;
        return;
    }
    if (p <= -16 && p >= -95) {
        const int base = -16 - ((-16 - p) / 16) * 16;  // -16, -32, -48, -64, -80
        const int i = (base - p) / 4;
        if ((base - p) % 4 != 0 || i > 3)
            return;
        light& l = lights[i];
        switch (base) {
        case -16:
            l.pos[0] = v[0];
            l.pos[1] = v[1];
            l.pos[2] = v[2];
            l.pos[3] = 1;
            LoadModelView(1);
            glLightfv(GL_LIGHT0 + i, GL_POSITION, l.pos);
            lights_dirty = true;
            break;
        case -32:
            std::memcpy(l.ambient, v, 3 * sizeof(float));
            lights_dirty = true;
            break;
        case -48:
            std::memcpy(l.diffuse, v, 3 * sizeof(float));
            lights_dirty = true;
            break;
        case -64:
            std::memcpy(l.specular, v, 3 * sizeof(float));
            lights_dirty = true;
            break;
        case -80:
            glLightf(GL_LIGHT0 + i, GL_CONSTANT_ATTENUATION, v[0]);
            glLightf(GL_LIGHT0 + i, GL_LINEAR_ATTENUATION, v[1]);
            glLightf(GL_LIGHT0 + i, GL_QUADRATIC_ATTENUATION, v[2]);
            break;
        }
        return;
    }
    switch (p) {
    case -1: std::memcpy(color, v, 4 * sizeof(float)); break;
    case -2: std::memcpy(mat_diffuse, v, 4 * sizeof(float)); material_dirty = true; break;
    case -3: std::memcpy(mat_ambient, v, 3 * sizeof(float)); material_dirty = true; break;
    case -4: std::memcpy(mat_specular, v, 3 * sizeof(float)); material_dirty = true; break;
    case -5: std::memcpy(global_ambient, v, 3 * sizeof(float)); lights_dirty = true; break;
    case -96: {
        const int fogMode = int(v[0]);
        fog_set = fogMode >= 0 && fogMode <= 2 ? 1 : 0;
        std::memcpy(fog_params, v, sizeof fog_params);
        setEnv(3, fog_params);
        break;
    }
    case -97: std::memcpy(fog_color, v, 3 * sizeof(float)); break;
    case -256: specular_level = v[0]; material_dirty = true; break;
    case -257: specular_power = v[0]; material_dirty = true; break;
    case -301:
        if (v[0] != 0)
            glFlush();
        break;
    case -300:
        if (strict_depth != (v[0] != 0)) {
            strict_depth = v[0] != 0;
            glDepthFunc(strict_depth ? GL_LESS : GL_LEQUAL);
        }
        break;
    default: break;
    }
}

// ---- passes

void Device_GL_arb::BindUnit(int unit, int slot, bool identity)
{
    if (GLEW_ARB_multitexture)
        gl_state.activeTexture(unit);
    texture_record* t = slot >= 0 ? samplers[slot] : nullptr;
    if (t) {
        glBindTexture(GL_TEXTURE_2D, t->texture);
        LoadTextureMatrix(identity ? kIdentity16 : matrices[slot], t->flipped != 0);
    } else {
        glBindTexture(GL_TEXTURE_2D, 0);
    }
}

void Device_GL_arb::BeginPass(int pass)
{
    const PassInfo* info = passInfo(pass);
    if (!info)
        return;
    const bool hasDiffuse = samplers[kDiffuse] != nullptr;

    // 1. vertex colours and the dirty flags
    gl_state.enable(GL_COLOR_MATERIAL, vertex_colour);
    const bool materialWasDirty = material_dirty;
    const bool lightsWereDirty = lights_dirty;
    material_dirty = lights_dirty = false;

    // 2. sampler slots and texture-coordinate routing
    int slot0 = info->unit0, slot1 = info->unit1;
    texcoord_unit[0] = 0;
    texcoord_unit[2] = 1;
    if ((pass == 32 || pass == 35 || pass == 36) && !hasDiffuse) {
        slot0 = kLightmap;
        slot1 = -1;
        texcoord_unit[0] = -1;
        texcoord_unit[2] = 0;
    }
    if (pass == 41) {
        if (GLEW_ARB_multitexture)
            gl_state.activeTexture(0);
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        gl_state.enable(GL_TEXTURE_GEN_S, true);
        gl_state.enable(GL_TEXTURE_GEN_T, true);
    }

    // 3.-5. textures, unless nothing changed
    const int key = ((slot1 & 0xffff) << 16) | (slot0 & 0xffff);
    if (materialWasDirty || key != bound_key) {
        if (GLEW_ARB_multitexture) {
            BindUnit(1, slot1, slot1 == kBackground);
        }
        BindUnit(0, slot0, false);
        bound_key = key;
    }
    if (GLEW_ARB_multitexture)
        gl_state.activeTexture(0);

    // 6. fog colour: additive layers fade to black
    const float black[4] = {0, 0, 0, 0};
    setEnv(2, pass == 40 || pass == 41 ? black : fog_color);

    // 7. program
    int index = info->program;
    if (index == -1)
        index = slot0 >= 0 && samplers[slot0] ? 1 : 0;
    else if (index == -2)
        index = hasDiffuse ? 4 : 5;
    const int slot = (info->set0 ? 0 : fog_set) * 11 + index;
    if (program_loaded[slot]) {
        gl_state.enable(GL_FRAGMENT_PROGRAM_ARB, true);
        BindProgram(slot);
    } else {
        gl_state.enable(GL_FRAGMENT_PROGRAM_ARB, false);
    }

    // 8. depth test and culling
    gl_state.enable(GL_DEPTH_TEST, pass >= 30);
    gl_state.enable(GL_CULL_FACE, pass >= 30);

    if (pass < 30) {
        // 9. 2D passes
        glColor4fv(color);
        gl_state.enable(GL_LIGHTING, false);
        gl_state.enable(GL_ALPHA_TEST, pass == 21);
        if (pass == 21)
            glAlphaFunc(GL_GREATER, 0.0f);
        gl_state.enable(GL_TEXTURE_2D, true);
        if (info->src) {
            gl_state.enable(GL_BLEND, true);
            glBlendFunc(info->src, info->dst);
        } else {
            gl_state.enable(GL_BLEND, false);
        }
        return;
    }

    // 10. 3D passes: material and lights
    gl_state.enable(GL_NORMALIZE, true);
    float material[4];
    for (int c = 0; c < 4; ++c)
        material[c] = hasDiffuse ? color[c] : mat_diffuse[c] * color[c];
    gl_state.enable(GL_LIGHTING, pass >= 31 && pass <= 37);
    if (lightsWereDirty) {
        GLint coords = 8;
        glGetIntegerv(GL_MAX_TEXTURE_COORDS_ARB, &coords);
        for (int i = 0; i < 4; ++i) {
            const light& l = lights[i];
            gl_state.enable(GL_LIGHT0 + i, l.on);
            if (l.on) {
                glLightfv(GL_LIGHT0 + i, GL_AMBIENT, l.ambient);
                glLightfv(GL_LIGHT0 + i, GL_DIFFUSE, l.diffuse);
                glLightfv(GL_LIGHT0 + i, GL_SPECULAR, l.specular);
            }
            const int unit = 6 + i;
            if (!GLEW_ARB_multitexture || unit >= coords)
                continue;
            gl_state.activeTexture(unit);
            const bool shadow = l.on && l.shadow;
            if (shadow) {
                const float* m = matrices[6 + i];
                gl_state.matrixMode(GL_MODELVIEW);
                glPushMatrix();
                glLoadIdentity();
                glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
                glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
                glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
                glTexGeni(GL_Q, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
                glTexGenfv(GL_S, GL_EYE_PLANE, m + 0);
                glTexGenfv(GL_T, GL_EYE_PLANE, m + 4);
                glTexGenfv(GL_R, GL_EYE_PLANE, m + 8);
                glTexGenfv(GL_Q, GL_EYE_PLANE, m + 12);
                glPopMatrix();
                texture_record* map = samplers[6 + i];
                glBindTexture(GL_TEXTURE_2D, map ? map->texture : 0);
            }
            gl_state.enable(GL_TEXTURE_GEN_S, shadow);
            gl_state.enable(GL_TEXTURE_GEN_T, shadow);
            gl_state.enable(GL_TEXTURE_GEN_R, shadow);
            gl_state.enable(GL_TEXTURE_GEN_Q, shadow);
            gl_state.enable(GL_TEXTURE_2D, shadow);
        }
        gl_state.activeTexture(0);
        const float ambient[4] = {global_ambient[0], global_ambient[1], global_ambient[2], 1};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    }
    gl_state.material(GL_FRONT_AND_BACK, GL_DIFFUSE, material, 4);
    if (materialWasDirty) {
        const float ambient[4] = {mat_ambient[0], mat_ambient[1], mat_ambient[2], 1};
        const float specular[4] = {mat_specular[0] * specular_level,
                                   mat_specular[1] * specular_level,
                                   mat_specular[2] * specular_level, 1};
        gl_state.material(GL_FRONT, GL_AMBIENT, ambient, 4);
        gl_state.material(GL_FRONT, GL_SPECULAR, specular, 4);
        gl_state.materialShininess(std::min(std::max(specular_power, 0.0f), 128.0f));
    }

    // 11. blend, alpha test, depth writes, colour
    if (info->src) {
        gl_state.enable(GL_BLEND, true);
        glBlendFunc(info->src, info->dst);
    } else {
        gl_state.enable(GL_BLEND, false);
    }
    gl_state.enable(GL_ALPHA_TEST, info->alpha != 0);
    if (info->alpha)
        glAlphaFunc(info->alpha, info->ref);
    if (info->depth_write >= 0)
        gl_state.depthMask(info->depth_write);
    if (pass == 40 || pass == 41) {
        const float pre[4] = {color[0] * color[3], color[1] * color[3], color[2] * color[3],
                              color[3]};
        glColor4fv(pre);
    } else {
        glColor4fv(material);
    }

    // 12. fixed-function texturing where no program samples
    if ((pass >= 31 && pass <= 36) || pass == 40 || pass == 41)
        gl_state.enable(GL_TEXTURE_2D, slot0 >= 0 && samplers[slot0] != nullptr);
}

void Device_GL_arb::EndPass(int pass)
{
    gl_state.enable(GL_ALPHA_TEST, false);
    if (pass == 41) {
        if (GLEW_ARB_multitexture)
            gl_state.activeTexture(0);
        gl_state.enable(GL_TEXTURE_GEN_S, false);
        gl_state.enable(GL_TEXTURE_GEN_T, false);
    }
    gl_state.depthMask(true);
    Device_GL::EndPass(pass);
}
