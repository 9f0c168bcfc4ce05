#include "toolkit/widgets/ParticleManager.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

// Index: 2D bursts - 3D bursts - manager

namespace {

constexpr float kDrag2D = 0.97f;
constexpr float kGravity3D = 0.0012f;
constexpr float kMaxFall3D = -0.05f;
constexpr int kMaskLength = 99;

float randomAngle()
{
    return 2.0f * 0.01f * static_cast<float>(std::rand() % 314);
}

// The whole line as a number (surrounding blanks allowed); false when anything else is there.
bool wholeInt(const std::wstring& text, int& out)
{
    const wchar_t* start = text.c_str();
    wchar_t* end = nullptr;
    errno = 0;
    const long value = std::wcstol(start, &end, 10);
    if (end == start || errno == ERANGE || value < INT32_MIN || value > INT32_MAX)
        return false;
    while (*end == L' ' || *end == L'\t')
        ++end;
    if (*end)
        return false;
    out = static_cast<int>(value);
    return true;
}

bool wholeFloat(const std::wstring& text, float& out)
{
    const wchar_t* start = text.c_str();
    wchar_t* end = nullptr;
    errno = 0;
    const float value = std::wcstof(start, &end);
    if (end == start || errno == ERANGE || !std::isfinite(value))
        return false;
    while (*end == L' ' || *end == L'\t')
        ++end;
    if (*end)
        return false;
    out = value;
    return true;
}

} // namespace

// ---- 2D bursts

cParticle2D::cParticle2D(int kind, float x, float y, int count, float speed, int lifeMs)
    : kind(kind), x(x), y(y), speed(speed)
{
    particles.resize(count > 0 ? count : 0);
    for (Particle& p : particles) {
        p.life = lifeMs / 10;
        p.alive = 1;
        p.age = 0;
        p.x = x;
        p.y = y;
        float a = randomAngle();
        float b = randomAngle();
        float f = 1.4f - 0.01f * static_cast<float>(std::rand() % 80);
        p.vx = f * speed * std::cos(a);
        p.vy = f * speed * std::sin(b);
        p.x += 4 * p.vx;
        p.y += 4 * p.vy;
        p.w = 0.02f + 0.0004f * static_cast<float>(std::rand() % 100);
        p.h = 1.33f * p.w;
    }
}

void cParticle2D::update()
{
    for (Particle& p : particles) {
        if (!p.alive)
            continue;
        p.age += 1;
        if (p.age >= p.life)
            p.alive = 0;
        if (kind == 0) {
            p.x += p.vx;
            p.y += p.vy;
            p.vx *= kDrag2D;
            p.vy *= kDrag2D;
            float share = p.life > 0 ? static_cast<float>(p.age) / static_cast<float>(p.life) : 1.0f;
            p.r = p.g = p.b = 1.0f;
            p.a = 1.0f - share;
        }
    }
}

bool cParticle2D::anyAlive() const
{
    for (const Particle& p : particles)
        if (p.alive)
            return true;
    return false;
}

// ---- 3D bursts

cParticle3D::cParticle3D(int kind, float x, float y, float z, int count, float speed, int maskCount)
    : kind(kind), x(x), y(y), z(z), speed(speed)
{
    particles.resize(count > 0 ? count : 0);
    for (Particle& p : particles) {
        p.x = x;
        p.y = y;
        p.z = z;
        p.frame = 0;
        p.alive = 1;
        p.mask.assign(kMaskLength, '0');
        int slot = maskCount > 0 ? std::rand() % maskCount : 0;
        if (slot >= kMaskLength)
            slot = kMaskLength - 1;
        p.mask[slot] = '1';
        float frameSpeed = speed * (1.25f - 0.01f * static_cast<float>(std::rand() % 50));
        switch (kind) {
        case 0: {
            p.frameSpeed = frameSpeed;
            float a = randomAngle();
            float b = randomAngle();
            float k = 1.2f - 0.01f * static_cast<float>(std::rand() % 50);
            p.vx = 1.4f * k * speed * std::sin(b) * std::cos(a);
            p.vy = 1.4f * k * speed * std::sin(b) * std::sin(a);
            p.vz = k * speed * (2.0f + 0.01f * static_cast<float>(std::rand() % 300));
            p.x += 10 * p.vx;
            p.y += 10 * p.vy;
            p.z += 4 * p.vz;
            break;
        }
        case 1: {
            p.frameSpeed = frameSpeed;
            float a = randomAngle();
            float b = randomAngle();
            p.x += 0.25f * std::sin(b) * std::cos(a);
            p.y += 0.25f * std::sin(b) * std::sin(a);
            break;
        }
        case 2:
            p.frameSpeed = speed;
            break;
        default:
            p.frameSpeed = frameSpeed;
            p.x += 0.01f * static_cast<float>(std::rand() % 20) - 0.1f;
            p.y += 0.01f * static_cast<float>(std::rand() % 20) - 0.1f;
            p.z += 0.01f * static_cast<float>(std::rand() % 20) - 0.1f;
            break;
        }
    }
}

void cParticle3D::update()
{
    for (Particle& p : particles) {
        if (!p.alive)
            continue;
        p.frame += p.frameSpeed;
        if (p.frame >= kLastFrame)
            p.alive = 0;
        if (kind == 0) {
            p.x += p.vx;
            p.y += p.vy;
            p.z += p.vz;
            p.vz -= kGravity3D;
            if (p.vz < kMaxFall3D)
                p.vz = kMaxFall3D;
        } else if (kind == 1) {
            p.vz *= 1.0f / 1.01f;
        }
    }
}

bool cParticle3D::anyAlive() const
{
    for (const Particle& p : particles)
        if (p.alive)
            return true;
    return false;
}

// ---- manager

ParticleManager::ParticleManager() : mAngles(0, 0, 1) {}

void ParticleManager::update(const std::string& screen)
{
    std::vector<cParticle3D>& bursts3D = mBursts3D[screen];
    for (size_t i = 0; i < bursts3D.size(); ++i) {
        cParticle3D& burst = bursts3D[i];
        if (!burst.active)
            continue;
        burst.update();
        if (!burst.anyAlive()) {
            mFree3D[screen].push_back(static_cast<int>(i));
            burst.active = 0;
            --mLive3D;
        }
    }
    std::vector<cParticle2D>& bursts2D = mBursts2D[screen];
    for (size_t i = 0; i < bursts2D.size(); ++i) {
        cParticle2D& burst = bursts2D[i];
        if (!burst.active)
            continue;
        burst.update();
        if (!burst.anyAlive()) {
            mFree2D[screen].push_back(static_cast<int>(i));
            burst.active = 0;
            --mLive2D;
        }
    }
}

void ParticleManager::draw(const std::string& screen)
{
    const float4 white(1, 1, 1, 1);
    for (const cParticle3D& burst : mBursts3D[screen]) {
        if (!burst.active || burst.kind < 0 || static_cast<size_t>(burst.kind) >= mDefinitions.size())
            continue;
        auto* scene = static_cast<BGLoader::ObjectResource*>(mDefinitions[size_t(burst.kind)].scene);
        if (!scene || !scene->is_loaded())
            continue;
        for (const cParticle3D::Particle& p : burst.particles)
            if (p.alive)
                scene->draw_rotated(p.x, p.y, p.z, mAngles.x, mAngles.y, mAngles.z, p.frame, nullptr, 0,
                                    p.mask.c_str(), nullptr, 0, &white);
    }
    for (const cParticle2D& burst : mBursts2D[screen]) {
        if (!burst.active || burst.kind < 0 || static_cast<size_t>(burst.kind) >= mTextures2D.size())
            continue;
        CRender::Image* image = static_cast<BGLoader::ImageResource*>(mTextures2D[burst.kind]);
        if (!image->is_loaded())
            continue;
        for (const cParticle2D::Particle& p : burst.particles) {
            if (!p.alive)
                continue;
            image->draw_part(p.x - p.w / 2, p.y - p.h / 2, p.w, p.h, 0, 0, 1, 1, p.r, p.g, p.b, p.a, 1);
        }
    }
}

void ParticleManager::add2D(const std::string& screen, const cParticle2D& burst)
{
    std::vector<cParticle2D>& bursts = mBursts2D[screen];
    std::deque<int>& free = mFree2D[screen];
    if (!free.empty()) {
        bursts[free.front()] = burst;
        free.pop_front();
    } else {
        bursts.push_back(burst);
    }
    ++mLive2D;
}

void ParticleManager::add3D(const std::string& screen, const cParticle3D& burst)
{
    std::vector<cParticle3D>& bursts = mBursts3D[screen];
    std::deque<int>& free = mFree3D[screen];
    if (!free.empty()) {
        bursts[free.front()] = burst;
        free.pop_front();
    } else {
        bursts.push_back(burst);
    }
    ++mLive3D;
}

void ParticleManager::addTexture2D(const std::string& file)
{
    mTextures2D.push_back(bgLoader.request(file, 100, &bgLoader.imageFactory, 1));
}

bool ParticleManager::loadDefinition(const std::string& path)
{
    const std::vector<std::wstring> lines = loadDatFile(path);
    auto refuse = [&](const char* why) {
        std::fprintf(stderr, "Warning: particle definition %s: %s; not used\n", path.c_str(), why);
        return false;
    };
    if (lines.empty())
        return refuse("missing or empty");
    if (lines.size() < 10)
        return refuse("fewer than 10 lines");
    ParticleDefinition3D d;
    if (!wholeInt(lines[1], d.first))
        return refuse("line 2 is not a whole number");
    if (!wholeFloat(lines[3], d.second))
        return refuse("line 4 is not a number");
    if (!wholeFloat(lines[5], d.third))
        return refuse("line 6 is not a number");
    d.file = wideToString(lines[7]);
    while (!d.file.empty() && (d.file.back() == ' ' || d.file.back() == '\t'))
        d.file.pop_back();
    if (d.file.empty())
        return refuse("line 8 names no scene file");
    if (!wholeInt(lines[9], d.last))
        return refuse("line 10 is not a whole number");
    d.scene = bgLoader.request(d.file, 100, &bgLoader.objectFactory, 1);
    mDefinitions.push_back(d);
    return true;
}

void ParticleManager::releaseAll()
{
    for (const ParticleDefinition3D& d : mDefinitions)
        bgLoader.release(d.scene);
    mDefinitions.clear();
    for (BGLoader::Resource* texture : mTextures2D)
        bgLoader.release(texture);
    mTextures2D.clear();
}
