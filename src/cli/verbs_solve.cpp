#include "cli_common.h"
#include "verbs.h"

// Placeholder until the verbs of this file are built.
int runSolve(const std::vector<std::string>&) { return tarvex::cli::usage("solve: not built yet"); }
int runRenderMsh(const std::string&, const std::string&, int, int, const std::string&,
                 const std::string&)
{
    return tarvex::cli::usage("render .msh: not built yet");
}
