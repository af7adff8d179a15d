// Files the fuzz targets (fuzz/) once failed on, kept under tests/data/fuzz/<target>/ and fed again
// to the same path: each must now be read cleanly or refused with a message. In the sanitizer
// build a fault comes back as a failure here.
#include "problem/dat_io.h"
#include "problem/problem_data.h"
#include "solver/export_msh.h"
#include "solver/msh_io.h"
#include "solver/solver_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace tarvex;

namespace {

const std::filesystem::path Regressions = std::filesystem::path(TARVEX_TEST_DATA) / "fuzz";
const std::string Steel
    = std::string(TARVEX_TEST_DATA) + "/../../examples/materials/aco_nao_orientado_400_50.mat";

/// The kept files of a target, sorted; the folder is expected to hold some.
std::vector<std::filesystem::path> keptFiles(const std::string& target)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(Regressions / target))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string bytesOf(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

} // namespace

// Problems whose contour holds an arc of radius near 1e301: the export filed its conditions on a
// grid whose cell numbers came out as NaN (an undefined conversion to int, then cells far outside
// the grid). Now such a grid is not built and every node is tested against every condition.
// And a problem with symmetry kind 5, once exported into a model its own reader refused.
TEST(FuzzRegressions, DatExportOfHugeArcs)
{
    const auto files = keptFiles("dat_export");
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        problem::ProblemData problem;
        const Status read = problem::readDat(bytesOf(file), problem);
        ASSERT_TRUE(read.ok) << read.message;
        // As the fuzz target does: non-linear regions read one valid curve, whatever they name.
        for (std::size_t i = 0; i < problem.regioes.size(); ++i)
            problem.regioes.at(i).arquivoMaterial = Steel;
        solver::SolverModel model;
        const solver::ExportResult exported = solver::buildSolverModel(problem, model);
        if (!exported) {
            // A refusal says why, or marks where (an element outside every region).
            EXPECT_TRUE(!exported.status.message.empty() || exported.elementOutsideRegions >= 0
                || exported.hasMark);
            continue;
        }
        solver::SolverModel again;
        const Status reread = solver::readMsh(solver::writeMsh(model), again);
        EXPECT_TRUE(reread.ok) << reread.message;
        EXPECT_EQ(again.nodeCount(), model.nodeCount());
    }
}
