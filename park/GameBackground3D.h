#pragma once

// The park view screen. Only what the park data uses of it so far: the game camera and the
// scene of animal places.

#include "core/Singleton.h"
#include "render/CRender.h"
#include "toolkit/widgets/Container.h"

class GameCamera;

class GameBackground3D : public Singleton<GameBackground3D>, public Container {
public:
    GameBackground3D();

    GameCamera* mCamera;
    // The scene whose nodes are the animals' places ("[animals helpers]" of "animals.txt").
    CRender::Object* mAnimalPlaces = nullptr;
};
