// The built game started with data files damaged (cut off, junk, empty, missing): it either
// starts and names each damaged file in a message, or stops with a message naming the file;
// it never hangs and never crashes. One file of each kind the game reads at start-up.
//
// To keep the run short, one damage goes to every kind at once: when the game stops, the file
// its message names has shown its stop and the game starts again without it, until it starts
// and must have named each remaining file. The four damages run side by side on the test's
// display, each game in an application folder of its own.

#include "fixtures/GameWindow.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const int kFrames = 20;
// Generous: CI machines run other tests beside these games; a hang is for ever anyway.
const int kDeadlineSeconds = 300;

enum class Damage { truncated, junk, empty, missing };

const char* damageName(Damage damage)
{
    switch (damage) {
    case Damage::truncated: return "cut off";
    case Damage::junk: return "junk";
    case Damage::empty: return "empty";
    case Damage::missing: return "missing";
    }
    return "?";
}

// One file of each kind, below the application's Resources folder, chosen so that no damaged
// file keeps the game from reading another of them. Files the game finds by
// listing their folder (buildings, achievements, promotions) cannot be missed when they are
// missing: for those the missing case is left out.
struct Kind {
    const char* file;
    bool listed;
};
const Kind kFiles[] = {
    {"data/dat/texts.dat", false},                      // texts
    {"data/dat/fonts.dat", false},                      // font styles
    {"data/fonts/sans_24.png", false},                  // font picture
    {"data/fonts/sans_bold_32.ch", false},              // charset (of another font: the
                                                        // damaged picture's is never read)
    {"data/psd/MenuBank.txt", false},                   // screen layout
    {"data/psd/MenuBank/cashbox.png", false},           // layout picture
    {"data/game/global.txt", false},                    // rules
    {"data/game/animals.txt", false},                   // species
    {"data/game/Buildings/DogHouse1.txt", true},        // building
    {"data/game/Achievements/Achievement1.txt", true},
    {"data/game/Promotions/Promotion1.txt", true},
    {"data/game/Foods/food1.txt", false},
    {"data/game/camera.txt", false},
    {"data/game/public.txt", false},                    // visitors
    {"data/game/tutorial.txt", false},
    {"data/characters.txt", false},                     // characters a name may hold
    {"data/3dn/Cars.3dn", false},                       // scene
    {"data/3dn/tex/park_grass.png", false},             // texture of the park's scene
    {"data/sounds/ZEB_Click.wav", false},               // sound effect
    {"data/music/zorvan.ogg", false},                   // music
};

// Links source into target, except along the way to the damaged files (copied) and the game's
// own folder "data/game" (copied whole: the game writes its options and profiles there).
void buildTree(const fs::path& source, const fs::path& target, const std::vector<std::string>& damaged,
               const fs::path& below)
{
    fs::create_directories(target);
    for (const fs::directory_entry& entry : fs::directory_iterator(source)) {
        const fs::path name = entry.path().filename();
        const fs::path relative = below / name;
        const fs::path to = target / name;
        const std::string rel = relative.generic_string();
        const bool isDamaged = std::find(damaged.begin(), damaged.end(), rel) != damaged.end();
        bool holdsDamaged = false;
        for (const std::string& file : damaged)
            holdsDamaged = holdsDamaged || file.compare(0, rel.size() + 1, rel + "/") == 0;
        if (rel == "data/game")
            GameWindow::copyGameFolder(entry.path().string(), to.string());
        else if (isDamaged)
            fs::copy(entry.path(), to, fs::copy_options::recursive);
        else if (entry.is_directory() && holdsDamaged)
            buildTree(entry.path(), to, damaged, relative);
        else
            fs::create_symlink(entry.path(), to);
    }
}

// Cut at 60 %, inside a line for a text file; junk of the file's size; nothing; no file.
void damage(const fs::path& file, Damage kind, unsigned seed)
{
    std::string bytes;
    {
        std::ifstream in(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    switch (kind) {
    case Damage::truncated: {
        size_t cut = bytes.size() * 6 / 10;
        while (cut > 1 && (bytes[cut - 1] == '\n' || bytes[cut - 1] == '\r'))
            --cut;
        bytes.resize(cut);
        break;
    }
    case Damage::junk: {
        std::mt19937 random(seed);
        for (char& c : bytes)
            c = static_cast<char>(random() & 0xFF);
        break;
    }
    case Damage::empty:
        bytes.clear();
        break;
    case Damage::missing:
        fs::remove(file);
        return;
    }
    fs::remove(file);
    std::ofstream(file, std::ios::binary) << bytes;
}

// One start of the game with some files damaged.
struct GameRun {
    std::vector<std::string> files;
    Damage kind = Damage::missing;
    std::unique_ptr<TempDir> dir;
    pid_t pid = 0;
    int seconds = 0;
    int status = 0;
    bool hung = false;
    bool lost = false;
    std::string out, err;

    void start()
    {
        dir.reset(new TempDir);
        seconds = 0;
        const fs::path app = fs::path(dir->path()) / "PetPark";
        const fs::path built = PETPARK_APP_DIR;
        fs::create_directories(app / "bin");
        fs::create_symlink(built / "bin" / "petpark", app / "bin" / "petpark");
        buildTree(built / "Resources", app / "Resources", files, "");
        for (size_t k = 0; k < files.size(); ++k)
            damage(app / "Resources" / files[k], kind, unsigned(k) + 1);

        // The files are opened and the environment made before the fork (in the fixture): the
        // test's other threads may hold the allocator's lock at the fork.
        const int outFd = open(dir->file("stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const int errFd = open(dir->file("stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        pid = outFd >= 0 && errFd >= 0 ? GameWindow::launch((app / "bin" / "petpark").string(), outFd, kFrames, errFd)
                                       : -1;
        if (outFd >= 0)
            close(outFd);
        if (errFd >= 0)
            close(errFd);
    }

    // Called about once a second; true once the game has ended (or was ended at the deadline).
    bool poll()
    {
        // A game that could not be started, or whose end cannot be learnt, neither started nor
        // stopped.
        int ended = pid > 0 ? GameWindow::waitFor(pid, &status, false) : -1;
        lost = ended < 0;
        if (ended == 0 && ++seconds >= kDeadlineSeconds) {
            kill(pid, SIGKILL);
            GameWindow::waitFor(pid, &status, true);
            hung = true;
            ended = pid;
        }
        if (ended == 0)
            return false;
        out = dir->read("stdout.txt");
        err = dir->read("stderr.txt");
        dir.reset();
        return true;
    }

    bool started() const { return !hung && !lost && WIFEXITED(status) && WEXITSTATUS(status) == 0; }
    bool stopped() const { return !hung && !lost && WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT; }
};

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

// A line with its digit runs as '#', so that timings do not make a line new.
std::string withoutDigits(const std::string& line)
{
    std::string out;
    for (char c : line)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            out.push_back(c);
        else if (out.empty() || out.back() != '#')
            out.push_back('#');
    return out;
}

std::string nameOf(const std::string& file)
{
    return fs::path(file).filename().string();
}

// The game names every file it loads in its progress lines: only a line the undamaged game
// does not print counts as a message about a file.
bool names(const GameRun& run, const std::string& file, const std::set<std::string>& usual)
{
    for (const std::string& line : linesOf(run.err + run.out))
        if (line.find(nameOf(file)) != std::string::npos && !usual.count(withoutDigits(line)))
            return true;
    return false;
}

std::string endOf(const std::string& text)
{
    return text.substr(text.size() > 1500 ? text.size() - 1500 : 0);
}

// One damage given to every kind: games started again and again, each time without the file
// the last one stopped for.
struct Chain {
    Damage kind;
    std::vector<std::string> left;
    std::vector<GameRun> runs;  // finished
    std::vector<std::string> stops;  // the file each stop was for
    std::string failure;
    bool done = false;

    // The file the stop's last message names, or empty.
    std::string stoppedFor(const GameRun& run) const
    {
        const std::vector<std::string> lines = linesOf(run.err);
        for (auto line = lines.rbegin(); line != lines.rend(); ++line)
            for (const std::string& file : left)
                if (line->find(nameOf(file)) != std::string::npos)
                    return file;
        return std::string();
    }

    // Takes a finished game: a stop for a named file goes on with a new game without it;
    // anything else ends the chain.
    void judge(GameRun& run)
    {
        const std::string what = std::string(damageName(kind)) + " files: ";
        const std::string tail = "\n--- stderr (end):\n" + endOf(run.err);
        runs.push_back(std::move(run));
        const GameRun& last = runs.back();
        if (last.lost) {
            failure = what + "the game could not be started or waited for" + tail;
        } else if (last.hung) {
            failure = what + "no end within " + std::to_string(kDeadlineSeconds) + " s (hangs) with these damaged:";
            for (const std::string& file : left)
                failure += " " + file;
            failure += tail;
        } else if (last.err.find("Sanitizer") != std::string::npos ||
                   last.err.find("runtime error") != std::string::npos) {
            failure = what + "sanitizer report" + tail;
        } else if (last.stopped()) {
            const std::string file = stoppedFor(last);
            if (file.empty()) {
                failure = what + "stopped without naming a damaged file" + tail;
            } else {
                stops.push_back(file);
                left.erase(std::find(left.begin(), left.end(), file));
                return;
            }
        } else if (!last.started()) {
            failure = what + "ended with status " + std::to_string(last.status) + tail;
        }
        done = true;
    }
};

TEST(StartupDamage, EveryDamagedFileIsNamedAndTheGameStartsOrStops)
{
    std::vector<Chain> chains;
    for (Damage kind : {Damage::truncated, Damage::junk, Damage::empty, Damage::missing}) {
        chains.push_back(Chain{kind, {}, {}, {}, {}, false});
        for (const Kind& file : kFiles) {
            ASSERT_TRUE(fs::exists(fs::path(PETPARK_APP_DIR) / "Resources" / file.file)) << file.file;
            if (!(file.listed && kind == Damage::missing))
                chains.back().left.push_back(file.file);
        }
    }

    GameRun undamaged;
    undamaged.start();
    std::vector<GameRun> current(chains.size());
    for (size_t c = 0; c < chains.size(); ++c) {
        current[c].files = chains[c].left;
        current[c].kind = chains[c].kind;
        current[c].start();
    }
    bool undamagedDone = false;
    for (;;) {
        sleep(1);
        undamagedDone = undamagedDone || undamaged.poll();
        bool allDone = undamagedDone;
        for (size_t c = 0; c < chains.size(); ++c) {
            Chain& chain = chains[c];
            if (!chain.done && current[c].poll()) {
                chain.judge(current[c]);
                if (!chain.done) {
                    current[c] = GameRun();
                    current[c].files = chain.left;
                    current[c].kind = chain.kind;
                    current[c].start();
                }
            }
            allDone = allDone && chain.done;
        }
        if (allDone)
            break;
    }

    ASSERT_TRUE(undamaged.started()) << "the undamaged game did not start:\n" << endOf(undamaged.err);
    std::set<std::string> usual;
    for (const std::string& line : linesOf(undamaged.out + undamaged.err))
        usual.insert(withoutDigits(line));
    for (const Chain& chain : chains) {
        std::string stops;
        for (const std::string& file : chain.stops)
            stops += " " + nameOf(file);
        std::printf("%s files: %zu starts, stopped for%s\n", damageName(chain.kind), chain.runs.size(),
                    stops.empty() ? " none" : stops.c_str());
        EXPECT_TRUE(chain.failure.empty()) << chain.failure;
        if (!chain.failure.empty())
            continue;
        const GameRun& last = chain.runs.back();
        for (const std::string& file : chain.left)
            EXPECT_TRUE(names(last, file, usual))
                << damageName(chain.kind) << " " << file << ": the game started without naming it\n--- stderr (end):\n"
                << endOf(last.err);
        // A stop's message must be its own: the undamaged game never prints it.
        for (size_t k = 0; k < chain.stops.size(); ++k)
            EXPECT_TRUE(names(chain.runs[k], chain.stops[k], usual))
                << damageName(chain.kind) << " " << chain.stops[k] << ": stopped without a message of its own";
    }
}

} // namespace
