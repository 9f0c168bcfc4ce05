#include "mkscenes/Geometry.h"

#include "core/Assert.h"

#include <algorithm>
#include <cmath>

namespace mkscenes {

using scenelib::MeshPart;

namespace {

Engine2Scene::int3 tri(int a, int b, int c)
{
    Engine2Scene::int3 t;
    t.a = a, t.b = b, t.c = c;
    return t;
}

MeshData onePart()
{
    MeshData m;
    m.parts.resize(1);
    return m;
}

// A triangle with its own three vertices and the face normal (counter-clockwise from the front).
void faceTri(MeshData& m, float3 a, float3 b, float3 c)
{
    float3 n = unit(cross(b - a, c - a));
    int i = m.addVertex(a, n, 0, 0);
    m.addVertex(b, n, 0, 0);
    m.addVertex(c, n, 0, 0);
    m.parts[0].triangles.push_back(tri(i, i + 1, i + 2));
}

void faceQuad(MeshData& m, float3 a, float3 b, float3 c, float3 d)
{
    faceTri(m, a, b, c);
    faceTri(m, a, c, d);
}

} // namespace

// ---- vectors

float length(float3 a)
{
    return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
}

float3 unit(float3 a)
{
    float l = length(a);
    return l > 0 ? a * (1.0f / l) : a;
}

float3 cross(float3 a, float3 b)
{
    return float3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

// ---- colours

float3 rgb(uint32_t hex)
{
    return float3(float((hex >> 16) & 255) / 255.0f, float((hex >> 8) & 255) / 255.0f, float(hex & 255) / 255.0f);
}

float3 mixColour(float3 a, float3 b, float t)
{
    return a + (b - a) * t;
}

float3 shade(float3 c, float amount)
{
    return amount >= 0 ? mixColour(c, float3(1, 1, 1), amount) : c * (1 + amount);
}

// ---- random

uint32_t Random::next()
{
    // xorshift32
    uint32_t x = mState;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    mState = x;
    return x;
}

float Random::range(float lo, float hi)
{
    return lo + (hi - lo) * float(next() >> 8) / float(1u << 24);
}

int Random::below(int n)
{
    return n > 0 ? int(next() % uint32_t(n)) : 0;
}

float hash01(int x, int y, uint32_t seed)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return float(h >> 8) / float(1u << 24);
}

float valueNoise(float x, float y, int period, uint32_t seed)
{
    int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    float fx = x - float(x0), fy = y - float(y0);
    auto wrap = [period](int v) { return ((v % period) + period) % period; };
    auto at = [&](int ix, int iy) { return hash01(wrap(ix), wrap(iy), seed); };
    float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    float top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
    float bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
    return top + (bottom - top) * sy;
}

// ---- lofts

MeshData loft(const std::vector<Ring>& rings, int segments, float uRepeats)
{
    PP_ASSERT_MSG(rings.size() >= 2 && segments >= 3, "a loft needs two rings and three segments");
    const bool textured = uRepeats > 0;
    // A textured ring has one more vertex: the first again, at u = uRepeats.
    const int perRing = textured ? segments + 1 : segments;
    MeshData m = onePart();
    std::vector<int> first(rings.size());
    std::vector<bool> pole(rings.size());
    for (size_t r = 0; r < rings.size(); ++r) {
        const Ring& ring = rings[r];
        first[r] = m.vertexCount();
        pole[r] = ring.a <= 0 && ring.b <= 0;
        int count = pole[r] ? 1 : perRing;
        for (int k = 0; k < count; ++k) {
            float t = 2 * kPi * float(k % segments) / float(segments);
            float3 p = ring.centre + ring.side * (ring.a * std::cos(t)) + ring.up * (ring.b * std::sin(t));
            float u = pole[r] ? uRepeats * 0.5f : uRepeats * float(k) / float(segments);
            m.addVertex(p, float3(0, 0, 1), u, ring.v);
            m.color.push_back(ring.colour);
            m.skin.push_back(ring.skin);
        }
    }
    for (size_t r = 0; r + 1 < rings.size(); ++r) {
        for (int k = 0; k < segments; ++k) {
            int k1 = textured ? k + 1 : (k + 1) % segments;
            int a = pole[r] ? first[r] : first[r] + k;
            int b = pole[r] ? first[r] : first[r] + k1;
            int c = pole[r + 1] ? first[r + 1] : first[r + 1] + k1;
            int d = pole[r + 1] ? first[r + 1] : first[r + 1] + k;
            if (a != b && b != c)
                m.parts[0].triangles.push_back(tri(a, b, c));
            if (c != d && a != d)
                m.parts[0].triangles.push_back(tri(a, c, d));
        }
    }
    smoothNormals(m);
    if (textured) {
        // The seam's two columns share one normal, so the seam does not show in the shading.
        for (size_t r = 0; r < rings.size(); ++r) {
            if (pole[r])
                continue;
            size_t a = size_t(first[r]), b = size_t(first[r] + segments);
            float3 n = unit(m.normal[a] + m.normal[b]);
            m.normal[a] = m.normal[b] = n;
        }
    }
    return m;
}

Ring ringAlong(float3 centre, float3 dir, float3 upHint, float a, float b)
{
    Ring r;
    float3 t = unit(dir);
    float3 side = unit(cross(upHint, t));
    if (length(side) < 1e-4f)
        side = unit(cross(float3(1, 0, 0), t));
    r.centre = centre;
    r.side = side;
    r.up = cross(t, side);
    r.a = a;
    r.b = b;
    return r;
}

// ---- shapes

MeshData ellipsoid(float3 radii, int rings, int segments)
{
    MeshData s = scenelib::sphere(1, rings, segments);
    return scenelib::transformed(s, scenelib::scaling(radii));
}

MeshData cone(float radius, float height, int segments)
{
    MeshData m = onePart();
    float3 apex(0, 0, height);
    for (int i = 0; i < segments; ++i) {
        float a0 = 2 * kPi * float(i) / float(segments), a1 = 2 * kPi * float(i + 1) / float(segments);
        float3 p0(radius * std::cos(a0), radius * std::sin(a0), 0);
        float3 p1(radius * std::cos(a1), radius * std::sin(a1), 0);
        faceTri(m, p0, p1, apex);
    }
    return m;
}

MeshData frustum(float r0, float r1, float height, int segments)
{
    MeshData m = onePart();
    float3 top(0, 0, height), bottom(0, 0, 0);
    for (int i = 0; i < segments; ++i) {
        float a0 = 2 * kPi * float(i) / float(segments), a1 = 2 * kPi * float(i + 1) / float(segments);
        float3 b0(r0 * std::cos(a0), r0 * std::sin(a0), 0), b1(r0 * std::cos(a1), r0 * std::sin(a1), 0);
        float3 t0(r1 * std::cos(a0), r1 * std::sin(a0), height), t1(r1 * std::cos(a1), r1 * std::sin(a1), height);
        faceQuad(m, b0, b1, t1, t0);
        if (r1 > 0)
            faceTri(m, top, t0, t1);
        faceTri(m, bottom, b1, b0);
    }
    return m;
}

MeshData block(float width, float depth, float height)
{
    MeshData m = onePart();
    float x = width / 2, y = depth / 2, z = height;
    faceQuad(m, {-x, -y, 0}, {x, -y, 0}, {x, -y, z}, {-x, -y, z});
    faceQuad(m, {x, y, 0}, {-x, y, 0}, {-x, y, z}, {x, y, z});
    faceQuad(m, {x, -y, 0}, {x, y, 0}, {x, y, z}, {x, -y, z});
    faceQuad(m, {-x, y, 0}, {-x, -y, 0}, {-x, -y, z}, {-x, y, z});
    faceQuad(m, {-x, -y, z}, {x, -y, z}, {x, y, z}, {-x, y, z});
    return m;
}

MeshData gableRoof(float width, float depth, float height, float overhang)
{
    MeshData m = onePart();
    float x = width / 2 + overhang, y = depth / 2 + overhang;
    // The eaves drop with the overhang so the slope stays the same.
    float drop = height * overhang / (depth / 2);
    float3 a(-x, -y, -drop), b(x, -y, -drop), c(x, y, -drop), d(-x, y, -drop);
    float3 r0(-x, 0, height), r1(x, 0, height);
    faceQuad(m, a, b, r1, r0); // front slope
    faceQuad(m, c, d, r0, r1); // back slope
    float3 g0(-width / 2, -depth / 2, 0), g1(-width / 2, depth / 2, 0), g2(-width / 2, 0, height);
    faceTri(m, g1, g0, g2);
    float3 h0(width / 2, -depth / 2, 0), h1(width / 2, depth / 2, 0), h2(width / 2, 0, height);
    faceTri(m, h0, h1, h2);
    // Undersides of the eaves, so the roof does not look paper-thin from below.
    faceQuad(m, r0, r1, b, a);
    faceQuad(m, r1, r0, d, c);
    return m;
}

MeshData pyramidRoof(float width, float depth, float height)
{
    MeshData m = onePart();
    float x = width / 2, y = depth / 2;
    float3 apex(0, 0, height);
    float3 a(-x, -y, 0), b(x, -y, 0), c(x, y, 0), d(-x, y, 0);
    faceTri(m, a, b, apex);
    faceTri(m, b, c, apex);
    faceTri(m, c, d, apex);
    faceTri(m, d, a, apex);
    return m;
}

MeshData flatRing(float innerRadius, float outerRadius, int segments)
{
    MeshData m = onePart();
    for (int i = 0; i <= segments; ++i) {
        float a = 2 * kPi * float(i % segments) / float(segments);
        float c = std::cos(a), s = std::sin(a);
        m.addVertex(float3(innerRadius * c, innerRadius * s, 0), float3(0, 0, 1), float(i) / float(segments), 0);
        m.addVertex(float3(outerRadius * c, outerRadius * s, 0), float3(0, 0, 1), float(i) / float(segments), 1);
    }
    for (int i = 0; i < segments; ++i) {
        int b = 2 * i;
        m.parts[0].triangles.push_back(tri(b, b + 1, b + 3));
        m.parts[0].triangles.push_back(tri(b, b + 3, b + 2));
    }
    return m;
}

MeshData disc(float radius, int segments, float tile)
{
    MeshData m = onePart();
    int centre = m.addVertex(float3(0, 0, 0), float3(0, 0, 1), 0, 0);
    for (int i = 0; i < segments; ++i) {
        float a = 2 * kPi * float(i) / float(segments);
        float x = radius * std::cos(a), y = radius * std::sin(a);
        m.addVertex(float3(x, y, 0), float3(0, 0, 1), x / tile, y / tile);
    }
    for (int i = 0; i < segments; ++i)
        m.parts[0].triangles.push_back(tri(centre, centre + 1 + i, centre + 1 + (i + 1) % segments));
    return m;
}

MeshData groundQuad(float x0, float y0, float x1, float y1, float tile)
{
    MeshData m = onePart();
    float3 n(0, 0, 1);
    int i = m.addVertex(float3(x0, y0, 0), n, x0 / tile, y0 / tile);
    m.addVertex(float3(x1, y0, 0), n, x1 / tile, y0 / tile);
    m.addVertex(float3(x1, y1, 0), n, x1 / tile, y1 / tile);
    m.addVertex(float3(x0, y1, 0), n, x0 / tile, y1 / tile);
    m.parts[0].triangles.push_back(tri(i, i + 1, i + 2));
    m.parts[0].triangles.push_back(tri(i, i + 2, i + 3));
    return m;
}

MeshData strip(float3 a, float3 b, float width, float tile)
{
    MeshData m = onePart();
    float3 along = b - a;
    float len = length(along);
    float3 side = unit(cross(float3(0, 0, 1), along)) * (width / 2);
    float3 n(0, 0, 1);
    int i = m.addVertex(a - side, n, 0, 0);
    m.addVertex(b - side, n, len / tile, 0);
    m.addVertex(b + side, n, len / tile, width / tile);
    m.addVertex(a + side, n, 0, width / tile);
    // a - side lies to the right of the direction a -> b; the quad turns counter-clockwise from above.
    m.parts[0].triangles.push_back(tri(i, i + 1, i + 2));
    m.parts[0].triangles.push_back(tri(i, i + 2, i + 3));
    return m;
}

MeshData lathe(const std::vector<std::pair<float, float>>& profile, int segments)
{
    MeshData m = onePart();
    for (const auto& pr : profile)
        for (int k = 0; k <= segments; ++k) {
            float a = 2 * kPi * float(k % segments) / float(segments);
            m.addVertex(float3(pr.first * std::cos(a), pr.first * std::sin(a), pr.second), float3(0, 0, 1),
                        float(k) / float(segments), pr.second);
        }
    const int row = segments + 1;
    for (size_t i = 0; i + 1 < profile.size(); ++i)
        for (int k = 0; k < segments; ++k) {
            int a = int(i) * row + k, b = a + 1, c = a + row + 1, d = a + row;
            if (profile[i].first > 0)
                m.parts[0].triangles.push_back(tri(a, b, c));
            if (profile[i + 1].first > 0)
                m.parts[0].triangles.push_back(tri(a, c, d));
        }
    smoothNormals(m);
    return m;
}

MeshData torus(float majorRadius, float minorRadius, int majorSegments, int minorSegments)
{
    MeshData m = onePart();
    for (int i = 0; i < majorSegments; ++i) {
        float a = 2 * kPi * float(i) / float(majorSegments);
        float3 dir(std::cos(a), std::sin(a), 0);
        for (int j = 0; j < minorSegments; ++j) {
            float b = 2 * kPi * float(j) / float(minorSegments);
            float3 n = dir * std::cos(b) + float3(0, 0, std::sin(b));
            m.addVertex(dir * majorRadius + n * minorRadius, n, float(i) / float(majorSegments),
                        float(j) / float(minorSegments));
        }
    }
    for (int i = 0; i < majorSegments; ++i)
        for (int j = 0; j < minorSegments; ++j) {
            int i1 = (i + 1) % majorSegments, j1 = (j + 1) % minorSegments;
            int a = i * minorSegments + j, b = i1 * minorSegments + j;
            int c = i1 * minorSegments + j1, d = i * minorSegments + j1;
            m.parts[0].triangles.push_back(tri(a, b, c));
            m.parts[0].triangles.push_back(tri(a, c, d));
        }
    return m;
}

MeshData blob(float3 radii, uint32_t seed, float jitter)
{
    // Octahedron faces, each split into four, the new points pushed out to the unit sphere.
    const float3 v[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    const int f[8][3] = {{0, 2, 4}, {2, 1, 4}, {1, 3, 4}, {3, 0, 4}, {2, 0, 5}, {1, 2, 5}, {3, 1, 5}, {0, 3, 5}};
    Random rnd(seed);
    // Jitter per distinct point, keyed by its rounded direction so shared corners move together.
    auto push = [&](float3 p) {
        p = unit(p);
        float h = hash01(int(std::lround(p.x * 100)), int(std::lround(p.y * 100)) * 7 + int(std::lround(p.z * 100)), seed);
        float s = 1 + jitter * (h - 0.5f) * 2;
        return mulEach(p * s, radii);
    };
    MeshData m = onePart();
    for (const auto& face : f) {
        float3 a = v[face[0]], b = v[face[1]], c = v[face[2]];
        float3 ab = (a + b) * 0.5f, bc = (b + c) * 0.5f, ca = (c + a) * 0.5f;
        faceTri(m, push(a), push(ab), push(ca));
        faceTri(m, push(ab), push(b), push(bc));
        faceTri(m, push(ca), push(bc), push(c));
        faceTri(m, push(ab), push(bc), push(ca));
    }
    (void)rnd;
    return m;
}

// ---- mesh changes

MeshData flatShaded(const MeshData& mesh)
{
    MeshData out;
    for (const MeshPart& part : mesh.parts) {
        MeshPart p;
        p.material = part.material;
        for (const Engine2Scene::int3& t : part.triangles) {
            const int idx[3] = {t.a, t.b, t.c};
            float3 a = mesh.xyz[size_t(t.a)], b = mesh.xyz[size_t(t.b)], c = mesh.xyz[size_t(t.c)];
            float3 n = unit(cross(b - a, c - a));
            int base = out.vertexCount();
            for (int k = 0; k < 3; ++k) {
                size_t s = size_t(idx[k]);
                float3 uv = mesh.uv.empty() ? float3() : mesh.uv[s];
                out.addVertex(mesh.xyz[s], n, uv.x, uv.y);
                if (!mesh.color.empty())
                    out.color.push_back(mesh.color[s]);
                if (!mesh.skin.empty())
                    out.skin.push_back(mesh.skin[s]);
            }
            p.triangles.push_back(tri(base, base + 1, base + 2));
        }
        out.parts.push_back(p);
    }
    return out;
}

void smoothNormals(MeshData& mesh)
{
    std::vector<float3> n(mesh.xyz.size());
    for (const MeshPart& part : mesh.parts)
        for (const Engine2Scene::int3& t : part.triangles) {
            float3 a = mesh.xyz[size_t(t.a)], b = mesh.xyz[size_t(t.b)], c = mesh.xyz[size_t(t.c)];
            float3 f = cross(b - a, c - a);
            n[size_t(t.a)] = n[size_t(t.a)] + f;
            n[size_t(t.b)] = n[size_t(t.b)] + f;
            n[size_t(t.c)] = n[size_t(t.c)] + f;
        }
    for (size_t i = 0; i < n.size(); ++i)
        mesh.normal[i] = length(n[i]) > 0 ? unit(n[i]) : float3(0, 0, 1);
}

MeshData placed(const MeshData& mesh, float3 at, float turn, float3 colour)
{
    return scenelib::painted(scenelib::transformed(mesh, scenelib::mul(scenelib::rotationZ(turn), scenelib::translation(at))),
                             colour);
}

MeshData moved(const MeshData& mesh, float3 by)
{
    return scenelib::transformed(mesh, scenelib::translation(by));
}

void planarUV(MeshData& mesh, float tile)
{
    mesh.uv.resize(mesh.xyz.size());
    for (size_t i = 0; i < mesh.xyz.size(); ++i)
        mesh.uv[i] = float3(mesh.xyz[i].x / tile, mesh.xyz[i].y / tile, 0);
}

void boxUV(MeshData& mesh, float tile)
{
    mesh.uv.resize(mesh.xyz.size());
    for (size_t i = 0; i < mesh.xyz.size(); ++i) {
        float3 p = mesh.xyz[i], n = mesh.normal[i];
        float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
        float u, v;
        if (az >= ax && az >= ay)
            u = p.x, v = p.y;
        else if (ax >= ay)
            u = p.y, v = p.z;
        else
            u = p.x, v = p.z;
        mesh.uv[i] = float3(u / tile, v / tile, 0);
    }
}

void darkenBelow(MeshData& mesh, float zBottom, float zTop, float low)
{
    if (mesh.color.empty())
        mesh.color.assign(mesh.xyz.size(), float3(1, 1, 1));
    for (size_t i = 0; i < mesh.xyz.size(); ++i) {
        float t = (mesh.xyz[i].z - zBottom) / (zTop - zBottom);
        t = std::min(1.0f, std::max(0.0f, t));
        mesh.color[i] = mesh.color[i] * (low + (1 - low) * t);
    }
}

} // namespace mkscenes
