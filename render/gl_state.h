#pragma once

// GLStateCache: the GL device's record of the fixed-function state it sets most often (enables,
// the active texture unit, the depth mask, the matrix mode and the loaded matrices, materials).
// A call that would not change the state as last set is not made. Everything the cache holds
// is "unknown" after reset(), which the device calls wherever it sets its states from scratch
// (a new context or video mode), so the next call of each kind is made again.
// Render thread only.

#include <GL/glew.h>

#include <functional>

class GLStateCache {
public:
    // The kinds of call made through the cache, for an observer.
    enum Call { call_enable, call_disable, call_active_texture, call_depth_mask, call_matrix_mode, call_load_matrix,
                call_material };

    GLStateCache() { reset(); }

    // Forgets everything: the GL state is unknown.
    void reset();

    void enable(GLenum cap, bool on);
    void activeTexture(int unit);  // unit 0.. (GL_TEXTURE0 + unit)
    void depthMask(bool on);
    void matrixMode(GLenum mode);
    // Loads a matrix (column-major, as glLoadMatrixf) into the matrix of the mode (the texture
    // matrix of the active unit for GL_TEXTURE); the matrix mode is left at mode.
    void loadMatrix(GLenum mode, const float* m);
    // Forgets the loaded matrix of the mode (after glPush/PopMatrix or a multiply made directly).
    void forgetMatrix(GLenum mode);
    // glMaterialfv with count values (1 for GL_SHININESS, 4 otherwise).
    void material(GLenum face, GLenum pname, const float* v, int count);
    void materialShininess(float value) { material(GL_FRONT, GL_SHININESS, &value, 1); }

    int activeUnit() const { return unit; }

    // Called before every GL call the cache makes, with its kind, its first argument
    // (capability, unit, flag, mode or material name) and the values of a matrix or material
    // (else null). Tests record the calls with it.
    std::function<void(Call, unsigned, const float*)> observer;

private:
    static const int kUnits = 16;
    enum { unknown = -1 };
    // Index of a cached capability, -1 for one not cached (always called).
    static int capIndex(GLenum cap);
    static bool perUnit(GLenum cap);
    void notify(Call call, unsigned what, const float* values = nullptr)
    {
        if (observer)
            observer(call, what, values);
    }
    void forgetMaterials();

    static const int kCaps = 24;
    signed char caps[kCaps];              // global capabilities: 0, 1 or unknown
    signed char unitCaps[kUnits][kCaps];  // texture capabilities per unit
    int unit;
    int depthWrite;
    int mode;  // GL_MODELVIEW, GL_PROJECTION, GL_TEXTURE or unknown
    bool modelviewKnown, projectionKnown;
    float modelview[16], projection[16];
    bool textureKnown[kUnits];
    float texture[kUnits][16];
    // Front and back material colours (diffuse, ambient, specular) and the front shininess.
    bool materialKnown[2][3];
    float materials[2][3][4];
    bool shininessKnown;
    float shininess;
};
