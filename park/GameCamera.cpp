#include "park/GameCamera.h"

void GameCamera::reset()
{
    mGliding = 0;
    mFollowAnimal = nullptr;
    mFollowPerson = nullptr;
}
