#pragma once

// The base of every 2D element of a screen: its name and layer rectangles (WidgetBaseBase), and for
// real widgets the layer states driven by the pointer, the four-state show/hide machine stepped every
// 10 ms, the images per layer state, the transform, colour and clip applied when drawing, and the
// behaviour extensions that run first in every update.

#include "core/StepSchedule.h"
#include "toolkit/utils/misc.h"

#include <string>
#include <utility>
#include <vector>

class MyImage;
class WidgetBase;
struct Layer;

// Name and layer rectangles (x, y, w, h in fractions of the layout canvas).
class WidgetBaseBase {
public:
    virtual ~WidgetBaseBase() = default;

    const std::vector<float4>& getRects() const { return rects; }
    // The first rectangle: where a helper marks its place. Zero when there is none.
    float4 getRect() const;

    std::string name;
    std::vector<float4> rects;
};

// Per-widget behaviour (input, fade, grow, tooltip); stepped first in every enabled update.
class ExtensionBase {
public:
    explicit ExtensionBase(WidgetBase* owner) : owner(owner) {}
    virtual ~ExtensionBase() = default;

    virtual void reset() = 0;
    virtual void step() = 0;
    virtual void say() {}

    WidgetBase* owner;
};

// The centred band of the screen, the 4:3 layout canvas widened to the window: half its width per
// unit of aspect (single precision; not quite 0.375).
constexpr float kBandHalfWidth = 0.3750094f;
// A screen's show or hide transition, in ms.
constexpr int kTransitionMs = 250;

enum LayerState { kLayerNormal = 0, kLayerOver = 1, kLayerClick = 2, kLayerReleased = 3 };
enum ShowState { kShowHidden = 0, kShowAppearing = 1, kShowShown = 2, kShowDisappearing = 3 };

class WidgetBase : public WidgetBaseBase {
public:
    static constexpr int kStepMs = StepSchedule::kStepMs;
    static constexpr int kRecordCount = 10;

    WidgetBase();
    // Widgets own their images and extensions.
    ~WidgetBase() override;

    virtual void onStateChanged() {}
    virtual void onExtensionAdded(ExtensionBase* ext) {}
    virtual void unusedHook() {}
    virtual void init(const char* path) = 0;
    virtual void load() = 0;
    virtual bool isLoaded();
    virtual void unload() = 0;
    virtual void update() = 0;
    virtual void draw() = 0;
    virtual void reset();
    virtual void onFrame() = 0;

    std::vector<MyImage*>& getImages() { return mImages; }
    const std::vector<int>& getStateRecord(int k) const { return mRecords[k]; }

    std::pair<float, float> getOffset() const { return {mTransform.x, mTransform.y}; }
    void setOffset(float x, float y);
    float4 getTransform() const { return mTransform; }
    void setTransform(float x, float y, float sx, float sy);
    float4 getColor() const { return mColor; }
    void setColor(float r, float g, float b, float a);
    float4 getClipRect() const { return mClip; }
    void setClipRect(float x, float y, float w, float h);

    int isVisible() const { return mVisible; }
    void setVisible(int flag) { mVisible = flag; }
    int isEnabled() const { return mEnabled; }
    void setEnabled(int flag);

    // (previous, current) pairs: a change shows for exactly one update.
    std::pair<int, int> getLayerStates() const { return {mLayerPrev, mLayerCur}; }
    std::pair<int, int> getShowStates() const { return {mShowPrev, mShowCur}; }
    // Appearing or shown; a widget on its way out no longer counts.
    bool isComingOrShown() const { return mShowCur == kShowAppearing || mShowCur == kShowShown; }
    void setLayerState(int s);

    // The first image of the current layer state's record; image 0 when that record is empty or the
    // state lies beyond record 0; null when the widget has no images.
    MyImage* getCurrentImage() const;
    // Layer rect of the first image of the current layer state's record.
    float4 getCurrentRect() const;

    void addExtension(ExtensionBase* ext, int quiet);
    void insertExtensionFront(ExtensionBase* ext, int quiet);
    void resetExtensions();
    const std::vector<ExtensionBase*>& getExtensions() const { return mExtensions; }

    // Start a show (target 2) or hide (target 0) transition of ms milliseconds.
    void setState(const std::string& tag, int target, int ms);
    // Advance the extensions and the show machine by one 10 ms step.
    void stepState();
    void setTransition(const std::string& tag, int state, int next, int ms);
    void setStateDirect(int state);
    int getTransitionTimer() const { return mTimer; }

    void afterDraw() {}

    // Screen name of a layout path: "data/psd/MenuBank.txt" gives "menubank".
    static std::string nameFromPath(const std::string& path);

protected:
    // Draws every image of record k with the widget's colour and transform.
    void drawRecord(int k);
    // The load and unload of the widget classes: every image, in order.
    void loadImages();
    void unloadImages();
    // The picture of a layout layer: appended to the images and its rectangle to the rects; returns
    // the image's index.
    int addLayerImage(const Layer& layer);

    int mLayerPrev = 0;
    int mLayerCur = 0;
    int mShowCur = 0;
    int mShowPrev = 0;
    int mShowNext = 0;
    std::vector<int> mRecords[kRecordCount];
    std::vector<MyImage*> mImages;
    float4 mTransform;
    float4 mColor;
    float4 mClip;
    int mVisible = 0;
    int mEnabled = 0;
    int mSuppress = 0;
    std::vector<ExtensionBase*> mExtensions;
    int mTimer = 0;
    std::string mTag;
};

// Assigns value to target only when target is empty.
void assignIfEmpty(std::string& target, const std::string& value);
// Names an element kind_id after the first two '_' pieces of its layout name, unless it has a name;
// a layout name of fewer than two pieces stops the program, the message naming `what` and the name.
void assignNameFromPieces(WidgetBaseBase& element, const std::wstring& layoutName, const char* what);
