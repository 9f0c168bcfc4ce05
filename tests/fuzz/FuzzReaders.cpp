// Damaged copies of the shipped files through every reader of the game.
//
// Each reader (saved games, save.txt, texts.dat, fonts, layouts, the park rules and data
// folders, camera.txt, public.txt, trick files, tutorial.txt, pictures, scenes) gets inputs made
// from the shipped files (and from saved games the game itself wrote) by deterministic
// mutations: truncations, lost, doubled and swapped lines, extreme numbers, keys in value
// places, junk and invalid UTF-8 bytes, flipped and overwritten bytes. The readers run in a child
// process, many inputs per child; the parent watches it:
//   - a child that stops with the game's own fatal assertion ("failed assertion") has met a file
//     the game refuses by design: counted as a stop;
//   - any other death, a sanitizer report, or no progress within the timeout is a finding; the
//     input is kept in the findings folder and the run goes on with the next input.
// The saved-game reader also checks that a park read back and written again gives the same file.
//
// Usage: fuzz_readers [--inputs N] [--seed S] [--reader NAME] [--timeout SECONDS]
//                     [--data RESOURCES_FOLDER] [--findings FOLDER] [--seconds BUDGET] [--batch N]
// A short run (the default 25 inputs per reader) runs in CTest; a long run is started by hand,
// e.g. --inputs 30000. Exit status 1 when anything was found.
//
// Index: mutations - the work folder - readers - the child - the parent - main

#include "fixtures/HeadlessEngine.h"

#include "game/DataAnimal.h"
#include "game/DataStorage.h"
#include "game/GameOptions.h"
#include "game/GlobalSettings.h"
#include "game/Profiles.h"
#include "game/TextFormat.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "park/PublicManager.h"
#include "park/TeachTrick.h"
#include "render/image.h"
#include "render/object.h"
#include "render/object_3dn_loader.h"
#include "render/scene_file.h"
#include "source_menu/ScreenParkEvents.h"
#include "source_menu/Tutorial.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/utils/PSDImport.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetBase.h"

#include <IL/il.h>
#include <IL/ilu.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// ---- mutations

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i)
            text += '\n';
        text += lines[i];
    }
    return text;
}

const char* const kExtremeNumbers[] = {"0",          "-1",          "1",    "2147483647", "-2147483648",
                                       "4294967296", "99999999999", "1e30", "-1e30",      "nan",
                                       "inf",        "-0",          "",     "0x10",       "1.5",
                                       "-7",         "8",           "100000"};
const char* const kJunk[] = {"\xff\xfe", "\xc3", "\xed\xa0\x80", "\x00", "%s%n%d", "[", "]", "\t", "\r", "  "};

class Mutator {
public:
    explicit Mutator(unsigned seed) : mRandom(seed) {}

    size_t below(size_t n) { return n == 0 ? 0 : static_cast<size_t>(mRandom() % n); }

    std::string mutate(const std::string& original)
    {
        bool binary = original.find('\0') != std::string::npos || original.compare(0, 4, "\x89PNG") == 0;
        std::string bytes = original;
        size_t rounds = 1 + below(3);
        for (size_t r = 0; r < rounds; ++r)
            bytes = binary ? mutateBinary(bytes) : mutateText(bytes);
        return bytes;
    }

private:
    std::string mutateText(const std::string& text)
    {
        std::vector<std::string> lines = splitLines(text);
        size_t at = below(lines.size());
        switch (below(12)) {
        case 0:
            return text.substr(0, below(text.size() + 1));
        case 1:
            if (!lines.empty())
                lines.erase(lines.begin() + static_cast<long>(at));
            break;
        case 2:
            if (!lines.empty())
                lines.insert(lines.begin() + static_cast<long>(at), lines[at]);
            break;
        case 3:
            if (lines.size() > 1)
                std::swap(lines[at], lines[below(lines.size())]);
            break;
        case 4:
        case 5: {
            // A number of the line (or the whole line) becomes an extreme one.
            if (lines.empty())
                break;
            std::string& line = lines[at];
            const char* number = kExtremeNumbers[below(std::size(kExtremeNumbers))];
            std::vector<size_t> starts;
            for (size_t i = 0; i < line.size(); ++i)
                if ((std::isdigit(static_cast<unsigned char>(line[i])) || line[i] == '-') &&
                    (i == 0 || line[i - 1] == ' ' || line[i - 1] == ','))
                    starts.push_back(i);
            if (starts.empty()) {
                line = number;
            } else {
                size_t s = starts[below(starts.size())];
                size_t e = line.find_first_of(" ,", s);
                line.replace(s, e == std::string::npos ? std::string::npos : e - s, number);
            }
            break;
        }
        case 6: {
            // A key of the file in another place (as a value, or doubled).
            std::vector<std::string> keys;
            for (const std::string& line : lines)
                if (!line.empty() && line[0] == '[')
                    keys.push_back(line);
            if (!keys.empty() && !lines.empty())
                lines[at] = keys[below(keys.size())];
            break;
        }
        case 7: {
            std::string junk = kJunk[below(std::size(kJunk))];
            if (junk.empty())
                junk.push_back('\0');
            std::string joined = joinLines(lines);
            joined.insert(below(joined.size() + 1), junk);
            return joined;
        }
        case 8:
            return std::string();
        case 9: {
            std::string flipped = text;
            if (!flipped.empty())
                flipped[below(flipped.size())] ^= static_cast<char>(1u << below(8));
            return flipped;
        }
        case 10:
            if (!lines.empty())
                lines[at] += std::string(5000 + below(20000), 'x');
            break;
        default:
            if (!lines.empty())
                lines.erase(lines.begin() + static_cast<long>(at), lines.begin() + static_cast<long>(
                                                                           std::min(lines.size(), at + 1 + below(8))));
            break;
        }
        return joinLines(lines);
    }

    std::string mutateBinary(const std::string& original)
    {
        std::string bytes = original;
        size_t size = bytes.size();
        switch (below(7)) {
        case 0:
            bytes.resize(below(size + 1));
            break;
        case 1:
            for (size_t n = 1 + below(8); n > 0 && size > 0; --n)
                bytes[below(size)] ^= static_cast<char>(1u << below(8));
            break;
        case 2: {
            static const uint32_t words[] = {0u, 0xffffffffu, 0x7fffffffu, 0x80000000u, 0x10000u, 0xffffu, 1u};
            uint32_t w = words[below(std::size(words))];
            if (size >= 4) {
                size_t at = below(size - 3);
                for (int k = 0; k < 4; ++k)
                    bytes[at + k] = static_cast<char>((w >> (8 * (below(2) ? k : 3 - k))) & 0xff);
            }
            break;
        }
        case 3:
            if (size > 0) {
                size_t at = below(size), length = 1 + below(std::min<size_t>(size - at, 4096));
                bytes.insert(below(size), bytes.substr(at, length));
            }
            break;
        case 4:
            if (size > 0) {
                size_t at = below(size);
                bytes.erase(at, 1 + below(std::min<size_t>(size - at, 4096)));
            }
            break;
        case 5:
            bytes.insert(below(size + 1), std::string(1 + below(64), '\xff'));
            break;
        default:
            bytes.clear();
            break;
        }
        return bytes;
    }

    std::mt19937 mRandom;
};

unsigned inputSeed(unsigned seed, const std::string& reader, size_t index)
{
    unsigned h = seed * 2654435761u;
    for (char c : reader)
        h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h ^ static_cast<unsigned>(index * 40503u);
}

// ---- the work folder

// Every shipped file linked into the work folder; a file being mutated is replaced by a real one.
class WorkFolder {
public:
    WorkFolder(const std::string& resources, const std::string& path) : mResources(resources), mPath(path)
    {
        fs::remove_all(mPath);
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(mResources)) {
            fs::path relative = entry.path().lexically_relative(mResources);
            fs::path target = fs::path(mPath) / relative;
            if (entry.is_directory())
                fs::create_directories(target);
            else
                fs::create_symlink(entry.path(), target);
        }
        fs::create_directories(fs::path(mPath) / "data/game/Profiles");
    }

    const std::string& path() const { return mPath; }
    // The files below folder (relative to the work folder) with that extension, sorted.
    std::vector<std::string> files(const std::string& folder, const std::string& extension) const
    {
        std::vector<std::string> found;
        fs::path root = fs::path(mPath) / folder;
        if (!fs::exists(root))
            return found;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
            if (!entry.is_directory() && entry.path().extension() == extension)
                found.push_back(entry.path().lexically_relative(mPath).string());
        std::sort(found.begin(), found.end());
        return found;
    }
    // Puts bytes in place of the file (relative path).
    void put(const std::string& file, const std::string& bytes) const
    {
        inside(file);
        fs::path target = fs::path(mPath) / file;
        fs::remove(target);
        writeBytes(target.string(), bytes);
    }
    // The file as shipped (or as the seed was written).
    std::string original(const std::string& file) const
    {
        auto seed = mSeeds.find(file);
        if (seed != mSeeds.end())
            return seed->second;
        return readBytes((fs::path(mResources) / file).string());
    }
    // A file that is not shipped (a saved game the game wrote) kept as a seed.
    void addSeed(const std::string& file, const std::string& bytes)
    {
        mSeeds[file] = bytes;
        put(file, bytes);
    }
    // Everything as it was before an input: the file restored, files that readers wrote removed.
    void restore(const std::string& file) const
    {
        inside(file);
        fs::path target = fs::path(mPath) / file;
        fs::remove(target);
        auto seed = mSeeds.find(file);
        if (seed != mSeeds.end())
            writeBytes(target.string(), seed->second);
        else
            fs::create_symlink(fs::path(mResources) / file, target);
        for (const char* folder : {"data/game", "data/game/Profiles"}) {
            for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(mPath) / folder)) {
                if (entry.is_directory() || entry.is_symlink())
                    continue;
                std::string relative = entry.path().lexically_relative(mPath).string();
                if (!mSeeds.count(relative))
                    fs::remove(entry.path());
                else if (readBytes(entry.path().string()) != mSeeds.at(relative))
                    writeBytes(entry.path().string(), mSeeds.at(relative));
            }
        }
    }

private:
    // Only files of the work folder are ever replaced, never the shipped ones.
    static void inside(const std::string& file)
    {
        if (file.empty() || file[0] == '/' || file.compare(0, 2, "..") == 0) {
            std::fprintf(stderr, "fuzz_readers: %s is outside the work folder\n", file.c_str());
            std::_Exit(5);
        }
    }

    std::string mResources;
    std::string mPath;
    std::map<std::string, std::string> mSeeds;
};

// ---- readers

struct Reader {
    std::string name;
    std::vector<std::string> files;          // inputs are made from these, in turn
    std::function<void()> prepare;           // once per child, before its inputs
    std::function<void(const std::string&)> run;
};

DataStorage* storage()
{
    return Singleton<DataStorage>::get();
}

void freshPark()
{
    std::srand(7);
    GameBackground3D* park = Singleton<GameBackground3D>::get();
    if (!park->mCamera)
        park->mCamera = new GameCamera();
    loadGameData(storage(), "data/game/");
    LoadPublicConfig(*Singleton<PublicManager>::get());
}

bool saveAs(const std::string& path, DataProfile* profile)
{
    Tutorial* t = Singleton<Tutorial>::get();
    return saveProfile(path, profile->mName, profile->mAvatarFile, profile->mTutorial, t->step, t->pointerTarget,
                       t->buildingBought, t->petAccepted, t->foodBought);
}

// A saved game read, written, read again and written again gives the same file; then a few
// days run with their autosaves.
void savedGameRoundTrip(const std::string& file)
{
    DataStorage* s = storage();
    s->mProfiles.clear();
    s->mCurrentProfile = -1;
    DataProfile* profile = new DataProfile(file);
    s->retire(profile);
    loadProfile(profile, 0);
    std::string first = file + ".first", second = file + ".second";
    if (!saveAs(first, profile))
        return;
    DataProfile again(first);
    loadProfile(&again, 0);
    again.mName = profile->mName;
    again.mAvatarFile = profile->mAvatarFile;
    again.mTutorial = profile->mTutorial;
    saveAs(second, &again);
    if (readBytes(first) != readBytes(second)) {
        std::fprintf(stderr, "ROUND TRIP: %s read back differs from what was written\n", file.c_str());
        std::abort();
    }
    s->mProfiles.push_back(profile);
    s->mCurrentProfile = 0;
    for (int day = 0; day < 3; ++day)
        s->newDay();
    s->mProfiles.clear();
    s->mCurrentProfile = -1;
}

std::vector<Reader> makeReaders(const WorkFolder& work)
{
    std::vector<Reader> readers;
    auto withTexts = [] { textsManager.load("data/dat/texts.dat"); };
    auto withStyles = [] {
        textsManager.load("data/dat/texts.dat");
        Singleton<FontStylesMgr>::get()->load("data/dat/fonts.dat");
    };

    readers.push_back({"saved game", {"data/game/Profiles/profile1.txt", "data/game/Profiles/profile2.txt"},
                       [withTexts] { withTexts(); }, [](const std::string& file) {
                           freshPark();
                           savedGameRoundTrip(file);
                       }});
    readers.push_back({"save.txt", {"data/game/save.txt", "data/game/defaultsave.txt"}, nullptr,
                       [](const std::string&) {
                           GameOptions options("data/game/");
                           options.save();
                       }});
    readers.push_back({"texts.dat", {"data/dat/texts.dat"}, nullptr, [](const std::string& file) {
                           textsManager.load(file);
                           for (const wchar_t* key : {L"gametitle", L"getloanorgameover", L"currency", L"nothere"})
                               formatWithNumberAndText(textsManager.get(key), 12, L"word");
                       }});
    {
        std::vector<std::string> files = {"data/dat/fonts.dat"};
        for (const std::string& f : work.files("data/fonts", ".ch"))
            files.push_back(f);
        for (const std::string& f : work.files("data/fonts", ".png"))
            files.push_back(f);
        readers.push_back({"fonts", files, nullptr, [](const std::string&) {
                               FontStylesMgr* styles = Singleton<FontStylesMgr>::get();
                               styles->load("data/dat/fonts.dat");
                               for (int n = 1; styles->hasStyle(n); ++n)
                                   if (CRender::Font* font = styles->getFont(styles->getStyle(n)))
                                       font->draw(L"Pet Park \x0105\x00df 123", 0, 0, 0.03f, 1, 1, 1, 1, 1, 1, 0);
                           }});
    }
    readers.push_back({"layouts", work.files("data/psd", ".txt"), withStyles, [](const std::string& file) {
                           PSDImport importer;
                           PSDImport::Result result = importer.import(file);
                           for (WidgetBaseBase* helper : result.first)
                               delete helper;
                           for (WidgetBase* widget : result.second)
                               delete widget;
                       }});
    {
        std::vector<std::string> files = {"data/game/global.txt", "data/game/animals.txt"};
        for (const char* folder : {"data/game/Buildings", "data/game/Achievements", "data/game/Promotions",
                                   "data/game/Foods"})
            for (const std::string& f : work.files(folder, ".txt"))
                files.push_back(f);
        readers.push_back({"game data", files, withTexts, [](const std::string&) {
                               freshPark();
                               DataStorage* s = storage();
                               s->computePopularity();
                               s->generateAnimalsForSale();
                               for (int day = 0; day < 3; ++day)
                                   s->newDay();
                           }});
    }
    readers.push_back({"camera.txt", {"data/game/camera.txt"}, nullptr, [](const std::string&) {
                           GameCamera camera;
                           camera.pitchFor(20.0f);
                       }});
    readers.push_back({"public.txt", {"data/game/public.txt"}, withTexts, [](const std::string&) {
                           freshPark();
                           PublicManager* visitors = Singleton<PublicManager>::get();
                           visitors->mVisitors = 50;
                           for (int day = 0; day < 2; ++day)
                               visitors->newDay();
                           for (int step = 0; step < 50; ++step)
                               visitors->update();
                       }});
    readers.push_back({"trick files", work.files("data/game/show", ".txt"), withTexts, [](const std::string& file) {
                           TeachTrick* show = Singleton<TeachTrick>::get();
                           LoadTrick(*show, file);
                       }});
    readers.push_back({"tutorial.txt", {"data/game/tutorial.txt"}, nullptr, [](const std::string& file) {
                           for (TutMessage* message : readTutorialMessages(file))
                               delete message;
                       }});
    readers.push_back({"pictures", work.files("data", ".png"), nullptr, [](const std::string& file) {
                           Image image;
                           int w = 0, h = 0;
                           image.load_il(file, &w, &h);
                       }});
    readers.push_back({"scenes", work.files("data/3dn", ".3dn"), nullptr, [](const std::string& file) {
                           std::string bytes = readBytes(file);
                           Engine2Scene scene;
                           scene_load(scene, std::vector<char>(bytes.begin(), bytes.end()), file.c_str());
                           Object object;
                           load_3dn(object, file.c_str());
                       }});
    return readers;
}

// ---- the child

// Runs inputs from..to of one reader; reports each input's index before it starts.
[[noreturn]] void runChild(const WorkFolder& work, const Reader& reader, unsigned seed, size_t from, size_t to,
                           int report, const std::string& errors)
{
    int devnull = ::open("/dev/null", O_WRONLY);
    ::dup2(devnull, 1);
    int err = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(err, 2);
    if (::chdir(work.path().c_str()) != 0)
        std::_Exit(3);
    HeadlessEngine engine;
    // The park rules reach the screens and the park view as in the game.
    installParkEvents(Singleton<ScreenParkEvents>::get());
    // The image library as the game's device starts it.
    ilInit();
    iluInit();
    if (reader.prepare)
        reader.prepare();
    for (size_t i = from; i < to; ++i) {
        uint32_t index = static_cast<uint32_t>(i);
        if (::write(report, &index, sizeof index) != sizeof index)
            std::_Exit(4);
        const std::string& file = reader.files[i % reader.files.size()];
        Mutator mutator(inputSeed(seed, reader.name, i));
        work.put(file, mutator.mutate(work.original(file)));
        reader.run(file);
        work.restore(file);
    }
    std::fflush(nullptr);
    std::_Exit(0);
}

// ---- the parent

struct Tally {
    size_t inputs = 0;
    size_t stops = 0;       // the game's own fatal message for a file it refuses
    size_t crashes = 0;
    size_t hangs = 0;
    size_t sanitizer = 0;   // AddressSanitizer / UndefinedBehaviorSanitizer reports
    size_t roundTrips = 0;  // saved games that read back differently
};

struct Options {
    size_t inputs = 25;
    unsigned seed = 1;
    std::string only;
    int timeout = 20;
    std::string resources = PETPARK_APP_DIR "/Resources";
    std::string findings = "fuzz-findings";
    size_t batch = 200;
    double seconds = 0;  // with a budget: no new batch once it is spent
};

void keepFinding(const Options& options, const WorkFolder& work, const Reader& reader, size_t index,
                 const std::string& kind, const std::string& errors)
{
    fs::create_directories(options.findings);
    const std::string& file = reader.files[index % reader.files.size()];
    Mutator mutator(inputSeed(options.seed, reader.name, index));
    std::string base = options.findings + "/" + kind + "-" + std::to_string(index) + "-" +
                       fs::path(file).filename().string();
    writeBytes(base, mutator.mutate(work.original(file)));
    writeBytes(base + ".log", readBytes(errors));
    std::printf("  %s: input %zu (%s), kept as %s\n", kind.c_str(), index, file.c_str(), base.c_str());
    std::string log = readBytes(errors);
    std::printf("%s\n", log.substr(log.size() > 1500 ? log.size() - 1500 : 0).c_str());
}

Tally runReader(const Options& options, const WorkFolder& work, const Reader& reader)
{
    Tally tally;
    if (reader.files.empty()) {
        std::printf("%s: no shipped files\n", reader.name.c_str());
        return tally;
    }
    const std::string errors = work.path() + "/../child-stderr.txt";
    size_t next = 0;
    auto started = std::chrono::steady_clock::now();
    auto spent = [&] {
        return options.seconds > 0 &&
               std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count() > options.seconds;
    };
    while (next < options.inputs && !spent()) {
        size_t to = std::min(options.inputs, next + options.batch);
        int pipeFds[2];
        if (::pipe(pipeFds) != 0)
            break;
        std::fflush(nullptr);
        pid_t child = ::fork();
        if (child == 0) {
            ::close(pipeFds[0]);
            runChild(work, reader, options.seed, next, to, pipeFds[1], errors);
        }
        ::close(pipeFds[1]);
        long current = -1;
        bool hung = false;
        for (;;) {
            pollfd fd = {pipeFds[0], POLLIN, 0};
            int ready = ::poll(&fd, 1, options.timeout * 1000);
            if (ready == 0) {
                hung = true;
                ::kill(child, SIGKILL);
                break;
            }
            uint32_t index = 0;
            ssize_t n = ::read(pipeFds[0], &index, sizeof index);
            if (n != sizeof index)
                break; // the child ended
            current = index;
            ++tally.inputs;
        }
        ::close(pipeFds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!hung && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
            next = to;
            continue;
        }
        std::string log = readBytes(errors);
        size_t culprit = current < 0 ? next : static_cast<size_t>(current);
        if (hung) {
            ++tally.hangs;
            keepFinding(options, work, reader, culprit, "hang", errors);
        } else if (log.find("AddressSanitizer") != std::string::npos ||
                   log.find("runtime error") != std::string::npos ||
                   log.find("LeakSanitizer") != std::string::npos) {
            ++tally.sanitizer;
            keepFinding(options, work, reader, culprit, "sanitizer", errors);
        } else if (log.find("ROUND TRIP") != std::string::npos) {
            ++tally.roundTrips;
            keepFinding(options, work, reader, culprit, "roundtrip", errors);
        } else if (WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT &&
                   log.find("failed assertion") != std::string::npos) {
            ++tally.stops;
        } else {
            ++tally.crashes;
            keepFinding(options, work, reader, culprit, "crash", errors);
        }
        // The child may have died before restoring its file.
        work.restore(reader.files[culprit % reader.files.size()]);
        next = culprit + 1;
    }
    return tally;
}

// Saved games as the game writes them: a fresh park, and one run for a month with guests.
void writeSavedGameSeeds(WorkFolder& work)
{
    std::fflush(nullptr);
    pid_t child = ::fork();
    if (child == 0) {
        int devnull = ::open("/dev/null", O_WRONLY);
        ::dup2(devnull, 1);
        if (::chdir(work.path().c_str()) != 0)
            std::_Exit(3);
        HeadlessEngine engine;
        installParkEvents(Singleton<ScreenParkEvents>::get());
        ilInit();
        iluInit();
        textsManager.load("data/dat/texts.dat");
        freshPark();
        DataStorage* s = storage();
        DataProfile first("data/game/Profiles/profile1.txt");
        first.mName = L"Anna";
        first.mAvatarFile = L"avatar1.png";
        saveAs(first.mPath, &first);
        for (int day = 0; day < 35; ++day) {
            for (DataAnimal* offer : std::vector<DataAnimal*>(s->mAnimalsForSale))
                if (s->mParkAnimals.size() < 4)
                    if (DataAnimal* animal = DataAnimal::placeInPark(offer))
                        s->mParkAnimals.push_back(animal);
            for (DataAnimal* animal : s->mParkAnimals)
                if (animal->mHunger < 5)
                    animal->feed();
            s->newDay();
        }
        DataProfile second("data/game/Profiles/profile2.txt");
        second.mName = L"Bo Rex";
        second.mAvatarFile = L"avatar2.png";
        saveAs(second.mPath, &second);
        std::_Exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    for (const char* name : {"data/game/Profiles/profile1.txt", "data/game/Profiles/profile2.txt"}) {
        std::string bytes = readBytes(work.path() + "/" + name);
        if (bytes.empty())
            std::printf("Warning: the saved game %s could not be made\n", name);
        work.addSeed(name, bytes);
    }
    work.addSeed("data/game/save.txt", work.original("data/game/defaultsave.txt"));
}

} // namespace

// ---- main

int main(int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string flag = argv[i], value = argv[i + 1];
        if (flag == "--inputs")
            options.inputs = std::stoul(value);
        else if (flag == "--seed")
            options.seed = static_cast<unsigned>(std::stoul(value));
        else if (flag == "--reader")
            options.only = value;
        else if (flag == "--timeout")
            options.timeout = std::stoi(value);
        else if (flag == "--data")
            options.resources = value;
        else if (flag == "--findings")
            options.findings = value;
        else if (flag == "--seconds")
            options.seconds = std::stod(value);
        else if (flag == "--batch")
            options.batch = std::max<size_t>(1, std::stoul(value));
        else {
            std::fprintf(stderr, "unknown option %s\n", flag.c_str());
            return 2;
        }
    }
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    options.findings = fs::absolute(options.findings).string();
    std::string folder = (fs::temp_directory_path() / ("petpark-fuzz-" + std::to_string(::getpid()))).string();
    fs::create_directories(folder);
    WorkFolder work(options.resources, folder + "/work");
    writeSavedGameSeeds(work);

    std::vector<Reader> readers = makeReaders(work);
    Tally total;
    std::printf("%-14s %8s %6s %8s %6s %10s %11s\n", "reader", "inputs", "stops", "crashes", "hangs", "sanitizer",
                "round trip");
    auto started = std::chrono::steady_clock::now();
    for (const Reader& reader : readers) {
        if (!options.only.empty() && reader.name != options.only)
            continue;
        Tally t = runReader(options, work, reader);
        std::printf("%-14s %8zu %6zu %8zu %6zu %10zu %11zu\n", reader.name.c_str(), t.inputs, t.stops, t.crashes,
                    t.hangs, t.sanitizer, t.roundTrips);
        std::fflush(stdout);
        total.inputs += t.inputs;
        total.crashes += t.crashes;
        total.hangs += t.hangs;
        total.sanitizer += t.sanitizer;
        total.roundTrips += t.roundTrips;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    fs::remove_all(folder);
    size_t findings = total.crashes + total.hangs + total.sanitizer + total.roundTrips;
    std::printf("%zu inputs in %.0f s: %zu crashes, %zu hangs, %zu sanitizer reports, %zu round-trip differences\n",
                total.inputs, seconds, total.crashes, total.hangs, total.sanitizer, total.roundTrips);
    return findings == 0 ? 0 : 1;
}
