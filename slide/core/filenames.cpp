#include "filenames.h"

#include "namecodepage.h"

#include <array>

namespace quarvel::core {

std::string safeFileName(const std::string &slideName)
{
    static const std::string kRefused = "<>:\"/\\|?*";
    std::string name;
    name.reserve(slideName.size());
    for (const char c : slideName) {
        const auto byte = static_cast<unsigned char>(c);
        const bool refused = byte < 0x20 || byte == 0x7F || kRefused.find(c) != std::string::npos;
        name += refused ? '_' : c;
    }
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.pop_back();
    if (name.empty())
        return "_";

    // Windows treats these as devices whatever the extension.
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    while (!stem.empty() && stem.front() == ' ')
        stem.erase(stem.begin());
    for (char &c : stem) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    static const std::array<const char *, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
    bool reserved = false;
    for (const char *device : kDevices)
        reserved = reserved || stem == device;
    if (stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '1' && stem[3] <= '9')
        reserved = true;
    return reserved ? "_" + name : name;
}

UniqueFileNames::UniqueFileNames(std::string extension)
    : mExtension(std::move(extension))
{
}

std::string UniqueFileNames::nameFor(const std::string &slideName)
{
    const std::string base = safeFileName(slideName);
    std::string candidate = base + mExtension;
    for (int n = 2; mTaken.count(NameCodePage::foldCase(candidate)); ++n)
        candidate = base + "~" + std::to_string(n) + mExtension;
    mTaken.insert(NameCodePage::foldCase(candidate));
    return candidate;
}

} // namespace quarvel::core
