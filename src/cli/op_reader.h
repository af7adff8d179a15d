#pragma once

#include "common/status.h"
#include "geometry/records.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tarvex::cli {

/// Reads the operations of an editing verb ("draw", "edit") one word at a time. The first error
/// is kept as text and ends the run.
class Leitor {
public:
    explicit Leitor(const std::vector<std::string>& palavras);

    bool fim() const { return m_pos >= m_palavras.size(); }
    const std::string& proxima() { return m_palavras[m_pos++]; }
    /// The next word is a value, not the next operation.
    bool temValor() const;

    bool numero(double& v, const std::string& oQue);
    /// Numbers written together as "a,b,..." in one word, or as separate words.
    bool numeros(std::size_t quantos, std::vector<double>& v, const std::string& oQue);
    bool ponto(geometry::Ponto& p, const std::string& oQue);

    /// Keeps the first error; always false, so a reader can `return erro(...)`.
    bool erro(const std::string& texto);
    const std::string& erro() const { return m_erro; }

private:
    const std::vector<std::string>& m_palavras;
    std::size_t m_pos = 0;
    std::string m_erro;
};

/// The result of one operation: done, refused with a fixed message (as the view would show),
/// or an argument problem.
enum class Resultado { Feito, Recusado, Uso };

/// Applies the operations in order. Empty when all were done; otherwise the exit code, after
/// the refusal (`recusa` as `executa` left it) or the usage text was printed.
std::optional<int> aplicaOperacoes(Leitor& leitor, const char* uso,
    const std::function<Resultado(const std::string& opcao)>& executa, const Status& recusa);

} // namespace tarvex::cli
