#pragma once

// The matrix types shared by the renderer, the 3D scenes and the park view, beside the
// float3 and float4 of the utility helpers. Plain aggregates of 32-bit floats with no padding,
// so arrays of them can be copied as words. float4x4 and float3x3 are row-major; float4x3 is
// three rows of four (translation in the fourth column, column vectors).

#include "toolkit/utils/misc.h"

struct float3x3 {
    float m[3][3] = {};
};

struct float4x3 {
    float m[3][4] = {};
};

struct float4x4 {
    float m[4][4] = {};
};

static_assert(sizeof(float3) == 12 && sizeof(float4) == 16 && sizeof(float3x3) == 36 &&
                  sizeof(float4x3) == 48 && sizeof(float4x4) == 64,
              "vector types must be tightly packed floats");
