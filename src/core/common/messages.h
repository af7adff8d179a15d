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

} // namespace tarvex::msg
