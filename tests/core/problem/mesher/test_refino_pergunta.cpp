#include "common/messages.h"
#include "problem/mesher/mesh_operations.h"
#include "problem/problem_data.h"

#include <gtest/gtest.h>

namespace {

using namespace tarvex;

problem::ProblemData meshOf(int triangles)
{
    problem::ProblemData data;
    for (int i = 0; i < triangles; ++i)
        data.triangulos.pushFront({ 0.0, 0.0, 1.0, 0.0, 0.0, 1.0 });
    data.numTriangulos = triangles;
    return data;
}

TEST(RefinoTotal, AsksOnlyAboveTwoHundredThousandTriangles)
{
    // 50 000 triangles become exactly 200 000: no question.
    EXPECT_EQ(problem::triangulosAposRefinoTotal(meshOf(50000)), 200000);
    EXPECT_TRUE(problem::perguntaRefinoTotal(meshOf(50000)).empty());
    EXPECT_TRUE(problem::perguntaRefinoTotal(meshOf(0)).empty());

    const std::string question = problem::perguntaRefinoTotal(meshOf(50001));
    EXPECT_EQ(question,
        " A malha refinada terá 200004 triângulos (quatro vezes os atuais).\n Continua ?");
}

} // namespace
