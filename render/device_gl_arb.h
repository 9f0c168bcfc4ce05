#pragma once

// Device_GL_arb: the OpenGL device with its shading done by ARB fragment programs (two sets
// of 11: set 0 without fog, set 1 with fog) while vertex lighting stays with fixed-function
// GL lights. Techniques, passes and parameters are small ids chosen by name; the tables are
// pure functions (TechniqueId, FirstPass, NextPass, ParameterId) over the material state.
// A program file "<shader folder>/<set>_<index>.txt" replaces a built-in program.

#include "render/device_gl.h"

#include <string>

class Device_GL_arb : public Device_GL {
public:
    // The textures and flags that choose a material's passes.
    struct material_state {
        bool diffuse = false;    // a diffuse texture is set
        bool lightmap = false;
        bool selfillum = false;
        bool envmap = false;
        bool dudv = false;       // the material's DUDV flag
        float diffuse_alpha = 0; // alpha of color_diffuse
    };

    static constexpr int kSamplers = 10;
    static constexpr int kPrograms = 22;

    // shader_folder empty: the executable's folder followed by "/shaders".
    Device_GL_arb(const char* options, const char* shader_folder);
    ~Device_GL_arb() override;

    bool Init() override;
    void InitStates() override;
    void Viewport(int x, int y, int width, int height) override;
    void SetTarget(target_t_opaque* target) override;
    void DrawLines(const line_vertex* vertices, int count) override;
    int SetShaderFlags(const char* const* names, const int* values) override;
    technique_t_opaque* GetTechnique(int flags, const char* name) override;
    void ReleaseTechnique(technique_t_opaque*) override {}
    int GetFirstPass(technique_t_opaque* technique) override;
    int GetNextPass(int pass) override;
    void BeginPass(int pass) override;
    void EndPass(int pass) override;
    parameter_t_opaque* GetParameter(const char* name) override;
    void SetParam(parameter_t_opaque* param, const float* values) override;
    void SetParamFloatArray(parameter_t_opaque*, const float*, int, int) override {}
    void SetParamTexture(parameter_t_opaque* param, texture_t_opaque* texture) override;
    int getFeatures() override { return 41; }

    // ---- the tables
    static int TechniqueId(const char* name);
    static int FirstPass(int technique, const material_state& m);
    static int NextPass(int pass, const material_state& m);
    // 0 for a name the device does not know.
    static int ParameterId(const char* name);
    // The built-in text of a program slot; empty for a slot without one (set 1, 7 to 9).
    static std::string BuiltinProgram(int set, int index);

    material_state CurrentMaterial() const;
    // Makes the slot's program if it is not made yet and binds it; false (nothing bound) for
    // a slot without a program.
    bool BindProgram(int slot);

    // ---- state (public for the tests that check what a parameter or a pass did)
    std::string shader_folder;
    // A slot's program is checked at Init but made only when a pass first binds it (0 until
    // then): under a software rasterizer each made program holds about 0.8 MiB, and the
    // game's frames use few of the slots.
    GLuint programs[kPrograms] = {};
    bool program_loaded[kPrograms] = {};  // the slot has a program (checked at Init)
    std::string program_text[kPrograms];  // what its program is made from
    int fog_set = 0;
    texture_record* samplers[kSamplers] = {};
    bool has_lightmap = false;
    bool dudv = false;
    bool strict_depth = false;  // "strict_depth": fragments at equal depth fail the test
    float matrices[16][16];
    float color[4] = {1, 1, 1, 1};
    float global_ambient[4] = {0, 0, 0, 1};
    float mat_diffuse[4] = {0, 0, 0, 0};
    float mat_ambient[4] = {0, 0, 0, 1};
    float mat_specular[4] = {0, 0, 0, 1};
    float specular_level = 0;
    float specular_power = 0;
    float fog_color[4] = {0, 0, 0, 0};
    float fog_params[4] = {-1, 0, 0, 0};
    struct light {
        float pos[4] = {0, 0, 0, 1};
        float diffuse[4] = {0, 0, 0, 1};
        float ambient[4] = {0, 0, 0, 1};
        float specular[4] = {0, 0, 0, 1};
        bool on = false;
        bool shadow = false;
    } lights[4];
    int light_mask = 0;
    bool vertex_colour = false;
    bool material_dirty = true;
    bool lights_dirty = true;
    bool viewport_dirty = true;
    int bound_key = -1;
    int background_w = 0;
    int background_h = 0;

private:
    void BindUnit(int unit, int slot, bool identity);
};
