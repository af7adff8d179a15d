#include "problem/dat_io.h"

#include "common/binary_stream.h"
#include "common/file_io.h"
#include "common/messages.h"
#include "common/text_encoding.h"
#include "problem/problem_data.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <iterator>

namespace tarvex::problem {

using common::ByteReader;
using common::ByteWriter;

namespace {

constexpr std::size_t VersionFieldBytes = 31;
/// The smallest region record: its fixed part and an empty contour.
constexpr std::size_t RegiaoMinBytes = RegiaoFixedBytes + 4;
constexpr std::size_t PotencialPontoBytes = 24;
constexpr std::size_t TrianguloBytes = 48;
constexpr std::size_t PosicaoBytes = 2;
constexpr std::size_t PaddingBytes = 6;

bool readByte(ByteReader& in, std::uint8_t& out)
{
    std::string_view b;
    if (!in.readBytes(1, b))
        return false;
    out = static_cast<std::uint8_t>(b[0]);
    return true;
}

bool readInt16(ByteReader& in, std::int16_t& out)
{
    std::string_view b;
    if (!in.readBytes(2, b))
        return false;
    const auto lo = static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[0]));
    const auto hi = static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[1]));
    out = static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
    return true;
}

bool readDoubles(ByteReader& in, std::initializer_list<double*> fields)
{
    for (double* field : fields)
        if (!in.readDouble(*field))
            return false;
    return true;
}

void writeByte(ByteWriter& out, std::uint8_t value)
{
    const char c = static_cast<char>(value);
    out.writeBytes(std::string_view(&c, 1));
}

void writeInt16(ByteWriter& out, std::int16_t value)
{
    const auto u = static_cast<std::uint16_t>(value);
    const char bytes[2] = { static_cast<char>(u & 0xFF), static_cast<char>(u >> 8) };
    out.writeBytes(std::string_view(bytes, 2));
}

bool finite(double a, double b)
{
    return std::isfinite(a) && std::isfinite(b);
}

} // namespace

Status readSegmentoContorno(ByteReader& in, SegmentoContorno& s)
{
    std::string_view padding;
    if (!readDoubles(in, { &s.x1, &s.y1, &s.x2, &s.y2, &s.xc, &s.yc }) || !readByte(in, s.ehArco)
        || !readByte(in, s.sentido) || !in.readBytes(PaddingBytes, padding)
        || !in.readDouble(s.potencial))
        return Status::failure(msg::DesTruncated);
    if (!finite(s.x1, s.y1) || !finite(s.x2, s.y2) || !finite(s.xc, s.yc))
        return Status::failure(msg::DesBadCoordinate);
    return Status::success();
}

namespace {

Status readSegmentos(ByteReader& in, common::FrontList<SegmentoContorno>& list)
{
    std::size_t count = 0;
    if (Status s = common::readRecordCount(in, SegmentoContornoBytes, count); !s)
        return s;
    for (std::size_t i = 0; i < count; ++i) {
        SegmentoContorno segmento;
        if (Status s = readSegmentoContorno(in, segmento); !s)
            return s;
        list.pushFront(segmento);
    }
    return Status::success();
}

} // namespace

Status readRegiao(ByteReader& in, Regiao& r)
{
    std::string_view arquivo;
    std::string_view s1;
    std::string_view s2;
    const bool complete = readDoubles(in,
                              { &r.permRelativa, &r.permissividadeRelativa, &r.densCorrente,
                                  &r.densCargas, &r.brX, &r.brY })
        // The radial component comes before the tangential one in files.
        && readDoubles(in, { &r.brR, &r.brT, &r.condutividade, &r.reservado1, &r.reservado2 })
        && readByte(in, r.linear) && in.readBytes(ArquivoMaterialBytes, arquivo)
        && readDoubles(
            in, { &r.reservadoD[0], &r.reservadoD[1], &r.reservadoD[2], &r.reservadoD[3] })
        && readByte(in, r.reservadoB1) && readByte(in, r.reservadoB2)
        && in.readBytes(ReservadoSBytes, s1) && in.readBytes(ReservadoSBytes, s2)
        && in.readInt32(r.reservadoI1) && in.readInt32(r.reservadoI2);
    if (!complete)
        return Status::failure(msg::DesTruncated);
    r.arquivoMaterial = common::windows1252ToUtf8(common::fixedFieldText(arquivo));
    r.reservadoS1.assign(s1);
    r.reservadoS2.assign(s2);
    return readSegmentos(in, r.segmentos);
}

namespace {

Status readRegioes(ByteReader& in, common::FrontList<Regiao>& list)
{
    std::size_t count = 0;
    if (Status s = common::readRecordCount(in, RegiaoMinBytes, count); !s)
        return s;
    for (std::size_t i = 0; i < count; ++i) {
        Regiao regiao;
        if (Status s = readRegiao(in, regiao); !s)
            return s;
        list.pushFront(std::move(regiao));
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
        if (Status s = readOne(record); !s)
            return s;
        list.pushFront(record);
    }
    return Status::success();
}

/// Items 7 on: present only when the file carries a maximum edge (a meshed or edited problem).
Status readMeshPart(ByteReader& in, bool version01, ProblemData& read)
{
    const Status truncated = Status::failure(msg::DesTruncated);
    double malha = 0.0;
    if (!in.readDouble(malha))
        return truncated;
    // The edge the stored mesh was made with becomes the setting as well.
    read.arestaMaxima = malha;
    read.arestaMalha = malha;

    if (version01) {
        if (Status s = readList(in, PosicaoBytes, read.regioesEspeciais,
                [&](std::int16_t& p) {
                    return readInt16(in, p) ? Status::success()
                                            : Status::failure(msg::DesTruncated);
                });
            !s)
            return s;
        if (Status s = readRegioes(in, read.areasEspeciais); !s)
            return s;
    } else {
        // The older files hold at most one special region, 0 meaning none.
        std::int32_t single = 0;
        if (!in.readInt32(single))
            return truncated;
        if (single != 0)
            read.regioesEspeciais.pushFront(
                static_cast<std::int16_t>(std::clamp<std::int32_t>(single, INT16_MIN, INT16_MAX)));
    }

    if (!in.readDouble(read.arestaEspecial) || !in.readDouble(read.fatorQualidade))
        return truncated;
    if (Status s = readSegmentos(in, read.segmentosPotencial); !s)
        return s;
    if (Status s = readList(in, PotencialPontoBytes, read.potenciaisPonto,
            [&](PotencialPonto& p) {
                if (!readDoubles(in, { &p.x, &p.y, &p.potencial }))
                    return Status::failure(msg::DesTruncated);
                return finite(p.x, p.y) ? Status::success()
                                        : Status::failure(msg::DesBadCoordinate);
            });
        !s)
        return s;
    // Any stored kind is kept, so the file is written back as it was read.
    std::int32_t simetria = 0;
    if (!in.readInt32(simetria))
        return truncated;
    read.tipoSimetria = static_cast<SymmetryKind>(simetria);
    if (Status s = readSegmentos(in, read.segmentosSimetria); !s)
        return s;
    return readList(in, TrianguloBytes, read.triangulos, [&](Triangulo& t) {
        if (!readDoubles(in, { &t.x1, &t.y1, &t.x2, &t.y2, &t.x3, &t.y3 }))
            return Status::failure(msg::DesTruncated);
        return finite(t.x1, t.y1) && finite(t.x2, t.y2) && finite(t.x3, t.y3)
            ? Status::success()
            : Status::failure(msg::DesBadCoordinate);
    });
}

} // namespace

Status readDat(std::string_view bytes, ProblemData& out)
{
    ByteReader in(bytes);
    std::string_view version;
    if (!in.readBytes(VersionFieldBytes, version))
        return Status::failure(msg::DesTruncated);
    const std::string_view versionText = common::fixedFieldText(version);
    const bool version01 = versionText == DatVersao01;
    if (!version01 && versionText != DatVersao00)
        return Status::failure(msg::DesVersionError);

    const Status truncated = Status::failure(msg::DesTruncated);
    ProblemData read;
    std::uint8_t analise = 0;
    if (!readByte(in, analise) || !in.readDouble(read.fatorEscala))
        return truncated;
    read.tipoAnalise = static_cast<AnalysisType>(analise);
    if (!std::isfinite(read.fatorEscala) || read.fatorEscala <= 0.0)
        return Status::failure(msg::DesBadScale);
    if (!readDoubles(in, { &read.janela[0], &read.janela[1], &read.janela[2], &read.janela[3] }))
        return truncated;
    if (Status s = readRegioes(in, read.regioes); !s)
        return s;

    double aresta = 0.0;
    if (!in.readDouble(aresta))
        return truncated;
    read.arestaMaxima = aresta;
    // A file straight from the drawing ends here: no mesh-control values, conditions or mesh.
    if (aresta > ProblemData::ArestaMinima) {
        if (Status s = readMeshPart(in, version01, read); !s)
            return s;
    }

    read.numTriangulos = static_cast<std::int32_t>(read.triangulos.size());
    read.derivarListas();
    out = std::move(read);
    return Status::success();
}

Status readDat(std::istream& in, ProblemData& out)
{
    const std::string bytes { std::istreambuf_iterator<char>(in),
        std::istreambuf_iterator<char>() };
    return readDat(std::string_view(bytes), out);
}

void writeSegmentoContorno(ByteWriter& out, const SegmentoContorno& s)
{
    for (const double v : { s.x1, s.y1, s.x2, s.y2, s.xc, s.yc })
        out.writeDouble(v);
    writeByte(out, s.ehArco);
    writeByte(out, s.sentido);
    out.writeFixedText({}, PaddingBytes);
    out.writeDouble(s.potencial);
}

void writeRegiao(ByteWriter& out, const Regiao& r)
{
    for (const double v : { r.permRelativa, r.permissividadeRelativa, r.densCorrente, r.densCargas,
             r.brX, r.brY, r.brR, r.brT, r.condutividade, r.reservado1, r.reservado2 })
        out.writeDouble(v);
    writeByte(out, r.linear);
    // Keep room for the terminating NUL the field has always had.
    std::string arquivo = common::utf8ToWindows1252(r.arquivoMaterial);
    if (arquivo.size() >= ArquivoMaterialBytes)
        arquivo.resize(ArquivoMaterialBytes - 1);
    out.writeFixedText(arquivo, ArquivoMaterialBytes);
    for (const double v : r.reservadoD)
        out.writeDouble(v);
    writeByte(out, r.reservadoB1);
    writeByte(out, r.reservadoB2);
    out.writeFixedText(r.reservadoS1, ReservadoSBytes);
    out.writeFixedText(r.reservadoS2, ReservadoSBytes);
    out.writeInt32(r.reservadoI1);
    out.writeInt32(r.reservadoI2);
    out.writeInt32(static_cast<std::int32_t>(r.segmentos.size()));
    for (const SegmentoContorno& s : r.segmentos.inListOrder())
        writeSegmentoContorno(out, s);
}

std::string writeDat(const ProblemData& data)
{
    ByteWriter out;
    out.writeFixedText(DatVersao01, VersionFieldBytes);
    writeByte(out, static_cast<std::uint8_t>(data.tipoAnalise));
    out.writeDouble(data.fatorEscala);
    for (const double v : data.janela)
        out.writeDouble(v);

    // Storage order is the reverse of list order: from the last region to the first, so the
    // reader's insertions at the front give the list back as it is.
    out.writeInt32(static_cast<std::int32_t>(data.regioes.size()));
    for (const Regiao& r : data.regioes.inStorageOrder())
        writeRegiao(out, r);

    out.writeDouble(data.arestaMaxima);
    out.writeDouble(data.arestaMalha);
    out.writeInt32(static_cast<std::int32_t>(data.regioesEspeciais.size()));
    for (const std::int16_t p : data.regioesEspeciais.inListOrder())
        writeInt16(out, p);
    out.writeInt32(static_cast<std::int32_t>(data.areasEspeciais.size()));
    for (const Regiao& r : data.areasEspeciais.inStorageOrder())
        writeRegiao(out, r);
    out.writeDouble(data.arestaEspecial);
    out.writeDouble(data.fatorQualidade);

    out.writeInt32(static_cast<std::int32_t>(data.segmentosPotencial.size()));
    for (const SegmentoContorno& s : data.segmentosPotencial.inListOrder())
        writeSegmentoContorno(out, s);
    out.writeInt32(static_cast<std::int32_t>(data.potenciaisPonto.size()));
    for (const PotencialPonto& p : data.potenciaisPonto.inListOrder()) {
        out.writeDouble(p.x);
        out.writeDouble(p.y);
        out.writeDouble(p.potencial);
    }
    out.writeInt32(static_cast<std::int32_t>(data.tipoSimetria));
    out.writeInt32(static_cast<std::int32_t>(data.segmentosSimetria.size()));
    for (const SegmentoContorno& s : data.segmentosSimetria.inListOrder())
        writeSegmentoContorno(out, s);
    out.writeInt32(static_cast<std::int32_t>(data.triangulos.size()));
    for (const Triangulo& t : data.triangulos.inListOrder())
        for (const double v : { t.x1, t.y1, t.x2, t.y2, t.x3, t.y3 })
            out.writeDouble(v);
    return out.take();
}

Status openDat(const std::string& path, ProblemData& out)
{
    std::string bytes;
    if (Status s = common::readWholeFile(path, bytes); !s)
        return s;
    return readDat(std::string_view(bytes), out);
}

Status saveDat(const std::string& path, const ProblemData& data)
{
    return common::writeFileAtomically(path, writeDat(data));
}

} // namespace tarvex::problem
