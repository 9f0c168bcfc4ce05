// The fixed-function device. Sections: tables - construction - flags and parameters - passes.

#include "render/device_gl_fixed.h"

#include <algorithm>
#include <cstring>

namespace {

// Sampler slots (parameter id - 1); the environment map sits in slot 9 on this device.
enum { kDiffuse = 0, kLightmap = 2, kSelfillum = 5, kEnvmap = 9 };

const float kIdentity16[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// ln 256: the density that brings exponential fog to 1/256 at the mean of start and end.
const float kFogDensity = 5.5451775f;

// Flag positions in the caller's flag table, found once per table.
struct FlagPositions {
    const char* const* table = nullptr;
    int light[4] = {-1, -1, -1, -1};
    int dudv = -1;
    int vcolor = -1;
};
FlagPositions flagPositions;

} // namespace

// ---- tables

int Device_GL_fixed::TechniqueId(const char* name)
{
    static const struct {
        const char* name;
        int id;
    } table[] = {
        {"main2d_fill", 20},    {"main2d", 21},         {"main2d_add", 22},
        {"main2d_mul", 23},     {"main2d_mul2", 24},    {"main2d_composite", 25},
        {"alpha1", 31},         {"alpha1add", 31},      {"alpha8", 35},
        {"alpha8add", 35},      {"particle_alpha", 40}, {"particle_add", 41},
        {"particle_mul", 42},   {"particle_mul2x", 43}, {"particle_comp", 44},
        {"particle_dudv", 0},
    };
    if (name)
        for (const auto& t : table)
            if (std::strcmp(t.name, name) == 0)
                return t.id;
    return 30;
}

int Device_GL_fixed::FirstPass(int technique, const material_state& m)
{
    switch (technique) {
    case 20: case 21: case 22: case 23: case 24:
        return technique;
    case 25:
        return 26;
    case 30:
        if (m.diffuse || m.diffuse_alpha > 0)
            return 31;
        return m.selfillum ? 40 : m.envmap ? 41 : 0;
    case 31:
        return 33;
    case 35:
        return 34;
    case 40: case 41: case 42: case 43: case 44:
        return technique + 20 + (technique == 44 ? 1 : 0);
    default:
        return 0;
    }
}

int Device_GL_fixed::NextPass(int pass, const material_state& m)
{
    const int afterLightmap = m.selfillum ? 40 : m.envmap ? 41 : 0;
    switch (pass) {
    case 24: return 25;
    case 63: return 64;
    case 31: case 33: return m.lightmap ? 32 : afterLightmap;
    case 34: return m.lightmap ? 35 : afterLightmap;
    case 32: case 35: return afterLightmap;
    case 40: return m.envmap ? 41 : 0;
    default: return 0;
    }
}

int Device_GL_fixed::ParameterId(const char* name)
{
    if (!name)
        return 0;
    if (std::strcmp(name, "envmap") == 0)
        return 10;
    if (std::strcmp(name, "dudv") == 0 || std::strcmp(name, "screen_background") == 0 ||
        std::strcmp(name, "texture_matrix_dudv") == 0 ||
        std::strncmp(name, "shadowmap[", 10) == 0 ||
        std::strncmp(name, "light_projective[", 17) == 0)
        return 0;
    return Device_GL_arb::ParameterId(name);
}

Device_GL_fixed::material_state Device_GL_fixed::CurrentMaterial() const
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

// ---- construction

Device_GL_fixed::Device_GL_fixed(const char* options) : Device_GL(options)
{
    for (auto& m : matrices)
        std::memcpy(m, kIdentity16, sizeof m);
}

Device_GL_fixed::~Device_GL_fixed() = default;

bool Device_GL_fixed::Init()
{
    if (!Device_GL::Init())
        return false;
    for (light& l : lights)
        l = light();
    for (texture_record*& s : samplers)
        s = nullptr;
    has_lightmap = false;
    return true;
}

void Device_GL_fixed::InitStates()
{
    Device_GL::InitStates();
    if (GLEW_ARB_fragment_program)
        gl_state.enable(GL_FRAGMENT_PROGRAM_ARB, false);
    glShadeModel(GL_SMOOTH);
    for (int i = 0; i < 4; ++i) {
        glLightf(GL_LIGHT0 + i, GL_QUADRATIC_ATTENUATION, 0.0065f);
        glLightf(GL_LIGHT0 + i, GL_CONSTANT_ATTENUATION, 0.8333333f);
    }
}

// ---- flags and parameters

int Device_GL_fixed::SetShaderFlags(const char* const* names, const int* values)
{
    vertex_colour = false;
    if (!names || !values)
        return 0;
    if (flagPositions.table != names) {
        flagPositions = FlagPositions();
        flagPositions.table = names;
        for (int k = 0; names[k]; ++k) {
            const char* n = names[k];
            if (std::strcmp(n, "DUDV") == 0)
                flagPositions.dudv = k;
            else if (std::strcmp(n, "VCOLOR") == 0)
                flagPositions.vcolor = k;
            else if (std::strncmp(n, "LIGHT", 5) == 0 && n[5] >= '0' && n[5] <= '3' && n[6] == 0)
                flagPositions.light[n[5] - '0'] = k;
        }
    }
    for (int i = 0; i < 4; ++i)
        lights[i].on = flagPositions.light[i] >= 0 && values[flagPositions.light[i]] != 0;
    dudv = flagPositions.dudv >= 0 && values[flagPositions.dudv] != 0;
    vertex_colour = flagPositions.vcolor >= 0 && values[flagPositions.vcolor] != 0;
    return 0;
}

technique_t_opaque* Device_GL_fixed::GetTechnique(int, const char* name)
{
    return reinterpret_cast<technique_t_opaque*>(intptr_t(TechniqueId(name)));
}

int Device_GL_fixed::GetFirstPass(technique_t_opaque* technique)
{
    return FirstPass(int(reinterpret_cast<intptr_t>(technique)), CurrentMaterial());
}

int Device_GL_fixed::GetNextPass(int pass)
{
    return NextPass(pass, CurrentMaterial());
}

parameter_t_opaque* Device_GL_fixed::GetParameter(const char* name)
{
    return reinterpret_cast<parameter_t_opaque*>(intptr_t(ParameterId(name)));
}

void Device_GL_fixed::SetParamTexture(parameter_t_opaque* param, texture_t_opaque* texture)
{
    const int p = int(reinterpret_cast<intptr_t>(param));
    if (p < 1 || p > kSamplers)
        return;
    texture_record* t = static_cast<texture_record*>(texture);
    samplers[p - 1] = t && t->texture ? t : nullptr;
    if (p - 1 == kLightmap)
        has_lightmap = samplers[p - 1] != nullptr;
}

void Device_GL_fixed::SetParam(parameter_t_opaque* param, const float* v)
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
        return;
    }
    if (p <= -16 && p >= -95) {
        const int base = -16 - ((-16 - p) / 16) * 16;
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
            // World-space positions go to GL under the view matrix.
            LoadModelView(1);
            glLightfv(GL_LIGHT0 + i, GL_POSITION, l.pos);
            break;
        case -32: std::memcpy(l.ambient, v, 3 * sizeof(float)); break;
        case -48: std::memcpy(l.diffuse, v, 3 * sizeof(float)); break;
        case -64: std::memcpy(l.specular, v, 3 * sizeof(float)); break;
        case -80:
            glLightf(GL_LIGHT0 + i, GL_CONSTANT_ATTENUATION, v[0]);
            glLightf(GL_LIGHT0 + i, GL_LINEAR_ATTENUATION, v[1]);
            glLightf(GL_LIGHT0 + i, GL_QUADRATIC_ATTENUATION, v[2]);
            break;
        }
        return;
    }
    switch (p) {
    case -1:
        std::memcpy(color, v, 4 * sizeof(float));
        glColor4fv(color);
        break;
    case -2: std::memcpy(mat_diffuse, v, 4 * sizeof(float)); break;
    case -3: std::memcpy(mat_ambient, v, 3 * sizeof(float)); break;
    case -4: std::memcpy(mat_specular, v, 3 * sizeof(float)); break;
    case -5: std::memcpy(global_ambient, v, 3 * sizeof(float)); break;
    case -96: {
        const int fogMode = int(v[0]);
        const float start = v[1], end = v[2];
        if (fogMode == 0) {
            glFogi(GL_FOG_MODE, GL_LINEAR);
            glFogf(GL_FOG_START, start);
            glFogf(GL_FOG_END, end);
        } else if (fogMode == 1) {
            glFogi(GL_FOG_MODE, GL_EXP);
            glFogf(GL_FOG_DENSITY, kFogDensity / (start + end));
        } else if (fogMode == 2) {
            glFogi(GL_FOG_MODE, GL_EXP2);
            glFogf(GL_FOG_DENSITY, kFogDensity / ((start + end) * (start + end)));
        }
        gl_state.enable(GL_FOG, fogMode >= 0 && fogMode <= 2);
        break;
    }
    case -97: std::memcpy(fog_color, v, 3 * sizeof(float)); break;
    case -256: specular_level = v[0]; break;
    case -257: specular_power = v[0]; break;
    case -300: strict_depth = v[0] != 0; break;
    case -301:
        if (v[0] != 0)
            glFlush();
        break;
    default: break;
    }
}

// ---- passes

void Device_GL_fixed::BeginPass(int pass)
{
    // 1. texture coordinates and the sampler of unit 0
    int slot = -1;
    switch (pass) {
    case 20: case 21: case 23: case 24: case 26: case 31: case 33: case 34:
    case 60: case 61: case 62: case 63: case 65:
        texcoord_unit[0] = 0;
        slot = kDiffuse;
        break;
    case 22: case 40:
        texcoord_unit[0] = 0;
        slot = kSelfillum;
        break;
    case 41:
        texcoord_unit[0] = 0;
        slot = kEnvmap;
        break;
    case 32: case 35:
        texcoord_unit[2] = 0;
        slot = kLightmap;
        break;
    default:
        break;
    }
    if (GLEW_ARB_multitexture)
        gl_state.activeTexture(0);
    if (pass == 41) {
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        gl_state.enable(GL_TEXTURE_GEN_S, true);
        gl_state.enable(GL_TEXTURE_GEN_T, true);
    }

    // 2. texture and its matrix
    texture_record* t = slot >= 0 ? samplers[slot] : nullptr;
    if (t) {
        glBindTexture(GL_TEXTURE_2D, t->texture);
        LoadTextureMatrix(matrices[slot], t->flipped != 0);
    }

    // 3. fog colour: additive layers fade to black
    const float black[4] = {0, 0, 0, 0};
    glFogfv(GL_FOG_COLOR, pass == 40 || pass == 41 ? black : fog_color);

    // 4. 2D passes
    if (pass < 30) {
        gl_state.enable(GL_COLOR_MATERIAL, false);
        gl_state.enable(GL_LIGHTING, false);
        gl_state.enable(GL_ALPHA_TEST, false);
        gl_state.enable(GL_TEXTURE_2D, true);
        gl_state.enable(GL_BLEND, true);
        switch (pass) {
        case 20: gl_state.enable(GL_BLEND, false); break;
        case 21:
            gl_state.enable(GL_ALPHA_TEST, true);
            glAlphaFunc(GL_GREATER, 0.0f);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            break;
        case 22: glBlendFunc(GL_ONE, GL_ONE); break;
        case 23: case 24: glBlendFunc(GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA); break;
        case 25:
            // Doubles what is in the frame.
            glBlendFunc(GL_DST_COLOR, GL_SRC_COLOR);
            gl_state.enable(GL_TEXTURE_2D, false);
            glColor4f(1, 1, 1, 1);
            no_vertex_colour = 1;
            break;
        case 26: glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA); break;
        default: break;
        }
        return;
    }

    // 5. 3D and particle passes: material and lights
    gl_state.enable(GL_NORMALIZE, true);
    gl_state.enable(GL_DEPTH_TEST, true);
    gl_state.enable(GL_CULL_FACE, true);
    glCullFace(GL_BACK);
    const bool hasDiffuse = samplers[kDiffuse] != nullptr;
    float material[4];
    for (int c = 0; c < 4; ++c)
        material[c] = hasDiffuse ? color[c] : mat_diffuse[c] * color[c];
    // Lit vertex-coloured meshes take their diffuse colour from the colour stream (set before
    // the material, which would otherwise be overwritten by the current colour).
    const bool lit = pass == 31 || pass == 33 || pass == 34;
    glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
    gl_state.enable(GL_COLOR_MATERIAL, lit && vertex_colour);
    if (lit) {
        gl_state.enable(GL_LIGHTING, true);
        for (int i = 0; i < 4; ++i) {
            gl_state.enable(GL_LIGHT0 + i, lights[i].on);
            if (lights[i].on) {
                glLightfv(GL_LIGHT0 + i, GL_AMBIENT, lights[i].ambient);
                glLightfv(GL_LIGHT0 + i, GL_DIFFUSE, lights[i].diffuse);
                glLightfv(GL_LIGHT0 + i, GL_SPECULAR, lights[i].specular);
            }
        }
        const float ambient[4] = {mat_ambient[0], mat_ambient[1], mat_ambient[2], 1};
        const float specular[4] = {mat_specular[0] * specular_level,
                                   mat_specular[1] * specular_level,
                                   mat_specular[2] * specular_level, 1};
        const float model[4] = {global_ambient[0], global_ambient[1], global_ambient[2], 1};
        gl_state.material(GL_FRONT_AND_BACK, GL_DIFFUSE, material, 4);
        gl_state.material(GL_FRONT, GL_AMBIENT, ambient, 4);
        gl_state.material(GL_FRONT, GL_SPECULAR, specular, 4);
        gl_state.materialShininess(std::min(std::max(specular_power, 0.0f), 128.0f));
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, model);
    } else {
        gl_state.enable(GL_LIGHTING, false);
    }

    glDepthFunc(strict_depth ? GL_LESS : GL_LEQUAL);
    if (pass >= 60 && pass <= 65) {
        // 6. particles
        gl_state.enable(GL_BLEND, true);
        gl_state.enable(GL_ALPHA_TEST, false);
        gl_state.depthMask(false);
        gl_state.enable(GL_TEXTURE_2D, true);
        switch (pass) {
        case 60: glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); break;
        case 61: glBlendFunc(GL_ONE, GL_ONE); break;
        case 62: case 63: glBlendFunc(GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA); break;
        case 64:
            glBlendFunc(GL_DST_COLOR, GL_SRC_COLOR);
            gl_state.enable(GL_TEXTURE_2D, false);
            glColor4f(1, 1, 1, 1);
            no_vertex_colour = 1;
            break;
        case 65: glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA); break;
        default: break;
        }
        return;
    }

    // 7. the other 3D passes
    if (pass == 34) {
        gl_state.enable(GL_ALPHA_TEST, true);
        glAlphaFunc(GL_GREATER, 0.0f);
        gl_state.enable(GL_BLEND, true);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        gl_state.depthMask(false);
        glColor4fv(material);
    } else if (pass == 33) {
        gl_state.enable(GL_ALPHA_TEST, true);
        glAlphaFunc(GL_GREATER, 0.5f);
        gl_state.depthMask(true);
        glColor4fv(material);
    } else if (pass == 40 || pass == 41) {
        gl_state.enable(GL_BLEND, true);
        glBlendFunc(GL_ONE, GL_ONE);
        gl_state.depthMask(false);
        glColor4f(color[0] * color[3], color[1] * color[3], color[2] * color[3], color[3]);
    } else {
        gl_state.enable(GL_ALPHA_TEST, false);
        gl_state.depthMask(true);
        glColor4fv(material);
    }

    // 8. depth function and texturing; lightmaps multiply the frame by twice their colour
    if (pass == 31 || pass == 33 || pass == 34 || pass == 40 || pass == 41)
        gl_state.enable(GL_TEXTURE_2D, t != nullptr);
    if (pass == 32 || pass == 35) {
        glDepthFunc(pass == 32 ? GL_EQUAL : GL_LEQUAL);
        gl_state.enable(GL_TEXTURE_2D, t != nullptr);
        gl_state.enable(GL_BLEND, true);
        glBlendFunc(GL_DST_COLOR, GL_SRC_COLOR);
    }
}

void Device_GL_fixed::EndPass(int pass)
{
    if (GLEW_ARB_multitexture) {
        gl_state.activeTexture(0);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    gl_state.enable(GL_LIGHTING, false);
    gl_state.enable(GL_ALPHA_TEST, false);
    gl_state.enable(GL_BLEND, false);
    gl_state.enable(GL_TEXTURE_2D, false);
    gl_state.enable(GL_TEXTURE_GEN_S, false);
    gl_state.enable(GL_TEXTURE_GEN_T, false);
    gl_state.enable(GL_DEPTH_TEST, false);
    gl_state.enable(GL_CULL_FACE, false);
    glDepthFunc(GL_LEQUAL);
    gl_state.depthMask(true);
    Device_GL::EndPass(pass);
}
