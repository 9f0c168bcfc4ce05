#include "mkscenes/ParkKit.h"

#include "core/Assert.h"

#include <cmath>

// Index: materials and groups - placing pieces - buildings - plants - borders - furniture

namespace mkscenes {

using namespace scenelib;

namespace {

// A beam of the given cross-section from a to b (both at its bottom), no bottom face.
MeshData beam(float3 a, float3 b, float thick, float height)
{
    float3 d = b - a;
    float len = length(d);
    MeshData m = block(len, thick, height);
    float turn = std::atan2(d.y, d.x);
    return transformed(m, mul(rotationZ(turn), translation((a + b) * 0.5f)));
}

// An octahedron: the cheapest round thing.
MeshData gem(float3 radii)
{
    MeshData m = ellipsoid(float3(1, 1, 1), 2, 4);
    m = transformed(m, scaling(radii));
    return flatShaded(m);
}

} // namespace

// ---- materials and groups

ParkKit::ParkKit(SceneBuilder& builder) : b(builder)
{
    struct Def {
        const char* name;
        const char* texture;
        float ambient;
        float specular;
    };
    const Def defs[int(Mat::count)] = {
        {"Paint", nullptr, 0.5f, 0.04f},        {"Grass", "tex/park_grass.png", 0.55f, 0.02f},
        {"Paving", "tex/park_paving.png", 0.55f, 0.05f}, {"Dirt", "tex/park_dirt.png", 0.55f, 0.02f},
        {"Wood", "tex/park_wood.png", 0.5f, 0.05f},  {"Roof", "tex/park_roof.png", 0.5f, 0.15f},
        {"Stone", "tex/park_stone.png", 0.5f, 0.05f}, {"Water", "tex/park_water.png", 0.6f, 0.8f},
        {"Asphalt", "tex/park_asphalt.png", 0.55f, 0.05f}, {"Glass", nullptr, 0.5f, 0.9f},
        {"Lamp NO_LIGHT", nullptr, 1, 0},       {"Shadow NO_LIGHT", nullptr, 0, 0},
    };
    for (int i = 0; i < int(Mat::count); ++i) {
        MaterialDesc d(defs[i].name, float3(1, 1, 1));
        d.ambient = float3(defs[i].ambient, defs[i].ambient, defs[i].ambient);
        d.specularLevel = defs[i].specular;
        d.specular = float3(1, 1, 1);
        if (defs[i].texture)
            d.maps[kSlotDiffuse] = b.addTexture(defs[i].texture);
        if (Mat(i) == Mat::glass) {
            d.diffuse = rgb(0xbfe4f4);
            d.opacity = 0.45f;
            d.specularPower = 60;
        }
        if (Mat(i) == Mat::glow)
            d.diffuse = rgb(0xfff2c0), d.ambient = rgb(0xfff2c0);
        if (Mat(i) == Mat::shadow)
            d.diffuse = rgb(0x1a2a10), d.ambient = float3(0, 0, 0), d.opacity = 0.3f;
        mMaterials[i] = b.addMaterial(d);
    }
}

MeshData& ParkKit::group(const std::string& name, int layer)
{
    auto it = mGroups.find(name);
    if (it == mGroups.end()) {
        mOrder.push_back(name);
        it = mGroups.emplace(name, Group{layer, MeshData(), name}).first;
    }
    return it->second.mesh;
}

MeshData& ParkKit::seeThrough(const MeshData& of)
{
    for (auto& entry : mGroups)
        if (&entry.second.mesh == &of)
            return group(entry.first + " see-through", entry.second.layer);
    PP_ASSERT_MSG(false, "not a group of the park");
    return group("see-through", 0);
}

int ParkKit::flush()
{
    int triangles = 0;
    for (const std::string& name : mOrder) {
        Group& g = mGroups[name];
        if (g.mesh.triangleCount() == 0)
            continue;
        triangles += g.mesh.triangleCount();
        b.addMesh(name, g.mesh, 0, Track{identity()}, g.layer);
    }
    mGroups.clear();
    mOrder.clear();
    return triangles;
}

// ---- placing pieces

void ParkKit::add(MeshData& into, const MeshData& piece, Mat m, float3 colour, float3 at, float turn, float tile)
{
    MeshData p = transformed(piece, mul(rotationZ(turn), translation(at)));
    boxUV(p, tile);
    if (m == Mat::glass || m == Mat::shadow) {
        p.color.clear();
        append(seeThrough(into), withMaterial(p, material(m)));
        return;
    }
    append(into, withMaterial(painted(p, colour), material(m)));
}

void ParkKit::addKeepUV(MeshData& into, const MeshData& piece, Mat m, float3 colour, float3 at, float turn)
{
    MeshData p = transformed(piece, mul(rotationZ(turn), translation(at)));
    if (p.uv.empty())
        p.uv.assign(p.xyz.size(), float3());
    append(into, withMaterial(painted(p, colour), material(m)));
}

// ---- buildings

void ParkKit::box(MeshData& into, float3 at, float3 size, float3 colour, Mat m, float turn, float tile)
{
    add(into, block(size.x, size.y, size.z), m, colour, at, turn, tile);
}

void ParkKit::house(MeshData& into, float3 at, float3 size, float roofHeight, float3 wall, float3 roofColour, float turn,
                    Mat wallMat, bool windows)
{
    MeshData h;
    append(h, withMaterial(painted(block(size.x, size.y, size.z), wall), material(wallMat)));
    MeshData r = transformed(gableRoof(size.x, size.y, roofHeight, 0.35f), translation(float3(0, 0, size.z)));
    append(h, withMaterial(painted(r, roofColour), material(Mat::roof)));
    // Door and windows on the south face.
    float front = -size.y / 2 - 0.03f;
    float doorH = std::min(2.1f, size.z * 0.75f);
    append(h, withMaterial(painted(transformed(block(0.9f, 0.08f, doorH), translation(float3(0, front, 0))), palette::darkWood),
                           material(Mat::wood)));
    if (windows && size.x > 2.4f) {
        for (float side : {-1.0f, 1.0f}) {
            float x = side * size.x * 0.3f;
            float z = std::min(size.z * 0.45f, 1.1f);
            append(h, withMaterial(painted(transformed(block(0.9f, 0.06f, 0.8f), translation(float3(x, front, z))),
                                           palette::white),
                                   material(Mat::paint)));
            append(h, withMaterial(painted(transformed(block(0.7f, 0.08f, 0.6f), translation(float3(x, front - 0.01f, z + 0.1f))),
                                           palette::window),
                                   material(Mat::paint)));
        }
    }
    MeshData p = transformed(h, mul(rotationZ(turn), translation(at)));
    boxUV(p, 1.5f);
    append(into, p);
    float c = std::fabs(std::cos(turn)), s = std::fabs(std::sin(turn));
    shadow(into, at, (size.x * c + size.y * s) * 0.62f, (size.x * s + size.y * c) * 0.62f, size.z + roofHeight);
}

// ---- plants

void ParkKit::roundTree(MeshData& into, float3 at, float height, uint32_t seed, float3 leaves)
{
    Random r(seed);
    float h = height * r.range(0.85f, 1.15f);
    add(into, frustum(0.07f * h, 0.045f * h, 0.5f * h, 5), Mat::paint, palette::brown, at);
    float3 crown(0.33f * h, 0.33f * h, 0.36f * h);
    float3 c = shade(leaves, r.range(-0.15f, 0.1f));
    add(into, blob(crown, seed, 0.25f), Mat::paint, c, at + float3(0, 0, 0.62f * h), r.range(0, 6.28f));
    shadow(into, at, 0.3f * h, 0.3f * h, 0.6f * h);
}

void ParkKit::pine(MeshData& into, float3 at, float height, uint32_t seed)
{
    Random r(seed);
    float h = height * r.range(0.85f, 1.2f);
    float3 c = shade(rgb(0x2f7a3c), r.range(-0.12f, 0.12f));
    add(into, frustum(0.06f * h, 0.04f * h, 0.25f * h, 4), Mat::paint, palette::darkWood, at);
    add(into, cone(0.3f * h, 0.55f * h, 7), Mat::paint, c, at + float3(0, 0, 0.18f * h), r.range(0, 6.28f));
    add(into, cone(0.21f * h, 0.45f * h, 6), Mat::paint, shade(c, 0.08f), at + float3(0, 0, 0.5f * h), r.range(0, 6.28f));
    shadow(into, at, 0.26f * h, 0.26f * h, 0.4f * h);
}

void ParkKit::bush(MeshData& into, float3 at, float radius, uint32_t seed, float3 leaves)
{
    Random r(seed);
    add(into, blob(float3(radius, radius, radius * 0.75f), seed, 0.3f), Mat::paint, shade(leaves, r.range(-0.12f, 0.08f)),
        at + float3(0, 0, radius * 0.45f), r.range(0, 6.28f));
    shadow(into, at, radius * 1.05f, radius * 1.05f, radius);
}

void ParkKit::shadow(MeshData& into, float3 at, float rx, float ry, float height)
{
    if (!castShadows)
        return;
    // The sun stands south-west, so shadows lean north-east.
    float3 lean = float3(0.22f, 0.36f, 0) * height;
    MeshData d = transformed(disc(1, 8), scaling(float3(rx, ry, 1)));
    add(into, d, Mat::shadow, float3(1, 1, 1), float3(at.x, at.y, 0.045f) + lean);
}

void ParkKit::flowers(MeshData& into, float3 at, float radius, uint32_t seed, int count)
{
    static const float3 colours[] = {palette::red, palette::yellow, palette::pink, palette::purple, palette::white,
                                     palette::orange};
    Random r(seed);
    for (int i = 0; i < count; ++i) {
        float a = r.range(0, 6.28f), d = radius * std::sqrt(r.range(0, 1));
        float3 p = at + float3(std::cos(a) * d, std::sin(a) * d, 0);
        float s = r.range(0.16f, 0.24f);
        add(into, gem(float3(s, s, s * 0.7f)), Mat::paint, colours[r.below(6)], p + float3(0, 0, 0.3f + r.range(0, 0.12f)));
    }
}

// ---- borders

void ParkKit::fence(MeshData& into, float3 a, float3 b, float height, float3 colour, float postEvery)
{
    float len = length(b - a);
    int posts = std::max(1, int(std::round(len / postEvery)));
    for (int i = 0; i <= posts; ++i) {
        float3 p = a + (b - a) * (float(i) / float(posts));
        add(into, block(0.12f, 0.12f, height), Mat::paint, colour, p, std::atan2(b.y - a.y, b.x - a.x));
    }
    for (float z : {height * 0.38f, height * 0.78f}) {
        MeshData rail = beam(a, b, 0.06f, 0.09f);
        add(into, rail, Mat::paint, colour, float3(0, 0, z));
    }
}

void ParkKit::boardFence(MeshData& into, float3 a, float3 b, float height, float3 colour)
{
    MeshData panel = beam(a, b, 0.07f, height);
    MeshData p = withMaterial(painted(panel, colour), material(Mat::wood));
    // Planks stand upright: u along the fence, v up.
    p.uv.resize(p.xyz.size());
    float3 dir = unit(b - a);
    for (size_t i = 0; i < p.xyz.size(); ++i) {
        float3 q = p.xyz[i] - a;
        p.uv[i] = float3((q.x * dir.x + q.y * dir.y) / 1.2f, q.z / 1.2f, 0);
    }
    append(into, p);
    for (float3 post : {a, b})
        add(into, block(0.16f, 0.16f, height + 0.12f), Mat::paint, shade(colour, -0.2f), post);
}

void ParkKit::wall(MeshData& into, float3 a, float3 b, float height, float thick, float3 colour, Mat m)
{
    add(into, beam(a, b, thick, height), m, colour, float3(), 0, m == Mat::stone ? 1.2f : 2);
}

void ParkKit::enclosure(MeshData& into, float cx, float cy, float w, float d, int kind, float3 colour, float gate)
{
    float x0 = cx - w / 2 + 0.3f, x1 = cx + w / 2 - 0.3f, y0 = cy - d / 2 + 0.3f, y1 = cy + d / 2 - 0.3f;
    float3 sw(x0, y0, 0), se(x1, y0, 0), ne(x1, y1, 0), nw(x0, y1, 0);
    float3 g0(cx - gate / 2, y0, 0), g1(cx + gate / 2, y0, 0);
    const float3 sides[5][2] = {{sw, g0}, {g1, se}, {se, ne}, {ne, nw}, {nw, sw}};
    for (const auto& s : sides) {
        switch (kind) {
        case 0: fence(into, s[0], s[1], 1.0f, colour, 3.2f); break;
        case 1: boardFence(into, s[0], s[1], 1.0f, colour); break;
        case 2: wall(into, s[0], s[1], 1.1f, 0.7f, colour, Mat::paint); break;
        case 3: wall(into, s[0], s[1], 0.8f, 0.45f, colour, Mat::stone); break;
        default: fence(into, s[0], s[1], 1.3f, colour, 2.8f); break;
        }
    }
}

void ParkKit::patch(MeshData& into, float cx, float cy, float w, float d, Mat m, float3 colour, float z)
{
    MeshData q = groundQuad(cx - w / 2, cy - d / 2, cx + w / 2, cy + d / 2, 3);
    q = transformed(q, translation(float3(0, 0, z)));
    append(into, withMaterial(painted(q, colour), material(m)));
}

// ---- furniture

void ParkKit::bench(MeshData& into, float3 at, float turn)
{
    MeshData m;
    append(m, painted(transformed(block(1.6f, 0.45f, 0.07f), translation(float3(0, 0, 0.42f))), palette::wood));
    append(m, painted(transformed(block(1.6f, 0.07f, 0.4f), translation(float3(0, 0.22f, 0.5f))), palette::wood));
    for (float x : {-0.65f, 0.65f})
        append(m, painted(transformed(block(0.08f, 0.45f, 0.42f), translation(float3(x, 0, 0))), palette::darkGrey));
    MeshData p = transformed(m, mul(rotationZ(turn), translation(at)));
    boxUV(p, 1);
    append(into, withMaterial(p, material(Mat::wood)));
}

void ParkKit::lamp(MeshData& into, float3 at)
{
    add(into, block(0.1f, 0.1f, 3.0f), Mat::paint, palette::darkGrey, at);
    add(into, gem(float3(0.22f, 0.22f, 0.26f)), Mat::glow, float3(1, 1, 1), at + float3(0, 0, 3.2f));
}

void ParkKit::sign(MeshData& into, float3 at, float turn, float3 board)
{
    add(into, block(0.1f, 0.1f, 1.5f), Mat::paint, palette::darkWood, at, turn);
    add(into, block(1.1f, 0.08f, 0.6f), Mat::wood, board, at + float3(0, -0.02f, 1.1f), turn, 1);
}

} // namespace mkscenes
