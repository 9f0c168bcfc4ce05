#include "render/object_3dn_loader.h"

#include "render/image.h"
#include "render/object.h"

#include <cmath>
#include <cstdio>
#include <map>

// ---- matrices

void invert_matrix(float4x4& out, const float4x4& in)
{
    float a[4][4];
    float r[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            a[i][j] = in.m[i][j];
    for (int c = 0; c < 4; ++c) {
        int pivot = -1;
        float best = 1e-6f;
        for (int row = c; row < 4; ++row)
            if (std::fabs(a[row][c]) > best) {
                best = std::fabs(a[row][c]);
                pivot = row;
            }
        if (pivot < 0) {
            std::printf("INVERSE FAILED!\n");
            for (int i = 0; i < 4; ++i)
                for (int j = 0; j < 4; ++j)
                    out.m[i][j] = r[i][j];
            return;
        }
        for (int j = 0; j < 4; ++j) {
            std::swap(a[c][j], a[pivot][j]);
            std::swap(r[c][j], r[pivot][j]);
        }
        const float d = a[c][c];
        for (int j = 0; j < 4; ++j) {
            a[c][j] /= d;
            r[c][j] /= d;
        }
        for (int row = 0; row < 4; ++row) {
            if (row == c)
                continue;
            const float k = a[row][c];
            for (int j = 0; j < 4; ++j) {
                a[row][j] -= k * a[c][j];
                r[row][j] -= k * r[c][j];
            }
        }
    }
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            out.m[i][j] = r[i][j];
    out.m[0][3] = out.m[1][3] = out.m[2][3] = 0;
    out.m[3][3] = 1;
}

float4x4 invert_matrix(const float4x4& in)
{
    float4x4 out;
    invert_matrix(out, in);
    return out;
}

// ---- texture cache

std::mutex& texture_cache_lock()
{
    static std::mutex lock;
    return lock;
}

TextureCacheEntry& texture_cache_entry(const std::string& path)
{
    static std::map<std::string, TextureCacheEntry> cache;
    return cache[path];
}

bool load_3dn(Object&, const char*)
{
    return false;
}
