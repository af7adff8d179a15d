#include "cli_fixture.h"

#include "problem/dat_io.h"
#include "problem/problem_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace tarvex::problem;

Regiao square(double x0, double y0, double x1, double y1)
{
    Regiao region;
    const Ponto a { x0, y0 }, b { x1, y0 }, c { x1, y1 }, d { x0, y1 };
    region.segmentos.pushBack(SegmentoContorno::reta(a, b));
    region.segmentos.pushBack(SegmentoContorno::reta(b, c));
    region.segmentos.pushBack(SegmentoContorno::reta(c, d));
    region.segmentos.pushBack(SegmentoContorno::reta(d, a));
    return region;
}

class CliEdit : public tarvex::test::CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        // Outer square 0..100, A = 10..40 (position 2), B = 60..90 (position 3).
        ProblemData data;
        data.regioes.pushFront(square(60, 60, 90, 90));
        data.regioes.pushFront(square(10, 10, 40, 40));
        data.regioes.pushFront(square(0, 0, 100, 100));
        data.janela = { 0, 100, 0, 100 };
        data.derivarListas();
        ASSERT_TRUE(saveDat(path("in.dat").string(), data).ok);
    }
    /// Runs `tarvex-cli edit in.dat out.dat OPS`.
    int edit(const std::string& ops)
    {
        return run("edit " + arg("in.dat") + " " + arg("out.dat") + " " + ops);
    }

    ProblemData result()
    {
        ProblemData data;
        EXPECT_TRUE(openDat(path("out.dat").string(), data).ok);
        return data;
    }
};

} // namespace

TEST_F(CliEdit, RegionValuesFollowTheAnalysisType)
{
    ASSERT_EQ(edit("--region 25,25 J=2.5 mu_r=1000 brx=-0.9 sigma=5.8e7 "
                   "--analysis electric --region 75 75 rho=1e-6 eps_r=4"),
        0)
        << err;
    const ProblemData data = result();
    EXPECT_EQ(data.tipoAnalise, AnalysisType::Electric);
    const Regiao& a = *data.regiaoNaPosicao(2);
    EXPECT_EQ(a.densCorrente, 2.5);
    EXPECT_EQ(a.permRelativa, 1000);
    EXPECT_EQ(a.brX, -0.9);
    EXPECT_EQ(a.condutividade, 5.8e7);
    const Regiao& b = *data.regiaoNaPosicao(3);
    EXPECT_EQ(b.densCargas, 1e-6);
    EXPECT_EQ(b.permissividadeRelativa, 4);
    EXPECT_EQ(b.permRelativa, 1);
}

TEST_F(CliEdit, RefusedClicksGiveTheViewsMessageAndWriteNothing)
{
    struct Case {
        const char* ops;
        const char* message;
    };
    for (const Case& c :
        { Case { "--outer-potential 1 --region 50,50 J=1", " Ponto fora do domínio " },
            Case { "--special-region 50 50", " Ponto fora do domínio " },
            Case { "--remove-special 25,25", " Ponto fora do domínio " },
            Case { "--region 25,25 linear=0", "Informe o nome do arquivo de materiais !" },
            Case { "--region 25,25 mu_r=0", " Perm. Relativa deve estar entre 1e-15 e 1e15 !" },
            Case { "--remove-point-potential 10,10", " Não há potencial imposto neste ponto !" },
            Case { "--scale 0", " Fator Escala deve ser maior que zero !" } }) {
        EXPECT_EQ(edit(c.ops), 1) << c.ops;
        EXPECT_NE(err.find(c.message), std::string::npos) << c.ops << ": " << err;
        EXPECT_FALSE(fs::exists(path("out.dat"))) << c.ops;
    }
    // Argument problems are usage errors.
    for (const char* ops : { "--region 25,25 rho=1", "--analysis electric --region 25,25 J=1",
             "--region 25,25 bogus=1", "--point-potential 1,2", "--frobnicate",
             "--special-area 1,2,3", "--segment-potential 1,x 2" }) {
        EXPECT_EQ(edit(ops), 2) << ops;
        EXPECT_FALSE(fs::exists(path("out.dat"))) << ops;
    }
}

TEST_F(CliEdit, ArgumentProblemsNameTheOperationAboveTheUsage)
{
    struct Case {
        const char* ops;
        const char* first;
    };
    for (const Case& c : { Case { "--outer-potential", "expected a number for --outer-potential" },
             Case { "--segment-potential 1,x 2", "bad number list for --segment-potential: 1,x" },
             Case { "--special-area 1,2,3", "expected 4 numbers for --special-area" },
             Case { "--frobnicate", "unknown operation: --frobnicate" } }) {
        EXPECT_EQ(edit(c.ops), 2) << c.ops;
        EXPECT_EQ(err.rfind(std::string(c.first) + "\nusage: tarvex-cli edit ", 0), 0u)
            << c.ops << ": " << err;
    }
}

TEST_F(CliEdit, PotentialsApplyInTheOrderGivenWithNegativeNumbers)
{
    ASSERT_EQ(
        edit("--outer-potential 1 --clear-potentials --outer-potential -2 --outer-potential -2 "
             "--point-potential -1 -1 5 --point-potential 12,12 6 --point-potential 0.5,0.5 7 "
             "--segment-potential 41,25 3 --segment-potential 41 26 4 "
             "--outer-run 50,-1 50,101 -3 --remove-point-potential 11,11"),
        0)
        << err;
    const ProblemData data = result();
    // Every outer side twice with -2, A's right side once with 4, then the run of three.
    ASSERT_EQ(data.segmentosPotencial.size(), 12u);
    int outer = 0, run = 0;
    for (const SegmentoContorno& s : data.segmentosPotencial.inListOrder()) {
        outer += s.potencial == -2 ? 1 : 0;
        run += s.potencial == -3 ? 1 : 0;
    }
    EXPECT_EQ(outer, 8);
    EXPECT_EQ(run, 3);
    ASSERT_EQ(data.potenciaisPonto.size(), 1u);
    EXPECT_EQ(data.potenciaisPonto.at(0), (PotencialPonto { 0, 0, 7 }));
}

TEST_F(CliEdit, SymmetrySpecialRegionsAreasAndScale)
{
    ASSERT_EQ(edit("--symmetry 50,1 --symmetry 1,50 --antisymmetry 99,50 "
                   "--special-region 75,75 --special-area 30,35,15,25 --special-area 20 20 22 22 "
                   "--remove-special 21,21 --scale 1e3"),
        0)
        << err;
    ProblemData data = result();
    EXPECT_EQ(data.tipoSimetria, SymmetryKind::AntiSymmetry);
    EXPECT_EQ(data.segmentosSimetria.size(), 3u);
    ASSERT_EQ(data.regioesEspeciais.size(), 1u);
    EXPECT_EQ(data.regioesEspeciais.at(0), 3);
    ASSERT_EQ(data.areasEspeciais.size(), 1u);
    // The rectangle dragged "backwards" is the one left: (15, 25) to (30, 35).
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    for (const SegmentoContorno& s : data.areasEspeciais.at(0).segmentos.inListOrder()) {
        x0 = std::min({ x0, s.x1, s.x2 });
        y0 = std::min({ y0, s.y1, s.y2 });
        x1 = std::max({ x1, s.x1, s.x2 });
        y1 = std::max({ y1, s.y1, s.y2 });
    }
    EXPECT_EQ(data.areasEspeciais.at(0).segmentos.size(), 4u);
    EXPECT_EQ(x0, 15);
    EXPECT_EQ(y0, 25);
    EXPECT_EQ(x1, 30);
    EXPECT_EQ(y1, 35);
    EXPECT_EQ(data.fatorEscala, 1e3);

    fs::copy_file(path("out.dat"), path("in.dat"), fs::copy_options::overwrite_existing);
    ASSERT_EQ(edit("--remove-symmetry"), 0) << err;
    data = result();
    EXPECT_EQ(data.tipoSimetria, SymmetryKind::None);
    EXPECT_TRUE(data.segmentosSimetria.empty());
}
