#include "park/FX.h"

#include "game/DataStorage.h"

FX::FX(const std::string& file) : mScene(requestObject("data/3dn/" + file))
{
}
