#include "problem/mesher/gerar_malha.h"

#include "common/messages.h"
#include "common/progress.h"
#include "geometry/helpers.h"
#include "problem/mesher/smoothing.h"
#include "problem/mesher/spatial_index.h"
#include "problem/problem_data.h"
#include "problem/region_locator.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace tarvex::problem {

using namespace mesher;
using geometry::coincide;
using geometry::Pi;

namespace {

constexpr double FracaoLimite = 0.2;
constexpr double FatorArcoCurto = 30.0 / 18.0;
/// An arc whose chord is shorter than the edge length over this is cut by the coarser angle.
constexpr double DivisorArcoCurto = 5.0;
constexpr double FatorCircunraio = 0.7;
constexpr double FatorGraduacao = 1.8;
constexpr double RazaoGraduacao = 2.0;
constexpr double MargemCaixa = 0.1;
constexpr double UnidadeDivisao = 0.01;
constexpr double DiferencaEspecial = 1e-8;
constexpr double CantoColinear = 2e-8;
/// Beyond these a run would exhaust memory long before it ended: refuse it up front.
constexpr double MaxArestasFronteira = 2e7;
constexpr double MaxTriangulosEstimados = 8e7;
constexpr std::size_t MaxTriangulos = 120'000'000;
/// Each recovery pass halves the missing edges; far more passes than this means no progress.
constexpr int MaxPassesFronteira = 200;
/// The encroachment grid's cells are no smaller than the box's diagonal over this.
constexpr double CelulasPorDiagonal = 2048.0;
/// The angle condition gives up past this many insertions per node, plus a margin.
constexpr std::size_t InsercoesPorNo = 10;
constexpr std::size_t InsercoesFolga = 100000;
/// About this many triangles fill an area of h² (the estimate that refuses a huge run).
constexpr double TriangulosPorArea = 3.0;
/// Palette colours: a boundary edge the angle condition examines, a corner triangle repaired.
constexpr int CorArestaInvadida = 14;
constexpr int CorCanto = 5;

/// How an element is cut: n pieces, and for an arc the angles of its points.
struct Corte {
    double n = 0.0; ///< piece count (kept as a double so absurd counts can be refused)
    bool arco = false;
    Ponto p1, p2, centro;
    double inicio = 0.0, passo = 0.0, raio = 0.0;
};

Corte planejaCorte(const SegmentoContorno& s, double comprimento, double anguloArcoGraus)
{
    Corte c;
    if (s.ehArco == 0) {
        c.p1 = s.p1();
        c.p2 = s.p2();
        const double ratio = geometry::distancia(c.p1, c.p2) / comprimento;
        double n = std::floor(ratio);
        if (ratio - n > FracaoLimite)
            n += 1.0;
        c.n = std::max(1.0, n);
        return c;
    }
    c.arco = true;
    c.p1 = s.sentido != 0 ? s.p1() : s.p2();
    c.p2 = s.sentido != 0 ? s.p2() : s.p1();
    c.centro = s.centro();
    double g = anguloArcoGraus * Pi / 180.0;
    if (geometry::distancia(c.p1, c.p2) < comprimento / DivisorArcoCurto)
        g = anguloArcoGraus * FatorArcoCurto * Pi / 180.0;
    c.raio = geometry::distancia(c.centro, c.p2);
    const double t1 = geometry::anguloPolar(c.p1.x - c.centro.x, c.p1.y - c.centro.y);
    double t2 = geometry::anguloPolar(c.p2.x - c.centro.x, c.p2.y - c.centro.y);
    if (t2 < t1)
        t2 += 2.0 * Pi;
    const double sweep = t2 - t1;
    const double disc = 4.0 * c.raio * c.raio - comprimento * comprimento;
    double n = 1.0;
    if (disc >= 0.0) {
        const double beta = 2.0 * std::atan2(comprimento / 2.0, std::sqrt(disc) / 2.0);
        n = std::ceil(sweep / beta);
    }
    c.inicio = t1;
    if (n == 0.0)
        return c;
    double step = sweep / n;
    if (step > g) {
        n = std::ceil(sweep / g);
        step = sweep / n;
    }
    c.n = n;
    c.passo = step;
    return c;
}

/// The point that splits the edge p1 → p2 (of length `len`) at a power-of-two multiple of the
/// unit, so that splits from both ends of a contour meet at common lengths.
Ponto pontoDeDivisao(const Ponto& p1, const Ponto& p2, double len)
{
    const double k2 = std::floor(std::log2(len / 2.0 / UnidadeDivisao) + 0.5);
    const double d = UnidadeDivisao * std::exp2(k2);
    return { p1.x + (p2.x - p1.x) / len * d, p1.y + (p2.y - p1.y) / len * d };
}

std::vector<Ponto> pontosDoCorte(const Corte& c)
{
    std::vector<Ponto> pts;
    if (c.n < 1.0)
        return pts;
    const auto n = static_cast<std::int64_t>(c.n);
    pts.reserve(static_cast<std::size_t>(n) + 1);
    pts.push_back(c.p1);
    if (c.arco) {
        for (std::int64_t k = 1; k < n; ++k) {
            const double a = c.inicio + static_cast<double>(k) * c.passo;
            pts.push_back({ c.centro.x + c.raio * std::cos(a), c.centro.y + c.raio * std::sin(a) });
        }
    } else {
        for (std::int64_t k = 1; k < n; ++k) {
            const double f = static_cast<double>(k) / static_cast<double>(n);
            pts.push_back({ c.p1.x + f * (c.p2.x - c.p1.x), c.p1.y + f * (c.p2.y - c.p1.y) });
        }
    }
    pts.push_back(c.p2);
    return pts;
}

/// An edge of `arestasFronteira`: end vertices (node indices before the triangulation), its place
/// in the list (ascending `ordem` is list order; edges put at the front get ever lower values).
struct ArestaF {
    VertexId a = -1;
    VertexId b = -1;
    std::int64_t ordem = 0;
    bool viva = true;
};

/// An edge of the outer polygon or of the cut outer contour.
struct ArestaExt {
    Ponto a, b;
    VertexId na = -1, nb = -1;
    bool viva = true;
};

/// The pieces of the cut contour elements, in the order of the elements.
using Pedacos = std::vector<std::pair<Ponto, Ponto>>;

std::uint64_t parChave(VertexId a, VertexId b)
{
    const auto lo = static_cast<std::uint64_t>(static_cast<std::uint32_t>(std::min(a, b)));
    const auto hi = static_cast<std::uint64_t>(static_cast<std::uint32_t>(std::max(a, b)));
    return (hi << 32) | lo;
}

/// Edges of a list by their pair of end nodes (either direction).
using IndicePares = std::unordered_multimap<std::uint64_t, std::size_t>;

IndicePares indicePorPar(const std::vector<ArestaExt>& lista)
{
    IndicePares indice;
    for (std::size_t i = 0; i < lista.size(); ++i)
        if (lista[i].na >= 0 && lista[i].nb >= 0)
            indice.emplace(parChave(lista[i].na, lista[i].nb), i);
    return indice;
}

/// Boundary edges filed by the cells that their diametral circle covers, for the encroachment
/// test of the angle condition.
class GradeArestas {
public:
    void inicia(double x0, double y0, double x1, double y1, double cell)
    {
        m_x0 = x0;
        m_y0 = y0;
        m_cell = cell;
        m_nx = static_cast<std::int64_t>(std::ceil((x1 - x0) / cell)) + 1;
        m_ny = static_cast<std::int64_t>(std::ceil((y1 - y0) / cell)) + 1;
    }
    void insere(std::int32_t id, const Ponto& a, const Ponto& b)
    {
        const Ponto m { (a.x + b.x) / 2.0, (a.y + b.y) / 2.0 };
        const double r = geometry::distancia(a, b) / 2.0;
        const std::int64_t ix0 = cx(m.x - r), ix1 = cx(m.x + r);
        const std::int64_t iy0 = cy(m.y - r), iy1 = cy(m.y + r);
        for (std::int64_t iy = iy0; iy <= iy1; ++iy)
            for (std::int64_t ix = ix0; ix <= ix1; ++ix)
                m_cells[static_cast<std::uint64_t>(iy * m_nx + ix)].push_back(id);
    }
    const std::vector<std::int32_t>* em(const Ponto& p) const
    {
        if (!(p.x >= m_x0 && p.y >= m_y0) || cx(p.x) >= m_nx - 1 || cy(p.y) >= m_ny - 1)
            return nullptr;
        const auto it = m_cells.find(static_cast<std::uint64_t>(cy(p.y) * m_nx + cx(p.x)));
        return it == m_cells.end() ? nullptr : &it->second;
    }

private:
    std::int64_t cx(double x) const
    {
        return std::clamp<std::int64_t>(
            static_cast<std::int64_t>(std::floor((x - m_x0) / m_cell)), 0, m_nx - 1);
    }
    std::int64_t cy(double y) const
    {
        return std::clamp<std::int64_t>(
            static_cast<std::int64_t>(std::floor((y - m_y0) / m_cell)), 0, m_ny - 1);
    }
    double m_x0 = 0.0, m_y0 = 0.0, m_cell = 1.0;
    std::int64_t m_nx = 1, m_ny = 1;
    std::unordered_map<std::uint64_t, std::vector<std::int32_t>> m_cells;
};

class Gerador {
public:
    Gerador(
        ProblemData& data, const OpcoesMalha& opcoes, Progress& progress, MeshObserver* observer)
        : m_data(data)
        , m_opcoes(opcoes)
        , m_progress(progress)
        , m_obs(observer)
        , m_mesh(data.tolerancia)
    {
        m_mesh.observador = observer;
    }

    Status executa();

private:
    Status falha(std::string_view message);
    Status iniciaExecucao();
    bool pontoDeControle(int percent);
    /// A triangle waiting on a refinement's stack; a changed key means it was replaced.
    struct Candidato {
        TriId t;
        std::uint64_t chave;
    };
    using Pilha = std::vector<Candidato>;

    Status preparaFronteira();
    std::vector<const Regiao*> regioesEspeciais() const;
    double comprimentoDe(
        const SegmentoContorno& s, const std::vector<const Regiao*>& especiais) const;
    Status cortaContornos(const std::vector<const Regiao*>& especiais, Pedacos& pedacos);
    void numeraNos(const Pedacos& pedacos);
    std::vector<VertexId> graduaJuntoAsEspeciais(const std::vector<const Regiao*>& especiais);
    void bisecciona(std::vector<ArestaExt>& lista, const IndicePares& indice, VertexId a,
        VertexId b, VertexId m);

    Status triangulaFronteira();
    template <typename Ruim> Pilha pilhaInicial(Ruim ruim) const;
    template <typename Ruim>
    void empilhaNovos(const Triangulacao::Insercao& ins, Ruim ruim, Pilha& pilha) const;
    bool vigente(const Candidato& c) const
    {
        return m_mesh.tris[c.t].vivo && m_mesh.tris[c.t].chave == c.chave;
    }
    bool insereInterno(const Ponto& p, TriId inicio, Triangulacao::Insercao& ins);
    template <typename Dentro> Status refinaPorTamanho(double limite, Dentro dentro);

    Status refinaRegioesEspeciais();
    Status condicaoAngulo();
    bool anguloPequeno(TriId t) const;
    GradeArestas gradeDaFronteira() const;
    void arestasInvadidas(
        const GradeArestas& grade, const Ponto& k, std::vector<std::int32_t>& invadidas) const;
    std::size_t divideInvadidas(const std::vector<std::int32_t>& invadidas, double limite,
        GradeArestas& grade, Triangulacao::Insercao& ins, Pilha& pilha);
    Status reconstituiFronteiras();
    void removeExterior();
    void corrigeCantos();
    void conclui();

    std::size_t numNos() const { return m_nosFrente.size() + m_nosBase.size() + m_nosFundo.size(); }
    void novoVertice(VertexId v, bool fixo)
    {
        if (m_fixo.size() < m_mesh.pontos.size())
            m_fixo.resize(m_mesh.pontos.size(), 0);
        if (fixo)
            m_fixo[v] = 1;
    }
    std::int32_t novaAresta(VertexId a, VertexId b, std::int64_t ordem)
    {
        m_arestas.push_back({ a, b, ordem, true });
        return static_cast<std::int32_t>(m_arestas.size() - 1);
    }
    void informaEtapa(EtapaMalha etapa)
    {
        if (m_obs == nullptr)
            return;
        std::vector<ArestaVertices> edges;
        for (const ArestaF& e : m_arestas)
            if (e.viva)
                edges.push_back({ e.a, e.b });
        m_obs->stageDone(etapa, m_mesh, edges, numNos());
    }
    bool grandeDemais() const { return m_mesh.vivos() > MaxTriangulos; }

    ProblemData& m_data;
    OpcoesMalha m_opcoes;
    Progress& m_progress;
    MeshObserver* m_obs;

    double m_h = 0.0;
    double m_hs = 0.0;
    bool m_especial = false;

    // Before the triangulation the boundary works on node indices into m_nodePts.
    std::vector<Ponto> m_nodePts;
    std::vector<VertexId> m_nosIniciais; ///< node indices in the order they are triangulated
    std::vector<ArestaF> m_arestas; ///< arestasFronteira, dead records included
    std::int64_t m_frente = 0; ///< ordem of the last edge put at the front
    std::vector<ArestaExt> m_poligono; ///< poligonoExterno (order is of no consequence)
    std::vector<ArestaExt> m_externas; ///< arestasExternas

    Triangulacao m_mesh;
    std::vector<VertexId> m_nosFrente; ///< put at the front of nos, in the order they came
    std::vector<VertexId> m_nosBase; ///< the boundary nodes, in list order
    std::vector<VertexId> m_nosFundo; ///< appended at the back, in the order they came
    std::vector<char> m_fixo; ///< per vertex: made on a boundary edge
    TesteInterior m_interior;
    double m_caixa[4] = { 0, 0, 0, 0 };
};

Status Gerador::falha(std::string_view message)
{
    m_data.triangulos.clear();
    m_data.nos.clear();
    m_data.numTriangulos = 0;
    m_data.numNos = 0;
    if (m_obs != nullptr)
        m_obs->meshReset();
    return Status::failure(message);
}

bool Gerador::pontoDeControle(int percent)
{
    m_progress.percent(percent);
    return m_progress.goOn();
}

std::vector<const Regiao*> Gerador::regioesEspeciais() const
{
    std::vector<const Regiao*> especiais;
    for (const std::int16_t pos : m_data.regioesEspeciais.inListOrder())
        if (const Regiao* r = m_data.regiaoNaPosicao(pos))
            especiais.push_back(r);
    return especiais;
}

double Gerador::comprimentoDe(
    const SegmentoContorno& s, const std::vector<const Regiao*>& especiais) const
{
    if (!m_especial)
        return m_h;
    for (const Regiao* r : especiais)
        for (const SegmentoContorno& t : r->segmentos.inListOrder())
            if (iguais(s, t))
                return m_hs;
    return m_h;
}

Status Gerador::cortaContornos(const std::vector<const Regiao*>& especiais, Pedacos& pedacos)
{
    // Every cut is planned before any point is made, so that an absurd edge length is refused
    // before it fills the memory.
    const double angulo = m_data.anguloArco;
    std::vector<Corte> cortes;
    double total = 0.0;
    for (const SegmentoContorno& s : m_data.poolSegmentos) {
        cortes.push_back(planejaCorte(s, comprimentoDe(s, especiais), angulo));
        total += cortes.back().n;
    }
    std::vector<Corte> cortesExternos;
    for (const SegmentoContorno& s : m_data.contornoExterno) {
        cortesExternos.push_back(planejaCorte(s, comprimentoDe(s, especiais), angulo));
        total += cortesExternos.back().n;
    }
    if (!(total <= MaxArestasFronteira))
        return Status::failure(msg::MalhaGrandeDemais);

    for (const Corte& c : cortes) {
        const std::vector<Ponto> pts = pontosDoCorte(c);
        for (std::size_t k = 1; k < pts.size(); ++k)
            if (!coincide(pts[k - 1], pts[k]))
                pedacos.push_back({ pts[k - 1], pts[k] });
    }
    // The outer polygon takes a straight element whole (the inside test needs no more) and an
    // arc as its chords; the outer edges, which the corners are checked against, are all cut.
    for (std::size_t i = 0; i < m_data.contornoExterno.size(); ++i) {
        const SegmentoContorno& s = m_data.contornoExterno[i];
        const std::vector<Ponto> pts = pontosDoCorte(cortesExternos[i]);
        if (s.ehArco != 0) {
            for (std::size_t k = 1; k < pts.size(); ++k) {
                m_poligono.push_back({ pts[k - 1], pts[k] });
                m_externas.push_back({ pts[k - 1], pts[k] });
            }
        } else {
            m_poligono.push_back({ s.p1(), s.p2() });
            for (std::size_t k = 1; k < pts.size(); ++k)
                m_externas.push_back({ pts[k - 1], pts[k] });
        }
    }
    if (pedacos.empty())
        return Status::failure(msg::MalhaSemContorno);
    return Status::success();
}

void Gerador::numeraNos(const Pedacos& pedacos)
{
    // From the last piece back, second end point before the first: each node put at the front of
    // the list in turn, a repeat keeping the place nearer the front.
    HashPontos hash;
    hash.reserve(pedacos.size() * 2);
    for (std::size_t i = pedacos.size(); i-- > 0;) {
        for (const Ponto& p : { pedacos[i].second, pedacos[i].first }) {
            if (hash.find(p, m_nodePts) >= 0)
                continue;
            const auto id = static_cast<VertexId>(m_nodePts.size());
            m_nodePts.push_back(p);
            hash.insert(p, id);
        }
    }
    for (std::size_t i = 0; i < pedacos.size(); ++i)
        m_arestas.push_back({ hash.find(pedacos[i].first, m_nodePts),
            hash.find(pedacos[i].second, m_nodePts), static_cast<std::int64_t>(i), true });
    for (std::vector<ArestaExt>* lista : { &m_poligono, &m_externas })
        for (ArestaExt& e : *lista) {
            e.na = hash.find(e.a, m_nodePts);
            e.nb = hash.find(e.b, m_nodePts);
        }
    if (m_obs != nullptr)
        m_obs->nodesPlaced(m_nodePts);
}

std::vector<VertexId> Gerador::graduaJuntoAsEspeciais(const std::vector<const Regiao*>& especiais)
{
    // Boundary edges much longer than the special edge that touch a special region's contour
    // are halved, so that the element size does not jump at the region's border.
    std::vector<Ponto> endPts;
    HashPontos ends;
    for (const Regiao* r : especiais)
        for (const SegmentoContorno& s : r->segmentos.inListOrder())
            for (const Ponto& p : { s.p1(), s.p2() }) {
                ends.insert(p, static_cast<std::int32_t>(endPts.size()));
                endPts.push_back(p);
            }
    IndicePares noPoligono = indicePorPar(m_poligono);
    IndicePares nasExternas = indicePorPar(m_externas);
    std::vector<VertexId> graduacao;
    std::vector<Ponto> placed;
    const std::size_t count = m_arestas.size();
    for (std::size_t i = 0; i < count; ++i) {
        const ArestaF e = m_arestas[i];
        const Ponto& p1 = m_nodePts[e.a];
        const Ponto& p2 = m_nodePts[e.b];
        if (!(geometry::distancia(p1, p2) > FatorGraduacao * m_hs))
            continue;
        if (ends.find(p1, endPts) < 0 && ends.find(p2, endPts) < 0)
            continue;
        const Ponto mid { (p1.x + p2.x) / 2.0, (p1.y + p2.y) / 2.0 };
        const auto m = static_cast<VertexId>(m_nodePts.size());
        m_nodePts.push_back(mid);
        graduacao.push_back(m);
        placed.push_back(mid);
        novaAresta(e.a, m, --m_frente);
        novaAresta(m, e.b, --m_frente);
        bisecciona(m_poligono, noPoligono, e.a, e.b, m);
        bisecciona(m_externas, nasExternas, e.a, e.b, m);
        m_arestas[i].viva = false;
    }
    if (m_obs != nullptr && !placed.empty())
        m_obs->nodesPlaced(placed);
    return graduacao;
}

void Gerador::bisecciona(
    std::vector<ArestaExt>& lista, const IndicePares& indice, VertexId a, VertexId b, VertexId m)
{
    // The halves are not filed in the index: an edge is halved at most once.
    const auto [lo, hi] = indice.equal_range(parChave(a, b));
    std::vector<std::size_t> found;
    for (auto it = lo; it != hi; ++it)
        if (lista[it->second].viva)
            found.push_back(it->second);
    for (const std::size_t i : found) {
        const ArestaExt e = lista[i];
        lista[i].viva = false;
        lista.push_back({ e.a, m_nodePts[m], e.na, m, true });
        lista.push_back({ m_nodePts[m], e.b, m, e.nb, true });
    }
}

Status Gerador::preparaFronteira()
{
    const std::vector<const Regiao*> especiais = regioesEspeciais();
    Pedacos pedacos;
    if (Status s = cortaContornos(especiais, pedacos); !s)
        return s;
    numeraNos(pedacos);
    std::vector<VertexId> graduacao;
    if (m_especial && !especiais.empty() && m_h / m_hs > RazaoGraduacao)
        graduacao = graduaJuntoAsEspeciais(especiais);

    // The node list: grading midpoints (last one first), then the boundary nodes, which come
    // before the midpoints in m_nodePts.
    const std::size_t boundaryCount = m_nodePts.size() - graduacao.size();
    m_nosIniciais.assign(graduacao.rbegin(), graduacao.rend());
    for (std::size_t i = 0; i < boundaryCount; ++i)
        m_nosIniciais.push_back(static_cast<VertexId>(i));

    std::vector<std::pair<Ponto, Ponto>> outline;
    for (const ArestaExt& e : m_poligono)
        if (e.viva)
            outline.push_back({ e.a, e.b });
    m_interior.build(outline);
    return Status::success();
}

Status Gerador::triangulaFronteira()
{
    double xMin = 1e200, xMax = -1e200, yMin = 1e200, yMax = -1e200;
    for (const VertexId n : m_nosIniciais) {
        xMin = std::min(xMin, m_nodePts[n].x);
        xMax = std::max(xMax, m_nodePts[n].x);
        yMin = std::min(yMin, m_nodePts[n].y);
        yMax = std::max(yMax, m_nodePts[n].y);
    }
    const double w = xMax - xMin;
    const double hgt = yMax - yMin;
    if (!(w > 0.0 && hgt > 0.0) || !std::isfinite(w) || !std::isfinite(hgt))
        return Status::failure(msg::MalhaSemContorno);

    // Refuse a run whose mesh could not fit in memory: about three triangles per h² of area.
    double estimate = TriangulosPorArea * w * hgt / (m_h * m_h);
    if (m_especial || !m_data.areasEspeciais.empty()) {
        double area = 0.0;
        const auto addBox = [&](const Regiao& r) {
            double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
            for (const SegmentoContorno& s : r.segmentos.inListOrder())
                for (const Ponto& p : { s.p1(), s.p2() }) {
                    x0 = std::min(x0, p.x);
                    x1 = std::max(x1, p.x);
                    y0 = std::min(y0, p.y);
                    y1 = std::max(y1, p.y);
                }
            if (x1 > x0 && y1 > y0)
                area += (x1 - x0) * (y1 - y0);
        };
        for (const std::int16_t pos : m_data.regioesEspeciais.inListOrder())
            if (const Regiao* r = m_data.regiaoNaPosicao(pos))
                addBox(*r);
        for (const Regiao& r : m_data.areasEspeciais.inListOrder())
            addBox(r);
        estimate += TriangulosPorArea * std::min(area, w * hgt) / (m_hs * m_hs);
    }
    if (!(estimate <= MaxTriangulosEstimados))
        return Status::failure(msg::MalhaGrandeDemais);

    m_caixa[0] = xMin - MargemCaixa * w;
    m_caixa[1] = yMin - MargemCaixa * hgt;
    m_caixa[2] = xMax + MargemCaixa * w;
    m_caixa[3] = yMax + MargemCaixa * hgt;
    m_mesh.pontos.reserve(m_nodePts.size() * 2);
    m_mesh.iniciaCaixa(m_caixa[0], m_caixa[1], m_caixa[2], m_caixa[3]);

    std::vector<VertexId> vertexOf(m_nodePts.size(), -1);
    Triangulacao::Insercao ins;
    TriId seed = SemVizinho;
    for (const VertexId n : m_nosIniciais) {
        if (m_mesh.insere(m_nodePts[n], seed, ins)) {
            vertexOf[n] = ins.vertice;
            novoVertice(ins.vertice, true);
            m_nosBase.push_back(ins.vertice);
            seed = ins.novos.back();
        } else {
            vertexOf[n] = ins.coincidente;
        }
    }
    for (ArestaF& e : m_arestas) {
        e.a = e.a >= 0 ? vertexOf[e.a] : -1;
        e.b = e.b >= 0 ? vertexOf[e.b] : -1;
        if (e.a < 0 || e.b < 0 || e.a == e.b)
            e.viva = false;
    }
    for (ArestaExt& e : m_externas) {
        e.na = e.na >= 0 ? vertexOf[e.na] : -1;
        e.nb = e.nb >= 0 ? vertexOf[e.nb] : -1;
    }
    m_fixo.resize(m_mesh.pontos.size(), 0);
    return Status::success();
}

template <typename Ruim> Gerador::Pilha Gerador::pilhaInicial(Ruim ruim) const
{
    // The stack's top is the front of the list: the first offending triangle is taken first.
    Pilha pilha;
    std::vector<TriId> order = m_mesh.emOrdemDeLista();
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (ruim(*it))
            pilha.push_back({ *it, m_mesh.tris[*it].chave });
    return pilha;
}

template <typename Ruim>
void Gerador::empilhaNovos(const Triangulacao::Insercao& ins, Ruim ruim, Pilha& pilha) const
{
    for (const TriId t : ins.novos)
        if (ruim(t))
            pilha.push_back({ t, m_mesh.tris[t].chave });
}

bool Gerador::insereInterno(const Ponto& p, TriId inicio, Triangulacao::Insercao& ins)
{
    if (!m_mesh.insere(p, inicio, ins))
        return false;
    novoVertice(ins.vertice, false);
    m_nosFrente.push_back(ins.vertice);
    return true;
}

template <typename Dentro> Status Gerador::refinaPorTamanho(double limite, Dentro dentro)
{
    const double lim2 = limite * limite;
    const auto ruim = [&](TriId t) {
        Ponto k;
        double r2 = 0.0;
        m_mesh.circuncirculo(t, k, r2);
        return r2 > lim2 && dentro(k);
    };
    // The first offending triangle in list order is the most recently made one still alive, and
    // whether a triangle offends never changes: a stack of candidates gives the same sequence
    // as scanning the list from its front after every insertion.
    Pilha pilha = pilhaInicial(ruim);
    Triangulacao::Insercao ins;
    while (!pilha.empty()) {
        const Candidato c = pilha.back();
        pilha.pop_back();
        if (!vigente(c))
            continue;
        Ponto k;
        double r2 = 0.0;
        m_mesh.circuncirculo(c.t, k, r2);
        if (!insereInterno(k, c.t, ins))
            continue; // a circumcentre on a vertex: leave the triangle as it is
        empilhaNovos(ins, ruim, pilha);
        if (grandeDemais())
            return Status::failure(msg::MalhaGrandeDemais);
    }
    return Status::success();
}

bool Gerador::anguloPequeno(TriId t) const
{
    // The circumradius against the shortest side measures the smallest angle without a sine.
    const auto& pts = m_mesh.pontos;
    const auto& v = m_mesh.tris[t].v;
    double shortest2 = std::numeric_limits<double>::infinity();
    for (int i = 0; i < 3; ++i) {
        const Ponto& p = pts[v[i]];
        const Ponto& q = pts[v[(i + 1) % 3]];
        shortest2 = std::min(shortest2, (q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y));
    }
    Ponto k;
    double r2 = 0.0;
    m_mesh.circuncirculo(t, k, r2);
    const double b = m_data.fatorQualidade;
    return r2 > b * b * shortest2;
}

GradeArestas Gerador::gradeDaFronteira() const
{
    GradeArestas grade;
    const double diag = std::hypot(m_caixa[2] - m_caixa[0], m_caixa[3] - m_caixa[1]);
    grade.inicia(m_caixa[0], m_caixa[1], m_caixa[2], m_caixa[3],
        std::max({ m_h, m_hs, diag / CelulasPorDiagonal }));
    const auto& pts = m_mesh.pontos;
    for (std::size_t i = 0; i < m_arestas.size(); ++i)
        if (m_arestas[i].viva)
            grade.insere(static_cast<std::int32_t>(i), pts[m_arestas[i].a], pts[m_arestas[i].b]);
    return grade;
}

void Gerador::arestasInvadidas(
    const GradeArestas& grade, const Ponto& k, std::vector<std::int32_t>& invadidas) const
{
    // The boundary edges whose diametral circle holds K, in list order.
    const auto& pts = m_mesh.pontos;
    invadidas.clear();
    if (const std::vector<std::int32_t>* cell = grade.em(k)) {
        for (const std::int32_t id : *cell) {
            const ArestaF& e = m_arestas[id];
            if (!e.viva)
                continue;
            const Ponto& p1 = pts[e.a];
            const Ponto& p2 = pts[e.b];
            const Ponto mid { (p1.x + p2.x) / 2.0, (p1.y + p2.y) / 2.0 };
            const double half = geometry::distancia(p1, p2) / 2.0;
            if (geometry::distancia(k, mid) < half && !coincide(k, p1) && !coincide(k, p2))
                invadidas.push_back(id);
        }
    }
    std::sort(invadidas.begin(), invadidas.end(),
        [&](std::int32_t x, std::int32_t y) { return m_arestas[x].ordem < m_arestas[y].ordem; });
}

std::size_t Gerador::divideInvadidas(const std::vector<std::int32_t>& invadidas, double limite,
    GradeArestas& grade, Triangulacao::Insercao& ins, Pilha& pilha)
{
    std::size_t splits = 0;
    for (const std::int32_t id : invadidas) {
        const ArestaF e = m_arestas[id];
        // Copies: an insertion can move the point array.
        const Ponto p1 = m_mesh.pontos[e.a];
        const Ponto p2 = m_mesh.pontos[e.b];
        if (m_obs != nullptr)
            m_obs->edgeHighlighted(p1, p2, CorArestaInvadida);
        const double len = geometry::distancia(p1, p2);
        if (len / 2.0 < limite)
            continue;
        const Ponto n = pontoDeDivisao(p1, p2, len);
        if (!m_mesh.insere(n, m_mesh.trianguloDoVertice[e.a], ins))
            continue;
        novoVertice(ins.vertice, true);
        m_nosFundo.push_back(ins.vertice);
        m_arestas[id].b = ins.vertice;
        const std::int32_t half = novaAresta(ins.vertice, e.b, --m_frente);
        grade.insere(half, n, p2);
        ++splits;
        empilhaNovos(
            ins, [this](TriId t) { return anguloPequeno(t); }, pilha);
    }
    return splits;
}

Status Gerador::condicaoAngulo()
{
    // An encroached edge shorter than the reference length (the special one, where there are
    // special regions) is left whole.
    const double limite = 0.5
        * (!m_data.regioesEspeciais.empty() ? m_data.arestaEspecial
                                            : m_opcoes.comprimentoReferencia);
    const auto ruim = [this](TriId t) { return anguloPequeno(t); };
    GradeArestas grade = gradeDaFronteira();
    Pilha pilha = pilhaInicial(ruim);

    // The angle condition need not end for every domain and quality bound: give up well past
    // what a converging run inserts.
    const std::size_t maxInsercoes = InsercoesPorNo * numNos() + InsercoesFolga;
    std::size_t insercoes = 0;
    Triangulacao::Insercao ins;
    std::vector<std::int32_t> invadidas;
    while (!pilha.empty()) {
        const Candidato c = pilha.back();
        pilha.pop_back();
        if (!vigente(c))
            continue;
        Ponto k;
        double r2 = 0.0;
        m_mesh.circuncirculo(c.t, k, r2);

        // A circumcentre that encroaches on the boundary splits the boundary instead, so that
        // no point is put next to an edge it would spoil.
        arestasInvadidas(grade, k, invadidas);
        const std::size_t base = pilha.size();
        std::size_t splits = divideInvadidas(invadidas, limite, grade, ins, pilha);
        if (invadidas.empty() && m_interior.contains(k) && insereInterno(k, c.t, ins)) {
            empilhaNovos(ins, ruim, pilha);
            ++splits;
        }
        insercoes += splits;
        // A triangle that survived a change is examined again after the new ones.
        if (splits > 0 && vigente(c))
            pilha.insert(pilha.begin() + static_cast<std::ptrdiff_t>(base), c);
        if (insercoes > maxInsercoes)
            return Status::failure(msg::MalhaNaoConverge);
        if (grandeDemais())
            return Status::failure(msg::MalhaGrandeDemais);
    }
    return Status::success();
}

Status Gerador::reconstituiFronteiras()
{
    const auto& pts = m_mesh.pontos;
    std::vector<std::uint32_t> visto;
    std::uint32_t marca = 0;
    std::vector<TriId> fan, fila;
    Triangulacao::Insercao ins;
    const auto cruza = [&](TriId t, const geometry::Segmento& ab, int& lado) {
        const auto& v = m_mesh.tris[t].v;
        for (int i = 0; i < 3; ++i)
            if (geometry::cruzamento({ pts[v[i]], pts[v[(i + 1) % 3]] }, ab)) {
                lado = i;
                return true;
            }
        return false;
    };
    for (int pass = 0;; ++pass) {
        if (pass >= MaxPassesFronteira)
            return Status::failure(msg::MalhaFronteirasNaoReconstituidas);
        // The missing edges, each with the first triangle in list order that crosses it.
        struct Falta {
            std::int32_t aresta;
            std::uint64_t chave;
        };
        std::vector<Falta> faltas;
        for (std::size_t i = 0; i < m_arestas.size(); ++i) {
            const ArestaF& e = m_arestas[i];
            if (!e.viva || m_mesh.comLado(e.a, e.b) != SemVizinho)
                continue;
            const geometry::Segmento ab { pts[e.a], pts[e.b] };
            visto.resize(m_mesh.tris.size(), 0);
            ++marca;
            fila.clear();
            for (const VertexId end : { e.a, e.b }) {
                m_mesh.leque(end, fan);
                for (const TriId t : fan) {
                    int lado = 0;
                    if (visto[t] != marca && cruza(t, ab, lado)) {
                        visto[t] = marca;
                        fila.push_back(t);
                    }
                }
            }
            std::uint64_t chave = 0;
            for (std::size_t q = 0; q < fila.size(); ++q) {
                const TriId t = fila[q];
                chave = std::max(chave, m_mesh.tris[t].chave);
                const auto& v = m_mesh.tris[t].v;
                for (int j = 0; j < 3; ++j) {
                    const TriId nb = m_mesh.tris[t].n[j];
                    if (nb == SemVizinho || visto[nb] == marca)
                        continue;
                    if (geometry::cruzamento({ pts[v[j]], pts[v[(j + 1) % 3]] }, ab)) {
                        visto[nb] = marca;
                        fila.push_back(nb);
                    }
                }
            }
            if (!fila.empty())
                faltas.push_back({ static_cast<std::int32_t>(i), chave });
        }
        if (faltas.empty())
            return Status::success();
        std::sort(faltas.begin(), faltas.end(), [&](const Falta& x, const Falta& y) {
            if (x.chave != y.chave)
                return x.chave > y.chave;
            return m_arestas[x.aresta].ordem < m_arestas[y.aresta].ordem;
        });

        // Midpoints in the order collected; a repeat is inserted once.
        std::vector<Ponto> meios;
        std::vector<std::int32_t> meioDe(faltas.size(), -1);
        std::vector<VertexId> inicioDoMeio; ///< an end vertex of the first edge of each midpoint
        HashPontos hash;
        for (std::size_t i = 0; i < faltas.size(); ++i) {
            const ArestaF& e = m_arestas[faltas[i].aresta];
            const Ponto m { (pts[e.a].x + pts[e.b].x) / 2.0, (pts[e.a].y + pts[e.b].y) / 2.0 };
            std::int32_t id = hash.find(m, meios);
            if (id < 0) {
                id = static_cast<std::int32_t>(meios.size());
                meios.push_back(m);
                inicioDoMeio.push_back(e.a);
                hash.insert(m, id);
            }
            meioDe[i] = id;
        }
        std::vector<VertexId> verticeDoMeio(meios.size(), -1);
        std::size_t added = 0;
        for (std::size_t m = 0; m < meios.size(); ++m) {
            if (m_mesh.insere(meios[m], m_mesh.trianguloDoVertice[inicioDoMeio[m]], ins)) {
                novoVertice(ins.vertice, true);
                m_nosFrente.push_back(ins.vertice);
                verticeDoMeio[m] = ins.vertice;
                ++added;
            } else {
                verticeDoMeio[m] = ins.coincidente;
            }
        }
        for (std::size_t i = 0; i < faltas.size(); ++i) {
            const VertexId mv = verticeDoMeio[meioDe[i]];
            ArestaF& e = m_arestas[faltas[i].aresta];
            if (mv < 0 || mv == e.a || mv == e.b)
                continue;
            e.viva = false;
            const VertexId a = e.a, b = e.b;
            novaAresta(a, mv, --m_frente);
            novaAresta(mv, b, --m_frente);
        }
        if (added == 0)
            return Status::success();
        if (grandeDemais())
            return Status::failure(msg::MalhaGrandeDemais);
    }
}

void Gerador::removeExterior()
{
    std::vector<TriId> fora;
    for (std::size_t t = 0; t < m_mesh.tris.size(); ++t) {
        if (!m_mesh.tris[t].vivo)
            continue;
        const auto& v = m_mesh.tris[t].v;
        const auto& p = m_mesh.pontos;
        const Ponto c { (p[v[0]].x + p[v[1]].x + p[v[2]].x) / 3.0,
            (p[v[0]].y + p[v[1]].y + p[v[2]].y) / 3.0 };
        if (!m_interior.contains(c))
            fora.push_back(static_cast<TriId>(t));
    }
    for (const TriId t : fora)
        m_mesh.remove(t);
    m_mesh.reindexaVertices();
}

void Gerador::corrigeCantos()
{
    const auto& pts = m_mesh.pontos;
    // The edges of the cut outer contour by their end vertices.
    std::unordered_multimap<VertexId, std::size_t> porVertice;
    for (std::size_t i = 0; i < m_externas.size(); ++i) {
        const ArestaExt& e = m_externas[i];
        if (!e.viva || e.na < 0 || e.nb < 0)
            continue;
        porVertice.emplace(e.na, i);
        porVertice.emplace(e.nb, i);
    }
    const auto noContorno = [&](VertexId u, VertexId v) {
        for (const VertexId s : { u, v }) {
            const VertexId other = s == u ? v : u;
            const auto [lo, hi] = porVertice.equal_range(s);
            for (auto it = lo; it != hi; ++it) {
                const ArestaExt& e = m_externas[it->second];
                if ((e.na == u && e.nb == v) || (e.na == v && e.nb == u))
                    return true;
                if (std::fabs(orient2(pts[e.na], pts[e.nb], pts[other])) <= CantoColinear)
                    return true;
            }
        }
        return false;
    };

    const std::vector<TriId> order = m_mesh.emOrdemDeLista();
    for (const TriId t : order) {
        if (!m_mesh.tris[t].vivo)
            continue;
        const auto v = m_mesh.tris[t].v;
        bool on[3];
        int count = 0;
        for (int i = 0; i < 3; ++i) {
            on[i] = noContorno(v[i], v[(i + 1) % 3]);
            count += on[i] ? 1 : 0;
        }
        if (count != 2)
            continue;
        const int j = !on[0] ? 0 : (!on[1] ? 1 : 2);
        const VertexId a = v[j], b = v[(j + 1) % 3], c = v[(j + 2) % 3];
        const TriId u = m_mesh.tris[t].n[j];
        if (u == SemVizinho)
            continue; // nothing to join the corner with
        const int ju = m_mesh.ladoDe(u, b, a);
        if (ju < 0)
            continue;
        const VertexId d = m_mesh.tris[u].v[(ju + 2) % 3];
        const Ponto nPt { (pts[a].x + pts[b].x + pts[c].x + pts[d].x) / 4.0,
            (pts[a].y + pts[b].y + pts[c].y + pts[d].y) / 4.0 };
        // The quadrilateral a, d, b, c must be convex enough for its centre to see every side.
        const VertexId quad[4] = { a, d, b, c };
        bool valid = true;
        for (int i = 0; i < 4 && valid; ++i)
            valid = orient2(pts[quad[i]], pts[quad[(i + 1) % 4]], nPt) > 0.0;
        if (!valid)
            continue;
        if (m_obs != nullptr)
            m_obs->triangleHighlighted(m_mesh.triangulo(t), CorCanto);

        // Outside neighbours of the quadrilateral's sides, before anything changes.
        struct Fora {
            VertexId x, y;
            TriId tri;
        };
        std::vector<Fora> fora;
        for (const TriId old : { t, u })
            for (int i = 0; i < 3; ++i) {
                const VertexId x = m_mesh.tris[old].v[i];
                const VertexId y = m_mesh.tris[old].v[(i + 1) % 3];
                if (!((x == a && y == b) || (x == b && y == a)))
                    fora.push_back({ x, y, m_mesh.tris[old].n[i] });
            }
        const VertexId nv = m_mesh.novoVertice(nPt);
        novoVertice(nv, false);
        m_nosFrente.push_back(nv);
        m_mesh.redefine(t, nv, b, c);
        m_mesh.redefine(u, nv, a, d);
        const TriId t3 = m_mesh.cria(nv, d, b);
        const TriId t4 = m_mesh.cria(nv, c, a);
        const TriId quatro[4] = { t, u, t3, t4 };
        for (const TriId q : quatro) {
            for (int i = 0; i < 3; ++i) {
                const VertexId x = m_mesh.tris[q].v[i];
                const VertexId y = m_mesh.tris[q].v[(i + 1) % 3];
                TriId link = SemVizinho;
                for (const TriId r : quatro)
                    if (r != q && m_mesh.ladoDe(r, y, x) >= 0)
                        link = r;
                if (link == SemVizinho)
                    for (const Fora& f : fora)
                        if (f.x == x && f.y == y) {
                            link = f.tri;
                            if (link != SemVizinho) {
                                m_mesh.liga(link, y, x, q);
                            }
                        }
                m_mesh.tris[q].n[i] = link;
            }
        }
    }
}

void Gerador::conclui()
{
    // The mesh by compact vertex ids, nodes in list order.
    MalhaIndices malha;
    std::vector<std::int32_t> compact(m_mesh.pontos.size(), -1);
    const std::vector<TriId> order = m_mesh.emOrdemDeLista();
    std::vector<char> used(m_mesh.pontos.size(), 0);
    for (const TriId t : order)
        for (const VertexId v : m_mesh.tris[t].v)
            used[v] = 1;
    const auto take = [&](VertexId v) {
        if (compact[v] < 0) {
            compact[v] = static_cast<std::int32_t>(malha.pontos.size());
            malha.pontos.push_back(m_mesh.pontos[v]);
            malha.ordemNos.push_back(compact[v]);
        }
    };
    for (auto it = m_nosFrente.rbegin(); it != m_nosFrente.rend(); ++it)
        if (used[*it] != 0)
            take(*it);
    for (const VertexId v : m_nosBase)
        if (used[v] != 0)
            take(v);
    for (const VertexId v : m_nosFundo)
        if (used[v] != 0)
            take(v);
    malha.tris.reserve(order.size());
    for (const TriId t : order) {
        const auto& v = m_mesh.tris[t].v;
        take(v[0]);
        take(v[2]);
        take(v[1]);
        malha.tris.push_back({ compact[v[0]], compact[v[2]], compact[v[1]] });
    }
    malha.indexa();
    malha.fixo.assign(malha.pontos.size(), 0);
    double extent = 0.0;
    for (const Ponto& p : malha.pontos)
        extent = std::max({ extent, std::fabs(p.x), std::fabs(p.y) });
    ContornoNos contour;
    contour.build(m_data.poolSegmentos, std::max(m_data.tolerancia, 1e-12 * extent));
    for (std::size_t v = 0; v < m_mesh.pontos.size(); ++v) {
        if (compact[v] < 0)
            continue;
        if ((v < m_fixo.size() && m_fixo[v] != 0) || contour.onAny(m_mesh.pontos[v]))
            malha.fixo[compact[v]] = 1;
    }

    m_data.numTriangulos = static_cast<std::int32_t>(malha.tris.size());
    m_data.numNos = static_cast<std::int32_t>(malha.ordemNos.size());
    m_data.qualidadeMalha = qualidadeMedia(malha);
    if (m_opcoes.recentragem) {
        m_progress.status(msg::MalhaRecentrando);
        m_data.qualidadeMalha = suavizaPorTamanho(malha);
    }
    escreveMalha(malha, m_data);
}

Status Gerador::iniciaExecucao()
{
    // A previous mesh goes at once; a special region named twice counts once.
    m_progress.status(msg::MalhaPreparando);
    m_data.triangulos.clear();
    m_data.nos.clear();
    m_data.numTriangulos = 0;
    m_data.numNos = 0;
    {
        std::vector<std::int16_t> distinct;
        for (const std::int16_t pos : m_data.regioesEspeciais.inListOrder())
            if (std::find(distinct.begin(), distinct.end(), pos) == distinct.end())
                distinct.push_back(pos);
        if (distinct.size() != m_data.regioesEspeciais.size()) {
            m_data.regioesEspeciais.clear();
            for (auto it = distinct.rbegin(); it != distinct.rend(); ++it)
                m_data.regioesEspeciais.pushFront(*it);
        }
    }
    m_data.arestaMalha = m_data.arestaMaxima;

    // A special length that equals h refines nothing: the run is then a plain one.
    m_h = m_data.arestaMaxima;
    if (!(m_h > ProblemData::ArestaMinima) || !std::isfinite(m_h))
        return Status::failure(msg::MalhaArestaInvalida);
    m_especial = (!m_data.regioesEspeciais.empty() || !m_data.areasEspeciais.empty())
        && std::fabs(m_data.arestaEspecial - m_h) > DiferencaEspecial;
    m_hs = m_especial ? m_data.arestaEspecial : m_h;
    if (!(m_hs > ProblemData::ArestaMinima) || !std::isfinite(m_hs))
        return Status::failure(msg::MalhaArestaInvalida);
    if (m_data.regioes.empty() || m_data.poolSegmentos.empty() || m_data.contornoExterno.empty())
        return Status::failure(msg::MalhaSemContorno);
    return Status::success();
}

Status Gerador::refinaRegioesEspeciais()
{
    std::vector<PoligonoRegiao> polygons(1); // position 1 is never searched
    for (const std::int16_t pos : m_data.regioesEspeciais.inListOrder())
        if (pos >= 1 && static_cast<std::size_t>(pos) <= m_data.poligonosRegioes.size())
            polygons.push_back(m_data.poligonosRegioes[static_cast<std::size_t>(pos) - 1]);
    for (const Regiao& area : m_data.areasEspeciais.inListOrder())
        polygons.push_back(poligonoDoContorno(area.segmentos));
    RegionLocator special;
    special.build(polygons);
    return refinaPorTamanho(
        FatorCircunraio * m_hs, [&](const Ponto& k) { return special.find(k) > 0; });
}

Status Gerador::executa()
{
    if (Status s = iniciaExecucao(); !s)
        return falha(s.message);

    if (Status s = preparaFronteira(); !s)
        return falha(s.message);
    if (!pontoDeControle(10))
        return falha(msg::MalhaInterrompida);

    m_progress.status(msg::MalhaNosFronteira);
    if (Status s = triangulaFronteira(); !s)
        return falha(s.message);
    informaEtapa(EtapaMalha::Fronteira);
    // The box's four corners and N nodes make 2N + 2 triangles; any other count is a broken
    // insertion.
    if (m_mesh.vivos() != 2 * numNos() + 2)
        return falha(msg::MalhaIncoerenteFronteira);
    if (!pontoDeControle(20))
        return falha(msg::MalhaInterrompida);

    m_progress.status(msg::MalhaNosInternos);
    if (Status s = refinaPorTamanho(
            FatorCircunraio * m_h, [&](const Ponto& k) { return m_interior.contains(k); });
        !s)
        return falha(s.message);
    informaEtapa(EtapaMalha::PontosInternos);
    if (!pontoDeControle(55))
        return falha(msg::MalhaInterrompida);

    if (m_especial || !m_data.areasEspeciais.empty()) {
        m_progress.status(msg::MalhaRegiaoEspecial);
        if (Status s = refinaRegioesEspeciais(); !s)
            return falha(s.message);
        informaEtapa(EtapaMalha::RegiaoEspecial);
    }
    if (!pontoDeControle(65))
        return falha(msg::MalhaInterrompida);

    if (m_opcoes.verificaAngulo) {
        m_progress.status(msg::MalhaCondicaoAngulo);
        if (Status s = condicaoAngulo(); !s)
            return falha(s.message);
        informaEtapa(EtapaMalha::Angulo);
    }
    if (!pontoDeControle(70))
        return falha(msg::MalhaInterrompida);

    m_progress.status(msg::MalhaReconstituindo);
    if (Status s = reconstituiFronteiras(); !s)
        return falha(s.message);
    informaEtapa(EtapaMalha::Fronteiras);
    if (m_mesh.vivos() != 2 * numNos() + 2)
        return falha(msg::MalhaIncoerentePontosInternos);
    if (!pontoDeControle(85))
        return falha(msg::MalhaInterrompida);

    removeExterior();
    informaEtapa(EtapaMalha::Exterior);
    m_progress.status(msg::MalhaCantos);
    corrigeCantos();
    informaEtapa(EtapaMalha::Cantos);
    if (!pontoDeControle(90))
        return falha(msg::MalhaInterrompida);

    conclui();
    if (m_obs != nullptr)
        m_obs->meshReset();
    m_progress.status(msg::MalhaConcluida);
    m_progress.percent(100);
    return Status::success();
}

} // namespace

std::vector<Ponto> cortaElemento(
    const SegmentoContorno& s, double comprimento, double anguloArcoGraus)
{
    const Corte c = planejaCorte(s, comprimento, anguloArcoGraus);
    if (!(c.n <= MaxArestasFronteira))
        return {};
    return pontosDoCorte(c);
}

Status gerarMalha(
    ProblemData& data, const OpcoesMalha& opcoes, Progress& progress, MeshObserver* observer)
{
    Gerador gerador(data, opcoes, progress, observer);
    return gerador.executa();
}

} // namespace tarvex::problem
