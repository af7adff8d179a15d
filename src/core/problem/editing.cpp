#include "problem/editing.h"

#include "common/messages.h"
#include "geometry/helpers.h"
#include "problem/problem_data.h"
#include "problem/region_locator.h"

#include <algorithm>
#include <cmath>

namespace tarvex::problem {

using geometry::coincide;

namespace {

bool eletrica(AnalysisType tipoAnalise)
{
    return tipoAnalise == AnalysisType::Electric;
}

const IndiceContorno& indice(const ProblemData& data)
{
    if (!data.indiceContorno.valePara(
            data.poolSegmentos, data.contornoExterno, data.pontosContorno))
        data.indiceContorno.construir(
            data.poolSegmentos, data.contornoExterno, data.pontosContorno);
    return data.indiceContorno;
}

template <typename T, typename Pred> void removeSe(common::FrontList<T>& lista, Pred pred)
{
    for (std::size_t i = lista.size(); i-- > 0;)
        if (pred(lista.at(i)))
            lista.eraseAt(i);
}

} // namespace

// ---- Picking -----------------------------------------------------------------------------------

Status regiaoSobPonto(const ProblemData& data, const Ponto& p, int& posicao)
{
    const int encontrada = data.regiaoQueContem(p);
    if (encontrada < 2)
        return Status::failure(msg::PontoForaDominio);
    posicao = encontrada;
    return Status::success();
}

std::optional<std::size_t> segmentoMaisProximo(const ProblemData& data, const Ponto& p)
{
    return indice(data).segmentos().maisProximo(
        p, [&](std::size_t i) { return distanciaElemento(data.poolSegmentos[i], p); });
}

std::optional<std::size_t> segmentoExternoMaisProximo(const ProblemData& data, const Ponto& p)
{
    return indice(data).externos().maisProximo(
        p, [&](std::size_t i) { return distanciaElemento(data.contornoExterno[i], p); });
}

std::optional<std::size_t> pontoContornoMaisProximo(const ProblemData& data, const Ponto& p)
{
    return indice(data).pontos().maisProximo(
        p, [&](std::size_t i) { return geometry::distancia(data.pontosContorno[i], p); });
}

// ---- Regions -------------------------------------------------------------------------------

ValoresRegiao valoresDaRegiao(const Regiao& regiao, AnalysisType tipoAnalise)
{
    ValoresRegiao v;
    if (eletrica(tipoAnalise)) {
        v.densidade = regiao.densCargas;
        v.permeabilidade = regiao.permissividadeRelativa;
    } else {
        v.densidade = regiao.densCorrente;
        v.condutividade = regiao.condutividade;
        v.brX = regiao.brX;
        v.brY = regiao.brY;
        v.brT = regiao.brT;
        v.brR = regiao.brR;
        v.permeabilidade = regiao.permRelativa;
    }
    v.linear = regiao.linear != 0;
    v.arquivoMaterial = regiao.arquivoMaterial;
    return v;
}

ValoresRegiao valoresDaSelecao(const Regiao& clicada, AnalysisType tipoAnalise)
{
    ValoresRegiao v;
    if (eletrica(tipoAnalise)) {
        v.permeabilidade = clicada.permissividadeRelativa;
        v.densidade = clicada.densCargas;
    } else {
        v.permeabilidade = clicada.permRelativa;
    }
    return v;
}

Status validaValoresRegiao(const ValoresRegiao& v)
{
    // Also refuses NaN, which no comparison lets through.
    if (!(v.permeabilidade >= PermMinima && v.permeabilidade <= PermMaxima))
        return Status::failure(msg::PermRelativaFora);
    for (const double x : { v.densidade, v.condutividade, v.brX, v.brY, v.brT, v.brR })
        if (!std::isfinite(x))
            return Status::failure(msg::ValorInvalido);
    if (!v.linear && v.arquivoMaterial.empty())
        return Status::failure(msg::InformeArquivoMaterial);
    return Status::success();
}

void aplicaValoresRegiao(Regiao& regiao, const ValoresRegiao& v, AnalysisType tipoAnalise)
{
    regiao.arquivoMaterial = v.arquivoMaterial;
    regiao.linear = v.linear ? 1 : 0;
    if (eletrica(tipoAnalise)) {
        regiao.densCargas = v.densidade;
        regiao.permissividadeRelativa = v.permeabilidade;
        return;
    }
    regiao.densCorrente = v.densidade;
    regiao.permRelativa = v.permeabilidade;
    regiao.condutividade = v.condutividade;
    regiao.brX = v.brX;
    regiao.brY = v.brY;
    regiao.brT = v.brT;
    regiao.brR = v.brR;
}

Status editaRegioes(ProblemData& data, const std::vector<int>& posicoes, const ValoresRegiao& v)
{
    if (const Status s = validaValoresRegiao(v); !s)
        return s;
    for (const int posicao : posicoes)
        if (Regiao* regiao = data.regiaoNaPosicao(posicao))
            aplicaValoresRegiao(*regiao, v, data.tipoAnalise);
    return Status::success();
}

void defineAnalise(ProblemData& data, AnalysisType tipoAnalise)
{
    data.tipoAnalise = eletrica(tipoAnalise) ? AnalysisType::Electric : AnalysisType::Magnetic;
}

// ---- Imposed potentials --------------------------------------------------------------------

void removePotenciais(ProblemData& data)
{
    data.segmentosPotencial.clear();
    data.potenciaisPonto.clear();
}

void potencialContornoExterno(ProblemData& data, double valor)
{
    if (data.regioes.empty())
        return;
    for (SegmentoContorno& s : data.regioes.at(0).segmentos.inListOrder()) {
        s.potencial = valor;
        data.segmentosPotencial.pushFront(s);
    }
    for (SegmentoContorno& s : data.contornoExterno)
        s.potencial = valor;
}

std::vector<SegmentoContorno> trechoContornoExterno(
    const ProblemData& data, std::size_t primeiro, std::size_t ultimo)
{
    std::vector<SegmentoContorno> trecho;
    const std::size_t n = data.contornoExterno.size();
    if (primeiro >= n || ultimo >= n)
        return trecho;
    for (std::size_t i = primeiro;; i = (i + 1) % n) {
        trecho.push_back(data.contornoExterno[i]);
        if (i == ultimo)
            break;
    }
    return trecho;
}

void potencialTrechoExterno(
    ProblemData& data, std::size_t primeiro, std::size_t ultimo, double valor)
{
    for (SegmentoContorno s : trechoContornoExterno(data, primeiro, ultimo)) {
        s.potencial = valor;
        data.segmentosPotencial.pushBack(s);
    }
}

std::optional<std::size_t> potencialDoSegmento(const ProblemData& data, const SegmentoContorno& s)
{
    for (std::size_t i = 0; i < data.segmentosPotencial.size(); ++i)
        if (iguais(data.segmentosPotencial.at(i), s))
            return i;
    return std::nullopt;
}

void acrescentaSemRepetir(std::vector<SegmentoContorno>& selecao, const SegmentoContorno& s)
{
    if (std::none_of(selecao.begin(), selecao.end(),
            [&](const SegmentoContorno& t) { return iguais(t, s); }))
        selecao.push_back(s);
}

void impoePotencialSegmentos(
    ProblemData& data, const std::vector<SegmentoContorno>& selecao, double valor)
{
    for (const SegmentoContorno& escolhido : selecao) {
        SegmentoContorno copia = escolhido;
        copia.potencial = valor;
        bool havia = false;
        for (SegmentoContorno& s : data.segmentosPotencial.inListOrder()) {
            if (iguais(s, escolhido)) {
                s = copia;
                havia = true;
            }
        }
        if (!havia)
            data.segmentosPotencial.pushFront(copia);
    }
}

void eliminaPotencialSegmentos(ProblemData& data, const std::vector<SegmentoContorno>& selecao)
{
    for (const SegmentoContorno& escolhido : selecao)
        removeSe(data.segmentosPotencial,
            [&](const SegmentoContorno& s) { return iguais(s, escolhido); });
}

std::optional<std::size_t> potencialDoPonto(const ProblemData& data, const Ponto& p)
{
    for (std::size_t i = 0; i < data.potenciaisPonto.size(); ++i) {
        const PotencialPonto& r = data.potenciaisPonto.at(i);
        if (coincide({ r.x, r.y }, p))
            return i;
    }
    return std::nullopt;
}

void impoePotencialPonto(ProblemData& data, const Ponto& p, double valor)
{
    if (const auto i = potencialDoPonto(data, p)) {
        data.potenciaisPonto.at(*i).potencial = valor;
        return;
    }
    data.potenciaisPonto.pushFront({ p.x, p.y, valor });
}

bool eliminaPotencialPonto(ProblemData& data, const Ponto& p)
{
    const auto i = potencialDoPonto(data, p);
    if (!i)
        return false;
    data.potenciaisPonto.eraseAt(*i);
    return true;
}

// ---- Symmetry ------------------------------------------------------------------------------

bool perguntaTrocaSimetria(const ProblemData& data, SymmetryKind tipo)
{
    const SymmetryKind outro
        = tipo == SymmetryKind::Symmetry ? SymmetryKind::AntiSymmetry : SymmetryKind::Symmetry;
    return !data.segmentosSimetria.empty() && data.tipoSimetria == outro;
}

std::string_view textoTrocaSimetria(SymmetryKind tipo)
{
    return tipo == SymmetryKind::Symmetry ? std::string_view("Troca simetria para  XY")
                                          : std::string_view("Troca simetria para ANTI-XY");
}

void trocaSimetria(ProblemData& data, SymmetryKind tipo)
{
    data.tipoSimetria = tipo;
}

void deletaSimetria(ProblemData& data)
{
    data.segmentosSimetria.clear();
}

void acrescentaSimetria(ProblemData& data, const SegmentoContorno& s, SymmetryKind tipo)
{
    data.tipoSimetria = tipo;
    for (const SegmentoContorno& t : data.segmentosSimetria.inListOrder())
        if (iguais(t, s))
            return;
    SegmentoContorno copia = s;
    copia.potencial = 0.0;
    data.segmentosSimetria.pushFront(copia);
}

void removeSimetria(ProblemData& data)
{
    data.segmentosSimetria.clear();
    data.tipoSimetria = SymmetryKind::None;
}

// ---- Special regions and areas --------------------------------------------------------------

Status defineRegiaoEspecial(ProblemData& data, const Ponto& p)
{
    int posicao = 0;
    if (const Status s = regiaoSobPonto(data, p, posicao); !s)
        return s;
    for (const std::int16_t r : data.regioesEspeciais.inListOrder())
        if (r == posicao)
            return Status::success();
    data.regioesEspeciais.pushFront(static_cast<std::int16_t>(posicao));
    return Status::success();
}

std::optional<std::size_t> areaEspecialSobPonto(const ProblemData& data, const Ponto& p)
{
    for (std::size_t i = 0; i < data.areasEspeciais.size(); ++i)
        if (contemPonto(poligonoDoContorno(data.areasEspeciais.at(i).segmentos), p))
            return i;
    return std::nullopt;
}

Status removeEspecial(ProblemData& data, const Ponto& p)
{
    if (const auto area = areaEspecialSobPonto(data, p)) {
        data.areasEspeciais.eraseAt(*area);
        return Status::success();
    }
    const int posicao = data.regiaoQueContem(p);
    bool removida = false;
    if (posicao >= 2) {
        removeSe(data.regioesEspeciais, [&](std::int16_t r) {
            const bool igual = r == posicao;
            removida = removida || igual;
            return igual;
        });
    }
    return removida ? Status::success() : Status::failure(msg::PontoForaDominio);
}

std::array<Ponto, 4> ordenaCantos(const Ponto& a, const Ponto& b)
{
    const double x0 = std::min(a.x, b.x), x1 = std::max(a.x, b.x);
    const double y0 = std::min(a.y, b.y), y1 = std::max(a.y, b.y);
    return { Ponto { x0, y0 }, Ponto { x1, y0 }, Ponto { x1, y1 }, Ponto { x0, y1 } };
}

Status defineArea(ProblemData& data, const Ponto& a, const Ponto& b)
{
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y)
        || a.x == b.x || a.y == b.y)
        return Status::failure(msg::AreaVazia);
    const std::array<Ponto, 4> cantos = ordenaCantos(a, b);
    Regiao area;
    for (std::size_t i = 0; i < 4; ++i)
        area.segmentos.pushBack(SegmentoContorno::reta(cantos[i], cantos[(i + 1) % 4]));
    data.cantosArea = cantos;
    data.areasEspeciais.pushBack(std::move(area));
    return Status::success();
}

// ---- Settings ------------------------------------------------------------------------------

Status defineTolerancias(ProblemData& data, double toleranciaArcos, double anguloArco)
{
    if (!(toleranciaArcos >= 1e-12 && toleranciaArcos <= 1e12))
        return Status::failure(msg::ToleranciaArcosFora);
    if (!(anguloArco >= 0.5 && anguloArco <= 60.0))
        return Status::failure(msg::AnguloArcoFora);
    data.toleranciaArcos = toleranciaArcos;
    data.anguloArco = anguloArco;
    return Status::success();
}

Status defineFatorEscala(ProblemData& data, double fator)
{
    if (!(fator > 0.0) || !std::isfinite(fator))
        return Status::failure(msg::FatorEscalaInvalido);
    data.fatorEscala = fator;
    return Status::success();
}

} // namespace tarvex::problem
