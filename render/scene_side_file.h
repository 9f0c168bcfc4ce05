#pragma once

// The ".xml" side file of a scene (the scene's path followed by ".xml"): read after the scene
// and before it becomes an object, it puts nodes on layers, swaps texture-map slots of
// materials and switches two whole-scene options. Only the root's child elements count, in
// document order, by their exact names:
//   <node name="..." layer="3"/>            nodes of that name go on the layer
//   <material name="..." a="1" b="5"/>      slots a and b (0..15) exchange their texture maps
//   <options><no-selfillum/><spread-layers/></options>
// A name ending in '*' also matches every name that begins with the part before it, in any
// letter case; other names match exactly.

#include "render/Engine2Scene.h"

class TiXmlElement;

// Applies the side file's root element (null: nothing) to the scene; returns the options word,
// always 0.
int apply_xml_options(Engine2Scene& scene, const TiXmlElement* root);
