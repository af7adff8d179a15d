#pragma once

#include <string>
#include <vector>

namespace tarvex::solver {
struct SolverModel;
}
namespace tarvex::problem {
struct SegmentoContorno;
}

/// Each verb takes the words after its name and returns the process exit status. Failures print
/// their message on stderr; --json output is one JSON object on stdout.
int runInfo(const std::vector<std::string>& args);
int runConvert(const std::vector<std::string>& args);
int runRender(const std::vector<std::string>& args);

/// The drawing view's commands applied in order to a drawing (or a new one), saved as .des.
int runDraw(const std::vector<std::string>& args);

/// Problem data: the export of a drawing, and the .dat branches of info and render.
int runExport(const std::vector<std::string>& args);
int runInfoProblem(const std::string& path, bool json);
/// convert IN.dat OUT.dat: loaded and written again as the problem view's "Gravar" writes it.
int runConvertProblem(const std::string& in, const std::string& out);
/// Needs a GUI application object already made by the caller. `mesh`: the triangles over the
/// structure, as the view's "Malha" display shows them.
int runRenderProblem(
    const std::string& in, const std::string& out, int width, int height, bool mesh = false);

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

/// Solver models: the export of a meshed problem, the .msh branch of info.
int runExportMsh(const std::vector<std::string>& args);
int runInfoMsh(const std::string& path, bool json);
/// Calculation runs on a .msh file.
int runSolve(const std::vector<std::string>& args);
/// The .msh branch of render (needs a GUI application object): mesh, regions, equipotentials,
/// induced-current lines; `lines` is the --lines word, empty when not given.
int runRenderMsh(const std::string& in, const std::string& out, int width, int height,
    const std::string& mode, const std::string& lines, bool autoAuxLines = false);
/// The .emf branch of the .msh render: the results picture export of a view of width × height
/// showing the model's first window in `displayMode`.
int writeResultsEmfPicture(tarvex::solver::SolverModel& model, int displayMode,
    int equipotentialCount, int width, int height, const std::string& out,
    const std::vector<tarvex::problem::SegmentoContorno>* hidden = nullptr);
/// render --map B|H|D|E|J|P of a .msh file.
int runRenderMshMap(const std::string& in, const std::string& out, int width, int height,
    const std::string& quantity);
/// Field at a point and flux between two points of a solved .msh file.
int runEval(const std::vector<std::string>& args);
/// The critical-path and creepage analyses of eval (verbs_paths.cpp).
bool isPathEval(const std::vector<std::string>& args);
int runEvalPaths(const std::vector<std::string>& args);

/// A drawing generated from a typical arrangement's dimensions (and its sketch).
int runArrangement(const std::vector<std::string>& args);
/// eval IN.msh integrals|inductance|capacitance: the region integrals and the inductance and
/// capacitance from the stored energy (`isIntegralsVerb` tells the words of these verbs).
bool isIntegralsVerb(const std::vector<std::string>& args);
int runEvalIntegrals(const std::vector<std::string>& args);
