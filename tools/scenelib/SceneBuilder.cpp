#include "scenelib/SceneBuilder.h"

#include "core/Assert.h"
#include "render/scene_file.h"

#include <cmath>
#include <cstdio>

namespace scenelib {

// ---- scene

SceneBuilder::SceneBuilder()
{
    // The dummies behind index 0 of every linked list.
    Engine2Scene::Node root;
    root.matrix = {identity()};
    root.inv0_matrix = identity();
    mScene.node.push_back(root);
    mNodes.push_back(NodeInfo{Track{identity()}, Track{identity()}, identity()});

    mScene.vertexbuffer.emplace_back();
    mScene.trianglebuffer.emplace_back();
    Engine2Scene::Mesh mesh;
    mesh.matrix = {identity()};
    mesh.inv0_matrix = identity();
    mScene.mesh.push_back(mesh);

    Engine2Scene::Bone bone;
    bone.matrix = {identity()};
    bone.inv0_matrix = identity();
    mScene.bone.push_back(bone);

    Engine2Scene::Camera camera;
    camera.matrix = {identity()};
    mScene.camera.push_back(camera);

    Engine2Scene::Light light;
    light.matrix = {identity()};
    mScene.light.push_back(light);
}

void SceneBuilder::setAnimation(int frames, float fps)
{
    mScene.Frames = float(frames);
    mScene.Fps = fps;
}

void SceneBuilder::setComments(const std::string& text)
{
    mScene.comments = text;
}

// ---- nodes and helpers

// The file holds world tracks: a child's world key is its local key times its parent's world
// key of the same frame, or of the first frame where either track is static.
int SceneBuilder::newNode(const std::string& name, const char* type, int parent, const Track& local, int layer,
                          const float4x4* restLocal)
{
    PP_ASSERT_MSG(parent >= 0 && parent < int(mNodes.size()), "parent node does not exist");
    PP_ASSERT_MSG(!local.empty(), "a node needs at least one matrix key");
    const NodeInfo& p = mNodes[size_t(parent)];
    NodeInfo info;
    info.local = local;
    if (parent == 0) {
        info.world = local;
    } else if (local.size() == 1) {
        info.world = {mul(local[0], p.world[0])};
    } else {
        PP_ASSERT_MSG(p.world.size() == 1 || p.world.size() == local.size(),
                      "a node's track and its parent's need equally many keys");
        for (size_t f = 0; f < local.size(); ++f)
            info.world.push_back(mul(local[f], p.world[p.world.size() == 1 ? 0 : f]));
    }
    info.restWorld = mul(restLocal ? *restLocal : local[0], p.restWorld);

    Engine2Scene::Node n;
    n.name = name;
    n.type = type;
    n.parent = parent;
    n.layer_number = layer;
    n.matrix = info.world;
    n.inv0_matrix = identity();
    mScene.node.push_back(n);
    mNodes.push_back(info);
    int index = int(mScene.node.size()) - 1;
    if (parent != 0)
        mScene.node[size_t(parent)].subnode.push_back(index);
    return index;
}

int SceneBuilder::addNode(const std::string& name, int parent, const Track& local, int layer)
{
    return newNode(name, "node", parent, local, layer, nullptr);
}

int SceneBuilder::addHelper(const std::string& name, float3 position, int layer, int parent)
{
    return newNode(name, "helper", parent, Track{translation(position)}, layer, nullptr);
}

void SceneBuilder::setLayer(int node, int layer)
{
    PP_ASSERT_MSG(node > 0 && node < int(mNodes.size()) && layer >= 0, "no such node or layer");
    mScene.node[size_t(node)].layer_number = layer;
}

void SceneBuilder::setUserText(int node, const std::string& text)
{
    PP_ASSERT_MSG(node > 0 && node < int(mNodes.size()), "no such node");
    mScene.node[size_t(node)].user_text = text;
}

// ---- materials and textures

// Material words as the renderer reads them: 0 a flag (1), 8-10 ambient, 11-13 diffuse,
// 14-16 specular colour, 23 specular power / 100, 24 specular level, 26 opacity.
int SceneBuilder::addMaterial(const MaterialDesc& desc)
{
    Engine2Scene::Material m;
    m.name = desc.name;
    for (int s = 0; s < 16; ++s) {
        PP_ASSERT_MSG(desc.maps[s] == 0 || (desc.maps[s] > 0 && desc.maps[s] < int(mScene.texture_map.size())),
                      "material names a texture that was not added");
        m.slot(s) = desc.maps[s];
    }
    Engine2Scene::Material::MaxMat mm;
    mm.words[0] = 1;
    const float3 ambient = desc.ambient ? *desc.ambient : desc.diffuse;
    const float3 colours[3] = {ambient, desc.diffuse, desc.specular};
    for (int c = 0; c < 3; ++c) {
        mm.set_float(8 + 3 * c, colours[c].x);
        mm.set_float(9 + 3 * c, colours[c].y);
        mm.set_float(10 + 3 * c, colours[c].z);
    }
    mm.set_float(23, desc.specularPower / 100.0f);
    mm.set_float(24, desc.specularLevel);
    mm.set_float(26, desc.opacity);
    m.maxmat.push_back(mm);
    mScene.material.push_back(m);
    return int(mScene.material.size()) - 1;
}

namespace {

// The first texture brings the dummies: file 0, and texture map 0 on the first real file so
// that loading it reads a real image.
int addMap(Engine2Scene& scene, const Engine2Scene::File& file, bool shareByName)
{
    if (scene.file.empty())
        scene.file.emplace_back();
    int index = 0;
    for (size_t i = 1; i < scene.file.size() && shareByName; ++i)
        if (scene.file[i].file_name == file.file_name)
            index = int(i);
    if (!index) {
        scene.file.push_back(file);
        index = int(scene.file.size()) - 1;
    }
    Engine2Scene::TextureMap map;
    map.file = index;
    if (scene.texture_map.empty())
        scene.texture_map.push_back(map);
    map.name = file.file_name;
    map.amt = 1;
    scene.texture_map.push_back(map);
    return int(scene.texture_map.size()) - 1;
}

} // namespace

int SceneBuilder::addTexture(const std::string& fileName)
{
    PP_ASSERT_MSG(!fileName.empty(), "a texture needs a file name");
    Engine2Scene::File f;
    f.file_name = fileName[0] == '!' ? fileName : "!" + fileName;
    return addMap(mScene, f, true);
}

int SceneBuilder::addEmbeddedTexture(const std::string& name, const std::vector<char>& imageBytes)
{
    PP_ASSERT_MSG(!imageBytes.empty(), "an embedded texture needs its image");
    Engine2Scene::File f;
    f.file_name = name;
    f.data = imageBytes;
    return addMap(mScene, f, false);
}

// ---- meshes

int SceneBuilder::addGeometry(const std::string& name, const MeshData& mesh, bool skinned)
{
    const size_t n = mesh.xyz.size();
    PP_ASSERT_MSG(mesh.normal.size() == n, "every vertex needs a normal");
    PP_ASSERT_MSG(mesh.color.empty() || mesh.color.size() == n, "colours for some vertices only");
    PP_ASSERT_MSG(mesh.uv.empty() || mesh.uv.size() == n, "texture coordinates for some vertices only");

    Engine2Scene::VertexBuffer vb;
    vb.xyz = mesh.xyz;
    vb.normal = mesh.normal;
    vb.color = mesh.color;
    vb.uvw[0] = mesh.uv;
    if (skinned) {
        PP_ASSERT_MSG(mesh.skin.size() == n, "a skinned mesh needs influences for every vertex");
        for (int c = 0; c < 4; ++c) {
            vb.bone[c].resize(n);
            vb.weight[c].resize(n);
        }
        for (size_t v = 0; v < n; ++v) {
            const Influence& in = mesh.skin[v];
            float sum = 0;
            for (int c = 0; c < 4; ++c) {
                PP_ASSERT_MSG(in.bone[c] >= 0 && in.bone[c] < int(mScene.bone.size()), "vertex bound to no such bone");
                sum += in.bone[c] ? in.weight[c] : 0;
            }
            PP_ASSERT_MSG(sum > 0, "a skinned vertex needs a bone");
            for (int c = 0; c < 4; ++c) {
                vb.bone[c][v] = in.bone[c];
                vb.weight[c][v] = in.bone[c] ? in.weight[c] / sum : 0;
            }
        }
    }

    Engine2Scene::TriangleBuffer tb;
    tb.vertexbuffer = int(mScene.vertexbuffer.size());
    for (const MeshPart& part : mesh.parts) {
        if (part.triangles.empty())
            continue;
        PP_ASSERT_MSG(part.material >= 0 && part.material < int(mScene.material.size()),
                      "mesh part names a material that was not added");
        for (const Engine2Scene::int3& t : part.triangles)
            PP_ASSERT_MSG(t.a >= 0 && t.b >= 0 && t.c >= 0 && size_t(t.a) < n && size_t(t.b) < n && size_t(t.c) < n,
                          "triangle names a vertex the mesh does not have");
        tb.triangle.push_back(part.triangles);
        tb.material.push_back(part.material);
    }
    mScene.vertexbuffer.push_back(vb);
    mScene.trianglebuffer.push_back(tb);

    Engine2Scene::Mesh m;
    m.name = name;
    m.is_skined = skinned ? 1 : 0;
    m.visibility = {1};
    m.inv0_matrix = identity();
    m.trianglebuffer = int(mScene.trianglebuffer.size()) - 1;
    mScene.mesh.push_back(m);
    return int(mScene.mesh.size()) - 1;
}

// The mesh's node carries the mesh's world track.
int SceneBuilder::addMeshNode(const std::string& name, const MeshData& mesh, bool skinned, int parent,
                              const Track& local, int layer)
{
    int index = addGeometry(name, mesh, skinned);
    int node = newNode(name, "mesh", parent, local, layer, nullptr);
    Engine2Scene::Node& n = mScene.node[size_t(node)];
    n.mesh = index;
    n.is_renderable = 1;
    mScene.mesh[size_t(index)].node = node;
    mScene.mesh[size_t(index)].matrix = n.matrix;
    return node;
}

int SceneBuilder::addMesh(const std::string& name, const MeshData& mesh, int parent, const Track& local, int layer)
{
    return addMeshNode(name, mesh, false, parent, local, layer);
}

void SceneBuilder::setVisibility(int node, const std::vector<float>& track)
{
    PP_ASSERT_MSG(node > 0 && node < int(mNodes.size()) && mScene.node[size_t(node)].mesh, "not a mesh node");
    mScene.mesh[size_t(mScene.node[size_t(node)].mesh)].visibility = track;
}

// ---- bones and skinning

int SceneBuilder::addBone(const std::string& name, int parent, const float4x4& restLocal, const Track& local)
{
    int node = newNode(name, "bone", parent, local.empty() ? Track{restLocal} : local, 0, &restLocal);
    Engine2Scene::Bone b;
    b.name = name;
    b.node = node;
    b.matrix = mNodes[size_t(node)].world;
    // Skinning maps a rest-pose vertex through the inverse rest matrix, then the bone's world.
    b.inv0_matrix = inverse(mNodes[size_t(node)].restWorld);
    mScene.bone.push_back(b);
    Engine2Scene::Node& n = mScene.node[size_t(node)];
    n.bone = int(mScene.bone.size()) - 1;
    n.inv0_matrix = b.inv0_matrix;
    return node;
}

int SceneBuilder::boneIndex(int node) const
{
    PP_ASSERT_MSG(node > 0 && node < int(mNodes.size()) && mScene.node[size_t(node)].bone, "not a bone node");
    return mScene.node[size_t(node)].bone;
}

float4x4 SceneBuilder::restWorld(int node) const
{
    PP_ASSERT_MSG(node >= 0 && node < int(mNodes.size()), "no such node");
    return mNodes[size_t(node)].restWorld;
}

MeshData SceneBuilder::skinPiece(const MeshData& piece, int boneNode) const
{
    return boundToBone(transformed(piece, restWorld(boneNode)), boneIndex(boneNode));
}

int SceneBuilder::addSkinnedMesh(const std::string& name, const MeshData& mesh, int layer)
{
    return addMeshNode(name, mesh, true, 0, Track{identity()}, layer);
}

// ---- cameras and lights

int SceneBuilder::addCamera(const std::string& name, const CameraKey& key, int layer)
{
    return addCamera(name, std::vector<CameraKey>{key}, layer);
}

// Scene files hold a camera's horizontal field of view (of a 4:3 picture).
int SceneBuilder::addCamera(const std::string& name, const std::vector<CameraKey>& keys, int layer)
{
    PP_ASSERT_MSG(!keys.empty(), "a camera needs a key");
    const double kDegrees = 180.0 / 3.14159265358979323846;
    Engine2Scene::Camera c;
    Track track;
    for (const CameraKey& k : keys) {
        track.push_back(cameraMatrix(k.eye, k.target, k.up));
        double v = k.verticalFov / kDegrees;
        c.fov_deg.push_back(float(2.0 * std::atan(std::tan(v / 2) / 0.75) * kDegrees));
    }
    int node = newNode(name, "camera", 0, track, layer, nullptr);
    c.node = node;
    c.matrix = mNodes[size_t(node)].world;
    c.near_clip = {1};
    c.far_clip = {1000};
    mScene.camera.push_back(c);
    mScene.node[size_t(node)].camera = int(mScene.camera.size()) - 1;
    return node;
}

int SceneBuilder::addLight(const LightDesc& desc)
{
    int node = newNode(desc.name, "light", 0, Track{translation(desc.position)}, desc.layer, nullptr);
    Engine2Scene::Light l;
    l.node = node;
    l.is_omni = 1;
    l.on = 1;
    l.affect_difuse = 1;
    l.affect_specular = 1;
    l.color = {desc.colour};
    l.multiply = {desc.multiplier};
    l.multiply2 = l.multiply;
    if (desc.fadeEnd > desc.fadeStart && desc.fadeStart > 0) {
        l.decay_inv = 1;
        l.far_atten_start = {desc.fadeStart};
        l.far_atten_end = {desc.fadeEnd};
    }
    l.matrix = mNodes[size_t(node)].world;
    mScene.light.push_back(l);
    mScene.node[size_t(node)].light = int(mScene.light.size()) - 1;
    return node;
}

// ---- output

float4x4 SceneBuilder::world(int node, int key) const
{
    PP_ASSERT_MSG(node >= 0 && node < int(mNodes.size()) && key >= 0, "no such node or key");
    if (node == 0)
        return identity();
    const Track& t = mNodes[size_t(node)].local;
    PP_ASSERT_MSG(t.size() == 1 || size_t(key) < t.size(), "key beyond the node's track");
    return mul(t[t.size() == 1 ? 0 : size_t(key)], world(mScene.node[size_t(node)].parent, key));
}

bool SceneBuilder::save(const std::string& path) const
{
    std::string why;
    if (!scene_check(mScene, why)) {
        std::fprintf(stderr, "Warning: scene %s would not load: %s\n", path.c_str(), why.c_str());
        return false;
    }
    if (!scene_save(mScene, path.c_str())) {
        std::fprintf(stderr, "Warning: can't write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace scenelib
