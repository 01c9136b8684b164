// slvgen OUTDIR: writes every member of the show's data archive below OUTDIR
// (data/Square.lwo, scenes/ZT-Options.lws, objects/*.lwo), ready for
// "slvtool pack".
#include "assets/content.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: slvgen OUTDIR\n");
        return 2;
    }
    std::vector<assets::ContentFile> files = assets::BuildContent();
    if (!assets::WriteContent(files, argv[1]))
        return 1;
    std::printf("slvgen: %zu files in %s\n", files.size(), argv[1]);
    return 0;
}
