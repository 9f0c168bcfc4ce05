#include "render/scene_side_file.h"

#include <tinyxml.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool name_matches(const std::string& name, const char* pattern)
{
    if (name == pattern)
        return true;
    const size_t len = std::strlen(pattern);
    if (len == 0 || pattern[len - 1] != '*')
        return false;
    const size_t n = len - 1;
    if (name.size() < n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) !=
            std::tolower(static_cast<unsigned char>(pattern[i])))
            return false;
    return true;
}

}  // namespace

int apply_xml_options(Engine2Scene& scene, const TiXmlElement* root)
{
    if (!root)
        return 0;
    for (const TiXmlElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string kind = e->Value() ? e->Value() : "";
        if (kind == "node") {
            const char* name = e->Attribute("name");
            if (!name)
                continue;
            for (Engine2Scene::Node& node : scene.node) {
                if (!name_matches(node.name, name))
                    continue;
                if (const char* layer = e->Attribute("layer"))
                    node.layer_number = std::atoi(layer);
            }
        } else if (kind == "material") {
            const char* name = e->Attribute("name");
            if (!name)
                continue;
            for (Engine2Scene::Material& m : scene.material) {
                if (!name_matches(m.name, name))
                    continue;
                const char* as = e->Attribute("a");
                const char* bs = e->Attribute("b");
                if (!as || !bs)
                    continue;
                const int a = std::atoi(as), b = std::atoi(bs);
                if (a >= 0 && a <= 15 && b >= 0 && b <= 15)
                    std::swap(m.slot(a), m.slot(b));
            }
        } else if (kind == "options") {
            if (e->FirstChild("no-selfillum")) {
                for (Engine2Scene::Material& m : scene.material)
                    if (m.slot(5) != 0) {
                        m.slot(1) = m.slot(5);
                        m.slot(5) = 0;
                    }
            }
            if (e->FirstChild("spread-layers")) {
                for (size_t i = 0; i < scene.node.size(); ++i) {
                    scene.node[i].layer_number = int32_t(i);
                    std::printf("%s: set to layer %d\n", scene.node[i].name.c_str(), int(i));
                }
            }
        }
    }
    return 0;
}
