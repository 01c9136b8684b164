// Writes the object fuzzer's seed files into the folder given on the command line.
#include "tests/geometry/lwob_builder.h"
#include "tests/support/scratch_folder.h"

#include <cstdio>
#include <string>

using namespace lwobtest;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: object_fuzz_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    // A valid object with detail polygons and a pentagon, and one whose POLS runs past the end.
    Bytes triangle;
    PutPolygon(triangle, {0, 1, 2});
    const bool ok = testsupport::WriteWhole(folder + "foreign.lwo", ForeignObject(true)) &&
                    testsupport::WriteWhole(folder + "past-end.lwo",
                                            Builder()
                                                .Points({{0, 0, 0}, {0, 1, 0}, {1, 0, 0}})
                                                .RawChunk("POLS", 4000, triangle)
                                                .Build());
    if (!ok) {
        std::fprintf(stderr, "object_fuzz_seeds: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
