#include "problem/dat_paint.h"

#include "paint/canvas.h"
#include "paint/paint_mesh.h"
#include "problem/problem_data.h"

using tarvex::paint::Canvas;
using tarvex::problem::ProblemData;
using tarvex::problem::SegmentoContorno;

namespace {
constexpr int Solido = 0;
constexpr int Tracejado = 1;
} // namespace

void desenhaCondicoesContorno(Canvas& canvas, const ProblemData& data)
{
    for (const SegmentoContorno& s : data.segmentosPotencial.inListOrder())
        canvas.desenhaElemento(corDat::PotencialSegmento, 3, Solido, s);
    if (data.tipoSimetria != tarvex::problem::SymmetryKind::None) {
        const auto cor = data.tipoSimetria == tarvex::problem::SymmetryKind::AntiSymmetry
            ? corDat::AntiSimetria
            : corDat::Simetria;
        for (const SegmentoContorno& s : data.segmentosSimetria.inListOrder())
            canvas.desenhaElemento(cor, 3, Tracejado, s);
    }
    for (const tarvex::problem::PotencialPonto& p : data.potenciaisPonto.inListOrder()) {
        canvas.desenhaMarcador(corDat::PotencialPonto, Solido, 2, { p.x, p.y });
        canvas.desenhaPonto(corDat::PotencialPonto, 1, { p.x, p.y });
    }
}

void desenhaEspeciais(Canvas& canvas, const ProblemData& data)
{
    for (const std::int16_t posicao : data.regioesEspeciais.inListOrder()) {
        // A position beyond the regions (from a damaged file) marks nothing.
        if (posicao < 1 || static_cast<std::size_t>(posicao) > data.regioes.size())
            continue;
        for (const SegmentoContorno& s : data.regiaoNaPosicao(posicao)->segmentos.inListOrder())
            canvas.desenhaElemento(corDat::Especial, 2, Solido, s);
    }
    for (const tarvex::problem::Regiao& area : data.areasEspeciais.inListOrder())
        for (const SegmentoContorno& s : area.segmentos.inListOrder())
            canvas.desenhaElemento(corDat::Especial, 2, Tracejado, s);
}

bool desenhaMalha(Canvas& canvas, const ProblemData& data)
{
    return tarvex::paint::paintMesh(canvas, data);
}

void destacaRegiao(Canvas& canvas, const tarvex::problem::Regiao& regiao)
{
    for (const SegmentoContorno& s : regiao.segmentos.inListOrder())
        canvas.desenhaElemento(corDat::Selecao, 3, Solido, s);
}

void destacaSegmento(Canvas& canvas, const SegmentoContorno& s)
{
    canvas.desenhaElemento(corDat::Selecao, 4, Solido, s);
}
