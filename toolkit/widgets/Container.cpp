#include "toolkit/widgets/Container.h"

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
    for (size_t i = 0; i < mList.size(); ++i) {
        Container* screen = mList[i];
        screen->update();
        if (screen->isEnabled())
            Singleton<ParticleManager>::get()->update(screen->name);
    }
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
