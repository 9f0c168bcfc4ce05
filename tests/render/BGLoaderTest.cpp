// The background loader's rules, headless, through a test factory whose loads the test
// controls: references and caching, load order, the RAM budget, failed loads, unload, and
// the thread's start and stop.

#include "render/external/bg_loader.h"

#include "fixtures/HeadlessEngine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <fcntl.h>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;

// What the test resources do, per name, and what happened to them.
struct Probe {
    std::mutex m;
    std::condition_variable cv;
    std::map<std::string, int> estimates; // default 1000
    std::map<std::string, int> weights;   // get_weight, default 0 (the estimate is charged)
    std::set<std::string> failing;
    std::set<std::string> held;           // rcload waits until the name is let go
    std::vector<std::string> started;     // rcload calls, in order
    std::vector<std::string> deleted;     // names ("" for a resource never loaded)

    void letGo(const std::string& name)
    {
        std::lock_guard<std::mutex> lock(m);
        held.erase(name);
        cv.notify_all();
    }
    bool waitStarted(const std::string& name)
    {
        std::unique_lock<std::mutex> lock(m);
        return cv.wait_for(lock, 5s, [&] {
            for (auto& s : started)
                if (s == name)
                    return true;
            return false;
        });
    }
    int loadsOf(const std::string& name)
    {
        std::lock_guard<std::mutex> lock(m);
        int n = 0;
        for (auto& s : started)
            n += s == name;
        return n;
    }
    std::vector<std::string> loadOrder()
    {
        std::lock_guard<std::mutex> lock(m);
        return started;
    }
    int deletedCount()
    {
        std::lock_guard<std::mutex> lock(m);
        return static_cast<int>(deleted.size());
    }
    bool wasDeleted(const std::string& name)
    {
        std::lock_guard<std::mutex> lock(m);
        for (auto& s : deleted)
            if (s == name)
                return true;
        return false;
    }
};

class TestResource : public BGLoader::Resource {
public:
    explicit TestResource(Probe& probe) : mProbe(probe) {}
    ~TestResource() override
    {
        std::lock_guard<std::mutex> lock(mProbe.m);
        mProbe.deleted.push_back(mName);
    }
    bool rcload(const std::string& name) override
    {
        std::unique_lock<std::mutex> lock(mProbe.m);
        mName = name;
        mProbe.started.push_back(name);
        mProbe.cv.notify_all();
        mProbe.cv.wait(lock, [&] { return !mProbe.held.count(name); });
        mLoaded = !mProbe.failing.count(name);
        return mLoaded;
    }
    int get_weight() override
    {
        std::lock_guard<std::mutex> lock(mProbe.m);
        auto w = mProbe.weights.find(mName);
        return w == mProbe.weights.end() ? 0 : w->second;
    }
    int estimate_weight(const std::string& name) override
    {
        std::lock_guard<std::mutex> lock(mProbe.m);
        auto e = mProbe.estimates.find(name);
        return e == mProbe.estimates.end() ? 1000 : e->second;
    }
    bool isLoaded() const { return mLoaded; }

private:
    Probe& mProbe;
    std::string mName;
    bool mLoaded = false;
};

class TestFactory : public BGLoader::ResourceFactory {
public:
    explicit TestFactory(Probe& probe) : mProbe(probe) {}
    BGLoader::Resource* create() override { return new TestResource(mProbe); }

private:
    Probe& mProbe;
};

// Standard output goes to a file for the whole test, so the loader's lines (printed on its
// own thread) and its cache dumps can be read back.
class StdoutTap {
public:
    StdoutTap()
    {
        std::fflush(stdout);
        mPath = testing::TempDir() + "bgloader_stdout_XXXXXX";
        int fd = mkstemp(&mPath[0]);
        mSaved = dup(1);
        dup2(fd, 1);
        close(fd);
    }
    // A failing test's messages went to the file too: they are shown then.
    ~StdoutTap()
    {
        const std::string all = text();
        dup2(mSaved, 1);
        if (testing::Test::HasFailure())
            std::fputs(all.c_str(), stdout);
        close(mSaved);
        unlink(mPath.c_str());
    }
    // Everything printed so far.
    std::string text()
    {
        std::fflush(stdout);
        std::ifstream in(mPath);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    int count(const std::string& line)
    {
        std::istringstream in(text());
        std::string l;
        int n = 0;
        while (std::getline(in, l))
            n += l == line;
        return n;
    }

private:
    std::string mPath;
    int mSaved;
};

struct Entry {
    std::string state;
    int priority = -1;
    int references = -1;
    int weight = -1;
};
struct Dump {
    int used = -1;
    int budget = -1;
    std::map<std::string, Entry> entries;
};

class BGLoaderTest : public testing::Test {
protected:
    // The last cache dump in the output; lines the loader printed meanwhile are skipped.
    Dump dump()
    {
        loader.dumpCache();
        std::string all = tap.text();
        auto begin = all.rfind("--------- BGLoader cache dump\n");
        std::istringstream in(all.substr(begin));
        Dump d;
        std::string line, name;
        while (std::getline(in, line) && line != "--------- end of cache dump") {
            if (std::sscanf(line.c_str(), "total ram usage: %d / %d", &d.used, &d.budget) == 2)
                continue;
            if (line.rfind("### ", 0) == 0) {
                name = line.substr(4);
                d.entries[name];
                continue;
            }
            auto e = d.entries.find(name);
            if (e == d.entries.end())
                continue;
            if (line.rfind("state: ", 0) == 0)
                e->second.state = line.substr(7);
            std::sscanf(line.c_str(), "priority: %d", &e->second.priority);
            std::sscanf(line.c_str(), "references: %d", &e->second.references);
            std::sscanf(line.c_str(), "RAM usage: %d", &e->second.weight);
        }
        return d;
    }
    bool waitUntil(const std::function<bool(const Dump&)>& ready)
    {
        auto end = std::chrono::steady_clock::now() + 5s;
        while (std::chrono::steady_clock::now() < end) {
            if (ready(dump()))
                return true;
            std::this_thread::sleep_for(1ms);
        }
        return false;
    }
    bool waitLoaded(std::initializer_list<std::string> names)
    {
        return waitUntil([&](const Dump& d) {
            for (auto& n : names) {
                auto e = d.entries.find(n);
                if (e == d.entries.end() || e->second.state != "loaded")
                    return false;
            }
            return true;
        });
    }
    // Requests with priority 100 and one reference, as the game does.
    BGLoader::Resource* get(const std::string& name, int priority = 100, int addref = 1)
    {
        return loader.request(name, priority, &factory, addref);
    }

    HeadlessEngine engine;
    StdoutTap tap;
    Probe probe;
    TestFactory factory{probe};
    BGLoader loader{10000};
};

// ---- references and caching

TEST_F(BGLoaderTest, SameNameTwiceBeforeItsLoadIsOneResourceWithTwoReferencesAndOneLoad)
{
    probe.held.insert("a");
    BGLoader::Resource* first = get("a");
    BGLoader::Resource* second = get("a");
    EXPECT_EQ(first, second);
    probe.letGo("a");
    ASSERT_TRUE(waitLoaded({"a"}));
    EXPECT_EQ(dump().entries["a"].references, 2);
    EXPECT_EQ(probe.loadsOf("a"), 1);
    EXPECT_TRUE(static_cast<TestResource*>(first)->isLoaded());
    EXPECT_FALSE(first->load_failed());
}

TEST_F(BGLoaderTest, ReleasedResourceStaysCachedAndIsReturnedAgainWithoutReload)
{
    BGLoader::Resource* rc = get("a");
    ASSERT_TRUE(waitLoaded({"a"}));
    loader.release(rc);
    Dump d = dump();
    EXPECT_EQ(d.entries["a"].references, 0);
    EXPECT_EQ(d.entries["a"].state, "loaded");
    EXPECT_EQ(d.used, 1000);

    EXPECT_EQ(get("a"), rc);
    EXPECT_EQ(dump().entries["a"].references, 1);
    EXPECT_EQ(probe.loadsOf("a"), 1);

    // Referenced again, it is no eviction candidate: the next load cannot make room.
    probe.estimates["big"] = 9500;
    get("big");
    ASSERT_TRUE(waitLoaded({"big"}));
    EXPECT_FALSE(probe.wasDeleted("a"));
    EXPECT_EQ(tap.count("BGLoader: can't fit 9500 bytes more in the RAM budget, sorry"), 1);
}

TEST_F(BGLoaderTest, RequestWithoutReferenceBecomesEvictableOnceLoaded)
{
    get("a", 100, 0);
    ASSERT_TRUE(waitLoaded({"a"}));
    EXPECT_EQ(dump().entries["a"].references, 0);
    probe.estimates["big"] = 9500;
    get("big");
    ASSERT_TRUE(waitLoaded({"big"}));
    EXPECT_TRUE(probe.wasDeleted("a"));
    EXPECT_EQ(tap.count("BGLoader: dropping a to get some RAM"), 1);
}

// ---- load order

TEST_F(BGLoaderTest, HigherPriorityLoadsFirstAndEqualPrioritiesInRequestOrder)
{
    probe.held.insert("blocker");
    get("blocker");
    ASSERT_TRUE(probe.waitStarted("blocker"));
    get("low1", 50);
    get("mid1", 100);
    get("high", 200);
    get("mid2", 100);
    get("low2", 50);
    get("mid3", 100);
    probe.letGo("blocker");
    ASSERT_TRUE(waitLoaded({"low1", "low2", "mid1", "mid2", "mid3", "high"}));
    std::vector<std::string> expected = {"blocker", "high", "mid1", "mid2", "mid3", "low1", "low2"};
    EXPECT_EQ(probe.loadOrder(), expected);
}

// ---- the RAM budget

TEST_F(BGLoaderTest, WeightIsTheLoadedSizeOrElseTheEstimate)
{
    probe.weights["measured"] = 1234;
    probe.estimates["measured"] = 99;
    probe.estimates["estimated"] = 777;
    get("measured");
    get("estimated");
    ASSERT_TRUE(waitLoaded({"measured", "estimated"}));
    Dump d = dump();
    EXPECT_EQ(d.entries["measured"].weight, 1234);
    EXPECT_EQ(d.entries["estimated"].weight, 777);
    EXPECT_EQ(d.used, 1234 + 777);
    EXPECT_EQ(d.budget, 10000);
}

TEST_F(BGLoaderTest, EvictionDropsLowestPriorityThenOldestUnreferencedFirst)
{
    for (const char* n : {"a", "b", "c", "d"})
        probe.estimates[n] = 2000;
    BGLoader::Resource* a = get("a");
    BGLoader::Resource* b = get("b");
    BGLoader::Resource* c = get("c", 150);
    BGLoader::Resource* d = get("d");
    ASSERT_TRUE(waitLoaded({"a", "b", "c", "d"}));
    // Unreferenced in the order c, b, a; d stays referenced.
    loader.release(c);
    loader.release(b);
    loader.release(a);

    probe.estimates["e"] = 5000; // 8000 used: two of the 2000s must go
    get("e");
    ASSERT_TRUE(waitLoaded({"e"}));
    std::string out = tap.text();
    auto dropB = out.find("BGLoader: dropping b to get some RAM\n");
    auto dropA = out.find("BGLoader: dropping a to get some RAM\n");
    ASSERT_NE(dropB, std::string::npos);
    ASSERT_NE(dropA, std::string::npos);
    EXPECT_LT(dropB, dropA);
    EXPECT_EQ(out.find("dropping c"), std::string::npos);
    EXPECT_EQ(out.find("can't fit"), std::string::npos);

    Dump after = dump();
    EXPECT_EQ(after.entries.count("a"), 0u);
    EXPECT_EQ(after.entries.count("b"), 0u);
    EXPECT_EQ(after.entries["c"].state, "loaded");
    EXPECT_EQ(after.used, 2000 + 2000 + 5000);
    EXPECT_TRUE(probe.wasDeleted("a"));
    EXPECT_TRUE(probe.wasDeleted("b"));
    (void)d;
}

TEST_F(BGLoaderTest, LoadThatCannotFitDropsWhatItCanWarnsAndLoadsAnyway)
{
    probe.estimates["small"] = 3000;
    get("small", 100, 0);
    ASSERT_TRUE(waitLoaded({"small"}));
    probe.estimates["huge"] = 12000;
    get("huge");
    ASSERT_TRUE(waitLoaded({"huge"}));
    EXPECT_EQ(tap.count("BGLoader: dropping small to get some RAM"), 1);
    EXPECT_EQ(tap.count("BGLoader: can't fit 12000 bytes more in the RAM budget, sorry"), 1);
    Dump d = dump();
    EXPECT_EQ(d.used, 12000);
    EXPECT_EQ(d.entries["huge"].state, "loaded");
}

// ---- failed loads

TEST_F(BGLoaderTest, FailedLoadStaysCachedWeightlessAndIsNeverRetried)
{
    probe.failing.insert("broken");
    probe.estimates["broken"] = 4000;
    testing::internal::CaptureStderr();
    BGLoader::Resource* rc = get("broken");
    ASSERT_TRUE(waitLoaded({"broken"}));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Warning: broken could not be loaded\n"),
              std::string::npos);
    EXPECT_TRUE(rc->load_failed()) << "whoever waits for it knows it will not come";
    EXPECT_EQ(tap.count("BGLoad failed, what to do now?"), 1);
    EXPECT_EQ(tap.count("Loaded successfully"), 0);
    Dump d = dump();
    EXPECT_EQ(d.entries["broken"].weight, 0);
    EXPECT_EQ(d.used, 0);

    EXPECT_EQ(get("broken"), rc);
    EXPECT_FALSE(static_cast<TestResource*>(rc)->isLoaded());
    get("other");
    ASSERT_TRUE(waitLoaded({"other"}));
    EXPECT_EQ(probe.loadsOf("broken"), 1);
    EXPECT_EQ(dump().entries["broken"].references, 2);
}

// ---- unload

TEST_F(BGLoaderTest, UnloadOfQueuedResourceUnqueuesAndDeletesIt)
{
    probe.held.insert("blocker");
    get("blocker");
    ASSERT_TRUE(probe.waitStarted("blocker"));
    get("queued", 100, 0);
    loader.unload("queued");
    EXPECT_EQ(probe.deletedCount(), 1);
    probe.letGo("blocker");
    ASSERT_TRUE(waitLoaded({"blocker"}));
    EXPECT_EQ(probe.loadsOf("queued"), 0);
    EXPECT_EQ(tap.count("Unqueuing load of queued"), 1);
    EXPECT_EQ(dump().entries.count("queued"), 0u);
}

TEST_F(BGLoaderTest, UnloadDuringLoadAbortsAndDeletesWhenTheLoadEnds)
{
    probe.held.insert("a");
    get("a", 100, 0);
    ASSERT_TRUE(probe.waitStarted("a"));
    loader.unload("a");
    EXPECT_EQ(dump().entries["a"].state, "loading, but aborted");
    probe.letGo("a");
    ASSERT_TRUE(waitUntil([](const Dump& d) { return d.entries.count("a") == 0; }));
    EXPECT_EQ(tap.count("Requesting load-abort for a"), 1);
    EXPECT_EQ(tap.count("Load was aborted, unloading a"), 1);
    EXPECT_TRUE(probe.wasDeleted("a"));
    EXPECT_EQ(dump().used, 0);
}

TEST_F(BGLoaderTest, RequestDuringAnAbortedLoadKeepsTheResult)
{
    probe.held.insert("a");
    BGLoader::Resource* rc = get("a", 100, 0);
    ASSERT_TRUE(probe.waitStarted("a"));
    loader.unload("a");
    EXPECT_EQ(get("a"), rc);
    probe.letGo("a");
    ASSERT_TRUE(waitLoaded({"a"}));
    EXPECT_FALSE(probe.wasDeleted("a"));
    EXPECT_EQ(dump().entries["a"].references, 1);
    EXPECT_EQ(tap.count("Load was aborted, unloading a"), 0);
}

TEST_F(BGLoaderTest, UnloadOfLoadedResourceFreesItsWeightButLeavesReferencedOnesAlone)
{
    BGLoader::Resource* kept = get("kept");
    BGLoader::Resource* gone = get("gone");
    ASSERT_TRUE(waitLoaded({"kept", "gone"}));
    loader.release(gone);
    loader.unload("kept");
    loader.unload("gone");
    loader.unload("never requested");
    EXPECT_TRUE(probe.wasDeleted("gone"));
    EXPECT_FALSE(probe.wasDeleted("kept"));
    EXPECT_EQ(tap.count("Unloading gone by request"), 1);
    EXPECT_EQ(tap.text().find("Unloading kept"), std::string::npos);
    Dump d = dump();
    EXPECT_EQ(d.used, 1000);
    EXPECT_EQ(d.entries.size(), 1u);
    (void)kept;
}

// The thread takes a job off the queue while the main thread may be unqueuing it: the job
// is either unqueued before it starts or aborted while it loads, never both.
TEST_F(BGLoaderTest, UnloadRacingTheThreadForAQueuedJobIsSafe)
{
    for (int round = 0; round < 2000; ++round) {
        const std::string name = "r" + std::to_string(round % 4);
        get(name, 100, 0);
        loader.unload(name);
    }
    ASSERT_TRUE(waitUntil([](const Dump& d) {
        for (auto& e : d.entries)
            if (e.second.state != "loaded")
                return false;
        return true;
    }));
    Dump d = dump();
    int weights = 0;
    for (auto& e : d.entries)
        weights += e.second.weight;
    EXPECT_EQ(d.used, weights);
}

// ---- the thread

int threadCount()
{
    int n = 0;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (dirent* e = readdir(dir))
            n += e->d_name[0] != '.';
        closedir(dir);
    }
    return n;
}

TEST_F(BGLoaderTest, ThreadStartsWithTheFirstRequestAndShutdownEndsIt)
{
    const int before = threadCount();
    BGLoader other(1000);
    EXPECT_EQ(threadCount(), before);
    other.request("x", 100, &factory, 1);
    EXPECT_EQ(threadCount(), before + 1);
    other.shutdown();
    EXPECT_EQ(threadCount(), before);
    // After shutdown a request is queued but never loaded.
    other.request("y", 100, &factory, 1);
    EXPECT_EQ(threadCount(), before);
    EXPECT_EQ(probe.loadsOf("y"), 0);
}

TEST_F(BGLoaderTest, ShutdownLetsTheLoadInProgressFinishAndDestructionFreesEverything)
{
    probe.held.insert("slow");
    {
        BGLoader other(1000);
        other.request("slow", 100, &factory, 1);
        other.request("queued", 100, &factory, 1);
        ASSERT_TRUE(probe.waitStarted("slow"));
        std::thread release([&] {
            std::this_thread::sleep_for(20ms);
            probe.letGo("slow");
        });
        other.shutdown();
        release.join();
        EXPECT_EQ(probe.loadsOf("queued"), 0);
        EXPECT_EQ(probe.deletedCount(), 0);
    }
    EXPECT_TRUE(probe.wasDeleted("slow"));
    EXPECT_EQ(probe.deletedCount(), 2);
}

} // namespace
