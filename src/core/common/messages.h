#pragma once

#include <string_view>

/// Every text a user can see from the core. The Portuguese texts are the system's own and are
/// kept exactly, blanks included.
namespace tarvex::msg {

// Files in general
inline constexpr std::string_view CannotOpenFile = " Não é possível abrir o arquivo !";
inline constexpr std::string_view CannotWriteFile = " Não é possível gravar o arquivo !";
inline constexpr std::string_view FileTooLarge = " Arquivo grande demais para ser lido !";

// Drawing files
inline constexpr std::string_view DesVersionError = " Não é possível ler arquivo: erro de versão !";
inline constexpr std::string_view DesTruncated =
    " Não é possível ler arquivo: o arquivo termina antes do esperado !";
inline constexpr std::string_view DesBadCount =
    " Não é possível ler arquivo: quantidade de registros inválida !";
inline constexpr std::string_view DesBadScale =
    " Não é possível ler arquivo: fator de escala inválido !";
inline constexpr std::string_view DesBadCoordinate =
    " Não é possível ler arquivo: coordenada inválida !";
inline constexpr std::string_view PreBadNumber =
    " Não é possível ler arquivo: número inválido !";
inline constexpr std::string_view PreBadIndex =
    " Não é possível ler arquivo: elemento com ponto ou centro inexistente !";
inline constexpr std::string_view UnknownFileType =
    " Este tipo de arquivo ainda não pode ser aberto !";

// Export of a drawing to problem data
inline constexpr std::string_view ErroContorno = " Erro na formação do Contorno";
inline constexpr std::string_view ErroRegioes = " Erro na formação das Regioes";
inline constexpr std::string_view SemContornos =
    " Não há contornos fechados no desenho: nada foi exportado !";
inline constexpr std::string_view DesenhoComplexoDemais =
    " Desenho com cruzamentos demais para exportar !";

// Graph and materials files
inline constexpr std::string_view GrpVersionError = " Não é possível ler arquivo: erro de versão !";
inline constexpr std::string_view GrpTruncated =
    " Não é possível ler arquivo: o arquivo termina antes do esperado !";
inline constexpr std::string_view GrpBadCount =
    " Não é possível ler arquivo: quantidade de registros inválida !";
inline constexpr std::string_view GrpUnequalCurve =
    " Não é possível ler arquivo: curva com quantidades diferentes de abscissas e ordenadas !";
inline constexpr std::string_view GrpBadValue = " Não é possível ler arquivo: valor inválido !";
inline constexpr std::string_view SoUmaCurva = " Só há uma curva. Operação cancelada !";
inline constexpr std::string_view MatBadCount =
    " Arquivo de materiais: número de pontos inválido !";
inline constexpr std::string_view MatBadNumber = " Arquivo de materiais: número inválido !";
inline constexpr std::string_view MatTooFewPoints =
    " Arquivo de materiais com menos pontos do que o informado !";
inline constexpr std::string_view InformeArquivoMaterial =
    "Informe o nome do arquivo de materiais !";
/// The question is this text, the file name and CriaArquivoFim.
inline constexpr std::string_view CriaArquivoInicio = "Arquivo não existe ! Cria arquivo ";
inline constexpr std::string_view CriaArquivoFim = " ?";
inline constexpr std::string_view CriaArquivoNovo = " Arquivo não existe ! Cria arquivo novo ??";

} // namespace tarvex::msg
