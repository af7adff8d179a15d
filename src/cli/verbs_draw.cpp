#include "cli_common.h"
#include "op_reader.h"
#include "verbs.h"

#include "common/file_io.h"
#include "common/messages.h"
#include "geometry/drawing.h"
#include "geometry/drawing_edit.h"
#include "geometry/drawing_index.h"
#include "geometry/drawing_io.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace tarvex::cli {
namespace {

using geometry::Ponto;

const char* const DrawUsage
    = "usage: tarvex-cli draw IN.des|IN.pre|new OUT.des OPS...\n"
      "  --point X,Y                      --line X1,Y1,X2,Y2\n"
      "  --polar-line X,Y,ANG,DIST        --rect X1,Y1,X2,Y2\n"
      "  --circle X,Y,R                   --arc-angle XC,YC,XP,YP,ANG\n"
      "  --arc-2p XP1,YP1,XP2,YP2,XC,YC   --arc-3p X1,Y1,X2,Y2,X3,Y3\n"
      "  --select-frame X1,Y1,X2,Y2       --select-polar-frame X1,Y1,X2,Y2\n"
      "  --select-point X,Y               --select-segment X,Y\n"
      "  --delete-point X,Y               --delete-selected\n"
      "  --reproduce DX,DY,N              --reproduce-polar DR,DANG,N,XREF,YREF\n"
      "  --move DX,DY                     --move-polar R,T\n"
      "  --scale F\n"
      "Applied in order, as the drawing view's keyboard and mouse commands; angles in degrees.\n"
      "A point click (select, delete) snaps to the nearest point of the drawing. "
      "--delete-selected\n"
      "deletes the selected segments and arcs, and the selected points. \"new\" starts an empty\n"
      "drawing with scale factor 1000.";

struct Execucao {
    geometry::DrawingData& d;
    Leitor& leitor;
    geometry::SelecaoDesenho sel;
    geometry::Alteracoes alt; // not undone here; the editing functions record into it anyway
    Status recusa = Status::success();

    Resultado conclui(const Status& s)
    {
        if (s)
            return Resultado::Feito;
        recusa = s;
        return Resultado::Recusado;
    }

    /// A repetition count: a whole number that fits an int.
    bool contagem(double v, int& n)
    {
        if (v != std::floor(v) || v < -2e9 || v > 2e9)
            return leitor.erro("N must be a whole number");
        n = static_cast<int>(v);
        return true;
    }

    /// The point of the drawing nearest a click, for the commands that snap.
    Ponto pontoMaisPerto(const Ponto& clique) const
    {
        const auto posicao = geometry::pontoMaisPertoLinear(d, clique);
        return posicao ? d.pontos.at(*posicao) : Ponto {};
    }

    Resultado executa(const std::string& opcao)
    {
        std::vector<double> v;
        const auto ler = [&](std::size_t n) { return leitor.numeros(n, v, opcao); };
        namespace g = geometry;
        namespace modo = geometry::modo;

        if (opcao == "--point") {
            if (!ler(2))
                return Resultado::Uso;
            g::inserePonto(d, { v[0], v[1] }, alt);
            return Resultado::Feito;
        }
        if (opcao == "--line") {
            if (!ler(4))
                return Resultado::Uso;
            return conclui(g::insereReta(d, sel, { v[0], v[1] }, { v[2], v[3] }, false, alt));
        }
        if (opcao == "--polar-line") {
            if (!ler(4))
                return Resultado::Uso;
            return conclui(
                g::insereRetaPolar(d, sel, { v[0], v[1] }, v[2], v[3], false, false, alt));
        }
        if (opcao == "--rect") {
            if (!ler(4))
                return Resultado::Uso;
            return conclui(g::insereRetangulo(d, sel, { v[0], v[1] }, { v[2], v[3] }, alt));
        }
        if (opcao == "--circle") {
            if (!ler(3))
                return Resultado::Uso;
            return conclui(g::insereCircunferencia(d, { v[0], v[1] }, v[2], alt));
        }
        if (opcao == "--arc-angle") {
            if (!ler(5))
                return Resultado::Uso;
            return conclui(g::insereArcoAngulo(d, { v[0], v[1] }, { v[2], v[3] }, v[4], alt));
        }
        if (opcao == "--arc-2p") {
            if (!ler(6))
                return Resultado::Uso;
            return conclui(
                g::insereArco2Pontos(d, { v[0], v[1] }, { v[2], v[3] }, { v[4], v[5] }, alt));
        }
        if (opcao == "--arc-3p") {
            if (!ler(6))
                return Resultado::Uso;
            return conclui(
                g::insereArco3Pontos(d, { v[0], v[1] }, { v[2], v[3] }, { v[4], v[5] }, alt));
        }
        if (opcao == "--select-frame" || opcao == "--select-polar-frame") {
            if (!ler(4))
                return Resultado::Uso;
            const bool polar = opcao == "--select-polar-frame";
            if (const Status s = g::verificaModo(
                    d, sel, polar ? modo::SelecionaRegiaoPolar : modo::SelecionaRegiao);
                !s)
                return conclui(s);
            if (polar)
                g::selecionaRegiaoPolar(d, sel, { v[0], v[1] }, { v[2], v[3] });
            else
                g::selecionaRegiao(d, sel, { v[0], v[1] }, { v[2], v[3] });
            return Resultado::Feito;
        }
        if (opcao == "--select-point") {
            if (!ler(2))
                return Resultado::Uso;
            if (const Status s = g::verificaModo(d, sel, modo::SelecionaPonto); !s)
                return conclui(s);
            return conclui(g::selecionaPonto(sel, pontoMaisPerto({ v[0], v[1] })).status);
        }
        if (opcao == "--select-segment") {
            if (!ler(2))
                return Resultado::Uso;
            if (const Status s = g::verificaModo(d, sel, modo::SelecionaSegmento); !s)
                return conclui(s);
            const auto escolhida = g::entidadeMaisPertoLinear(d, { v[0], v[1] });
            if (escolhida)
                return conclui(g::selecionaEntidade(d, sel, *escolhida).status);
            return Resultado::Feito;
        }
        if (opcao == "--delete-point") {
            if (!ler(2))
                return Resultado::Uso;
            if (const Status s = g::verificaModo(d, sel, modo::ExcluiPontos); !s)
                return conclui(s);
            const auto posicao = g::pontoMaisPertoLinear(d, { v[0], v[1] });
            return conclui(posicao ? g::excluiPonto(d, sel, *posicao, alt) : Status::success());
        }
        if (opcao == "--delete-selected") {
            const bool haPontos = !sel.pontos.empty();
            if (sel.segmentos.empty() && sel.arcos.empty() && !haPontos)
                return conclui(Status::failure(msg::SemSegmentosApagar));
            if (haPontos)
                g::excluiPontosSelecionados(d, sel, alt);
            if (!sel.segmentos.empty() || !sel.arcos.empty())
                return conclui(g::excluiSegmentosSelecionados(d, sel, alt));
            return Resultado::Feito;
        }
        if (opcao == "--reproduce") {
            int n = 0;
            if (!ler(3) || !contagem(v[2], n))
                return Resultado::Uso;
            return conclui(g::reproduzLinear(d, sel, v[0], v[1], n, alt));
        }
        if (opcao == "--reproduce-polar") {
            int n = 0;
            if (!ler(5) || !contagem(v[2], n))
                return Resultado::Uso;
            return conclui(g::reproduzPolar(d, sel, v[0], v[1], n, { v[3], v[4] }, alt));
        }
        if (opcao == "--move") {
            if (!ler(2))
                return Resultado::Uso;
            return conclui(g::deslocaLinear(d, sel, v[0], v[1], alt));
        }
        if (opcao == "--move-polar") {
            if (!ler(2))
                return Resultado::Uso;
            return conclui(g::deslocaPolar(d, sel, v[0], v[1], alt));
        }
        if (opcao == "--scale") {
            if (!ler(1))
                return Resultado::Uso;
            if (!(v[0] > 0.0))
                return conclui(Status::failure(msg::FatorEscalaInvalido));
            d.fatorEscala = v[0];
            return Resultado::Feito;
        }
        leitor.erro("unknown operation: " + opcao);
        return Resultado::Uso;
    }
};

} // namespace
} // namespace tarvex::cli

using namespace tarvex;
using namespace tarvex::cli;

int runDraw(const std::vector<std::string>& words)
{
    if (words.size() < 2)
        return usage(DrawUsage);
    const std::string& in = words[0];
    const std::string& out = words[1];
    const std::vector<std::string> ops(words.begin() + 2, words.end());

    geometry::DrawingData drawing;
    if (in != "new") {
        const std::string extension = common::extensionOf(in);
        if (extension != "des" && extension != "pre")
            return fail(in, Status::failure(msg::UnknownFileType));
        if (const Status s = geometry::openDrawing(in, extension, drawing); !s)
            return fail(in, s);
    }

    Leitor leitor(ops);
    Execucao execucao { drawing, leitor, {}, {} };
    if (const auto saida = aplicaOperacoes(
            leitor, DrawUsage, [&](const std::string& opcao) { return execucao.executa(opcao); },
            execucao.recusa))
        return *saida;
    std::string written;
    if (const Status s = geometry::saveDrawing(out, drawing, &written); !s)
        return fail(out, s);
    if (written != out)
        std::fprintf(stderr, "written as %s\n", written.c_str());
    return 0;
}
