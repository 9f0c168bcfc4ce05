#pragma once

// Device_GL_fixed: the OpenGL device drawing the programmable device's techniques with
// fixed-function state only (one texture unit, blending, alpha test, GL lights and GL fog).
// Built with the option "NOARB" or when the programmable device fails to initialise. It
// answers the same names; blur, exposure, shadow maps, distortion and projectors are not
// drawn.

#include "render/device_gl_arb.h"

class Device_GL_fixed : public Device_GL {
public:
    using material_state = Device_GL_arb::material_state;
    static constexpr int kSamplers = 10;

    explicit Device_GL_fixed(const char* options);
    ~Device_GL_fixed() override;

    bool Init() override;
    void InitStates() override;
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
    static int TechniqueId(const char* name);  // 0 for "particle_dudv" (draws nothing)
    static int FirstPass(int technique, const material_state& m);
    static int NextPass(int pass, const material_state& m);
    static int ParameterId(const char* name);

    material_state CurrentMaterial() const;

    // ---- state
    texture_record* samplers[kSamplers] = {};
    bool has_lightmap = false;
    bool dudv = false;  // recorded only
    bool strict_depth = false;  // "strict_depth": 3D passes draw only strictly nearer fragments
    bool vertex_colour = false;  // the mesh's colour stream gives the lit diffuse colour
    float matrices[16][16];
    float color[4] = {1, 1, 1, 1};
    float global_ambient[4] = {0, 0, 0, 1};
    float mat_diffuse[4] = {0, 0, 0, 0};
    float mat_ambient[4] = {0, 0, 0, 1};
    float mat_specular[4] = {0, 0, 0, 1};
    float specular_level = 0;
    float specular_power = 0;
    float fog_color[4] = {0, 0, 0, 0};
    struct light {
        float pos[4] = {0, 0, 0, 1};
        float diffuse[4] = {0, 0, 0, 1};
        float ambient[4] = {0, 0, 0, 1};
        float specular[4] = {0, 0, 0, 1};
        bool on = false;
    } lights[4];
};
