#pragma once

#include "geometry/drawing.h"
#include "geometry/drawing_io.h"
#include "problem/dat_io.h"
#include "problem/formar_regioes.h"
#include "problem/mesher/gerar_malha.h"
#include "problem/mesher/verify_mesh.h"
#include "problem/problem_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace meshtest {

using namespace tarvex;
using namespace tarvex::problem;

/// A problem as the drawing's export and a load make it.
inline ProblemData problemFromDrawing(const geometry::DrawingData& drawing)
{
    ResultadoFormacao formed;
    EXPECT_TRUE(formarRegioes(drawing, formed));
    const std::string bytes
        = escreveDatExportado(drawing.fatorEscala, { 0, 1, 0, 1 }, formed.regioes);
    ProblemData data;
    EXPECT_TRUE(readDat(std::string_view(bytes), data));
    return data;
}

inline ProblemData referenceProblem()
{
    geometry::DrawingData drawing;
    EXPECT_TRUE(
        geometry::openDrawing(std::string(TARVEX_TEST_DATA) + "/reference.pre", "pre", drawing));
    return problemFromDrawing(drawing);
}

inline ProblemData rectangleProblem(double w, double h)
{
    geometry::DrawingData drawing;
    const geometry::Ponto a { 0, 0 }, b { w, 0 }, c { w, h }, d { 0, h };
    drawing.segmentos.pushFront({ a, b });
    drawing.segmentos.pushFront({ b, c });
    drawing.segmentos.pushFront({ c, d });
    drawing.segmentos.pushFront({ d, a });
    return problemFromDrawing(drawing);
}

/// Runs verifyMesh at every stage of a run and keeps the first problem found.
class VerifyingObserver : public MeshObserver {
public:
    std::string problem;
    std::vector<EtapaMalha> stages;
    void stageDone(EtapaMalha stage, const mesher::Triangulacao& mesh,
        const std::vector<mesher::ArestaVertices>& boundary, std::size_t nodes) override
    {
        stages.push_back(stage);
        mesher::VerifyOptions options;
        const bool filled = stage != EtapaMalha::Exterior && stage != EtapaMalha::Cantos
            && stage != EtapaMalha::Recentragem;
        options.boxCount = filled;
        options.nodeCount = nodes;
        if (stage == EtapaMalha::Fronteiras)
            options.boundary = &boundary;
        const mesher::VerifyResult r = mesher::verifyMesh(mesh, options);
        if (!r.ok() && problem.empty())
            problem = "stage " + std::to_string(static_cast<int>(stage)) + ": " + r.problem;
    }
};

} // namespace meshtest
