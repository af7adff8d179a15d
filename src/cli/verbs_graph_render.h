#pragma once

#include <string>

/// The .grp branch of render: the graph as a new graph view of width × height shows it
/// (automatic axes, every curve). Needs a GUI application object already made by the caller.
int runRenderGraph(const std::string& in, const std::string& out, int width, int height);
