#include "verbs.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void printUsage()
{
    std::fputs(
        "usage: tarvex-cli VERB ARGS...\n"
        "  info FILE [--json]                     counts, scale and extent of a drawing\n"
        "  convert IN.pre|IN.des OUT.des          write a drawing as .des\n"
        "  render IN.des OUT.png [--size WxH]     paint a drawing as its view shows it\n"
        "  export-dat IN.des|IN.pre OUT.dat [--min-distance D]  regions of a drawing as\n"
        "                                         .dat (also called export)\n"
        "  draw IN.des|IN.pre|new OUT.des OPS...  drawing commands in order (draw --help)\n"
        "  info FILE.dat [--json]                 analysis, window, regions of a problem\n"
        "  convert IN.dat OUT.dat                 load a problem and write it again\n"
        "  render IN.dat OUT.png [--size WxH] [--mode mesh]  paint a problem's structure\n"
        "                                         (or its mesh)\n"
        "  info FILE.grp|FILE.mat [--json]        curves of a graph, points of a .mat\n"
        "  convert IN.grp OUT.asc                 export a graph as text\n"
        "  render IN.grp OUT.png [--size WxH]     paint a graph with automatic axes\n"
        "  harmonics IN.grp --mode N [--json]     harmonic analysis of a graph (N 0 to 5)\n"
        "  plot-mat IN.mat OUT.grp [--electric]   the plot of a materials file as a graph\n"
        "  mesh IN.dat OUT.dat [--max-edge H | --edge-factor F] [--special-factor F]\n"
        "       [--min-angle DEG] [--check-angle] [--smooth] [--json]  generate the mesh\n"
        "  refine IN.dat OUT.dat --total | --area X1,Y1,X2,Y2 | --recentre\n"
        "  edit IN.dat OUT.dat OPS...             regions, potentials, symmetry (edit --help)\n"
        "  export-msh IN.dat OUT.msh              solver model of a meshed problem\n"
        "  info FILE.msh [--json]                 node classes, matrix, symmetry, results\n"
        "  solve IN.msh OUT.msh --linear [--tol PERCENT]\n"
        "        | --nonlinear [--error PERCENT] [--max-iter N]\n"
        "        | --induced --freq HZ [--tol PERCENT]   [--json]  calculate\n"
        "        [--solver cg|direct]\n"
        "  render IN.msh OUT.png [--size WxH] [--mode mesh|regions|equipotentials|\n"
        "        induced-lines] [--lines N] | [--map B|H|D|E|J|P]\n"
        "  eval IN.msh point X Y [--rt] [--json] | flux X1 Y1 X2 Y2 [--json]\n"
        "                                         (--rt: the point as R and T in degrees,\n"
        "                                         values as tangential and radial parts)\n"
        "  eval IN.msh section X1 Y1 X2 Y2 --quantity flux|field|pressure|current|loss\n"
        "        [--centre XC YC] [--grp OUT.grp] [--json]  curves along a section\n"
        "  eval IN.msh force X1 Y1 X2 Y2 [--centre XC YC] [--json]  force on a section\n"
        "  eval IN.msh losses --region X Y | --total [--json]  induced-current losses\n"
        "  arrangement N OUT.des [a=.. b=.. ...] [--picture OUT.png [--size WxH]]\n"
        "                                         drawing of typical arrangement N (1 to 4)\n",
        stderr);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        printUsage();
        return argc < 2 ? 2 : 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("tarvex-cli %s\n", TARVEX_VERSION);
        return 0;
    }
    const std::string verb = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (verb == "info")
        return runInfo(args);
    if (verb == "convert")
        return runConvert(args);
    if (verb == "render")
        return runRender(args);
    // "export" was the verb's first name; scripts written with it keep working.
    if (verb == "export-dat" || verb == "export")
        return runExport(args);
    if (verb == "draw")
        return runDraw(args);
    if (verb == "harmonics")
        return runHarmonics(args);
    if (verb == "plot-mat")
        return runPlotMat(args);
    if (verb == "mesh")
        return runMesh(args);
    if (verb == "refine")
        return runRefine(args);
    if (verb == "edit")
        return runEdit(args);
    if (verb == "export-msh")
        return runExportMsh(args);
    if (verb == "solve")
        return runSolve(args);
    if (verb == "eval")
        return runEval(args);
    if (verb == "arrangement")
        return runArrangement(args);
    std::fprintf(stderr, "unknown verb: %s\n", verb.c_str());
    printUsage();
    return 2;
}
