#pragma once

// Scenes built by hand for the reader and writer tests.

#include "render/Engine2Scene.h"

#include <string>
#include <vector>

namespace scenesamples {

inline float4x4 translation(float x, float y, float z)
{
    float4x4 m;
    for (int i = 0; i < 4; ++i)
        m.m[i][i] = 1;
    m.m[3][0] = x;
    m.m[3][1] = y;
    m.m[3][2] = z;
    return m;
}

// A scene using every member of every kind, at least two elements of each, with animated
// tracks and two triangle lists; its links are those of a loadable scene.
inline Engine2Scene fullScene()
{
    Engine2Scene s;
    s.comments = "generated";
    s.Frames = 2;
    s.Fps = 25;

    for (int i = 0; i < 2; ++i) {
        Engine2Scene::File f;
        f.file_name = i ? "!grass.png" : "";
        f.data = i ? std::vector<char>() : std::vector<char>({'\x89', 'P', 'N', 'G', 0, 1});
        f.data6[2] = {'x', 'y'};
        f.only_link = i;
        s.file.push_back(f);

        Engine2Scene::TextureMap t;
        t.amt = 0.5f + i;
        t.uoff = {0, 0.25f, 0};
        t.voff = {0.1f};
        t.uscl = {2};
        t.vscl = {3, 4};
        t.blur = {1};
        t.bluroff = {2};
        t.chanel = 1, t.umirror = 2, t.utille = 3, t.vmirror = 4, t.vtille = 5;
        t.name = "map" + std::to_string(i);
        t.file = 1;
        t.autogencube = i;
        s.texture_map.push_back(t);

        Engine2Scene::Material m;
        m.name = i ? "Grass NO_LIGHT" : "Wall";
        m.slot(1) = 1;
        m.texture_map[383] = -7;
        m.shader_file = 3;
        Engine2Scene::Material::MaxMat mm;
        mm.words[0] = 1;
        mm.set_float(26, 0.75f);
        m.maxmat = {mm, mm};
        s.material.push_back(m);
    }

    // Vertex buffer 0 / triangle buffer 0 / mesh 0 are the empty dummies.
    s.vertexbuffer.resize(2);
    Engine2Scene::VertexBuffer& vb = s.vertexbuffer[1];
    vb.xyz = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    vb.normal = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    vb.color = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}};
    vb.illumination = {0.5f};
    vb.alpha = {1, 1};
    for (int i = 0; i < 16; ++i) {
        vb.uvw[i] = {{float(i), 0, 0}};
        vb.weight[i] = {0.25f * (i % 4)};
        vb.bone[i] = {1, 0, 1, 1};
    }
    s.trianglebuffer.resize(2);
    Engine2Scene::TriangleBuffer& tb = s.trianglebuffer[1];
    tb.color = {0.1f, 0.2f, 0.3f};
    tb.vertexbuffer = 1;
    tb.triangle = {{{0, 1, 2}}, {{1, 3, 2}, {0, 1, 3}}};
    tb.material = {0, 1};

    s.mesh.resize(2);
    Engine2Scene::Mesh& mesh = s.mesh[1];
    mesh.name = "!billboard_z box";
    mesh.node = 1;
    mesh.is_skined = 1;
    mesh.is_moving = 1;
    mesh.visibility = {1, 0.5f, 1};
    mesh.matrix = {translation(0, 0, 0), translation(0, 0, 1), translation(0, 0, 0)};
    mesh.inv0_matrix = translation(0, 0, 0);
    mesh.trianglebuffer = 1;

    s.bone.resize(2);
    Engine2Scene::Bone& bone = s.bone[1];
    bone.name = "leg";
    bone.node = 2;
    bone.matrix = {translation(1, 0, 0)};
    bone.inv0_matrix = translation(-1, 0, 0);
    bone.dimension = {{1, 2, 3}};
    bone.center = {{4, 5, 6}};
    bone.anchor = {{7, 8, 9}};
    bone.rotation = {{1, 1, 1}, {2, 2, 2}};
    bone.width = 1, bone.height = 2, bone.taper = 3;

    // Nodes: 0 root, 1 mesh (top-level) with children 2 (bone) and 3 (camera), 4 light, 5 helper node.
    s.node.resize(6);
    s.node[0].matrix = {translation(0, 0, 0)};
    s.node[1].name = "Box";
    s.node[1].type = "mesh";
    s.node[1].xref_file_name = "x.3dn";
    s.node[1].user_text = "info";
    s.node[1].subnode = {2, 0, 3};
    s.node[1].layer_number = 3;
    s.node[1].is_xref = 1, s.node[1].is_hide = 2, s.node[1].is_frozen = 3, s.node[1].is_renderable = 1;
    s.node[1].is_group = 4, s.node[1].wire_color = 0x00ff00;
    s.node[1].mesh = 1;
    s.node[1].image_multiplier = {1.5f};
    s.node[1].matrix = mesh.matrix;
    s.node[1].inv0_matrix = translation(0, 0, 0);
    s.node[2].name = "leg";
    s.node[2].parent = 1;
    s.node[2].bone = 1;
    s.node[2].matrix = bone.matrix;
    s.node[3].name = "cam";
    s.node[3].parent = 1;
    s.node[3].camera = 1;
    s.node[4].name = "sun !amb=0.3";
    s.node[4].light = 1;
    s.node[5].name = "Kennel_helper";
    s.node[5].matrix = {translation(5, 5, 0), translation(5, 6, 0), translation(5, 5, 0)};
    s.node[5].helper = 1;

    s.camera.resize(2);
    s.camera[1].node = 3;
    s.camera[1].matrix = {translation(0, -10, 5), translation(0, -9, 5), translation(0, -10, 5)};
    s.camera[1].fov_deg = {60, 70, 60};
    s.camera[1].near_clip = {0.1f};
    s.camera[1].far_clip = {1000};

    s.light.resize(2);
    Engine2Scene::Light& l = s.light[1];
    l.node = 4;
    l.is_omni = 1, l.is_direct = 2, l.is_spot = 3, l.type = 4, l.texture = 5, l.shadows = 6, l.on = 7;
    l.decay_start_stop = 8, l.decay_inv = 9, l.decay_inv_sqrt = 10;
    l.aspect = 1.5f, l.AtmosColAmt = 2, l.AtmosOpacity = 3, l.Contrast = 4, l.DiffuseSoft = 5;
    l.spot_circle = 11, l.spot_rectangle = 12, l.affect_difuse = 13, l.affect_specular = 14;
    l.affect_ambient = 15, l.LightAffectsShadow = 16, l.AtmosShadows = 17, l.ShadowType = 18;
    l.Overshoot = 19, l.ConeDisplay = 20;
    l.angle_small = {30}, l.angle_big = {45}, l.near_atten_start = {1}, l.near_atten_end = {2};
    l.far_atten_start = {10}, l.far_atten_end = {100}, l.decay_start = {3};
    l.excluded = {2, 3};
    l.color = {{1, 0.9f, 0.8f}};
    l.color_shadow = {{0, 0, 0}};
    l.multiply = {1, 2};
    l.multiply2 = {7};
    l.matrix = {translation(0, 0, 20)};

    s.helper.resize(2);
    Engine2Scene::Helper& h = s.helper[1];
    h.type = "dummy";
    h.pn_node = {"a", "b"};
    h.p_node = {1, 2};
    h.pn_int = {"i"};
    h.p_int = {42};
    h.pn_float = {"f"};
    h.p_float = {0.5f};
    h.pn_string = {"s"};
    h.p_string = {"text with spaces", ""};
    h.pn_float3 = {"v"};
    h.p_float3 = {{1, 2, 3}};
    h.pn_float4 = {"q"};
    h.p_float4 = {{1, 2, 3, 4}};
    h.pn_float3x3 = {"m"};
    float3x3 m3;
    m3.m[1][2] = 9;
    h.p_float3x3 = {m3};
    return s;
}

} // namespace scenesamples
