#include "geometry/drawing_edit.h"

#include "common/messages.h"
#include "geometry/drawing.h"
#include "geometry/helpers.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <type_traits>
#include <unordered_map>

namespace tarvex::geometry {

namespace {

constexpr double ColinearLimite = 1e-8;
constexpr double ZeroLimite = 1e-8;
constexpr double OrigemQuadrado = 1e-8;
/// The most records one reproduction may add: beyond it the user has typed an absurd count, and
/// the drawing would not fit in memory anyway.
constexpr double NovosRegistrosMaximo = 5'000'000.0;
/// Points selected by clicks; the fourth drops the oldest.
constexpr std::size_t PontosSelecionadosMaximo = 3;

std::string formatar(const char* formato, ...) __attribute__((format(printf, 1, 2)));
std::string formatar(const char* formato, ...)
{
    va_list args;
    va_start(args, formato);
    va_list copia;
    va_copy(copia, args);
    const int n = std::vsnprintf(nullptr, 0, formato, copia);
    va_end(copia);
    std::string texto(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    if (n > 0)
        std::vsnprintf(texto.data(), texto.size() + 1, formato, args);
    va_end(args);
    return texto;
}

double radianos(double graus)
{
    return graus * Pi / 180.0;
}

bool arcosIguais(const Arco& a, const Arco& b)
{
    return coincide(a.P1, b.P1) && coincide(a.P2, b.P2) && coincide(a.PC, b.PC);
}

template <typename T> common::FrontList<T>& listaDe(DrawingData& d)
{
    if constexpr (std::is_same_v<T, Ponto>)
        return d.pontos;
    else if constexpr (std::is_same_v<T, Segmento>)
        return d.segmentos;
    else
        return d.arcos;
}

template <typename T>
void reconstruir(common::FrontList<T>& lista, const std::vector<T>& armazenamento)
{
    lista.clear();
    for (const T& r : armazenamento)
        lista.pushFront(r);
}

/**
 * Points bucketed by cells larger than the coincidence distance, so "is there a point that
 * coincides with P" looks at the nine cells about P instead of a whole list.
 */
class GradeCoincidencia {
public:
    void acrescentar(const Ponto& p, std::size_t id)
    {
        m_celulas[chave(celula(p.x), celula(p.y))].push_back(id);
    }

    /// Calls f(id) for every point added whose coordinates `ponto(id)` coincide with p.
    template <typename PontoDe, typename F> void paraCada(const Ponto& p, PontoDe ponto, F f) const
    {
        const std::int64_t cx = celula(p.x);
        const std::int64_t cy = celula(p.y);
        for (std::int64_t dy = -1; dy <= 1; ++dy)
            for (std::int64_t dx = -1; dx <= 1; ++dx) {
                const auto it = m_celulas.find(chave(cx + dx, cy + dy));
                if (it == m_celulas.end())
                    continue;
                for (const std::size_t id : it->second)
                    if (coincide(ponto(id), p))
                        f(id);
            }
    }

private:
    static constexpr double Lado = 1e-3; // ten times the coincidence distance
    static constexpr double ChaveMaxima = 1e15;
    static std::int64_t celula(double v)
    {
        const double f = std::floor(v / Lado);
        if (!(f == f))
            return 0;
        return static_cast<std::int64_t>(std::clamp(f, -ChaveMaxima, ChaveMaxima));
    }
    static std::uint64_t chave(std::int64_t x, std::int64_t y)
    {
        // Cells far apart may share a key; the coincidence test sorts them out.
        return static_cast<std::uint64_t>(x) * 0x9E3779B97F4A7C15ULL
            ^ (static_cast<std::uint64_t>(y) + 0x632BE59BD9B4E019ULL);
    }
    std::unordered_map<std::uint64_t, std::vector<std::size_t>> m_celulas;
};

bool contemCoincidente(
    const GradeCoincidencia& grade, const std::vector<Ponto>& pontos, const Ponto& p)
{
    bool achou = false;
    grade.paraCada(
        p, [&](std::size_t id) { return pontos[id]; }, [&](std::size_t) { achou = true; });
    return achou;
}

/// Runs a command into its own record; when it added a coordinate that overflowed, takes the
/// command back (drawing and selection) and refuses it, otherwise hands its steps on to `alt`.
template <typename Comando>
Status semEstouro(DrawingData& drawing, SelecaoDesenho* selecao, Alteracoes& alt, Comando comando)
{
    const SelecaoDesenho antes = selecao ? *selecao : SelecaoDesenho();
    Alteracoes local;
    const Status s = comando(local);
    if (local.temNaoFinito()) {
        local.desfazer(drawing);
        if (selecao)
            *selecao = antes;
        return Status::failure(msg::CoordenadaForaAlcance);
    }
    alt.anexar(std::move(local));
    return s;
}

} // namespace

// --- Undo record ----------------------------------------------------------------------------

template <typename T> void Alteracoes::registrar(DrawingData& drawing, Tipo tipo, const T& registro)
{
    constexpr Lista lista = std::is_same_v<T, Ponto> ? Lista::Pontos
        : std::is_same_v<T, Segmento>                ? Lista::Segmentos
                                                     : Lista::Arcos;
    if (tipo == Tipo::Frente)
        listaDe<T>(drawing).pushFront(registro);
    else
        listaDe<T>(drawing).pushBack(registro);
    // Consecutive insertions into one list share a step, so a reproduction of thousands of
    // copies costs one step, not thousands.
    if (m_passos.empty() || m_passos.back().tipo != tipo || m_passos.back().lista != lista)
        m_passos.push_back(Passo { tipo, lista, {}, {}, {}, {} });
    Passo& passo = m_passos.back();
    if constexpr (std::is_same_v<T, Ponto>)
        passo.pontos.push_back(registro);
    else if constexpr (std::is_same_v<T, Segmento>)
        passo.segmentos.push_back(registro);
    else
        passo.arcos.push_back(registro);
}

template <typename T>
void Alteracoes::remover(DrawingData& drawing, std::vector<std::size_t> posicoes)
{
    common::FrontList<T>& lista = listaDe<T>(drawing);
    const std::size_t n = lista.size();
    std::vector<std::size_t> armazenamento;
    armazenamento.reserve(posicoes.size());
    for (const std::size_t p : posicoes) {
        TARVEX_ASSERT(p < n);
        if (p < n)
            armazenamento.push_back(n - 1 - p);
    }
    std::sort(armazenamento.begin(), armazenamento.end());
    armazenamento.erase(
        std::unique(armazenamento.begin(), armazenamento.end()), armazenamento.end());
    if (armazenamento.empty())
        return;
    constexpr Lista tipoLista = std::is_same_v<T, Ponto> ? Lista::Pontos
        : std::is_same_v<T, Segmento>                    ? Lista::Segmentos
                                                         : Lista::Arcos;
    Passo passo { Tipo::Remocao, tipoLista, std::move(armazenamento), {}, {}, {} };
    const std::vector<T>& atual = lista.inStorageOrder();
    for (const std::size_t s : passo.armazenamento) {
        if constexpr (std::is_same_v<T, Ponto>)
            passo.pontos.push_back(atual[s]);
        else if constexpr (std::is_same_v<T, Segmento>)
            passo.segmentos.push_back(atual[s]);
        else
            passo.arcos.push_back(atual[s]);
    }
    aplicar<T>(drawing, passo, false);
    m_passos.push_back(std::move(passo));
}

template <typename T>
void Alteracoes::aplicar(DrawingData& drawing, const Passo& passo, bool desfazendo)
{
    common::FrontList<T>& lista = listaDe<T>(drawing);
    const std::vector<T>* registros = nullptr;
    if constexpr (std::is_same_v<T, Ponto>)
        registros = &passo.pontos;
    else if constexpr (std::is_same_v<T, Segmento>)
        registros = &passo.segmentos;
    else
        registros = &passo.arcos;

    switch (passo.tipo) {
    case Tipo::Frente:
    case Tipo::Fim:
        if (!desfazendo) {
            for (const T& r : *registros) {
                if (passo.tipo == Tipo::Frente)
                    lista.pushFront(r);
                else
                    lista.pushBack(r);
            }
        } else {
            for (std::size_t i = 0; i < registros->size() && !lista.empty(); ++i)
                lista.eraseAt(passo.tipo == Tipo::Frente ? 0 : lista.size() - 1);
        }
        return;
    case Tipo::Remocao: {
        const std::vector<T>& atual = lista.inStorageOrder();
        std::vector<T> novo;
        std::size_t k = 0;
        if (!desfazendo) {
            novo.reserve(atual.size() - std::min(atual.size(), passo.armazenamento.size()));
            for (std::size_t s = 0; s < atual.size(); ++s) {
                if (k < passo.armazenamento.size() && passo.armazenamento[k] == s)
                    ++k;
                else
                    novo.push_back(atual[s]);
            }
        } else {
            // Put every record back at the storage index it had.
            novo.reserve(atual.size() + registros->size());
            std::size_t s = 0;
            while (novo.size() < atual.size() + registros->size()) {
                if (k < passo.armazenamento.size() && passo.armazenamento[k] == novo.size())
                    novo.push_back((*registros)[k++]);
                else if (s < atual.size())
                    novo.push_back(atual[s++]);
                else
                    break;
            }
        }
        reconstruir(lista, novo);
        return;
    }
    }
}

void Alteracoes::desfazer(DrawingData& drawing) const
{
    for (auto it = m_passos.rbegin(); it != m_passos.rend(); ++it) {
        switch (it->lista) {
        case Lista::Pontos:
            aplicar<Ponto>(drawing, *it, true);
            break;
        case Lista::Segmentos:
            aplicar<Segmento>(drawing, *it, true);
            break;
        case Lista::Arcos:
            aplicar<Arco>(drawing, *it, true);
            break;
        }
    }
}

void Alteracoes::refazer(DrawingData& drawing) const
{
    for (const Passo& passo : m_passos) {
        switch (passo.lista) {
        case Lista::Pontos:
            aplicar<Ponto>(drawing, passo, false);
            break;
        case Lista::Segmentos:
            aplicar<Segmento>(drawing, passo, false);
            break;
        case Lista::Arcos:
            aplicar<Arco>(drawing, passo, false);
            break;
        }
    }
}

bool Alteracoes::temNaoFinito() const
{
    const auto finito = [](const Ponto& p) { return std::isfinite(p.x) && std::isfinite(p.y); };
    for (const Passo& passo : m_passos) {
        if (passo.tipo == Tipo::Remocao)
            continue;
        for (const Ponto& p : passo.pontos)
            if (!finito(p))
                return true;
        for (const Segmento& x : passo.segmentos)
            if (!finito(x.P1) || !finito(x.P2))
                return true;
        for (const Arco& x : passo.arcos)
            if (!finito(x.P1) || !finito(x.P2) || !finito(x.PC))
                return true;
    }
    return false;
}

void Alteracoes::anexar(Alteracoes&& depois)
{
    for (Passo& passo : depois.m_passos)
        m_passos.push_back(std::move(passo));
    depois.m_passos.clear();
}

void Alteracoes::insere(DrawingData& d, const Ponto& p)
{
    registrar(d, Tipo::Frente, p);
}
void Alteracoes::insere(DrawingData& d, const Segmento& s)
{
    registrar(d, Tipo::Frente, s);
}
void Alteracoes::insere(DrawingData& d, const Arco& a)
{
    registrar(d, Tipo::Frente, a);
}
void Alteracoes::acrescenta(DrawingData& d, const Ponto& p)
{
    registrar(d, Tipo::Fim, p);
}
void Alteracoes::acrescenta(DrawingData& d, const Segmento& s)
{
    registrar(d, Tipo::Fim, s);
}
void Alteracoes::removePontos(DrawingData& d, std::vector<std::size_t> posicoes)
{
    remover<Ponto>(d, std::move(posicoes));
}
void Alteracoes::removeSegmentos(DrawingData& d, std::vector<std::size_t> posicoes)
{
    remover<Segmento>(d, std::move(posicoes));
}
void Alteracoes::removeArcos(DrawingData& d, std::vector<std::size_t> posicoes)
{
    remover<Arco>(d, std::move(posicoes));
}

// --- Building --------------------------------------------------------------------------------

bool naoColineares(const Ponto& a, const Ponto& b, const Ponto& c)
{
    return std::fabs(areaOrientada(a, b, c)) >= ColinearLimite;
}

namespace {

/// A record goes in followed by its points, so that its ends show as points of the drawing.
void insereComPontos(DrawingData& drawing, const Segmento& s, Alteracoes& alt)
{
    alt.insere(drawing, s);
    alt.insere(drawing, s.P1);
    alt.insere(drawing, s.P2);
}

void insereComPontos(DrawingData& drawing, const Arco& a, Alteracoes& alt)
{
    alt.insere(drawing, a);
    alt.insere(drawing, a.P1);
    alt.insere(drawing, a.P2);
    alt.insere(drawing, a.PC);
}

} // namespace

void constroiSegmento(DrawingData& drawing, const Ponto& p, const Ponto& q, Alteracoes& alt)
{
    alt.insere(drawing, Segmento { p, q });
}

void constroiRetangulo(DrawingData& drawing, const Ponto& a, const Ponto& b, Alteracoes& alt)
{
    const Ponto c { b.x, a.y };
    const Ponto d { a.x, b.y };
    alt.insere(drawing, Segmento { a, c });
    alt.insere(drawing, Segmento { c, b });
    alt.insere(drawing, Segmento { b, d });
    alt.insere(drawing, Segmento { d, a });
    alt.insere(drawing, c);
    alt.insere(drawing, d);
}

void constroiCircunferencia(DrawingData& drawing, const Ponto& c, const Ponto& b, Alteracoes& alt)
{
    const double r = distancia(c, b);
    Ponto e { c.x + r, c.y };
    // A point picked due east of the centre would make B → E empty and E → B a whole circle in
    // one arc; split the circle at the west point instead.
    if (coincide(b, e))
        e = { c.x - r, c.y };
    alt.insere(drawing, Arco { b, e, c });
    alt.insere(drawing, Arco { e, b, c });
    alt.insere(drawing, e);
}

void constroiCircunferencia3(
    DrawingData& drawing, Ponto a, const Ponto& b, Ponto c, Alteracoes& alt)
{
    if (!naoColineares(a, b, c)) {
        alt.insere(drawing, Segmento { a, b });
        alt.insere(drawing, Segmento { b, c });
        alt.insere(drawing, Segmento { c, a });
        return;
    }
    if (orientacao(c, a, b) == -1)
        std::swap(a, c);
    const Ponto o = circuncentro(a, b, c);
    alt.insere(drawing, Arco { a, b, o });
    alt.insere(drawing, Arco { b, c, o });
    alt.insere(drawing, Arco { c, a, o });
    alt.insere(drawing, o);
}

void constroiArco3(DrawingData& drawing, Ponto a, const Ponto& b, Ponto c, Alteracoes& alt)
{
    if (!naoColineares(a, b, c)) {
        alt.insere(drawing, Segmento { a, b });
        alt.insere(drawing, Segmento { b, c });
        return;
    }
    if (orientacao(c, a, b) == -1)
        std::swap(a, c);
    const Ponto o = circuncentro(a, b, c);
    alt.insere(drawing, Arco { a, b, o });
    alt.insere(drawing, Arco { b, c, o });
    alt.insere(drawing, o);
}

// --- Mouse modes -----------------------------------------------------------------------------

Status verificaModo(const DrawingData& drawing, const SelecaoDesenho& selecao, int modoMouse)
{
    const std::size_t pontos = drawing.pontos.size();
    const bool semEntidades = drawing.segmentos.empty() && drawing.arcos.empty();
    switch (modoMouse) {
    case modo::SelecionaPonto:
        return pontos == 0 ? Status::failure(msg::SemPontosSelecionar) : Status::success();
    case modo::InvertePonto:
        return selecao.pontos.empty() ? Status::failure(msg::SemPontosSelecionados)
                                      : Status::success();
    case modo::SelecionaRegiao:
    case modo::SelecionaSegmento:
    case modo::SelecionaRegiaoPolar:
        return semEntidades ? Status::failure(msg::SemSegmentosSelecionar) : Status::success();
    case modo::InverteRegiao:
        return selecao.segmentos.empty() && selecao.arcos.empty()
            ? Status::failure(msg::SemSegmentosSelecionados)
            : Status::success();
    case modo::RetaCartesiana:
        return pontos < 2 ? Status::failure(msg::MenosDoisPontosSegmento) : Status::success();
    case modo::Retangulo:
        return pontos < 2 ? Status::failure(msg::MenosDoisPontosRetangulo) : Status::success();
    case modo::Circunferencia:
        return pontos < 2 ? Status::failure(msg::MenosDoisPontosCircunferencia) : Status::success();
    case modo::Circunferencia3Pontos:
        return pontos < 3 ? Status::failure(msg::MenosTresPontos) : Status::success();
    case modo::Arco:
        return pontos < 2 ? Status::failure(msg::MenosDoisPontosArco) : Status::success();
    case modo::ExcluiPontos:
        return pontos == 0 ? Status::failure(msg::SemPontosApagar) : Status::success();
    default:
        return Status::success();
    }
}

int pontosNecessarios(int modoMouse)
{
    switch (modoMouse) {
    case modo::RetaCartesiana:
    case modo::Retangulo:
    case modo::Circunferencia:
        return 2;
    case modo::Circunferencia3Pontos:
    case modo::Arco:
        return 3;
    default:
        return 0;
    }
}

std::string_view perguntaInicial(int modoMouse, const SelecaoDesenho& selecao)
{
    const std::size_t n = selecao.pontos.size();
    switch (modoMouse) {
    case modo::RetaCartesiana:
        return n >= 2 ? msg::PerguntaSegmento : std::string_view();
    case modo::Retangulo:
        if (n == 0)
            return {};
        return n == 1 ? msg::PerguntaRetanguloUm
            : n == 2  ? msg::PerguntaRetangulo
                      : msg::PerguntaRetanguloDois;
    case modo::Circunferencia:
    case modo::Circunferencia3Pontos:
    case modo::Arco:
        return n >= 1 ? msg::PerguntaCircunferencia : std::string_view();
    default:
        return {};
    }
}

namespace {

/// Builds the entity of a building mode from the last `pontosNecessarios` selected points, taken
/// oldest first, and clears the point selection.
ResultadoEdicao construirDaSelecao(
    DrawingData& drawing, SelecaoDesenho& selecao, int modoMouse, Alteracoes& destino)
{
    const Status s = semEstouro(drawing, &selecao, destino, [&](Alteracoes& alt) {
        const std::vector<Ponto>& p = selecao.pontos;
        switch (modoMouse) {
        case modo::RetaCartesiana:
            if (p.size() >= 3) {
                constroiSegmento(drawing, p[2], p[1], alt);
                constroiSegmento(drawing, p[1], p[0], alt);
            } else {
                constroiSegmento(drawing, p[1], p[0], alt);
            }
            break;
        case modo::Retangulo:
            constroiRetangulo(drawing, p[1], p[0], alt);
            break;
        case modo::Circunferencia:
            constroiCircunferencia(drawing, p[1], p[0], alt);
            break;
        case modo::Circunferencia3Pontos:
            constroiCircunferencia3(drawing, p[2], p[1], p[0], alt);
            break;
        case modo::Arco:
            constroiArco3(drawing, p[2], p[1], p[0], alt);
            break;
        default:
            break;
        }
        selecao.pontos.clear();
        return Status::success();
    });
    return { s, {} };
}

bool pontoSelecionado(const SelecaoDesenho& selecao, const Ponto& p)
{
    return std::any_of(selecao.pontos.begin(), selecao.pontos.end(),
        [&](const Ponto& q) { return coincide(p, q); });
}

} // namespace

ResultadoEdicao respostaInicial(
    DrawingData& drawing, SelecaoDesenho& selecao, int modoMouse, bool sim, Alteracoes& alt)
{
    const int necessarios = pontosNecessarios(modoMouse);
    if (!sim) {
        selecao.pontos.clear();
        return {};
    }
    if (necessarios > 0 && selecao.pontos.size() >= static_cast<std::size_t>(necessarios))
        return construirDaSelecao(drawing, selecao, modoMouse, alt);
    return {};
}

ResultadoEdicao cliqueConstrucao(DrawingData& drawing, SelecaoDesenho& selecao, int modoMouse,
    const Ponto& escolhido, Alteracoes& alt)
{
    const int necessarios = pontosNecessarios(modoMouse);
    if (necessarios == 0)
        return {};
    if (selecao.pontos.size() > PontosSelecionadosMaximo)
        return { Status::failure(msg::ErroListaSelecionados), {} };
    if (pontoSelecionado(selecao, escolhido)) {
        if (modoMouse == modo::RetaCartesiana)
            return { Status::failure(msg::PontosSelecionadosIguais), {} };
        if (modoMouse == modo::Arco)
            return { Status::failure(msg::DoisPontosIguais), {} };
    }
    ResultadoEdicao r = selecionaPonto(selecao, escolhido);
    if (r && selecao.pontos.size() >= static_cast<std::size_t>(necessarios)) {
        ResultadoEdicao feito = construirDaSelecao(drawing, selecao, modoMouse, alt);
        if (!feito)
            return feito;
    }
    return r;
}

// --- Keyboard insertion ----------------------------------------------------------------------

void inserePonto(DrawingData& drawing, const Ponto& p, Alteracoes& alt)
{
    alt.insere(drawing, p);
}

Status insereReta(DrawingData& drawing, const SelecaoDesenho& selecao, const Ponto& p1,
    const Ponto& p2, bool conectar, Alteracoes& alt)
{
    if (coincide(p1, p2))
        return Status::failure(msg::PontosIguais);
    insereComPontos(drawing, Segmento { p1, p2 }, alt);
    if (conectar && !selecao.pontos.empty())
        alt.insere(drawing, Segmento { p2, selecao.pontos.front() });
    return Status::success();
}

Status insereRetaPolar(DrawingData& drawing, SelecaoDesenho& selecao, const Ponto& inicio,
    double anguloGraus, double dist, bool relativa, bool selecionarNovo, Alteracoes& alt)
{
    if (std::fabs(dist) < ZeroLimite)
        return Status::failure(msg::DistanciaZero);
    return semEstouro(drawing, &selecao, alt, [&](Alteracoes& alt) {
        Ponto s = inicio;
        double angulo = radianos(anguloGraus);
        if (relativa && !selecao.segmentos.empty()) {
            const Segmento& base = selecao.segmentos.front();
            s = base.P2;
            angulo += std::atan2(base.P2.y - base.P1.y, base.P2.x - base.P1.x);
        }
        const Segmento novo { s, { s.x + dist * std::cos(angulo), s.y + dist * std::sin(angulo) } };
        alt.acrescenta(drawing, novo);
        alt.acrescenta(drawing, novo.P1);
        alt.acrescenta(drawing, novo.P2);
        if (selecionarNovo)
            selecao.segmentos.push_back(novo);
        return Status::success();
    });
}

Status insereRetangulo(DrawingData& drawing, SelecaoDesenho& selecao, const Ponto& p1,
    const Ponto& p2, Alteracoes& alt)
{
    if (coincide(p1, p2))
        return Status::failure(msg::PontosIdenticos);
    const Ponto cantos[4] = { p1, { p2.x, p1.y }, p2, { p1.x, p2.y } };
    for (int i = 0; i < 4; ++i)
        alt.acrescenta(drawing, Segmento { cantos[i], cantos[(i + 1) % 4] });
    for (const Ponto& c : cantos)
        alt.acrescenta(drawing, c);
    selecao.pontos.clear();
    return Status::success();
}

Status insereCircunferencia(DrawingData& drawing, const Ponto& centro, double raio, Alteracoes& alt)
{
    if (!(raio >= ZeroLimite))
        return Status::failure(msg::RaioZero);
    return semEstouro(drawing, nullptr, alt, [&](Alteracoes& alt) {
        const Ponto leste { centro.x + raio, centro.y };
        const Ponto oeste { centro.x - raio, centro.y };
        alt.insere(drawing, Arco { leste, oeste, centro });
        alt.insere(drawing, Arco { oeste, leste, centro });
        alt.insere(drawing, leste);
        alt.insere(drawing, oeste);
        alt.insere(drawing, centro);
        return Status::success();
    });
}

Status insereArcoAngulo(DrawingData& drawing, const Ponto& centro, const Ponto& ponto,
    double anguloGraus, Alteracoes& alt)
{
    if (coincide(ponto, centro))
        return Status::failure(msg::PontoCentroIguais);
    if (!(std::fabs(anguloGraus) > ZeroLimite))
        return Status::failure(msg::AnguloZero);
    return semEstouro(drawing, nullptr, alt, [&](Alteracoes& alt) {
        const double r = distancia(centro, ponto);
        const double phi = std::atan2(ponto.y - centro.y, ponto.x - centro.x);
        const double theta = phi + radianos(anguloGraus);
        const Ponto q { centro.x + r * std::cos(theta), centro.y + r * std::sin(theta) };
        // A whole turn (360°, 720°...) ends where it starts: that would be a full circle in one
        // arc.
        if (coincide(q, ponto))
            return Status::failure(msg::AnguloZero);
        insereComPontos(drawing, Arco { ponto, q, centro }, alt);
        return Status::success();
    });
}

Status insereArco2Pontos(
    DrawingData& drawing, const Ponto& p1, const Ponto& p2, const Ponto& centro, Alteracoes& alt)
{
    // An end point on the centre has no angle, and equal end points would be a full circle in one
    // arc: neither is an arc the rest of the program can use.
    if (coincide(p1, centro) || coincide(p2, centro))
        return Status::failure(msg::PontoCentroIguais);
    if (coincide(p1, p2))
        return Status::failure(msg::PontosIguais);
    insereComPontos(drawing, Arco { p1, p2, centro }, alt);
    return Status::success();
}

Status insereArco3Pontos(
    DrawingData& drawing, const Ponto& a, const Ponto& b, const Ponto& c, Alteracoes& alt)
{
    if (coincide(a, b) || coincide(b, c) || coincide(a, c))
        return Status::failure(msg::DoisPontosIguais);
    return semEstouro(drawing, nullptr, alt, [&](Alteracoes& alt) {
        constroiArco3(drawing, a, b, c, alt);
        return Status::success();
    });
}

// --- Selection -------------------------------------------------------------------------------

ResultadoEdicao selecionaPonto(SelecaoDesenho& selecao, const Ponto& escolhido)
{
    if (selecao.pontos.size() > PontosSelecionadosMaximo)
        return { Status::failure(msg::ErroListaSelecionados), {} };
    ResultadoEdicao r { Status::success(),
        formatar(msg::FormatoPontoSelecionado, escolhido.x, escolhido.y) };
    if (pontoSelecionado(selecao, escolhido))
        return r;
    selecao.pontos.insert(selecao.pontos.begin(), escolhido);
    if (selecao.pontos.size() > PontosSelecionadosMaximo)
        selecao.pontos.pop_back();
    return r;
}

ResultadoEdicao invertePonto(SelecaoDesenho& selecao, const Ponto& escolhido)
{
    if (selecao.pontos.empty())
        return { Status::failure(msg::SemPontosSelecionados), {} };
    const auto it = std::find_if(selecao.pontos.begin(), selecao.pontos.end(),
        [&](const Ponto& q) { return coincide(q, escolhido); });
    if (it != selecao.pontos.end())
        selecao.pontos.erase(it);
    return {};
}

namespace {

/// A picked record leaves the selection when a copy of it is there, else joins it at the front.
template <typename Registro>
void alternaSelecao(std::vector<Registro>& selecionados, const Registro& r,
    bool (*iguais)(const Registro&, const Registro&))
{
    const auto it = std::find_if(
        selecionados.begin(), selecionados.end(), [&](const Registro& t) { return iguais(r, t); });
    if (it != selecionados.end())
        selecionados.erase(it);
    else
        selecionados.insert(selecionados.begin(), r);
}

} // namespace

ResultadoEdicao selecionaEntidade(
    const DrawingData& drawing, SelecaoDesenho& selecao, const EntidadeEscolhida& escolhida)
{
    if (escolhida.tipo == EntidadeEscolhida::Tipo::Segmento) {
        if (escolhida.posicao >= drawing.segmentos.size())
            return {};
        const Segmento s = drawing.segmentos.at(escolhida.posicao);
        alternaSelecao(selecao.segmentos, s, segmentosIguais);
        return { Status::success(),
            formatar(msg::FormatoSegmentoSelecionado, s.P1.x, s.P1.y, s.P2.x, s.P2.y) };
    }
    if (escolhida.posicao >= drawing.arcos.size())
        return {};
    const Arco a = drawing.arcos.at(escolhida.posicao);
    alternaSelecao(selecao.arcos, a, arcosIguais);
    return { Status::success(),
        formatar(msg::FormatoArcoSelecionado, a.P1.x, a.P1.y, a.P2.x, a.P2.y, a.PC.x, a.PC.y) };
}

namespace {

/// Adds to `selecionados` every record of `lista` whose end points `dentro` accepts and that is
/// not selected yet, each new one at the front, in list order. The selected records are found
/// by their first point, those this pass adds included.
template <typename Registro, typename Dentro>
void selecionaRegistrosDentro(const common::FrontList<Registro>& lista,
    std::vector<Registro>& selecionados, const Dentro& dentro,
    bool (*iguais)(const Registro&, const Registro&))
{
    std::vector<Registro> todos(selecionados.begin(), selecionados.end());
    GradeCoincidencia grade;
    for (std::size_t i = 0; i < todos.size(); ++i)
        grade.acrescentar(todos[i].P1, i);
    std::vector<Registro> novos;
    for (const Registro& r : lista.inListOrder()) {
        if (!dentro(r.P1) || !dentro(r.P2))
            continue;
        bool jaSelecionado = false;
        grade.paraCada(
            r.P1, [&](std::size_t id) { return todos[id].P1; },
            [&](std::size_t id) { jaSelecionado = jaSelecionado || iguais(todos[id], r); });
        if (jaSelecionado)
            continue;
        grade.acrescentar(r.P1, todos.size());
        todos.push_back(r);
        novos.push_back(r);
    }
    selecionados.insert(selecionados.begin(), novos.rbegin(), novos.rend());
}

/// Adds to the selection every segment, arc and free point of the drawing that `dentro` accepts
/// and that is not yet selected, each new one at the front, in the drawing's list order.
template <typename Dentro>
void selecionarDentro(const DrawingData& drawing, SelecaoDesenho& selecao, Dentro dentro)
{
    selecionaRegistrosDentro(drawing.segmentos, selecao.segmentos, dentro, segmentosIguais);
    selecionaRegistrosDentro(drawing.arcos, selecao.arcos, dentro, arcosIguais);

    // Free points: no end point of a segment, no end point or centre of an arc.
    std::vector<Ponto> usados;
    GradeCoincidencia gradeUsados;
    const auto usar = [&](const Ponto& p) {
        gradeUsados.acrescentar(p, usados.size());
        usados.push_back(p);
    };
    for (const Segmento& s : drawing.segmentos.inStorageOrder()) {
        usar(s.P1);
        usar(s.P2);
    }
    for (const Arco& a : drawing.arcos.inStorageOrder()) {
        usar(a.P1);
        usar(a.P2);
        usar(a.PC);
    }
    std::vector<Ponto> pontos(selecao.pontos.begin(), selecao.pontos.end());
    GradeCoincidencia gradePontos;
    for (std::size_t i = 0; i < pontos.size(); ++i)
        gradePontos.acrescentar(pontos[i], i);
    std::vector<Ponto> novosPontos;
    for (const Ponto& p : drawing.pontos.inListOrder()) {
        if (!dentro(p) || contemCoincidente(gradeUsados, usados, p)
            || contemCoincidente(gradePontos, pontos, p))
            continue;
        gradePontos.acrescentar(p, pontos.size());
        pontos.push_back(p);
        novosPontos.push_back(p);
    }
    // No limit of three here: a later click then finds too many points and says so.
    selecao.pontos.insert(selecao.pontos.begin(), novosPontos.rbegin(), novosPontos.rend());
}

struct Moldura {
    double xMin, xMax, yMin, yMax;
    Moldura(const Ponto& a, const Ponto& b)
        : xMin(std::min(a.x, b.x))
        , xMax(std::max(a.x, b.x))
        , yMin(std::min(a.y, b.y))
        , yMax(std::max(a.y, b.y))
    {
    }
    bool dentro(const Ponto& p) const
    {
        return p.x > xMin && p.x < xMax && p.y > yMin && p.y < yMax;
    }
};

} // namespace

void selecionaRegiao(
    const DrawingData& drawing, SelecaoDesenho& selecao, const Ponto& canto1, const Ponto& canto2)
{
    const Moldura m(canto1, canto2);
    selecionarDentro(drawing, selecao, [&](const Ponto& p) { return m.dentro(p); });
}

void selecionaRegiaoPolar(
    const DrawingData& drawing, SelecaoDesenho& selecao, const Ponto& canto1, const Ponto& canto2)
{
    const double r1 = std::hypot(canto1.x, canto1.y);
    const double r2 = std::hypot(canto2.x, canto2.y);
    const double a1 = anguloPolar(canto1.x, canto1.y);
    const double a2 = anguloPolar(canto2.x, canto2.y);
    const double rMin = std::min(r1, r2), rMax = std::max(r1, r2);
    const double aMin = std::min(a1, a2), aMax = std::max(a1, a2);
    selecionarDentro(drawing, selecao, [&](const Ponto& p) {
        const double r = std::hypot(p.x, p.y);
        const double a = anguloPolar(p.x, p.y);
        return r >= rMin && r <= rMax && a >= aMin && a <= aMax;
    });
}

void inverteRegiao(SelecaoDesenho& selecao, const Ponto& canto1, const Ponto& canto2)
{
    const Moldura m(canto1, canto2);
    std::erase_if(
        selecao.segmentos, [&](const Segmento& s) { return m.dentro(s.P1) && m.dentro(s.P2); });
    std::erase_if(selecao.arcos, [&](const Arco& a) { return m.dentro(a.P1) && m.dentro(a.P2); });
}

namespace {

/// Drops from `selecionados` every record with no copy left among `registros`.
template <typename Registro>
void descartaAusentes(const std::vector<Registro>& registros, std::vector<Registro>& selecionados,
    bool (*iguais)(const Registro&, const Registro&))
{
    GradeCoincidencia grade;
    for (std::size_t i = 0; i < registros.size(); ++i)
        grade.acrescentar(registros[i].P1, i);
    std::erase_if(selecionados, [&](const Registro& r) {
        bool existe = false;
        grade.paraCada(
            r.P1, [&](std::size_t id) { return registros[id].P1; },
            [&](std::size_t id) { existe = existe || iguais(registros[id], r); });
        return !existe;
    });
}

} // namespace

bool podaSelecao(const DrawingData& drawing, SelecaoDesenho& selecao)
{
    const std::size_t antes
        = selecao.pontos.size() + selecao.segmentos.size() + selecao.arcos.size();

    const std::vector<Ponto>& pontos = drawing.pontos.inStorageOrder();
    GradeCoincidencia gradePontos;
    for (std::size_t i = 0; i < pontos.size(); ++i)
        gradePontos.acrescentar(pontos[i], i);
    std::erase_if(
        selecao.pontos, [&](const Ponto& p) { return !contemCoincidente(gradePontos, pontos, p); });

    descartaAusentes(drawing.segmentos.inStorageOrder(), selecao.segmentos, segmentosIguais);
    descartaAusentes(drawing.arcos.inStorageOrder(), selecao.arcos, arcosIguais);

    return selecao.pontos.size() + selecao.segmentos.size() + selecao.arcos.size() != antes;
}

// --- Deletion --------------------------------------------------------------------------------

void excluiPontosSelecionados(DrawingData& drawing, SelecaoDesenho& selecao, Alteracoes& alt)
{
    GradeCoincidencia grade;
    for (std::size_t i = 0; i < selecao.pontos.size(); ++i)
        grade.acrescentar(selecao.pontos[i], i);
    std::vector<std::size_t> posicoes;
    std::size_t posicao = 0;
    for (const Ponto& p : drawing.pontos.inListOrder()) {
        if (contemCoincidente(grade, selecao.pontos, p))
            posicoes.push_back(posicao);
        ++posicao;
    }
    alt.removePontos(drawing, std::move(posicoes));
    selecao.pontos.clear();
}

Status excluiPonto(
    DrawingData& drawing, SelecaoDesenho& selecao, std::size_t posicao, Alteracoes& alt)
{
    if (posicao >= drawing.pontos.size())
        return Status::success();
    const Ponto p = drawing.pontos.at(posicao);
    const bool conecta
        = std::any_of(drawing.segmentos.inStorageOrder().begin(),
              drawing.segmentos.inStorageOrder().end(),
              [&](const Segmento& s) { return coincide(s.P1, p) || coincide(s.P2, p); })
        || std::any_of(drawing.arcos.inStorageOrder().begin(), drawing.arcos.inStorageOrder().end(),
            [&](const Arco& a) {
                return coincide(a.P1, p) || coincide(a.P2, p) || coincide(a.PC, p);
            });
    if (conecta)
        return Status::failure(msg::PontoConecta);
    alt.removePontos(drawing, { posicao });
    std::erase_if(selecao.pontos, [&](const Ponto& q) { return coincide(p, q); });
    return Status::success();
}

namespace {

/// For each selected copy, the list position of the first equal record not already taken by an
/// earlier copy: what removing them one after the other would remove. `registros` is in storage
/// order, the reverse of list order.
template <typename Registro>
std::vector<std::size_t> posicoesDasCopias(const std::vector<Registro>& registros,
    const std::vector<Registro>& copias, bool (*iguais)(const Registro&, const Registro&))
{
    const std::size_t n = registros.size();
    GradeCoincidencia grade;
    for (std::size_t s = 0; s < n; ++s)
        grade.acrescentar(registros[s].P1, s);
    std::vector<bool> removido(n, false);
    std::vector<std::size_t> posicoes;
    for (const Registro& alvo : copias) {
        std::size_t melhor = n;
        grade.paraCada(
            alvo.P1, [&](std::size_t s) { return registros[s].P1; },
            [&](std::size_t s) {
                const std::size_t posicao = n - 1 - s;
                if (!removido[s] && iguais(registros[s], alvo) && posicao < melhor)
                    melhor = posicao;
            });
        if (melhor < n) {
            removido[n - 1 - melhor] = true;
            posicoes.push_back(melhor);
        }
    }
    return posicoes;
}

} // namespace

Status excluiSegmentosSelecionados(DrawingData& drawing, SelecaoDesenho& selecao, Alteracoes& alt)
{
    if (selecao.segmentos.empty() && selecao.arcos.empty())
        return Status::failure(msg::SemSegmentosApagar);

    std::vector<std::size_t> posicoesSegmentos
        = posicoesDasCopias(drawing.segmentos.inStorageOrder(), selecao.segmentos, segmentosIguais);
    std::vector<std::size_t> posicoesArcos
        = posicoesDasCopias(drawing.arcos.inStorageOrder(), selecao.arcos, arcosIguais);

    alt.removeSegmentos(drawing, std::move(posicoesSegmentos));
    alt.removeArcos(drawing, std::move(posicoesArcos));
    selecao.segmentos.clear();
    selecao.arcos.clear();
    return Status::success();
}

// --- Reproduction and displacement -----------------------------------------------------------

Status verificaReproducao(const SelecaoDesenho& selecao)
{
    if (selecao.segmentos.empty() && selecao.arcos.empty())
        return Status::failure(msg::SemSelecaoReproduzir);
    return Status::success();
}

namespace {

/// Inserts, for k = 1 … n, the copies of every selected segment and then of every selected arc
/// with `mover(point, k)` applied to each of their points, each copy followed by its points.
template <typename Mover>
Status reproduzir(
    DrawingData& drawing, const SelecaoDesenho& selecao, int n, Mover mover, Alteracoes& destino)
{
    const double novos = static_cast<double>(n)
        * (3.0 * static_cast<double>(selecao.segmentos.size())
            + 4.0 * static_cast<double>(selecao.arcos.size()));
    if (novos > NovosRegistrosMaximo)
        return Status::failure(msg::ReproducoesDemais);
    return semEstouro(drawing, nullptr, destino, [&](Alteracoes& alt) {
        for (const Segmento& s : selecao.segmentos)
            for (int k = 1; k <= n; ++k)
                insereComPontos(drawing, Segmento { mover(s.P1, k), mover(s.P2, k) }, alt);
        for (const Arco& a : selecao.arcos)
            for (int k = 1; k <= n; ++k)
                insereComPontos(
                    drawing, Arco { mover(a.P1, k), mover(a.P2, k), mover(a.PC, k) }, alt);
        return Status::success();
    });
}

} // namespace

Status reproduzLinear(DrawingData& drawing, const SelecaoDesenho& selecao, double dx, double dy,
    int n, Alteracoes& alt)
{
    if (const Status s = verificaReproducao(selecao); !s)
        return s;
    if (n < 1)
        return Status::success();
    return reproduzir(
        drawing, selecao, n,
        [&](const Ponto& p, int k) {
            return Ponto { p.x + k * dx, p.y + k * dy };
        },
        alt);
}

Status reproduzPolar(DrawingData& drawing, const SelecaoDesenho& selecao, double dR,
    double dAnguloGraus, int n, const Ponto& o, Alteracoes& alt)
{
    if (const Status s = verificaReproducao(selecao); !s)
        return s;
    if (n < 1 || (std::fabs(dR) < ZeroLimite && std::fabs(dAnguloGraus) < ZeroLimite))
        return Status::success();
    return reproduzir(
        drawing, selecao, n,
        [&](const Ponto& p, int k) {
            const double r = distancia(o, p);
            double a = std::atan2(p.y - o.y, p.x - o.x) * 180.0 / Pi;
            if (a < 0.0)
                a += 360.0;
            const double rk = r + k * dR;
            const double ak = radianos(a + k * dAnguloGraus);
            return Ponto { o.x + rk * std::cos(ak), o.y + rk * std::sin(ak) };
        },
        alt);
}

namespace {

template <typename Mover>
Status deslocar(DrawingData& drawing, SelecaoDesenho& selecao, Mover mover, Alteracoes& destino)
{
    return semEstouro(drawing, &selecao, destino, [&](Alteracoes& alt) {
        for (const Segmento& s : selecao.segmentos) {
            insereComPontos(drawing, Segmento { mover(s.P1), mover(s.P2) }, alt);
        }
        for (const Arco& a : selecao.arcos) {
            insereComPontos(drawing, Arco { mover(a.P1), mover(a.P2), mover(a.PC) }, alt);
        }
        excluiPontosSelecionados(drawing, selecao, alt);
        return Status::success();
    });
}

} // namespace

Status deslocaLinear(
    DrawingData& drawing, SelecaoDesenho& selecao, double dx, double dy, Alteracoes& alt)
{
    return deslocar(
        drawing, selecao,
        [&](const Ponto& p) {
            return Ponto { p.x + dx, p.y + dy };
        },
        alt);
}

Status deslocaPolar(
    DrawingData& drawing, SelecaoDesenho& selecao, double r, double tGraus, Alteracoes& alt)
{
    return deslocar(
        drawing, selecao,
        [&](const Ponto& p) {
            if (p.x * p.x + p.y * p.y <= OrigemQuadrado)
                return p;
            const double rho = std::hypot(p.x, p.y) + r;
            const double phi = anguloPolar(p.x, p.y) + radianos(tGraus);
            return Ponto { rho * std::cos(phi), rho * std::sin(phi) };
        },
        alt);
}

} // namespace tarvex::geometry
