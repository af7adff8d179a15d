#pragma once

#include "common/progress.h"
#include "helpers/scripted_dialogs.h"
#include "helpers/scripted_file_chooser.h"
#include "helpers/scripted_prompter.h"
#include "problem/dat_io.h"
#include "problem/editing.h"
#include "problem/mesher/gerar_malha.h"
#include "problem/problem_data.h"
#include "solver/export_msh.h"
#include "solver/msh_io.h"
#include "solver/solver_model.h"

#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CMainApp;
class CMeshFrame;
class CMeshView;

/// Small magnetic problems for the results tests: a conductor in a box whose outline is held at
/// zero potential, so the flux lines ring the conductor.
namespace results_fixture {

inline tarvex::problem::Regiao retangulo(double x0, double y0, double x1, double y1)
{
    using tarvex::problem::SegmentoContorno;
    tarvex::problem::Regiao region;
    const tarvex::geometry::Ponto a { x0, y0 }, b { x1, y0 }, c { x1, y1 }, d { x0, y1 };
    region.segmentos.pushBack(SegmentoContorno::reta(a, b));
    region.segmentos.pushBack(SegmentoContorno::reta(b, c));
    region.segmentos.pushBack(SegmentoContorno::reta(c, d));
    region.segmentos.pushBack(SegmentoContorno::reta(d, a));
    return region;
}

/// A closed polygon through `pontos`, in their order.
inline tarvex::problem::Regiao poligono(std::initializer_list<tarvex::geometry::Ponto> pontos)
{
    using tarvex::problem::SegmentoContorno;
    tarvex::problem::Regiao region;
    const std::vector<tarvex::geometry::Ponto> p(pontos);
    for (std::size_t i = 0; i < p.size(); ++i)
        region.segmentos.pushBack(SegmentoContorno::reta(p[i], p[(i + 1) % p.size()]));
    return region;
}

/// The box 0..100 × 0..50 cut into three strips: air, a conductor of 1 A/mm² from x = 40 to 60,
/// air; the outline at zero potential, not meshed. `condutividade` gives the conductor that
/// conductivity; a `material` file makes it non-linear with that B-H curve.
inline tarvex::problem::ProblemData problemaCondutor(
    double condutividade = 0.0, const std::string& material = {})
{
    tarvex::problem::ProblemData data;
    tarvex::problem::Regiao condutor = retangulo(40, 0, 60, 50);
    condutor.densCorrente = 1.0;
    condutor.condutividade = condutividade;
    if (!material.empty()) {
        condutor.linear = 0;
        condutor.arquivoMaterial = material;
    }
    data.regioes.pushFront(retangulo(60, 0, 100, 50));
    data.regioes.pushFront(std::move(condutor));
    data.regioes.pushFront(retangulo(0, 0, 40, 50));
    // The outer contour comes first, through every vertex of the strips.
    data.regioes.pushFront(poligono({ { 0, 0 }, { 40, 0 }, { 60, 0 }, { 100, 0 }, { 100, 50 },
        { 60, 50 }, { 40, 50 }, { 0, 50 } }));
    data.janela = { -5, 105, -5, 55 };
    data.arestaMaxima = 6.0;
    data.tolerancia = data.arestaMaxima / 1e6;
    data.derivarListas();
    tarvex::problem::potencialContornoExterno(data, 0.0);
    return data;
}

/// problemaCondutor() with its mesh, written to `datPath`. False when something failed.
inline bool gravarProblemaComMalha(
    const QString& datPath, double condutividade = 0.0, const std::string& material = {})
{
    const std::string path = datPath.toStdString();
    if (!tarvex::problem::saveDat(path, problemaCondutor(condutividade, material)).ok)
        return false;
    // Read back, as the program would, so every derived member is what a document holds.
    tarvex::problem::ProblemData data;
    if (!tarvex::problem::openDat(path, data).ok)
        return false;
    tarvex::NoProgress progress;
    if (!tarvex::problem::gerarMalha(data, {}, progress).ok)
        return false;
    return tarvex::problem::saveDat(path, data).ok;
}

/// The solver model of a meshed problemaCondutor(), written to `mshPath` (not calculated).
inline bool gravarModelo(
    const QString& mshPath, double condutividade = 0.0, const std::string& material = {})
{
    const QString dat = mshPath + QStringLiteral(".dat");
    if (!gravarProblemaComMalha(dat, condutividade, material))
        return false;
    tarvex::problem::ProblemData data;
    if (!tarvex::problem::openDat(dat.toStdString(), data).ok)
        return false;
    tarvex::solver::SolverModel model;
    if (!tarvex::solver::buildSolverModel(data, model))
        return false;
    return tarvex::solver::saveMsh(mshPath.toStdString(), model).ok;
}

} // namespace results_fixture

/**
 * What the tests that drive the whole program share: a scratch folder that also holds the user
 * settings, and the program answered from scripts (prompter, file chooser, the views' dialogs).
 * A test class derives from it and calls these from its own initTestCase(), init() and
 * cleanup().
 */
class ScriptedProgramTest : public QObject {
public:
    ~ScriptedProgramTest() override;

protected:
    /// For initTestCase(). False when the scratch folder could not be made.
    bool prepararPasta();
    /// For init(): a fresh program with empty scripts. False when it did not start.
    bool iniciarPrograma();
    /// For cleanup(): closes the program and deletes what it left for later deletion.
    void fecharPrograma();

    static QString text(std::string_view s);
    /// Deletes now the objects the program left for later deletion (closed windows).
    static void flushDeletes();

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ScriptedFileChooser> m_chooser;
    std::unique_ptr<CMainApp> m_app;
    ScriptedDialogs m_dialogs;
};

/// A ScriptedProgramTest on the results window of one model, m_frame.
class ResultsWindowTest : public ScriptedProgramTest {
protected:
    /// Opens the model at `path` in m_frame, its view running dialogs from m_dialogs and sized
    /// `largura` × `altura` unless zero. False when no results window opened.
    bool abrirResultados(const QString& path, int largura = 0, int altura = 0);
    /// For cleanup(): the program closes without asking about the model's changes.
    void encerrarPrograma();

    void trigger(const QString& menuText);
    CMeshView& view();

    CMeshFrame* m_frame = nullptr;
};
