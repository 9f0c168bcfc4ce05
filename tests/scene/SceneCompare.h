#pragma once

// Field-for-field comparison of two scenes, reporting the first difference by its path
// ("node[3].matrix"). Numbers compare bit for bit: a round trip must not change a single bit.

#include "render/Engine2Scene.h"

#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

namespace scenecompare {

struct Diff {
    std::string where;
    bool operator()(bool same, const std::string& path)
    {
        if (!same && where.empty())
            where = path;
        return same;
    }
};

template <class T>
typename std::enable_if<std::is_trivially_copyable<T>::value, bool>::type same(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

inline bool same(const std::string& a, const std::string& b)
{
    return a == b;
}

template <class T>
bool same(const std::vector<T>& a, const std::vector<T>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!same(a[i], b[i]))
            return false;
    return true;
}

#define SC_FIELD(f) d(same(a.f, b.f), path + "." #f)

inline void compare(const Engine2Scene::File& a, const Engine2Scene::File& b, const std::string& path, Diff& d)
{
    SC_FIELD(file_name);
    SC_FIELD(data);
    for (int i = 0; i < 6; ++i)
        SC_FIELD(data6[i]);
    SC_FIELD(only_link);
}

inline void compare(const Engine2Scene::TextureMap& a, const Engine2Scene::TextureMap& b, const std::string& path,
                    Diff& d)
{
    SC_FIELD(amt), SC_FIELD(uoff), SC_FIELD(voff), SC_FIELD(uscl), SC_FIELD(vscl), SC_FIELD(blur);
    SC_FIELD(bluroff), SC_FIELD(chanel), SC_FIELD(umirror), SC_FIELD(utille), SC_FIELD(vmirror);
    SC_FIELD(vtille), SC_FIELD(name), SC_FIELD(file), SC_FIELD(autogencube);
}

inline void compare(const Engine2Scene::Material& a, const Engine2Scene::Material& b, const std::string& path,
                    Diff& d)
{
    SC_FIELD(name), SC_FIELD(texture_map), SC_FIELD(shader_file), SC_FIELD(maxmat);
}

// Binormals and tangents are not read back, so they are left out with withTangents false.
inline void compare(const Engine2Scene::VertexBuffer& a, const Engine2Scene::VertexBuffer& b,
                    const std::string& path, Diff& d, bool withTangents = true)
{
    SC_FIELD(xyz), SC_FIELD(normal), SC_FIELD(color), SC_FIELD(illumination), SC_FIELD(alpha);
    if (withTangents)
        SC_FIELD(binormal), SC_FIELD(tangent);
    for (int i = 0; i < 16; ++i)
        SC_FIELD(uvw[i]), SC_FIELD(weight[i]), SC_FIELD(bone[i]);
}

inline void compare(const Engine2Scene::TriangleBuffer& a, const Engine2Scene::TriangleBuffer& b,
                    const std::string& path, Diff& d)
{
    SC_FIELD(color), SC_FIELD(vertexbuffer), SC_FIELD(triangle), SC_FIELD(material);
}

inline void compare(const Engine2Scene::Mesh& a, const Engine2Scene::Mesh& b, const std::string& path, Diff& d)
{
    SC_FIELD(name), SC_FIELD(node), SC_FIELD(is_skined), SC_FIELD(is_moving), SC_FIELD(visibility);
    SC_FIELD(matrix), SC_FIELD(inv0_matrix), SC_FIELD(trianglebuffer);
}

inline void compare(const Engine2Scene::Bone& a, const Engine2Scene::Bone& b, const std::string& path, Diff& d)
{
    SC_FIELD(name), SC_FIELD(node), SC_FIELD(matrix), SC_FIELD(inv0_matrix), SC_FIELD(dimension);
    SC_FIELD(center), SC_FIELD(anchor), SC_FIELD(rotation), SC_FIELD(width), SC_FIELD(height), SC_FIELD(taper);
}

inline void compare(const Engine2Scene::Node& a, const Engine2Scene::Node& b, const std::string& path, Diff& d)
{
    SC_FIELD(name), SC_FIELD(type), SC_FIELD(xref_file_name), SC_FIELD(user_text), SC_FIELD(parent);
    SC_FIELD(subnode), SC_FIELD(layer_number), SC_FIELD(is_xref), SC_FIELD(is_hide), SC_FIELD(is_frozen);
    SC_FIELD(is_renderable), SC_FIELD(is_group), SC_FIELD(mesh), SC_FIELD(bone), SC_FIELD(camera);
    SC_FIELD(light), SC_FIELD(helper), SC_FIELD(wire_color), SC_FIELD(image_multiplier), SC_FIELD(matrix);
    SC_FIELD(inv0_matrix);
}

inline void compare(const Engine2Scene::Camera& a, const Engine2Scene::Camera& b, const std::string& path, Diff& d)
{
    SC_FIELD(node), SC_FIELD(matrix), SC_FIELD(fov_deg), SC_FIELD(near_clip), SC_FIELD(far_clip);
}

// The second multiplier track reads back as the first, so b.multiply2 is compared with a.multiply
// when secondFromFirst is set.
inline void compare(const Engine2Scene::Light& a, const Engine2Scene::Light& b, const std::string& path, Diff& d,
                    bool secondFromFirst = false)
{
    SC_FIELD(node), SC_FIELD(is_omni), SC_FIELD(is_direct), SC_FIELD(is_spot), SC_FIELD(type), SC_FIELD(texture);
    SC_FIELD(shadows), SC_FIELD(on), SC_FIELD(decay_start_stop), SC_FIELD(decay_inv), SC_FIELD(decay_inv_sqrt);
    SC_FIELD(aspect), SC_FIELD(AtmosColAmt), SC_FIELD(AtmosOpacity), SC_FIELD(Contrast), SC_FIELD(DiffuseSoft);
    SC_FIELD(spot_circle), SC_FIELD(spot_rectangle), SC_FIELD(affect_difuse), SC_FIELD(affect_specular);
    SC_FIELD(affect_ambient), SC_FIELD(LightAffectsShadow), SC_FIELD(AtmosShadows), SC_FIELD(ShadowType);
    SC_FIELD(Overshoot), SC_FIELD(ConeDisplay), SC_FIELD(angle_small), SC_FIELD(angle_big);
    SC_FIELD(near_atten_start), SC_FIELD(near_atten_end), SC_FIELD(far_atten_start), SC_FIELD(far_atten_end);
    SC_FIELD(decay_start), SC_FIELD(excluded), SC_FIELD(color), SC_FIELD(color_shadow), SC_FIELD(multiply);
    SC_FIELD(matrix);
    if (secondFromFirst)
        d(same(a.multiply, b.multiply2), path + ".multiply2");
    else
        SC_FIELD(multiply2);
}

inline void compare(const Engine2Scene::Helper& a, const Engine2Scene::Helper& b, const std::string& path, Diff& d)
{
    SC_FIELD(type), SC_FIELD(pn_node), SC_FIELD(p_node), SC_FIELD(pn_int), SC_FIELD(p_int), SC_FIELD(pn_float);
    SC_FIELD(p_float), SC_FIELD(pn_string), SC_FIELD(p_string), SC_FIELD(pn_float3), SC_FIELD(p_float3);
    SC_FIELD(pn_float4), SC_FIELD(p_float4), SC_FIELD(pn_float3x3), SC_FIELD(p_float3x3);
}

#undef SC_FIELD

template <class T, class... Flags>
void compareList(const std::vector<T>& a, const std::vector<T>& b, const std::string& name, Diff& d, Flags... flags)
{
    if (!d(a.size() == b.size(), name + ".size()"))
        return;
    for (size_t i = 0; i < a.size(); ++i)
        compare(a[i], b[i], name + "[" + std::to_string(i) + "]", d, flags...);
}

// The first difference between a scene written and the scene read back ("" when none).
// Read-back rules: vertex buffers lose binormal and tangent; a light's second multiplier track
// equals its first.
inline std::string roundTripDifference(const Engine2Scene& written, const Engine2Scene& read)
{
    Diff d;
    d(written.comments == read.comments, "comments");
    d(same(written.Frames, read.Frames), "Frames");
    d(same(written.Fps, read.Fps), "Fps");
    compareList(written.file, read.file, "file", d);
    compareList(written.texture_map, read.texture_map, "texture_map", d);
    compareList(written.material, read.material, "material", d);
    compareList(written.vertexbuffer, read.vertexbuffer, "vertexbuffer", d, false);
    for (size_t i = 0; i < read.vertexbuffer.size(); ++i)
        d(read.vertexbuffer[i].binormal.empty() && read.vertexbuffer[i].tangent.empty(),
          "vertexbuffer[" + std::to_string(i) + "] tangents read back");
    compareList(written.trianglebuffer, read.trianglebuffer, "trianglebuffer", d);
    compareList(written.mesh, read.mesh, "mesh", d);
    compareList(written.bone, read.bone, "bone", d);
    compareList(written.node, read.node, "node", d);
    compareList(written.camera, read.camera, "camera", d);
    compareList(written.light, read.light, "light", d, true);
    compareList(written.helper, read.helper, "helper", d);
    return d.where;
}

} // namespace scenecompare
