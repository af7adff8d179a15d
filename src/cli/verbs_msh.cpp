#include "cli_common.h"
#include "verbs.h"

// Placeholder until the verbs of this file are built.
int runExportMsh(const std::vector<std::string>&) { return tarvex::cli::usage("export-msh: not built yet"); }
int runInfoMsh(const std::string&, bool) { return tarvex::cli::usage("info .msh: not built yet"); }
