#pragma once

// The park scene under construction: its materials and the kit its parts are modelled with.
// Geometry goes into named groups, one mesh node each, on the group's layer; pieces are placed
// in park space (turned about z, then moved), painted and given world-aligned texture
// coordinates, so textures run on across neighbouring pieces.

#include "mkscenes/Geometry.h"
#include "scenelib/SceneBuilder.h"

#include <map>
#include <string>
#include <vector>

namespace mkscenes {

enum class Mat { paint, grass, paving, dirt, wood, roof, stone, water, asphalt, glass, glow, shadow, count };

class ParkKit {
public:
    explicit ParkKit(scenelib::SceneBuilder& builder);

    int material(Mat m) const { return mMaterials[int(m)]; }

    // The group's geometry (created empty on first use) on that layer.
    MeshData& group(const std::string& name, int layer);
    // The see-through twin of a group: the same layer, no vertex colours (a colour stream would
    // stand in for the material's opacity). Shadows and glass go there.
    MeshData& seeThrough(const MeshData& of);
    // Writes every group as one mesh node; returns the groups' triangle count.
    int flush();

    // ---- placing pieces
    // A piece turned by `turn` about z, moved to `at`, painted, drawn with the material; its
    // texture coordinates from world position (box mapping) every `tile` metres.
    void add(MeshData& into, const MeshData& piece, Mat m, float3 colour, float3 at, float turn = 0, float tile = 2);
    // The same keeping the piece's own texture coordinates.
    void addKeepUV(MeshData& into, const MeshData& piece, Mat m, float3 colour, float3 at, float turn = 0);

    // ---- the kit (all stand on z = 0 at `at` unless said otherwise)
    void box(MeshData& into, float3 at, float3 size, float3 colour, Mat m = Mat::paint, float turn = 0, float tile = 2);
    // A house: walls, a gabled roof along x (or along y when turned), a door and windows on
    // its south face.
    void house(MeshData& into, float3 at, float3 size, float roofHeight, float3 wall, float3 roofColour, float turn = 0,
               Mat wallMat = Mat::paint, bool windows = true);
    // A round tree (trunk and a faceted crown), a pine, or a bush.
    void roundTree(MeshData& into, float3 at, float height, uint32_t seed, float3 leaves);
    void pine(MeshData& into, float3 at, float height, uint32_t seed);
    void bush(MeshData& into, float3 at, float radius, uint32_t seed, float3 leaves);
    // A fence of posts and two rails from a to b; wooden or painted.
    void fence(MeshData& into, float3 a, float3 b, float height, float3 colour, float postEvery = 2.5f);
    // A board fence: planks in one textured panel per side, posts at the ends.
    void boardFence(MeshData& into, float3 a, float3 b, float height, float3 colour);
    // A low wall of stone blocks or a hedge from a to b.
    void wall(MeshData& into, float3 a, float3 b, float height, float thick, float3 colour, Mat m);
    // An enclosure's border around a plot, open for a gate of `gate` metres in the middle of
    // its south side; kind 0 rail fence, 1 board fence, 2 hedge, 3 stone wall, 4 log fence.
    void enclosure(MeshData& into, float cx, float cy, float w, float d, int kind, float3 colour, float gate = 2.4f);
    // A ground patch of a plot, slightly above the grass.
    void patch(MeshData& into, float cx, float cy, float w, float d, Mat m, float3 colour, float z = 0.02f);
    void bench(MeshData& into, float3 at, float turn);
    void lamp(MeshData& into, float3 at);
    void sign(MeshData& into, float3 at, float turn, float3 board);
    void flowers(MeshData& into, float3 at, float radius, uint32_t seed, int count);
    // A soft dark oval on the ground under something, pushed a little away from the sun.
    void shadow(MeshData& into, float3 at, float rx, float ry, float height);

    // Trees, bushes and houses lay shadows while this is on (the far woods do without).
    bool castShadows = true;

    scenelib::SceneBuilder& b;

private:
    struct Group {
        int layer;
        MeshData mesh;
        std::string name;
    };
    std::map<std::string, Group> mGroups;
    std::vector<std::string> mOrder;
    int mMaterials[int(Mat::count)] = {};
};

// Colours used across the park.
namespace palette {
const float3 white = rgb(0xf4f1ea), cream = rgb(0xf3e4c0), red = rgb(0xd9463a), brick = rgb(0xc0603f),
             blue = rgb(0x4f8fd8), sky = rgb(0x8cc8ee), green = rgb(0x5fae4a), darkGreen = rgb(0x3c8a3a),
             leaf = rgb(0x3f9a38), yellow = rgb(0xf2c94c), orange = rgb(0xf0923a), pink = rgb(0xf29bb7),
             purple = rgb(0x9a7ad0), brown = rgb(0x8a5a34), darkWood = rgb(0x6e4a2e), wood = rgb(0xc89a64),
             grey = rgb(0x9a9ca0), darkGrey = rgb(0x5a5c60), stone = rgb(0xc8c2b6), teal = rgb(0x3fb0a8),
             window = rgb(0x5f8fb8), roofRed = rgb(0xc8503c), roofBlue = rgb(0x4a78c0), roofGreen = rgb(0x4f9a5a),
             hay = rgb(0xe8c860), mud = rgb(0x7a5a3a);
}

} // namespace mkscenes
