// DataStorage::checkRequirements: whether the park meets a requirements string such as
// "b:OtherVet.txt+$:5000", and the text of the terms it does not meet.

#include "game/CashAccount.h"
#include "game/DataAchievement.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "game/KeyFile.h"
#include "game/ParkEvents.h"
#include "game/TextFormat.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/utils/misc.h"

#include <boost/lexical_cast.hpp>

#include <cwchar>

namespace {
const size_t kTermTextLimit = 100;
const char* const kBuildingsFolder = "data/game/Buildings/";

// The field as a number; false for a missing or malformed field.
bool number(const std::vector<std::wstring>& fields, size_t index, int& out)
{
    if (index >= fields.size())
        return false;
    try {
        out = boost::lexical_cast<int>(fields[index]);
        return true;
    } catch (const boost::bad_lexical_cast&) {
        return false;
    }
}

// Taught tricks (fees above 0) and the sum of the fees of the park animals of a type, or of
// all of them when type is null.
void trickTotals(const std::vector<DataAnimal*>& animals, const std::wstring* type, int& taught, int& fees)
{
    taught = 0;
    fees = 0;
    for (const DataAnimal* animal : animals) {
        if (type && animal->mType != *type)
            continue;
        for (int fee : animal->mTrickFees) {
            if (fee > 0)
                ++taught;
            fees += fee;
        }
    }
}

std::wstring limited(std::wstring text)
{
    if (text.size() > kTermTextLimit)
        text.resize(kTermTextLimit);
    return text;
}
} // namespace

// The "[name]" of a building file, taken from its loaded definition when there is one.
std::wstring buildingName(const DataStorage* storage, const std::string& file)
{
    for (DataBuilding* building : storage->mBuildingDefinitions)
        if (building->hasFileName(file))
            return building->mName;
    std::wstring name;
    KeyFileReader r(kBuildingsFolder + file);
    for (; r.more(); r.advance())
        if (r.key(L"[name]"))
            name = r.value();
    return name;
}

int DataStorage::checkRequirements(const std::wstring& requirements, std::wstring* text)
{
    if (text)
        text->clear();
    bool all = true;
    for (const std::wstring& term : splitWide(requirements, L"+")) {
        std::vector<std::wstring> fields = splitWide(term, L":");
        // A term of separators only (":") has no code: it is false like an unknown one.
        const std::wstring code = fields.empty() ? std::wstring() : fields[0];
        std::wstring termText;
        bool met = false;
        int n = 0;
        if (code == L"0") {
            met = true;
        } else if (code == L"b") {
            if (fields.size() > 1) {
                std::string file = wideToString(fields[1]);
                met = findParkBuilding(file) != nullptr;
                // The name is looked up only for a text that will be shown.
                if (text && !met)
                    termText = limited(std::wstring(textsManager.get(L"Building")) + L": " + buildingName(this, file));
            }
        } else if (code == L"all") {
            int undone = 0;
            for (const DataAchievement* achievement : mAchievements)
                if (!achievement->mDone)
                    ++undone;
            met = undone == 1;
        } else if (code == L"pr") {
            const bool given = number(fields, 1, n);
            met = given && mPlayerPlace <= n;
            // The building cards show what is missing: a place or a visitor count named nowhere
            // else would leave "Required:" with nothing after it.
            if (text && !met && given)
                termText = limited(formatWithNumber(textsManager.get(L"RequiredPlace"), n));
        } else if (code == L"$") {
            if (number(fields, 1, n)) {
                const CashAccount* account = mGlobalSettings->mCashAccount;
                met = static_cast<long long>(account->mCash) - account->mLoan >= n;
                if (text && !met)
                    termText = limited(std::wstring(textsManager.get(L"Cash")) + L" " + std::to_wstring(n) + L" " +
                                       textsManager.get(L"currency"));
            }
        } else if (code == L"a") {
            if (fields.size() > 1 && number(fields, 2, n)) {
                int count = 0;
                for (const DataAnimal* animal : mParkAnimals)
                    if (animal->mType == fields[1])
                        ++count;
                met = count >= n;
            }
        } else if (code == L"p") {
            const bool given = number(fields, 1, n);
            met = given && parkEvents().visitorCount() >= n;
            if (text && !met && given)
                termText = limited(formatWithNumber(textsManager.get(L"RequiredVisitors"), n));
        } else if (code == L"tt" || code == L"t$") {
            if (fields.size() > 1 && number(fields, 2, n)) {
                int taught, fees;
                trickTotals(mParkAnimals, &fields[1], taught, fees);
                met = (code == L"tt" ? taught : fees) >= n;
            }
        } else if (code == L"tta" || code == L"ta$") {
            if (number(fields, 1, n)) {
                int taught, fees;
                trickTotals(mParkAnimals, nullptr, taught, fees);
                met = (code == L"tta" ? taught : fees) >= n;
            }
        }
        if (!met) {
            all = false;
            if (text && !termText.empty()) {
                if (!text->empty())
                    *text += L", ";
                *text += termText;
            }
        }
    }
    return all ? 1 : 0;
}
