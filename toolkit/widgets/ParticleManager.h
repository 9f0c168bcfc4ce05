#pragma once

// Short-lived particle bursts of the 2D screens, kept per screen name: 2D sprite bursts and 3D scene
// bursts. The screen list updates and draws a screen's bursts right after the screen. The press
// effect hook of the input extension does nothing, and nothing in the game spawns a burst yet; a 3D
// burst draws the scene of the definition its kind numbers, one random layer per particle.

#include "render/external/bg_loader.h"
#include "toolkit/utils/misc.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

struct cParticle2D {
    struct Particle {
        float r = 1, g = 1, b = 1, a = 1;
        float x = 0, y = 0;
        float w = 0, h = 0;
        int alive = 0;
        float vx = 0, vy = 0;
        int life = 0;
        int age = 0;
    };

    // Spawns count particles at (x, y) living lifeMs milliseconds.
    cParticle2D(int kind, float x, float y, int count, float speed, int lifeMs);
    // One 10 ms step of every particle.
    void update();
    bool anyAlive() const;

    int active = 1;
    int kind = 0;
    float x = 0, y = 0;
    std::string unused;
    std::vector<Particle> particles;
    float speed = 0;
};

struct cParticle3D {
    struct Particle {
        float x = 0, y = 0, z = 0;
        float frame = 0;
        float frameSpeed = 0;
        int alive = 0;
        float vx = 0, vy = 0, vz = 0;
        std::string mask;  // 99 characters '0' with one '1': the scene layer this particle shows
    };

    static constexpr float kLastFrame = 19.99f;

    cParticle3D(int kind, float x, float y, float z, int count, float speed, int maskCount);
    void update();
    bool anyAlive() const;

    int active = 1;
    int kind = 0;
    float x = 0, y = 0, z = 0;
    std::string unused;
    std::vector<Particle> particles;
    float speed = 0;
    int unusedInt = 0;
};

// A 3D burst kind read from a definition file: the scene each particle draws, and four numbers
// the file carries for it (read and kept; the bursts take their motion from their kind).
struct ParticleDefinition3D {
    BGLoader::Resource* scene = nullptr;  // an object resource, held until releaseAll
    std::string file;
    int first = 0;
    float second = 0;
    float third = 0;
    int last = 0;
};

class ParticleManager {
public:
    ParticleManager();

    void update(const std::string& screen);
    void draw(const std::string& screen);
    // Press effect hook of the input extension: spawns nothing.
    void emitAt(const std::string& screen, int kind, float x, float y, int count, float speed, int lifeMs) {}

    void add2D(const std::string& screen, const cParticle2D& burst);
    void add3D(const std::string& screen, const cParticle3D& burst);
    void addTexture2D(const std::string& file);
    // Reads a definition file (values on lines 2, 4, 6, 8 and 10; the odd lines are labels) and
    // appends its record, requesting its scene. A file that is missing, too short, has a
    // malformed number or names no scene is reported on standard error and adds nothing.
    bool loadDefinition(const std::string& path);
    // Releases every definition scene and every 2D texture.
    void releaseAll();

    const std::vector<ParticleDefinition3D>& definitions() const { return mDefinitions; }

    int live2D() const { return mLive2D; }
    int live3D() const { return mLive3D; }

private:
    std::map<std::string, std::deque<int>> mFree3D;
    std::map<std::string, std::deque<int>> mFree2D;
    std::vector<BGLoader::Resource*> mTextures2D;
    std::map<std::string, std::vector<cParticle3D>> mBursts3D;
    std::map<std::string, std::vector<cParticle2D>> mBursts2D;
    float3 mAngles;
    std::vector<ParticleDefinition3D> mDefinitions;
    int mLive3D = 0;
    int mLive2D = 0;
};
