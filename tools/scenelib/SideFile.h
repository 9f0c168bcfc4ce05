#pragma once

// The ".xml" side file beside a scene (the scene's path followed by ".xml"), which adjusts the
// scene as it loads: node layers, swapped material texture slots and two whole-scene options.
// Entries apply in the order added; a later one overrides an earlier one.

#include <string>
#include <vector>

namespace scenelib {

class SideFile {
public:
    // Puts the nodes of that name on a layer; a name ending in '*' matches every node whose
    // name begins with the part before it, in any letter case.
    void setLayer(const std::string& nodeName, int layer);
    // Exchanges the texture maps of slots a and b (0..15) of the materials of that name.
    void swapSlots(const std::string& materialName, int a, int b);
    // "no-selfillum": self-illumination maps become diffuse maps. "spread-layers": node i goes
    // on layer i.
    void setOptions(bool noSelfIllum, bool spreadLayers);

    // Writes "<scenePath>.xml"; false when it cannot be written.
    bool save(const std::string& scenePath) const;

private:
    struct Entry {
        enum Kind { node, material, options } kind;
        std::string name;
        int a, b;
    };
    std::vector<Entry> mEntries;
};

} // namespace scenelib
