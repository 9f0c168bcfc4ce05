#pragma once

// A small game data tree in a temporary folder, made the working folder for the test (the game
// reads "data/game/..." relative to it), with helpers to write and load it.

#include "fixtures/TempDir.h"

#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "game/MonthBalance.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "park/PublicManager.h"
#include "source_menu/MenuIngame.h"
#include "source_menu/MenuManager.h"
#include "source_menu/Popup.h"
#include "toolkit/utils/TextsManager.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

class ParkTestData {
public:
    ParkTestData() : mOldDir(std::filesystem::current_path())
    {
        std::filesystem::create_directories(mDir.file("data/game/Buildings"));
        std::filesystem::create_directories(mDir.file("data/game/Achievements"));
        std::filesystem::create_directories(mDir.file("data/game/Promotions"));
        std::filesystem::create_directories(mDir.file("data/game/Foods"));
        std::filesystem::create_directories(mDir.file("data/game/Profiles"));
        std::filesystem::create_directories(mDir.file("data/dat"));
        std::filesystem::current_path(mDir.path());
        writeTexts();
        // The park view's camera, which the rules reach, as the park screen's init makes it.
        std::filesystem::copy_file(PETPARK_SOURCE_DIR "/data/game/camera.txt", mDir.file("data/game/camera.txt"));
        GameBackground3D* park = Singleton<GameBackground3D>::get();
        if (!park->mCamera)
            park->mCamera = new GameCamera();
    }
    ~ParkTestData() { std::filesystem::current_path(mOldDir); }
    ParkTestData(const ParkTestData&) = delete;
    ParkTestData& operator=(const ParkTestData&) = delete;

    // Writes a file below the temporary folder ("data/game/global.txt" ...).
    void write(const std::string& name, const std::string& text) const { mDir.write(name, text); }
    std::string read(const std::string& name) const { return mDir.read(name); }
    const TempDir& dir() const { return mDir; }

    static std::string globalText(const std::string& extra = std::string())
    {
        return "[cash]\n1000\n\n[date]\n28 2 2010\n\n[game speed]\n1000\n\n"
               "[days to game over after minus balance]\n3\n\n[random animals to buy after (days)]\n7\n\n"
               "[animals to accomodation]\n1 4\n\n[accomodation ticket price]\n20\n\n[teaching price]\n50\n\n"
               "[all tricks teaching price]\n300\n\n[car parking ticket price]\n4\n\n"
               "[scroll values]\nAccomodationTicket 10 15 20 25 30\n60\n\n"
               "[scroll values]\nCarTicket 2 4 6 8 10\n16\n\n"
               "[animal days to learn trick min-max]\ndog 5 5\n\n"
               "[animal tricks starting progress min-max]\ndog 1 1\n\n"
               "[food stored]\n10\n\n[food stored max]\n60\n\n[animal taken away cost]\n400\n\n"
               "[building clean cost]\n40\n\n[building repair cost per part]\n30\n\n"
               "[buildings sell percentage losses]\n0.3 0.7\n\n[dog popularity]\n2.0\n\n[cat popularity]\n1.0\n\n"
               "[max popularity]\n600\n\n[animals starting hunger]\n6\n\n[animals starting health]\n7\n\n"
               "[animals starting happiness]\n3\n\n" +
               extra;
    }

    static std::string animalsText()
    {
        std::string text = "[animal hunger drop]\n0.5\n\n[animal health drop]\n0.3\n\n";
        const char* species[5][2] = {{"dog", "pies"}, {"cat", "kot"}, {"dino", "dino"}, {"rabbit", "krolik"},
                                     {"horse", "kon"}};
        for (auto& s : species) {
            text += std::string("[skin]\n") + s[0] + " " + s[0] + "_a.png 0000100\n\n";
            text += std::string("[skin]\n") + s[0] + " " + s[0] + "_b.png\n\n";
            for (int i = 1; i <= 3; ++i)
                text += std::string("[helper]\n") + s[0] + " helper_" + s[1] + std::to_string(i) + " Chodzenie\n\n";
            text += std::string("[animation]\n") + s[0] + " chodzenie 0 39\n\n";
            text += std::string("[animation]\n") + s[0] + " jedzenie 40 79\n\n";
        }
        return text + "[animal name]\nRex\n\n[animal name]\nLuna\n\n[animals helpers]\nAnimals_Helpers.3dn\n";
    }

    static std::string buildingText(const std::string& name, const std::string& type, int level, int cost = 1000,
                                    const std::string& extra = std::string())
    {
        return "[name]\n" + name + "\n\n[type]\n" + type + "\n\n[cost]\n" + std::to_string(cost) +
               "\n\n[mainstanence]\n100\n\n[level num]\n" + std::to_string(level) +
               "\n\n[popularity worth]\n1.0\n\n[cleanness drop]\n0.5\n\n[condition drop]\n0.25\n\n" + extra;
    }

    // A complete small tree: two dog buildings, the vet, a store, two achievements, three
    // promotions and three foods; one starting dog and its kennel.
    void writeDefault(const std::string& globalExtra = "[animal]\ndog\n\n[building]\nDogHouse1.txt\n\n") const
    {
        write("data/game/global.txt", globalText(globalExtra));
        write("data/game/animals.txt", animalsText());
        write("data/game/Buildings/DogHouse1.txt", buildingText("Kennel", "Dog", 1));
        write("data/game/Buildings/DogHouse2.txt", buildingText("Villa", "Dog", 2, 2000));
        write("data/game/Buildings/OtherVet.txt", buildingText("Vet", "Other", -1, 5000));
        write("data/game/Buildings/OtherStore.txt",
              buildingText("Store", "Other", -1, 800, "[food stored max]\n300\n\n"));
        write("data/game/Achievements/a1.txt", "[name]\nFirst\n\n[requirements]\na:dog:1\n\n[reward]\n100\n");
        write("data/game/Achievements/a2.txt", "[name]\nLast\n\n[requirements]\nall\n\n[reward]\n500\n");
        for (int i = 1; i <= 3; ++i)
            write("data/game/Promotions/p" + std::to_string(i) + ".txt",
                  "[cost]\n" + std::to_string(i * 100) + "\n\n[popularity worth]\n" + std::to_string(i * 10) +
                      ".9\n\n[duration]\n" + std::to_string(i * 5) + "\n\n[name]\nPromo " + std::to_string(i) + "\n");
        for (int i = 1; i <= 3; ++i)
            write("data/game/Foods/food" + std::to_string(i) + ".txt",
                  "[name]\nFood " + std::to_string(i) + "\n\n[cost]\n100\n\n[food]\n30\n\n[requirements]\n0\n");
    }

    // Loads the tree into the one DataStorage with rand() seeded.
    static DataStorage* load(unsigned seed = 1)
    {
        std::srand(seed);
        DataStorage* storage = Singleton<DataStorage>::get();
        storage->mCurrentProfile = -1;
        loadGameData(storage, "data/game/");
        Singleton<MenuManager>::get()->mCurrentMenu = L"nomenu";
        return storage;
    }

private:
    void writeTexts() const
    {
        write("data/dat/texts.dat", "september September\njanuary January\nGetLoan Out of money\n"
                                    "GetLoanOrGameOver Pay within %d days! 100%\nGameOver Game over\n"
                                    "GameOverMessage Closed.\nnofood No food\nbuysomefood Buy food.\n"
                                    "doctorvisit Vet\ndoctorvisitmessage The vet took %d coins (%s %ls).\n"
                                    "Building Building\nCash Cash\ncurrency coins\n's_Park Park\n"
                                    "RequiredPlace Place %d\nRequiredVisitors Visitors %d\n");
        textsManager.load("data/dat/texts.dat");
    }

    TempDir mDir;
    std::filesystem::path mOldDir;
};
