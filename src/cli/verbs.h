#pragma once

#include <string>
#include <vector>

/// Each verb takes the words after its name and returns the process exit status. Failures print
/// their message on stderr; --json output is one JSON object on stdout.
int runInfo(const std::vector<std::string>& args);
int runConvert(const std::vector<std::string>& args);
int runRender(const std::vector<std::string>& args);

/// Problem data: the export of a drawing, and the .dat branches of info and render.
int runExport(const std::vector<std::string>& args);
int runInfoProblem(const std::string& path, bool json);
/// Needs a GUI application object already made by the caller. `mesh`: the triangles over the
/// structure, as the view's "Malha" display shows them.
int runRenderProblem(const std::string& in, const std::string& out, int width, int height,
                     bool mesh = false);

/// Graphs and materials files: the .grp/.mat branch of info, the .grp branch of convert.
int runInfoGraph(const std::string& path, bool json);
int runConvertGraph(const std::string& in, const std::string& out);
int runHarmonics(const std::vector<std::string>& args);
int runPlotMat(const std::vector<std::string>& args);

/// Problem editing: the view's editing operations applied in order to a .dat file.
int runEdit(const std::vector<std::string>& args);

/// Mesh generation and the mesh operations on a .dat file.
int runMesh(const std::vector<std::string>& args);
int runRefine(const std::vector<std::string>& args);
