#include "common/messages.h"
#include "core/hand_bytes.h"
#include "graphs/graph_data.h"
#include "graphs/grp_io.h"
#include "graphs/material_graph.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

using namespace tarvex;
using namespace tarvex::graphs;

namespace {

/// Little-endian bytes built by hand, independent of the writer under test.
struct Bytes : tarvex::test::HandBytes<Bytes> {
    Bytes& header() { return field("versao 01.00.00", 31); }
    /// A curve record: count, unused element 0, values; for abscissae and ordinates.
    Bytes& curve(std::initializer_list<double> xs, std::initializer_list<double> ys)
    {
        i32(static_cast<std::int32_t>(xs.size())).f64(0.0);
        for (double x : xs)
            f64(x);
        i32(static_cast<std::int32_t>(ys.size())).f64(0.0);
        for (double y : ys)
            f64(y);
        return *this;
    }
};

/// "Pressão sobre a Seção", "distância (mm)" and "P (N/m²)" as Windows-1252 bytes.
const std::string TitleBytes = "Press\xE3o sobre a Se\xE7\xE3o";
const std::string XCaptionBytes = "dist\xE2ncia (mm)";
const std::string YCaptionBytes = "P (N/m\xB2)";

Bytes pressureGraph()
{
    Bytes b;
    b.header().field(TitleBytes, 100).field(XCaptionBytes, 100).field(YCaptionBytes, 100);
    b.i32(3).field("P", 100).field("Pt", 100).field("Pn", 100);
    b.i32(3);
    b.curve({ 0, 1, 2 }, { 5, 6, 7 });
    b.curve({ 0, 1, 2 }, { -1, 0.5, 1e-300 });
    b.curve({ 0, 1, 2 }, { 3, 3, 3 });
    return b;
}

GraphData pressureData()
{
    GraphData data;
    data.title = "Pressão sobre a Seção";
    data.xCaption = "distância (mm)";
    data.yCaption = "P (N/m²)";
    data.addCurve({ 0, 1, 2 }, { 5, 6, 7 }, "P");
    data.addCurve({ 0, 1, 2 }, { -1, 0.5, 1e-300 }, "Pt");
    data.addCurve({ 0, 1, 2 }, { 3, 3, 3 }, "Pn");
    return data;
}

GraphData sentinel()
{
    GraphData data;
    data.title = "kept";
    data.addCurve({ 9 }, { 9 }, "k");
    return data;
}

void expectSentinel(const GraphData& data)
{
    EXPECT_EQ(data.title, "kept");
    ASSERT_EQ(data.curves.size(), 1u);
    EXPECT_EQ(data.curves[0].x(1), 9.0);
}

} // namespace

TEST(GrpFile, HandBuiltImageReadsWithItsTextsCurvesAndNames)
{
    GraphData data;
    ASSERT_TRUE(readGrp(pressureGraph().data, data));
    EXPECT_EQ(data.title, "Pressão sobre a Seção");
    EXPECT_EQ(data.xCaption, "distância (mm)");
    EXPECT_EQ(data.yCaption, "P (N/m²)");
    EXPECT_EQ(data.curveNames, (std::vector<std::string> { "P", "Pt", "Pn" }));
    ASSERT_EQ(data.curves.size(), 3u);
    ASSERT_EQ(data.curves[1].count(), 3u);
    EXPECT_EQ(data.curves[1].x(3), 2.0);
    EXPECT_EQ(data.curves[1].y(1), -1.0);
    EXPECT_EQ(data.curves[1].y(3), 1e-300);
}

TEST(GrpFile, WriterProducesTheHandBuiltBytesWithWindows1252Texts)
{
    const std::string bytes = writeGrp(pressureData());
    EXPECT_EQ(bytes, pressureGraph().data);
    // "distância (mm)" is 14 bytes in the file, 15 in UTF-8.
    EXPECT_EQ(bytes.substr(31 + 100, 15), XCaptionBytes + '\0');
}

TEST(GrpFile, ReadWriteReadGivesTheSameBytes)
{
    GraphData first;
    ASSERT_TRUE(readGrp(pressureGraph().data, first));
    const std::string again = writeGrp(first);
    EXPECT_EQ(again, pressureGraph().data);
    GraphData second;
    ASSERT_TRUE(readGrp(again, second));
    EXPECT_EQ(writeGrp(second), again);
}

TEST(GrpFile, LongTextsAreCutToNinetyNineCharactersWithTheirNul)
{
    GraphData data;
    std::string accented;
    for (int i = 0; i < 150; ++i)
        accented += "é";
    data.title = accented; // 300 bytes of UTF-8, 150 characters
    data.xCaption = std::string(99, 'x');
    data.yCaption = "a€b"; // a character that takes three UTF-8 bytes and one here
    data.curveNames = { "Ω" }; // not in Windows-1252
    const std::string bytes = writeGrp(data);
    ASSERT_EQ(bytes.size(), 31u + 300 + 4 + 100 + 4);
    EXPECT_EQ(bytes.substr(31, 100), std::string(99, '\xE9') + '\0');
    EXPECT_EQ(bytes.substr(131, 100), std::string(99, 'x') + '\0');
    EXPECT_EQ(bytes.substr(231, 4),
        std::string("a\x80"
                    "b\0",
            4));
    EXPECT_EQ(bytes.substr(335, 2), std::string("?\0", 2));

    GraphData back;
    ASSERT_TRUE(readGrp(bytes, back));
    EXPECT_EQ(back.title, accented.substr(0, 2 * 99));
    EXPECT_EQ(back.yCaption, "a€b");
    EXPECT_EQ(back.curveNames, std::vector<std::string> { "?" });
}

TEST(GrpFile, AFieldWithoutNulGivesItsFirstNinetyNineBytes)
{
    Bytes b;
    b.header().raw(std::string(100, 'T')).field("", 100).field("", 100).i32(0).i32(0);
    GraphData data;
    ASSERT_TRUE(readGrp(b.data, data));
    EXPECT_EQ(data.title, std::string(99, 'T'));
}

TEST(GrpFile, EveryTruncationIsRefusedAndLeavesTheGraphAlone)
{
    const std::string bytes = pressureGraph().data;
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        GraphData data = sentinel();
        const Status s = readGrp(std::string_view(bytes).substr(0, size), data);
        ASSERT_FALSE(s.ok) << "size " << size;
        EXPECT_EQ(s.message, msg::GrpTruncated) << "size " << size;
        expectSentinel(data);
    }
}

TEST(GrpFile, BytesAfterTheLastCurveAreIgnored)
{
    GraphData data;
    ASSERT_TRUE(readGrp(pressureGraph().raw("trailing").data, data));
    EXPECT_EQ(data.curves.size(), 3u);
}

struct BadGrp {
    const char* name;
    std::string bytes;
    std::string_view message;
};

class GrpReaderRejects : public ::testing::TestWithParam<BadGrp> { };

TEST_P(GrpReaderRejects, WithItsMessageAndLeavesTheGraphAlone)
{
    GraphData data = sentinel();
    const Status s = readGrp(GetParam().bytes, data);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.message, GetParam().message);
    expectSentinel(data);
}

namespace {
Bytes texts()
{
    Bytes b;
    b.header().field("t", 100).field("x", 100).field("y", 100);
    return b;
}
std::string manyEmptyCurves(std::int32_t count)
{
    Bytes b = texts().i32(0).i32(count);
    for (std::int32_t i = 0; i < count; ++i)
        b.curve({}, {});
    return b.data;
}
} // namespace

INSTANTIATE_TEST_SUITE_P(BadFiles, GrpReaderRejects,
    ::testing::Values(
        BadGrp { "OtherVersion", Bytes().field("versao 01.00.01", 31).data, msg::GrpVersionError },
        BadGrp { "NotAGraph", std::string(400, 'a'), msg::GrpVersionError },
        BadGrp { "NegativeNameCount", texts().i32(-1).data, msg::GrpBadCount },
        BadGrp { "NegativeCurveCount", texts().i32(0).i32(-3).data, msg::GrpBadCount },
        BadGrp { "NegativePointCount", texts().i32(0).i32(1).i32(-1).f64(0).i32(0).f64(0).data,
            msg::GrpBadCount },
        BadGrp { "HugeNameCount", texts().i32(0x7FFFFFFF).field("a", 100).data, msg::GrpBadCount },
        BadGrp { "HugePointCount",
            texts().i32(0).i32(1).i32(0x7FFFFFFF).f64(0).f64(1).i32(0).f64(0).data,
            msg::GrpTruncated },
        BadGrp { "TooManyCurves", manyEmptyCurves(10001), msg::GrpBadCount },
        BadGrp { "UnequalCounts", texts().i32(0).i32(1).curve({ 1, 2 }, { 3 }).data,
            msg::GrpUnequalCurve },
        BadGrp { "NotANumber", texts().i32(0).i32(1).curve({ 1, std::nan("") }, { 3, 4 }).data,
            msg::GrpBadValue },
        BadGrp { "Infinite",
            texts().i32(0).i32(1).curve({ 1 }, { std::numeric_limits<double>::infinity() }).data,
            msg::GrpBadValue }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GrpFile, SaveAndOpenThroughTheFileSystem)
{
    const auto dir = std::filesystem::path(::testing::TempDir()) / "tarvex_grp_files";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "p.grp").string();
    ASSERT_TRUE(saveGrp(path, pressureData()));
    GraphData back;
    ASSERT_TRUE(openGrp(path, back));
    EXPECT_EQ(writeGrp(back), pressureGraph().data);

    EXPECT_EQ(saveGrp((dir / "missing" / "p.grp").string(), back).message, msg::CannotWriteFile);
    EXPECT_EQ(openGrp((dir / "none.grp").string(), back).message, msg::CannotOpenFile);
    std::filesystem::remove_all(dir);
}

TEST(AscExport, ThreeCurvesGiveFourColumnsWithTwoSpacesAfterEveryValue)
{
    EXPECT_EQ(writeAsc(pressureData()),
        "4  3\n"
        "0  5  -1  3  \n"
        "1  6  0.5  3  \n"
        "2  7  1e-300  3  \n");
}

TEST(AscExport, UsesSixSignificantDigitsAndStopsAtTheShortestCurve)
{
    GraphData data;
    data.addCurve({ 0.123456789, 1234567.0, 2 }, { 1.0 / 3.0, -2e-7, 5 }, "a");
    data.addCurve({ 0.123456789, 1234567.0 }, { 10, 20 }, "b");
    EXPECT_EQ(writeAsc(data),
        "3  2\n"
        "0.123457  0.333333  10  \n"
        "1.23457e+06  -2e-07  20  \n");
    EXPECT_EQ(writeAsc(GraphData()), "1  0\n");
}

TEST(AscExport, FileNames)
{
    EXPECT_EQ(ascNomeSugerido("/d/secao.grp"), "/d/secao.asc");
    EXPECT_EQ(ascNomeSugerido("/d/SECAO.GRP"), "/d/SECAO.asc");
    EXPECT_EQ(ascNomeSugerido("Grafico1"), "Grafico1");
    EXPECT_EQ(ascNomeFinal("/d/saida.asc"), "/d/saida.asc");
    EXPECT_EQ(ascNomeFinal("/d/saida.txt"), "/d/saida.asc");
    EXPECT_EQ(ascNomeFinal("/d.x/saida"), "/d.x/saida.asc");
}

TEST(MaterialGraph, MagneticAndElectricTitlesWithTheFilePointsAsOneCurve)
{
    const GraphData magnetic = graficoMaterial({ { 0, 0 }, { 100, 1 }, { 200, 1.5 } }, false);
    EXPECT_EQ(magnetic.title, "Curva de Magnetização");
    EXPECT_EQ(magnetic.xCaption, "H (A/m)");
    EXPECT_EQ(magnetic.yCaption, "B (T)");
    ASSERT_EQ(magnetic.curves.size(), 1u);
    ASSERT_EQ(magnetic.curveNames.size(), 1u);
    ASSERT_EQ(magnetic.curves[0].count(), 3u);
    EXPECT_EQ(magnetic.curves[0].x(2), 100.0);
    EXPECT_EQ(magnetic.curves[0].y(3), 1.5);

    const GraphData electric = graficoMaterial({}, true);
    EXPECT_EQ(electric.title, "Curva Característica");
    EXPECT_EQ(electric.xCaption, "E (V/m)");
    EXPECT_EQ(electric.yCaption, "D (C/m²)");

    GraphData fromMissing;
    EXPECT_FALSE(graficoArquivoMaterial("/nonexistent/x.mat", false, fromMissing).ok);
    ASSERT_EQ(fromMissing.curves.size(), 1u);
    EXPECT_EQ(fromMissing.curves[0].count(), 0u);
    EXPECT_EQ(fromMissing.title, "Curva de Magnetização");
}
