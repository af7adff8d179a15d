#include "verbs.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void printUsage()
{
    std::fputs("usage: tarvex-cli VERB ARGS...\n"
               "  info FILE [--json]                     counts, scale and extent of a drawing\n"
               "  convert IN.pre|IN.des OUT.des          write a drawing as .des\n"
               "  render IN.des OUT.png [--size WxH]     paint a drawing as its view shows it\n",
               stderr);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        printUsage();
        return argc < 2 ? 2 : 0;
    }
    const std::string verb = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (verb == "info")
        return runInfo(args);
    if (verb == "convert")
        return runConvert(args);
    if (verb == "render")
        return runRender(args);
    std::fprintf(stderr, "unknown verb: %s\n", verb.c_str());
    printUsage();
    return 2;
}
