#pragma once

// The screen that shows the park in 3D behind the in-game HUD. Every 10 ms step it runs the
// buildings' slide shows, the visitors and the game camera; every frame it queues the animals,
// the visitors, the park scenes with the layers the built buildings and the rules switch on, and
// a playing slide show. It owns the game camera and the park's scenes; the other screens and the
// park rules reach both through the singleton.
//
// Index: layer flags - the screen

#include "core/Singleton.h"
#include "render/CRender.h"
#include "source_menu/generated/_GameBackground3D.h"

#include <utility>
#include <vector>

class GameCamera;
class SlideCamera;

// The layer flags of a park scene draw: one '0'/'1' per layer 0..198, built on the stack each
// frame. A layer number without a character (below 0 or above 198) changes nothing and is
// reported once.
class LayerFlags {
public:
    static const int kCount = 199;

    LayerFlags();
    // Layer on.
    void show(int layer);
    // Each rule in order (value, condition layers): when every condition layer is on (always,
    // without conditions), a value v of 1 or more switches layer v on, a value below 1 switches
    // layer -v off. A later rule sees what earlier ones did.
    void apply(const std::vector<std::pair<int, std::vector<int>>>& rules);
    bool isOn(int layer) const;
    const char* c_str() const { return mFlags; }

private:
    // The character of a layer, null (with the one report) for a number without one.
    char* at(int layer);

    char mFlags[kCount + 1];
};

class GameBackground3D : public Singleton<GameBackground3D>, public _GameBackground3D {
public:
    GameBackground3D() = default;

    // Names the screen, imports its layout, creates the camera (reading "camera.txt") and
    // requests the park scenes.
    void init(const char* path) override;
    void load() override;
    void unload() override;
    void update() override;
    void draw() override;
    // Also sets the park scenes' animation back to their start.
    void reset() override;
    void onFrame() override;
    void unusedScreenHook() override {}

    // Advances the animated park scenes by one 10 ms step (each loaded one by its frame rate).
    void stepAnimationTime();
    // One step / one frame of a building's slide-show entry.
    void stepSlideEntry(SlideCamera* entry);
    void drawSlideEntry(SlideCamera* entry);

    CRender::Object* mBackground3D = nullptr;       // "main3D.3dn": the park
    CRender::Object* mBackground3DLight = nullptr;  // "mBackground3DLight.3dn": its lights
    CRender::Object* mBackground3DFX = nullptr;     // "mBackground3DFX.3dn": its animated effects
    CRender::Object* mSlideCameras = nullptr;       // "Slide_cameras.3dn": markers and flights
    float mBackgroundTime = 0.0f;                   // frames of mBackground3D
    float mFXTime = 0.0f;                           // frames of mBackground3DFX
    GameCamera* mCamera = nullptr;
    int mSlidePlaying = 0;                          // a slide show plays: its camera has the view
    CRender::Object* mBuildingsHelpers = nullptr;   // "Buildings_Helpers.3dn": the buildings' points
    // The animals' places ("[animals helpers]" of "animals.txt"), set by the game data loader.
    CRender::Object* mAnimalPlaces = nullptr;

private:
    // Builds the layer flags of this frame from the starting layers, the built buildings and
    // the rules of "global.txt".
    void buildLayerFlags(LayerFlags& flags) const;
};
