#include "geometry/drawing_io.h"

#include "common/binary_stream.h"
#include "common/file_io.h"
#include "common/messages.h"
#include "common/word_reader.h"
#include "geometry/drawing.h"
#include "geometry/dxf_io.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <istream>
#include <iterator>
#include <sstream>
#include <vector>

namespace tarvex::geometry {

using common::ByteReader;
using common::ByteWriter;

namespace {

bool finite(const Ponto& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}
bool validScale(double scale)
{
    return std::isfinite(scale) && scale > 0.0;
}

bool readPonto(ByteReader& in, Ponto& p)
{
    return in.readDouble(p.x) && in.readDouble(p.y);
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
            return Status::failure(msg::DesTruncated);
        list.pushFront(record);
    }
    return Status::success();
}

void writePonto(ByteWriter& out, const Ponto& p)
{
    out.writeDouble(p.x);
    out.writeDouble(p.y);
}

} // namespace

Status readDes(std::string_view bytes, DrawingData& out)
{
    ByteReader in(bytes);
    std::string_view version;
    if (!in.readBytes(VersionFieldBytes, version))
        return Status::failure(msg::DesTruncated);
    if (common::fixedFieldText(version) != DesVersion)
        return Status::failure(msg::DesVersionError);

    DrawingData read;
    if (!in.readDouble(read.fatorEscala))
        return Status::failure(msg::DesTruncated);
    if (!validScale(read.fatorEscala))
        return Status::failure(msg::DesBadScale);

    bool allFinite = true;
    Status s = readList(in, PontoBytes, read.pontos, [&](Ponto& p) {
        const bool ok = readPonto(in, p);
        allFinite = allFinite && finite(p);
        return ok;
    });
    if (s)
        s = readList(in, SegmentoBytes, read.segmentos, [&](Segmento& seg) {
            const bool ok = readPonto(in, seg.P1) && readPonto(in, seg.P2);
            allFinite = allFinite && finite(seg.P1) && finite(seg.P2);
            return ok;
        });
    if (s)
        s = readList(in, ArcoBytes, read.arcos, [&](Arco& a) {
            const bool ok = readPonto(in, a.P1) && readPonto(in, a.P2) && readPonto(in, a.PC);
            allFinite = allFinite && finite(a.P1) && finite(a.P2) && finite(a.PC);
            return ok;
        });
    if (!s)
        return s;
    if (!allFinite)
        return Status::failure(msg::DesBadCoordinate);

    read.marcarGravado();
    out = std::move(read);
    return Status::success();
}

Status readDes(std::istream& in, DrawingData& out)
{
    const std::string bytes { std::istreambuf_iterator<char>(in),
        std::istreambuf_iterator<char>() };
    return readDes(std::string_view(bytes), out);
}

std::string writeDes(const DrawingData& drawing)
{
    ByteWriter out;
    out.writeFixedText(DesVersion, VersionFieldBytes);
    out.writeDouble(drawing.fatorEscala);
    out.writeInt32(static_cast<std::int32_t>(drawing.pontos.size()));
    for (const Ponto& p : drawing.pontos.inListOrder())
        writePonto(out, p);
    out.writeInt32(static_cast<std::int32_t>(drawing.segmentos.size()));
    for (const Segmento& s : drawing.segmentos.inListOrder()) {
        writePonto(out, s.P1);
        writePonto(out, s.P2);
    }
    out.writeInt32(static_cast<std::int32_t>(drawing.arcos.size()));
    for (const Arco& a : drawing.arcos.inListOrder()) {
        writePonto(out, a.P1);
        writePonto(out, a.P2);
        writePonto(out, a.PC);
    }
    return out.take();
}

namespace {

using common::WordReader;

bool isTerminator(const std::string& word)
{
    return word[0] == 'f' || word[0] == 'F';
}

/// Integer conversion in the manner of the C library: a leading number is taken and the rest of
/// the word ignored; a word with no number at all is refused rather than read as 0.
bool toInteger(const std::string& word, long& value)
{
    errno = 0;
    char* end = nullptr;
    value = std::strtol(word.c_str(), &end, 10);
    if (end == word.c_str())
        return false;
    if (errno == ERANGE)
        value = value < 0 ? LONG_MIN : LONG_MAX;
    return true;
}

bool toDecimal(const std::string& word, double& value)
{
    char* end = nullptr;
    value = std::strtod(word.c_str(), &end);
    return end != word.c_str() && std::isfinite(value);
}

struct Triple {
    long a = 0;
    long b = 0;
    long c = 0;
    int line = 0;
};

/// Reads pairs until a terminator or the end of the file; a lone last number is ignored.
Status readPairs(WordReader& words, std::vector<Ponto>& out)
{
    std::string word;
    double value[2] = { 0.0, 0.0 };
    int have = 0;
    while (words.next(word) && !isTerminator(word)) {
        if (!toDecimal(word, value[have]))
            return Status::failure(msg::PreBadNumber, words.line());
        if (++have == 2) {
            out.push_back({ value[0], value[1] });
            have = 0;
        }
    }
    return Status::success();
}

bool inRange(long index, std::size_t count)
{
    return index >= 1 && static_cast<unsigned long>(index) <= count;
}

} // namespace

Status readPre(std::istream& in, DrawingData& out)
{
    WordReader words(in);
    std::string word;
    DrawingData read;
    if (!words.next(word) || !toDecimal(word, read.fatorEscala))
        return Status::failure(msg::PreBadNumber, words.line());
    if (!validScale(read.fatorEscala))
        return Status::failure(msg::DesBadScale, words.line());

    std::vector<Triple> triples;
    Triple current;
    long* fields[3] = { &current.a, &current.b, &current.c };
    int have = 0;
    while (words.next(word) && !isTerminator(word)) {
        if (have == 0)
            current.line = words.line();
        if (!toInteger(word, *fields[have]))
            return Status::failure(msg::PreBadNumber, words.line());
        if (++have == 3) {
            triples.push_back(current);
            have = 0;
        }
    }

    std::vector<Ponto> points;
    std::vector<Ponto> centres;
    if (Status s = readPairs(words, points); !s)
        return s;
    if (Status s = readPairs(words, centres); !s)
        return s;

    // Points stay in file order in the list: the first point read heads it.
    for (auto p = points.rbegin(); p != points.rend(); ++p)
        read.pontos.pushFront(*p);

    // Entities are made from the last triple to the first, each inserted at the front, so both
    // lists end up in file order.
    for (auto t = triples.rbegin(); t != triples.rend(); ++t) {
        if (!inRange(t->a, points.size()) || !inRange(t->b, points.size()))
            return Status::failure(msg::PreBadIndex, t->line);
        const Ponto& p1 = points[static_cast<std::size_t>(t->a - 1)];
        const Ponto& p2 = points[static_cast<std::size_t>(t->b - 1)];
        if (t->c == 0) {
            read.segmentos.pushFront({ p1, p2 });
            continue;
        }
        if (!inRange(t->c, centres.size()))
            return Status::failure(msg::PreBadIndex, t->line);
        read.arcos.pushFront({ p1, p2, centres[static_cast<std::size_t>(t->c - 1)] });
    }

    read.marcarGravado();
    out = std::move(read);
    return Status::success();
}

Status openDrawing(const std::string& path, std::string_view documentType, DrawingData& out,
    DxfIgnorados* ignorados)
{
    if (documentType == "des" || documentType == "pre") {
        std::string bytes;
        if (Status s = common::readWholeFile(path, bytes); !s)
            return s;
        if (documentType == "des")
            return readDes(std::string_view(bytes), out);
        std::istringstream text(bytes);
        return readPre(text, out);
    }
    if (documentType == "dxf")
        return readDxfFile(path, out, ignorados);
    out = DrawingData();
    return Status::success();
}

std::string caminhoGravacao(const std::string& path)
{
    const std::string extension = common::extensionOf(path);
    if (extension == "pre" || extension == "dxf")
        return common::replaceExtension(path, ".des");
    return path;
}

Status saveDrawing(const std::string& path, DrawingData& drawing, std::string* savedPath)
{
    const std::string target = caminhoGravacao(path);
    if (Status s = common::writeFileAtomically(target, writeDes(drawing)); !s)
        return s;
    drawing.marcarGravado();
    if (savedPath)
        *savedPath = target;
    return Status::success();
}

} // namespace tarvex::geometry
