#include "park/FX.h"

#include "game/DataStorage.h"
#include "render/external/bg_loader.h"

FX::FX(const std::string& file) : mScene(requestObject("data/3dn/" + file))
{
}

FX::~FX()
{
    bgLoader.release(static_cast<BGLoader::ObjectResource*>(mScene));
}

void FX::draw(const float4x3& world)
{
    const float4 colour(1, 1, 1, 1);
    mScene->draw(&world, mTime, nullptr, 0, "111111111", nullptr, 0, &colour);
}
