#include "scenelib/Matrix.h"

#include "core/Assert.h"

#include <cmath>
#include <utility>

namespace scenelib {

float4x4 identity()
{
    float4x4 m;
    for (int i = 0; i < 4; ++i)
        m.m[i][i] = 1;
    return m;
}

float4x4 translation(float3 t)
{
    float4x4 m = identity();
    m.m[3][0] = t.x;
    m.m[3][1] = t.y;
    m.m[3][2] = t.z;
    return m;
}

float4x4 scaling(float3 s)
{
    float4x4 m = identity();
    m.m[0][0] = s.x;
    m.m[1][1] = s.y;
    m.m[2][2] = s.z;
    return m;
}

// With row vectors a rotation's rows are the images of the axes.
float4x4 rotationX(float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    float4x4 m = identity();
    m.m[1][1] = c, m.m[1][2] = s;
    m.m[2][1] = -s, m.m[2][2] = c;
    return m;
}

float4x4 rotationY(float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    float4x4 m = identity();
    m.m[0][0] = c, m.m[0][2] = -s;
    m.m[2][0] = s, m.m[2][2] = c;
    return m;
}

float4x4 rotationZ(float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    float4x4 m = identity();
    m.m[0][0] = c, m.m[0][1] = s;
    m.m[1][0] = -s, m.m[1][1] = c;
    return m;
}

float4x4 mul(const float4x4& a, const float4x4& b)
{
    float4x4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += double(a.m[i][k]) * b.m[k][j];
            r.m[i][j] = float(sum);
        }
    return r;
}

float4x4 inverse(const float4x4& in)
{
    double a[4][8];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            a[i][j] = in.m[i][j];
            a[i][j + 4] = i == j ? 1 : 0;
        }
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c]))
                pivot = r;
        PP_ASSERT_MSG(std::fabs(a[pivot][c]) > 1e-12, "scene matrix cannot be inverted");
        for (int j = 0; j < 8; ++j)
            std::swap(a[c][j], a[pivot][j]);
        double p = a[c][c];
        for (int j = 0; j < 8; ++j)
            a[c][j] /= p;
        for (int r = 0; r < 4; ++r) {
            if (r == c)
                continue;
            double f = a[r][c];
            for (int j = 0; j < 8; ++j)
                a[r][j] -= f * a[c][j];
        }
    }
    float4x4 out;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            out.m[i][j] = float(a[i][j + 4]);
    return out;
}

float3 transformPoint(float3 p, const float4x4& m)
{
    return float3(p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0],
                  p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1],
                  p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + m.m[3][2]);
}

float3 transformDirection(float3 v, const float4x4& m)
{
    return float3(v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0],
                  v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1],
                  v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2]);
}

float3 translationOf(const float4x4& m)
{
    return float3(m.m[3][0], m.m[3][1], m.m[3][2]);
}

float4x4 cameraMatrix(float3 eye, float3 target, float3 up)
{
    float3 f = normalize(sub(target, eye));
    float3 y = normalize(sub(up, scaled(f, dot(up, f))));
    float3 z = scaled(f, -1);
    float3 x = crossProduct(y, z);
    float4x4 m = identity();
    const float3 rows[4] = {x, y, z, eye};
    for (int r = 0; r < 4; ++r) {
        m.m[r][0] = rows[r].x;
        m.m[r][1] = rows[r].y;
        m.m[r][2] = rows[r].z;
    }
    return m;
}

float4x4 poseMatrix(const Pose& p)
{
    float4x4 m = scaling(p.scale);
    m = mul(m, rotationX(p.rotation.x));
    m = mul(m, rotationY(p.rotation.y));
    m = mul(m, rotationZ(p.rotation.z));
    return mul(m, translation(p.position));
}

Track animate(const std::vector<PoseKey>& keys, int frames)
{
    PP_ASSERT_MSG(!keys.empty() && frames >= 0, "an animation needs keys");
    Track track;
    size_t k = 0;
    for (int f = 0; f <= frames; ++f) {
        while (k + 1 < keys.size() && keys[k + 1].frame <= f)
            ++k;
        Pose pose = keys[k].pose;
        if (k + 1 < keys.size() && f > keys[k].frame) {
            const PoseKey& a = keys[k];
            const PoseKey& b = keys[k + 1];
            float t = float(f - a.frame) / float(b.frame - a.frame);
            pose.position = lerp(a.pose.position, b.pose.position, t);
            pose.rotation = lerp(a.pose.rotation, b.pose.rotation, t);
            pose.scale = lerp(a.pose.scale, b.pose.scale, t);
        }
        track.push_back(poseMatrix(pose));
    }
    return track;
}

} // namespace scenelib
