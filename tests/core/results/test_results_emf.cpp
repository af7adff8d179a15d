#include "common/messages.h"
#include "core/evaluation/model_builders.h"
#include "results/results_emf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

using namespace tarvex;
using namespace tarvex::results;

namespace {

struct Record {
    std::uint32_t type = 0;
    std::vector<std::int32_t> words; ///< the 32-bit words after type and size
};

std::uint32_t u32(const std::string& b, std::size_t at)
{
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
    return v;
}

/// Splits a metafile into its records, checking that the sizes chain up to the end exactly.
std::vector<Record> records(const std::string& b)
{
    std::vector<Record> out;
    std::size_t at = 0;
    while (at + 8 <= b.size()) {
        Record r;
        r.type = u32(b, at);
        const std::uint32_t size = u32(b, at + 4);
        EXPECT_GE(size, 8u);
        EXPECT_EQ(size % 4, 0u);
        if (size < 8 || at + size > b.size())
            break;
        for (std::size_t k = at + 8; k < at + size; k += 4)
            r.words.push_back(static_cast<std::int32_t>(u32(b, k)));
        out.push_back(r);
        at += size;
    }
    EXPECT_EQ(at, b.size());
    return out;
}

std::map<std::uint32_t, int> countByType(const std::vector<Record>& rs)
{
    std::map<std::uint32_t, int> n;
    for (const Record& r : rs)
        ++n[r.type];
    return n;
}

constexpr std::uint32_t Header = 1, Eof = 14, SetMapMode = 17, MoveTo = 27, Select = 37,
                        CreatePen = 38, Delete = 40, LineTo = 54;

solver::SolverModel smallModel()
{
    // 100 × 50 drawing units at 1000 units per metre; A = y, so the equipotentials are
    // horizontal.
    return test::gridModel(4, 2, 0, 0, 100, 50, [](double, double y) { return y; });
}

EmfExport exportOf(const solver::SolverModel& m, int mode)
{
    EmfExport e;
    e.window = { m.window[0], m.window[2], m.window[1], m.window[3] };
    e.displayMode = mode;
    e.equipotentialCount = 5;
    return e;
}

} // namespace

TEST(EmfDivisor, DividesTheScaleByTenUntilTheSideReachesTenThousandUnits)
{
    EXPECT_DOUBLE_EQ(emfDivisor(1000.0, 100.0), 0.01); // 100 / 0.01 = 10000
    EXPECT_DOUBLE_EQ(emfDivisor(1000.0, 99.0), 0.001); // 99 / 0.01 falls short
    EXPECT_DOUBLE_EQ(emfDivisor(1.0, 5.0e6), 1.0); // already large enough: the scale
    // No divisor for a window without extent or a scale that is not a positive number: the
    // loop would never end or divide by zero.
    EXPECT_EQ(emfDivisor(1000.0, 0.0), 0.0);
    EXPECT_EQ(emfDivisor(0.0, 100.0), 0.0);
    EXPECT_EQ(emfDivisor(-1000.0, 100.0), 0.0);
    EXPECT_EQ(emfDivisor(1000.0, std::nan("")), 0.0);
    EXPECT_EQ(emfDivisor(1000.0, 1.0e-320), 0.0);
}

TEST(ResultsEmf, HeaderCountsAndFrameDescribeTheFile)
{
    solver::SolverModel m = smallModel();
    std::string bytes;
    ASSERT_TRUE(resultsEmf(m, exportOf(m, 2), bytes));
    const std::vector<Record> rs = records(bytes);
    ASSERT_GE(rs.size(), 3u);
    EXPECT_EQ(rs.front().type, Header);
    EXPECT_EQ(rs.back().type, Eof);
    EXPECT_EQ(u32(bytes, 40), 0x464D4520u); // " EMF"
    EXPECT_EQ(u32(bytes, 48), bytes.size()); // file size
    EXPECT_EQ(u32(bytes, 52), rs.size()); // record count
    EXPECT_EQ(u32(bytes, 56) & 0xFFFFu, 2u); // one pen + the reserved handle 0
    // Divisor 0.01: the frame is the window in 0.01 mm with y negated.
    EXPECT_EQ(static_cast<std::int32_t>(u32(bytes, 24)), 0);
    EXPECT_EQ(static_cast<std::int32_t>(u32(bytes, 28)), -5000);
    EXPECT_EQ(static_cast<std::int32_t>(u32(bytes, 32)), 10000);
    EXPECT_EQ(static_cast<std::int32_t>(u32(bytes, 36)), 0);
    ASSERT_EQ(rs[1].type, SetMapMode);
    EXPECT_EQ(rs[1].words[0], 3); // 0.01 mm, y up
}

TEST(ResultsEmf, RegionsModeWritesOnlyTheContoursWithTheWidePen)
{
    solver::SolverModel m = smallModel();
    std::string bytes;
    ASSERT_TRUE(resultsEmf(m, exportOf(m, 2), bytes));
    const std::vector<Record> rs = records(bytes);
    auto n = countByType(rs);
    EXPECT_EQ(n[CreatePen], 1);
    for (const Record& r : rs) {
        if (r.type == CreatePen) {
            EXPECT_EQ(r.words[2], 16); // width, in 0.01 mm
        }
    }
    // Two square regions of 4 chained sides: four lines each; a line that starts where the last
    // one ended needs no move (here even the second square starts where the first ended).
    EXPECT_EQ(n[LineTo], 8);
    EXPECT_EQ(n[MoveTo], 1);
    // y up: the top right corner is written with positive y.
    bool corner = false;
    for (const Record& r : rs)
        if (r.type == LineTo && r.words[0] == 10000 && r.words[1] == 5000)
            corner = true;
    EXPECT_TRUE(corner);
}

TEST(ResultsEmf, MeshModeWritesEveryTriangleWithTheNarrowPenBeforeTheContours)
{
    solver::SolverModel m = smallModel();
    std::string bytes;
    ASSERT_TRUE(resultsEmf(m, exportOf(m, 1), bytes));
    const std::vector<Record> rs = records(bytes);
    auto n = countByType(rs);
    ASSERT_EQ(n[CreatePen], 2);
    EXPECT_EQ(n[LineTo], 16 * 3 + 8); // three sides each, then the contours
    EXPECT_LE(n[MoveTo], 16 + 2); // at most a move per triangle and per contour
    std::vector<std::int32_t> widths;
    for (const Record& r : rs)
        if (r.type == CreatePen)
            widths.push_back(r.words[2]);
    EXPECT_EQ(widths, (std::vector<std::int32_t> { 8, 16 }));
    // The narrow pen is deleted only after the wide one has replaced it.
    std::size_t selectWide = 0, deleteNarrow = 0;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        if (rs[i].type == Select && rs[i].words[0] == 2)
            selectWide = i;
        if (rs[i].type == Delete && rs[i].words[0] == 1)
            deleteNarrow = i;
    }
    EXPECT_GT(deleteNarrow, selectWide);
}

TEST(ResultsEmf, EquipotentialsAreRetracedOnlyWhenTheViewHadThemTraced)
{
    solver::SolverModel m = smallModel();
    std::string bytes;
    ASSERT_TRUE(resultsEmf(m, exportOf(m, 3), bytes));
    EXPECT_EQ(countByType(records(bytes))[CreatePen], 1);

    m.equipotentialsTraced = true;
    ASSERT_TRUE(resultsEmf(m, exportOf(m, 3), bytes));
    const std::vector<Record> rs = records(bytes);
    EXPECT_EQ(countByType(rs)[CreatePen], 2);
    EXPECT_FALSE(m.equipotentialSegments.empty());
    // Every equipotential of A = y is horizontal: each of its lines keeps the y it moved to.
    std::int32_t y = 0;
    bool narrow = false;
    for (const Record& r : rs) {
        if (r.type == CreatePen)
            narrow = r.words[2] == 8;
        if (!narrow)
            continue;
        if (r.type == MoveTo)
            y = r.words[1];
        if (r.type == LineTo) {
            EXPECT_EQ(r.words[1], y);
        }
    }
}

TEST(ResultsEmf, ArcContoursBecomeChordsOnTheCircle)
{
    solver::SolverModel m = smallModel();
    problem::Regiao circle;
    circle.segmentos.pushBack(problem::SegmentoContorno::arco({ 60, 25 }, { 40, 25 }, { 50, 25 }));
    circle.segmentos.pushBack(problem::SegmentoContorno::arco({ 40, 25 }, { 60, 25 }, { 50, 25 }));
    m.regions.pushBack(circle);
    std::string bytes;
    ASSERT_TRUE(resultsEmf(m, exportOf(m, 5), bytes));
    int onCircle = 0;
    for (const Record& r : records(bytes))
        if (r.type == LineTo && r.words[0] > 3000 && r.words[0] < 7000 && r.words[1] > 1000
            && r.words[1] < 4000) {
            const double dx = r.words[0] - 5000, dy = r.words[1] - 2500;
            EXPECT_NEAR(std::hypot(dx, dy), 1000.0, 1.0);
            ++onCircle;
        }
    EXPECT_EQ(onCircle, 180); // two half circles in chords of 2 degrees
}

TEST(ResultsEmf, RefusesAWindowWithoutExtentAndKeepsTheOutput)
{
    solver::SolverModel m = smallModel();
    EmfExport e = exportOf(m, 2);
    e.window = { 10, 10, 10, 10 };
    std::string bytes = "kept";
    const Status s = resultsEmf(m, e, bytes);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.message, msg::EmfJanelaInvalida);
    EXPECT_EQ(bytes, "kept");
    EXPECT_EQ(writeResultsEmf("/nonexistent-folder/x.emf", m, exportOf(m, 2)).message,
        msg::CannotWriteFile);
}

TEST(ResultsEmf, SaveNameTakesTheEmfExtension)
{
    EXPECT_EQ(emfFileName("a/b/modelo.png"), "a/b/modelo.emf");
    EXPECT_EQ(emfFileName("modelo"), "modelo.emf");
    EXPECT_EQ(emfFileName("modelo.emf"), "modelo.emf");
    EXPECT_EQ(emfFileName("modelo.EMF"), "modelo.EMF");
}
