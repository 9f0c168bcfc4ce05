#include "scenelib/SideFile.h"

#include <tinyxml.h>

namespace scenelib {

void SideFile::setLayer(const std::string& nodeName, int layer)
{
    mEntries.push_back(Entry{Entry::node, nodeName, layer, 0});
}

void SideFile::swapSlots(const std::string& materialName, int a, int b)
{
    mEntries.push_back(Entry{Entry::material, materialName, a, b});
}

void SideFile::setOptions(bool noSelfIllum, bool spreadLayers)
{
    mEntries.push_back(Entry{Entry::options, std::string(), noSelfIllum, spreadLayers});
}

bool SideFile::save(const std::string& scenePath) const
{
    TiXmlDocument doc;
    doc.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    TiXmlElement* root = new TiXmlElement("scene");
    doc.LinkEndChild(root);
    for (const Entry& e : mEntries) {
        TiXmlElement* el = nullptr;
        switch (e.kind) {
        case Entry::node:
            el = new TiXmlElement("node");
            el->SetAttribute("name", e.name.c_str());
            el->SetAttribute("layer", e.a);
            break;
        case Entry::material:
            el = new TiXmlElement("material");
            el->SetAttribute("name", e.name.c_str());
            el->SetAttribute("a", e.a);
            el->SetAttribute("b", e.b);
            break;
        case Entry::options:
            el = new TiXmlElement("options");
            if (e.a)
                el->LinkEndChild(new TiXmlElement("no-selfillum"));
            if (e.b)
                el->LinkEndChild(new TiXmlElement("spread-layers"));
            break;
        }
        root->LinkEndChild(el);
    }
    return doc.SaveFile((scenePath + ".xml").c_str());
}

} // namespace scenelib
