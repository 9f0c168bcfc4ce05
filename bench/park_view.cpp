// The park view with the shipped data on the real OpenGL device: the park's scenes loaded
// through the background loader, the starting animals (and with --built every building of the
// data built), then timed logic steps (the park screen's update, every animal's step, the
// scenes' clocks) and timed frames (the park screen's draw and the renderer's passes).
// With --shot <file.png> it saves the last frame as a picture; --slide <share> shows the first
// building's slide show at that share of its flight.
//
// With --walkers N that many visitors walk the park from the start, spread along their paths,
// with their cars. With --animals N the park holds N animals: the starting ones and more of
// each kind in turn (dog, cat, dino, rabbit, horse), as a saved park's animals fill their
// places. The game's full park: --built --animals 15 --walkers 100.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" ./bench_park_view [--built] [--shot park.png]
//            [--steps N] [--frames N] [--turn radians] [--zoom units] [--walkers N] [--animals N]
//            [--slide share]

#include "core/platform.h"
#include "core/sdl_layer.h"
#include "fixtures/PngWriter.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/DataStorage.h"
#include "park/AnimalAvatar.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "park/OnePerson.h"
#include "park/PublicManager.h"
#include "park/SlideCamera.h"
#include "render/CRender.h"
#include "render/external/bg_loader.h"
#include "source_menu/MenuManager.h"
#include "source_menu/ScreenParkEvents.h"
#include "toolkit/utils/TextsManager.h"

#include <GL/gl.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

const float kAspect2d = 1.3333f;

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

bool loaded(CRender::Object* scene)
{
    return scene && scene->is_loaded();
}

bool exists(const std::string& path)
{
    return access(path.c_str(), R_OK) == 0;
}

// One logic step of the park as the running game makes it while the clock runs.
void logicStep(GameBackground3D* park)
{
    park->stepAnimationTime();
    for (DataAnimal* animal : Singleton<DataStorage>::get()->mParkAnimals)
        AnimalAvatar::updateInPark(animal);
    park->update();
}

// One frame; returns the time the park screen took to queue it.
double drawFrame(GameBackground3D* park, int flags)
{
    CRender::begin(nullptr, 0.0f, kAspect2d);
    double start = nowMs();
    park->draw();
    double queued = nowMs() - start;
    CRender::end(flags);
    return queued;
}

bool saveShot(const std::string& path, int width, int height)
{
    std::vector<unsigned char> pixels(size_t(width) * size_t(height) * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    std::vector<unsigned char> rows(pixels.size());
    for (int y = 0; y < height; ++y)
        std::memcpy(&rows[size_t(y) * size_t(width) * 4], &pixels[size_t(height - 1 - y) * size_t(width) * 4],
                    size_t(width) * 4);
    for (size_t i = 3; i < rows.size(); i += 4)
        rows[i] = 255;
    return write_png(path, width, height, rows.data());
}

} // namespace

int main(int argc, char** argv)
{
    bool built = false;
    std::string shot;
    int steps = 2000, frames = 100;
    float turn = 0.0f, zoom = 0.0f;
    double slide = -1.0;  // with --built: the first slide show plays, at this share of its flight
    int walkers = 0, animals = 0;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--built")
            built = true;
        else if (a == "--shot" && i + 1 < argc)
            shot = argv[++i];
        else if (a == "--steps" && i + 1 < argc)
            steps = std::atoi(argv[++i]);
        else if (a == "--frames" && i + 1 < argc)
            frames = std::atoi(argv[++i]);
        else if (a == "--turn" && i + 1 < argc)
            turn = float(std::atof(argv[++i]));
        else if (a == "--zoom" && i + 1 < argc)
            zoom = float(std::atof(argv[++i]));
        else if (a == "--slide" && i + 1 < argc)
            slide = std::atof(argv[++i]);
        else if (a == "--walkers" && i + 1 < argc)
            walkers = std::atoi(argv[++i]);
        else if (a == "--animals" && i + 1 < argc)
            animals = std::atoi(argv[++i]);
    }
    std::string shotPath = shot.empty() || shot[0] == '/' ? shot : std::string(getcwd(nullptr, 0)) + "/" + shot;

    XInitThreads();
    if (chdir(PETPARK_APP_DIR "/Resources") != 0) {
        std::printf("no application folder at %s\n", PETPARK_APP_DIR);
        return 1;
    }
    new CRender("DISABLE_FBO NO_VSYNC NO_SLEEP", "");
    textsManager.load("data/dat/texts.dat");

    installParkEvents(Singleton<ScreenParkEvents>::get());
    DataStorage* storage = Singleton<DataStorage>::get();
    loadGameData(storage, "data/game/");
    LoadPublicConfig(*Singleton<PublicManager>::get());
    GameBackground3D* park = Singleton<GameBackground3D>::get();
    park->init("data/psd/GameBackground3D.txt");
    if (built)  // every building once: the starting kennel stands already
        for (DataBuilding* definition : storage->mBuildingDefinitions)
            if (std::find(storage->mParkBuildings.begin(), storage->mParkBuildings.end(), definition) ==
                storage->mParkBuildings.end())
                storage->mParkBuildings.push_back(definition);
    const wchar_t* kinds[] = {L"dog", L"cat", L"dino", L"rabbit", L"horse"};
    for (size_t i = storage->mParkAnimals.size(); i < size_t(std::max(animals, 0)); ++i) {
        const DataAnimal offer(L"Pet", kinds[i % 5], 0.1f, 0.1f, 0);
        if (DataAnimal* animal = DataAnimal::placeInPark(&offer))
            storage->mParkAnimals.push_back(animal);
    }

    // Frames are what lets the render thread serve the loader's GPU work.
    double start = nowMs();
    // The scenes whose files exist; a missing one never loads.
    std::vector<CRender::Object*> scenes;
    const char* names[] = {"main3D", "mBackground3DLight", "mBackground3DFX", "Buildings_Helpers", "Slide_cameras"};
    CRender::Object* objects[] = {park->mBackground3D, park->mBackground3DLight, park->mBackground3DFX,
                                  park->mBuildingsHelpers, park->mSlideCameras};
    for (int i = 0; i < 5; ++i) {
        if (exists(std::string("data/3dn/") + names[i] + ".3dn"))
            scenes.push_back(objects[i]);
        else
            std::printf("no scene %s\n", names[i]);
    }
    if (park->mAnimalPlaces && exists("data/3dn/Animals_Helpers.3dn"))
        scenes.push_back(park->mAnimalPlaces);
    for (DataAnimal* animal : storage->mParkAnimals)
        if (animal->mAvatar && exists("data/3dn/" + wideToString(animal->mType) + ".3dn"))
            scenes.push_back(animal->mAvatar->mFigure);
    PublicManager* visitors = Singleton<PublicManager>::get();
    if (walkers > 0) {
        for (CRender::Object* scene : {visitors->mCharacterScene, visitors->mCarsScene, visitors->mPublicHelpersScene,
                                       visitors->mCarsHelpersScene})
            if (scene)
                scenes.push_back(scene);
        for (int i = 0; i < walkers && !visitors->mWalkingHelpers.empty(); ++i) {
            const auto& path = visitors->mWalkingHelpers[size_t(i) % visitors->mWalkingHelpers.size()];
            OnePerson* person = new OnePerson();
            visitors->spawnVisitor(person, 0, stringToWide(path.first), float(path.second));
            // Far enough from the end that none leaves while the steps are timed.
            person->mProgress = float(path.second - 60) * float(i) / float(walkers);
            visitors->mWalkers.push_back(person);
        }
        // No more walkers enter; cars for that many visitors.
        visitors->mSpawnTimer = 1 << 30;
        visitors->mVisitors = 2 * walkers;
        visitors->setupCars();
    }
    while (nowMs() - start < 60000.0) {
        if (std::all_of(scenes.begin(), scenes.end(), loaded))
            break;
        CRender::begin(nullptr, 0.0f, kAspect2d);
        CRender::end(7);
    }
    std::printf("scenes loaded in %.0f ms:", nowMs() - start);
    for (CRender::Object* scene : scenes)
        std::printf(" %d", loaded(scene) ? 1 : 0);
    std::printf("\n");

    Singleton<MenuManager>::get()->mCurrentMenu = L"nomenu";
    park->setStateAll("game", 2, 0);
    GameCamera* camera = park->mCamera;
    camera->mTargetYaw += turn;
    camera->zoomStepB(zoom / camera->mZoomStep);
    for (int i = 0; i < 3; ++i)
        park->update();
    if (slide >= 0.0)
        for (DataBuilding* building : storage->mParkBuildings)
            if (!building->mSlideCameras.empty()) {
                SlideCamera* entry = building->mSlideCameras[0];
                entry->mPlaying = 1;
                entry->mTime = float(slide * entry->mFrames);
                std::printf("slide show of %s at frame %.0f\n", building->fileName().c_str(), entry->mTime);
                break;
            }

    double worst = 0;
    start = nowMs();
    for (int i = 0; i < steps; ++i) {
        double t = nowMs();
        logicStep(park);
        worst = std::max(worst, nowMs() - t);
    }
    double total = nowMs() - start;
    std::printf("logic step: %.3f ms average, %.3f ms worst over %d steps, %zu animals, %zu buildings, "
                "%zu walkers, %zu cars\n",
                steps ? total / steps : 0.0, worst, steps, storage->mParkAnimals.size(),
                storage->mParkBuildings.size(), visitors->mWalkers.size(), visitors->mCars.size());

    worst = 0;
    double queueing = 0;
    const std::clock_t cpuStart = std::clock();
    start = nowMs();
    for (int i = 0; i < frames; ++i) {
        double t = nowMs();
        logicStep(park);
        queueing += drawFrame(park, 7);
        worst = std::max(worst, nowMs() - t);
    }
    total = nowMs() - start;
    const double cpu = double(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC;
    std::printf("frame: %.2f ms average (%.2f ms of it queueing the park), %.2f ms worst over %d frames, "
                "%.2f ms processor (all threads) per frame\n",
                frames ? total / frames : 0.0, frames ? queueing / frames : 0.0, worst, frames,
                frames ? cpu / frames : 0.0);

    if (!shot.empty()) {
        drawFrame(park, 0); // neither cleared nor presented: the back buffer keeps the frame
        int width = 0, height = 0;
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        width = viewport[2];
        height = viewport[3];
        bool written = saveShot(shotPath, width, height);
        std::printf("%s %s (%dx%d)\n", written ? "saved" : "could not save", shotPath.c_str(), width, height);
    }
    bgLoader.shutdown();
    std::fflush(stdout);
    std::_Exit(0);
}
