#include "cli_common.h"
#include "op_reader.h"
#include "verbs.h"

#include "common/messages.h"
#include "problem/dat_io.h"
#include "problem/editing.h"
#include "problem/problem_data.h"

#include <string>
#include <vector>

namespace tarvex::cli {
namespace {

using problem::ProblemData;

const char* const EditUsage
    = "usage: tarvex-cli edit IN.dat OUT.dat OPS...\n"
      "  --analysis magnetic|electric      --scale F\n"
      "  --region X,Y KEY=VALUE...         keys: J rho mu_r eps_r sigma brx bry brt brr\n"
      "                                     linear=0|1 mat=PATH\n"
      "  --outer-potential V               --outer-run X1,Y1 X2,Y2 V\n"
      "  --segment-potential X,Y V         --remove-segment-potential X,Y\n"
      "  --point-potential X,Y V           --remove-point-potential X,Y\n"
      "  --clear-potentials                --symmetry X,Y   --antisymmetry X,Y\n"
      "  --remove-symmetry                 --special-region X,Y   --remove-special X,Y\n"
      "  --special-area X1,Y1,X2,Y2\n"
      "A point is X,Y or two numbers.";

struct Execucao {
    ProblemData& data;
    Leitor& leitor;
    Status recusa = Status::success();

    Resultado recusado(const Status& s)
    {
        recusa = s;
        return Resultado::Recusado;
    }

    Resultado regiao()
    {
        problem::Ponto p;
        if (!leitor.ponto(p, "--region"))
            return Resultado::Uso;
        int posicao = 0;
        if (const Status s = problem::regiaoSobPonto(data, p, posicao); !s)
            return recusado(s);
        const bool eletrica = data.tipoAnalise == problem::AnalysisType::Electric;
        problem::ValoresRegiao v
            = problem::valoresDaRegiao(*data.regiaoNaPosicao(posicao), data.tipoAnalise);
        while (leitor.temValor()) {
            const std::string par = leitor.proxima();
            const std::size_t igual = par.find('=');
            if (igual == std::string::npos)
                return leitor.erro("expected KEY=VALUE after --region, got " + par), Resultado::Uso;
            const std::string chave = par.substr(0, igual);
            const std::string valor = par.substr(igual + 1);
            if (chave == "mat") {
                v.arquivoMaterial = valor;
                continue;
            }
            double x = 0.0;
            if (!parseNumber(valor, x))
                return leitor.erro("bad number in " + par), Resultado::Uso;
            // Only the fields the region dialog writes back for the analysis type.
            const auto soMagnetica = [&] {
                return eletrica
                    ? (leitor.erro(chave + " is not used in an electric analysis"), false)
                    : true;
            };
            const auto soEletrica = [&] {
                return eletrica
                    ? true
                    : (leitor.erro(chave + " is not used in a magnetic analysis"), false);
            };
            if (chave == "J") {
                if (!soMagnetica())
                    return Resultado::Uso;
                v.densidade = x;
            } else if (chave == "rho") {
                if (!soEletrica())
                    return Resultado::Uso;
                v.densidade = x;
            } else if (chave == "mu_r") {
                if (!soMagnetica())
                    return Resultado::Uso;
                v.permeabilidade = x;
            } else if (chave == "eps_r") {
                if (!soEletrica())
                    return Resultado::Uso;
                v.permeabilidade = x;
            } else if (chave == "sigma" || chave == "brx" || chave == "bry" || chave == "brt"
                || chave == "brr") {
                if (!soMagnetica())
                    return Resultado::Uso;
                double& campo = chave == "sigma" ? v.condutividade
                    : chave == "brx"             ? v.brX
                    : chave == "bry"             ? v.brY
                    : chave == "brt"             ? v.brT
                                                 : v.brR;
                campo = x;
            } else if (chave == "linear") {
                if (x != 0.0 && x != 1.0)
                    return leitor.erro("linear takes 0 or 1"), Resultado::Uso;
                v.linear = x != 0.0;
            } else {
                return leitor.erro("unknown region key: " + chave), Resultado::Uso;
            }
        }
        if (const Status s = problem::editaRegioes(data, { posicao }, v); !s)
            return recusado(s);
        return Resultado::Feito;
    }

    Resultado segmento(const char* opcao, std::size_t& indice)
    {
        problem::Ponto p;
        if (!leitor.ponto(p, opcao))
            return Resultado::Uso;
        const auto i = problem::segmentoMaisProximo(data, p);
        if (!i)
            return recusado(Status::failure(msg::SemSegmentos));
        indice = *i;
        return Resultado::Feito;
    }

    Resultado simetria(const char* opcao, problem::SymmetryKind tipo)
    {
        std::size_t i = 0;
        if (const Resultado r = segmento(opcao, i); r != Resultado::Feito)
            return r;
        // As the view after its question is answered with OK: the segments already there stay
        // and take the new kind.
        if (problem::perguntaTrocaSimetria(data, tipo))
            problem::trocaSimetria(data, tipo);
        problem::acrescentaSimetria(data, data.poolSegmentos[i], tipo);
        return Resultado::Feito;
    }

    Resultado executa(const std::string& opcao)
    {
        double v = 0.0;
        problem::Ponto p, q;
        std::size_t i = 0;
        if (opcao == "--analysis") {
            const std::string tipo = leitor.temValor() ? leitor.proxima() : std::string();
            if (tipo == "magnetic")
                problem::defineAnalise(data, problem::AnalysisType::Magnetic);
            else if (tipo == "electric")
                problem::defineAnalise(data, problem::AnalysisType::Electric);
            else
                return leitor.erro("--analysis takes magnetic or electric"), Resultado::Uso;
            return Resultado::Feito;
        }
        if (opcao == "--region")
            return regiao();
        if (opcao == "--outer-potential") {
            if (!leitor.numero(v, opcao.c_str()))
                return Resultado::Uso;
            problem::potencialContornoExterno(data, v);
            return Resultado::Feito;
        }
        if (opcao == "--outer-run") {
            if (!leitor.ponto(p, "--outer-run") || !leitor.ponto(q, "--outer-run")
                || !leitor.numero(v, "--outer-run"))
                return Resultado::Uso;
            const auto a = problem::segmentoExternoMaisProximo(data, p);
            const auto b = problem::segmentoExternoMaisProximo(data, q);
            if (!a || !b)
                return recusado(Status::failure(msg::SemSegmentos));
            problem::potencialTrechoExterno(data, *a, *b, v);
            return Resultado::Feito;
        }
        if (opcao == "--segment-potential") {
            if (const Resultado r = segmento("--segment-potential", i); r != Resultado::Feito)
                return r;
            if (!leitor.numero(v, "--segment-potential"))
                return Resultado::Uso;
            problem::impoePotencialSegmentos(data, { data.poolSegmentos[i] }, v);
            return Resultado::Feito;
        }
        if (opcao == "--remove-segment-potential") {
            if (const Resultado r = segmento("--remove-segment-potential", i);
                r != Resultado::Feito)
                return r;
            if (!problem::potencialDoSegmento(data, data.poolSegmentos[i]))
                return recusado(Status::failure(msg::SemPotencialSegmento));
            problem::eliminaPotencialSegmentos(data, { data.poolSegmentos[i] });
            return Resultado::Feito;
        }
        if (opcao == "--point-potential" || opcao == "--remove-point-potential") {
            const bool remove = opcao == "--remove-point-potential";
            if (!leitor.ponto(p, opcao.c_str()) || (!remove && !leitor.numero(v, opcao.c_str())))
                return Resultado::Uso;
            const auto k = problem::pontoContornoMaisProximo(data, p);
            if (!k)
                return recusado(Status::failure(msg::SemSegmentos));
            const problem::Ponto alvo = data.pontosContorno[*k];
            if (!remove)
                problem::impoePotencialPonto(data, alvo, v);
            else if (!problem::eliminaPotencialPonto(data, alvo))
                return recusado(Status::failure(msg::SemPotencialPonto));
            return Resultado::Feito;
        }
        if (opcao == "--clear-potentials") {
            problem::removePotenciais(data);
            return Resultado::Feito;
        }
        if (opcao == "--symmetry")
            return simetria("--symmetry", problem::SymmetryKind::Symmetry);
        if (opcao == "--antisymmetry")
            return simetria("--antisymmetry", problem::SymmetryKind::AntiSymmetry);
        if (opcao == "--remove-symmetry") {
            problem::removeSimetria(data);
            return Resultado::Feito;
        }
        if (opcao == "--special-region" || opcao == "--remove-special") {
            if (!leitor.ponto(p, opcao.c_str()))
                return Resultado::Uso;
            const Status s = opcao == "--special-region" ? problem::defineRegiaoEspecial(data, p)
                                                         : problem::removeEspecial(data, p);
            return s ? Resultado::Feito : recusado(s);
        }
        if (opcao == "--special-area") {
            std::vector<double> c;
            if (!leitor.numeros(4, c, "--special-area"))
                return Resultado::Uso;
            const Status s = problem::defineArea(data, { c[0], c[1] }, { c[2], c[3] });
            return s ? Resultado::Feito : recusado(s);
        }
        if (opcao == "--scale") {
            if (!leitor.numero(v, "--scale"))
                return Resultado::Uso;
            const Status s = problem::defineFatorEscala(data, v);
            return s ? Resultado::Feito : recusado(s);
        }
        leitor.erro("unknown operation: " + opcao);
        return Resultado::Uso;
    }
};

} // namespace
} // namespace tarvex::cli

using namespace tarvex;
using namespace tarvex::cli;

int runEdit(const std::vector<std::string>& words)
{
    if (words.size() < 2)
        return usage(EditUsage);
    const std::string& in = words[0];
    const std::string& out = words[1];
    const std::vector<std::string> ops(words.begin() + 2, words.end());

    problem::ProblemData data;
    if (const Status s = problem::openDat(in, data); !s)
        return fail(in, s);

    Leitor leitor(ops);
    Execucao execucao { data, leitor };
    if (const auto saida = aplicaOperacoes(
            leitor, EditUsage, [&](const std::string& opcao) { return execucao.executa(opcao); },
            execucao.recusa))
        return *saida;
    if (const Status s = problem::saveDat(out, data); !s)
        return fail(out, s);
    return 0;
}
