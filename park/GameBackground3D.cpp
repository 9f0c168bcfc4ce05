#include "park/GameBackground3D.h"

#include "park/GameCamera.h"

GameBackground3D::GameBackground3D() : mCamera(new GameCamera())
{
}
