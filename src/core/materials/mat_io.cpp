#include "materials/mat_io.h"

#include "common/file_io.h"
#include "common/messages.h"
#include "common/word_reader.h"
#include "materials/c_format.h"
#include "materials/curva.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <istream>
#include <sstream>

namespace tarvex::materials {

namespace {

using common::WordReader;

/// The digits of a word, without a leading '+' (stream extraction takes it; from_chars not).
std::string_view unsigned_(std::string_view word)
{
    if (word.size() > 1 && word[0] == '+' && word[1] != '-' && word[1] != '+')
        word.remove_prefix(1);
    return word;
}

/// A whole word as a finite number, read the same whatever the C library's locale.
bool toDecimal(const std::string& word, double& value)
{
    const std::string_view digits = unsigned_(word);
    const char* end = digits.data() + digits.size();
    const auto [ptr, ec] = std::from_chars(digits.data(), end, value);
    return ec == std::errc() && ptr == end && std::isfinite(value);
}

bool toCount(const std::string& word, long& value)
{
    const std::string_view digits = unsigned_(word);
    const char* end = digits.data() + digits.size();
    const auto [ptr, ec] = std::from_chars(digits.data(), end, value);
    return ec == std::errc() && ptr == end;
}

/// Where the first value of a row begins: after the point number and the blanks that follow it.
std::size_t firstValueStart(std::string_view linha)
{
    std::size_t i = 0;
    while (i < linha.size() && linha[i] != ' ')
        ++i;
    while (i < linha.size() && linha[i] == ' ')
        ++i;
    return i;
}

/// ASCII and Latin-1 capitals to small letters, leaving every other UTF-8 sequence alone.
std::string lowered(std::string_view text)
{
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto b = static_cast<unsigned char>(out[i]);
        if (b >= 'A' && b <= 'Z') {
            out[i] = static_cast<char>(b + 32);
        } else if (b == 0xC3 && i + 1 < out.size()) {
            const auto next = static_cast<unsigned char>(out[i + 1]);
            // U+00C0..U+00DE are capitals, but for U+00D7 (the multiplication sign).
            if (next >= 0x80 && next <= 0x9E && next != 0x97)
                out[i + 1] = static_cast<char>(next + 0x20);
            ++i;
        }
    }
    return out;
}

bool existe(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

Status readMat(std::istream& in, std::vector<PontoMaterial>& out)
{
    WordReader words(in);
    std::string word;
    long count = 0;
    if (!words.next(word) || !toCount(word, count) || count < 0)
        return Status::failure(msg::MatBadCount, words.line());
    double unused = 0.0;
    if (!words.next(word) || !toDecimal(word, unused))
        return Status::failure(msg::MatBadNumber, words.line());

    // Grown as the pairs arrive, never sized by the count: a damaged count allocates nothing.
    std::vector<PontoMaterial> read;
    for (long i = 0; i < count; ++i) {
        PontoMaterial p;
        for (double* value : { &p.campo, &p.inducao }) {
            if (!words.next(word))
                return Status::failure(msg::MatTooFewPoints, words.line());
            if (!toDecimal(word, *value))
                return Status::failure(msg::MatBadNumber, words.line());
        }
        read.push_back(p);
    }
    out = std::move(read);
    return Status::success();
}

Status openMat(const std::string& path, std::vector<PontoMaterial>& out)
{
    std::string bytes;
    if (Status s = common::readWholeFile(path, bytes); !s)
        return s;
    std::istringstream in(bytes);
    return readMat(in, out);
}

Curva curvaMaterial(const std::vector<PontoMaterial>& pontos)
{
    Curva curva;
    for (const PontoMaterial& p : pontos)
        curva.adicionaPonto(p.campo, p.inducao);
    return curva;
}

std::string_view cabecalhoLista(bool eletrico)
{
    return eletrico ? "ponto     E (V/m)      D (C/m²)" : "ponto     H (A/m)          B (T) ";
}

std::string linhaPonto(int numero, const PontoMaterial& ponto)
{
    const std::string campo = formatC("%g", ponto.campo);
    const std::string inducao = formatC("%g", ponto.inducao);
    return formatC("%02d %13s %13s", numero, campo.c_str(), inducao.c_str());
}

std::string linhaAtualizada(int numero, std::string_view campo, std::string_view inducao)
{
    const std::string c(campo);
    const std::string i(inducao);
    return formatC("%02d %13.16s %13s", numero, c.c_str(), i.c_str());
}

void camposDaLinha(std::string_view linha, std::string& campo, std::string& inducao)
{
    // The two values are the words after the point number, so a long value never spills into
    // the other field and a three-digit point number does not shift them.
    campo.clear();
    inducao.clear();
    std::string* fields[] = { nullptr, &campo, &inducao };
    std::size_t word = 0;
    std::size_t i = 0;
    while (i < linha.size() && word < 3) {
        while (i < linha.size() && linha[i] == ' ')
            ++i;
        const std::size_t begin = i;
        while (i < linha.size() && linha[i] != ' ')
            ++i;
        if (i > begin && fields[word])
            *fields[word] = std::string(linha.substr(begin, i - begin));
        if (i > begin)
            ++word;
    }
}

std::string writeMatRows(const std::vector<std::string>& linhas)
{
    std::string text = formatC("%zu", linhas.size()) + "   2\n";
    for (const std::string& linha : linhas) {
        const std::size_t cut = std::min<std::size_t>(4, firstValueStart(linha));
        text += linha.substr(cut);
        text += '\n';
    }
    return text;
}

std::string writeMat(const std::vector<PontoMaterial>& pontos)
{
    std::vector<std::string> linhas;
    linhas.reserve(pontos.size());
    for (std::size_t i = 0; i < pontos.size(); ++i)
        linhas.push_back(linhaPonto(static_cast<int>(i + 1), pontos[i]));
    return writeMatRows(linhas);
}

Status saveMat(const std::string& path, const std::vector<PontoMaterial>& pontos)
{
    return common::writeFileAtomically(path, writeMat(pontos));
}

Status saveMatRows(const std::string& path, const std::vector<std::string>& linhas)
{
    return common::writeFileAtomically(path, writeMatRows(linhas));
}

Status criaArquivoMaterial(const std::string& path)
{
    return common::writeFileAtomically(path, NovoArquivoMaterial);
}

std::string nomeArquivoMaterial(std::string_view nome)
{
    // Only the file's own name is lowered: the folders of a full path keep their case, which
    // matters where names are case-sensitive.
    const std::size_t slash = nome.find_last_of("/\\");
    const std::size_t start = slash == std::string_view::npos ? 0 : slash + 1;
    std::string name = std::string(nome.substr(0, start)) + lowered(nome.substr(start));
    if (name.find(".mat", start) == std::string::npos)
        name += ".mat";
    return name;
}

std::string arquivoMaterialExistente(std::string_view nome)
{
    const std::string lower = nomeArquivoMaterial(nome);
    if (existe(lower))
        return lower;
    std::string asGiven(nome);
    if (lowered(asGiven).find(".mat") == std::string::npos)
        asGiven += ".mat";
    return existe(asGiven) ? asGiven : lower;
}

std::string perguntaCriaArquivo(std::string_view nome)
{
    std::string question(msg::CriaArquivoInicio);
    question += nome;
    question += msg::CriaArquivoFim;
    return question;
}

} // namespace tarvex::materials
