// The 3D side of the frame renderer: the camera, queueing drawn objects as lights and mesh
// parts, culling and sorting, the shadow map, and the 3D pass with its light choice and
// material set-up.
//
// Sections: helpers - camera and frustum - queueing objects - sorting - shadow maps -
// the 3D pass - screen grabs.

#include "render/render.h"

#include "core/Assert.h"
#include "render/image.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

// ---- helpers (row-major matrices that transform column vectors)

namespace {

const float kIdentity4[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
const float kNoFog[4] = {-1, 0, 0, 0};

// Material feature switches handed to the device with every 3D draw, in this order.
const char* const kFlagNames[] = {
    "DIFFUSEMAP", "LIGHTMAP",         "ENVMASK",       "SPECULARMAP",      "SELFILLUM_MAP",
    "DUDV",       "NORMALMAP",        "ENVMAP",        "SKINNING",         "LIGHT0",
    "LIGHT0_SHADOW", "LIGHT0_PROJECTOR", "LIGHT1",     "LIGHT1_SHADOW",    "LIGHT1_PROJECTOR",
    "LIGHT2",     "LIGHT2_SHADOW",    "LIGHT2_PROJECTOR", "LIGHT3",        "LIGHT3_SHADOW",
    "LIGHT3_PROJECTOR", "VCOLOR",     nullptr};
enum { kFlagSkinning = 8, kFlagLight0 = 9, kFlagVColor = 21, kFlagCount = 22 };

// The eight maps of a material, in flag order: diffuse, lightmap, envmask, specular,
// self-illumination, dudv, normal, environment.
enum { kMapDiffuse = 0, kMapLightmap = 1, kMapSelfillum = 4, kMapDudv = 5, kMaps = 8 };
// Override key of each map ("slot_<a>_<b>" as a * 256 + b); the dudv map has none.
const int kOverrideKey[kMaps] = {256, 512, 771, 1024, 1280, -1, 2049, 2304};

const int kShadowMapSize = 512;
const int kUnlitSet = -1234;  // the light set of a material drawn without lighting

void mul4(float* out, const float* a, const float* b)
{
    float r[16];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r[i * 4 + j] = a[i * 4] * b[j] + a[i * 4 + 1] * b[4 + j] + a[i * 4 + 2] * b[8 + j] +
                           a[i * 4 + 3] * b[12 + j];
    std::memcpy(out, r, sizeof r);
}

float4x4 to4x4(const float4x3& m)
{
    float4x4 r;
    std::memcpy(r.m, m.m, sizeof m.m);
    r.m[3][3] = 1;
    return r;
}

float3 transform_point(const float4x3& m, const float3& p)
{
    return float3(m.m[0][0] * p.x + m.m[0][1] * p.y + m.m[0][2] * p.z + m.m[0][3],
                  m.m[1][0] * p.x + m.m[1][1] * p.y + m.m[1][2] * p.z + m.m[1][3],
                  m.m[2][0] * p.x + m.m[2][1] * p.y + m.m[2][2] * p.z + m.m[2][3]);
}

float length3(const float3& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

float3 normalized(const float3& v)
{
    float len = length3(v);
    return len > 0 ? float3(v.x / len, v.y / len, v.z / len) : v;
}

float3 cross(const float3& a, const float3& b)
{
    return float3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

float3 scaled(const float3& v, float s)
{
    return float3(v.x * s, v.y * s, v.z * s);
}

float3 column(const float4x3& m, int c)
{
    return float3(m.m[0][c], m.m[1][c], m.m[2][c]);
}

void set_column(float4x3& m, int c, const float3& v)
{
    m.m[0][c] = v.x;
    m.m[1][c] = v.y;
    m.m[2][c] = v.z;
}

// The true inverse of an affine matrix: (R^-1, -R^-1 t).
float4x3 affine_inverse(const float4x3& m)
{
    float a = m.m[0][0], b = m.m[0][1], c = m.m[0][2], d = m.m[1][0], e = m.m[1][1],
          f = m.m[1][2], g = m.m[2][0], h = m.m[2][1], i = m.m[2][2];
    float det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    float inv = det != 0 ? 1.0f / det : 0.0f;
    const float r[3][3] = {{(e * i - f * h) * inv, (c * h - b * i) * inv, (b * f - c * e) * inv},
                           {(f * g - d * i) * inv, (a * i - c * g) * inv, (c * d - a * f) * inv},
                           {(d * h - e * g) * inv, (b * g - a * h) * inv, (a * e - b * d) * inv}};
    float4x3 out;
    for (int row = 0; row < 3; ++row) {
        for (int k = 0; k < 3; ++k)
            out.m[row][k] = r[row][k];
        out.m[row][3] = -(r[row][0] * m.m[0][3] + r[row][1] * m.m[1][3] + r[row][2] * m.m[2][3]);
    }
    return out;
}

void set_param(Device* device, parameter_t_opaque* param, const float* values)
{
    if (param)
        device->SetParam(param, values);
}

// The device texture of an object's texture index (0 or out of range: none).
texture_t_opaque* object_texture(const Object* object, int index)
{
    if (index <= 0 || size_t(index) >= object->textures.size())
        return nullptr;
    return object->textures[size_t(index)].texture;
}

// 0 opaque, 1 alpha-tested ("alpha1"), 2 blended and drawn far to near ("alpha8").
// A textured material is opaque unless its transparency entries mark its texture's alpha.
int transparency_class(const Object::Material& material, float alpha)
{
    int cls = 0;
    if (!material.map(kMapDiffuse)) {
        cls = material.opacity < 1.0f ? 2 : 0;
    } else {
        if (material.transparency[0])
            cls = material.flag ? 1 : 2;
        if (material.transparency[1])
            cls = 1;
    }
    if (alpha < 1.0f)
        cls = 2;
    return cls;
}

}  // namespace

// ---- camera and frustum

void Render::set_camera(float3 eye, float3 target, float3 up, float fov, float camera_aspect)
{
    PP_ASSERT(was_render_started());
    if (camera_aspect == 0.0f)
        camera_aspect = aspect;
    if (std::isnan(eye.x) || std::isnan(eye.y) || std::isnan(eye.z))
        return;
    cameraPos = eye;
    float f = 1.0f / std::tan(fov * 3.14159265f / 360.0f);
    const float proj[16] = {f / camera_aspect, 0, 0, 0, 0, f, 0, 0, 0, 0, -1.0000334f, -0.20000666f,
                            0, 0, -1, 0};
    std::memcpy(projection.m, proj, sizeof proj);
    float3 forward = normalized(float3(target.x - eye.x, target.y - eye.y, target.z - eye.z));
    float3 side = normalized(cross(forward, up));
    float3 trueUp = cross(side, forward);
    const float3 rows[3] = {side, trueUp, scaled(forward, -1)};
    for (int r = 0; r < 3; ++r) {
        view.m[r][0] = rows[r].x;
        view.m[r][1] = rows[r].y;
        view.m[r][2] = rows[r].z;
        view.m[r][3] = -(rows[r].x * eye.x + rows[r].y * eye.y + rows[r].z * eye.z);
    }
    view.m[3][0] = view.m[3][1] = view.m[3][2] = 0;
    view.m[3][3] = 1;
    float4x3 view3;
    std::memcpy(view3.m, view.m, sizeof view3.m);
    cameraWorld = affine_inverse(view3);
}

// View-projection followed by the scale and bias of 0.5 that maps clip space to texture space.
void Render::compute_screen_matrix()
{
    static const float kBias[16] = {0.5f, 0, 0, 0.5f, 0, 0.5f, 0, 0.5f, 0, 0, 0.5f, 0.5f, 0, 0, 0, 1};
    float viewProjection[16];
    mul4(viewProjection, &projection.m[0][0], &view.m[0][0]);
    mul4(&screenMatrix.m[0][0], kBias, viewProjection);
}

void Render::compute_frustum(float4 planes[6], const float4x4& proj, const float4x4& viewMatrix)
{
    float m[16];
    mul4(m, &proj.m[0][0], &viewMatrix.m[0][0]);
    // row4 - row1, row4 + row1, row4 + row2, row4 - row2, row4 - row3, row4 + row3
    static const int kRow[6] = {0, 0, 1, 1, 2, 2};
    static const float kSign[6] = {-1, 1, 1, -1, -1, 1};
    for (int p = 0; p < 6; ++p) {
        float q[4];
        for (int k = 0; k < 4; ++k)
            q[k] = m[12 + k] + kSign[p] * m[kRow[p] * 4 + k];
        float len = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2]);
        if (len > 0)
            for (float& c : q)
                c /= len;
        planes[p] = float4(q[0], q[1], q[2], q[3]);
    }
}

bool Render::sphere_outside(const float4 planes[6], const float3& center, float radius)
{
    for (int p = 0; p < 6; ++p) {
        float d = planes[p].x * center.x + planes[p].y * center.y + planes[p].z * center.z +
                  planes[p].w;
        if (d < 0 && d * d > radius * radius)
            return true;
    }
    return false;
}

// ---- queueing objects

void Render::build_object_args(const RenderArgs3D& args)
{
    Object* object = args.object;
    if (!device || !object)
        return;
    // Every call is one pin, released by the 3D pass.
    objects.push_back(object);
    if (!args.nodes)
        return;
    const bool masked = args.mask && args.mask_length > 0;
    const float4x3* boneMatrices = nullptr;
    bool bonesMade = false;
    // The camera's up axis in world space (the view's second row), for billboards.
    const float3 cameraUp(view.m[1][0], view.m[1][1], view.m[1][2]);

    for (size_t n = 0; n < object->nodes.size(); ++n) {
        const Object::Node& node = object->nodes[n];
        // A layer beyond the mask's end is drawn.
        if (masked && unsigned(node.layer) < unsigned(args.mask_length) &&
            args.mask[node.layer] != '1')
            continue;

        if (node.light > 0 && size_t(node.light) < object->lights.size()) {
            const Object::Light& light = object->lights[size_t(node.light)];
            float3 colour;
            frame_interpolate(light.color, args.time, colour);
            if (light.fog[0] >= 0) {
                // A fog definition: the scene's fog, nothing else.
                std::memcpy(fogParams, light.fog, sizeof fogParams);
                fogColor[0] = colour.x;
                fogColor[1] = colour.y;
                fogColor[2] = colour.z;
                continue;
            }
            light_instance li;
            li.id = int(lights.size());
            li.object = object;
            li.world = affine_mul(args.world, args.nodes[n]);
            std::memcpy(li.decay, light.decay, sizeof li.decay);
            li.ambient = scaled(colour, light.ambient);
            li.diffuse = scaled(colour, light.diffuse);
            li.specular = scaled(colour, light.specular);
            li.global_ambient = scaled(colour, light.glow);
            li.shadow = light.projector;
            std::memcpy(li.projection.m, light.projection, sizeof li.projection.m);
            li.projective = float4x4();
            li.shadow_map = nullptr;
            li.intensity = li.ambient.x + li.ambient.y + li.ambient.z + li.diffuse.x +
                           li.diffuse.y + li.diffuse.z + li.specular.x + li.specular.y +
                           li.specular.z;
            li.weight = 0;
            lights.push_back(li);
        }

        if (node.mesh <= 0 || size_t(node.mesh) >= object->meshes.size())
            continue;
        const Object::Mesh& mesh = object->meshes[size_t(node.mesh)];
        // A mesh without a visibility track is always shown.
        float visibility = 1;
        if (!mesh.visibility.empty())
            frame_interpolate(mesh.visibility, args.time, visibility);
        if (visibility == 0)
            continue;
        const float alpha = visibility * args.color.w;

        float4x3 matrix;
        const float4x3* bones = nullptr;
        if (mesh.skinned) {
            // Skinned vertices are already placed by their bones.
            matrix = args.world;
            if (!bonesMade) {
                boneMatrices = Object::bone_matrices(object, this, args.nodes);
                bonesMade = true;
            }
            bones = boneMatrices;
        } else {
            matrix = affine_mul(args.world, args.nodes[n]);
            if (mesh.billboard == 1 || mesh.billboard == 4) {
                // Turned towards the camera, each axis keeping its length: mode 1 faces it with
                // its z axis and keeps its y axis up on the screen; mode 4 turns only about
                // its own z axis.
                const float3 position = column(matrix, 3);
                const float3 toCamera = normalized(float3(cameraPos.x - position.x,
                                                          cameraPos.y - position.y,
                                                          cameraPos.z - position.z));
                const float3 side = normalized(cross(cameraUp, toCamera));
                const float lx = length3(column(matrix, 0));
                const float ly = length3(column(matrix, 1));
                if (mesh.billboard == 1) {
                    const float lz = length3(column(matrix, 2));
                    set_column(matrix, 0, scaled(side, lx));
                    set_column(matrix, 1, scaled(cross(toCamera, side), ly));
                    set_column(matrix, 2, scaled(toCamera, lz));
                } else {
                    const float3 axis = normalized(column(matrix, 2));
                    const float3 x = normalized(cross(axis, toCamera));
                    set_column(matrix, 0, scaled(x, lx));
                    set_column(matrix, 1, scaled(cross(axis, x), ly));
                }
            }
        }
        const float3 center = transform_point(matrix, mesh.bounds.center);
        const float largestAxis = std::max(length3(column(matrix, 0)),
                                           std::max(length3(column(matrix, 1)),
                                                    length3(column(matrix, 2))));
        const float radius = mesh.bounds.radius * largestAxis;

        for (size_t p = 0; p < mesh.submeshes.size(); ++p) {
            const Object::SubMesh& part = mesh.submeshes[p];
            if (part.material < 0 || size_t(part.material) >= object->materials.size())
                continue;
            const Object::Material& material = object->materials[size_t(part.material)];
            RenderArgs3Dsub subargs;
            subargs.object = object;
            subargs.model = matrix;
            subargs.color = float4(args.color.x, args.color.y, args.color.z, alpha);
            subargs.sort_key = 0;
            subargs.bones = bones;
            subargs.mesh = node.mesh;
            subargs.part = int(p);
            subargs.time = args.time;
            subargs.material = &material;
            subargs.center = center;
            subargs.radius = radius;

            // Texture substitutions of the draw that name this material.
            TextureOverride found[16];
            subargs.n_mixer = 0;
            for (int m = 0; m < args.mixer_count && args.mixers; ++m) {
                const Object::Mixer& mixer = args.mixers[m];
                if (!mixer.material || material.name != mixer.material)
                    continue;
                int a = 1, b = 0;
                if (mixer.slot)
                    std::sscanf(mixer.slot, "slot_%d_%d", &a, &b);
                PP_ASSERT(subargs.n_mixer < 16);
                ::Image* image = mixer.image ? mixer.image->engine() : nullptr;
                found[subargs.n_mixer].key = a * 256 + b;
                found[subargs.n_mixer].texture = image ? image->texture : nullptr;
                ++subargs.n_mixer;
            }
            subargs.mixers = nullptr;
            if (subargs.n_mixer) {
                void* memory = frameAllocator.alloc(unsigned(sizeof(TextureOverride)) *
                                                        unsigned(subargs.n_mixer),
                                                    unsigned(alignof(TextureOverride)));
                std::memcpy(memory, found, sizeof(TextureOverride) * size_t(subargs.n_mixer));
                subargs.mixers = static_cast<const TextureOverride*>(memory);
            }

            const int cls = transparency_class(material, alpha);
            const bool selfillum = material.map(kMapSelfillum) != 0;
            if (cls == 1)
                subargs.technique = selfillum ? "alpha1add" : "alpha1";
            else if (cls == 2)
                subargs.technique = selfillum ? "alpha8add" : "alpha8";
            else
                subargs.technique = selfillum ? "add" : "main";
            subargs.sequence = ++subDrawCounter;
            (cls == 2 ? transparent : opaque).push_back(subargs);
        }
    }
}

// ---- sorting

void Render::check_meshes()
{
    for (RenderArgs3Dsub& sub : transparent) {
        const Object::Mesh& mesh = sub.object->meshes[size_t(sub.mesh)];
        const float3 point = transform_point(sub.model, mesh.pivot);
        const float dx = point.x - cameraPos.x, dy = point.y - cameraPos.y,
                    dz = point.z - cameraPos.z;
        sub.sort_key = dx * dx + dy * dy + dz * dz;
        if (std::isnan(sub.sort_key)) {
            std::printf("%f %f %f %f %f %f %f\n", sub.sort_key, dx, dy, dz, point.x, point.y,
                        point.z);
            sub.sort_key = 0;
        }
    }
    // Opaque parts by material, so that each material is set once; see-through far to near.
    std::stable_sort(opaque.begin(), opaque.end(),
              [](const RenderArgs3Dsub& a, const RenderArgs3Dsub& b) {
                  if (a.material != b.material)
                      return std::less<const void*>()(a.material, b.material);
                  return std::less<const void*>()(a.object, b.object);
              });
    std::stable_sort(transparent.begin(), transparent.end(),
              [](const RenderArgs3Dsub& a, const RenderArgs3Dsub& b) {
                  return a.sort_key > b.sort_key;
              });
}

// ---- shadow maps

void Render::render_shadow_maps()
{
    if (lights.empty()) {
        // One light at the camera.
        light_instance li;
        li.id = 0;
        li.object = nullptr;
        li.world = identity4x3();
        li.world.m[0][3] = cameraPos.x;
        li.world.m[1][3] = cameraPos.y;
        li.world.m[2][3] = cameraPos.z;
        li.decay[0] = 0.83f;
        li.decay[1] = 0;
        li.decay[2] = 0.0065f;
        li.decay[3] = 1e10f;
        li.ambient = float3(0.1f, 0.1f, 0.1f);
        li.diffuse = float3(0.6f, 0.7f, 0.6f);
        li.specular = float3(0.5f, 0.5f, 0.5f);
        li.global_ambient = float3(0.1f, 0.1f, 0.1f);
        li.shadow = 0;
        li.projection = float4x4();
        li.projective = float4x4();
        li.shadow_map = nullptr;
        li.intensity = 0;
        li.weight = 0;
        lights.push_back(li);
    }
    lastMaterial = nullptr;
    for (int& id : lightSetCache)
        id = -2;
    globalAmbient[0] = globalAmbient[1] = globalAmbient[2] = 0;
    globalAmbient[3] = 1;

    // Texture space of the shadow map: x, y and z by 0.5 v + 0.5 (z a little less).
    static const float kBias[16] = {0.5f, 0, 0, 0.5f, 0, 0.5f, 0, 0.5f,
                                    0, 0, 0.5f, 0.4999f, 0, 0, 0, 1};
    for (light_instance& li : lights) {
        globalAmbient[0] += li.global_ambient.x;
        globalAmbient[1] += li.global_ambient.y;
        globalAmbient[2] += li.global_ambient.z;
        if (!li.shadow || !ensure_shadow_map())
            continue;
        const float4x3 lightView = affine_inverse(li.world);
        const float4x4 view4 = to4x4(lightView);
        float projected[16];
        mul4(projected, &li.projection.m[0][0], &view4.m[0][0]);
        mul4(&li.projective.m[0][0], kBias, projected);
        li.shadow_map = shadowTexture;
        float4 planes[6];
        compute_frustum(planes, li.projection, view4);
        device->SetMatrix(&li.projection.m[0][0], &lightView.m[0][0]);
        device->SetTarget(shadowTarget);
        device->Clear(0, 0, 0, false, true);
        for (RenderArgs3Dsub& sub : opaque)
            draw_shadow_caster(sub, planes);
    }
}

// The shared shadow map, made on first use. False when the device makes no render targets
// (framebuffer objects switched off): shadows are then left out for good, since drawing the
// casters would go into the window's own depth buffer.
bool Render::ensure_shadow_map()
{
    if (shadowTarget)
        return true;
    if (shadowsUnavailable)
        return false;
    shadowTexture = device->CreateTexture(0x81, kShadowMapSize, kShadowMapSize, nullptr, 1, nullptr);
    if (shadowTexture)
        shadowTarget = device->CreateFramebuffer(kShadowMapSize, kShadowMapSize, nullptr,
                                                 shadowTexture);
    if (!shadowTarget) {
        device->ReleaseTexture(shadowTexture);
        shadowTexture = nullptr;
        shadowsUnavailable = true;
        return false;
    }
    return true;
}

void Render::draw_shadow_caster(RenderArgs3Dsub& sub, const float4 planes[6])
{
    if (sphere_outside(planes, sub.center, sub.radius))
        return;
    Object::Mesh& mesh = sub.object->meshes[size_t(sub.mesh)];
    vbuffer_t_opaque* skinned = skin(sub, mesh);
    set_param(device, params.model_matrix, &sub.model.m[0][0]);
    if (params.object_id) {
        // The number's 32 bits, unchanged.
        float id[4] = {};
        std::memcpy(&id[0], &sub.sequence, sizeof(float));
        device->SetParam(params.object_id, id);
    }
    int flags[kFlagCount] = {};
    flags[kFlagSkinning] = mesh.skinned ? 1 : 0;
    draw_part(mesh, mesh.submeshes[size_t(sub.part)], "shadowmap", flags, skinned);
}

// ---- the 3D pass

void Render::pass_3d()
{
    device->SetMatrix(&projection.m[0][0], &view.m[0][0]);
    const float eye[4] = {cameraPos.x, cameraPos.y, cameraPos.z, 1};
    set_param(device, params.WSeyepos, eye);
    set_param(device, params.fog, fogParams);
    const float fogColour[4] = {fogColor[0], fogColor[1], fogColor[2], 1};
    set_param(device, params.fog_color, fogColour);
    fogState = 1;
    draw_opaque();
    for (RenderArgs3Dsub& sub : transparent)
        draw_list(sub, sub.technique);
    set_param(device, params.texture_matrix_dif, kIdentity4);
    set_param(device, params.texture_matrix_light, kIdentity4);
    set_param(device, params.texture_matrix_self, kIdentity4);
    for (Object* object : objects)
        object->unpin();
    Object::end_skinning_frame();
    objects.clear();
    opaque.clear();
    transparent.clear();
}

// The opaque list, in reverse when the device can make depth ties go to what is already drawn
// ("strict_depth"). In order with "nearer or equal" wins, a pixel shows the nearest fragment,
// of equal ones the last drawn; in reverse with "strictly nearer" wins it shows the nearest,
// of equal ones the first drawn in reverse: the same fragment, and the same depth. The picture
// is thus unchanged (except where one draw's own triangles meet at equal depth, where the
// other of the two may show), but the ground and the big surfaces, which the sort by material
// puts first, are drawn last, and their pixels hidden under paths, plots, buildings and
// trees fail the depth test before any texturing: a software rasterizer shades a third fewer
// pixels in the park view.
void Render::draw_opaque()
{
    // A material that bends what lies behind it copies the frame drawn so far: that needs the
    // list's own order.
    bool grabs = false;
    if (params.dudv)
        for (const RenderArgs3Dsub& sub : opaque)
            grabs = grabs || sub.material->map(kMapDudv) != 0;
    if (!params.strict_depth || grabs) {
        for (RenderArgs3Dsub& sub : opaque)
            draw_list(sub, sub.technique);
        return;
    }
    static const float kOn[4] = {1, 0, 0, 0}, kOff[4] = {0, 0, 0, 0};
    // Once half the list's triangles are set up, they are handed to the rasterizer ("submit"):
    // a software rasterizer's threads shade them while this thread sets up the other half,
    // instead of starting on the whole frame only when it is presented.
    long triangles = 0;
    for (const RenderArgs3Dsub& sub : opaque)
        triangles += sub.object->meshes[size_t(sub.mesh)].submeshes[size_t(sub.part)].count;
    long queued = 0;
    bool submitted = !params.submit;
    device->SetParam(params.strict_depth, kOn);
    strictDepth = true;
    for (size_t k = opaque.size(); k-- > 0;) {
        RenderArgs3Dsub& sub = opaque[k];
        draw_list(sub, sub.technique);
        if (submitted)
            continue;
        queued += sub.object->meshes[size_t(sub.mesh)].submeshes[size_t(sub.part)].count;
        if (2 * queued >= triangles) {
            device->SetParam(params.submit, kOn);
            submitted = true;
        }
    }
    strictDepth = false;
    device->SetParam(params.strict_depth, kOff);
}

void Render::draw_list(RenderArgs3Dsub& sub, const char* technique)
{
    if (sphere_outside(frustum, sub.center, sub.radius))
        return;
    Object::Mesh& mesh = sub.object->meshes[size_t(sub.mesh)];
    const Object::Material& material = *sub.material;

    const int wantFog = mesh.no_fog ? 0 : 1;
    if (wantFog != fogState) {
        set_param(device, params.fog, wantFog ? fogParams : kNoFog);
        fogState = wantFog;
    }

    int set[4];
    const bool unlit = material.no_light != 0;
    if (unlit) {
        set[0] = set[1] = set[2] = set[3] = kUnlitSet;
    } else {
        choose_lights(sub, set);
    }
    set_lights(set, unlit);

    if (params.bounding_sphere_os) {
        const Object::Bounds& b = mesh.bounds;
        const float sphere[4] = {b.center.x, b.center.y, b.center.z, b.radius};
        const float box0[4] = {b.box_min.x, b.box_min.y, b.box_min.z, 0};
        const float box1[4] = {b.box_max.x, b.box_max.y, b.box_max.z, 0};
        device->SetParam(params.bounding_sphere_os, sphere);
        set_param(device, params.bounding_box_os0, box0);
        set_param(device, params.bounding_box_os1, box1);
    }

    if (sub.material != lastMaterial || sub.n_mixer)
        set_material(sub);

    vbuffer_t_opaque* skinned = skin(sub, mesh);

    set_param(device, params.model_matrix, &sub.model.m[0][0]);
    const float colour[4] = {sub.color.x, sub.color.y, sub.color.z, sub.color.w};
    set_param(device, params.color, colour);
    if (params.texture_matrix_screenspace) {
        const float4x4 model4 = to4x4(sub.model);
        float screenSpace[16];
        mul4(screenSpace, &screenMatrix.m[0][0], &model4.m[0][0]);
        device->SetParam(params.texture_matrix_screenspace, screenSpace);
    }

    int flags[kFlagCount] = {};
    for (int k = 0; k < kMaps; ++k)
        flags[k] = mapBound[k] ? 1 : 0;
    flags[kFlagSkinning] = mesh.skinned ? 1 : 0;
    for (int slot = 0; slot < 4; ++slot) {
        const LightSlot& s = lightSlots[slot];
        flags[kFlagLight0 + 3 * slot] = s.active;
        flags[kFlagLight0 + 3 * slot + 1] = s.active && s.shadow;
        flags[kFlagLight0 + 3 * slot + 2] = s.active && s.projector;
    }
    flags[kFlagVColor] = mesh.has_colors ? 1 : 0;
    draw_part(mesh, mesh.submeshes[size_t(sub.part)], technique, flags, skinned);
}

// At most four lights for the sub-draw, the heaviest in reach: ids ascending, padded with -1.
void Render::choose_lights(const RenderArgs3Dsub& sub, int set[4])
{
    lightOrder.clear();
    for (size_t k = 0; k < lights.size(); ++k) {
        light_instance& li = lights[k];
        const float dx = sub.center.x - li.world.m[0][3];
        const float dy = sub.center.y - li.world.m[1][3];
        const float dz = sub.center.z - li.world.m[2][3];
        const float d = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (d <= sub.radius + li.decay[3]) {
            const float decay = li.decay[0] + li.decay[1] * d + li.decay[2] * d * d;
            // No decay at all: the light counts in full (and a NaN never reaches the sort).
            li.weight = decay > 0 ? li.intensity / decay : li.intensity;
            if (std::isnan(li.weight))
                li.weight = 0;
        } else {
            li.weight = -1;
        }
        lightOrder.push_back(int(k));
    }
    std::sort(lightOrder.begin(), lightOrder.end(), [this](int a, int b) {
        if (lights[size_t(a)].weight != lights[size_t(b)].weight)
            return lights[size_t(a)].weight > lights[size_t(b)].weight;
        return a < b;
    });
    int n = 0;
    for (int k : lightOrder) {
        if (n == 4 || lights[size_t(k)].weight < 0)
            break;
        set[n++] = lights[size_t(k)].id;
    }
    std::sort(set, set + n);
    for (int k = n; k < 4; ++k)
        set[k] = -1;
}

// Fills the four light slots from the chosen set, unless they already hold it.
void Render::set_lights(const int set[4], bool unlit)
{
    if (std::equal(set, set + 4, lightSetCache))
        return;
    static const float kFullAmbient[4] = {1, 1, 1, 1};
    set_param(device, params.global_ambient, unlit ? kFullAmbient : globalAmbient);
    std::copy(set, set + 4, lightSetCache);
    for (LightSlot& slot : lightSlots)
        slot.active = slot.shadow = slot.projector = 0;
    for (int k = 0; k < 4; ++k) {
        if (set[k] < 0 || size_t(set[k]) >= lights.size())
            continue;
        const light_instance& li = lights[size_t(set[k])];
        LightSlot& slot = lightSlots[k];
        slot.active = 1;
        slot.position[0] = li.world.m[0][3];
        slot.position[1] = li.world.m[1][3];
        slot.position[2] = li.world.m[2][3];
        const float3* colours[3] = {&li.ambient, &li.diffuse, &li.specular};
        float* targets[3] = {slot.ambient, slot.diffuse, slot.specular};
        for (int c = 0; c < 3; ++c) {
            targets[c][0] = colours[c]->x;
            targets[c][1] = colours[c]->y;
            targets[c][2] = colours[c]->z;
            targets[c][3] = 1;
        }
        // WSlightpos, light_ambient, light_diffuse, light_specular, decay_equation,
        // light_projective, shadowmap
        const float position[4] = {slot.position[0], slot.position[1], slot.position[2], 1};
        set_param(device, slot.handles[0], position);
        set_param(device, slot.handles[1], slot.ambient);
        set_param(device, slot.handles[2], slot.diffuse);
        set_param(device, slot.handles[3], slot.specular);
        set_param(device, slot.handles[4], li.decay);
        if (li.shadow && li.shadow_map) {
            set_param(device, slot.handles[5], &li.projective.m[0][0]);
            if (slot.handles[6])
                device->SetParamTexture(slot.handles[6], li.shadow_map);
        }
    }
}

void Render::set_material(const RenderArgs3Dsub& sub)
{
    const Object::Material& material = *sub.material;
    const Object* object = sub.object;
    const float diffuse[4] = {material.diffuse[0], material.diffuse[1], material.diffuse[2],
                              material.opacity};
    const float specular[4] = {material.specular[0], material.specular[1], material.specular[2], 1};
    const float ambient[4] = {material.ambient[0], material.ambient[1], material.ambient[2], 1};
    set_param(device, params.color_diffuse, diffuse);
    set_param(device, params.color_specular, specular);
    set_param(device, params.color_ambient, ambient);
    const float power[4] = {material.specular_power, 0, 0, 0};
    const float level[4] = {material.specular_level, 0, 0, 0};
    set_param(device, params.specular_power, power);
    set_param(device, params.specular_level, level);

    // Animated texture transforms of the maps the material has.
    struct {
        int map;
        parameter_t_opaque* param;
    } const animated[3] = {{kMapDiffuse, params.texture_matrix_dif},
                           {kMapLightmap, params.texture_matrix_light},
                           {kMapSelfillum, params.texture_matrix_self}};
    float matrix[16];
    for (const auto& a : animated) {
        const int index = material.map(a.map);
        if (a.param && index > 0 && size_t(index) < object->textures.size()) {
            object->textures[size_t(index)].get_matrix(sub.time, matrix);
            device->SetParam(a.param, matrix);
        }
    }
    const int dudv = material.map(kMapDudv);
    if (dudv && params.dudv) {
        if (screenGrabs < maxScreenGrabs) {
            grab_screen_background();
            ++screenGrabs;
        }
        if (params.texture_matrix_dudv && size_t(dudv) < object->textures.size()) {
            object->textures[size_t(dudv)].get_matrix(sub.time, matrix);
            device->SetParam(params.texture_matrix_dudv, matrix);
        }
    }

    parameter_t_opaque* const samplers[kMaps] = {params.diffuse,   params.lightmap,
                                                 params.envmask,   params.specular,
                                                 params.selfillum, params.dudv,
                                                 params.normalmap, params.envmap};
    for (int k = 0; k < kMaps; ++k) {
        texture_t_opaque* texture = object_texture(object, material.map(k));
        for (int m = 0; m < sub.n_mixer; ++m)
            if (sub.mixers[m].key == kOverrideKey[k])
                texture = sub.mixers[m].texture;
        if (samplers[k])
            device->SetParamTexture(samplers[k], texture);
        mapBound[k] = texture != nullptr;
    }
    // Substituted textures belong to this sub-draw only.
    lastMaterial = sub.n_mixer ? nullptr : sub.material;
}

// Software skinning into the mesh's vertex buffer (once per bone-matrix array), and the bone
// matrices for a device that skins.
vbuffer_t_opaque* Render::skin(RenderArgs3Dsub& sub, Object::Mesh& mesh)
{
    vbuffer_t_opaque* skinned = mesh.dynamic_vb;
    if (mesh.swskinned)
        skinned = Object::apply_skinning(&mesh, device, sub.bones, sub.bones);
    if (sub.bones && params.bones && mesh.skinned)
        device->SetParamFloatArray(params.bones, &sub.bones->m[0][0], 12,
                                   int(sub.object->bones.size()));
    return skinned;
}

// The mesh's streams, those of its dynamic buffer taken from the figure's skinned buffer.
void Render::draw_part(const Object::Mesh& mesh, const Object::SubMesh& part,
                       const char* technique, const int* flags, vbuffer_t_opaque* skinned)
{
    const Device::vertex_element* streams = mesh.streams.data();
    const int n_streams = int(mesh.streams.size());
    Device::vertex_element own[16];
    if (skinned && skinned != mesh.dynamic_vb && n_streams <= 16) {
        for (int k = 0; k < n_streams; ++k) {
            own[k] = streams[k];
            if (own[k].buffer == mesh.dynamic_vb)
                own[k].buffer = skinned;
        }
        streams = own;
    }
    const int result = device->SetShaderFlags(kFlagNames, flags);
    technique_t_opaque* handle = device->GetTechnique(result, technique);
    static const float kOn[4] = {1, 0, 0, 0}, kOff[4] = {0, 0, 0, 0};
    int passes = 0;
    for (int pass = device->GetFirstPass(handle); pass; pass = device->GetNextPass(pass)) {
        // A later pass draws over the first one's surface at equal depth.
        if (strictDepth && passes == 1)
            device->SetParam(params.strict_depth, kOff);
        device->BeginPass(pass);
        device->Draw(Device::tri_list, part.index_buffer, 32, part.start, part.count, streams, n_streams,
                     part.min_index, part.max_index - part.min_index + 1);
        device->EndPass(pass);
        ++passes;
    }
    if (strictDepth && passes > 1)
        device->SetParam(params.strict_depth, kOn);
}

// ---- screen grabs

// Copies the current target into the screen-background texture, for materials that bend what
// lies behind them.
void Render::grab_screen_background()
{
    if (!params.screen_background)
        return;
    int width = 0, height = 0;
    device->GetTargetSize(currentTarget, &width, &height);
    ensure_screen_texture(width, height);
    device->ReadBackTexture(screenBackground, 0, 0, width, height, false, &screenBounds);
}

void Render::ensure_screen_texture(int width, int height)
{
    if (screenBackground) {
        int w = 0, h = 0;
        device->GetTextureInfo(screenBackground, &w, &h, nullptr);
        if (w >= width && h >= height)
            return;
        device->ReleaseTexture(screenBackground);
        screenBackground = nullptr;
    }
    int w = width, h = height;
    if (!(device->getFeatures() & Device::feature_any_target_size)) {
        w = 1;
        while (w < width)
            w *= 2;
        h = 1;
        while (h < height)
            h *= 2;
    }
    texture_t_opaque* tex = device->CreateTexture(0x100, w, h, nullptr, 1, nullptr);
    PP_ASSERT(tex != 0);
    screenBackground = tex;
    device->SetParamTexture(params.screen_background, screenBackground);
}
