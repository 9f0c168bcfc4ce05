#include "mkscenes/FigureShapes.h"

#include <cmath>

namespace mkscenes {

namespace {

Spec dog()
{
    Spec s;
    s.kind = Kind::dog;
    s.key = "dog";
    s.furSpan = 0.6f;
    s.scale = 1;
    s.torso = {{-0.36f, 0.47f, 0, 0},          {-0.345f, 0.47f, 0.08f, 0.09f}, {-0.30f, 0.47f, 0.13f, 0.14f},
               {-0.20f, 0.46f, 0.155f, 0.16f}, {-0.05f, 0.46f, 0.15f, 0.155f}, {0.10f, 0.48f, 0.16f, 0.17f},
               {0.22f, 0.50f, 0.15f, 0.165f},  {0.30f, 0.52f, 0.10f, 0.12f},   {0.325f, 0.53f, 0, 0}};
    s.hips = float3(-0.20f, 0, 0.47f);
    s.chest = float3(0.12f, 0, 0.48f);
    s.neck = float3(0.25f, 0, 0.58f);
    s.head = float3(0.37f, 0, 0.75f);
    s.jaw = float3(0.45f, 0, 0.71f);
    s.ear = float3(-0.02f, 0.10f, 0.08f);
    s.earStyle = EarStyle::floppy;
    s.earLength = 0.17f;
    s.earWidth = 0.065f;
    s.front = {float3(0.16f, 0.09f, 0.44f), 0.24f, 0.05f, 0.066f, 0.05f, 0.045f, float3(0.06f, 0.05f, 0.038f), 0.025f};
    s.hind = {float3(-0.21f, 0.095f, 0.44f), 0.24f, 0.05f, 0.082f, 0.052f, 0.045f, float3(0.06f, 0.05f, 0.038f), 0.025f};
    s.neckRadiusBase = 0.095f;
    s.neckRadiusHead = 0.085f;
    s.headShape = {{-0.12f, 0.03f, 0, 0},         {-0.105f, 0.03f, 0.08f, 0.085f}, {-0.06f, 0.035f, 0.12f, 0.12f},
                   {0.02f, 0.035f, 0.125f, 0.12f}, {0.08f, 0.01f, 0.10f, 0.09f},    {0.13f, -0.025f, 0.07f, 0.062f},
                   {0.20f, -0.035f, 0.065f, 0.055f}, {0.235f, -0.035f, 0.045f, 0.04f}, {0.25f, -0.035f, 0, 0}};
    s.headPitch = 0;
    s.tail = {float3(-0.33f, 0, 0.53f), float3(-0.40f, 0, 0.61f), float3(-0.44f, 0, 0.69f), float3(-0.46f, 0, 0.77f)};
    s.tailRadius = {0.04f, 0.036f, 0.03f, 0.02f};
    s.eye = float3(0.075f, 0.075f, 0.065f);
    s.eyeRadius = 0.04f;
    s.eyeStyle = EyeStyle::round;
    s.eyeColour = rgb(0x1a1410);
    s.headScale = 1.15f;
    s.nose = float3(0.245f, 0, -0.01f);
    s.noseRadius = 0.036f;
    s.noseColour = rgb(0x1c1614);
    s.twoNostrils = false;
    s.walkPerLoop = 0.70f;
    s.stepsPerLoop = 2;
    return s;
}

Spec cat()
{
    Spec s;
    s.kind = Kind::cat;
    s.key = "cat";
    s.furSpan = 0.42f;
    s.scale = 0.72f;
    s.torso = {{-0.27f, 0.30f, 0, 0},        {-0.26f, 0.30f, 0.06f, 0.07f},  {-0.22f, 0.30f, 0.095f, 0.10f},
               {-0.12f, 0.29f, 0.11f, 0.11f}, {0.02f, 0.30f, 0.10f, 0.105f}, {0.12f, 0.31f, 0.105f, 0.115f},
               {0.19f, 0.32f, 0.09f, 0.10f},  {0.235f, 0.33f, 0.06f, 0.07f}, {0.25f, 0.335f, 0, 0}};
    s.hips = float3(-0.15f, 0, 0.30f);
    s.chest = float3(0.10f, 0, 0.31f);
    s.neck = float3(0.19f, 0, 0.37f);
    s.head = float3(0.27f, 0, 0.48f);
    s.jaw = float3(0.32f, 0, 0.45f);
    s.ear = float3(-0.015f, 0.055f, 0.07f);
    s.earStyle = EarStyle::pointed;
    s.earLength = 0.085f;
    s.earWidth = 0.055f;
    s.front = {float3(0.13f, 0.06f, 0.28f), 0.15f, 0.03f, 0.045f, 0.034f, 0.03f, float3(0.04f, 0.034f, 0.028f), 0.015f};
    s.hind = {float3(-0.16f, 0.065f, 0.28f), 0.15f, 0.03f, 0.056f, 0.036f, 0.03f, float3(0.04f, 0.034f, 0.028f), 0.015f};
    s.neckRadiusBase = 0.065f;
    s.neckRadiusHead = 0.06f;
    s.headShape = {{-0.09f, 0.01f, 0, 0},          {-0.08f, 0.01f, 0.06f, 0.06f}, {-0.04f, 0.015f, 0.095f, 0.085f},
                   {0.02f, 0.01f, 0.10f, 0.085f},   {0.07f, -0.01f, 0.08f, 0.065f}, {0.10f, -0.025f, 0.05f, 0.04f},
                   {0.115f, -0.03f, 0, 0}};
    s.headPitch = 0;
    s.tail = {float3(-0.25f, 0, 0.33f), float3(-0.34f, 0, 0.40f), float3(-0.38f, 0, 0.52f), float3(-0.36f, 0, 0.64f)};
    s.tailRadius = {0.03f, 0.027f, 0.024f, 0.02f};
    s.eye = float3(0.065f, 0.048f, 0.022f);
    s.eyeRadius = 0.03f;
    s.headScale = 1.2f;
    s.eyeStyle = EyeStyle::cat;
    s.eyeColour = rgb(0x8ccf3a);
    s.nose = float3(0.112f, 0, -0.012f);
    s.noseRadius = 0.016f;
    s.noseColour = rgb(0xe07a8a);
    s.twoNostrils = false;
    s.walkPerLoop = 0.50f;
    s.stepsPerLoop = 2;
    return s;
}

Spec rabbit()
{
    Spec s;
    s.kind = Kind::rabbit;
    s.key = "rabbit";
    s.furSpan = 0.4f;
    s.scale = 0.62f;
    s.torso = {{-0.19f, 0.22f, 0, 0},          {-0.18f, 0.22f, 0.07f, 0.08f},  {-0.14f, 0.23f, 0.11f, 0.12f},
               {-0.06f, 0.24f, 0.12f, 0.13f},   {0.03f, 0.25f, 0.105f, 0.115f}, {0.09f, 0.26f, 0.08f, 0.09f},
               {0.12f, 0.27f, 0.05f, 0.06f},    {0.13f, 0.275f, 0, 0}};
    s.hips = float3(-0.08f, 0, 0.23f);
    s.chest = float3(0.05f, 0, 0.25f);
    s.neck = float3(0.10f, 0, 0.30f);
    s.head = float3(0.15f, 0, 0.37f);
    s.jaw = float3(0.20f, 0, 0.35f);
    s.ear = float3(-0.025f, 0.035f, 0.06f);
    s.earStyle = EarStyle::longUpright;
    s.earLength = 0.17f;
    s.earWidth = 0.045f;
    s.front = {float3(0.07f, 0.05f, 0.18f), 0.09f, 0.02f, 0.03f, 0.022f, 0.02f, float3(0.03f, 0.025f, 0.02f), 0.012f};
    s.hind = {float3(-0.10f, 0.075f, 0.19f), 0.10f, 0.02f, 0.06f, 0.035f, 0.025f, float3(0.07f, 0.035f, 0.025f), 0.045f};
    s.neckRadiusBase = 0.06f;
    s.neckRadiusHead = 0.06f;
    s.headShape = {{-0.075f, 0, 0, 0},            {-0.065f, 0, 0.055f, 0.06f},  {-0.02f, 0.005f, 0.075f, 0.075f},
                   {0.04f, -0.005f, 0.07f, 0.065f}, {0.08f, -0.02f, 0.05f, 0.045f}, {0.10f, -0.025f, 0.03f, 0.03f},
                   {0.108f, -0.025f, 0, 0}};
    s.headPitch = 0;
    s.tail = {float3(-0.19f, 0, 0.25f), float3(-0.205f, 0, 0.26f), float3(-0.215f, 0, 0.27f), float3(-0.22f, 0, 0.275f)};
    s.tailRadius = {0.045f, 0.045f, 0.04f, 0.03f};
    s.eye = float3(0.035f, 0.056f, 0.022f);
    s.eyeRadius = 0.022f;
    s.eyeStyle = EyeStyle::round;
    s.eyeColour = rgb(0x2a1a16);
    s.nose = float3(0.104f, 0, -0.008f);
    s.noseRadius = 0.014f;
    s.noseColour = rgb(0xe88a9a);
    s.twoNostrils = false;
    s.walkPerLoop = 0.56f;
    s.stepsPerLoop = 2;
    return s;
}

Spec horse()
{
    Spec s;
    s.kind = Kind::horse;
    s.key = "horse";
    s.furSpan = 1.1f;
    s.scale = 1.6f;
    s.torso = {{-0.62f, 1.00f, 0, 0},         {-0.60f, 1.00f, 0.12f, 0.14f},  {-0.52f, 1.00f, 0.20f, 0.22f},
               {-0.35f, 0.98f, 0.23f, 0.24f},  {-0.10f, 0.97f, 0.22f, 0.24f},  {0.15f, 0.99f, 0.22f, 0.25f},
               {0.33f, 1.02f, 0.19f, 0.23f},   {0.45f, 1.06f, 0.12f, 0.15f},   {0.48f, 1.08f, 0, 0}};
    s.hips = float3(-0.35f, 0, 1.00f);
    s.chest = float3(0.20f, 0, 1.00f);
    s.neck = float3(0.40f, 0, 1.14f);
    s.head = float3(0.66f, 0, 1.52f);
    s.jaw = float3(0.80f, 0, 1.40f);
    s.ear = float3(-0.07f, 0.055f, 0.10f);
    s.earStyle = EarStyle::pointed;
    s.earLength = 0.12f;
    s.earWidth = 0.055f;
    s.front = {float3(0.30f, 0.13f, 0.90f), 0.48f, 0.07f, 0.11f, 0.07f, 0.06f, float3(0.075f, 0.07f, 0.06f), 0.01f};
    s.hind = {float3(-0.42f, 0.14f, 0.92f), 0.50f, 0.07f, 0.13f, 0.075f, 0.06f, float3(0.075f, 0.07f, 0.06f), 0.01f};
    s.neckRadiusBase = 0.17f;
    s.neckRadiusHead = 0.10f;
    s.headShape = {{-0.10f, 0, 0, 0},          {-0.09f, 0, 0.08f, 0.09f},   {-0.04f, 0, 0.10f, 0.11f},
                   {0.06f, -0.01f, 0.085f, 0.10f}, {0.18f, -0.01f, 0.075f, 0.085f}, {0.28f, -0.01f, 0.072f, 0.078f},
                   {0.335f, -0.01f, 0.055f, 0.06f}, {0.35f, -0.01f, 0, 0}};
    s.headPitch = 0.75f;
    s.tail = {float3(-0.60f, 0, 1.07f), float3(-0.70f, 0, 0.92f), float3(-0.73f, 0, 0.72f), float3(-0.72f, 0, 0.50f)};
    s.tailRadius = {0.05f, 0.07f, 0.075f, 0.055f};
    s.eye = float3(0.0f, 0.085f, 0.045f);
    s.eyeRadius = 0.036f;
    s.headScale = 1.1f;
    s.eyeStyle = EyeStyle::round;
    s.eyeColour = rgb(0x1a1210);
    s.nose = float3(0.33f, 0.035f, -0.005f);
    s.noseRadius = 0.02f;
    s.noseColour = rgb(0x201814);
    s.twoNostrils = true;
    s.walkPerLoop = 1.25f;
    s.stepsPerLoop = 2;
    return s;
}

Spec dino()
{
    Spec s;
    s.kind = Kind::dino;
    s.key = "dino";
    s.furSpan = 0.9f;
    s.scale = 1.4f;
    s.torso = {{-0.55f, 0.56f, 0, 0},         {-0.50f, 0.56f, 0.15f, 0.16f},  {-0.40f, 0.58f, 0.24f, 0.25f},
               {-0.20f, 0.59f, 0.29f, 0.29f},  {0.02f, 0.57f, 0.27f, 0.27f},   {0.20f, 0.53f, 0.22f, 0.22f},
               {0.32f, 0.51f, 0.15f, 0.16f},   {0.38f, 0.51f, 0, 0}};
    s.hips = float3(-0.25f, 0, 0.58f);
    s.chest = float3(0.12f, 0, 0.55f);
    s.neck = float3(0.30f, 0, 0.56f);
    s.head = float3(0.48f, 0, 0.70f);
    s.jaw = float3(0.50f, 0, 0.64f);
    s.ear = float3(-0.06f, 0.09f, 0.10f);
    s.earStyle = EarStyle::none;
    s.earLength = 0;
    s.earWidth = 0;
    s.front = {float3(0.14f, 0.17f, 0.42f), 0.24f, 0.05f, 0.09f, 0.075f, 0.07f, float3(0.09f, 0.085f, 0.05f), 0.02f};
    s.hind = {float3(-0.26f, 0.19f, 0.46f), 0.25f, 0.05f, 0.12f, 0.085f, 0.075f, float3(0.095f, 0.09f, 0.05f), 0.02f};
    s.neckRadiusBase = 0.15f;
    s.neckRadiusHead = 0.12f;
    s.headShape = {{-0.12f, 0.02f, 0, 0},        {-0.11f, 0.02f, 0.10f, 0.10f}, {-0.05f, 0.03f, 0.15f, 0.14f},
                   {0.05f, 0.03f, 0.15f, 0.13f},  {0.14f, 0.01f, 0.13f, 0.10f},  {0.22f, 0.0f, 0.10f, 0.08f},
                   {0.26f, 0.0f, 0.06f, 0.05f},   {0.27f, 0.0f, 0, 0}};
    s.headPitch = 0;
    s.tail = {float3(-0.45f, 0, 0.57f), float3(-0.75f, 0, 0.46f), float3(-1.02f, 0, 0.36f), float3(-1.25f, 0, 0.31f)};
    s.tailRadius = {0.20f, 0.13f, 0.08f, 0.04f};
    s.eye = float3(0.06f, 0.105f, 0.07f);
    s.eyeRadius = 0.045f;
    s.eyeStyle = EyeStyle::cartoon;
    s.eyeColour = rgb(0x1a1410);
    s.nose = float3(0.25f, 0.035f, 0.03f);
    s.noseRadius = 0.013f;
    s.noseColour = rgb(0x203018);
    s.twoNostrils = true;
    s.walkPerLoop = 0.72f;
    s.stepsPerLoop = 2;
    return s;
}

} // namespace

const Spec& specFor(Kind kind)
{
    static const Spec allTraits[] = {dog(), cat(), dino(), rabbit(), horse()};
    return allTraits[int(kind)];
}

float3 headPoint(const Spec& s, float3 rel)
{
    // Scaled about the head bone, then pitched nose-down about its y axis.
    rel = rel * s.headScale;
    float c = std::cos(s.headPitch), si = std::sin(s.headPitch);
    float3 r(rel.x * c + rel.z * si, rel.y, -rel.x * si + rel.z * c);
    return s.head + r;
}

void torsoAt(const Spec& s, float x, float& centreZ, float& halfHeight)
{
    centreZ = 0;
    halfHeight = 0;
    for (size_t i = 0; i + 1 < s.torso.size(); ++i) {
        const Section& a = s.torso[i];
        const Section& b = s.torso[i + 1];
        if (x >= a.x && x <= b.x) {
            float t = (x - a.x) / (b.x - a.x);
            centreZ = a.z + (b.z - a.z) * t;
            halfHeight = a.halfHeight + (b.halfHeight - a.halfHeight) * t;
            return;
        }
    }
}

} // namespace mkscenes
