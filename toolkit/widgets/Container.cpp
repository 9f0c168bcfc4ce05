#include "toolkit/widgets/Container.h"

#include "core/ControlMngr.h"
#include "core/Singleton.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/ParticleManager.h"

// ---- Container

Container::~Container()
{
    for (WidgetBase* child : mChildren)
        delete child;
    for (WidgetBaseBase* helper : mHelpers)
        delete helper;
}

void Container::init(const char* path)
{
    for (WidgetBase* child : mChildren) {
        child->init(path);
        assignIfEmpty(child->name, name);
    }
}

void Container::load()
{
    if (mLoaded)
        return;
    for (WidgetBase* child : mChildren)
        child->load();
    mLoaded = 1;
}

bool Container::isLoaded()
{
    if (!WidgetBase::isLoaded())
        return false;
    for (WidgetBase* child : mChildren)
        if (!child->isLoaded())
            return false;
    return true;
}

void Container::unload()
{
    if (!mLoaded)
        return;
    for (WidgetBase* child : mChildren)
        child->unload();
    mLoaded = 0;
}

// The enabled test is made once: the step that ends the container's hide still updates the
// children, so their identical transitions end in the same step.
void Container::update()
{
    if (!mEnabled)
        return;
    stepState();
    for (size_t i = mChildren.size(); i-- > 0;)
        mChildren[i]->update();
}

void Container::draw()
{
    if (!mVisible)
        return;
    for (WidgetBase* child : mChildren)
        child->draw();
    afterDraw();
}

void Container::reset()
{
    resetExtensions();
    for (WidgetBase* child : mChildren)
        child->reset();
}

void Container::onFrame()
{
    for (WidgetBase* child : mChildren)
        child->onFrame();
}

void Container::setStateAll(const std::string& tag, int target, int ms)
{
    setState(tag, target, ms);
    for (WidgetBase* child : mChildren)
        child->setState(tag, target, ms);
}

void Container::setVisible(int flag)
{
    WidgetBase::setVisible(flag);
    for (WidgetBase* child : mChildren)
        child->setVisible(flag);
}

void Container::setEnabled(int flag)
{
    WidgetBase::setEnabled(flag);
    for (WidgetBase* child : mChildren)
        child->setEnabled(flag);
}

void Container::releaseChildImages()
{
    for (WidgetBase* child : mChildren)
        for (MyImage* image : child->getImages())
            image->release();
}

// ---- the step of the screens

namespace {

// The popup holding the input devices: the last one coming or shown; null when none is.
Container* inputHolder(const std::vector<Container*>& popups)
{
    for (size_t i = popups.size(); i-- > 0;)
        if (popups[i]->isComingOrShown())
            return popups[i];
    return nullptr;
}

} // namespace

void updateScreens(const std::vector<Container*>& screens)
{
    std::vector<Container*> popups;
    for (Container* screen : screens)
        if (screen->inputRole() == Container::InputRole::Popup)
            popups.push_back(screen);
    ControlMngr* input = Singleton<ControlMngr>::get();
    Container* holder = nullptr;
    for (Container* screen : screens) {
        // A popup opened earlier in the step holds the devices from then on; one that closed
        // keeps them until the step ends.
        if (Container* current = inputHolder(popups))
            holder = current;
        input->setIdle(holder && screen != holder && screen->inputRole() != Container::InputRole::PointerOverlay);
        screen->update();
        if (screen->isEnabled())
            Singleton<ParticleManager>::get()->update(screen->name);
    }
    input->setIdle(false);
}

// ---- ContainersMngr

void ContainersMngr::add(Container* container, const std::string& path, int resetFlag)
{
    container->init(path.c_str());
    mList.push_back(container);
    if (resetFlag)
        container->reset();
}

void ContainersMngr::update()
{
    updateScreens(mList);
}

void ContainersMngr::frameAll()
{
    for (size_t i = 0; i < mList.size(); ++i)
        mList[i]->onFrame();
}

void ContainersMngr::draw()
{
    for (size_t i = 0; i < mList.size(); ++i) {
        Container* screen = mList[i];
        screen->draw();
        if (screen->isVisible())
            Singleton<ParticleManager>::get()->draw(screen->name);
    }
}

void ContainersMngr::loadAll()
{
    for (size_t i = 0; i < mList.size(); ++i)
        mList[i]->load();
}

bool ContainersMngr::isAllLoaded()
{
    for (size_t i = 0; i < mList.size(); ++i)
        if (!mList[i]->isLoaded())
            return false;
    return true;
}

float ContainersMngr::loadedFraction()
{
    if (mList.empty())
        return 1.0f;
    int loaded = 0;
    for (size_t i = 0; i < mList.size(); ++i)
        if (mList[i]->isLoaded())
            ++loaded;
    return static_cast<float>(loaded) / static_cast<float>(mList.size());
}

void ContainersMngr::resetAll()
{
    for (size_t i = 0; i < mList.size(); ++i)
        mList[i]->reset();
}

void ContainersMngr::setStateAll(const std::string& tag, int target, int ms)
{
    for (size_t i = 0; i < mList.size(); ++i)
        mList[i]->setStateAll(tag, target, ms);
}
