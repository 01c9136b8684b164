// Writes the object fuzzer's seed files into the folder given on the command
// line: small valid objects in the layouts real writers use, and a few broken ones.
#include "tests/geometry/lwob_builder.h"
#include "tests/support/scratch_folder.h"

#include <cstdio>
#include <string>

using namespace lwobtest;

namespace {

bool Write(const std::string& folder, const char* name, const Bytes& bytes) {
    return testsupport::WriteWhole(folder + "/" + name, bytes);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: object_fuzz_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    Bytes triangle;
    PutPolygon(triangle, {0, 1, 2});
    Bytes mixed;
    PutPolygon(mixed, {0, 1, 2, 3});
    PutPolygon(mixed, {3, 2, 1});
    PutPolygon(mixed, {0, 1});
    PutPolygon(mixed, {2});
    const std::vector<Point> square = {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}};
    bool ok = true;
    ok = ok && Write(folder, "cube.lwo", Cube());
    ok = ok && Write(folder, "foreign.lwo", ForeignObject(false));
    ok = ok && Write(folder, "pentagon.lwo", ForeignObject(true));
    ok = ok &&
         Write(folder, "triangle.lwo",
               Builder().Points({{0, 0, 0}, {0, 1, 0}, {1, 0, 0}}).Chunk("POLS", triangle).Build());
    ok = ok && Write(folder, "mixed.lwo", Builder().Points(square).Chunk("POLS", mixed).Build());
    ok = ok &&
         Write(folder, "polygons-first.lwo",
               Builder().Chunk("POLS", mixed).Points(square).Chunk("TAGS", Bytes{'x'}).Build());
    ok = ok && Write(folder, "past-end.lwo",
                     Builder().Points(square).RawChunk("POLS", 4000, mixed).Build());
    if (!ok) {
        std::fprintf(stderr, "object_fuzz_seeds: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
