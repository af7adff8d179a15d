#include "geometry/arrangements.h"

#include "common/messages.h"
#include "geometry/drawing.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvex::geometry {
namespace {

constexpr std::array<std::string_view, 5> Letras1 = { "a", "b", "c", "d", "r" };
constexpr std::array<std::string_view, 9> Letras2
    = { "a", "b", "c", "d", "e", "f", "r1", "r2", "h" };
constexpr std::array<std::string_view, 8> Letras3 = { "a", "b", "c", "d", "e", "f", "r1", "r2" };
constexpr std::array<std::string_view, 12> Letras4
    = { "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "r1", "r2" };

/// A value counts as zero below this magnitude.
constexpr double LimiteZero = 1e-23;

int indiceLetra(int tipo, std::string_view letra)
{
    const std::vector<std::string_view> letras = letrasArranjo(tipo);
    const auto it = std::find(letras.begin(), letras.end(), letra);
    return it == letras.end() ? -1 : static_cast<int>(it - letras.begin());
}

/// The arithmetic of the generators: quantities named as rounded go through a 32-bit float.
double f32(double v)
{
    return static_cast<double>(valorCampo(v));
}

std::string_view mensagemZero(std::string_view letra)
{
    if (letra == "a")
        return msg::ArranjoZero_a;
    if (letra == "b")
        return msg::ArranjoZero_b;
    if (letra == "c")
        return msg::ArranjoZero_c;
    if (letra == "d")
        return msg::ArranjoZero_d;
    if (letra == "e")
        return msg::ArranjoZero_e;
    if (letra == "f")
        return msg::ArranjoZero_f;
    if (letra == "g")
        return msg::ArranjoZero_g;
    if (letra == "h")
        return msg::ArranjoZero_h;
    if (letra == "i")
        return msg::ArranjoZero_i;
    if (letra == "j")
        return msg::ArranjoZero_j;
    if (letra == "r1")
        return msg::ArranjoZero_r1;
    return msg::ArranjoZero_r2;
}

/// The zero checks of the letters in `letras`, in that order.
Status semZeros(const DimensoesArranjo& d, std::initializer_list<std::string_view> letras)
{
    for (std::string_view letra : letras) {
        if (std::fabs(static_cast<double>(d.valor(letra))) < LimiteZero)
            return Status::failure(mensagemZero(letra));
    }
    return Status::success();
}

/// The cross-section before it goes into the drawing, each list in insertion order.
struct Geometria {
    std::vector<Ponto> pontos;
    std::vector<Segmento> segmentos;
    std::vector<Arco> arcos;

    /// Segments between points by index, in the order given.
    void segs(std::initializer_list<std::array<int, 2>> pares)
    {
        for (const auto& [i, j] : pares)
            segmentos.push_back({ pontos.at(i), pontos.at(j) });
    }
    /// Arcs by the indices of their first point, second point and centre.
    void arcs(std::initializer_list<std::array<int, 3>> ternos)
    {
        for (const auto& [i, j, centro] : ternos)
            arcos.push_back({ pontos.at(i), pontos.at(j), pontos.at(centro) });
    }
};

Geometria geometria1(const DimensoesArranjo& dim)
{
    const double a = dim.valor("a"), b = dim.valor("b"), c = dim.valor("c");
    const double d = dim.valor("d"), r = dim.valor("r");
    const double b2r = f32(b - 2.0 * r);
    const double c2r = f32(c - 2.0 * r);
    const double ca = f32(c + a);
    double h = b > c ? 1.5 * (b + a) : 1.5 * (c + a);
    if (h > 5.0 * a)
        h = 5.0 * a;
    const double l = f32(std::min(h, 2.2 * d));

    Geometria g;
    g.pontos = { { c / 2, -b2r / 2 }, { c / 2, b2r / 2 }, { -c / 2, b2r / 2 }, { -c / 2, -b2r / 2 },
        { c2r / 2, b / 2 }, { -c2r / 2, b / 2 }, { -c2r / 2, -b / 2 }, { c2r / 2, -b / 2 },
        { ca, -d / 2 }, { ca, d / 2 }, { -l, d / 2 }, { -l, -d / 2 }, { c2r / 2, -b2r / 2 },
        { c2r / 2, b2r / 2 }, { -c2r / 2, b2r / 2 }, { -c2r / 2, -b2r / 2 } };
    g.segs({ { 0, 1 }, { 2, 3 }, { 4, 5 }, { 6, 7 }, { 7, 8 }, { 8, 9 }, { 9, 10 }, { 10, 11 },
        { 11, 8 }, { 5, 10 } });
    g.arcs({ { 1, 4, 13 }, { 5, 2, 14 }, { 3, 6, 15 }, { 7, 0, 12 } });
    return g;
}

Geometria geometria2(const DimensoesArranjo& dim)
{
    const double a = dim.valor("a"), b = dim.valor("b"), c = dim.valor("c");
    const double d = dim.valor("d"), e = dim.valor("e"), f = dim.valor("f");
    const double r1 = dim.valor("r1"), r2 = dim.valor("r2"), h = dim.valor("h");
    const double u = f32(a + b);
    const double v = f32(u + c);
    const double w = f32(v + d);
    const double he = f32(h - e);
    const double hf = f32(h - f);
    const double x = w + 1.5 * d;

    Geometria g;
    g.pontos = { { 0, 0 }, { 0, h }, { x, h }, { x, 0 }, { w, 0 }, { v, 0 }, { u, 0 }, { a, 0 },
        { a, he - r2 }, { a + r2, he }, { u - r2, he }, { u, he - r2 }, { v, hf - r1 },
        { v + r1, hf }, { w - r1, hf }, { w, hf - r1 }, { a + r2, he - r2 }, { u - r2, he - r2 },
        { v + r1, hf - r1 }, { w - r1, hf - r1 } };
    g.segs({ { 0, 1 }, { 1, 2 }, { 2, 3 }, { 3, 4 }, { 4, 5 }, { 5, 6 }, { 6, 7 }, { 0, 7 },
        { 7, 8 }, { 9, 10 }, { 6, 11 }, { 5, 12 }, { 13, 14 }, { 4, 15 } });
    g.arcs({ { 9, 8, 16 }, { 11, 10, 17 }, { 13, 12, 18 }, { 15, 14, 19 } });
    return g;
}

Geometria geometria3(const DimensoesArranjo& dim)
{
    const double a = dim.valor("a"), b = dim.valor("b"), c = dim.valor("c");
    const double d = dim.valor("d"), e = dim.valor("e"), f = dim.valor("f");
    const double r1 = dim.valor("r1"), r2 = dim.valor("r2");
    const double u = f32(a + b);

    Geometria g;
    g.pontos = { { 0, 0 }, { 0, f }, { 0, d + e }, { u + c, d + e }, { u + c, e }, { u + c, 0 },
        { u, 0 }, { a, 0 }, { a - r1, f }, { a, f - r1 }, { u, e - r2 }, { u + r2, e },
        { a - r1, f - r1 }, { u + r2, e - r2 } };
    g.segs({ { 0, 1 }, { 1, 2 }, { 2, 3 }, { 3, 4 }, { 4, 5 }, { 5, 6 }, { 6, 7 }, { 0, 7 },
        { 1, 8 }, { 7, 9 }, { 6, 10 }, { 4, 11 } });
    g.arcs({ { 9, 8, 12 }, { 11, 10, 13 } });
    return g;
}

Geometria geometria4(const DimensoesArranjo& dim)
{
    const double a = dim.valor("a"), b = dim.valor("b"), c = dim.valor("c");
    const double d = dim.valor("d"), e = dim.valor("e"), f = dim.valor("f");
    const double g_ = dim.valor("g"), h = dim.valor("h"), i = dim.valor("i");
    const double j = dim.valor("j"), r1 = dim.valor("r1"), r2 = dim.valor("r2");
    const double p = f32(a + b);
    const double q = f32(p + c);
    const double s = f32(q + d);
    const double fg = f32(f + g_);
    const double ij = f32(i + j);
    const double x = s + e;
    const double y = fg + h;

    Geometria g;
    g.pontos = { { 0, 0 }, { 0, y }, { x, y }, { x, 0 }, { a, f + r1 }, { a, fg - r1 },
        { a + r1, fg }, { p - r1, fg }, { p, fg - r1 }, { p, f + r1 }, { p - r1, f }, { a + r1, f },
        { q, i + r2 }, { q, ij - r2 }, { q + r2, ij }, { s - r2, ij }, { s, ij - r2 },
        { s, i + r2 }, { s - r2, i }, { q + r2, i }, { a + r1, fg - r1 }, { p - r1, fg - r1 },
        { p - r1, f + r1 }, { a + r1, f + r1 }, { q + r2, ij - r2 }, { s - r2, ij - r2 },
        { s - r2, i + r2 }, { q + r2, i + r2 } };
    g.segs({ { 0, 1 }, { 1, 2 }, { 2, 3 }, { 0, 3 }, { 4, 5 }, { 6, 7 }, { 8, 9 }, { 10, 11 },
        { 12, 13 }, { 14, 15 }, { 16, 17 }, { 18, 19 }, { 3, 18 }, { 8, 12 }, { 1, 5 } });
    g.arcs({ { 6, 5, 20 }, { 8, 7, 21 }, { 10, 9, 22 }, { 4, 11, 23 }, { 14, 13, 24 },
        { 16, 15, 25 }, { 18, 17, 26 }, { 12, 19, 27 } });
    return g;
}

bool finito(const Ponto& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

} // namespace

float valorCampo(double valor)
{
    if (std::isnan(valor))
        return std::numeric_limits<float>::quiet_NaN();
    if (std::fabs(valor) > static_cast<double>(std::numeric_limits<float>::max()))
        return valor > 0 ? std::numeric_limits<float>::infinity()
                         : -std::numeric_limits<float>::infinity();
    return static_cast<float>(valor);
}

float DimensoesArranjo::valor(std::string_view letra) const
{
    const int i = indiceLetra(tipo, letra);
    return i < 0 ? 0.0f : valores.at(static_cast<std::size_t>(i));
}

bool DimensoesArranjo::definir(std::string_view letra, float v)
{
    const int i = indiceLetra(tipo, letra);
    if (i < 0)
        return false;
    valores.at(static_cast<std::size_t>(i)) = v;
    return true;
}

std::vector<std::string_view> letrasArranjo(int tipo)
{
    switch (tipo) {
    case 1:
        return { Letras1.begin(), Letras1.end() };
    case 2:
        return { Letras2.begin(), Letras2.end() };
    case 3:
        return { Letras3.begin(), Letras3.end() };
    case 4:
        return { Letras4.begin(), Letras4.end() };
    default:
        return {};
    }
}

DimensoesArranjo dimensoesPadrao(int tipo)
{
    DimensoesArranjo d;
    d.tipo = tipo;
    std::vector<float> v;
    switch (tipo) {
    case 1:
        v = { 80, 200, 120, 320, 15 };
        break;
    case 2:
        v = { 60, 100, 80, 100, 60, 90, 10, 10, 300 };
        break;
    case 3:
        v = { 100, 80, 100, 150, 200, 150, 10, 10 };
        break;
    case 4:
        v = { 50, 100, 60, 100, 50, 60, 200, 60, 80, 160, 10, 10 };
        break;
    default:
        break;
    }
    std::copy(v.begin(), v.end(), d.valores.begin());
    return d;
}

Status validarArranjo(const DimensoesArranjo& dim)
{
    const std::vector<std::string_view> letras = letrasArranjo(dim.tipo);
    if (letras.empty())
        return Status::failure(msg::ArranjoValorInvalido);
    for (std::string_view letra : letras) {
        if (dim.valor(letra) < 0.0f)
            return Status::failure(msg::ArranjoNegativo);
    }
    // NaN passes every comparison below and would put NaN into the drawing.
    for (std::string_view letra : letras) {
        if (!std::isfinite(dim.valor(letra)))
            return Status::failure(msg::ArranjoValorInvalido);
    }

    const auto v = [&dim](std::string_view letra) { return dim.valor(letra); };
    switch (dim.tipo) {
    case 1:
        if (Status s = semZeros(dim, { "a", "b", "c", "d" }); !s)
            return s;
        if (2.0f * v("r") > v("b"))
            return Status::failure(msg::Arranjo1_bMenor2r);
        if (2.0f * v("r") > v("c"))
            return Status::failure(msg::Arranjo1_cMenor2r);
        if (v("b") > v("d"))
            return Status::failure(msg::Arranjo1_bMaiorD);
        break;
    case 2:
        if (Status s = semZeros(dim, { "a", "b", "c", "d", "e", "f", "r1", "r2", "h" }); !s)
            return s;
        if (v("b") < 2.0f * v("r2"))
            return Status::failure(msg::Arranjo2_bMenor2r2);
        if (v("d") < 2.0f * v("r1"))
            return Status::failure(msg::Arranjo2_dMenor2r1);
        if (v("e") > v("h"))
            return Status::failure(msg::Arranjo2_eMaiorH);
        if (v("f") > v("h"))
            return Status::failure(msg::Arranjo2_fMaiorH);
        break;
    case 3:
        if (Status s = semZeros(dim, { "a", "b", "c", "d", "e" }); !s)
            return s;
        if (v("a") < v("r1"))
            return Status::failure(msg::Arranjo3_aMenorR1);
        if (v("f") < v("r1"))
            return Status::failure(msg::Arranjo3_fMenorR1);
        if (v("e") < v("r2"))
            return Status::failure(msg::Arranjo3_eMenorR2);
        if (v("c") < v("r2"))
            return Status::failure(msg::Arranjo3_cMenorR2);
        break;
    case 4: {
        if (Status s = semZeros(dim, { "a", "b", "c", "d", "e", "f", "g", "h", "i", "j" }); !s)
            return s;
        if (v("b") < 2.0f * v("r1"))
            return Status::failure(msg::Arranjo4_bMenor2r1);
        if (v("g") < 2.0f * v("r1"))
            return Status::failure(msg::Arranjo4_gMenor2r1);
        if (v("d") < 2.0f * v("r2"))
            return Status::failure(msg::Arranjo4_dMenor2r2);
        if (v("j") < 2.0f * v("r2"))
            return Status::failure(msg::Arranjo4_jMenor2r2);
        // The same roundings as the generator's, so an accepted window fits under the top.
        const double ij = f32(static_cast<double>(v("i")) + v("j"));
        const double fgh = f32(static_cast<double>(v("f")) + v("g")) + v("h");
        if (ij > fgh)
            return Status::failure(msg::Arranjo4_jiMaiorFgh);
        break;
    }
    default:
        break;
    }
    return Status::success();
}

Status gerarArranjo(const DimensoesArranjo& dim, DrawingData& drawing)
{
    if (Status s = validarArranjo(dim); !s)
        return s;
    Geometria g;
    switch (dim.tipo) {
    case 1:
        g = geometria1(dim);
        break;
    case 2:
        g = geometria2(dim);
        break;
    case 3:
        g = geometria3(dim);
        break;
    default:
        g = geometria4(dim);
        break;
    }
    // Values near the float limit overflow in the sums; such a drawing could not be used.
    if (!std::all_of(g.pontos.begin(), g.pontos.end(), finito))
        return Status::failure(msg::ArranjoValorInvalido);

    drawing.pontos.clear();
    drawing.segmentos.clear();
    drawing.arcos.clear();
    for (const Ponto& p : g.pontos)
        drawing.pontos.pushFront(p);
    for (const Segmento& s : g.segmentos)
        drawing.segmentos.pushFront(s);
    for (const Arco& a : g.arcos)
        drawing.arcos.pushFront(a);
    return Status::success();
}

std::vector<CotaArranjo> cotasArranjo(const DimensoesArranjo& dim)
{
    using T = CotaArranjo::Tipo;
    const auto v = [&dim](std::string_view letra) { return static_cast<double>(dim.valor(letra)); };
    // Leaders of the radii point out of the corner at 45 degrees and reach past the arc.
    const double diag = std::sqrt(0.5);
    const auto raio = [diag](std::string_view letra, Ponto centro, double r, double sx, double sy) {
        const double alcance = r * 2.5;
        return CotaArranjo { T::Raio, letra, { centro.x + sx * diag * r, centro.y + sy * diag * r },
            { centro.x + sx * diag * alcance, centro.y + sy * diag * alcance }, {} };
    };
    const auto linear = [](std::string_view letra, Ponto de, Ponto ate, Ponto deslocamento) {
        return CotaArranjo { T::Linear, letra, de, ate, deslocamento };
    };

    std::vector<CotaArranjo> cotas;
    switch (dim.tipo) {
    case 1: {
        const double a = v("a"), b = v("b"), c = v("c"), d = v("d"), r = v("r");
        const double ca = f32(c + a);
        const double m = 0.08 * std::max(ca, d);
        const double c2r = f32(c - 2.0 * r), b2r = f32(b - 2.0 * r);
        cotas.push_back(linear("a", { c, -d / 2 }, { ca, -d / 2 }, { 0, -m }));
        cotas.push_back(linear("b", { 0, -b / 2 }, { 0, b / 2 }, { 0, 0 }));
        cotas.push_back(linear("c", { -c / 2, -b / 4 }, { c / 2, -b / 4 }, { 0, 0 }));
        cotas.push_back(linear("d", { ca, -d / 2 }, { ca, d / 2 }, { m, 0 }));
        cotas.push_back(raio("r", { c2r / 2, b2r / 2 }, r, 1, 1));
        break;
    }
    case 2: {
        const double a = v("a"), d = v("d"), e = v("e"), f = v("f"), h = v("h");
        const double r1 = v("r1"), r2 = v("r2");
        const double u = f32(a + v("b")), vv = f32(u + v("c")), w = f32(vv + d);
        const double he = f32(h - e), hf = f32(h - f);
        const double m = 0.06 * std::max(w + 1.5 * d, h);
        cotas.push_back(linear("a", { 0, 0 }, { a, 0 }, { 0, -m }));
        cotas.push_back(linear("b", { a, 0 }, { u, 0 }, { 0, -m }));
        cotas.push_back(linear("c", { u, 0 }, { vv, 0 }, { 0, -m }));
        cotas.push_back(linear("d", { vv, 0 }, { w, 0 }, { 0, -m }));
        cotas.push_back(linear("e", { (a + u) / 2, he }, { (a + u) / 2, h }, { 0, 0 }));
        cotas.push_back(linear("f", { (vv + w) / 2, hf }, { (vv + w) / 2, h }, { 0, 0 }));
        cotas.push_back(raio("r1", { vv + r1, hf - r1 }, r1, -1, 1));
        cotas.push_back(raio("r2", { a + r2, he - r2 }, r2, -1, 1));
        cotas.push_back(linear("h", { 0, 0 }, { 0, h }, { -m, 0 }));
        break;
    }
    case 3: {
        const double a = v("a"), c = v("c"), d = v("d"), e = v("e"), f = v("f");
        const double r1 = v("r1"), r2 = v("r2");
        const double u = f32(a + v("b"));
        const double m = 0.06 * std::max(u + c, d + e);
        cotas.push_back(linear("a", { 0, 0 }, { a, 0 }, { 0, -m }));
        cotas.push_back(linear("b", { a, 0 }, { u, 0 }, { 0, -m }));
        cotas.push_back(linear("c", { u, 0 }, { u + c, 0 }, { 0, -m }));
        cotas.push_back(linear("d", { u + c, e }, { u + c, d + e }, { m, 0 }));
        cotas.push_back(linear("e", { u + c, 0 }, { u + c, e }, { m, 0 }));
        cotas.push_back(linear("f", { 0, 0 }, { 0, f }, { -m, 0 }));
        cotas.push_back(raio("r1", { a - r1, f - r1 }, r1, 1, 1));
        cotas.push_back(raio("r2", { u + r2, e - r2 }, r2, -1, 1));
        break;
    }
    case 4: {
        const double a = v("a"), e = v("e"), f = v("f"), h = v("h"), i = v("i");
        const double r1 = v("r1"), r2 = v("r2");
        const double p = f32(a + v("b")), q = f32(p + v("c")), s = f32(q + v("d"));
        const double fg = f32(f + v("g")), ij = f32(i + v("j"));
        const double x = s + e, y = fg + h;
        const double m = 0.06 * std::max(x, y);
        cotas.push_back(linear("a", { 0, 0 }, { a, 0 }, { 0, -m }));
        cotas.push_back(linear("b", { a, 0 }, { p, 0 }, { 0, -m }));
        cotas.push_back(linear("c", { p, 0 }, { q, 0 }, { 0, -m }));
        cotas.push_back(linear("d", { q, 0 }, { s, 0 }, { 0, -m }));
        cotas.push_back(linear("e", { s, 0 }, { x, 0 }, { 0, -m }));
        cotas.push_back(linear("f", { 0, 0 }, { 0, f }, { -m, 0 }));
        cotas.push_back(linear("g", { 0, f }, { 0, fg }, { -m, 0 }));
        cotas.push_back(linear("h", { 0, fg }, { 0, y }, { -m, 0 }));
        cotas.push_back(linear("i", { x, 0 }, { x, i }, { m, 0 }));
        cotas.push_back(linear("j", { x, i }, { x, ij }, { m, 0 }));
        cotas.push_back(raio("r1", { p - r1, fg - r1 }, r1, 1, 1));
        cotas.push_back(raio("r2", { s - r2, ij - r2 }, r2, 1, 1));
        break;
    }
    default:
        break;
    }
    return cotas;
}

} // namespace tarvex::geometry
