#pragma once

// A screen: a widget that owns the widgets and helper elements imported from its layout file and hands
// every operation on to them. ContainersMngr keeps every screen, in the order added, and is driven by
// the main loop: update every 10 ms step, per-frame pass and draw every frame.

#include "toolkit/widgets/WidgetBase.h"

#include <string>
#include <vector>

class Container : public WidgetBase {
public:
    Container() = default;
    // The screen owns its children and helpers.
    ~Container() override;

    void init(const char* path) override;
    void load() override;
    bool isLoaded() override;
    void unload() override;
    void update() override;
    void draw() override;
    void reset() override;
    void onFrame() override;
    virtual void unusedScreenHook() {}

    // How the screen takes the input devices in a step of the screens (updateScreens).
    enum class InputRole {
        Screen,          // takes them unless a popup holds them
        Popup,           // holds them while coming or shown
        PointerOverlay,  // only follows the pointer: takes them always
    };
    virtual InputRole inputRole() const { return InputRole::Screen; }

    // The show or hide transition on the container and on every child.
    void setStateAll(const std::string& tag, int target, int ms);
    void setVisible(int flag);
    void setEnabled(int flag);
    void releaseChildImages();

    int mLoaded = 0;
    std::vector<WidgetBase*> mChildren;
    std::vector<WidgetBaseBase*> mHelpers;
};

// One logic step of the screens, in their order (the order they are drawn in), each screen's
// particles right after it while it is enabled. A popup coming or shown holds the input devices:
// every other screen but the pointer overlay is updated with them idle (ControlMngr::setIdle), and
// so for the rest of the step in which that popup closes, so the click or key the popup takes
// reaches nothing under it. Of two popups the later one holds them.
void updateScreens(const std::vector<Container*>& screens);

class ContainersMngr {
public:
    // Init the screen with its layout path, append it, and reset it when resetFlag is set.
    void add(Container* container, const std::string& path, int resetFlag);
    // updateScreens on the list.
    void update();
    void frameAll();
    void draw();
    void loadAll();
    bool isAllLoaded();
    // Share of loaded screens; 1 for an empty list, like isAllLoaded.
    float loadedFraction();
    void resetAll();
    void setStateAll(const std::string& tag, int target, int ms);

    const std::vector<Container*>& getList() const { return mList; }

private:
    std::vector<Container*> mList;
};
