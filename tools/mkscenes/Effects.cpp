#include "mkscenes/Effects.h"

#include "mkscenes/Geometry.h"
#include "scenelib/SceneBuilder.h"

#include <cmath>

// Index: lights - effects

namespace mkscenes {

using namespace scenelib;

// ---- lights

// A warm sun high in the south-west and a cool fill from the north-east. Both stand far away
// and fade as distance / start, so the whole park is lit alike; together they make the
// global ambient light.
bool writeLights(const std::string& sceneDir)
{
    SceneBuilder b;
    b.setAnimation(1, 25);
    b.setComments("park lights");
    float3 sunDir = unit(float3(-0.45f, -0.75f, 1.0f));
    LightDesc sun("sun !amb=0.22 !dif=0.95 !spc=0.5 !glo=0.3", sunDir * 1500, float3(1.0f, 0.95f, 0.86f), 1);
    sun.fadeStart = 1500;
    sun.fadeEnd = 9000;
    b.addLight(sun);
    float3 fillDir = unit(float3(0.6f, 0.7f, 0.55f));
    LightDesc fill("sky fill !amb=0 !dif=0.45 !spc=0 !glo=0.12", fillDir * 1500, float3(0.62f, 0.72f, 0.95f), 1);
    fill.fadeStart = 1500;
    fill.fadeEnd = 9000;
    b.addLight(fill);
    return b.save(sceneDir + "/mBackground3DLight.3dn");
}

bool writeEffects(const std::string& sceneDir)
{
    (void)sceneDir;
    return true;
}

} // namespace mkscenes
