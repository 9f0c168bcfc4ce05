#pragma once

// The animated 3D figure of one animal, standing at a named place node of the animal places
// scene. Only what the park data uses of it so far: its place and its animations.

#include "render/CRender.h"

#include <string>

class AnimalAvatar {
public:
    // Requests the species' scene; the figure stands at the place node (placeIndex is kept
    // as the creator's word: the place's index in the species' places).
    AnimalAvatar(const std::string& scenePath, const std::string& placeName, int placeIndex,
                 CRender::Object* placeScene, const std::wstring& species, int variant);

    // Makes the named animation current from its first frame.
    void setAnimation(const std::wstring& name);
    // Plays the named animation once, then returns to the current one.
    void playThen(const std::wstring& name);

    CRender::Object* mFigure = nullptr;
    CRender::Object* mPlaceScene = nullptr;
    std::wstring mType;
    std::wstring mAnimation;
    float mAnimTime = 0.0f;
    float mPlaceTime = 0.0f;
    int mVariant = 0;
    std::wstring mLayerMask;
    std::wstring mNextAnimation;
    int mPlaceNode = -1;
    std::string mPlaceNodeName;
    int mCreatorWord = 0;
};
