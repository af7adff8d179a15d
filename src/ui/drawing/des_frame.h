#pragma once

#include "common/child_frame.h"
#include "drawing/des_view.h"

#include <QSize>

#include <memory>

QT_BEGIN_NAMESPACE
class QAction;
class QSplitter;
class QToolBar;
QT_END_NAMESPACE

class CDesDoc;
class AppServices;
class CDesView;
class CFormTrafo;
class CTrafoView;

/**
 * The drawing's frame: its view (alone, or beside a typical arrangement's picture and form), a
 * toolbar, a status bar with a message pane and a position pane, and the drawing's menus.
 *
 * The drawing commands do not mark the document modified; closing compares the list lengths with
 * the counts saved at the last load or save instead.
 */
class CDesFrame : public CChildFrame {
    Q_OBJECT
public:
    static constexpr int LarguraPosicao = 180;
    /// The `tipoArranjo` of a frame with the drawing alone.
    static constexpr int SemArranjo = -1;

    /// Initial pane sizes of the arrangement layout, for a client area of w × h pixels.
    struct TamanhosArranjo {
        int larguraDesenho = 0;
        int larguraDireita = 0;
        int alturaDireita = 0;
        bool operator==(const TamanhosArranjo&) const = default;
    };
    static TamanhosArranjo tamanhosArranjo(int tipoArranjo, int w, int h);

    /// Takes the document. A `tipoArranjo` of 0..3 splits the client area (of `clientSize`)
    /// between the drawing and arrangement 1..4's picture and form; any other value shows the
    /// drawing alone.
    CDesFrame(std::unique_ptr<CDesDoc> doc, AppServices& app, QSize clientSize,
        int tipoArranjo = SemArranjo, QWidget* parent = nullptr);
    ~CDesFrame() override;

    CDesDoc& doc() { return *m_doc; }
    CDesView* view() const { return m_view; }
    QList<QMenu*> menus() const override { return m_menus; }
    QString documentPath() const override;

    /// The arrangement layout's splitters, picture and form; null in the ordinary layout.
    QSplitter* divisor() const { return m_divisor; }
    QSplitter* divisorDireito() const { return m_divisorDireito; }
    CTrafoView* trafoView() const { return m_trafoView; }
    CFormTrafo* formulario() const { return m_formulario; }
    /// The sizes the arrangement layout was given (all zero in the ordinary layout).
    TamanhosArranjo tamanhosIniciais() const { return m_tamanhos; }

    QToolBar* barra() const { return m_barra; }
    /// The commands that set a mouse mode; each carries its mode as data and shows a check mark
    /// while its mode is active.
    QList<QAction*> acoesModo() const { return m_acoesModo; }
    QAction* acaoDesfazer() const { return m_acaoDesfazer; }
    QAction* acaoRefazer() const { return m_acaoRefazer; }

public slots:
    /// "&Fechar".
    void fechar();
    /// "Abrir  *.des".
    void abrirDes();
    /// "&Exportar para *.dat": traces the drawing's regions, writes them as a problem-data file
    /// chosen by the user and opens it. True when a file was written.
    bool exportarDat();
    /// "Tolerâncias".
    void tolerancias();
    /// "Atualizar Todas".
    void atualizarTodas();

protected:
    bool gravarEm(const QString& path) override;
    QString escolherNomeGravacao() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void criarAreaCliente(QSize clientSize, int tipoArranjo);
    void criarBarras();
    void criarMenus();
    /// "&Editar", "&Inserir", "&Selecionar", "E&xcluir", "Re&produzir" and "&Deslocar".
    QList<QMenu*> criarMenusDesenho();
    QAction* acaoModo(const QString& texto, CDesView::ModoMouse modo);
    void marcarModo(CDesView::ModoMouse modo);
    bool podeFechar();
    void atualizarTitulo();

    std::unique_ptr<CDesDoc> m_doc;
    AppServices& m_app;
    CDesView* m_view = nullptr;
    QSplitter* m_divisor = nullptr;
    QSplitter* m_divisorDireito = nullptr;
    CTrafoView* m_trafoView = nullptr;
    CFormTrafo* m_formulario = nullptr;
    TamanhosArranjo m_tamanhos;
    QToolBar* m_barra = nullptr;
    QList<QMenu*> m_menus;
    QAction* m_acaoGravar = nullptr;
    QAction* m_acaoImprimir = nullptr;
    QList<QAction*> m_acoesModo;
    QAction* m_acaoDesfazer = nullptr;
    QAction* m_acaoRefazer = nullptr;
};
