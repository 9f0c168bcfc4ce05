#pragma once

// Reads back what a frame drew on the recording device as 2D quads in canvas fractions: each
// quad's rectangle (the model matrix applied), its texture-coordinate rectangle and its texture.

#include "fixtures/RecordingDevice.h"
#include "render/device.h"

#include <algorithm>
#include <vector>

struct DrawnQuad {
    float x0, y0, x1, y1;  // canvas rectangle
    float u0, v0, u1, v1;  // texture coordinates
    long long texture;
};

inline std::vector<DrawnQuad> drawnQuads(const RecordingDevice& device)
{
    std::vector<DrawnQuad> quads;
    std::vector<float> model = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
    long long texture = 0;
    for (const RecordedCall& c : device.calls()) {
        if (c.op == "SetParam" && c.name == "model_matrix" && c.f.size() >= 12)
            model.assign(c.f.begin(), c.f.begin() + 12);
        if (c.op == "SetParamTexture" && c.i.size() > 1)
            texture = c.i[1];
        if (c.op != "DrawFromMemory")
            continue;
        const std::vector<float>* positions = nullptr;
        const std::vector<float>* uvs = nullptr;
        int positionSize = 3;
        for (size_t e = 0; e < c.elements.size(); ++e) {
            if (c.elements[e].usage == Device::vu_position) {
                positions = &c.streams[e];
                positionSize = c.elements[e].components;
            } else if (c.elements[e].usage == Device::vu_texcoord && !uvs) {
                uvs = &c.streams[e];
            }
        }
        if (!positions)
            continue;
        size_t vertices = positions->size() / positionSize;
        for (size_t q = 0; q + 3 < vertices; q += 4) {
            DrawnQuad quad{1e9f, 1e9f, -1e9f, -1e9f, 1e9f, 1e9f, -1e9f, -1e9f, texture};
            for (size_t v = q; v < q + 4; ++v) {
                float px = (*positions)[v * positionSize], py = (*positions)[v * positionSize + 1];
                float x = model[0] * px + model[1] * py + model[3];
                float y = model[4] * px + model[5] * py + model[7];
                quad.x0 = std::min(quad.x0, x);
                quad.x1 = std::max(quad.x1, x);
                quad.y0 = std::min(quad.y0, y);
                quad.y1 = std::max(quad.y1, y);
                if (uvs && uvs->size() >= (v + 1) * 2) {
                    quad.u0 = std::min(quad.u0, (*uvs)[v * 2]);
                    quad.u1 = std::max(quad.u1, (*uvs)[v * 2]);
                    quad.v0 = std::min(quad.v0, (*uvs)[v * 2 + 1]);
                    quad.v1 = std::max(quad.v1, (*uvs)[v * 2 + 1]);
                }
            }
            quads.push_back(quad);
        }
    }
    return quads;
}
