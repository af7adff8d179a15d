#include "common/messages.h"
#include "core/hand_bytes.h"
#include "core/scratch_folder.h"
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

using namespace tarvex;
using namespace tarvex::geometry;

namespace {

/// Little-endian bytes built by hand, independent of the writer under test.
struct Bytes : tarvex::test::HandBytes<Bytes> {
    Bytes& header(const char* version = "versao 01.00.00") { return field(version, 31); }
};

DrawingData sample()
{
    DrawingData d;
    d.fatorEscala = 500.0;
    d.pontos.pushFront({ 1, 2 });
    d.pontos.pushFront({ 3, 4 });
    d.segmentos.pushFront({ { 0, 0 }, { 10, 0 } });
    d.segmentos.pushFront({ { 10, 0 }, { 10, 10 } });
    d.segmentos.pushFront({ { 10, 10 }, { 0, 0 } });
    d.arcos.pushFront({ { 1, 0 }, { 0, 1 }, { 0, 0 } });
    return d;
}

std::string preText(const char* text, DrawingData& out, Status& status)
{
    std::istringstream in(text);
    status = readPre(in, out);
    return std::string(status.message);
}

} // namespace

TEST(DesFormat, WriterLaysOutHeaderCountsAndRecordsByteForByte)
{
    DrawingData d;
    d.fatorEscala = 1000.0;
    d.pontos.pushFront({ 1.5, -2.0 });
    d.segmentos.pushFront({ { 0, 0 }, { 1, 1 } });
    Bytes expected;
    expected.header().f64(1000.0);
    expected.i32(1).f64(1.5).f64(-2.0);
    expected.i32(1).f64(0).f64(0).f64(1).f64(1);
    expected.i32(0);
    EXPECT_EQ(writeDes(d), expected.data);
    EXPECT_EQ(writeDes(d).size(), 31u + 8 + 4 + 16 + 4 + 32 + 4);
}

TEST(DesFormat, ReaderInsertsAtTheFrontSoListsComeReversed)
{
    Bytes file;
    file.header().f64(250.0);
    file.i32(2).f64(1).f64(1).f64(2).f64(2);
    file.i32(0);
    file.i32(2);
    file.f64(1).f64(0).f64(0).f64(1).f64(0).f64(0);
    file.f64(-1).f64(0).f64(0).f64(-1).f64(0).f64(0);
    DrawingData d;
    ASSERT_TRUE(readDes(std::string_view(file.data), d));
    EXPECT_EQ(d.fatorEscala, 250.0);
    ASSERT_EQ(d.pontos.size(), 2u);
    EXPECT_EQ(d.pontos.at(0), (Ponto { 2, 2 }));
    EXPECT_EQ(d.pontos.at(1), (Ponto { 1, 1 }));
    ASSERT_EQ(d.arcos.size(), 2u);
    EXPECT_EQ(d.arcos.at(0).P1, (Ponto { -1, 0 }));
    EXPECT_EQ(d.pontosGravados, 2);
    EXPECT_EQ(d.segmentosGravados, 0);
    EXPECT_EQ(d.arcosGravados, 2);
    EXPECT_FALSE(d.contagensAlteradas());
}

TEST(DesFormat, EmptyDrawingKeepsItsScaleFactor)
{
    Bytes file;
    file.header().f64(25.4).i32(0).i32(0).i32(0);
    DrawingData d;
    d.pontos.pushFront({ 9, 9 });
    d.distanciaMinima = 3.0;
    ASSERT_TRUE(readDes(std::string_view(file.data), d));
    EXPECT_TRUE(d.vazio());
    EXPECT_EQ(d.fatorEscala, 25.4);
    EXPECT_EQ(d.distanciaMinima, DrawingData::DefaultMinimumPointDistance);
}

TEST(DesFormat, EachLoadSaveCycleReversesListsAndTwoCyclesRestoreTheFile)
{
    const std::string first = writeDes(sample());
    DrawingData once;
    ASSERT_TRUE(readDes(std::string_view(first), once));
    const std::string second = writeDes(once);
    EXPECT_NE(second, first);
    EXPECT_EQ(once.segmentos.at(0), sample().segmentos.at(2));
    EXPECT_EQ(once.segmentos.at(2), sample().segmentos.at(0));
    DrawingData twice;
    ASSERT_TRUE(readDes(std::string_view(second), twice));
    EXPECT_EQ(writeDes(twice), first);
}

TEST(DesFormat, VersionIsComparedAsATextUpToItsNul)
{
    DrawingData d;
    Bytes problemVersion;
    problemVersion.header("versao 01.00.01").f64(1000).i32(0).i32(0).i32(0);
    EXPECT_EQ(readDes(std::string_view(problemVersion.data), d).message, msg::DesVersionError);

    // Bytes after the terminating NUL are not part of the version.
    Bytes tail;
    tail.header();
    tail.data[20] = 'x';
    tail.f64(1000).i32(0).i32(0).i32(0);
    EXPECT_TRUE(readDes(std::string_view(tail.data), d));
}

struct BadDes {
    const char* name;
    std::string bytes;
    std::string_view message;
};

class DesReaderRejects : public ::testing::TestWithParam<BadDes> { };

TEST_P(DesReaderRejects, WithAClearMessageAndLeavesTheDrawingAlone)
{
    DrawingData d = sample();
    const Status s = readDes(std::string_view(GetParam().bytes), d);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.message, GetParam().message);
    EXPECT_EQ(writeDes(d), writeDes(sample()));
}

INSTANTIATE_TEST_SUITE_P(BadFiles, DesReaderRejects,
    ::testing::Values(BadDes { "Empty", "", msg::DesTruncated },
        BadDes { "WrongVersion", Bytes().header("desenho").f64(1).i32(0).i32(0).i32(0).data,
            msg::DesVersionError },
        BadDes { "NegativeCount", Bytes().header().f64(1000).i32(-1).data, msg::DesBadCount },
        BadDes { "CountBeyondTheEnd", Bytes().header().f64(1000).i32(3).f64(0).f64(0).data,
            msg::DesTruncated },
        BadDes { "HugeCount", Bytes().header().f64(1000).i32(0x7FFFFFFF).data, msg::DesTruncated },
        BadDes {
            "MissingArcCount", Bytes().header().f64(1000).i32(0).i32(0).data, msg::DesTruncated },
        BadDes { "ZeroScale", Bytes().header().f64(0).i32(0).i32(0).i32(0).data, msg::DesBadScale },
        BadDes { "NotANumberCoordinate",
            Bytes().header().f64(1000).i32(1).f64(std::nan("")).f64(0).i32(0).i32(0).data,
            msg::DesBadCoordinate }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DesFormat, EveryTruncationAndRandomBytesFailCleanly)
{
    const std::string good = writeDes(sample());
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        DrawingData d;
        EXPECT_FALSE(readDes(std::string_view(good.data(), cut), d).ok) << "cut at " << cut;
        EXPECT_TRUE(d.vazio());
    }
    std::mt19937 random(12345);
    for (int trial = 0; trial < 500; ++trial) {
        std::string bytes = good;
        // Keep the header most of the time so the counts and records get exercised.
        for (std::size_t i = (trial % 5 == 0 ? 0 : 31); i < bytes.size(); ++i)
            if (random() % 4 == 0)
                bytes[i] = static_cast<char>(random());
        bytes.resize(random() % (bytes.size() + 1));
        DrawingData d;
        (void)readDes(std::string_view(bytes), d);
    }
}

TEST(PreFormat, BuildsSegmentsAndArcsInFileOrderAndKeepsFreePoints)
{
    DrawingData d;
    Status s;
    preText("1000\n"
            "1 2 0\n2 3 1\n3 1 0\nfim\n"
            "0 0\n10 0\n0 10\nfim\n"
            "0 0\nfim\n",
        d, s);
    ASSERT_TRUE(s.ok) << s.message;
    EXPECT_EQ(d.fatorEscala, 1000.0);
    ASSERT_EQ(d.pontos.size(), 3u);
    EXPECT_EQ(d.pontos.at(0), (Ponto { 0, 0 }));
    EXPECT_EQ(d.pontos.at(2), (Ponto { 0, 10 }));
    ASSERT_EQ(d.segmentos.size(), 2u);
    EXPECT_EQ(d.segmentos.at(0), (Segmento { { 0, 0 }, { 10, 0 } }));
    EXPECT_EQ(d.segmentos.at(1), (Segmento { { 0, 10 }, { 0, 0 } }));
    ASSERT_EQ(d.arcos.size(), 1u);
    EXPECT_EQ(d.arcos.at(0), (Arco { { 10, 0 }, { 0, 10 }, { 0, 0 } }));
    EXPECT_FALSE(d.contagensAlteradas());
}

TEST(PreFormat, TerminatorIsAnyWordBeginningWithF)
{
    DrawingData d;
    Status s;
    preText("2.5 FIM 1 1 2 2 f 3 3 Final", d, s);
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(d.fatorEscala, 2.5);
    EXPECT_EQ(d.pontos.size(), 2u);
    EXPECT_TRUE(d.segmentos.empty());
    EXPECT_TRUE(d.arcos.empty());
}

TEST(PreFormat, EarlyEndClosesTheBlockBeingRead)
{
    DrawingData d;
    Status s;
    preText("1000 1 2 0 fim 0 0 5 5", d, s); // no terminator after the points, no centres
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(d.segmentos.size(), 1u);
    EXPECT_EQ(d.pontos.size(), 2u);
    preText("1000 1 2", d, s); // ends inside the triples: the half triple is dropped
    ASSERT_TRUE(s.ok);
    EXPECT_TRUE(d.vazio());
}

TEST(PreFormat, ReferenceGeometryReads)
{
    std::ifstream in(TARVEX_TEST_DATA "/reference.pre");
    ASSERT_TRUE(in);
    DrawingData d;
    ASSERT_TRUE(readPre(in, d));
    EXPECT_EQ(d.segmentos.size(), 13u);
    EXPECT_EQ(d.arcos.size(), 2u);
    EXPECT_EQ(d.pontos.size(), 13u);
    Caixa box;
    ASSERT_TRUE(caixaDesenho(d, box));
    EXPECT_DOUBLE_EQ(box.xMax, 200.0);
    EXPECT_DOUBLE_EQ(box.yMax, 100.0);
}

struct BadPre {
    const char* name;
    const char* text;
    std::string_view message;
    int line;
};

class PreReaderRejects : public ::testing::TestWithParam<BadPre> { };

TEST_P(PreReaderRejects, WithMessageAndLineAndLeavesTheDrawingAlone)
{
    DrawingData d = sample();
    Status s;
    preText(GetParam().text, d, s);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.message, GetParam().message);
    EXPECT_EQ(s.line, GetParam().line);
    EXPECT_EQ(writeDes(d), writeDes(sample()));
}

INSTANTIATE_TEST_SUITE_P(BadFiles, PreReaderRejects,
    ::testing::Values(BadPre { "Empty", "", msg::PreBadNumber, 1 },
        BadPre { "WordForScale", "escala\n", msg::PreBadNumber, 1 },
        BadPre { "NegativeScale", "-1\nfim\n", msg::DesBadScale, 1 },
        BadPre { "PointBeyondList", "1000\n1 3 0\nfim\n0 0\n1 1\nfim\nfim\n", msg::PreBadIndex, 2 },
        BadPre { "PointZero", "1000\n\n0 1 0\nfim\n0 0\n1 1\nfim\nfim\n", msg::PreBadIndex, 3 },
        BadPre {
            "MissingCentre", "1000\n1 2 2\nfim\n0 0\n1 1\nfim\n5 5\nfim\n", msg::PreBadIndex, 2 },
        BadPre {
            "NegativeCentre", "1000\n1 2 -1\nfim\n0 0\n1 1\nfim\n5 5\nfim\n", msg::PreBadIndex, 2 },
        BadPre { "WordInTriples", "1000\n1 x 0\nfim\n", msg::PreBadNumber, 2 },
        BadPre { "WordInPoints", "1000\nfim\n0 0\n1 zz\nfim\n", msg::PreBadNumber, 4 },
        BadPre {
            "HugeIndex", "1000\n1 99999999999999999999 0\nfim\n0 0\nfim\n", msg::PreBadIndex, 2 }),
    [](const auto& info) { return std::string(info.param.name); });

using DrawingFiles = tarvex::test::ScratchFolder;

TEST_F(DrawingFiles, SavingAPreDrawingWritesADesBesideIt)
{
    {
        std::ofstream out(file("bobina.pre"));
        out << "1000 1 2 0 fim 0 0 1 0 fim fim\n";
    }
    DrawingData d;
    ASSERT_TRUE(openDrawing(file("bobina.pre"), "pre", d));
    d.pontos.pushFront({ 7, 7 });
    EXPECT_TRUE(d.contagensAlteradas());
    std::string saved;
    ASSERT_TRUE(saveDrawing(file("bobina.pre"), d, &saved));
    EXPECT_EQ(saved, file("bobina.des"));
    EXPECT_FALSE(d.contagensAlteradas());
    DrawingData again;
    ASSERT_TRUE(openDrawing(saved, "des", again));
    EXPECT_EQ(again.pontos.size(), 3u);
    // The folder name is not touched, only the file's extension.
    EXPECT_EQ(caminhoGravacao("/a.pre/b.dxf"), "/a.pre/b.des");
    EXPECT_EQ(caminhoGravacao("/a/b.des"), "/a/b.des");
}

TEST_F(DrawingFiles, OpenDispatchesOnTheDocumentTypeExactly)
{
    DrawingData d = sample();
    EXPECT_EQ(openDrawing(file("missing.des"), "des", d).message, msg::CannotOpenFile);
    EXPECT_EQ(d.pontos.size(), 2u);
    EXPECT_EQ(openDrawing(file("x.dxf"), "dxf", d).message, msg::CannotOpenFile);
    EXPECT_TRUE(openDrawing(file("anything"), "DES", d));
    EXPECT_TRUE(d.vazio());
}

TEST_F(DrawingFiles, FailedSaveReportsAndKeepsTheCounts)
{
    DrawingData d = sample();
    EXPECT_FALSE(saveDrawing(file("no/folder/x.des"), d).ok);
    EXPECT_TRUE(d.contagensAlteradas());
}

TEST(PreFormat, EveryTruncationAndRandomTextFailCleanlyOrReadWithinBounds)
{
    std::ifstream in(TARVEX_TEST_DATA "/reference.pre");
    const std::string good { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    ASSERT_FALSE(good.empty());
    for (std::size_t cut = 0; cut <= good.size(); ++cut) {
        std::istringstream text(good.substr(0, cut));
        DrawingData d = sample();
        const Status s = readPre(text, d);
        if (!s) {
            EXPECT_EQ(writeDes(d), writeDes(sample())) << "cut at " << cut;
        }
    }
    std::mt19937 random(777);
    const std::string alphabet = "0123456789 -.\nfF eE+x";
    for (int trial = 0; trial < 500; ++trial) {
        std::string bytes = good;
        for (char& c : bytes)
            if (random() % 6 == 0)
                c = alphabet[random() % alphabet.size()];
        std::istringstream text(bytes);
        DrawingData d;
        if (!readPre(text, d))
            continue;
        // Whatever was accepted joins only points that were read.
        const auto& points = d.pontos.inStorageOrder();
        auto known = [&](const Ponto& p) {
            return std::find(points.begin(), points.end(), p) != points.end();
        };
        for (const Segmento& seg : d.segmentos.inStorageOrder())
            EXPECT_TRUE(known(seg.P1) && known(seg.P2));
        for (const Arco& arc : d.arcos.inStorageOrder())
            EXPECT_TRUE(known(arc.P1) && known(arc.P2));
    }
}
