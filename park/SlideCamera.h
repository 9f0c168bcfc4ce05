#pragma once

// One "[slide camera]" entry of a building: a marker node of the slide scene in the park and the
// camera flight it plays when clicked. The park view keeps the entry's hover, fade and flight
// state here (GameBackground3D::stepSlideEntry and drawSlideEntry).

#include "toolkit/utils/misc.h"

#include <cfloat>
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
    int mNodeIndex = -1;        // -1 until found in the loaded slide scene
    float3 mPoint;              // the marker's place at time 0
    int mHovered = 0;
    int mFrames;                // length of the flight
    float mTime = 0.0f;         // flight time in frames
    float mFade = 0.0f;         // alpha of the backdrop over the flight, 0..1
    int mFadingIn = 0;
    int mFadingOut = 0;
    int mPlaying = 0;
    std::wstring mHoverText;
    // Squared ground distance of the pointer's ground point from the marker; no distance (never
    // near) until the marker has been measured.
    float mHoverDistance = FLT_MAX;
};
