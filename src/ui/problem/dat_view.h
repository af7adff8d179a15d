#pragma once

#include "common/base_view.h"
#include "geometry/drawing.h"
#include "problem/dlg_controle_malha.h"
#include "problem/dlg_geracao_malha.h"
#include "problem/records.h"

#include <QPoint>
#include <QString>

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

QT_BEGIN_NAMESPACE
class QDialog;
QT_END_NAMESPACE

namespace tarvex::problem {
class MeshObserver;
struct OpcoesMalha;
} // namespace tarvex::problem

class CDatDoc;
class CDesenhoGeracao;
class AppServices;
class Prompter;
struct ValoresEscala;

/**
 * The problem-data view: shows the problem's structure (each region filled by its kind, every
 * contour in white), its boundary conditions, special regions and mesh by display mode, and turns
 * clicks into the problem's editing operations (problem/editing.h) by picking mode. Like the
 * drawing view it keeps its own requested window, fitted to the client area before every paint;
 * it starts at the window stored in the problem.
 *
 * Dialogs run through a replaceable executor (exec() by default), so tests can fill and close
 * them without a modal loop.
 */
class CDatView : public CBaseView, public MeshGenerationTarget {
    Q_OBJECT
public:
    /// Picking and display modes (`modo`).
    enum class Modo : int {
        Editar = 1,
        PotencialPonto = 2,
        PotencialSegmento = 3,
        SegContornoExt = 4,
        Malha = 7,
        Estrutura = 8,
        CondContorno = 9,
        Simetria = 10,
        AntiSimetria = 11,
        DefineEspecial = 12,
        RemoveEspecial = 13,
        DefineArea = 14,
        MalhaGerada = 32805,
        ContornoExterno = 32818,
        Nenhuma = 32820,
    };
    Q_ENUM(Modo)
    using ExecutorDialogo = std::function<int(QDialog&)>;

    CDatView(CDatDoc& doc, Prompter& prompter, QWidget* parent = nullptr);
    ~CDatView() override;

    CDatDoc& documento() override { return m_doc; }
    /// The application whose materials services the region dialog uses (none: its materials
    /// buttons only check the name).
    void setAplicacao(AppServices* app) { m_app = app; }
    void setExecutorDialogos(ExecutorDialogo executor) { m_executor = std::move(executor); }

    /// The view's own (requested) window.
    tarvex::geometry::Caixa janela() const { return m_janela; }
    void setJanela(const tarvex::geometry::Caixa& janela);

    /// The window as it is shown (fitted to the client area), as x-min, x-max, y-min, y-max: what
    /// a save stores. Before the view has a size, the requested window.
    std::array<double, 4> janelaMostrada();

    bool modoZoom() const { return m_modoZoom; }
    Modo modo() const { return m_modo; }
    const std::vector<int>& selecaoRegioes() const { return m_selecaoRegioes; }
    const std::vector<tarvex::problem::SegmentoContorno>& selecaoSegmentos() const
    {
        return m_selecaoSegmentos;
    }
    int cliquePendente() const { return m_cliquePendente; }
    tarvex::geometry::Ponto pontoClique() const { return m_pontoClique; }

    /// The mesh-control values ("Ajustes..."), and the options a mesh run takes from them.
    const ValoresControleMalha& controleMalha() const { return m_controle; }
    tarvex::problem::OpcoesMalha opcoesMalha() const override;

    /// The display mode saved while a mesh run goes on.
    Modo modoAnterior() const { return m_modoAnterior; }
    /// A mesh run starts: the display mode is saved and the view follows the growing mesh
    /// through the returned observer until terminaGeracao().
    tarvex::problem::MeshObserver* iniciaGeracao() override;
    void terminaGeracao() override;
    const CDesenhoGeracao* desenhoGeracao() const { return m_desenhoGeracao.get(); }
    /// Back to the display mode saved by iniciaGeracao().
    void restauraModo() override;
    /// A completed run: the mesh with its contour edges (mode 32805).
    void mostraMalhaGerada() override;
    /// The triangle highlighted by "Informações Malha Atual", if any.
    const std::optional<tarvex::problem::Triangulo>& menorTriangulo() const
    {
        return m_menorTriangulo;
    }

    /// The node where the last export to .msh stopped, marked until the next mode or change.
    void setMarcaExportacao(std::optional<tarvex::geometry::Ponto> marca);
    const std::optional<tarvex::geometry::Ponto>& marcaExportacao() const
    {
        return m_marcaExportacao;
    }

    /// Applies accepted "Escala" values: the window and the problem's scale factor (marking the
    /// document modified when the factor changes); then fits and repaints.
    void aplicarEscala(const ValoresEscala& valores);

    /// A click at a world position, as the mouse handlers pass it on.
    void clique(Qt::MouseButton botao, const tarvex::geometry::Ponto& p);
    /// World position of a pixel of the client area, as the current fit maps it.
    tarvex::geometry::Ponto paraMundo(const QPoint& pixel);
    QPoint paraPixel(const tarvex::geometry::Ponto& p);

public slots:
    /// "&Normal": the extent of the regions with a 3 % margin.
    void zoomNormal();
    /// "&Zoom": the next left drag draws the rectangle to zoom into.
    void iniciarZoom();
    /// "&Ajuste Manual": the "Escala" dialog.
    void ajusteManual();
    /// "&Redesenhar": draw the structure again over the current picture, without clearing it.
    void redesenhar();
    /// Goes back to the window stored in the problem (after the document was read again).
    void voltarAJanelaDoProblema();

    void editar();
    void potencialPonto();
    void potencialSegmento();
    void segContornoExt();
    void malha();
    void estrutura();
    void condContorno();
    void simetria();
    void antiSimetria();
    void removeSimetria();
    void defineRegEspecial();
    void removeRegEspecial();
    void defineArea();
    void campoMagnetico();
    void campoEletrico();
    void nenhuma();
    void contornoExterno();
    void tolerancias();
    /// The polar force typed at the keyboard belongs to the results view.
    void forcaPolarTeclado();

    /// "Gera": the dialog "Geração da Malha".
    void gera();
    /// "Ajustes...": the dialog "Controle de Geração da Malha".
    void ajustesMalha();
    void informacoesMalhaAtual() override;
    void recentraMalhaAtual();
    void refinaArea();
    void refinaTotal();

signals:
    /// The cursor's world position, formatted for the position pane.
    void posicaoAlterada(const QString& texto);

protected:
    void desenhar(tarvex::paint::Canvas& canvas) override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    void sairDoModo() override;
    std::optional<tarvex::geometry::Caixa> janelaPedida() const override { return m_janela; }
    void definirJanelaPedida(const tarvex::geometry::Caixa& janela) override { setJanela(janela); }

private:
    /// Shows what the next click does in the current mode and step.
    void atualizarDica();
    void ajustarNaTela() override;
    void ajustarJanelaPropria();
    int executa(QDialog& dialogo);
    void setModo(Modo modo);
    void alterado();
    void avisa(std::string_view texto);

    void editaRegiao(const tarvex::geometry::Ponto& p);
    void selecionaRegiao(const tarvex::geometry::Ponto& p);
    void potencialNoSegmento(const tarvex::geometry::Ponto& p);
    void selecionaSegmento(const tarvex::geometry::Ponto& p);
    void potencialNoPonto(const tarvex::geometry::Ponto& p);
    void trechoExterno(const tarvex::geometry::Ponto& p);
    void segmentoSimetria(const tarvex::geometry::Ponto& p, tarvex::problem::SymmetryKind tipo);
    bool perguntaTroca(tarvex::problem::SymmetryKind tipo);
    void areaArrastada(const QPoint& a, const QPoint& b);
    void iniciaControleMalha();
    void aplicaControleMalha(const ValoresControleMalha& valores);
    /// After a refinement or recentring: the mesh is shown and the document changed.
    void malhaAlterada();

    CDatDoc& m_doc;
    Prompter& m_prompter;
    AppServices* m_app = nullptr;
    ExecutorDialogo m_executor;
    tarvex::geometry::Caixa m_janela;
    bool m_modoZoom = false;
    bool m_semLimpar = false;

    Modo m_modo = Modo::Estrutura;
    std::vector<int> m_selecaoRegioes;
    bool m_selecaoIniciada = false; ///< a right click was made since the mode was set
    std::vector<tarvex::problem::SegmentoContorno> m_selecaoSegmentos;
    int m_cliquePendente = 0;
    std::size_t m_primeiroExterno = 0;
    tarvex::geometry::Ponto m_pontoClique;
    int m_regiaoDestacada = 0; ///< region being edited (0: none)

    Modo m_modoAnterior = Modo::Estrutura;
    ValoresControleMalha m_controle;
    std::unique_ptr<CDesenhoGeracao> m_desenhoGeracao;
    std::optional<tarvex::problem::Triangulo> m_menorTriangulo;
    std::optional<tarvex::geometry::Ponto> m_marcaExportacao;
};
