#include "render/gl_state.h"

#include <cstring>

int GLStateCache::capIndex(GLenum cap)
{
    switch (cap) {
    case GL_TEXTURE_2D: return 0;
    case GL_TEXTURE_GEN_S: return 1;
    case GL_TEXTURE_GEN_T: return 2;
    case GL_TEXTURE_GEN_R: return 3;
    case GL_TEXTURE_GEN_Q: return 4;
    case GL_TEXTURE_CUBE_MAP_ARB: return 5;
    case GL_BLEND: return 6;
    case GL_ALPHA_TEST: return 7;
    case GL_DEPTH_TEST: return 8;
    case GL_CULL_FACE: return 9;
    case GL_LIGHTING: return 10;
    case GL_NORMALIZE: return 11;
    case GL_COLOR_MATERIAL: return 12;
    case GL_FRAGMENT_PROGRAM_ARB: return 13;
    case GL_LINE_SMOOTH: return 14;
    case GL_FOG: return 15;
    default:
        if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + 8)
            return 16 + int(cap - GL_LIGHT0);
        return -1;
    }
}

bool GLStateCache::perUnit(GLenum cap)
{
    return capIndex(cap) >= 0 && capIndex(cap) <= 5;
}

void GLStateCache::reset()
{
    std::memset(caps, unknown, sizeof caps);
    std::memset(unitCaps, unknown, sizeof unitCaps);
    unit = unknown;
    depthWrite = unknown;
    mode = unknown;
    modelviewKnown = projectionKnown = false;
    for (bool& known : textureKnown)
        known = false;
    forgetMaterials();
}

void GLStateCache::forgetMaterials()
{
    for (auto& face : materialKnown)
        for (bool& known : face)
            known = false;
    shininessKnown = false;
}

void GLStateCache::enable(GLenum cap, bool on)
{
    const int index = capIndex(cap);
    signed char* state = nullptr;
    if (index >= 0)
        state = perUnit(cap) ? (unit >= 0 && unit < kUnits ? &unitCaps[unit][index] : nullptr) : &caps[index];
    if (state && *state == (on ? 1 : 0))
        return;
    notify(on ? call_enable : call_disable, cap);
    if (on)
        glEnable(cap);
    else
        glDisable(cap);
    if (state)
        *state = on ? 1 : 0;
    // The current colour now writes the material: what the cache knew of it no longer holds.
    if (cap == GL_COLOR_MATERIAL && on)
        forgetMaterials();
}

void GLStateCache::activeTexture(int unit_)
{
    if (unit == unit_)
        return;
    notify(call_active_texture, unsigned(unit_));
    glActiveTextureARB(GLenum(GL_TEXTURE0_ARB + unit_));
    unit = unit_;
}

void GLStateCache::depthMask(bool on)
{
    if (depthWrite == (on ? 1 : 0))
        return;
    notify(call_depth_mask, on ? 1u : 0u);
    glDepthMask(on ? GL_TRUE : GL_FALSE);
    depthWrite = on ? 1 : 0;
}

void GLStateCache::matrixMode(GLenum mode_)
{
    if (mode == int(mode_))
        return;
    notify(call_matrix_mode, mode_);
    glMatrixMode(mode_);
    mode = int(mode_);
}

void GLStateCache::loadMatrix(GLenum mode_, const float* m)
{
    bool* known = nullptr;
    float* cached = nullptr;
    if (mode_ == GL_MODELVIEW) {
        known = &modelviewKnown;
        cached = modelview;
    } else if (mode_ == GL_PROJECTION) {
        known = &projectionKnown;
        cached = projection;
    } else if (mode_ == GL_TEXTURE && unit >= 0 && unit < kUnits) {
        known = &textureKnown[unit];
        cached = texture[unit];
    }
    if (known && *known && std::memcmp(cached, m, 16 * sizeof(float)) == 0)
        return;
    matrixMode(mode_);
    notify(call_load_matrix, mode_, m);
    glLoadMatrixf(m);
    if (known) {
        std::memcpy(cached, m, 16 * sizeof(float));
        *known = true;
    }
}

void GLStateCache::forgetMatrix(GLenum mode_)
{
    if (mode_ == GL_MODELVIEW)
        modelviewKnown = false;
    else if (mode_ == GL_PROJECTION)
        projectionKnown = false;
    else if (mode_ == GL_TEXTURE && unit >= 0 && unit < kUnits)
        textureKnown[unit] = false;
}

void GLStateCache::material(GLenum face, GLenum pname, const float* v, int count)
{
    // While the current colour may be writing the material, every call is made.
    const bool tracked = caps[capIndex(GL_COLOR_MATERIAL)] == 0;
    if (pname == GL_SHININESS) {
        const bool front = face == GL_FRONT;
        if (tracked && front && shininessKnown && shininess == v[0])
            return;
        notify(call_material, pname, v);
        glMaterialfv(face, pname, v);
        shininessKnown = tracked && front;
        shininess = v[0];
        return;
    }
    const int index = pname == GL_DIFFUSE ? 0 : pname == GL_AMBIENT ? 1 : pname == GL_SPECULAR ? 2 : -1;
    const bool faces[2] = {face == GL_FRONT || face == GL_FRONT_AND_BACK, face == GL_BACK || face == GL_FRONT_AND_BACK};
    bool same = tracked && index >= 0 && count == 4;
    for (int f = 0; f < 2 && same; ++f)
        if (faces[f])
            same = materialKnown[f][index] && std::memcmp(materials[f][index], v, 4 * sizeof(float)) == 0;
    if (same)
        return;
    notify(call_material, pname, v);
    glMaterialfv(face, pname, v);
    if (index < 0)
        return;
    for (int f = 0; f < 2; ++f)
        if (faces[f]) {
            materialKnown[f][index] = tracked && count == 4;
            std::memcpy(materials[f][index], v, 4 * sizeof(float));
        }
}
