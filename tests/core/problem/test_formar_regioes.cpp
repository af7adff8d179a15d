#include "common/messages.h"
#include "common/progress.h"
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"
#include "geometry/helpers.h"
#include "problem/dat_io.h"
#include "problem/formar_regioes.h"
#include "problem/mesher/gerar_malha.h"
#include "problem/problem_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>

using namespace tarvex;
using namespace tarvex::problem;
using geometry::DrawingData;

namespace {

void retangulo(DrawingData& d, double x0, double y0, double x1, double y1)
{
    d.segmentos.pushFront({ { x0, y0 }, { x1, y0 } });
    d.segmentos.pushFront({ { x1, y0 }, { x1, y1 } });
    d.segmentos.pushFront({ { x1, y1 }, { x0, y1 } });
    d.segmentos.pushFront({ { x0, y1 }, { x0, y0 } });
}

/// Signed area of a contour taken in walking order (the oldest element first), straight
/// elements only: positive when walked counterclockwise.
double areaNaCaminhada(const Regiao& r)
{
    double area = 0.0;
    for (const SegmentoContorno& e : r.segmentos.inStorageOrder())
        area += (e.x1 * e.y2 - e.x2 * e.y1) / 2.0;
    return area;
}

int marcasDeCor(const ResultadoFormacao& r, int cor)
{
    int n = 0;
    for (const MarcaDesenho& m : r.marcas)
        n += m.cor == cor ? 1 : 0;
    return n;
}

} // namespace

TEST(FormarRegioes, RectangleGivesInteriorClockwiseFirstAndOuterCounterclockwiseLast)
{
    DrawingData d;
    retangulo(d, 0, 0, 10, 5);
    ResultadoFormacao r;
    ASSERT_TRUE(formarRegioes(d, r));
    ASSERT_EQ(r.regioes.size(), 2u);
    EXPECT_EQ(r.regioes.at(0).segmentos.size(), 4u);
    EXPECT_EQ(r.regioes.at(1).segmentos.size(), 4u);
    EXPECT_DOUBLE_EQ(areaNaCaminhada(r.regioes.at(0)), -50.0);
    EXPECT_DOUBLE_EQ(areaNaCaminhada(r.regioes.at(1)), 50.0);
    EXPECT_EQ(marcasDeCor(r, 15), 8); // every contour drawn for the user
    // Fresh records carry the default material data.
    EXPECT_EQ(r.regioes.at(0).permRelativa, 1.0);
    EXPECT_EQ(r.regioes.at(0).linear, 1);
}

TEST(FormarRegioes, GapsBelowTheMinimumDistanceAreClosedAndWiderOnesAreNot)
{
    for (const double gap : { 0.03, 0.06 }) {
        DrawingData d;
        d.segmentos.pushFront({ { 0, 0 }, { 10, 0 } });
        d.segmentos.pushFront({ { 10, 0 }, { 10, 10 } });
        d.segmentos.pushFront({ { 10, 10 }, { 0, 10 } });
        d.segmentos.pushFront({ { 0, 10 }, { 0, gap } }); // the gap is at the origin
        ResultadoFormacao r;
        const Status s = formarRegioes(d, r);
        if (gap < d.distanciaMinima) {
            ASSERT_TRUE(s) << s.message;
            EXPECT_EQ(r.regioes.size(), 2u);
        } else {
            // Every piece is dangling at one end and goes, so nothing is left to export.
            EXPECT_EQ(s.message, msg::SemContornos);
        }
    }
}

TEST(FormarRegioes, ShortElementsAreDroppedAndMarkedButTheDrawingKeepsThem)
{
    DrawingData d;
    retangulo(d, 0, 0, 10, 10);
    d.segmentos.pushFront({ { 5, 5 }, { 5.02, 5 } });
    ResultadoFormacao r;
    ASSERT_TRUE(formarRegioes(d, r));
    EXPECT_EQ(marcasDeCor(r, 4), 1);
    EXPECT_EQ(r.regioes.size(), 2u);
    EXPECT_EQ(d.segmentos.size(), 5u);
}

TEST(FormarRegioes, CrossingRectanglesAreSplitIntoThreeRegionsAndTheOuterContour)
{
    DrawingData d;
    retangulo(d, 0, 0, 10, 10);
    retangulo(d, 5, 5, 15, 15);
    ResultadoFormacao r;
    ASSERT_TRUE(formarRegioes(d, r));
    ASSERT_EQ(r.regioes.size(), 4u);
    double interior = 0.0;
    for (std::size_t i = 0; i + 1 < r.regioes.size(); ++i)
        interior += areaNaCaminhada(r.regioes.at(i));
    EXPECT_DOUBLE_EQ(interior, -175.0); // 100 + 100 - 25, walked clockwise
    EXPECT_DOUBLE_EQ(areaNaCaminhada(r.regioes.at(3)), 175.0);
}

TEST(FormarRegioes, CircleOfTwoHalfArcsComesBackAsArcsInBothRecords)
{
    DrawingData d;
    d.arcos.pushFront({ { 10, 0 }, { -10, 0 }, { 0, 0 } });
    d.arcos.pushFront({ { -10, 0 }, { 10, 0 }, { 0, 0 } });
    ResultadoFormacao r;
    ASSERT_TRUE(formarRegioes(d, r));
    ASSERT_EQ(r.regioes.size(), 2u);
    for (const Regiao& region : r.regioes.inListOrder()) {
        ASSERT_EQ(region.segmentos.size(), 2u);
        for (const SegmentoContorno& e : region.segmentos.inListOrder()) {
            EXPECT_EQ(e.ehArco, 1);
            EXPECT_EQ(e.sentido, 1);
            EXPECT_NEAR(e.xc, 0.0, 1e-9);
            EXPECT_NEAR(e.yc, 0.0, 1e-9);
            // End points exactly as drawn.
            EXPECT_TRUE((e.x1 == 10 && e.x2 == -10) || (e.x1 == -10 && e.x2 == 10));
        }
    }
}

TEST(FormarRegioes, SeparateOutlinesAreTracedEachOnItsOwn)
{
    DrawingData d;
    retangulo(d, 0, 0, 100, 100);
    d.arcos.pushFront({ { 60, 50 }, { 40, 50 }, { 50, 50 } });
    d.arcos.pushFront({ { 40, 50 }, { 60, 50 }, { 50, 50 } });
    ResultadoFormacao r;
    ASSERT_TRUE(formarRegioes(d, r));
    for (const Regiao& region : r.regioes.inListOrder()) {
        int arcs = 0;
        for (const SegmentoContorno& e : region.segmentos.inListOrder())
            arcs += e.ehArco ? 1 : 0;
        EXPECT_TRUE(arcs == 0 || arcs == static_cast<int>(region.segmentos.size()));
    }
    EXPECT_EQ(r.regioes.size(), 4u); // outer, rectangle inside, and the circle both ways round
}

TEST(FormarRegioes, NothingClosedMeansNoExport)
{
    DrawingData onlyPoints;
    onlyPoints.pontos.pushFront({ 1, 1 });
    ResultadoFormacao r;
    EXPECT_EQ(formarRegioes(onlyPoints, r).message, msg::SemContornos);
    DrawingData dangling;
    dangling.segmentos.pushFront({ { 0, 0 }, { 1, 1 } });
    EXPECT_EQ(formarRegioes(dangling, r).message, msg::SemContornos);
}

TEST(FormarRegioes, ReferenceDrawingGivesAirDiscAndCoil)
{
    std::ifstream in(TARVEX_TEST_DATA "/reference.pre");
    DrawingData d;
    ASSERT_TRUE(geometry::readPre(in, d));
    ResultadoFormacao r;
    ASSERT_TRUE(formarRegioes(d, r));
    EXPECT_EQ(r.regioes.size(), 4u);
    const Regiao& outer = r.regioes.at(r.regioes.size() - 1);
    EXPECT_DOUBLE_EQ(areaNaCaminhada(outer), 20000.0);
}

TEST(ExportedDat, HoldsHeaderWindowRegionsInListOrderAndNoMesh)
{
    DrawingData d;
    retangulo(d, 0, 0, 10, 5);
    ResultadoFormacao r;
    ASSERT_TRUE(formarRegioes(d, r));
    const std::string bytes = escreveDatExportado(250.0, { -1, 11, -2, 7 }, r.regioes);
    const std::size_t regionBytes = RegiaoFixedBytes + 4 + 4 * SegmentoContornoBytes;
    ASSERT_EQ(bytes.size(), 31u + 1 + 8 + 32 + 4 + 2 * regionBytes + 8);
    EXPECT_EQ(std::string(bytes.c_str()), "versao 01.00.00");
    EXPECT_EQ(bytes[31], 1);
    double value;
    std::memcpy(&value, bytes.data() + 32, 8);
    EXPECT_EQ(value, 250.0);
    std::memcpy(&value, bytes.data() + 56, 8);
    EXPECT_EQ(value, -2.0); // x-min, x-max, then y-min
    std::memcpy(&value, bytes.data() + bytes.size() - 8, 8);
    EXPECT_EQ(value, 0.0);
}

TEST(ExportedDat, NamesFollowTheDrawingsExtension)
{
    EXPECT_EQ(nomeDatProposto("/p/bobina.des"), "/p/bobina.dat");
    EXPECT_EQ(nomeDatProposto("/p.des/bobina.pre"), "/p.des/bobina.dat");
    EXPECT_EQ(caminhoDatEscolhido("/p/x.des"), "/p/x.dat");
    EXPECT_EQ(caminhoDatEscolhido("/p/x.dat"), "/p/x.dat");
}

namespace {

void circulo(DrawingData& d, double cx, double cy, double r)
{
    d.arcos.pushFront({ { cx + r, cy }, { cx - r, cy }, { cx, cy } });
    d.arcos.pushFront({ { cx - r, cy }, { cx + r, cy }, { cx, cy } });
}

/// Meshes the exported problem: overlapping regions are what made the mesher stop.
void exportaEMalha(const DrawingData& d, std::size_t regioes)
{
    ResultadoFormacao r;
    const Status s = formarRegioes(d, r);
    ASSERT_TRUE(s) << textoFalhaFormacao(s, r);
    ASSERT_EQ(r.regioes.size(), regioes);
    const std::string bytes = escreveDatExportado(d.fatorEscala, { 0, 1, 0, 1 }, r.regioes);
    ProblemData data;
    ASSERT_TRUE(readDat(std::string_view(bytes), data));
    NoProgress progress;
    const Status malha = gerarMalha(data, {}, progress);
    EXPECT_TRUE(malha) << malha.message;
    EXPECT_GT(data.numTriangulos, 0);
}

} // namespace

TEST(FormarRegioes, ArcsAreSplitWhereTheyCrossSegmentsAndArcs)
{
    DrawingData box;
    retangulo(box, 0, 0, 100, 50);
    circulo(box, 100, 25, 20); // over the right side: outside part, lens inside, the rest
    exportaEMalha(box, 4);

    DrawingData two;
    circulo(two, 0, 0, 10);
    circulo(two, 12, 0, 10);
    exportaEMalha(two, 4);

    // Each piece keeps the centre of its arc.
    ResultadoFormacao r;
    ASSERT_TRUE(formarRegioes(two, r));
    for (const Regiao& region : r.regioes.inListOrder()) {
        for (const SegmentoContorno& e : region.segmentos.inListOrder()) {
            ASSERT_EQ(e.ehArco, 1);
            EXPECT_TRUE(std::abs(e.xc) < 1e-6 || std::abs(e.xc - 12) < 1e-6) << e.xc;
        }
    }
}

TEST(FormarRegioes, AnEndOnAnotherElementsInteriorSplitsIt)
{
    DrawingData box;
    retangulo(box, 0, 0, 100, 50);
    box.segmentos.pushFront({ { 40, 0 }, { 40, 50 } });
    exportaEMalha(box, 3);

    // Within the minimum distance of the side, and on arcs: a diameter across a circle.
    DrawingData near;
    retangulo(near, 0, 0, 100, 50);
    near.segmentos.pushFront({ { 40, 0.03 }, { 40, 49.98 } });
    exportaEMalha(near, 3);
    DrawingData disc;
    circulo(disc, 0, 0, 10);
    disc.segmentos.pushFront({ { 0, -10 }, { 0, 10 } });
    exportaEMalha(disc, 3);

    // Two rectangles sharing part of a side: the overlap is kept once.
    DrawingData shared;
    retangulo(shared, 0, 0, 10, 10);
    retangulo(shared, 10, 2, 20, 8);
    exportaEMalha(shared, 3);
}

TEST(FormarRegioes, UnresolvableCrossingsStopTheExportAndSayWhere)
{
    DrawingData tangent;
    retangulo(tangent, 0, 0, 100, 50);
    circulo(tangent, 50, 25, 25); // touches the bottom and the top
    ResultadoFormacao r;
    Status s = formarRegioes(tangent, r);
    ASSERT_EQ(s.message, msg::CruzamentoNaoResolvido);
    ASSERT_TRUE(r.temPontoProblema);
    EXPECT_NEAR(r.pontoProblema.x, 50, 1e-6);
    EXPECT_TRUE(std::abs(r.pontoProblema.y) < 1e-6 || std::abs(r.pontoProblema.y - 50) < 1e-6);
    const std::string text = textoFalhaFormacao(s, r);
    EXPECT_EQ(text.rfind(std::string(msg::CruzamentoNaoResolvido), 0), 0u);
    EXPECT_NE(text.find("(50, "), std::string::npos) << text;
    EXPECT_EQ(marcasDeCor(r, 4), 2); // a cross over the place
    EXPECT_TRUE(r.regioes.empty());

    // A line that passes 0.02 beyond an arc leaves a piece shorter than the minimum distance.
    DrawingData stub;
    circulo(stub, 0, 0, 10);
    stub.segmentos.pushFront({ { -20, 0.5 }, { std::sqrt(100.0 - 0.25) + 0.02, 0.5 } });
    s = formarRegioes(stub, r);
    EXPECT_EQ(s.message, msg::CruzamentoNaoResolvido);
    EXPECT_NEAR(r.pontoProblema.x, std::sqrt(100.0 - 0.25), 1e-6);
}

TEST(FormarRegioes, RemovedElementsAreCountedAndMarked)
{
    DrawingData d;
    retangulo(d, 0, 0, 10, 10);
    d.segmentos.pushFront({ { 20, 20 }, { 20.01, 20 } }); // shorter than d
    d.segmentos.pushFront({ { 10, 10 }, { 15, 15 } }); // dangles from a corner
    ResultadoFormacao r;
    ASSERT_TRUE(formarRegioes(d, r));
    EXPECT_EQ(r.removidos, 2u);
    EXPECT_EQ(marcasDeCor(r, 4), 2);
    EXPECT_EQ(r.regioes.size(), 2u);
}

TEST(FormarRegioes, GridOfCellsGivesOneRegionPerCellPlusTheOuterContour)
{
    // The end points meet exactly, so every export step finds its neighbours through the grid
    // index; a wrong cell lookup loses or doubles regions.
    DrawingData d;
    const int n = 30, m = 20;
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j < m; ++j)
            d.segmentos.pushFront({ { i * 0.7, j * 0.7 }, { i * 0.7, (j + 1) * 0.7 } });
    for (int j = 0; j <= m; ++j)
        for (int i = 0; i < n; ++i)
            d.segmentos.pushFront({ { i * 0.7, j * 0.7 }, { (i + 1) * 0.7, j * 0.7 } });
    ResultadoFormacao r;
    ASSERT_TRUE(formarRegioes(d, r));
    EXPECT_EQ(r.regioes.size(), static_cast<std::size_t>(n * m + 1));
    for (std::size_t i = 0; i + 1 < r.regioes.size(); ++i)
        EXPECT_NEAR(areaNaCaminhada(r.regioes.at(i)), -0.49, 1e-9);
}
