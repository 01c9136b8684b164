// Recording stand-ins of the Glide calls the polygon pipeline makes.
#include "recording_glide.h"

namespace recording {

Record& Calls() {
    static Record record;
    return record;
}

void Reset() {
    Calls() = Record{};
}

} // namespace recording

extern "C" {

void guColorCombineFunction(GrColorCombineFnc_t function) {
    recording::Calls().colourCombines.push_back(function);
}

void grDrawPolygonVertexList(int vertexCount, const GrVertex vertices[]) {
    recording::DrawnPolygon polygon;
    polygon.vertices.assign(vertices, vertices + vertexCount);
    recording::Calls().polygons.push_back(polygon);
}

} // extern "C"
