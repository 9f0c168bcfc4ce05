#pragma once

// Builds an Engine2Scene in code and writes it as a ".3dn" scene file that the game's scene
// loader reads and draws.
//
// Conventions of the scenes it writes:
// - Node 0 is the root, and index 0 of the meshes (with an empty triangle and vertex buffer),
//   bones, cameras and lights is a dummy, because 0 means "none" as a link. The first texture
//   adds a dummy file 0 and a dummy texture map 0; an untextured scene has neither.
// - Nodes are given local tracks (one matrix per key frame, relative to the parent node);
//   the builder writes the world tracks the file holds. A node's track and its parent's hold
//   equally many keys unless either holds one. A track of n keys plays n - 1 frames in a loop.
// - Everything returned as a "node" is a node index, usable as a parent and for layers.
//
// Sections: scene - nodes and helpers - materials and textures - meshes - bones and skinning -
// cameras and lights - output.

#include "render/Engine2Scene.h"
#include "scenelib/Matrix.h"
#include "scenelib/MeshData.h"

#include <optional>
#include <string>
#include <vector>

namespace scenelib {

// Texture-map slots of a material (the renderer's map kinds).
enum MapSlot {
    kSlotDiffuse = 1,
    kSlotLightmap = 2,
    kSlotEnvMask = 3,
    kSlotSpecular = 4,
    kSlotSelfIllum = 5,
    kSlotDudv = 6,
    kSlotNormal = 8,
    kSlotEnvironment = 9,
};

struct MaterialDesc {
    explicit MaterialDesc(const std::string& name_ = std::string(), float3 diffuse_ = float3(0.8f, 0.8f, 0.8f),
                          float opacity_ = 1)
        : name(name_), diffuse(diffuse_), opacity(opacity_)
    {
    }

    // Matched by texture substitutions and side files; containing "NO_LIGHT" draws it unlit.
    std::string name;
    float3 diffuse;
    // Below 1 the material is drawn see-through.
    float opacity;
    std::optional<float3> ambient; // unset: the diffuse colour
    float3 specular = float3(0.2f, 0.2f, 0.2f);
    float specularPower = 20;
    float specularLevel = 0.2f;
    // Texture map per slot (MapSlot), from addTexture; 0 = none.
    int maps[16] = {};
};

struct CameraKey {
    CameraKey(float3 eye_ = float3(), float3 target_ = float3(), float3 up_ = float3(0, 0, 1), float verticalFov_ = 45)
        : eye(eye_), target(target_), up(up_), verticalFov(verticalFov_)
    {
    }

    float3 eye;
    float3 target;
    float3 up;
    float verticalFov; // degrees
};

struct LightDesc {
    LightDesc(const std::string& name_ = std::string(), float3 position_ = float3(),
              float3 colour_ = float3(1, 1, 1), float multiplier_ = 1)
        : name(name_), position(position_), colour(colour_), multiplier(multiplier_)
    {
    }

    // Options in the name: "!amb=", "!dif=", "!spc=", "!glo=" set the light's ambient, diffuse,
    // specular and glow factors; a name with "!fog min=10 max=200 type=lin" (or exp, exp2)
    // makes the light the scene's fog (its colour the fog colour) instead.
    std::string name;
    float3 position;
    float3 colour;
    float multiplier;
    // With 0 < fadeStart < fadeEnd the light fades out between the two distances.
    float fadeStart = 0, fadeEnd = 0;
    int layer = 0;
};

class SceneBuilder {
public:
    SceneBuilder();

    // ---- scene
    // Frame count (tracks of frames + 1 keys) and frames per second of the scene's animation.
    void setAnimation(int frames, float fps);
    void setComments(const std::string& text);

    // ---- nodes and helpers
    // A node without mesh, bone, camera or light: a group or a named marker.
    int addNode(const std::string& name, int parent = 0, const Track& local = Track{identity()}, int layer = 0);
    // A named marker at a position (found by name in the game, for example a building's helper).
    int addHelper(const std::string& name, float3 position, int layer = 0, int parent = 0);
    void setLayer(int node, int layer);
    void setUserText(int node, const std::string& text);

    // ---- materials and textures
    int addMaterial(const MaterialDesc& material);
    // A texture read from the scene's folder at load time (a file name such as "grass.png");
    // returns the texture map index for MaterialDesc::maps.
    int addTexture(const std::string& fileName);
    // A texture whose image file bytes (PNG, DDS ...) are stored inside the scene.
    int addEmbeddedTexture(const std::string& name, const std::vector<char>& imageBytes);

    // ---- meshes
    // A mesh in its node's local space. Names beginning "!billboard" face the camera;
    // "!nofog" in a name draws it without fog.
    int addMesh(const std::string& name, const MeshData& mesh, int parent = 0,
                const Track& local = Track{identity()}, int layer = 0);
    // Per-frame visibility of a mesh node (1 shown, 0 hidden); the default is always shown.
    void setVisibility(int node, const std::vector<float>& track);

    // ---- bones and skinning
    // A bone at rest at restLocal (relative to its parent), animated by its local track
    // (empty: it stays at rest).
    int addBone(const std::string& name, int parent, const float4x4& restLocal, const Track& local = Track());
    int boneIndex(int node) const;
    // A node's world matrix in the rest pose (bones at rest, other nodes at their first key).
    float4x4 restWorld(int node) const;
    // A piece modelled in the bone's own space, moved to the bone's rest place and bound to it.
    MeshData skinPiece(const MeshData& piece, int boneNode) const;
    // A mesh deformed by bones: its vertices in scene space at the rest pose, each with
    // its influences (MeshData::skin). The node stays at the root.
    int addSkinnedMesh(const std::string& name, const MeshData& mesh, int layer = 0);

    // ---- cameras and lights
    int addCamera(const std::string& name, const CameraKey& key, int layer = 0);
    // An animated camera, one key per frame.
    int addCamera(const std::string& name, const std::vector<CameraKey>& keys, int layer = 0);
    int addLight(const LightDesc& light);

    // ---- output
    // A node's world matrix at a key frame as the game shows it: its local key (the only one of
    // a static track) times its parent's world matrix at that key.
    float4x4 world(int node, int key) const;
    const Engine2Scene& scene() const { return mScene; }
    // For adjustments beyond the builder's: the records as they will be written.
    Engine2Scene& scene() { return mScene; }
    // Checks that the scene will load (a warning on standard error when not) and writes it.
    bool save(const std::string& path) const;

private:
    struct NodeInfo {
        Track local;
        Track world; // as the file holds it
        float4x4 restWorld;
    };

    int newNode(const std::string& name, const char* type, int parent, const Track& local, int layer,
                const float4x4* restLocal);
    int addGeometry(const std::string& name, const MeshData& mesh, bool skinned);
    int addMeshNode(const std::string& name, const MeshData& mesh, bool skinned, int parent, const Track& local,
                    int layer);
    Engine2Scene mScene;
    std::vector<NodeInfo> mNodes;
};

} // namespace scenelib
