#include "problem/formar_regioes.h"

#include "common/binary_stream.h"
#include "common/file_io.h"
#include "common/messages.h"
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"
#include "geometry/helpers.h"
#include "problem/dat_io.h"

#include <cmath>
#include <cstdint>

namespace tarvex::problem {

using geometry::anguloPolar;
using geometry::coincide;
using geometry::distancia;
using geometry::Pi;

namespace {

/// A straight edge of the walk.
struct Aresta {
    Ponto P1;
    Ponto P2;
    std::int16_t uso = 0;
};

/// Pieces made by splitting crossings are bounded, so a pathological drawing ends with a message
/// instead of growing without end.
constexpr std::size_t MaxElementos = 2'000'000;

bool mesmaOrientacao(const Aresta& a, const Ponto& p1, const Ponto& p2)
{
    return coincide(a.P1, p1) && coincide(a.P2, p2);
}

/// Steps 1 and 2: the working list in list order, cleaned with the minimum point distance.
std::vector<SegmentoContorno> listaDeTrabalho(const geometry::DrawingData& drawing,
                                              std::vector<MarcaDesenho>& marcas)
{
    // Each record inserted at the front: the last arc ends up first, the first segment last.
    std::vector<SegmentoContorno> work;
    work.reserve(drawing.segmentos.size() + drawing.arcos.size());
    const auto& arcs = drawing.arcos;
    for (std::size_t i = arcs.size(); i-- > 0;)
        work.push_back(SegmentoContorno::arco(arcs.at(i).P1, arcs.at(i).P2, arcs.at(i).PC));
    const auto& segments = drawing.segmentos;
    for (std::size_t i = segments.size(); i-- > 0;)
        work.push_back(SegmentoContorno::reta(segments.at(i).P1, segments.at(i).P2));

    const double d = drawing.distanciaMinima;
    std::vector<SegmentoContorno> kept;
    kept.reserve(work.size());
    for (const SegmentoContorno& e : work) {
        if (distancia(e.p1(), e.p2()) < d)
            marcas.push_back({e, 4, 1});
        else
            kept.push_back(e);
    }

    for (std::size_t a = 0; a < kept.size(); ++a) {
        const Ponto a1 = kept[a].p1();
        const Ponto a2 = kept[a].p2();
        for (std::size_t b = a + 1; b < kept.size(); ++b) {
            for (int end = 0; end < 2; ++end) {
                const Ponto e = end == 0 ? kept[b].p1() : kept[b].p2();
                Ponto snapped = e;
                if (distancia(e, a1) < d && !coincide(e, a1))
                    snapped = a1;
                else if (distancia(e, a2) < d && !coincide(e, a2))
                    snapped = a2;
                if (end == 0)
                    kept[b].defineP1(snapped);
                else
                    kept[b].defineP2(snapped);
            }
        }
    }
    return kept;
}

void removeDuplicados(std::vector<SegmentoContorno>& work)
{
    for (std::size_t i = 0; i < work.size(); ++i) {
        std::size_t out = i + 1;
        for (std::size_t j = i + 1; j < work.size(); ++j)
            if (!iguais(work[i], work[j]))
                work[out++] = work[j];
        work.resize(out);
    }
}

geometry::Segmento comoSegmento(const SegmentoContorno& e) { return {e.p1(), e.p2()}; }

std::size_t primeiroIgual(const std::vector<SegmentoContorno>& work, const SegmentoContorno& e)
{
    for (std::size_t k = 0; k < work.size(); ++k)
        if (iguais(work[k], e))
            return k;
    return work.size();
}

Status divideCruzamentos(std::vector<SegmentoContorno>& work)
{
    for (std::size_t i = 0; i < work.size(); ++i) {
        if (work[i].ehArco)
            continue;
        SegmentoContorno s = work[i];
        for (std::size_t j = i + 1; j < work.size(); ++j) {
            const SegmentoContorno t = work[j];
            if (t.ehArco || !geometry::cruzamento(comoSegmento(s), comoSegmento(t)))
                continue;
            if (work.size() + 2 > MaxElementos)
                return Status::failure(msg::DesenhoComplexoDemais);
            const Ponto x = geometry::intersecaoRetas(comoSegmento(s), comoSegmento(t));
            work.push_back(SegmentoContorno::reta(x, t.p2()));
            if (const std::size_t k = primeiroIgual(work, t); k < work.size())
                work[k].defineP2(x);
            work.push_back(SegmentoContorno::reta(x, s.p2()));
            if (const std::size_t k = primeiroIgual(work, s); k < work.size())
                work[k].defineP2(x);
            s.defineP2(x);
        }
    }
    return Status::success();
}

void removePendentes(std::vector<SegmentoContorno>& work)
{
    // One pass: an element left dangling only by a later deletion stays.
    std::vector<bool> removed(work.size(), false);
    for (std::size_t i = 0; i < work.size(); ++i) {
        bool joined1 = false;
        bool joined2 = false;
        for (std::size_t j = 0; j < work.size() && !(joined1 && joined2); ++j) {
            if (j == i || removed[j])
                continue;
            const Ponto q1 = work[j].p1();
            const Ponto q2 = work[j].p2();
            joined1 = joined1 || coincide(work[i].p1(), q1) || coincide(work[i].p1(), q2);
            joined2 = joined2 || coincide(work[i].p2(), q1) || coincide(work[i].p2(), q2);
        }
        removed[i] = !(joined1 && joined2);
    }
    std::size_t out = 0;
    for (std::size_t i = 0; i < work.size(); ++i)
        if (!removed[i])
            work[out++] = work[i];
    work.resize(out);
}

/// Four chords of an arc, in its walking order.
struct Cordas {
    Aresta c[4];
    Ponto centroOriginal;
};

Cordas cordasDoArco(const SegmentoContorno& arc)
{
    const geometry::ExtensaoArco e =
        geometry::extensaoArco({arc.p1(), arc.p2(), arc.centro()});
    const double sweep = e.fim - e.inicio;
    const double degree = 2.0 * Pi / 360.0;
    double angles[3];
    if (4.0 * degree >= sweep) {
        for (int k = 0; k < 3; ++k)
            angles[k] = e.inicio + (k + 1) * sweep / 4.0;
    } else {
        angles[0] = e.inicio + degree;
        angles[1] = e.inicio + degree + (sweep - 2.0 * degree) / 2.0;
        angles[2] = e.inicio + degree + (sweep - 2.0 * degree);
    }
    Ponto points[5];
    points[0] = arc.p1();
    for (int k = 0; k < 3; ++k)
        points[k + 1] = {arc.xc + e.raio * std::cos(angles[k]), arc.yc + e.raio * std::sin(angles[k])};
    points[4] = arc.p2();
    Cordas cordas;
    for (int k = 0; k < 4; ++k)
        cordas.c[k] = {points[k], points[k + 1], 0};
    cordas.centroOriginal = arc.centro();
    return cordas;
}

/// Angle from the way back along `current` counterclockwise to the candidate leaving `from`.
double anguloVirada(const Aresta& current, const Ponto& from, const Ponto& to)
{
    const double b = anguloPolar(current.P1.x - current.P2.x, current.P1.y - current.P2.y);
    const double c = anguloPolar(to.x - from.x, to.y - from.y);
    double angle = c - b;
    if (angle < 0.0)
        angle += 2.0 * Pi;
    return angle;
}

constexpr std::size_t Nenhuma = static_cast<std::size_t>(-1);

/// The edge with the sharpest right turn at the current end point, or Nenhuma. `reversed` tells
/// whether it is reached at its second end point.
std::size_t proximaNaCaminhada(const std::vector<Aresta>& edges, const Aresta& current,
                               bool onlyUnused, bool& reversed)
{
    double best = 8.0 * Pi;
    std::size_t chosen = Nenhuma;
    const Ponto& end = current.P2;
    for (std::size_t k = 0; k < edges.size(); ++k) {
        const Aresta& c = edges[k];
        if (onlyUnused && c.uso != 0)
            continue;
        if (mesmaOrientacao(c, current.P1, current.P2))
            continue;
        bool atSecond = false;
        if (coincide(c.P1, end))
            atSecond = false;
        else if (coincide(c.P2, end))
            atSecond = true;
        else
            continue;
        const double angle = atSecond ? anguloVirada(current, c.P2, c.P1)
                                      : anguloVirada(current, c.P1, c.P2);
        if (angle < best) {
            best = angle;
            chosen = k;
            reversed = atSecond;
        }
    }
    if (best > 20.0)
        return Nenhuma;
    return chosen;
}

void adicionaAoContorno(Regiao& region, const Aresta& edge)
{
    region.segmentos.pushFront(SegmentoContorno::reta(edge.P1, edge.P2));
}

/// Walks from the current edge until `stop` is reached; false when no way on exists or the walk
/// does not close. With a start edge, reaching `stop` closes the walk only when the way on is
/// that edge again: an outline that passes its start point twice (both sides of a cut line)
/// would otherwise close half-way round.
bool caminha(std::vector<Aresta>& edges, Aresta current, const Ponto& stop, bool onlyUnused,
             Regiao& region, Aresta& lastEdge, std::size_t startEdge = Nenhuma)
{
    // Edges are turned in place as they are walked, so the start edge's way out of `stop` is
    // remembered by its far end.
    const Ponto startFar = current.P2;
    const auto closes = [&](const Aresta& reached) {
        if (!coincide(reached.P2, stop))
            return false;
        if (startEdge == Nenhuma)
            return true;
        bool reversed = false;
        const std::size_t next = proximaNaCaminhada(edges, reached, onlyUnused, reversed);
        if (next != startEdge)
            return next == Nenhuma;
        return coincide(reversed ? edges[next].P1 : edges[next].P2, startFar);
    };
    // A closed walk uses each edge at most twice; anything longer is going round in circles.
    const std::size_t maxSteps = 2 * edges.size() + 2;
    std::size_t step = 0;
    do {
        lastEdge = current;
        bool reversed = false;
        const std::size_t k = step < maxSteps
                                  ? proximaNaCaminhada(edges, current, onlyUnused, reversed)
                                  : Nenhuma;
        if (k == Nenhuma)
            return false;
        Aresta& chosen = edges[k];
        if (reversed)
            std::swap(chosen.P1, chosen.P2);
        ++chosen.uso;
        adicionaAoContorno(region, chosen);
        current = chosen;
        ++step;
    } while (!closes(current));
    return true;
}

void restauraArcos(const std::vector<Cordas>& arcs, common::FrontList<Regiao>& regions)
{
    for (const Cordas& group : arcs) {
        for (Regiao& region : regions.inListOrder()) {
            bool removedAny = false;
            for (const Aresta& chord : group.c) {
                const SegmentoContorno asElement = SegmentoContorno::reta(chord.P1, chord.P2);
                for (std::size_t k = 0; k < region.segmentos.size(); ++k) {
                    if (iguais(region.segmentos.at(k), asElement)) {
                        region.segmentos.eraseAt(k);
                        removedAny = true;
                        break;
                    }
                }
            }
            if (!removedAny)
                continue;
            Ponto centre = geometry::circuncentro(group.c[1].P1, group.c[2].P1, group.c[3].P1);
            // Chord points in a line have no circle through them: keep the drawn centre.
            if (!std::isfinite(centre.x) || !std::isfinite(centre.y)
                || geometry::orientacao(group.c[1].P1, group.c[2].P1, group.c[3].P1) == 0)
                centre = group.centroOriginal;
            region.segmentos.pushFront(SegmentoContorno::arco(group.c[0].P1, group.c[3].P2, centre));
        }
    }
}

} // namespace

Status formarRegioes(const geometry::DrawingData& drawing, ResultadoFormacao& out)
{
    out = ResultadoFormacao();
    std::vector<SegmentoContorno> work = listaDeTrabalho(drawing, out.marcas);
    removeDuplicados(work);
    if (Status s = divideCruzamentos(work); !s)
        return s;
    removePendentes(work);
    if (work.empty())
        return Status::failure(msg::SemContornos);

    // Edge list in list order: the chords (last inserted first), then the straight elements.
    std::vector<Aresta> straight;
    std::vector<Cordas> arcs;
    for (const SegmentoContorno& e : work) {
        if (e.ehArco)
            arcs.push_back(cordasDoArco(e));
        else
            straight.push_back({e.p1(), e.p2(), 0});
    }
    std::vector<Aresta> edges;
    edges.reserve(straight.size() + 4 * arcs.size());
    for (std::size_t g = arcs.size(); g-- > 0;)
        for (int k = 4; k-- > 0;)
            edges.push_back(arcs[g].c[k]);
    for (std::size_t i = straight.size(); i-- > 0;)
        edges.push_back(straight[i]);

    // Outer contour: from the rightmost end point (the last one found on ties), coming from the
    // right, so the sharpest right turn walks it counterclockwise.
    Ponto start = edges.front().P1;
    for (const Aresta& e : edges) {
        if (e.P1.x >= start.x)
            start = e.P1;
        if (e.P2.x >= start.x)
            start = e.P2;
    }
    out.regioes.pushFront(Regiao());
    Aresta lastEdge;
    if (!caminha(edges, {{start.x + 100.0, start.y}, start, 0}, start, true,
                 out.regioes.at(0), lastEdge)) {
        out.marcas.push_back({SegmentoContorno::reta(lastEdge.P1, lastEdge.P2), 4, 2});
        return Status::failure(msg::ErroContorno);
    }

    // Interior regions: each walked clockwise from the first edge not yet used on both sides.
    for (;;) {
        std::erase_if(edges, [](const Aresta& e) { return e.uso == 2; });
        if (edges.empty())
            break;
        Aresta& first = edges.front();
        if (first.uso == 1)
            std::swap(first.P1, first.P2);
        out.regioes.pushFront(Regiao());
        ++first.uso;
        Regiao& region = out.regioes.at(0);
        adicionaAoContorno(region, first);
        const Ponto stop = first.P1;
        if (!caminha(edges, first, stop, false, region, lastEdge, 0))
            return Status::failure(msg::ErroRegioes);
    }

    restauraArcos(arcs, out.regioes);
    for (const Regiao& region : out.regioes.inListOrder())
        for (const SegmentoContorno& e : region.segmentos.inListOrder())
            out.marcas.push_back({e, 15, 1});
    return Status::success();
}

std::string escreveDatExportado(double fatorEscala, const JanelaExportacao& janela,
                                const common::FrontList<Regiao>& regioes)
{
    common::ByteWriter out;
    out.writeFixedText(geometry::DesVersion, geometry::VersionFieldBytes);
    out.writeBytes(std::string_view("\x01", 1));
    out.writeDouble(fatorEscala);
    out.writeDouble(janela.xMin);
    out.writeDouble(janela.xMax);
    out.writeDouble(janela.yMin);
    out.writeDouble(janela.yMax);
    out.writeInt32(static_cast<std::int32_t>(regioes.size()));
    for (const Regiao& region : regioes.inListOrder())
        writeRegiao(out, region);
    out.writeDouble(0.0);
    return out.take();
}

std::string nomeDatProposto(const std::string& caminhoDesenho)
{
    const std::string extension = common::extensionOf(caminhoDesenho);
    if (extension == "des" || extension == "pre" || extension == "dxf")
        return common::replaceExtension(caminhoDesenho, ".dat");
    return caminhoDesenho;
}

std::string caminhoDatEscolhido(const std::string& escolhido)
{
    if (common::extensionOf(escolhido) == "des")
        return common::replaceExtension(escolhido, ".dat");
    return escolhido;
}

} // namespace tarvex::problem
