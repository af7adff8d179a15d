#include "op_reader.h"

#include "cli_common.h"

#include <cstdio>

namespace tarvex::cli {

Leitor::Leitor(const std::vector<std::string>& palavras)
    : m_palavras(palavras)
{
}

bool Leitor::temValor() const
{
    return !fim() && m_palavras[m_pos].rfind("--", 0) != 0;
}

bool Leitor::numero(double& v, const std::string& oQue)
{
    if (!temValor() || !parseNumber(m_palavras[m_pos], v))
        return erro("expected a number for " + oQue);
    ++m_pos;
    return true;
}

bool Leitor::numeros(std::size_t quantos, std::vector<double>& v, const std::string& oQue)
{
    v.clear();
    while (v.size() < quantos) {
        if (!temValor())
            return erro("expected " + std::to_string(quantos) + " numbers for " + oQue);
        const std::string& palavra = m_palavras[m_pos++];
        std::size_t inicio = 0;
        for (;;) {
            const std::size_t virgula = palavra.find(',', inicio);
            double x = 0.0;
            if (!parseNumber(palavra.substr(inicio, virgula - inicio), x) || v.size() >= quantos)
                return erro("bad number list for " + oQue + ": " + palavra);
            v.push_back(x);
            if (virgula == std::string::npos)
                break;
            inicio = virgula + 1;
        }
    }
    return true;
}

bool Leitor::ponto(geometry::Ponto& p, const std::string& oQue)
{
    std::vector<double> v;
    if (!numeros(2, v, oQue))
        return false;
    p = { v[0], v[1] };
    return true;
}

bool Leitor::erro(const std::string& texto)
{
    if (m_erro.empty())
        m_erro = texto;
    return false;
}

std::optional<int> aplicaOperacoes(Leitor& leitor, const char* uso,
    const std::function<Resultado(const std::string& opcao)>& executa, const Status& recusa)
{
    while (!leitor.fim()) {
        const std::string opcao = leitor.proxima();
        switch (executa(opcao)) {
        case Resultado::Feito:
            break;
        case Resultado::Recusado:
            // The message the view would show; nothing is written.
            std::fprintf(stderr, "%s: %s\n", opcao.c_str(), std::string(recusa.message).c_str());
            return 1;
        case Resultado::Uso:
            return usage(leitor.erro().empty() ? std::string(uso) : leitor.erro() + "\n" + uso);
        }
    }
    return std::nullopt;
}

} // namespace tarvex::cli
