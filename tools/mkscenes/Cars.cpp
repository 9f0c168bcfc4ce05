// Cars.3dn: the visitors' cars at the origin facing +x, standing on z = 0. Layer 0 holds what
// every car has (wheels, a shadow); layers 1..9 one body each: three shapes (hatchback, saloon,
// van) in three colours each. Static: only frame 0 is drawn.

#include "mkscenes/Visitors.h"

#include "mkscenes/Geometry.h"
#include "scenelib/SceneBuilder.h"

#include <cmath>

namespace mkscenes {

using namespace scenelib;

namespace {

enum class Shape { hatchback, saloon, van };

struct Model {
    Shape shape;
    float3 paint;
};

const Model kModels[9] = {
    {Shape::hatchback, rgb(0xd9463a)}, {Shape::saloon, rgb(0x4f8fd8)}, {Shape::van, rgb(0xf4f1ea)},
    {Shape::hatchback, rgb(0xf2c94c)}, {Shape::saloon, rgb(0x5a5c60)}, {Shape::van, rgb(0x3fb0a8)},
    {Shape::hatchback, rgb(0x5fae4a)}, {Shape::saloon, rgb(0xf4f1ea)}, {Shape::van, rgb(0xf0923a)},
};

const float kWheelBase = 2.5f, kTrack = 1.5f, kWheelRadius = 0.32f;
const float3 kGlass = rgb(0x39506a), kTrim = rgb(0x3a3c40), kLight = rgb(0xfff4c8), kTail = rgb(0xd82a2a);

// A box of size (x, y, z) whose base centre is at `at`, flat-shaded, painted.
MeshData slab(float3 at, float3 size, float3 colour)
{
    return placed(block(size.x, size.y, size.z), at, 0, colour);
}

// A cabin: a box whose top is narrower than its base (the windows lean in), its front and back
// leaning in by rakeFront and rakeBack metres, glass on every side and a painted roof.
MeshData cabin(float x0, float x1, float z0, float height, float width, float rakeFront, float rakeBack,
               float3 roofColour)
{
    MeshData m;
    float w0 = width / 2, w1 = width / 2 - 0.12f, z1 = z0 + height;
    float3 b[4] = {{x0, -w0, z0}, {x1, -w0, z0}, {x1, w0, z0}, {x0, w0, z0}};
    float3 t[4] = {{x0 + rakeBack, -w1, z1}, {x1 - rakeFront, -w1, z1}, {x1 - rakeFront, w1, z1}, {x0 + rakeBack, w1, z1}};
    MeshData glass;
    glass.parts.resize(1);
    for (int i = 0; i < 4; ++i) {
        int j = (i + 1) % 4;
        float3 n = unit(cross(b[j] - b[i], t[i] - b[i]));
        int v = glass.vertexCount();
        for (float3 p : {b[i], b[j], t[j], t[i]})
            glass.addVertex(p, n, 0, 0);
        glass.parts[0].triangles.push_back({v, v + 1, v + 2});
        glass.parts[0].triangles.push_back({v, v + 2, v + 3});
    }
    glass.color.assign(size_t(glass.vertexCount()), kGlass);
    append(m, glass);
    // The roof, a thin slab over the glass.
    append(m, slab(float3((x0 + rakeBack + x1 - rakeFront) / 2, 0, z1 - 0.01f),
                   float3(x1 - rakeFront - x0 - rakeBack + 0.1f, width - 0.2f, 0.06f), roofColour));
    return m;
}

MeshData body(const Model& model)
{
    MeshData m;
    float3 paint = model.paint;
    float length = 3.9f, width = 1.74f, sill = 0.3f, deck = 0.62f;
    switch (model.shape) {
    case Shape::hatchback:
        length = 3.8f;
        append(m, slab(float3(0, 0, sill), float3(length, width, deck), paint));
        append(m, cabin(-1.7f, 0.55f, sill + deck, 0.58f, width, 0.55f, 0.2f, paint));
        break;
    case Shape::saloon:
        length = 4.4f;
        append(m, slab(float3(0, 0, sill), float3(length, width, deck - 0.05f), paint));
        append(m, cabin(-1.1f, 0.75f, sill + deck - 0.05f, 0.55f, width, 0.6f, 0.45f, paint));
        break;
    case Shape::van:
        length = 4.6f;
        deck = 0.7f;
        append(m, slab(float3(0, 0, sill), float3(length, width + 0.04f, deck), paint));
        append(m, cabin(-2.2f, 1.45f, sill + deck, 0.8f, width + 0.04f, 0.5f, 0.05f, paint));
        break;
    }
    float front = length / 2, back = -length / 2;
    // Bumpers, lights and a grille.
    for (float x : {front, back})
        append(m, slab(float3(x, 0, sill - 0.05f), float3(0.16f, width + 0.04f, 0.16f), kTrim));
    for (float y : {width / 2 - 0.28f, -width / 2 + 0.28f}) {
        append(m, slab(float3(front + 0.01f, y, sill + deck - 0.24f), float3(0.04f, 0.3f, 0.13f), kLight));
        append(m, slab(float3(back - 0.01f, y, sill + deck - 0.24f), float3(0.04f, 0.3f, 0.13f), kTail));
    }
    append(m, slab(float3(front + 0.005f, 0, sill + 0.16f), float3(0.03f, 0.6f, 0.14f), kTrim));
    // Wheel arches as dark strips along the sills.
    for (float y : {width / 2 + 0.005f, -width / 2 - 0.005f})
        append(m, slab(float3(0, y, sill), float3(length - 0.3f, 0.02f, 0.06f), shade(paint, -0.35f)));
    return flatShaded(m);
}

MeshData wheels()
{
    MeshData m;
    for (float x : {kWheelBase / 2, -kWheelBase / 2})
        for (float y : {kTrack / 2, -kTrack / 2}) {
            MeshData tyre = transformed(frustum(kWheelRadius, kWheelRadius, 0.24f, 10),
                                        mul(translation(float3(0, 0, -0.12f)), rotationX(kPi / 2)));
            append(m, placed(tyre, float3(x, y * 1.02f, kWheelRadius), 0, rgb(0x25262a)));
            MeshData hub = transformed(frustum(0.15f, 0.15f, 0.26f, 8), mul(translation(float3(0, 0, -0.13f)), rotationX(kPi / 2)));
            append(m, placed(hub, float3(x, y * 1.02f, kWheelRadius), 0, rgb(0xb8bcc4)));
        }
    // A soft dark patch under the car.
    append(m, placed(groundQuad(-2.3f, -1.0f, 2.3f, 1.0f, 1), float3(0, 0, 0.015f), 0, rgb(0x46503a)));
    return flatShaded(m);
}

} // namespace

bool writeCars(const std::string& sceneDir)
{
    SceneBuilder b;
    b.setComments("cars: wheels on layer 0, nine bodies on layers 1..9");
    MaterialDesc desc("CarPaint", float3(1, 1, 1));
    desc.ambient = float3(0.5f, 0.5f, 0.5f);
    desc.specularLevel = 0.45f;
    desc.specularPower = 40;
    desc.specular = float3(1, 1, 1);
    int paint = b.addMaterial(desc);
    b.addMesh("wheels", withMaterial(wheels(), paint), 0, Track{identity()}, 0);
    for (int i = 0; i < 9; ++i)
        b.addMesh("car_body_" + std::to_string(i + 1), withMaterial(body(kModels[i]), paint), 0, Track{identity()}, i + 1);
    return b.save(sceneDir + "/Cars.3dn");
}

} // namespace mkscenes
