#include "core/ControlMngr.h"
#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"
#include "toolkit/widgets/ParticleManager.h"
#include "toolkit/widgets/WidgetBase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

typedef std::pair<int, int> Pair;

// A widget that logs its updates, draws, resets and notifications.
class Probe : public WidgetBase {
public:
    explicit Probe(std::vector<std::string>* log = nullptr, const std::string& tag = "") : mLog(log), mId(tag) {}
    void init(const char*) override {}
    void load() override { ++loads; }
    void unload() override { ++unloads; }
    void update() override
    {
        if (mLog)
            mLog->push_back("update " + mId);
        if (mEnabled)
            stepState();
    }
    void draw() override
    {
        if (mLog && mVisible)
            mLog->push_back("draw " + mId);
    }
    // Like every widget class, replaces the base reset (which would clear the change suppression).
    void reset() override { ++resets; }
    void onFrame() override {}
    void onStateChanged() override { ++notifications; }

    std::vector<std::string>* mLog;
    std::string mId;
    int loads = 0;
    int unloads = 0;
    int resets = 0;
    int notifications = 0;
};

class CountingExtension : public ExtensionBase {
public:
    using ExtensionBase::ExtensionBase;
    void reset() override { ++resets; }
    void step() override { ++steps; }
    int resets = 0;
    int steps = 0;
};

// Steps the widget n times, collecting the show-state pair after each step.
std::vector<Pair> stepAndCollect(WidgetBase& w, int n)
{
    std::vector<Pair> pairs;
    for (int i = 0; i < n; ++i) {
        w.stepState();
        pairs.push_back(w.getShowStates());
    }
    return pairs;
}

// ---- show-state machine

TEST(ShowStateMachine, NewWidgetIsHiddenDisabledAndInvisible)
{
    Probe w;
    EXPECT_EQ(w.getShowStates(), Pair(0, 0));
    EXPECT_EQ(w.getLayerStates(), Pair(0, 0));
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.isEnabled());
    float4 t = w.getTransform(), c = w.getColor(), clip = w.getClipRect();
    EXPECT_EQ(std::vector<float>({t.x, t.y, t.z, t.w}), std::vector<float>({0, 0, 1, 1}));
    EXPECT_EQ(std::vector<float>({c.x, c.y, c.z, c.w}), std::vector<float>({1, 1, 1, 1}));
    EXPECT_EQ(std::vector<float>({clip.x, clip.y, clip.z, clip.w}), std::vector<float>({-1, -1, 3, 3}));
    EXPECT_TRUE(w.isLoaded());  // no images
}

TEST(ShowStateMachine, ShowOf250msEndsOnThe27thStepWithOnePairPerChange)
{
    Probe w;
    w.setState("game", 2, 250);
    EXPECT_EQ(w.resets, 1);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.isEnabled());
    EXPECT_EQ(w.getShowStates(), Pair(0, 1));
    std::vector<Pair> pairs = stepAndCollect(w, 28);
    EXPECT_EQ(pairs[0], Pair(0, 1));  // the suppression holds the starting pair through the first step
    for (int i = 1; i < 26; ++i)
        EXPECT_EQ(pairs[i], Pair(1, 1)) << "step " << i + 1;
    EXPECT_EQ(pairs[26], Pair(1, 2));
    EXPECT_EQ(pairs[27], Pair(2, 2));
}

TEST(ShowStateMachine, TransitionEndsInStepMsOverTenPlusTwo)
{
    for (int ms : {0, 50, 250, 255}) {
        Probe w;
        w.setState("game", 2, ms);
        int step = 0;
        while (w.getShowStates() != Pair(1, 2) && step < 100) {
            w.stepState();
            ++step;
        }
        EXPECT_EQ(step, ms / 10 + 2) << ms << " ms";
    }
}

TEST(ShowStateMachine, HideEndsHiddenDisabledAndTheFinalPairSticks)
{
    Probe w;
    w.setState("game", 2, 0);
    stepAndCollect(w, 3);
    w.setLayerState(1);
    w.setState("game", 0, 250);
    EXPECT_EQ(w.getShowStates(), Pair(2, 3));
    std::vector<Pair> pairs = stepAndCollect(w, 27);
    EXPECT_EQ(pairs[0], Pair(2, 3));
    EXPECT_EQ(pairs[1], Pair(3, 3));
    EXPECT_EQ(pairs[26], Pair(3, 0));
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.isEnabled());
    EXPECT_EQ(w.getLayerStates(), Pair(0, 0));
    // A disabled widget's update no longer steps it: the pair stays.
    w.update();
    w.update();
    EXPECT_EQ(w.getShowStates(), Pair(3, 0));
}

TEST(ShowStateMachine, HideWhileAppearingOnlyRestartsTheTimer)
{
    Probe w;
    w.setState("game", 2, 250);
    stepAndCollect(w, 5);
    w.setState("game", 0, 100);
    EXPECT_EQ(w.getShowStates(), Pair(1, 1));
    EXPECT_EQ(w.getTransitionTimer(), 100);
    std::vector<Pair> pairs = stepAndCollect(w, 13);
    EXPECT_EQ(pairs[11], Pair(1, 2));  // 100 ms restarted: ends on the 12th step, still shown
    EXPECT_EQ(pairs[12], Pair(2, 2));
    EXPECT_TRUE(w.isVisible());
}

TEST(ShowStateMachine, ShowingAShownWidgetChangesNothingButTheTimer)
{
    Probe w;
    w.setState("game", 2, 0);
    stepAndCollect(w, 3);
    int notifications = w.notifications;
    w.setState("game", 2, 70);
    EXPECT_EQ(w.getShowStates(), Pair(2, 2));
    EXPECT_EQ(w.getTransitionTimer(), 70);
    EXPECT_EQ(w.resets, 1);
    EXPECT_EQ(w.notifications, notifications);
    w.setState("game", 5, 0);  // not a show or hide target
    EXPECT_EQ(w.getShowStates(), Pair(2, 2));
}

TEST(ShowStateMachine, ExtensionsStepFirstAndResetTogether)
{
    Probe w;
    CountingExtension* a = new CountingExtension(&w);
    CountingExtension* b = new CountingExtension(&w);
    w.addExtension(a, 1);
    w.insertExtensionFront(b, 1);
    EXPECT_EQ(w.getExtensions().front(), b);
    w.stepState();
    w.stepState();
    EXPECT_EQ(a->steps, 2);
    EXPECT_EQ(b->steps, 2);
    w.resetExtensions();
    EXPECT_EQ(a->resets, 1);
    EXPECT_EQ(b->resets, 1);
}

TEST(ShowStateMachine, DisablingClearsBothLayerStates)
{
    Probe w;
    w.setLayerState(1);
    w.setLayerState(2);
    EXPECT_EQ(w.getLayerStates(), Pair(1, 2));
    w.setEnabled(0);
    EXPECT_EQ(w.getLayerStates(), Pair(0, 0));
}

// ---- clip, names

TEST(WidgetClip, ZeroNegativeAndNotANumberSizesBecomeTiny)
{
    Probe w;
    w.setClipRect(0.1f, 0.2f, 0.0f, -1.0f);
    EXPECT_FLOAT_EQ(w.getClipRect().z, 0.0001f);
    EXPECT_FLOAT_EQ(w.getClipRect().w, 0.0001f);
    w.setClipRect(0.1f, 0.2f, std::numeric_limits<float>::quiet_NaN(), 0.5f);
    EXPECT_FLOAT_EQ(w.getClipRect().z, 0.0001f);
    EXPECT_FLOAT_EQ(w.getClipRect().w, 0.5f);
}

TEST(WidgetName, NameFromPathIsTheLowerCasedBaseName)
{
    EXPECT_EQ(WidgetBase::nameFromPath("data/psd/MenuLoading.txt"), "menuloading");
    EXPECT_EQ(WidgetBase::nameFromPath("data\\psd\\MenuBank.txt"), "menubank");
    std::string target;
    assignIfEmpty(target, "a");
    assignIfEmpty(target, "b");
    EXPECT_EQ(target, "a");
}

TEST(WidgetNameDeathTest, APathOfOnePieceStopsTheProgram)
{
    EXPECT_DEATH(WidgetBase::nameFromPath("MenuBank"), "toolkit/widgets/WidgetBase.cpp:[0-9]+: failed assertion");
}

// ---- container

struct ThreeChildren : public ::testing::Test {
    ThreeChildren()
    {
        screen.name = "screen";
        a = new Probe(&log, "A");
        b = new Probe(&log, "B");
        c = new Probe(&log, "C");
        screen.mChildren = {a, b, c};
    }
    std::vector<std::string> log;
    Container screen;
    Probe* a;
    Probe* b;
    Probe* c;
};

TEST_F(ThreeChildren, UpdateRunsLastToFirstAndDrawFirstToLast)
{
    screen.setStateAll("game", 2, 0);
    screen.update();
    screen.draw();
    EXPECT_EQ(log, std::vector<std::string>({"update C", "update B", "update A", "draw A", "draw B", "draw C"}));
}

TEST_F(ThreeChildren, HiddenContainerNeitherUpdatesNorDraws)
{
    screen.update();
    screen.draw();
    EXPECT_TRUE(log.empty());
}

TEST_F(ThreeChildren, ChildrenEndTheirHideInTheSameStepAsTheContainer)
{
    screen.setStateAll("game", 2, 0);
    for (int i = 0; i < 3; ++i)
        screen.update();
    screen.setStateAll("game", 0, 50);
    for (int i = 0; i < 7; ++i)
        screen.update();
    EXPECT_EQ(screen.getShowStates(), Pair(3, 0));
    for (Probe* child : {a, b, c}) {
        EXPECT_EQ(child->getShowStates(), Pair(3, 0));
        EXPECT_FALSE(child->isVisible());
    }
}

TEST_F(ThreeChildren, InitNamesOnlyUnnamedChildren)
{
    b->name = "btn_ok";
    screen.init("data/psd/Screen.txt");
    EXPECT_EQ(a->name, "screen");
    EXPECT_EQ(b->name, "btn_ok");
}

TEST_F(ThreeChildren, LoadAndUnloadRunOnce)
{
    screen.load();
    screen.load();
    EXPECT_EQ(a->loads, 1);
    screen.unload();
    screen.unload();
    EXPECT_EQ(c->unloads, 1);
    screen.load();
    EXPECT_EQ(c->loads, 2);
}

TEST_F(ThreeChildren, ResetAndFlagsPassToEveryChild)
{
    CountingExtension* ext = new CountingExtension(&screen);
    screen.addExtension(ext, 1);
    screen.reset();
    EXPECT_EQ(ext->resets, 1);
    EXPECT_EQ(a->resets + b->resets + c->resets, 3);
    EXPECT_FALSE(screen.isVisible());  // the container's own flags stay
    screen.setVisible(1);
    EXPECT_TRUE(c->isVisible());
    screen.setEnabled(1);
    EXPECT_TRUE(b->isEnabled());
}

// ---- screen list

TEST(ScreenList, EmptyListIsLoadedWithFractionOne)
{
    ContainersMngr list;
    list.loadAll();
    EXPECT_TRUE(list.isAllLoaded());
    EXPECT_FLOAT_EQ(list.loadedFraction(), 1.0f);
}

TEST(ScreenList, ScreensRunInTheOrderAdded)
{
    std::vector<std::string> log;
    Container first, second;
    first.mChildren.push_back(new Probe(&log, "first"));
    second.mChildren.push_back(new Probe(&log, "second"));
    ContainersMngr list;
    list.add(&first, "data/psd/First.txt", 0);
    list.add(&second, "data/psd/Second.txt", 1);
    EXPECT_EQ(static_cast<Probe*>(second.mChildren[0])->resets, 1);
    EXPECT_EQ(static_cast<Probe*>(first.mChildren[0])->resets, 0);
    list.setStateAll("game", 2, 0);
    list.update();
    list.draw();
    EXPECT_EQ(log, std::vector<std::string>({"update first", "update second", "draw first", "draw second"}));
    EXPECT_TRUE(list.isAllLoaded());
}

// A screen whose update starts a burst, that lives one step, on the particle screen.
class BurstScreen : public Container {
public:
    void update() override
    {
        Container::update();
        Singleton<ParticleManager>::get()->add2D("particlescreen", cParticle2D(0, 0.5f, 0.5f, 2, 0.002f, 10));
    }
};

TEST(ScreenList, ParticlesRunRightAfterTheirScreenOnlyWhileItIsEnabled)
{
    ParticleManager* particles = Singleton<ParticleManager>::get();
    Container screen;
    BurstScreen later;
    screen.name = "particlescreen";
    ContainersMngr list;
    list.add(&screen, "data/psd/ParticleScreen.txt", 0);
    list.add(&later, "data/psd/Later.txt", 0);
    const int live = particles->live2D();
    list.update();
    EXPECT_EQ(particles->live2D(), live + 1);  // hidden: the burst stands still
    list.setStateAll("game", 2, 0);
    list.update();
    // The burst has gone; the one started later in the step waits for the next.
    EXPECT_EQ(particles->live2D(), live + 1);
}

// A screen that notes what the input devices show it at each update. As a popup's Ok does, the
// popup closes in the update that sees the button released after a press.
class InputScreen : public Container {
public:
    explicit InputScreen(InputRole role) : mRole(role) {}
    InputRole inputRole() const override { return mRole; }
    void update() override
    {
        Container::update();
        ControlMngr* input = Singleton<ControlMngr>::get();
        const int down = input->isPointerDown();
        seen.push_back({input->getPointer(-1).x, down, input->mKeyboardDevices[0]->data[kKeyboardCharWord].i});
        if (mRole == InputRole::Popup && wasDown && !down && getShowStates().second == kShowShown)
            setStateAll("game", 0, 250);
        wasDown = down;
    }
    struct Seen {
        float x;
        int down;
        int typed;
    };
    std::vector<Seen> seen;
    int wasDown = 0;

private:
    InputRole mRole;
};

TEST(ScreenList, APopupHoldsTheInputUntilTheStepInWhichItCloses)
{
    ControlMngr* input = Singleton<ControlMngr>::get();
    sDevice* pointer = input->mPointerDevices[0];
    sDevice* keyboard = input->mKeyboardDevices[0];
    auto set = [&](int down, int typed) {
        pointer->data[kPointerXWord].f = 0.5f;
        pointer->data[kPointerYWord].f = 0.5f;
        pointer->data[kPointerButtonWord].i = down;
        keyboard->data[kKeyboardCharWord].i = typed;
    };
    InputScreen under(Container::InputRole::Screen), popup(Container::InputRole::Popup),
        over(Container::InputRole::Screen), overlay(Container::InputRole::PointerOverlay);
    ContainersMngr list;
    for (InputScreen* screen : {&under, &popup, &over, &overlay})
        list.add(screen, "data/psd/Input.txt", 0);
    for (InputScreen* screen : {&under, &over, &overlay})
        screen->setStateAll("game", 2, 0);
    auto last = [](const InputScreen& screen) { return screen.seen.back(); };

    // No popup: every screen takes the devices.
    set(1, 'a');
    list.update();
    EXPECT_EQ(last(under).x, 0.5f);
    EXPECT_EQ(last(over).typed, 'a');

    // From the step the popup starts coming in, the press and the typing reach only the popup and
    // the pointer overlay; the screens before and after it see the pointer far away, released.
    popup.setStateAll("game", 2, 250);
    list.update();
    for (InputScreen* idle : {&under, &over}) {
        EXPECT_LT(last(*idle).x, -1.0f);
        EXPECT_EQ(last(*idle).down, 0);
        EXPECT_EQ(last(*idle).typed, -1);
    }
    EXPECT_EQ(last(popup).typed, 'a');
    EXPECT_EQ(last(overlay).down, 1);
    for (int i = 0; i < 30; ++i)
        list.update();
    ASSERT_EQ(popup.getShowStates().second, kShowShown);

    // The release closes the popup; the screen after it does not see it in that step either.
    set(0, -1);
    list.update();
    EXPECT_EQ(popup.getShowStates().second, kShowDisappearing);
    EXPECT_LT(last(over).x, -1.0f);
    // The devices are the game's again, and the screens take them from the next step on.
    EXPECT_EQ(input->mPointerDevices[0], pointer);
    set(1, -1);
    list.update();
    EXPECT_EQ(last(under).down, 1);
    EXPECT_EQ(last(over).x, 0.5f);
    set(0, -1);
}

} // namespace
