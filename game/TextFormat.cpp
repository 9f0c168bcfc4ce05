#include "game/TextFormat.h"

std::wstring formatWithNumber(const std::wstring& text, int number, size_t limit)
{
    std::wstring result = text;
    size_t at = result.find(L"%d");
    if (at != std::wstring::npos)
        result.replace(at, 2, std::to_wstring(number));
    if (result.size() > limit)
        result.resize(limit);
    return result;
}
