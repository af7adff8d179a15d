#include "geometry/dxf_io.h"

#include "common/file_io.h"
#include "common/messages.h"
#include "geometry/drawing.h"
#include "geometry/helpers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace tarvex::geometry {

namespace {

/// One group: its code, its value (without the line end) and the line of the code.
struct Grupo {
    int codigo = 0;
    std::string_view valor;
    int linha = 0;
};

bool branco(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view aparado(std::string_view s)
{
    while (!s.empty() && branco(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && branco(s.back()))
        s.remove_suffix(1);
    return s;
}

/// Group-code/value pairs of a DXF text: a code line, then a value line.
class LeitorGrupos {
public:
    explicit LeitorGrupos(std::string_view text)
        : m_text(text)
    {
        if (m_text.starts_with("\xEF\xBB\xBF"))
            m_pos = 3;
    }

    /// The next pair; false at the end of the text (a code without its value line ends it too)
    /// or on a code line that is not a number, which sets `erro`.
    bool proximo(Grupo& grupo, Status& erro)
    {
        const std::size_t inicioCodigo = m_pos;
        std::string_view codigo;
        std::string_view valor;
        if (!linha(codigo))
            return false;
        const int linhaCodigo = m_line;
        if (!linha(valor))
            return false;
        codigo = aparado(codigo);
        int numero = 0;
        const auto [fim, ec]
            = std::from_chars(codigo.data(), codigo.data() + codigo.size(), numero);
        if (codigo.empty() || ec != std::errc() || fim != codigo.data() + codigo.size()) {
            // Blank lines after the last pair are no reason to refuse a drawing.
            if (aparado(m_text.substr(inicioCodigo)).empty())
                return false;
            erro = Status::failure(msg::DxfCodigoInvalido, linhaCodigo);
            return false;
        }
        if (!valor.empty() && valor.back() == '\r')
            valor.remove_suffix(1);
        grupo = { numero, valor, linhaCodigo };
        return true;
    }

private:
    bool linha(std::string_view& out)
    {
        if (m_pos >= m_text.size())
            return false;
        const std::size_t fim = m_text.find('\n', m_pos);
        const std::size_t ate = fim == std::string_view::npos ? m_text.size() : fim;
        out = m_text.substr(m_pos, ate - m_pos);
        m_pos = fim == std::string_view::npos ? m_text.size() : fim + 1;
        ++m_line;
        return true;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 0;
};

/// Values beyond this are no drawing: their squares would overflow the coincidence test.
constexpr double MaiorValor = 1e100;

bool numero(const Grupo& g, double& out)
{
    std::string_view v = aparado(g.valor);
    if (!v.empty() && v.front() == '+')
        v.remove_prefix(1);
    const auto [fim, ec] = std::from_chars(v.data(), v.data() + v.size(), out);
    return !v.empty() && ec == std::errc() && fim == v.data() + v.size() && std::isfinite(out)
        && std::abs(out) <= MaiorValor;
}

bool inteiro(const Grupo& g, long long& out)
{
    std::string_view v = aparado(g.valor);
    if (!v.empty() && v.front() == '+')
        v.remove_prefix(1);
    const auto [fim, ec] = std::from_chars(v.data(), v.data() + v.size(), out);
    return !v.empty() && ec == std::errc() && fim == v.data() + v.size();
}

/// The groups of one entity, after its name.
class Entidade {
public:
    std::string_view nome;
    std::vector<Grupo> grupos;

    const Grupo* primeiro(int codigo) const
    {
        for (const Grupo& g : grupos)
            if (g.codigo == codigo)
                return &g;
        return nullptr;
    }

    /// The first value of group `codigo`: false when absent; a value that is not a number refuses
    /// the file through `erro`.
    bool valor(int codigo, double& out, Status& erro) const
    {
        const Grupo* g = primeiro(codigo);
        if (!g)
            return false;
        if (!numero(*g, out)) {
            erro = Status::failure(msg::DxfValorInvalido, g->linha);
            return false;
        }
        return true;
    }

    bool valor(int codigo, long long& out, Status& erro) const
    {
        const Grupo* g = primeiro(codigo);
        if (!g)
            return false;
        if (!inteiro(*g, out)) {
            erro = Status::failure(msg::DxfValorInvalido, g->linha);
            return false;
        }
        return true;
    }
};

/// How an entity's own coordinates (its object coordinate system) reach the drawing plane.
enum class Plano { Direto, Espelhado, Inclinado };

Plano planoDe(const Entidade& e, Status& erro)
{
    double nx = 0.0, ny = 0.0, nz = 1.0;
    e.valor(210, nx, erro);
    e.valor(220, ny, erro);
    e.valor(230, nz, erro);
    // Only a normal along ±z keeps circles circles in the drawing plane; a normal of -z (what a
    // mirror leaves behind) turns the x axis over.
    if (std::abs(nx) > 1e-9 || std::abs(ny) > 1e-9 || nz == 0.0)
        return Plano::Inclinado;
    return nz < 0.0 ? Plano::Espelhado : Plano::Direto;
}

/// Everything an import inserts, in the order the entities come.
class Montagem {
public:
    explicit Montagem(DrawingData& d)
        : m_d(d)
    {
    }

    void espelhar(bool sim) { m_espelhado = sim; }

    void ponto(const Ponto& p) { m_d.pontos.pushFront(mapa(p)); }
    void segmento(const Ponto& a, const Ponto& b) { m_d.segmentos.pushFront({ mapa(a), mapa(b) }); }
    /// A counterclockwise arc in the entity's own coordinates; a mirror makes it run the other
    /// way, so its ends change places.
    void arco(const Ponto& p1, const Ponto& p2, const Ponto& c)
    {
        if (m_espelhado)
            m_d.arcos.pushFront({ mapa(p2), mapa(p1), mapa(c) });
        else
            m_d.arcos.pushFront({ mapa(p1), mapa(p2), mapa(c) });
    }

    /// Joins two polyline vertices: straight for a zero bulge, else by the arc the bulge stands
    /// for (the tangent of a quarter of the included angle, positive counterclockwise from a).
    void juntar(const Ponto& a, const Ponto& b, double bulge)
    {
        // A bulge this small is a straight piece: its centre would lie beyond any drawing.
        if (std::abs(bulge) < 1e-9 || coincide(a, b)) {
            segmento(a, b);
            return;
        }
        // The centre lies on the chord's perpendicular bisector, h·(1 − b²)/(2b) to the left of
        // a → b (h the half chord): left for a small positive bulge, right past a half circle.
        const Ponto meio { (a.x + b.x) / 2.0, (a.y + b.y) / 2.0 };
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        const double corda = std::hypot(dx, dy);
        const double desvio = (corda / 2.0) * (1.0 - bulge * bulge) / (2.0 * bulge);
        const Ponto centro { meio.x - dy / corda * desvio, meio.y + dx / corda * desvio };
        if (bulge > 0.0)
            arco(a, b, centro);
        else
            arco(b, a, centro);
    }

private:
    Ponto mapa(const Ponto& p) const { return m_espelhado ? Ponto { -p.x, p.y } : p; }

    DrawingData& m_d;
    bool m_espelhado = false;
};

struct Vertice {
    Ponto p;
    double bulge = 0.0;
};

/// A polyline being read vertex by vertex (POLYLINE ... VERTEX ... SEQEND).
struct PolilinhaAberta {
    bool ativa = false;
    bool ignorada = false; ///< a mesh or a polyline on a tilted plane: its vertices are skipped
    bool fechada = false;
    Plano plano = Plano::Direto;
    bool temAnterior = false;
    Vertice primeiro;
    Vertice anterior;
};

class Importacao {
public:
    Importacao(DrawingData& d, DxfIgnorados& ignorados)
        : m_montagem(d)
        , m_ignorados(ignorados)
    {
    }

    /// Acts on one entity; false when the file must be refused (`erro` says why).
    bool entidade(const Entidade& e, Status& erro)
    {
        if (m_poli.ativa) {
            if (e.nome == "VERTEX")
                return vertice(e, erro);
            encerrarPolilinha(e.nome == "SEQEND");
            if (e.nome == "SEQEND")
                return true;
        }
        if (e.nome == "POINT" || e.nome == "VERTEX")
            return ponto(e, erro);
        if (e.nome == "LINE")
            return linha(e, erro);
        if (e.nome == "ARC")
            return arco(e, erro);
        if (e.nome == "CIRCLE")
            return circulo(e, erro);
        if (e.nome == "LWPOLYLINE")
            return lwpolilinha(e, erro);
        if (e.nome == "POLYLINE")
            return polilinha(e, erro);
        if (!e.nome.empty() && e.nome != "SEQEND")
            ignorar(e.nome);
        return true;
    }

    /// The section or the file ended: a polyline still open keeps what it joined, unclosed.
    void fim()
    {
        if (m_poli.ativa)
            encerrarPolilinha(false);
    }

private:
    void ignorar(std::string_view nome) { ++m_ignorados[std::string(nome)]; }

    /// Reads the coordinates asked for; an entity without one of them is ignored (false with
    /// `erro` untouched), a value that is not a number refuses the file.
    template <std::size_t N>
    bool valores(const Entidade& e, const int (&codigos)[N], double (&out)[N], Status& erro)
    {
        for (std::size_t i = 0; i < N; ++i) {
            if (!e.valor(codigos[i], out[i], erro)) {
                if (erro.ok)
                    ignorar(e.nome);
                return false;
            }
        }
        return true;
    }

    bool ponto(const Entidade& e, Status& erro)
    {
        double v[2];
        if (valores(e, { 10, 20 }, v, erro))
            m_montagem.ponto({ v[0], v[1] });
        return erro.ok;
    }

    bool linha(const Entidade& e, Status& erro)
    {
        double v[4];
        if (valores(e, { 10, 20, 11, 21 }, v, erro)) {
            m_montagem.espelhar(false);
            m_montagem.ponto({ v[0], v[1] });
            m_montagem.ponto({ v[2], v[3] });
            m_montagem.segmento({ v[0], v[1] }, { v[2], v[3] });
        }
        return erro.ok;
    }

    /// Sets the mapping for an entity in its own plane; false (entity ignored) on a tilted one.
    bool plano(const Entidade& e, Status& erro)
    {
        const Plano p = planoDe(e, erro);
        if (!erro.ok)
            return false;
        if (p == Plano::Inclinado) {
            ignorar(e.nome);
            return false;
        }
        m_montagem.espelhar(p == Plano::Espelhado);
        return true;
    }

    bool arco(const Entidade& e, Status& erro)
    {
        double v[5];
        if (!valores(e, { 10, 20, 40, 50, 51 }, v, erro) || !plano(e, erro))
            return erro.ok;
        const Ponto c { v[0], v[1] };
        const double r = v[2];
        if (!(r > 0.0)) {
            ignorar(e.nome);
            return true;
        }
        const double grau = PiDxf / 180.0;
        const double a1 = v[3] * grau;
        const double a2 = v[4] * grau;
        const Ponto p1 { c.x + r * std::cos(a1), c.y + r * std::sin(a1) };
        const Ponto p2 { c.x + r * std::cos(a2), c.y + r * std::sin(a2) };
        m_montagem.ponto(c);
        m_montagem.ponto(p1);
        if (coincide(p1, p2)) {
            // A whole turn: never one arc, so two halves through the opposite point.
            const Ponto oposto { 2.0 * c.x - p1.x, 2.0 * c.y - p1.y };
            m_montagem.ponto(oposto);
            m_montagem.arco(p1, oposto, c);
            m_montagem.arco(oposto, p1, c);
            return true;
        }
        m_montagem.ponto(p2);
        m_montagem.arco(p1, p2, c);
        return true;
    }

    bool circulo(const Entidade& e, Status& erro)
    {
        double v[3];
        if (!valores(e, { 10, 20, 40 }, v, erro) || !plano(e, erro))
            return erro.ok;
        if (!(v[2] > 0.0)) {
            ignorar(e.nome);
            return true;
        }
        // The centre is taken to the drawing plane first: the circle is then drawn as the
        // keyboard draws one, upper half first.
        const bool espelhado = planoDe(e, erro) == Plano::Espelhado;
        m_montagem.espelhar(false);
        const Ponto c { espelhado ? -v[0] : v[0], v[1] };
        const double r = v[2];
        const Ponto leste { c.x + r, c.y };
        const Ponto oeste { c.x - r, c.y };
        m_montagem.ponto(leste);
        m_montagem.ponto(oeste);
        m_montagem.ponto(c);
        m_montagem.arco(leste, oeste, c);
        m_montagem.arco(oeste, leste, c);
        return true;
    }

    bool lwpolilinha(const Entidade& e, Status& erro)
    {
        long long flag = 0;
        e.valor(70, flag, erro);
        if (!erro.ok || !plano(e, erro))
            return erro.ok;
        std::vector<Vertice> vertices;
        bool temY = true;
        for (const Grupo& g : e.grupos) {
            if (g.codigo != 10 && g.codigo != 20 && g.codigo != 42)
                continue;
            double v = 0.0;
            if (!numero(g, v)) {
                erro = Status::failure(msg::DxfValorInvalido, g.linha);
                return false;
            }
            if (g.codigo == 10) {
                if (!temY)
                    break;
                vertices.push_back({ { v, 0.0 }, 0.0 });
                temY = false;
            } else if (vertices.empty()) {
                continue; // a bulge or y before any vertex belongs to none
            } else if (g.codigo == 20) {
                vertices.back().p.y = v;
                temY = true;
            } else {
                vertices.back().bulge = v;
            }
        }
        if (vertices.empty() || !temY) {
            ignorar(e.nome);
            return true;
        }
        m_montagem.ponto(vertices.front().p);
        for (std::size_t i = 1; i < vertices.size(); ++i) {
            m_montagem.ponto(vertices[i].p);
            m_montagem.juntar(vertices[i - 1].p, vertices[i].p, vertices[i - 1].bulge);
        }
        // Bit 1 of the flag closes the polyline whatever else is set (bit 128 is common).
        if ((flag & 1) != 0 && vertices.size() > 1)
            m_montagem.juntar(vertices.back().p, vertices.front().p, vertices.back().bulge);
        return true;
    }

    bool polilinha(const Entidade& e, Status& erro)
    {
        long long flag = 0;
        e.valor(70, flag, erro);
        if (!erro.ok)
            return false;
        m_poli = PolilinhaAberta();
        m_poli.ativa = true;
        m_poli.fechada = (flag & 1) != 0;
        // Polygon and polyface meshes (16, 64) are surfaces, not outlines.
        if ((flag & (16 | 64)) != 0) {
            m_poli.ignorada = true;
            ignorar(e.nome);
            return true;
        }
        // A 3D polyline (8) has its vertices in drawing coordinates already.
        if ((flag & 8) != 0)
            m_poli.plano = Plano::Direto;
        else
            m_poli.plano = planoDe(e, erro);
        if (!erro.ok)
            return false;
        if (m_poli.plano == Plano::Inclinado) {
            m_poli.ignorada = true;
            ignorar(e.nome);
        }
        return true;
    }

    bool vertice(const Entidade& e, Status& erro)
    {
        if (m_poli.ignorada)
            return true;
        double v[2];
        if (!e.valor(10, v[0], erro) || !e.valor(20, v[1], erro))
            return erro.ok; // a vertex without coordinates adds nothing
        double bulge = 0.0;
        e.valor(42, bulge, erro);
        long long flag = 0;
        e.valor(70, flag, erro);
        if (!erro.ok)
            return false;
        // Control points of a spline-fit polyline are not on the curve.
        if ((flag & 16) != 0)
            return true;
        m_montagem.espelhar(m_poli.plano == Plano::Espelhado);
        const Vertice atual { { v[0], v[1] }, bulge };
        m_montagem.ponto(atual.p);
        if (m_poli.temAnterior)
            m_montagem.juntar(m_poli.anterior.p, atual.p, m_poli.anterior.bulge);
        else
            m_poli.primeiro = atual;
        m_poli.anterior = atual;
        m_poli.temAnterior = true;
        return true;
    }

    void encerrarPolilinha(bool completa)
    {
        if (completa && !m_poli.ignorada && m_poli.fechada && m_poli.temAnterior
            && !(m_poli.anterior.p == m_poli.primeiro.p)) {
            m_montagem.espelhar(m_poli.plano == Plano::Espelhado);
            m_montagem.juntar(m_poli.anterior.p, m_poli.primeiro.p, m_poli.anterior.bulge);
        }
        m_poli = PolilinhaAberta();
    }

    Montagem m_montagem;
    DxfIgnorados& m_ignorados;
    PolilinhaAberta m_poli;
};

} // namespace

Status readDxf(std::string_view text, DrawingData& out, DxfIgnorados* ignorados)
{
    DrawingData read;
    DxfIgnorados ignored;
    LeitorGrupos leitor(text);
    Status erro;
    Grupo g;

    bool achou = false;
    while (leitor.proximo(g, erro)) {
        if (g.codigo == 2 && aparado(g.valor) == "ENTITIES") {
            achou = true;
            break;
        }
    }
    if (!erro.ok)
        return erro;

    if (achou) {
        Importacao importacao(read, ignored);
        Entidade e;
        bool temGrupo = leitor.proximo(g, erro);
        // Groups before the first entity name belong to none.
        while (temGrupo && g.codigo != 0)
            temGrupo = leitor.proximo(g, erro);
        while (temGrupo && erro.ok) {
            e.nome = aparado(g.valor);
            e.grupos.clear();
            if (e.nome == "ENDSEC")
                break;
            while ((temGrupo = leitor.proximo(g, erro)) && g.codigo != 0)
                e.grupos.push_back(g);
            if (!erro.ok)
                break;
            // The last entity of a file without ENDSEC is still taken; one cut short lacks a
            // coordinate and is left out.
            if (!importacao.entidade(e, erro) || !temGrupo)
                break;
        }
        if (!erro.ok)
            return erro;
        importacao.fim();
    }

    read.marcarGravado();
    out = std::move(read);
    if (ignorados)
        *ignorados = std::move(ignored);
    return Status::success();
}

Status readDxfFile(const std::string& path, DrawingData& out, DxfIgnorados* ignorados)
{
    std::string bytes;
    if (Status s = common::readWholeFile(path, bytes); !s)
        return s;
    return readDxf(bytes, out, ignorados);
}

} // namespace tarvex::geometry
