#include "common/messages.h"
#include "geometry/arrangements.h"
#include "geometry/drawing.h"
#include "problem/formar_regioes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tarvex;
using namespace tarvex::geometry;

namespace {

DimensoesArranjo arranjo(int tipo, std::initializer_list<std::pair<const char*, float>> valores)
{
    DimensoesArranjo d = dimensoesPadrao(tipo);
    for (const auto& [letra, valor] : valores)
        EXPECT_TRUE(d.definir(letra, valor)) << letra;
    return d;
}

std::string_view refusal(const DimensoesArranjo& d)
{
    const Status s = validarArranjo(d);
    return s ? std::string_view("accepted") : s.message;
}

std::size_t exportedRegions(const DimensoesArranjo& d)
{
    DrawingData drawing;
    EXPECT_TRUE(gerarArranjo(d, drawing));
    problem::ResultadoFormacao result;
    const Status s = problem::formarRegioes(drawing, result);
    EXPECT_TRUE(s) << s.message;
    return result.regioes.size();
}

} // namespace

TEST(ArrangementValidation, DefaultsOfEveryFormAreAccepted)
{
    for (int tipo = 1; tipo <= ArranjoCount; ++tipo)
        EXPECT_TRUE(validarArranjo(dimensoesPadrao(tipo))) << tipo;
}

TEST(ArrangementValidation, NegativeValueIsRefusedBeforeAnyOtherCheck)
{
    // r negative and a zero: the negative value is named, not the zero.
    EXPECT_EQ(refusal(arranjo(1, { { "a", 0 }, { "r", -1 } })), msg::ArranjoNegativo);
    EXPECT_EQ(refusal(arranjo(4, { { "j", 0 }, { "r2", -0.5f } })), msg::ArranjoNegativo);
    EXPECT_EQ(msg::ArranjoNegativo, " Nenhum valor deve ser negativo !  \n Operação Cancelada !");
}

TEST(ArrangementValidation, Arrangement1RadiusBounds)
{
    // r has no zero test; b = 2r exactly is accepted, one step below is refused.
    EXPECT_EQ(refusal(arranjo(1, { { "r", 0 } })), "accepted");
    EXPECT_EQ(refusal(arranjo(1, { { "b", 30 }, { "r", 15 } })), "accepted");
    EXPECT_EQ(refusal(arranjo(1, { { "b", std::nextafter(30.0f, 0.0f) }, { "r", 15 } })),
        msg::Arranjo1_bMenor2r);
    EXPECT_EQ(refusal(arranjo(1, { { "c", 20 }, { "r", 15 } })), msg::Arranjo1_cMenor2r);
    EXPECT_EQ(refusal(arranjo(1, { { "b", 400 }, { "d", 399 } })), msg::Arranjo1_bMaiorD);
    EXPECT_EQ(msg::Arranjo1_bMenor2r,
        " Valor da dimensão b não pode ser menor que 2*r ! \n Operação Cancelada !");
}

TEST(ArrangementValidation, ChecksComeInTheirOrder)
{
    // Several faults at once: the first check of the list names the fault.
    EXPECT_EQ(refusal(arranjo(1, { { "c", 0 }, { "d", 0 } })), msg::ArranjoZero_c);
    EXPECT_EQ(
        refusal(arranjo(1, { { "b", 10 }, { "c", 10 }, { "r", 6 } })), msg::Arranjo1_bMenor2r);
    EXPECT_EQ(refusal(arranjo(2, { { "h", 0 }, { "r1", 0 } })), msg::ArranjoZero_r1);
    EXPECT_EQ(refusal(arranjo(2, { { "b", 10 }, { "d", 10 } })), msg::Arranjo2_bMenor2r2);
    EXPECT_EQ(refusal(arranjo(2, { { "d", 10 }, { "e", 400 } })), msg::Arranjo2_dMenor2r1);
    EXPECT_EQ(refusal(arranjo(2, { { "e", 400 }, { "f", 400 } })), msg::Arranjo2_eMaiorH);
    EXPECT_EQ(refusal(arranjo(2, { { "f", 301 } })), msg::Arranjo2_fMaiorH);
    EXPECT_EQ(refusal(arranjo(3, { { "a", 5 }, { "f", 5 } })), msg::Arranjo3_aMenorR1);
    EXPECT_EQ(refusal(arranjo(3, { { "f", 5 }, { "e", 5 } })), msg::Arranjo3_fMenorR1);
    EXPECT_EQ(refusal(arranjo(3, { { "e", 5 }, { "c", 5 } })), msg::Arranjo3_eMenorR2);
    EXPECT_EQ(refusal(arranjo(3, { { "c", 5 } })), msg::Arranjo3_cMenorR2);
    EXPECT_EQ(refusal(arranjo(4, { { "b", 10 }, { "g", 10 } })), msg::Arranjo4_bMenor2r1);
    EXPECT_EQ(refusal(arranjo(4, { { "g", 10 }, { "d", 10 } })), msg::Arranjo4_gMenor2r1);
    EXPECT_EQ(refusal(arranjo(4, { { "d", 10 }, { "j", 10 } })), msg::Arranjo4_dMenor2r2);
    EXPECT_EQ(refusal(arranjo(4, { { "j", 10 } })), msg::Arranjo4_jMenor2r2);
    EXPECT_EQ(msg::Arranjo3_fMenorR1,
        " Valor da dimensão f não pode ser menor que r1 ! \n Operação Cancelada !");
}

TEST(ArrangementValidation, ZeroTestsCoverOnlyTheListedLetters)
{
    // Arrangement 3 tests a to e; f and the radii may be zero. Arrangement 4 does not test r1, r2.
    EXPECT_EQ(refusal(arranjo(3, { { "e", 1e-24f } })), msg::ArranjoZero_e);
    EXPECT_EQ(refusal(arranjo(3, { { "f", 0 }, { "r1", 0 }, { "r2", 0 } })), "accepted");
    EXPECT_EQ(refusal(arranjo(4, { { "r1", 0 }, { "r2", 0 } })), "accepted");
    EXPECT_EQ(refusal(arranjo(2, { { "h", 1e-24f } })), msg::ArranjoZero_h);
    EXPECT_EQ(
        msg::ArranjoZero_r1, " Valor da dimensão 'r1' não pode ser zero ! \n Operação Cancelada !");
}

TEST(ArrangementValidation, WindowOfArrangement4MustFitUnderTheTop)
{
    // f + g + h = 320: i + j equal to it fits, a little more does not.
    EXPECT_EQ(refusal(arranjo(4, { { "i", 160 }, { "j", 160 } })), "accepted");
    EXPECT_EQ(refusal(arranjo(4, { { "i", 160.5f }, { "j", 160 } })), msg::Arranjo4_jiMaiorFgh);
}

TEST(ArrangementValidation, ValuesThatAreNotFiniteOrOverflowAreRefused)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(refusal(arranjo(1, { { "r", nan } })), msg::ArranjoValorInvalido);
    EXPECT_EQ(refusal(arranjo(2, { { "h", std::numeric_limits<float>::infinity() } })),
        msg::ArranjoValorInvalido);

    // A typed value beyond the float range becomes infinite (a plain cast would be undefined).
    EXPECT_EQ(valorCampo(1e39), std::numeric_limits<float>::infinity());
    EXPECT_EQ(valorCampo(-1e39), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(valorCampo(0.1), 0.1f);

    // Accepted by the checks, but c + a overflows a float: the drawing stays as it was.
    DrawingData drawing;
    drawing.pontos.pushFront({ 1, 2 });
    const float big = std::numeric_limits<float>::max();
    const Status s = gerarArranjo(arranjo(1, { { "a", big }, { "c", big } }), drawing);
    EXPECT_EQ(s.message, msg::ArranjoValorInvalido);
    ASSERT_EQ(drawing.pontos.size(), 1u);
    EXPECT_TRUE(drawing.segmentos.empty());
}

TEST(ArrangementGeometry, Arrangement1PointsSegmentsAndArcsInOrder)
{
    // b - 2r = 0.3 - 0.2 is rounded to a float before it is halved.
    DrawingData drawing;
    drawing.segmentos.pushFront({ { 9, 9 }, { 8, 8 } });
    ASSERT_TRUE(gerarArranjo(
        arranjo(1, { { "a", 2 }, { "b", 0.3f }, { "c", 4 }, { "d", 10 }, { "r", 0.1f } }),
        drawing));
    ASSERT_EQ(drawing.pontos.size(), 16u);
    ASSERT_EQ(drawing.segmentos.size(), 10u);
    ASSERT_EQ(drawing.arcos.size(), 4u);

    const double b2r = static_cast<float>(static_cast<double>(0.3f) - 2.0 * 0.1f);
    const double c2r = static_cast<float>(4.0 - 2.0 * 0.1f);
    // Inserted at the front: the first point generated is the last one listed.
    const Ponto p0 = drawing.pontos.at(15);
    EXPECT_EQ(p0, (Ponto { 2, -b2r / 2 }));
    EXPECT_EQ(drawing.pontos.at(0), (Ponto { -c2r / 2, -b2r / 2 }));
    // H = 1.5 (c + a) = 9 (b < c), below 5 a = 10 and 2.2 d = 22: L = 9.
    EXPECT_EQ(drawing.pontos.at(15 - 10), (Ponto { -9, 5 }));
    EXPECT_EQ(drawing.pontos.at(15 - 8), (Ponto { 6, -5 }));

    // Segment P0->P1 first, the cut P5->P10 last.
    EXPECT_EQ(drawing.segmentos.at(9), (Segmento { { 2, -b2r / 2 }, { 2, b2r / 2 } }));
    EXPECT_EQ(drawing.segmentos.at(0), (Segmento { { -c2r / 2, 0.3f / 2.0 }, { -9, 5 } }));
    // Arc P1->P4 about P13 first, P7->P0 about P12 last.
    EXPECT_EQ(drawing.arcos.at(3),
        (Arco { { 2, b2r / 2 }, { c2r / 2, 0.3f / 2.0 }, { c2r / 2, b2r / 2 } }));
    EXPECT_EQ(drawing.arcos.at(0).PC, (Ponto { c2r / 2, -b2r / 2 }));
}

TEST(ArrangementGeometry, LeftExtentOfArrangement1IsBoundedBy5aAnd2_2d)
{
    DrawingData drawing;
    // b > c: H = 1.5 (b + a) = 270, below 5 a = 300; 2.2 d = 264 is smaller still.
    ASSERT_TRUE(gerarArranjo(
        arranjo(1, { { "a", 60 }, { "b", 120 }, { "c", 100 }, { "d", 120 } }), drawing));
    EXPECT_DOUBLE_EQ(
        drawing.pontos.at(15 - 10).x, -static_cast<double>(static_cast<float>(2.2 * 120)));
    // H = 1.5 (160 + 40) = 300 is limited to 5 a = 200.
    ASSERT_TRUE(gerarArranjo(
        arranjo(1, { { "a", 40 }, { "b", 160 }, { "c", 100 }, { "d", 400 } }), drawing));
    EXPECT_DOUBLE_EQ(drawing.pontos.at(15 - 10).x, -200);
}

TEST(ArrangementGeometry, CountsAndRoundedSumsOfArrangements2To4)
{
    DrawingData drawing;
    ASSERT_TRUE(
        gerarArranjo(arranjo(2, { { "a", 0.1f }, { "b", 0.2f }, { "r2", 0.05f } }), drawing));
    EXPECT_EQ(drawing.pontos.size(), 20u);
    EXPECT_EQ(drawing.segmentos.size(), 14u);
    EXPECT_EQ(drawing.arcos.size(), 4u);
    // Q6 = (u, 0) with u = a + b rounded to a float.
    EXPECT_EQ(drawing.pontos.at(19 - 6).x,
        static_cast<double>(static_cast<float>(double(0.1f) + double(0.2f))));

    // Defaults a=60 b=100 c=80 d=100 e=60 f=90 r1=r2=10 h=300: the first arc is the upper left
    // corner of the first window (Q9 -> Q8 about Q16), the last the upper right corner of the
    // second (Q15 -> Q14 about Q19, w = 340).
    ASSERT_TRUE(gerarArranjo(dimensoesPadrao(2), drawing));
    EXPECT_EQ(drawing.arcos.at(3), (Arco { { 70, 240 }, { 60, 230 }, { 70, 230 } }));
    EXPECT_EQ(drawing.arcos.at(0), (Arco { { 340, 200 }, { 330, 210 }, { 330, 200 } }));
    // The window on the bottom side: Q6 -> Q11 and Q0 -> Q7 (the bottom side up to a).
    EXPECT_EQ(drawing.segmentos.at(13 - 10), (Segmento { { 160, 0 }, { 160, 230 } }));
    EXPECT_EQ(drawing.segmentos.at(13 - 7), (Segmento { { 0, 0 }, { 60, 0 } }));

    ASSERT_TRUE(gerarArranjo(dimensoesPadrao(3), drawing));
    EXPECT_EQ(drawing.pontos.size(), 14u);
    EXPECT_EQ(drawing.segmentos.size(), 12u);
    EXPECT_EQ(drawing.arcos.size(), 2u);
    // R9 -> R8 about R12: the upper right corner of the left block (a = 100, f = 150, r1 = 10).
    EXPECT_EQ(drawing.arcos.at(1), (Arco { { 100, 140 }, { 90, 150 }, { 90, 140 } }));

    ASSERT_TRUE(gerarArranjo(dimensoesPadrao(4), drawing));
    EXPECT_EQ(drawing.pontos.size(), 28u);
    EXPECT_EQ(drawing.segmentos.size(), 15u);
    EXPECT_EQ(drawing.arcos.size(), 8u);
    // T2 = (s + e, f + g + h) = (360, 320); the last cut is T1 -> T5.
    EXPECT_EQ(drawing.pontos.at(27 - 2), (Ponto { 360, 320 }));
    EXPECT_EQ(drawing.segmentos.at(0), (Segmento { { 0, 320 }, { 50, 250 } }));
    // T6 -> T5 about T20 first, T12 -> T19 about T27 last (q = 210, i = 80, r2 = 10).
    EXPECT_EQ(drawing.arcos.at(7), (Arco { { 60, 260 }, { 50, 250 }, { 60, 250 } }));
    EXPECT_EQ(drawing.arcos.at(0), (Arco { { 210, 90 }, { 220, 80 }, { 220, 90 } }));
}

TEST(ArrangementExport, EachArrangementTracesItsRegions)
{
    // The outer contour is a region of its own, listed last.
    EXPECT_EQ(exportedRegions(dimensoesPadrao(1)), 4u);
    EXPECT_EQ(exportedRegions(dimensoesPadrao(2)), 4u);
    EXPECT_EQ(exportedRegions(dimensoesPadrao(3)), 4u);
    EXPECT_EQ(exportedRegions(dimensoesPadrao(4)), 5u);
}

TEST(ArrangementExport, SharpCornersExportAsWell)
{
    EXPECT_EQ(exportedRegions(arranjo(1, { { "r", 0 } })), 4u);
    EXPECT_EQ(exportedRegions(arranjo(1, { { "b", 30 }, { "r", 15 } })), 4u);
    EXPECT_EQ(exportedRegions(arranjo(4, { { "r1", 0 }, { "r2", 0 } })), 5u);
}
