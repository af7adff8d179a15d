#pragma once

// Solved models made through the whole pipeline (drawing, regions, mesh, export, linear run),
// for checks of sections and forces against closed forms.

#include "common/progress.h"
#include "geometry/drawing.h"
#include "problem/dat_io.h"
#include "problem/formar_regioes.h"
#include "problem/mesher/gerar_malha.h"
#include "problem/problem_data.h"
#include "solver/export_msh.h"
#include "solver/runs.h"
#include "solver/solver_model.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvex::test {

/// The problem data of a drawing whose regions are formed and exported with default materials.
inline problem::ProblemData formedProblem(
    const geometry::DrawingData& drawing, const problem::JanelaExportacao& window)
{
    problem::ResultadoFormacao formed;
    const Status status = problem::formarRegioes(drawing, formed);
    EXPECT_TRUE(status) << status.message;
    const std::string bytes
        = problem::escreveDatExportado(drawing.fatorEscala, window, formed.regioes);
    problem::ProblemData data;
    EXPECT_TRUE(problem::readDat(std::string_view(bytes), data));
    return data;
}

/// A circle of radius r about (cx, 0) as two half arcs meeting on the x axis.
inline void drawCircle(geometry::DrawingData& drawing, double cx, double r)
{
    const geometry::Ponto c { cx, 0 };
    drawing.arcos.pushFront({ { cx + r, 0 }, { cx - r, 0 }, c });
    drawing.arcos.pushFront({ { cx - r, 0 }, { cx + r, 0 }, c });
}

/// Holds the circle of radius r about the origin at a potential.
inline void holdCircle(problem::ProblemData& data, double r, double potential)
{
    for (problem::SegmentoContorno s :
        { problem::SegmentoContorno::arco({ r, 0 }, { -r, 0 }, { 0, 0 }),
            problem::SegmentoContorno::arco({ -r, 0 }, { r, 0 }, { 0, 0 }) }) {
        s.potencial = potential;
        data.segmentosPotencial.pushFront(s);
    }
}

/**
 * Round conductors of radius a centred on the x axis at each of `centres`, inside a boundary
 * circle of radius `outer` about the origin; the x axis, cut between the circles, splits the
 * space around them into an upper and a lower region.
 */
inline problem::ProblemData conductorsInCircle(
    const std::vector<double>& centres, double a, double outer)
{
    geometry::DrawingData drawing;
    drawCircle(drawing, 0.0, outer);
    double from = -outer;
    for (double c : centres) {
        drawCircle(drawing, c, a);
        drawing.segmentos.pushFront({ { from, 0 }, { c - a, 0 } });
        from = c + a;
    }
    drawing.segmentos.pushFront({ { from, 0 }, { outer, 0 } });
    return formedProblem(drawing, { -outer, outer, -outer, outer });
}

inline solver::SolverModel meshAndSolve(problem::ProblemData& data, double edge)
{
    data.arestaMaxima = edge;
    data.tolerancia = edge / 1e6;
    problem::OpcoesMalha options;
    options.comprimentoReferencia = edge;
    NoProgress progress;
    EXPECT_TRUE(problem::gerarMalha(data, options, progress));
    solver::SolverModel model;
    EXPECT_TRUE(solver::buildSolverModel(data, model));
    solver::RunSettings settings;
    settings.linearTolerance = 1e-10;
    solver::NoRunReporter reporter;
    EXPECT_TRUE(solver::runLinear(model, settings, reporter));
    return model;
}

} // namespace tarvex::test
