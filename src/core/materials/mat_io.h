#pragma once

#include "common/status.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex::materials {

class Curva;

/// One point of a materials file: H and B for a magnetic material, E and D for a dielectric.
struct PontoMaterial {
    double campo = 0.0;
    double inducao = 0.0;

    bool operator==(const PontoMaterial&) const = default;
};

/// What a materials file created new holds: one point (0, 0).
inline constexpr std::string_view NovoArquivoMaterial = "1   2\n 0.0 0.0";

/**
 * Reads a .mat text: the point count n, one more number that is not used, and n pairs of
 * numbers, separated by any white space; anything after the n-th pair is ignored. All or nothing:
 * `out` gets the points in file order only on success. A file that holds fewer pairs than it
 * announces is refused (msg::MatTooFewPoints) rather than read as a shorter curve, so a damaged
 * file never passes for a good one. `line` of a failure is the 1-based text line.
 */
Status readMat(std::istream& in, std::vector<PontoMaterial>& out);
Status openMat(const std::string& path, std::vector<PontoMaterial>& out);

/// A curve with x = first values and y = second values, in file order.
Curva curvaMaterial(const std::vector<PontoMaterial>& pontos);

/// The heading of the editor's list.
std::string_view cabecalhoLista(bool eletrico);

/// The editor's row of a point: "%02d %13s %13s" with the 1-based number and both values "%g".
std::string linhaPonto(int numero, const PontoMaterial& ponto);
/// The row after "Atualizar": "%02d %13.16s %13s" with the two texts as typed.
std::string linhaAtualizada(int numero, std::string_view campo, std::string_view inducao);
/// The edit fields' texts when a row is selected: its characters 5 to 20 and 21 to 36 (a short
/// row gives what it has).
void camposDaLinha(std::string_view linha, std::string& campo, std::string& inducao);

/**
 * The file text of the editor's rows: the count, "   2" and a line break, then every row with its
 * first four characters cut off, one per line. The cut never reaches into the first value: a
 * value that fills its whole field keeps its first character (a 13-character "%g" text, such as
 * "-1.23457e-100", would otherwise lose its sign).
 */
std::string writeMatRows(const std::vector<std::string>& linhas);
/// The file text of points, through the rows linhaPonto() makes.
std::string writeMat(const std::vector<PontoMaterial>& pontos);
/// Write without ever leaving a truncated file; a failed write is reported.
Status saveMat(const std::string& path, const std::vector<PontoMaterial>& pontos);
Status saveMatRows(const std::string& path, const std::vector<std::string>& linhas);
/// Creates a new materials file holding one point (0, 0).
Status criaArquivoMaterial(const std::string& path);

/// The materials-file name as the region dialog uses it: lowered to small letters (ASCII and
/// Latin-1 letters), with ".mat" appended when the name does not contain ".mat".
std::string nomeArquivoMaterial(std::string_view nome);
/**
 * The file to open for a name: nomeArquivoMaterial(nome) when that file exists; otherwise the
 * name completed with ".mat" but not lowered, when that one exists (file names are case-sensitive
 * here, so lowering alone could miss a file the user chose); otherwise the lowered name.
 */
std::string arquivoMaterialExistente(std::string_view nome);
/// The question asked before creating a missing materials file.
std::string perguntaCriaArquivo(std::string_view nome);

} // namespace tarvex::materials
