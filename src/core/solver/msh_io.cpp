#include "solver/msh_io.h"

#include "common/binary_stream.h"
#include "common/file_io.h"
#include "common/messages.h"
#include "problem/dat_io.h"
#include "solver/assembly.h"
#include "solver/solver_model.h"

#include <cmath>
#include <istream>
#include <iterator>
#include <vector>

namespace tarvex::solver {

using common::ByteReader;
using common::ByteWriter;
using linalg::RealVector;
using linalg::SparseSymMatrix;

namespace {

constexpr std::size_t VersionFieldBytes = 31;
constexpr std::size_t Int32Bytes = 4;
constexpr std::size_t DoubleBytes = 8;
constexpr std::size_t MeshNodeBytes = 24;
constexpr std::size_t MeshElementBytes = 12;
constexpr std::size_t PotencialPontoBytes = 24;
/// The smallest region record: its fixed part and an empty contour.
constexpr std::size_t RegiaoMinBytes = problem::RegiaoFixedBytes + 4;

const Status Truncated = Status::failure(msg::DesTruncated);

bool readByte(ByteReader& in, std::uint8_t& out)
{
    std::string_view b;
    if (!in.readBytes(1, b))
        return false;
    out = static_cast<std::uint8_t>(b[0]);
    return true;
}

void writeByte(ByteWriter& out, std::uint8_t value)
{
    const char c = static_cast<char>(value);
    out.writeBytes(std::string_view(&c, 1));
}

/**
 * The count of an array stored as count + (count + 1) items. Checked against the bytes left
 * before anything is allocated, so a hostile count can neither overflow nor exhaust memory.
 */
Status readArrayCount(ByteReader& in, std::size_t itemBytes, std::int32_t& count)
{
    if (!in.readInt32(count))
        return Truncated;
    if (count < 0)
        return Status::failure(msg::DesBadCount);
    if (static_cast<std::size_t>(count) + 1 > in.remaining() / itemBytes)
        return Truncated;
    return Status::success();
}

/// count + 1 doubles (slot 0 included, as stored).
bool readDoubles(ByteReader& in, std::size_t count, std::vector<double>& out)
{
    if (count > in.remaining() / DoubleBytes)
        return false;
    out.resize(count);
    for (double& v : out)
        if (!in.readDouble(v))
            return false;
    return true;
}

bool readInts(ByteReader& in, std::size_t count, std::vector<std::int32_t>& out)
{
    if (count > in.remaining() / Int32Bytes)
        return false;
    out.resize(count);
    for (std::int32_t& v : out)
        if (!in.readInt32(v))
            return false;
    return true;
}

Status readRealVector(ByteReader& in, RealVector& out)
{
    std::int32_t count = 0;
    if (Status s = readArrayCount(in, DoubleBytes, count); !s)
        return s;
    RealVector v(static_cast<std::size_t>(count));
    double slot0 = 0.0;
    if (!in.readDouble(slot0))
        return Truncated;
    double* data = v.data();
    for (std::int32_t i = 1; i <= count; ++i)
        if (!in.readDouble(data[i]))
            return Truncated;
    out = std::move(v);
    return Status::success();
}

Status readNodes(ByteReader& in, std::vector<MeshNode>& out)
{
    std::int32_t count = 0;
    if (Status s = readArrayCount(in, MeshNodeBytes, count); !s)
        return s;
    std::vector<MeshNode> nodes(static_cast<std::size_t>(count) + 1);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        MeshNode& n = nodes[i];
        if (!in.readDouble(n.x) || !in.readDouble(n.y) || !in.readDouble(n.value))
            return Truncated;
        if (i > 0 && (!std::isfinite(n.x) || !std::isfinite(n.y)))
            return Status::failure(msg::DesBadCoordinate);
    }
    nodes[0] = MeshNode {}; // slot 0 carries nothing
    out = std::move(nodes);
    return Status::success();
}

/// Reads `count` doubles and keeps those of the entries of a trimmed layout (the first `entries`
/// of each row); false when the bytes are not there or a free slot holds a value.
bool readTrimmedValues(ByteReader in, const std::vector<std::int32_t>& rowStarts, std::size_t count,
    const std::vector<std::int32_t>& trimmedStarts, std::size_t used, std::vector<double>& values,
    bool& truncated)
{
    const std::size_t rows = rowStarts.size() - 1;
    values.clear();
    values.reserve(used);
    double v = 0.0;
    truncated = !in.readDouble(v); // slot 0, which no reader uses
    if (truncated)
        return false;
    values.push_back(0.0);
    for (std::size_t i = 1; i <= rows; ++i) {
        const std::size_t end = i == rows ? count : static_cast<std::size_t>(rowStarts[i + 1]);
        const std::size_t entries
            = (i == rows ? used : static_cast<std::size_t>(trimmedStarts[i + 1]))
            - static_cast<std::size_t>(trimmedStarts[i]);
        for (std::size_t s = static_cast<std::size_t>(rowStarts[i]), k = 0; s < end; ++s, ++k) {
            truncated = !in.readDouble(v);
            if (truncated)
                return false;
            if (k < entries)
                values.push_back(v);
            else if (v != 0.0 || std::signbit(v))
                return false;
        }
    }
    return true;
}

/// Order and slot count are both stored twice; a matrix whose copies disagree is refused.
/// A matrix whose rows are filled from their first slot with nothing in their free slots, as every
/// file this program writes holds them, is read without its free slots (trimmed): they would take
/// most of the model's memory. Writing gives them back, byte for byte.
Status readMatrix(ByteReader& in, SparseSymMatrix& out)
{
    std::int32_t order = 0;
    if (Status s = readArrayCount(in, Int32Bytes, order); !s)
        return s;
    std::vector<std::int32_t> rowStarts;
    if (!readInts(in, static_cast<std::size_t>(order) + 1, rowStarts))
        return Truncated;
    std::int32_t slots = 0;
    if (Status s = readArrayCount(in, Int32Bytes, slots); !s)
        return s;
    const std::size_t count = static_cast<std::size_t>(slots) + 1;
    // The columns and values are looked at where they lie in the file, so that the free slots are
    // never copied: a file's layout holds most of its slots free.
    if (count > in.remaining() / Int32Bytes)
        return Truncated;
    const ByteReader columnsAt = in;
    std::string_view skipped;
    if (!in.readBytes(count * Int32Bytes, skipped))
        return Truncated;
    std::int32_t slotsAgain = 0;
    std::int32_t orderAgain = 0;
    if (!in.readInt32(slotsAgain) || !in.readInt32(orderAgain))
        return Truncated;
    if (slotsAgain != slots || orderAgain != order)
        return Status::failure(msg::MshMatrizInvalida);
    if (count > in.remaining() / DoubleBytes)
        return Truncated;
    const ByteReader valuesAt = in;
    if (!in.readBytes(count * DoubleBytes, skipped))
        return Truncated;

    // Which slots hold entries: rows filled from their first slot, nothing after the first free
    // one, and every slot in a row (the first row starting at slot 1).
    const auto rows = static_cast<std::size_t>(order);
    bool packed = order > 0 && rowStarts[1] == 1;
    std::vector<std::int32_t> trimmedStarts(rows + 1, 0);
    std::size_t used = 1;
    ByteReader columnReader = columnsAt;
    std::int32_t c = 0;
    packed = packed && columnReader.readInt32(c); // slot 0, which no reader uses
    for (std::size_t i = 1; packed && i <= rows; ++i) {
        const std::int64_t begin = rowStarts[i];
        const std::int64_t end = i == rows ? static_cast<std::int64_t>(count) : rowStarts[i + 1];
        if (end < begin || end > static_cast<std::int64_t>(count)) {
            packed = false; // not a matrix: the full reading below refuses it
            break;
        }
        trimmedStarts[i] = static_cast<std::int32_t>(used);
        bool free = false;
        for (std::int64_t s = begin; s < end && packed; ++s) {
            if (!columnReader.readInt32(c))
                return Truncated;
            if (c == 0)
                free = true;
            else if (free)
                packed = false;
            else
                ++used;
        }
    }
    if (packed) {
        std::vector<std::int32_t> columns;
        columns.reserve(used);
        columns.push_back(0);
        columnReader = columnsAt;
        (void)columnReader.readInt32(c);
        for (std::size_t i = 1; i <= rows; ++i) {
            const std::size_t end = i == rows ? count : static_cast<std::size_t>(rowStarts[i + 1]);
            for (std::size_t s = static_cast<std::size_t>(rowStarts[i]); s < end; ++s) {
                (void)columnReader.readInt32(c); // there: the first pass read it
                if (c != 0)
                    columns.push_back(c);
            }
        }
        std::vector<double> values;
        bool truncated = false;
        if (readTrimmedValues(valuesAt, rowStarts, count, trimmedStarts, used, values, truncated)) {
            if (!SparseSymMatrix::fromTrimmedStorage(order, std::move(rowStarts), slots,
                    std::move(trimmedStarts), std::move(columns), std::move(values), out))
                return Status::failure(msg::MshMatrizInvalida);
            return Status::success();
        }
        if (truncated)
            return Truncated;
    }

    // Any other layout is kept slot for slot, as the file has it.
    ByteReader columnsAgain = columnsAt;
    std::vector<std::int32_t> columns;
    if (!readInts(columnsAgain, count, columns))
        return Truncated;
    ByteReader valuesAgain = valuesAt;
    std::vector<double> values;
    if (!readDoubles(valuesAgain, count, values))
        return Truncated;
    if (!SparseSymMatrix::fromStorage(
            order, std::move(rowStarts), std::move(columns), std::move(values), out))
        return Status::failure(msg::MshMatrizInvalida);
    return Status::success();
}

/// A non-linear region's curve: the abscissae array, then the ordinates array.
Status readCurva(ByteReader& in, materials::Curva& curva)
{
    std::vector<double> arrays[2];
    for (std::vector<double>& a : arrays) {
        std::int32_t count = 0;
        if (Status s = readArrayCount(in, DoubleBytes, count); !s)
            return s;
        if (!readDoubles(in, static_cast<std::size_t>(count) + 1, a))
            return Truncated;
        a.erase(a.begin()); // slot 0
    }
    if (arrays[0].size() != arrays[1].size())
        return Status::failure(msg::GrpUnequalCurve);
    curva.definePontos(arrays[0], arrays[1]);
    return Status::success();
}

Status readRegions(ByteReader& in, common::FrontList<problem::Regiao>& list)
{
    std::int32_t count = 0;
    if (!in.readInt32(count))
        return Truncated;
    if (count < 0)
        return Status::failure(msg::DesBadCount);
    if (static_cast<std::size_t>(count) > in.remaining() / RegiaoMinBytes)
        return Truncated;
    for (std::int32_t i = 0; i < count; ++i) {
        problem::Regiao r;
        if (Status s = problem::readRegiao(in, r); !s)
            return s;
        if (r.linear == 0)
            if (Status s = readCurva(in, r.curva1); !s)
                return s;
        list.pushFront(std::move(r));
    }
    return Status::success();
}

template <typename Record, typename ReadOne>
Status readList(
    ByteReader& in, std::size_t recordBytes, common::FrontList<Record>& list, ReadOne readOne)
{
    std::size_t count = 0;
    if (Status s = common::readRecordCount(in, recordBytes, count); !s)
        return s;
    for (std::size_t i = 0; i < count; ++i) {
        Record record;
        if (!readOne(record))
            return Truncated;
        list.pushFront(record);
    }
    return Status::success();
}

/// The checks that keep every later index into nodes, rows and masters inside its array.
Status checkConsistency(const SolverModel& m)
{
    const std::int64_t order = m.matrix.order();
    const std::int64_t nodeCount = m.nodeCount();
    using problem::SymmetryKind;
    if (m.symmetryKind < SymmetryKind::None || m.symmetryKind > SymmetryKind::AntiSymmetry
        || m.calculationKind < CalculationKind::NotCalculated
        || m.calculationKind > CalculationKind::InducedCurrents || m.slaveCount < 0
        || m.slaveCount > order || static_cast<std::int64_t>(m.rhs.count()) != order
        || nodeCount < order + m.slaveCount)
        return Status::failure(msg::MshModeloIncoerente);
    if (m.conductive != 0
        && (m.conductivityMatrix.order() != order
            || static_cast<std::int64_t>(m.conductivityRhs.count()) != order
            || m.imaginaryNodes.size() != m.nodes.size()))
        return Status::failure(msg::MshModeloIncoerente);
    const auto exists = [&](std::int32_t node) { return node >= 1 && node <= nodeCount; };
    for (const MeshElement& e : m.elements.inStorageOrder())
        if (!exists(e.t1) || !exists(e.t2) || !exists(e.t3))
            return Status::failure(msg::MshNoInexistente);
    return Status::success();
}

/**
 * The master of each slave: stored after a calculation; before one, taken from the slaves' values
 * (a slave's value is its master's number until the first run).
 */
Status restoreSlaveMasters(SolverModel& m, const std::vector<std::int32_t>& stored)
{
    const std::int32_t order = m.matrix.order();
    const std::int32_t g = m.slaveCount;
    std::vector<std::int32_t> masters(static_cast<std::size_t>(g) + 1, 0);
    for (std::int32_t k = 1; k <= g; ++k) {
        std::int32_t master = 0;
        if (m.calculationKind != CalculationKind::NotCalculated) {
            master = stored[static_cast<std::size_t>(k)];
        } else {
            const double v = m.nodes[static_cast<std::size_t>(order + k)].value;
            // Checked before the conversion: a huge or NaN value has no integer.
            if (!(v >= 1.0 && v < static_cast<double>(order) + 1.0))
                return Status::failure(msg::MshNoInexistente);
            master = static_cast<std::int32_t>(v);
        }
        if (master < 1 || master > order)
            return Status::failure(msg::MshNoInexistente);
        masters[static_cast<std::size_t>(k)] = master;
    }
    m.slaveMasters = std::move(masters);
    return Status::success();
}

void writeNodes(ByteWriter& out, const std::vector<MeshNode>& nodes)
{
    const std::size_t count = nodes.empty() ? 0 : nodes.size() - 1;
    out.writeInt32(static_cast<std::int32_t>(count));
    for (int i = 0; i < 3; ++i)
        out.writeDouble(0.0);
    for (std::size_t i = 1; i <= count; ++i) {
        out.writeDouble(nodes[i].x);
        out.writeDouble(nodes[i].y);
        out.writeDouble(nodes[i].value);
    }
}

void writeRealVector(ByteWriter& out, const RealVector& v)
{
    out.writeInt32(static_cast<std::int32_t>(v.count()));
    out.writeDouble(0.0);
    for (std::size_t i = 1; i <= v.count(); ++i)
        out.writeDouble(v[i]);
}

void writeMatrix(ByteWriter& out, const SparseSymMatrix& m)
{
    const std::int32_t order = m.order();
    const std::int32_t slots = m.storageSlotCount();
    const std::vector<std::int32_t> rowStarts = m.rowStartsForStorage();
    out.writeInt32(order);
    out.writeInt32(0);
    for (std::int32_t i = 1; i <= order; ++i)
        out.writeInt32(rowStarts[static_cast<std::size_t>(i)]);
    out.writeInt32(slots);
    out.writeInt32(0);
    if (order > 0) {
        m.forEachStorageSlot([&](int column, double) { out.writeInt32(column); });
    } else {
        // Slots without rows (a hand-made file) are written as they were read.
        for (std::int32_t s = 1; s <= slots; ++s)
            out.writeInt32(m.column(s));
    }
    out.writeInt32(slots);
    out.writeInt32(order);
    out.writeDouble(0.0);
    if (order > 0) {
        m.forEachStorageSlot([&](int, double value) { out.writeDouble(value); });
    } else {
        for (std::int32_t s = 1; s <= slots; ++s)
            out.writeDouble(m.value(s));
    }
}

void writeCurva(ByteWriter& out, const materials::Curva& c)
{
    const std::size_t count = c.count();
    out.writeInt32(static_cast<std::int32_t>(count));
    out.writeDouble(0.0);
    for (std::size_t i = 1; i <= count; ++i)
        out.writeDouble(c.x(i));
    out.writeInt32(static_cast<std::int32_t>(count));
    out.writeDouble(0.0);
    for (std::size_t i = 1; i <= count; ++i)
        out.writeDouble(c.y(i));
}

} // namespace

Status readMsh(std::string_view bytes, SolverModel& out)
{
    ByteReader in(bytes);
    std::string_view versionField;
    if (!in.readBytes(VersionFieldBytes, versionField))
        return Truncated;
    const std::string_view version = common::fixedFieldText(versionField);
    if (version != MshVersao00 && version != MshVersao01)
        return Status::failure(msg::MshErroVersao);

    SolverModel m;
    m.version = std::string(version);
    if (!readByte(in, m.magnetic) || !in.readDouble(m.scaleFactor))
        return Truncated;
    if (!std::isfinite(m.scaleFactor) || m.scaleFactor <= 0.0)
        return Status::failure(msg::DesBadScale);
    for (double& w : m.window)
        if (!in.readDouble(w))
            return Truncated;
    if (Status s = readRegions(in, m.regions); !s)
        return s;
    if (Status s = readList(in, problem::SegmentoContornoBytes, m.potentialSegments,
            [&](problem::SegmentoContorno& seg) {
                return problem::readSegmentoContorno(in, seg).ok;
            });
        !s)
        return s;
    if (Status s = readList(in, PotencialPontoBytes, m.potentialPoints,
            [&](problem::PotencialPonto& p) {
                return in.readDouble(p.x) && in.readDouble(p.y) && in.readDouble(p.potencial);
            });
        !s)
        return s;
    if (Status s = readList(in, MeshElementBytes, m.elements,
            [&](MeshElement& e) {
                return in.readInt32(e.t1) && in.readInt32(e.t2) && in.readInt32(e.t3);
            });
        !s)
        return s;
    if (Status s = readNodes(in, m.nodes); !s)
        return s;
    if (Status s = readRealVector(in, m.rhs); !s)
        return s;
    if (Status s = readMatrix(in, m.matrix); !s)
        return s;

    const bool version01 = version == MshVersao01;
    if (version01) {
        if (!readByte(in, m.conductive))
            return Truncated;
        if (m.conductive > 1)
            return Status::failure(msg::MshModeloIncoerente);
        if (m.conductive == 1) {
            if (Status s = readMatrix(in, m.conductivityMatrix); !s)
                return s;
            if (Status s = readRealVector(in, m.conductivityRhs); !s)
                return s;
            if (Status s = readNodes(in, m.imaginaryNodes); !s)
                return s;
            if (!in.readDouble(m.frequency))
                return Truncated;
        }
    }
    // Kinds outside their enumerations are refused by checkConsistency, after the whole read.
    std::int32_t symmetryKind = 0;
    std::int32_t calculationKind = 0;
    if (!in.readInt32(symmetryKind) || !in.readInt32(m.slaveCount) || !in.readInt32(calculationKind)
        || !in.readDouble(m.storedError))
        return Truncated;
    m.symmetryKind = static_cast<problem::SymmetryKind>(symmetryKind);
    m.calculationKind = static_cast<CalculationKind>(calculationKind);
    std::vector<std::int32_t> stored;
    if (m.slaveCount != 0 && m.calculationKind != CalculationKind::NotCalculated) {
        std::int32_t count = 0;
        if (Status s = readArrayCount(in, Int32Bytes, count); !s)
            return s;
        if (!readInts(in, static_cast<std::size_t>(count) + 1, stored))
            return Truncated;
        if (count != m.slaveCount)
            return Status::failure(msg::MshModeloIncoerente);
    }

    if (Status s = checkConsistency(m); !s)
        return s;
    if (Status s = restoreSlaveMasters(m, stored); !s)
        return s;
    m.freeNodes = m.matrix.order();
    // Imposed potentials are real: whatever a file holds as their imaginary part is dropped.
    if (m.conductive != 0)
        for (std::size_t i = static_cast<std::size_t>(m.unknownCount()) + 1;
             i < m.imaginaryNodes.size(); ++i)
            m.imaginaryNodes[i].value = 0.0;
    m.derivarRegioes();
    if (m.calculationKind != CalculationKind::NotCalculated)
        prepareNonlinearCurves(m);
    out = std::move(m);
    return Status::success();
}

Status readMsh(std::istream& in, SolverModel& out)
{
    const std::string bytes { std::istreambuf_iterator<char>(in),
        std::istreambuf_iterator<char>() };
    return readMsh(std::string_view(bytes), out);
}

std::string writeMsh(const SolverModel& model)
{
    ByteWriter out;
    // The bulk of the file, reserved at once: a buffer that grows by doubling would need up to
    // twice the file's size while it is written.
    const auto matrixBytes = [](const SparseSymMatrix& m) {
        return 12.0 * (m.storageSlotCount() + 1.0) + 4.0 * (m.order() + 1.0) + 16.0;
    };
    const double bulk = 48.0 * (static_cast<double>(model.nodes.size()) + 1.0)
        + 12.0 * static_cast<double>(model.elements.size())
        + 16.0 * (static_cast<double>(model.rhs.count()) + 1.0) + matrixBytes(model.matrix)
        + (model.conductive ? matrixBytes(model.conductivityMatrix) : 0.0)
        + 4.0 * static_cast<double>(model.slaveMasters.size()) + 65536.0;
    out.reserve(static_cast<std::size_t>(bulk));
    out.writeFixedText(MshVersao01, VersionFieldBytes);
    writeByte(out, model.magnetic);
    out.writeDouble(model.scaleFactor);
    for (const double w : model.window)
        out.writeDouble(w);

    // From the last region to the first: the reader's insertions at the front restore the order.
    out.writeInt32(static_cast<std::int32_t>(model.regions.size()));
    for (const problem::Regiao& r : model.regions.inStorageOrder()) {
        problem::writeRegiao(out, r);
        if (r.linear == 0)
            writeCurva(out, r.curva1);
    }
    out.writeInt32(static_cast<std::int32_t>(model.potentialSegments.size()));
    for (const problem::SegmentoContorno& s : model.potentialSegments.inListOrder())
        problem::writeSegmentoContorno(out, s);
    out.writeInt32(static_cast<std::int32_t>(model.potentialPoints.size()));
    for (const problem::PotencialPonto& p : model.potentialPoints.inListOrder()) {
        out.writeDouble(p.x);
        out.writeDouble(p.y);
        out.writeDouble(p.potencial);
    }
    out.writeInt32(static_cast<std::int32_t>(model.elements.size()));
    for (const MeshElement& e : model.elements.inListOrder()) {
        out.writeInt32(e.t1);
        out.writeInt32(e.t2);
        out.writeInt32(e.t3);
    }
    writeNodes(out, model.nodes);
    writeRealVector(out, model.rhs);
    writeMatrix(out, model.matrix);

    const std::uint8_t conductive = model.conductive != 0 ? 1 : 0;
    writeByte(out, conductive);
    if (conductive != 0) {
        writeMatrix(out, model.conductivityMatrix);
        writeRealVector(out, model.conductivityRhs);
        writeNodes(out, model.imaginaryNodes);
        out.writeDouble(model.frequency);
    }
    out.writeInt32(static_cast<std::int32_t>(model.symmetryKind));
    out.writeInt32(model.slaveCount);
    out.writeInt32(static_cast<std::int32_t>(model.calculationKind));
    out.writeDouble(model.storedError);
    if (model.slaveCount != 0 && model.calculationKind != CalculationKind::NotCalculated) {
        TARVEX_ASSERT(model.slaveMasters.size() == static_cast<std::size_t>(model.slaveCount) + 1);
        out.writeInt32(model.slaveCount);
        out.writeInt32(0);
        for (std::int32_t k = 1; k <= model.slaveCount; ++k) {
            const auto at = static_cast<std::size_t>(k);
            out.writeInt32(at < model.slaveMasters.size() ? model.slaveMasters[at] : 0);
        }
    }
    return out.take();
}

Status openMsh(const std::string& path, SolverModel& out)
{
    std::string bytes;
    if (Status s = common::readWholeFile(path, bytes); !s)
        return s;
    return readMsh(std::string_view(bytes), out);
}

Status saveMsh(const std::string& path, const SolverModel& model)
{
    return common::writeFileAtomically(path, writeMsh(model));
}

} // namespace tarvex::solver
