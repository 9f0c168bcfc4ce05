#pragma once

// The animated 3D figure of one animal: the species' scene drawn at a named place node of
// another scene (the park's animal places, or the trick show's stage). The place node's own
// animation moves the figure along its path while the figure plays named frame ranges of its
// scene (walking, eating, tricks). The coat is a texture substitution of the material "Pingwin";
// layer 2 shows the unwell marker and layer 3 the hungry marker. A park animal can be pointed at
// (the cursor shows its name) and clicked (the camera follows it and the HUD folds close).

#include "render/CRender.h"

#include <string>

class DataAnimal;

class AnimalAvatar {
public:
    // Requests the species' scene (scenePath, "data/3dn/<species>.3dn"); the figure stands at
    // the node placeName of placeScene. creatorWord is kept for the creator (the park keeps the
    // place's index there). variant picks the species' coat and its layer mask.
    AnimalAvatar(const std::string& scenePath, const std::string& placeName, int creatorWord,
                 CRender::Object* placeScene, const std::wstring& species, int variant);

    // Makes the named animation current from its first frame; the queued one stays.
    void setAnimation(const std::wstring& name);
    // Plays the named animation once, then returns to the current one from its start.
    void playThen(const std::wstring& name);
    // Whether the animation time lies within the named range (both ends included).
    bool isPlaying(const std::wstring& name) const;
    // One 10 ms step: animation, markers, pointing and clicking, the walk along the place path.
    // animal is null on the trick show's stage (no markers, no pointing).
    void update(DataAnimal* animal);
    // Queues the figure at its place node; nothing until both scenes are loaded.
    void draw();
    // One step of a park animal: its happiness, its figure (unless at the doctor), the end of
    // its meal.
    static void updateInPark(DataAnimal* animal);

    CRender::Object* mFigure = nullptr;
    CRender::Object* mPlaceScene = nullptr;
    std::wstring mType;           // species key
    std::wstring mAnimation;      // lower case
    float mAnimTime = 0.0f;       // frames of the figure's scene
    float mPlaceTime = 0.0f;      // frames of the place scene
    CRender::Object::Mixer mMixer;
    int mVariant = 0;
    std::wstring mLayerMask;
    int mClickLatch = 0;
    float3 mPosition;             // where the figure was last drawn
    int mHungry = 0;
    int mUnwell = 0;
    std::wstring mNextAnimation;  // empty: the current one loops
    int mPlaceNode = -1;
    std::string mPlaceNodeName;
    int mCreatorWord = 0;
    // Set by the first draw; until then mPosition is no place the camera can follow.
    int mDrawn = 0;
};
