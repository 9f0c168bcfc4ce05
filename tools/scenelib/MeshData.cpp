#include "scenelib/MeshData.h"

#include "core/Assert.h"
#include "scenelib/Matrix.h"

#include <cmath>

namespace scenelib {

namespace {

const float kPi = 3.14159265358979f;

Engine2Scene::int3 tri(int a, int b, int c)
{
    Engine2Scene::int3 t;
    t.a = a, t.b = b, t.c = c;
    return t;
}

// A flat quad of corners a, b, c, d in counter-clockwise order seen from its front.
void quad(MeshData& m, float3 a, float3 b, float3 c, float3 d, float3 n, float us, float vs)
{
    int i = m.addVertex(a, n, 0, 0);
    m.addVertex(b, n, us, 0);
    m.addVertex(c, n, us, vs);
    m.addVertex(d, n, 0, vs);
    m.parts[0].triangles.push_back(tri(i, i + 1, i + 2));
    m.parts[0].triangles.push_back(tri(i, i + 2, i + 3));
}

MeshData withOnePart()
{
    MeshData m;
    m.parts.resize(1);
    return m;
}

} // namespace

int MeshData::triangleCount() const
{
    int n = 0;
    for (const MeshPart& p : parts)
        n += int(p.triangles.size());
    return n;
}

int MeshData::addVertex(float3 position, float3 n, float u, float v)
{
    xyz.push_back(position);
    normal.push_back(n);
    uv.push_back(float3(u, v, 0));
    return int(xyz.size()) - 1;
}

MeshData box(float width, float depth, float height)
{
    MeshData m = withOnePart();
    float x = width / 2, y = depth / 2, z = height / 2;
    quad(m, {-x, -y, -z}, {x, -y, -z}, {x, -y, z}, {-x, -y, z}, {0, -1, 0}, 1, 1); // front (-y)
    quad(m, {x, y, -z}, {-x, y, -z}, {-x, y, z}, {x, y, z}, {0, 1, 0}, 1, 1);     // back (+y)
    quad(m, {x, -y, -z}, {x, y, -z}, {x, y, z}, {x, -y, z}, {1, 0, 0}, 1, 1);     // right (+x)
    quad(m, {-x, y, -z}, {-x, -y, -z}, {-x, -y, z}, {-x, y, z}, {-1, 0, 0}, 1, 1); // left (-x)
    quad(m, {-x, -y, z}, {x, -y, z}, {x, y, z}, {-x, y, z}, {0, 0, 1}, 1, 1);     // top
    quad(m, {-x, y, -z}, {x, y, -z}, {x, -y, -z}, {-x, -y, -z}, {0, 0, -1}, 1, 1); // bottom
    return m;
}

MeshData plane(float sizeX, float sizeY, float tiling)
{
    MeshData m = withOnePart();
    float x = sizeX / 2, y = sizeY / 2;
    quad(m, {-x, -y, 0}, {x, -y, 0}, {x, y, 0}, {-x, y, 0}, {0, 0, 1}, tiling, tiling);
    return m;
}

MeshData cylinder(float radius, float height, int segments)
{
    PP_ASSERT_MSG(segments >= 3, "a cylinder needs three segments");
    MeshData m = withOnePart();
    float z = height / 2;
    // Sides: a seam of doubled vertices so the texture wraps once.
    for (int i = 0; i <= segments; ++i) {
        float a = 2 * kPi * float(i % segments) / float(segments);
        float3 n(std::cos(a), std::sin(a), 0);
        float u = float(i) / float(segments);
        m.addVertex(float3(n.x * radius, n.y * radius, -z), n, u, 0);
        m.addVertex(float3(n.x * radius, n.y * radius, z), n, u, 1);
    }
    for (int i = 0; i < segments; ++i) {
        int b = 2 * i;
        m.parts[0].triangles.push_back(tri(b, b + 2, b + 3));
        m.parts[0].triangles.push_back(tri(b, b + 3, b + 1));
    }
    // Caps: a centre and a ring each.
    for (int side = 0; side < 2; ++side) {
        float cz = side ? z : -z;
        float3 n(0, 0, side ? 1.0f : -1.0f);
        int centre = m.addVertex(float3(0, 0, cz), n, 0.5f, 0.5f);
        for (int i = 0; i < segments; ++i) {
            float a = 2 * kPi * float(i) / float(segments);
            m.addVertex(float3(std::cos(a) * radius, std::sin(a) * radius, cz), n, 0.5f + 0.5f * std::cos(a),
                        0.5f + 0.5f * std::sin(a));
        }
        for (int i = 0; i < segments; ++i) {
            int a = centre + 1 + i, b = centre + 1 + (i + 1) % segments;
            m.parts[0].triangles.push_back(side ? tri(centre, a, b) : tri(centre, b, a));
        }
    }
    return m;
}

MeshData sphere(float radius, int rings, int segments)
{
    PP_ASSERT_MSG(rings >= 2 && segments >= 3, "a sphere needs two rings and three segments");
    MeshData m = withOnePart();
    // Rows from the south pole (r = 0) to the north pole (r = rings), each of segments + 1 vertices.
    for (int r = 0; r <= rings; ++r) {
        float polar = kPi * float(r) / float(rings) - kPi / 2;
        for (int i = 0; i <= segments; ++i) {
            float a = 2 * kPi * float(i % segments) / float(segments);
            float3 n(std::cos(polar) * std::cos(a), std::cos(polar) * std::sin(a), std::sin(polar));
            if (r == 0 || r == rings)
                n = float3(0, 0, r ? 1.0f : -1.0f);
            m.addVertex(scaled(n, radius), n, float(i) / float(segments), float(r) / float(rings));
        }
    }
    const int row = segments + 1;
    for (int r = 0; r < rings; ++r)
        for (int i = 0; i < segments; ++i) {
            int a = r * row + i, b = a + 1, c = a + row + 1, d = a + row;
            if (r > 0)
                m.parts[0].triangles.push_back(tri(a, b, c));
            if (r < rings - 1)
                m.parts[0].triangles.push_back(tri(a, c, d));
        }
    return m;
}

MeshData transformed(MeshData mesh, const float4x4& matrix)
{
    float4x4 inv = inverse(matrix);
    float4x4 normalMatrix;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            normalMatrix.m[i][j] = inv.m[j][i];
    for (float3& p : mesh.xyz)
        p = transformPoint(p, matrix);
    for (float3& n : mesh.normal)
        n = normalize(transformDirection(n, normalMatrix));
    const float (*a)[4] = matrix.m;
    float det = a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
                a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    if (det < 0)
        for (MeshPart& part : mesh.parts)
            for (Engine2Scene::int3& t : part.triangles)
                std::swap(t.b, t.c);
    return mesh;
}

MeshData painted(MeshData mesh, float3 colour)
{
    mesh.color.assign(mesh.xyz.size(), colour);
    return mesh;
}

MeshData withMaterial(MeshData mesh, int material)
{
    for (MeshPart& part : mesh.parts)
        part.material = material;
    return mesh;
}

MeshData boundToBone(MeshData mesh, int bone)
{
    Influence one;
    one.bone[0] = bone;
    one.weight[0] = 1;
    mesh.skin.assign(mesh.xyz.size(), one);
    return mesh;
}

namespace {

// Appends b's list to a's, filling whichever side lacks it with `fill`.
template <class T>
void appendStream(std::vector<T>& a, size_t aCount, const std::vector<T>& b, size_t bCount, const T& fill)
{
    if (a.empty() && b.empty())
        return;
    a.resize(aCount, fill);
    if (b.empty())
        a.insert(a.end(), bCount, fill);
    else
        a.insert(a.end(), b.begin(), b.end());
}

} // namespace

void append(MeshData& mesh, const MeshData& piece)
{
    const size_t base = mesh.xyz.size();
    const size_t count = piece.xyz.size();
    appendStream(mesh.color, base, piece.color, count, float3(1, 1, 1));
    appendStream(mesh.uv, base, piece.uv, count, float3());
    appendStream(mesh.skin, base, piece.skin, count, Influence());
    appendStream(mesh.normal, base, piece.normal, count, float3(0, 0, 1));
    mesh.xyz.insert(mesh.xyz.end(), piece.xyz.begin(), piece.xyz.end());
    for (const MeshPart& part : piece.parts) {
        MeshPart* into = nullptr;
        for (MeshPart& p : mesh.parts)
            if (p.material == part.material)
                into = &p;
        if (!into) {
            mesh.parts.push_back(MeshPart());
            into = &mesh.parts.back();
            into->material = part.material;
        }
        for (const Engine2Scene::int3& t : part.triangles)
            into->triangles.push_back(tri(t.a + int(base), t.b + int(base), t.c + int(base)));
    }
}

} // namespace scenelib
