#pragma once

// Reading and writing ".3dn" scene files: an Engine2Scene mapped onto the structures and named
// records of a SuperBase container. Structure 0 is the root; every element is a structure of
// its own, kind by kind (file, texture_map, material, vertexbuffer, trianglebuffer, mesh, bone,
// node, camera, light, helper), and the root lists each kind's structure indices.

#include "render/Engine2Scene.h"

#include <string>
#include <vector>

// Fills a freshly constructed scene from the whole file's bytes. Absent records leave their
// members at the defaults (an absent text is empty). A damaged file - a count, size or
// structure index that does not fit, or a scene whose links and tracks a loader cannot follow
// (see scene_check) - is refused: a warning naming the file goes to standard error, the scene
// is left empty and the result is false.
bool scene_load(Engine2Scene& scene, const std::vector<char>& bytes, const char* name = nullptr);

// Writes the scene to the named file; false when the file cannot be written.
bool scene_save(const Engine2Scene& scene, const char* file_name);

// Whether every link of the scene lies inside its list and the node tree is one a loader can
// walk: node 0 exists, every other node is reached exactly once from the top-level nodes
// (parent 0) through the subnode lists of nodes that are their parents; each node's chosen
// matrix track (its mesh's, bone's, camera's or light's when linked, the last of these
// winning, else its own) holds keys, and as many as its parent's unless either holds one;
// triangle indices lie inside their vertex buffer's positions; every triangle list has a
// material; the lists a node links by 16-bit index stay below 32768 entries; the frame count
// and rate are finite. On failure why holds the reason.
bool scene_check(const Engine2Scene& scene, std::string& why);
