#pragma once

// One "[slide camera]" entry of a building: a marker in the park and the camera flight it
// plays when clicked. The park view keeps its hover and animation state here.

#include <string>

class SlideCamera {
public:
    SlideCamera(const std::wstring& nodeName, const std::wstring& cameraName, int frames,
                const std::wstring& layers, const std::wstring& hoverText)
        : mNodeName(nodeName), mCameraName(cameraName), mLayers(layers), mFrames(frames), mHoverText(hoverText)
    {
    }

    std::wstring mNodeName;     // marker node in "Slide_cameras.3dn"
    std::wstring mCameraName;   // the flight's camera in the same scene
    std::wstring mLayers;       // layer flags for drawing the flight
    int mNodeIndex = -1;
    int mHovered = 0;
    int mFrames;
    float mTime = 0.0f;
    float mFade = 0.0f;
    int mFadingIn = 0;
    int mFadingOut = 0;
    int mPlaying = 0;
    std::wstring mHoverText;
    float mHoverDistance = 0.0f;
};
