#pragma once

// The background resource loader. Screens, widgets and game objects ask for images, fonts,
// sounds and 3D objects by file name; a request returns at once a shared, reference-counted
// resource that the loader's thread fills later (higher priority first, first come first served
// among equals). Loaded resources stay cached after their last release; when a load would pass
// the RAM budget, unreferenced ones are dropped, lowest priority and oldest first.
//
// Sections: resource and factory interfaces - the resource kinds - the loader - the program-wide
// loader.
//
// Threads and locks: any thread may request, release and unload; the loader's own thread runs
// the loads. rcMutex is always taken before queueMutex. Loads and the deletion of dropped
// resources run with neither held, because an engine object's release may wait for the render
// thread.

#include "core/macosx/threads.h"
#include "core/sound.h"
#include "render/CRender.h"

#include <atomic>
#include <map>
#include <pthread.h>
#include <string>

class BGLoader : public Thread {
public:
    class Resource;
    typedef std::map<std::string, Resource*> ResourceMap;
    typedef std::multimap<int, Resource*> ResourceQueue;

    // ---- resource and factory interfaces

    // One cache entry: a header the loader owns, followed (in the derived classes) by the engine
    // object it loads. Callers convert the pointer to the engine class and test that object's
    // own load state; a failed load stays cached as a loaded entry of weight 0.
    class Resource {
    public:
        enum State { queued = 0, loading = 1, aborted = 2, loaded = 3 };

        Resource() = default;
        Resource(const Resource&) = delete;
        Resource& operator=(const Resource&) = delete;

        // Loads the engine object from the file; runs on the loader thread with no lock held.
        virtual bool rcload(const std::string& name) = 0;
        // Bytes the loaded object occupies; 0 means the estimate is charged.
        virtual int get_weight();
        // Bytes charged while making room before the load: the file's size, 0 when missing.
        virtual int estimate_weight(const std::string& name);
        virtual ~Resource() = default;
        // True once a load has ended without the engine object loaded: the entry stays cached,
        // and whoever waits for it knows it will not come.
        bool load_failed() const { return failed.load(); }

    private:
        friend class BGLoader;
        ResourceMap::iterator myname;    // entry in resources (holds the name)
        ResourceQueue::iterator myload;  // entry in loadq while queued
        ResourceQueue::iterator myunused; // entry in evictable while there
        int refcnt = 0;
        int priority = 0;
        int weight = 0;
        int state = queued;
        std::atomic<bool> failed{false};
    };

    // Makes an empty resource of one kind; the loader fills in the header.
    class ResourceFactory {
    public:
        virtual Resource* create() = 0;
        virtual ~ResourceFactory() = default;
    };

    // ---- the resource kinds
    // Each resource is the header followed by its engine object; a caller converts the pointer
    // that request returns to the kind's class and uses it as the engine object.

    // A sound effect: its chunk is published atomically, so the main thread may play it
    // while the loader thread fills it.
    class SoundResource : public Resource, public NSound {
    public:
        bool rcload(const std::string& name) override;
        ~SoundResource() override;
    };
    class SoundFactory : public ResourceFactory {
    public:
        Resource* create() override;
    };

    // An image: loaded from its file on the loader thread; charged 4 bytes a texel.
    class ImageResource : public Resource, public CRender::Image {
    public:
        bool rcload(const std::string& name) override;
        int get_weight() override;
        ~ImageResource() override;
    };
    class ImageFactory : public ResourceFactory {
    public:
        Resource* create() override;
    };

    // A bitmap font: charged its file's size.
    class FontResource : public Resource, public CRender::Font {
    public:
        bool rcload(const std::string& name) override;
        ~FontResource() override;
    };
    class FontFactory : public ResourceFactory {
    public:
        Resource* create() override;
    };

    // A 3D object from a scene file: charged the file's size.
    class ObjectResource : public Resource, public CRender::Object {
    public:
        bool rcload(const std::string& name) override;
        ~ObjectResource() override;
    };
    class ObjectFactory : public ResourceFactory {
    public:
        Resource* create() override;
    };

    // ---- the loader

    // The thread is not started here but by the first request.
    explicit BGLoader(int budget);
    // Stops the thread if it still runs and frees every cached resource.
    ~BGLoader() override;
    BGLoader(const BGLoader&) = delete;
    BGLoader& operator=(const BGLoader&) = delete;

    // Finds or creates the resource of name and queues its load. Never blocks on a load and
    // never returns null. addref non-zero takes one reference for the caller.
    Resource* request(const std::string& name, int priority, ResourceFactory* factory, int addref);
    // Drops one reference; an unreferenced resource stays cached until it is evicted.
    void release(Resource* rc);
    // Drops an unreferenced resource now: unqueues it, aborts its load or unloads it. A loaded
    // one is deleted on the calling thread, after the loader's locks are let go, and may wait
    // there while the current frame still draws it.
    void unload(const std::string& name);
    // Prints the cache to standard output (for a debugger or a debug key).
    void dumpCache();

    // The factories to pass to request, one per kind.
    ObjectFactory objectFactory;
    ImageFactory imageFactory;
    FontFactory fontFactory;
    SoundFactory soundFactory;

    // Stops the loader thread before the process ends: the load in progress finishes, nothing
    // further is loaded. Called on the render thread, which keeps serving the GPU tasks that
    // load may wait for, so the join cannot hang. Later requests are queued but never loaded.
    void shutdown();
    // Returns once nothing is queued or loading, e.g. before the engine the loads use goes
    // away. Called on the render thread, which serves the GPU tasks the loads may wait for.
    // After a shutdown it does not wait for queued requests, which are never loaded.
    void waitUntilIdle();
    // Runs the GPU tasks other threads have posted, as the end of a frame does, then yields a
    // moment. Only on the render thread; nothing without an engine.
    static void serveRenderTasks();

protected:
    int run() override;

private:
    void evictFor(int estimate);

    int quit = 0;             // under queueMutex
    pthread_mutex_t rcMutex;
    int ramBudget;
    int ramUsed = 0;
    ResourceMap resources;
    ResourceQueue evictable;  // key: priority
    pthread_mutex_t queueMutex;
    ResourceQueue loadq;      // key: -priority
    pthread_cond_t wakeup;
    bool launched = false;    // under rcMutex: the thread was started
    bool joined = false;      // under rcMutex: shut down, no thread is started any more
    std::atomic<bool> finished{false}; // the thread's body has returned
};

// ---- the program-wide loader, with the budget of 45 MiB; never destroyed
constexpr int kLoaderBudget = 45 * 1024 * 1024;
extern BGLoader& bgLoader;
