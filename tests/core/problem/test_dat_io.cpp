#include "common/binary_stream.h"
#include "common/messages.h"
#include "core/hand_bytes.h"
#include "core/scratch_folder.h"
#include "problem/dat_io.h"
#include "problem/problem_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>

using namespace tarvex;
using namespace tarvex::problem;

namespace {

/// Little-endian bytes built by hand, independent of the writer under test.
struct Bytes : tarvex::test::HandBytes<Bytes> {
    Bytes& header(std::string_view version) { return field(version, 31); }
    Bytes& text(std::string_view s, std::size_t width) { return field(s, width); }
    /// A straight contour element or an arc, 64 bytes.
    Bytes& segment(double x1, double y1, double x2, double y2, double xc = 0, double yc = 0,
        std::uint8_t arc = 0, std::uint8_t sentido = 1, double potential = 0)
    {
        f64(x1).f64(y1).f64(x2).f64(y2).f64(xc).f64(yc).u8(arc).u8(sentido).zeros(6);
        return f64(potential);
    }
    /// A region with default values, the given permeability and an empty or given contour.
    Bytes& region(double perm, std::int32_t segments = 0)
    {
        f64(perm).f64(1).f64(0).f64(0).f64(0).f64(0);
        f64(0).f64(0).f64(0).f64(0).f64(0).u8(1).zeros(1000);
        f64(0).f64(0).f64(0).f64(0).u8(0).u8(0).zeros(1000).i32(0).i32(0);
        return i32(segments);
    }
    Bytes& square(double x0, double y0, double side, double perm)
    {
        region(perm, 4);
        segment(x0, y0, x0 + side, y0);
        segment(x0 + side, y0, x0 + side, y0 + side);
        segment(x0 + side, y0 + side, x0, y0 + side);
        return segment(x0, y0 + side, x0, y0);
    }
};

std::string bytesOf(const Regiao& r)
{
    common::ByteWriter out;
    writeRegiao(out, r);
    return out.take();
}

/// A whole meshed "versao 01.00.01" file with something in every list.
std::string fullFile()
{
    Bytes b;
    b.header("versao 01.00.01").u8(0).f64(500).f64(-1).f64(11).f64(-2).f64(12);
    b.i32(2).square(2, 2, 3, 7.0).square(0, 0, 10, 1.0); // the outer contour last
    b.f64(0.0001).f64(2.5); // item 6 only has to be set; item 8 wins
    b.i32(2).i16(2).i16(1); // special regions
    b.i32(1).square(4, 4, 1, 3.0); // special area
    b.f64(0.25).f64(1.5); // special edge, quality factor
    b.i32(2).segment(0, 0, 10, 0, 0, 0, 0, 1, 100).segment(0, 10, 10, 10, 0, 0, 0, 1, 0);
    b.i32(2).f64(1).f64(1).f64(5).f64(2).f64(2).f64(6);
    b.i32(1).i32(1).segment(0, 0, 0, 10);
    b.i32(2).f64(0).f64(0).f64(1).f64(0).f64(0).f64(1);
    b.f64(1).f64(1).f64(0).f64(1).f64(1).f64(0);
    return b.data;
}

ProblemData loaded(const std::string& bytes)
{
    ProblemData d;
    const Status s = readDat(std::string_view(bytes), d);
    EXPECT_TRUE(s.ok) << s.message;
    return d;
}

} // namespace

TEST(DatFormat, RegionRecordIsLaidOutByteForByte)
{
    Regiao r;
    r.permRelativa = 2;
    r.permissividadeRelativa = 3;
    r.densCorrente = 4;
    r.densCargas = 5;
    r.brX = 6;
    r.brY = 7;
    r.brT = 8;
    r.brR = 9;
    r.condutividade = 10;
    r.reservado1 = 11;
    r.reservado2 = 12;
    r.linear = 0;
    r.arquivoMaterial = "C:\\mat\\aço.mat";
    r.reservadoD = { 13, 14, 15, 16 };
    r.reservadoB1 = 17;
    r.reservadoB2 = 18;
    r.reservadoS1[0] = 'a';
    r.reservadoS2[499] = '\xE9'; // reserved texts are raw bytes, never converted
    r.reservadoI1 = 19;
    r.reservadoI2 = -20;
    // Contour list order: the element pushed last comes first and is written first.
    r.segmentos.pushFront(SegmentoContorno::arco({ 1, 0 }, { 0, 1 }, { 0, 0 }));
    r.segmentos.pushFront(SegmentoContorno::reta({ 0, 0 }, { 1, 0 }));

    Bytes e;
    e.f64(2).f64(3).f64(4).f64(5).f64(6).f64(7);
    e.f64(9).f64(8).f64(10).f64(11).f64(12); // radial before tangential
    e.u8(0).text("C:\\mat\\a\xE7o.mat", 1000);
    e.f64(13).f64(14).f64(15).f64(16).u8(17).u8(18);
    e.raw("a").zeros(499).zeros(499).raw("\xE9").i32(19).i32(-20);
    e.i32(2).segment(0, 0, 1, 0).segment(1, 0, 0, 1, 0, 0, 1, 1);
    const std::string written = bytesOf(r);
    EXPECT_EQ(written.size(), 2131u + 4 + 2 * 64);
    EXPECT_EQ(written, e.data);

    // The same bytes read back field by field.
    Bytes file;
    file.header("versao 01.00.00").u8(1).f64(1000).f64(0).f64(1).f64(0).f64(1);
    file.i32(1).raw(e.data).f64(0);
    const ProblemData d = loaded(file.data);
    ASSERT_EQ(d.regioes.size(), 1u);
    const Regiao& back = d.regioes.at(0);
    EXPECT_EQ(back.brR, 9.0);
    EXPECT_EQ(back.brT, 8.0);
    EXPECT_EQ(back.condutividade, 10.0);
    EXPECT_EQ(back.linear, 0);
    EXPECT_EQ(back.arquivoMaterial, "C:\\mat\\aço.mat");
    EXPECT_EQ(back.reservadoD[3], 16.0);
    EXPECT_EQ(back.reservadoB2, 18);
    EXPECT_EQ(back.reservadoS1, r.reservadoS1);
    EXPECT_EQ(back.reservadoS2, r.reservadoS2);
    EXPECT_EQ(back.reservadoI2, -20);
    ASSERT_EQ(back.segmentos.size(), 2u);
    EXPECT_EQ(back.segmentos.at(0).ehArco, 1) << "the element read last comes first";
}

TEST(DatFormat, RegionWithEmptyContourIsItsFixedPartAndACountOfZero)
{
    const std::string written = bytesOf(Regiao {});
    ASSERT_EQ(written.size(), 2135u);
    EXPECT_EQ(written, Bytes().region(1.0).data);
}

TEST(DatFormat, OverlongMaterialPathKeepsItsTerminatingNul)
{
    Regiao r;
    r.arquivoMaterial = std::string(1200, 'x');
    const std::string written = bytesOf(r);
    ASSERT_EQ(written.size(), 2135u);
    EXPECT_EQ(written[89 + 998], 'x');
    EXPECT_EQ(written[89 + 999], '\0');
}

TEST(DatFormat, HandBuiltMeshedFileReadsEveryItemInItsPlace)
{
    const ProblemData d = loaded(fullFile());
    EXPECT_EQ(d.tipoAnalise, AnalysisType::Electric);
    EXPECT_EQ(d.fatorEscala, 500.0);
    EXPECT_EQ(d.janela, (std::array<double, 4> { -1, 11, -2, 12 }));
    // Inserted at the front: the region written last comes first.
    ASSERT_EQ(d.regioes.size(), 2u);
    EXPECT_EQ(d.regioes.at(0).permRelativa, 1.0);
    EXPECT_EQ(d.regioes.at(1).permRelativa, 7.0);
    EXPECT_EQ(d.regioes.at(0).segmentos.at(0).p1(), (Ponto { 0, 10 }));
    // The edge of the stored mesh becomes the setting as well.
    EXPECT_EQ(d.arestaMaxima, 2.5);
    EXPECT_EQ(d.arestaMalha, 2.5);
    EXPECT_EQ(d.tolerancia, 2.5e-6);
    ASSERT_EQ(d.regioesEspeciais.size(), 2u);
    EXPECT_EQ(d.regioesEspeciais.at(0), 1);
    EXPECT_EQ(d.regioesEspeciais.at(1), 2);
    ASSERT_EQ(d.areasEspeciais.size(), 1u);
    EXPECT_EQ(d.areasEspeciais.at(0).permRelativa, 3.0);
    EXPECT_EQ(d.arestaEspecial, 0.25);
    EXPECT_EQ(d.fatorQualidade, 1.5);
    ASSERT_EQ(d.segmentosPotencial.size(), 2u);
    EXPECT_EQ(d.segmentosPotencial.at(1).potencial, 100.0);
    ASSERT_EQ(d.potenciaisPonto.size(), 2u);
    EXPECT_EQ(d.potenciaisPonto.at(0), (PotencialPonto { 2, 2, 6 }));
    EXPECT_EQ(d.tipoSimetria, SymmetryKind::Symmetry);
    EXPECT_EQ(d.segmentosSimetria.size(), 1u);
    ASSERT_EQ(d.triangulos.size(), 2u);
    EXPECT_EQ(d.triangulos.at(0).x1, 1.0);
    EXPECT_EQ(d.numTriangulos, 2);
    // The working lists are derived on loading.
    EXPECT_EQ(d.poligonosRegioes.size(), 2u);
    EXPECT_EQ(d.regiaoQueContem({ 3, 3 }), 2);
    EXPECT_EQ(d.regiaoQueContem({ 8, 8 }), 0) << "the outer contour is never picked";
    ASSERT_EQ(d.contornoExterno.size(), 4u);
    EXPECT_EQ(d.contornoExterno.front().p1(), (Ponto { 0, 10 }));
}

TEST(DatFormat, FileAsTheDrawingExportsItLoadsWithoutMesh)
{
    // Version 00, analysis byte 1, the regions in list order (the outer contour last) and 0.0.
    Regiao inner;
    inner.segmentos.pushFront(SegmentoContorno::reta({ 2, 2 }, { 2, 4 }));
    inner.segmentos.pushFront(SegmentoContorno::reta({ 8, 2 }, { 2, 2 }));
    inner.segmentos.pushFront(SegmentoContorno::reta({ 8, 4 }, { 8, 2 }));
    inner.segmentos.pushFront(SegmentoContorno::reta({ 2, 4 }, { 8, 4 }));
    Regiao outer;
    outer.segmentos.pushFront(SegmentoContorno::reta({ 0, 10 }, { 0, 0 }));
    outer.segmentos.pushFront(SegmentoContorno::arco({ 10, 0 }, { 0, 10 }, { 0, 0 }));
    outer.segmentos.pushFront(SegmentoContorno::reta({ 0, 0 }, { 10, 0 }));
    common::ByteWriter out;
    out.writeFixedText(DatVersao00, 31);
    out.writeBytes(std::string_view("\x01", 1));
    out.writeDouble(1000.0);
    for (const double w : { -1.0, 11.0, -1.0, 11.0 })
        out.writeDouble(w);
    out.writeInt32(2);
    writeRegiao(out, inner);
    writeRegiao(out, outer);
    out.writeDouble(0.0);

    ProblemData d;
    d.triangulos.pushFront({});
    d.numTriangulos = 1;
    ASSERT_TRUE(readDat(std::string_view(out.bytes()), d));
    EXPECT_EQ(d.tipoAnalise, AnalysisType::Magnetic);
    EXPECT_EQ(d.numTriangulos, 0);
    EXPECT_TRUE(d.triangulos.empty());
    EXPECT_TRUE(d.segmentosPotencial.empty());
    EXPECT_TRUE(d.regioesEspeciais.empty());
    EXPECT_EQ(d.fatorQualidade, std::sqrt(2.0));
    EXPECT_EQ(d.arestaEspecial, 1.0);
    EXPECT_EQ(d.arestaMaxima, 2.0) << "shortest contour element";
    EXPECT_EQ(d.arestaMalha, 0.0);
    ASSERT_EQ(d.regioes.size(), 2u);
    EXPECT_EQ(d.regioes.at(0).segmentos.size(), 3u) << "the region written last is the outer one";
    EXPECT_EQ(d.contornoExterno.size(), 3u);
    EXPECT_EQ(d.poolSegmentos.size(), 7u);
    EXPECT_EQ(d.regiaoQueContem({ 5, 3 }), 2);
    EXPECT_EQ(d.regiaoQueContem({ 5, 7 }), 0);
}

TEST(DatFormat, OldFilesHoldAtMostOneSpecialRegionAndNoSpecialAreas)
{
    for (const std::int32_t stored : { 0, 3 }) {
        Bytes b;
        b.header("versao 01.00.00").u8(1).f64(1000).f64(0).f64(1).f64(0).f64(1);
        b.i32(1).square(0, 0, 1, 1.0).f64(0.5).f64(0.5);
        b.i32(stored);
        b.f64(0.1).f64(1.4).i32(0).i32(0).i32(0).i32(0).i32(0);
        const ProblemData d = loaded(b.data);
        EXPECT_TRUE(d.areasEspeciais.empty());
        if (stored == 0) {
            EXPECT_TRUE(d.regioesEspeciais.empty());
        } else {
            ASSERT_EQ(d.regioesEspeciais.size(), 1u);
            EXPECT_EQ(d.regioesEspeciais.at(0), 3);
        }
        EXPECT_EQ(d.arestaEspecial, 0.1);
    }
}

TEST(DatFormat, KindsOutsideTheirEnumerationsAreKeptAndWrittenBackAsRead)
{
    Bytes b;
    b.header("versao 01.00.01").u8(7).f64(1000).f64(0).f64(1).f64(0).f64(1);
    b.i32(1).region(1.0).f64(0.5).f64(0.5); // one region: no list to come back reversed
    b.i32(0).i32(0).f64(0.1).f64(1.4); // no special regions or areas
    b.i32(0).i32(0); // no imposed potentials
    b.i32(5).i32(0); // a symmetry kind no program writes, without segments
    b.i32(0);
    const ProblemData d = loaded(b.data);
    EXPECT_EQ(static_cast<int>(d.tipoAnalise), 7);
    EXPECT_EQ(static_cast<int>(d.tipoSimetria), 5);
    EXPECT_EQ(writeDat(d), b.data);
}

TEST(DatFormat, SavingAndLoadingKeepsRegionsAndAreasAndReversesTheOtherLists)
{
    const ProblemData first = loaded(fullFile());
    const std::string written = writeDat(first);
    EXPECT_EQ(written.substr(0, 16), std::string("versao 01.00.01") + '\0');
    const ProblemData again = loaded(written);

    ASSERT_EQ(again.regioes.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_EQ(bytesOf(again.regioes.at(i)).substr(0, 2131),
            bytesOf(first.regioes.at(i)).substr(0, 2131));
    EXPECT_EQ(again.areasEspeciais.at(0).permRelativa, 3.0);
    // Every other list comes back reversed, a region's contour included.
    EXPECT_EQ(again.regioesEspeciais.at(0), first.regioesEspeciais.at(1));
    EXPECT_EQ(again.segmentosPotencial.at(0).potencial, first.segmentosPotencial.at(1).potencial);
    EXPECT_EQ(again.potenciaisPonto.at(0), first.potenciaisPonto.at(1));
    EXPECT_EQ(again.triangulos.at(0), first.triangulos.at(1));
    EXPECT_EQ(again.regioes.at(0).segmentos.at(0).p1(), first.regioes.at(0).segmentos.at(3).p1());
    // Two cycles give the same file.
    EXPECT_EQ(writeDat(loaded(writeDat(again))), written);
    EXPECT_EQ(again.arestaMaxima, 2.5);
}

TEST(DatFormat, MaterialPathIsStoredAsWindows1252AndReadAsUtf8)
{
    ProblemData d;
    Regiao r;
    r.arquivoMaterial = "/materiais/ímã.mat";
    d.regioes.pushFront(r);
    const std::string written = writeDat(d);
    EXPECT_NE(written.find("/materiais/\xEDm\xE3.mat"), std::string::npos);
    EXPECT_EQ(loaded(written).regioes.at(0).arquivoMaterial, "/materiais/ímã.mat");
}

struct BadDat {
    const char* name;
    std::string bytes;
    std::string_view message;
};

class DatReaderRejects : public ::testing::TestWithParam<BadDat> { };

TEST_P(DatReaderRejects, WithAClearMessageAndLeavesTheProblemAlone)
{
    ProblemData d = loaded(fullFile());
    const std::string before = writeDat(d);
    const Status s = readDat(std::string_view(GetParam().bytes), d);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.message, GetParam().message);
    EXPECT_EQ(writeDat(d), before);
}

namespace {
Bytes start(const char* version = "versao 01.00.01")
{
    Bytes b;
    b.header(version).u8(1).f64(1000).f64(0).f64(1).f64(0).f64(1);
    return b;
}

/// A meshed file with no regions and empty lists, up to its triangle count.
Bytes upToTriangles()
{
    Bytes b = start();
    b.i32(0).f64(1).f64(1); // regions, maximum edge, mesh edge
    b.i32(0).i32(0).f64(1).f64(1); // special regions and areas, special edge, quality
    b.i32(0).i32(0).i32(0).i32(0); // potentials, point potentials, symmetry kind and segments
    return b;
}
} // namespace

INSTANTIATE_TEST_SUITE_P(BadFiles, DatReaderRejects,
    ::testing::Values(BadDat { "Empty", "", msg::DesTruncated },
        BadDat {
            "UnknownVersion", start("versao 01.00.02").i32(0).f64(0).data, msg::DesVersionError },
        BadDat { "DrawingFile", Bytes().header("versao").f64(1000).i32(0).i32(0).i32(0).data,
            msg::DesVersionError },
        BadDat {
            "ZeroScale", Bytes().header("versao 01.00.00").u8(1).f64(0).data, msg::DesBadScale },
        BadDat { "NegativeRegionCount", start().i32(-1).data, msg::DesBadCount },
        BadDat { "HugeRegionCount", start().i32(0x7FFFFFFF).data, msg::DesTruncated },
        BadDat {
            "RegionsMissing", start().i32(2).square(0, 0, 1, 1).f64(0).data, msg::DesTruncated },
        BadDat { "ContourCountBeyondTheEnd", start().i32(1).region(1, 3).segment(0, 0, 1, 1).data,
            msg::DesTruncated },
        BadDat { "NoMaximumEdge", start().i32(0).data, msg::DesTruncated },
        BadDat { "MeshPartMissing", start().i32(0).f64(1).f64(1).data, msg::DesTruncated },
        BadDat { "NegativeTriangleCount", upToTriangles().i32(-5).data, msg::DesBadCount },
        BadDat { "NotANumberInATriangle",
            upToTriangles().i32(1).f64(0).f64(0).f64(NAN).f64(0).f64(1).f64(1).data,
            msg::DesBadCoordinate },
        BadDat { "InfiniteContourPoint",
            start().i32(1).region(1, 1).segment(0, 0, INFINITY, 1).f64(0).data,
            msg::DesBadCoordinate }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DatFormat, EveryTruncationAndRandomBytesFailCleanly)
{
    const std::string good = fullFile();
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        ProblemData d;
        d.arestaEspecial = 9.0;
        EXPECT_FALSE(readDat(std::string_view(good.data(), cut), d).ok) << "cut at " << cut;
        EXPECT_EQ(d.arestaEspecial, 9.0);
        EXPECT_TRUE(d.regioes.empty());
    }
    std::mt19937 random(2024);
    for (int trial = 0; trial < 400; ++trial) {
        std::string bytes = good;
        for (std::size_t i = (trial % 5 == 0 ? 0 : 31); i < bytes.size(); ++i)
            if (random() % 64 == 0)
                bytes[i] = static_cast<char>(random());
        bytes.resize(random() % (bytes.size() + 1));
        ProblemData d;
        (void)readDat(std::string_view(bytes), d);
    }
}

using DatFiles = tarvex::test::ScratchFolder;

TEST_F(DatFiles, SaveThenOpenGivesTheSameImageAndFailuresAreReported)
{
    const ProblemData d = loaded(fullFile());
    ASSERT_TRUE(saveDat(file("trafo.dat"), d));
    ProblemData again;
    ASSERT_TRUE(openDat(file("trafo.dat"), again));
    EXPECT_EQ(again.regioes.size(), 2u);

    EXPECT_EQ(saveDat(file("no/folder/x.dat"), d).message, msg::CannotWriteFile);
    EXPECT_EQ(openDat(file("missing.dat"), again).message, msg::CannotOpenFile);
    EXPECT_EQ(again.regioes.size(), 2u);
}
