#include "render/external/bg_loader.h"

#include "core/Assert.h"
#include "core/platform.h"
#include "render/CRender.h"
#include "render/device.h"
#include "render/render.h"

#include <cstdint>
#include <cstdio>
#include <malloc.h>
#include <vector>

// Sections: resource defaults - resource kinds - construction - requests and releases - the
// loader thread - shutdown - globals.

// ---- resource defaults

int BGLoader::Resource::get_weight()
{
    return 0;
}

int BGLoader::Resource::estimate_weight(const std::string& name)
{
    return static_cast<int>(static_cast<int32_t>(file_size(name.c_str())));
}

// ---- resource kinds

bool BGLoader::SoundResource::rcload(const std::string& name)
{
    return load(name.c_str());
}

BGLoader::SoundResource::~SoundResource()
{
    unload();
}

BGLoader::Resource* BGLoader::SoundFactory::create()
{
    return new SoundResource;
}

bool BGLoader::ImageResource::rcload(const std::string& name)
{
    load(name);
    return is_loaded();
}

int BGLoader::ImageResource::get_weight()
{
    int width = 0, height = 0;
    get_size(&width, &height);
    return width * height * 4;
}

BGLoader::ImageResource::~ImageResource()
{
    release();
}

BGLoader::Resource* BGLoader::ImageFactory::create()
{
    return new ImageResource;
}

bool BGLoader::FontResource::rcload(const std::string& name)
{
    load(name);
    return is_loaded();
}

// The texture is released first, waiting while queued text still uses it.
BGLoader::FontResource::~FontResource()
{
    release();
    destroy();
}

BGLoader::Resource* BGLoader::FontFactory::create()
{
    return new FontResource;
}

bool BGLoader::ObjectResource::rcload(const std::string& name)
{
    load(name);
    return is_loaded();
}

// Waits while queued draws still use the object.
BGLoader::ObjectResource::~ObjectResource()
{
    unload();
}

BGLoader::Resource* BGLoader::ObjectFactory::create()
{
    return new ObjectResource;
}

// ---- construction

BGLoader::BGLoader(int budget) : ramBudget(budget)
{
    pthread_mutex_init(&rcMutex, nullptr);
    pthread_mutex_init(&queueMutex, nullptr);
    pthread_cond_init(&wakeup, nullptr);
}

BGLoader::~BGLoader()
{
    shutdown();
    pthread_cond_destroy(&wakeup);
    pthread_mutex_destroy(&queueMutex);
    // With the thread gone nothing is loading: every entry is queued or loaded.
    for (auto& entry : resources)
        delete entry.second;
    resources.clear();
    loadq.clear();
    evictable.clear();
    pthread_mutex_destroy(&rcMutex);
}

// ---- requests and releases

BGLoader::Resource* BGLoader::request(const std::string& name, int priority,
                                      ResourceFactory* factory, int addref)
{
    pthread_mutex_lock(&rcMutex);
    auto entry = resources.insert(ResourceMap::value_type(name, nullptr)).first;
    Resource* rc = entry->second;
    if (!rc) {
        rc = factory->create();
        entry->second = rc;
        rc->myname = entry;
        rc->refcnt = addref;
        rc->priority = priority;
        rc->weight = 0;

        pthread_mutex_lock(&queueMutex);
        bool wasEmpty = loadq.empty();
        rc->myload = loadq.insert(ResourceQueue::value_type(-priority, rc));
        rc->state = Resource::queued;
        if (wasEmpty)
            pthread_cond_signal(&wakeup);
        pthread_mutex_unlock(&queueMutex);

        // The thread starts with the first request, not with the program.
        if (!launched && !joined) {
            launched = true;
            start();
        }
    } else {
        if (rc->state == Resource::aborted)
            rc->state = Resource::loading;
        if (addref) {
            if (rc->state == Resource::loaded && rc->refcnt == 0)
                evictable.erase(rc->myunused);
            ++rc->refcnt;
        }
    }
    pthread_mutex_unlock(&rcMutex);
    return rc;
}

void BGLoader::release(Resource* rc)
{
    pthread_mutex_lock(&rcMutex);
    PP_ASSERT(rc->refcnt > 0);
    --rc->refcnt;
    if (rc->state == Resource::loaded && rc->refcnt == 0)
        rc->myunused = evictable.insert(ResourceQueue::value_type(rc->priority, rc));
    pthread_mutex_unlock(&rcMutex);
}

// A loaded or queued resource is taken out of the cache under the lock and deleted after it,
// since deleting an engine object may wait for the render thread to stop drawing it.
void BGLoader::unload(const std::string& name)
{
    Resource* doomed = nullptr;
    pthread_mutex_lock(&rcMutex);
    auto entry = resources.find(name);
    if (entry != resources.end() && entry->second->refcnt == 0) {
        Resource* rc = entry->second;
        switch (rc->state) {
        case Resource::loading:
            std::printf("Requesting load-abort for %s\n", name.c_str());
            rc->state = Resource::aborted;
            break;
        case Resource::loaded:
            std::printf("Unloading %s by request\n", name.c_str());
            evictable.erase(rc->myunused);
            ramUsed -= rc->weight;
            resources.erase(entry);
            doomed = rc;
            break;
        case Resource::queued:
            std::printf("Unqueuing load of %s\n", name.c_str());
            pthread_mutex_lock(&queueMutex);
            loadq.erase(rc->myload);
            pthread_mutex_unlock(&queueMutex);
            resources.erase(entry);
            doomed = rc;
            break;
        default: // aborted: already on its way out
            break;
        }
    }
    pthread_mutex_unlock(&rcMutex);
    std::fflush(stdout);
    delete doomed;
}

static const char* stateText(int state)
{
    switch (state) {
    case BGLoader::Resource::queued: return "queued";
    case BGLoader::Resource::loading: return "loading";
    case BGLoader::Resource::aborted: return "loading, but aborted";
    case BGLoader::Resource::loaded: return "loaded";
    }
    return "?";
}

void BGLoader::dumpCache()
{
    pthread_mutex_lock(&rcMutex);
    std::printf("--------- BGLoader cache dump\n");
    std::printf("total ram usage: %d / %d\n", ramUsed, ramBudget);
    for (auto& entry : resources) {
        const Resource* rc = entry.second;
        std::printf("### %s\n", entry.first.c_str());
        std::printf("state: %s\n", stateText(rc->state));
        std::printf("priority: %d\n", rc->priority);
        std::printf("references: %d\n", rc->refcnt);
        std::printf("RAM usage: %d\n", rc->weight);
    }
    std::printf("--------- end of cache dump\n");
    std::fflush(stdout);
    pthread_mutex_unlock(&rcMutex);
}

// ---- the loader thread

// Drops unreferenced resources, lowest priority and oldest first, until estimate more bytes
// fit in the budget; when none is left the load goes ahead over the budget. Called and
// returns with rcMutex held; releases it while it deletes each victim.
void BGLoader::evictFor(int estimate)
{
    while (ramBudget < estimate + ramUsed) {
        if (evictable.empty()) {
            std::printf("BGLoader: can't fit %d bytes more in the RAM budget, sorry\n", estimate);
            return;
        }
        Resource* victim = evictable.begin()->second;
        PP_ASSERT_MSG(victim->state == Resource::loaded && victim->refcnt == 0,
                      "urc->state == Resource::loaded && urc->refcnt == 0");
        std::printf("BGLoader: dropping %s to get some RAM\n", victim->myname->first.c_str());
        resources.erase(victim->myname);
        ramUsed -= victim->weight;
        evictable.erase(evictable.begin());
        pthread_mutex_unlock(&rcMutex);
        delete victim;
        pthread_mutex_lock(&rcMutex);
    }
}

int BGLoader::run()
{
    bool contextStarted = false;
    bool loadedSinceTrim = false;
    for (;;) {
        pthread_mutex_lock(&queueMutex);
        if (loadedSinceTrim && !quit && loadq.empty()) {
            pthread_mutex_unlock(&queueMutex);
            // The loads' file and decode buffers have been freed: their pages go back to the
            // system before the loader sleeps, instead of staying resident in the heap
            // between the pictures and scenes the loads made.
            malloc_trim(0);
            loadedSinceTrim = false;
            continue;
        }
        while (!quit && loadq.empty()) {
            std::printf("BGLoader thread sleeping...\n");
            std::fflush(stdout);
            pthread_cond_wait(&wakeup, &queueMutex);
        }
        const bool stopping = quit;
        pthread_mutex_unlock(&queueMutex);
        if (stopping)
            break;

        // The first load needs a GPU context that shares objects with the render thread's.
        if (!contextStarted) {
            PP_ASSERT_MSG(CRender::current() != nullptr, "render != NULL");
            CRender::ThreadStart();
            contextStarted = true;
        }

        // The job leaves the queue and becomes "loading" under both locks, so an unload on
        // another thread finds it either still queued or already loading, never in between.
        pthread_mutex_lock(&rcMutex);
        pthread_mutex_lock(&queueMutex);
        if (quit || loadq.empty()) {
            pthread_mutex_unlock(&queueMutex);
            pthread_mutex_unlock(&rcMutex);
            continue;
        }
        Resource* rc = loadq.begin()->second;
        PP_ASSERT_MSG(loadq.begin() == rc->myload, "loadq.begin() == rc->myload");
        loadq.erase(loadq.begin());
        pthread_mutex_unlock(&queueMutex);
        PP_ASSERT_MSG(rc->state == Resource::queued, "rc->state == Resource::queued");
        rc->state = Resource::loading;
        // The name is copied: the entry may be erased while the load runs unlocked.
        const std::string name = rc->myname->first;
        pthread_mutex_unlock(&rcMutex);
        std::printf("BGLoading %s\n", name.c_str());

        pthread_mutex_lock(&rcMutex);
        const int estimate = rc->estimate_weight(name);
        evictFor(estimate);
        pthread_mutex_unlock(&rcMutex);
        std::fflush(stdout);

        const bool ok = rc->rcload(name);
        if (!ok) {
            std::printf("BGLoad failed, what to do now?\n");
            std::fprintf(stderr, "Warning: %s could not be loaded\n", name.c_str());
        }

        Resource* doomed = nullptr;
        pthread_mutex_lock(&rcMutex);
        if (ok && rc->state == Resource::aborted) {
            PP_ASSERT_MSG(rc->refcnt == 0, "rc->refcnt == 0");
            std::printf("Load was aborted, unloading %s\n", name.c_str());
            resources.erase(rc->myname);
            doomed = rc;
        } else {
            if (ok) {
                PP_ASSERT_MSG(rc->state == Resource::loading, "rc->state == Resource::loading");
                std::printf("Loaded successfully\n");
                rc->weight = rc->get_weight();
                if (rc->weight == 0)
                    rc->weight = estimate;
            } else {
                rc->weight = 0;
                rc->failed = true;
            }
            rc->state = Resource::loaded;
            ramUsed += rc->weight;
            if (rc->refcnt == 0)
                rc->myunused = evictable.insert(ResourceQueue::value_type(rc->priority, rc));
        }
        pthread_mutex_unlock(&rcMutex);
        std::fflush(stdout);
        delete doomed;
        loadedSinceTrim = true;
    }
    if (contextStarted)
        CRender::ThreadStop();
    finished = true;
    return 0;
}

// ---- shutdown

void BGLoader::shutdown()
{
    pthread_mutex_lock(&rcMutex);
    pthread_mutex_lock(&queueMutex);
    quit = 1;
    pthread_cond_signal(&wakeup);
    pthread_mutex_unlock(&queueMutex);
    const bool mustJoin = launched && !joined;
    joined = true;
    pthread_mutex_unlock(&rcMutex);
    if (!mustJoin)
        return;
    // The load in progress may be waiting for the render thread to run a GPU task.
    while (!finished)
        serveRenderTasks();
    stop();
}

void BGLoader::waitUntilIdle()
{
    for (;;) {
        // Both locks: a job leaves the queue and becomes "loading" under both.
        pthread_mutex_lock(&rcMutex);
        pthread_mutex_lock(&queueMutex);
        bool busy = !quit && !loadq.empty();
        for (const auto& entry : resources)
            busy = busy || entry.second->state == Resource::loading ||
                   entry.second->state == Resource::aborted;
        pthread_mutex_unlock(&queueMutex);
        pthread_mutex_unlock(&rcMutex);
        if (!busy)
            return;
        serveRenderTasks();
    }
}

void BGLoader::serveRenderTasks()
{
    if (Render* render = CRender::current())
        render->getDevice()->Clear(0.0f, 0.0f, 0.0f, false, false);
    sleep_ms(1);
}

// ---- globals

BGLoader& bgLoader = *new BGLoader(kLoaderBudget);
