#include "graphs/grp_io.h"

#include "common/binary_stream.h"
#include "common/file_io.h"
#include "common/messages.h"
#include "common/text_encoding.h"
#include "graphs/graph_data.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <istream>
#include <iterator>
#include <locale>
#include <sstream>

namespace tarvex::graphs {

using common::ByteReader;
using common::ByteWriter;

namespace {

/// Smallest curve record: both counts and both unused elements 0.
constexpr std::size_t MinCurveBytes = 4 + 8 + 4 + 8;
/// Far beyond any graph a command produces; a larger count is a damaged file, refused before
/// thousands of empty records are allocated for it.
constexpr std::size_t MaxGrpRecords = 10000;

bool readText(ByteReader& in, std::string& out)
{
    std::string_view field;
    if (!in.readBytes(GrpTextBytes, field))
        return false;
    std::string_view text = common::fixedFieldText(field);
    if (text.size() >= GrpTextBytes)
        text = text.substr(0, GrpTextBytes - 1);
    out = common::windows1252ToUtf8(text);
    return true;
}

/// One array: its count, then count + 1 doubles of which the first is unused.
Status readArray(ByteReader& in, std::vector<double>& values)
{
    std::size_t count = 0;
    if (Status s = common::readRecordCount(in, sizeof(double), count); !s)
        return s;
    if (in.remaining() / sizeof(double) < count + 1)
        return Status::failure(msg::GrpTruncated);
    double unused = 0.0;
    if (!in.readDouble(unused))
        return Status::failure(msg::GrpTruncated);
    values.resize(count);
    for (double& v : values) {
        if (!in.readDouble(v))
            return Status::failure(msg::GrpTruncated);
        if (!std::isfinite(v))
            return Status::failure(msg::GrpBadValue);
    }
    return Status::success();
}

void writeText(ByteWriter& out, const std::string& text)
{
    // Every Windows-1252 byte is one character, so cutting the converted bytes never splits one.
    out.writeFixedText(common::utf8ToWindows1252(text).substr(0, GrpTextBytes - 1), GrpTextBytes);
}

void writeArray(ByteWriter& out, const materials::Curva& curve, bool abscissae)
{
    const std::size_t n = curve.count();
    out.writeInt32(static_cast<std::int32_t>(n));
    out.writeDouble(0.0);
    for (std::size_t i = 1; i <= n; ++i)
        out.writeDouble(abscissae ? curve.x(i) : curve.y(i));
}

bool endsWithIgnoringCase(const std::string& text, std::string_view ending)
{
    if (text.size() < ending.size())
        return false;
    for (std::size_t i = 0; i < ending.size(); ++i) {
        const auto a = static_cast<unsigned char>(text[text.size() - ending.size() + i]);
        if (std::tolower(a) != static_cast<unsigned char>(ending[i]))
            return false;
    }
    return true;
}

} // namespace

Status readGrp(std::string_view bytes, GraphData& out)
{
    ByteReader in(bytes);
    std::string_view version;
    if (!in.readBytes(GrpVersionBytes, version))
        return Status::failure(msg::GrpTruncated);
    if (common::fixedFieldText(version) != GrpVersion)
        return Status::failure(msg::GrpVersionError);

    GraphData read;
    if (!readText(in, read.title) || !readText(in, read.xCaption) || !readText(in, read.yCaption))
        return Status::failure(msg::GrpTruncated);

    std::size_t nameCount = 0;
    if (Status s = common::readRecordCount(in, GrpTextBytes, nameCount, MaxGrpRecords); !s)
        return s;
    read.curveNames.resize(nameCount);
    for (std::string& name : read.curveNames)
        if (!readText(in, name))
            return Status::failure(msg::GrpTruncated);

    std::size_t curveCount = 0;
    if (Status s = common::readRecordCount(in, MinCurveBytes, curveCount, MaxGrpRecords); !s)
        return s;
    read.curves.resize(curveCount);
    std::vector<double> xs;
    std::vector<double> ys;
    for (materials::Curva& curve : read.curves) {
        if (Status s = readArray(in, xs); !s)
            return s;
        if (Status s = readArray(in, ys); !s)
            return s;
        // A curve holds its points as pairs; unequal counts cannot be plotted or analysed.
        if (xs.size() != ys.size())
            return Status::failure(msg::GrpUnequalCurve);
        curve.definePontos(xs, ys);
    }
    out = std::move(read);
    return Status::success();
}

Status readGrp(std::istream& in, GraphData& out)
{
    const std::string bytes { std::istreambuf_iterator<char>(in),
        std::istreambuf_iterator<char>() };
    return readGrp(std::string_view(bytes), out);
}

std::string writeGrp(const GraphData& data)
{
    ByteWriter out;
    out.writeFixedText(GrpVersion, GrpVersionBytes);
    writeText(out, data.title);
    writeText(out, data.xCaption);
    writeText(out, data.yCaption);
    out.writeInt32(static_cast<std::int32_t>(data.curveNames.size()));
    for (const std::string& name : data.curveNames)
        writeText(out, name);
    out.writeInt32(static_cast<std::int32_t>(data.curves.size()));
    for (const materials::Curva& curve : data.curves) {
        writeArray(out, curve, true);
        writeArray(out, curve, false);
    }
    return out.take();
}

Status openGrp(const std::string& path, GraphData& out)
{
    std::string bytes;
    if (Status s = common::readWholeFile(path, bytes); !s)
        return s;
    return readGrp(std::string_view(bytes), out);
}

Status saveGrp(const std::string& path, const GraphData& data)
{
    return common::writeFileAtomically(path, writeGrp(data));
}

std::string writeAsc(const GraphData& data)
{
    std::size_t rows = data.curves.empty() ? 0 : data.curves.front().count();
    for (const materials::Curva& curve : data.curves)
        rows = std::min(rows, curve.count());

    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << data.curves.size() + 1 << "  " << rows << '\n';
    for (std::size_t j = 1; j <= rows; ++j) {
        out << data.curves.front().x(j) << "  ";
        for (const materials::Curva& curve : data.curves)
            out << curve.y(j) << "  ";
        out << '\n';
    }
    return out.str();
}

Status saveAsc(const std::string& path, const GraphData& data)
{
    return common::writeFileAtomically(path, writeAsc(data));
}

std::string ascNomeSugerido(const std::string& documentPath)
{
    if (endsWithIgnoringCase(documentPath, ".grp"))
        return documentPath.substr(0, documentPath.size() - 4) + ".asc";
    return documentPath;
}

std::string ascNomeFinal(const std::string& chosenPath)
{
    if (endsWithIgnoringCase(chosenPath, ".asc"))
        return chosenPath;
    return common::replaceExtension(chosenPath, ".asc");
}

} // namespace tarvex::graphs
