// t590-default-image: writes the initial clone file, the default T590 that File New starts from.
//
//   t590-default-image [OUTPUT]
//
// OUTPUT defaults to PQT590_Default.t590 in the current directory; commit the result as
// resources/PQT590_Default.t590.
#include <cstdio>
#include <string>

#include "DefaultImage.h"
#include "platform/cmcHost.h"
#include "text/cmcGTex.h"

int main(int argc, char** argv) {
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "-h" || first == "--help") {
        std::printf("usage: %s [OUTPUT]\nWrites the default T590 image (default: %s).\n", argv[0],
                    DefaultImage::kFileName);
        return 0;
    }
    // Anything else that looks like an option is a mistake, not a file name to create.
    if (argc > 2 || (!first.empty() && first[0] == '-')) {
        std::fprintf(stderr, "usage: %s [OUTPUT]\n", argv[0]);
        return 2;
    }
    const std::string path = argc == 2 ? argv[1] : DefaultImage::kFileName;

    // File errors are reported with the product's own texts, read from the resource file that
    // the build places beside this program.
    cmcGTex dictionary;
    dictionary.SetFile(cmcHost::Instance().ExecutableDir() + "PQT590.OVL");
    cmcGTex::SetMain(&dictionary);

    const int result = DefaultImage::Write(path);
    cmcGTex::SetMain(nullptr);
    if (result != 0) {
        std::fprintf(stderr, "%s: writing %s failed (clone file result %d)\n", argv[0],
                     path.c_str(), result);
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}
