#include "cli_common.h"
#include "verbs.h"

// Placeholder until the verbs of this file are built.
int runEval(const std::vector<std::string>&) { return tarvex::cli::usage("eval: not built yet"); }
int runRenderMshMap(const std::string&, const std::string&, int, int, const std::string&)
{
    return tarvex::cli::usage("render --map: not built yet");
}
