#include "common/messages.h"
#include "geometry/drawing.h"
#include "geometry/dxf_io.h"
#include "geometry/helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

using namespace tarvex;
using namespace tarvex::geometry;

namespace {

/// A DXF text from (code, value) pairs, one per line each, as ordinary writers put them.
std::string pares(std::initializer_list<std::pair<int, const char*>> grupos, const char* fim = "\n")
{
    std::string text;
    for (const auto& [codigo, valor] : grupos)
        text += std::to_string(codigo) + fim + valor + fim;
    return text;
}

std::string entidades(const std::string& corpo)
{
    return pares({ { 0, "SECTION" }, { 2, "HEADER" }, { 9, "$ACADVER" }, { 1, "AC1009" },
               { 0, "ENDSEC" }, { 0, "SECTION" }, { 2, "ENTITIES" } })
        + corpo + pares({ { 0, "ENDSEC" }, { 0, "EOF" } });
}

DrawingData le(const std::string& text, DxfIgnorados* ignorados = nullptr)
{
    DrawingData d;
    const Status s = readDxf(text, d, ignorados);
    EXPECT_TRUE(s.ok) << s.message << " line " << s.line;
    return d;
}

void perto(const Ponto& a, const Ponto& b, double tol = 1e-9)
{
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
}

/// The arc a bulge stands for, checked by what defines it: ends, equal radii and the sweep.
void arcoDoBulge(const Arco& a, const Ponto& p1, const Ponto& p2, double varredura)
{
    perto(a.P1, p1);
    perto(a.P2, p2);
    EXPECT_NEAR(distancia(a.PC, a.P1), distancia(a.PC, a.P2), 1e-9);
    const ExtensaoArco e = extensaoArco(a);
    EXPECT_NEAR(e.fim - e.inicio, varredura, 1e-3);
}

} // namespace

TEST(Dxf, ArcFromZeroToNinetyDegreesAndItsThreePoints)
{
    const DrawingData d = le(entidades(pares({ { 0, "ARC" }, { 8, "0" }, { 10, "0.0" },
        { 20, "0.0" }, { 30, "0.0" }, { 40, "1.0" }, { 50, "0.0" }, { 51, "90.0" } })));
    ASSERT_EQ(d.arcos.size(), 1u);
    perto(d.arcos.at(0).P1, { 1, 0 });
    perto(d.arcos.at(0).P2, { 0, 1 });
    perto(d.arcos.at(0).PC, { 0, 0 });
    // The reader's own π: cos(90°) is not quite zero.
    EXPECT_DOUBLE_EQ(d.arcos.at(0).P2.x, std::cos(90.0 * PiDxf / 180.0));
    // Centre, start and end inserted in that order, each at the front.
    ASSERT_EQ(d.pontos.size(), 3u);
    perto(d.pontos.at(2), { 0, 0 });
    perto(d.pontos.at(1), { 1, 0 });
    EXPECT_EQ(d.pontosGravados, 3);
    EXPECT_FALSE(d.contagensAlteradas());
}

TEST(Dxf, ValuesThatLookLikeGroupCodesDoNotDerailThePairs)
{
    // Layer "10", colour 10, handle and owner "10": a word scan would take the x from there.
    const std::string corpo
        = pares({ { 0, "LINE" }, { 5, "10" }, { 330, "10" }, { 8, "10" }, { 62, "10" },
            { 10, "1.5" }, { 20, "2.5" }, { 30, "0" }, { 11, "11" }, { 21, "20" }, { 31, "0" } });
    const DrawingData d = le(entidades(corpo));
    ASSERT_EQ(d.segmentos.size(), 1u);
    EXPECT_EQ(d.segmentos.at(0), (Segmento { { 1.5, 2.5 }, { 11, 20 } }));
    EXPECT_EQ(d.pontos.size(), 2u);
}

TEST(Dxf, CrlfBlanksBeforeCodesAndAByteOrderMarkAreAccepted)
{
    std::string text
        = "\xEF\xBB\xBF" + entidades(pares({ { 0, "POINT" }, { 10, "3" }, { 20, "4" } }));
    std::string crlf;
    for (char c : text) {
        if (c == '\n')
            crlf += "\r\n";
        else
            crlf += c;
    }
    // Codes right-aligned in three columns, as some writers do.
    std::string padded;
    bool codeLine = true;
    std::size_t start = 0;
    while (start < crlf.size()) {
        const std::size_t end = crlf.find('\n', start);
        std::string line = crlf.substr(start, end - start + 1);
        if (codeLine && start > 0)
            line = "  " + line;
        padded += line;
        codeLine = !codeLine;
        start = end + 1;
    }
    const DrawingData d = le(padded);
    ASSERT_EQ(d.pontos.size(), 1u);
    EXPECT_EQ(d.pontos.at(0), (Ponto { 3, 4 }));
}

TEST(Dxf, ClosedLwpolylineOfFourVerticesAndCircleAsTwoHalves)
{
    const DrawingData d = le(entidades(pares({ { 0, "LWPOLYLINE" }, { 8, "0" }, { 90, "4" },
        { 70, "1" }, { 10, "0" }, { 20, "0" }, { 10, "10" }, { 20, "0" }, { 10, "10" }, { 20, "5" },
        { 10, "0" }, { 20, "5" }, { 0, "CIRCLE" }, { 10, "1" }, { 20, "1" }, { 40, "2" } })));
    ASSERT_EQ(d.segmentos.size(), 4u);
    EXPECT_EQ(
        d.segmentos.at(0), (Segmento { { 0, 5 }, { 0, 0 } })); // the closing one, last inserted
    EXPECT_EQ(d.segmentos.at(3), (Segmento { { 0, 0 }, { 10, 0 } }));
    // Keyboard circle: east → west first, then west → east; points E, W, C.
    ASSERT_EQ(d.arcos.size(), 2u);
    EXPECT_EQ(d.arcos.at(1), (Arco { { 3, 1 }, { -1, 1 }, { 1, 1 } }));
    EXPECT_EQ(d.arcos.at(0), (Arco { { -1, 1 }, { 3, 1 }, { 1, 1 } }));
    ASSERT_EQ(d.pontos.size(), 7u);
    EXPECT_EQ(d.pontos.at(0), (Ponto { 1, 1 }));
    EXPECT_EQ(d.pontos.at(2), (Ponto { 3, 1 }));
}

TEST(Dxf, BulgesOfAHalfAndAQuarterCircleInBothSenses)
{
    // 0 → (2,0) bulge 1: half circle counterclockwise (below the chord) about (1, 0).
    // (2,0) → (2,2) bulge -1: clockwise, stored reversed. Then quarters of ±0.41421356.
    const DrawingData d = le(entidades(pares({ { 0, "LWPOLYLINE" }, { 90, "5" }, { 70, "0" },
        { 10, "0" }, { 20, "0" }, { 42, "1" }, { 10, "2" }, { 20, "0" }, { 42, "-1" }, { 10, "2" },
        { 20, "2" }, { 42, "0.41421356237" }, { 10, "3" }, { 20, "3" }, { 42, "-0.41421356237" },
        { 10, "4" }, { 20, "4" }, { 42, "5" } })));
    // The last vertex's bulge of an open polyline joins nothing.
    ASSERT_EQ(d.arcos.size(), 4u);
    EXPECT_TRUE(d.segmentos.empty());
    const double pi = 4.0 * std::atan(1.0);
    arcoDoBulge(d.arcos.at(3), { 0, 0 }, { 2, 0 }, pi);
    perto(d.arcos.at(3).PC, { 1, 0 });
    EXPECT_LT(extensaoArco(d.arcos.at(3)).inicio, pi + 1e-9); // starts at 180°: runs below
    arcoDoBulge(d.arcos.at(2), { 2, 2 }, { 2, 0 }, pi);
    perto(d.arcos.at(2).PC, { 2, 1 });
    arcoDoBulge(d.arcos.at(1), { 2, 2 }, { 3, 3 }, pi / 2);
    perto(d.arcos.at(1).PC, { 2, 3 }, 1e-6); // left of the chord: a counterclockwise turn
    arcoDoBulge(d.arcos.at(0), { 4, 4 }, { 3, 3 }, pi / 2);
    perto(d.arcos.at(0).PC, { 4, 3 }, 1e-6);
    EXPECT_EQ(d.pontos.size(), 5u);
}

TEST(Dxf, PolylineWithVerticesUntilSeqendClosedWithTheLastBulge)
{
    const DrawingData d = le(entidades(pares({ { 0, "POLYLINE" }, { 8, "0" }, { 66, "1" },
        { 10, "0" }, { 20, "0" }, { 70, "1" }, { 0, "VERTEX" }, { 10, "0" }, { 20, "0" },
        { 0, "VERTEX" }, { 10, "2" }, { 20, "0" }, { 0, "VERTEX" }, { 10, "2" }, { 20, "2" },
        { 42, "1" }, { 0, "SEQEND" }, { 0, "VERTEX" }, { 10, "7" }, { 20, "8" } })));
    EXPECT_EQ(d.segmentos.size(), 2u);
    ASSERT_EQ(d.arcos.size(), 1u);
    arcoDoBulge(d.arcos.at(0), { 2, 2 }, { 0, 0 }, 4.0 * std::atan(1.0));
    // Three vertices, then the lone VERTEX after SEQEND as a free point.
    ASSERT_EQ(d.pontos.size(), 4u);
    EXPECT_EQ(d.pontos.at(0), (Ponto { 7, 8 }));
}

TEST(Dxf, MirroredPlaneAndIgnoredKindsAreCounted)
{
    DxfIgnorados ignorados;
    const DrawingData d
        = le(entidades(pares({ { 0, "ARC" }, { 10, "5" }, { 20, "0" }, { 40, "1" }, { 50, "0" },
                 { 51, "90" }, { 210, "0" }, { 220, "0" }, { 230, "-1" }, { 0, "SPLINE" },
                 { 10, "1" }, { 0, "TEXT" }, { 0, "SPLINE" }, { 0, "line" }, { 0, "CIRCLE" },
                 { 10, "0" }, { 20, "0" }, { 40, "0" }, { 0, "CIRCLE" }, { 10, "0" }, { 20, "0" },
                 { 40, "1" }, { 210, "1" }, { 220, "0" }, { 230, "0" } })),
            &ignorados);
    // Seen from the front, the arc runs from (-5, 1) to (-6, 0) counterclockwise about (-5, 0).
    ASSERT_EQ(d.arcos.size(), 1u);
    perto(d.arcos.at(0).P1, { -5, 1 });
    perto(d.arcos.at(0).P2, { -6, 0 });
    perto(d.arcos.at(0).PC, { -5, 0 });
    EXPECT_EQ(ignorados,
        (DxfIgnorados { { "CIRCLE", 2 }, { "SPLINE", 2 }, { "TEXT", 1 }, { "line", 1 } }));
}

TEST(Dxf, MissingSectionEndOfFileAndHostileInput)
{
    DrawingData d;
    // No ENTITIES: an empty drawing.
    EXPECT_TRUE(
        readDxf(pares({ { 0, "SECTION" }, { 2, "HEADER" }, { 0, "ENDSEC" }, { 0, "EOF" } }), d));
    EXPECT_TRUE(d.vazio());
    EXPECT_TRUE(readDxf("", d));
    EXPECT_TRUE(readDxf("0\n", d));
    // The file ends inside an entity: what is complete is kept, the cut one left out.
    const std::string cut = pares({ { 0, "SECTION" }, { 2, "ENTITIES" }, { 0, "POINT" },
        { 10, "1" }, { 20, "2" }, { 0, "LINE" }, { 10, "1" }, { 20, "2" } });
    d = le(cut);
    EXPECT_EQ(d.pontos.size(), 1u);
    EXPECT_TRUE(d.segmentos.empty());
    EXPECT_EQ(le(cut.substr(0, cut.size() - 2)).pontos.size(), 1u);

    // Refusals name the line and leave the drawing as it was.
    d.pontos.pushFront({ 9, 9 });
    const std::size_t antes = d.pontos.size();
    Status s = readDxf(entidades(pares({ { 0, "POINT" }, { 10, "abc" }, { 20, "1" } })), d);
    EXPECT_EQ(s.message, msg::DxfValorInvalido);
    EXPECT_EQ(s.line, 17);
    s = readDxf(entidades(pares({ { 0, "POINT" }, { 10, "1e400" }, { 20, "1" } })), d);
    EXPECT_EQ(s.message, msg::DxfValorInvalido);
    s = readDxf(entidades(pares({ { 0, "POINT" }, { 10, "nan" }, { 20, "1" } })), d);
    EXPECT_EQ(s.message, msg::DxfValorInvalido);
    s = readDxf("0\nSECTION\nx2\nENTITIES\n", d);
    EXPECT_EQ(s.message, msg::DxfCodigoInvalido);
    EXPECT_EQ(s.line, 3);
    s = readDxf(std::string("AutoCAD Binary DXF\r\n\x1a\0", 22), d);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(d.pontos.size(), antes);
}

TEST(Dxf, TwentyThousandLinesEachInsertedAtTheFront)
{
    std::string corpo;
    for (int i = 0; i < 20000; ++i)
        corpo += "0\nLINE\n8\n0\n10\n" + std::to_string(i) + "\n20\n0\n11\n" + std::to_string(i)
            + "\n21\n1\n";
    const DrawingData d = le(entidades(corpo));
    EXPECT_EQ(d.segmentos.size(), 20000u);
    EXPECT_EQ(d.pontos.size(), 40000u);
    EXPECT_EQ(d.segmentos.at(0), (Segmento { { 19999, 0 }, { 19999, 1 } }));
}

TEST(Dxf, AVanishingBulgeIsAStraightPiece)
{
    const DrawingData d = le(entidades(pares({ { 0, "LWPOLYLINE" }, { 90, "2" }, { 70, "0" },
        { 10, "0" }, { 20, "0" }, { 42, "1e-300" }, { 10, "5" }, { 20, "0" } })));
    EXPECT_TRUE(d.arcos.empty());
    ASSERT_EQ(d.segmentos.size(), 1u);
    EXPECT_EQ(d.segmentos.at(0), (Segmento { { 0, 0 }, { 5, 0 } }));
}
