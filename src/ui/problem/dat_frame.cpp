#include "problem/dat_frame.h"

#include "common/app_services.h"
#include "common/core_texts.h"
#include "common/file_chooser.h"
#include "common/messages.h"
#include "common/prompter.h"
#include "problem/dat_doc.h"
#include "problem/dat_view.h"
#include "solver/export_msh.h"
#include "solver/msh_io.h"
#include "solver/solver_model.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <QToolBar>

namespace {

const QString DatFilter = QStringLiteral("Arquivos (*.dat)");
const QString DatSuffix = QStringLiteral("dat");
const QString MshSuffix = QStringLiteral("msh");

/// A filter in the "Description|*.ext||" form as Qt spells it: the description alone, which
/// already names the pattern.
QString filtroQt(std::string_view filtro)
{
    return core_texts::texto(filtro).section(QLatin1Char('|'), 0, 0);
}

/// The wait cursor while the model is built.
class CursorEspera {
public:
    CursorEspera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorEspera() { QApplication::restoreOverrideCursor(); }
    CursorEspera(const CursorEspera&) = delete;
    CursorEspera& operator=(const CursorEspera&) = delete;
};

} // namespace

CDatFrame::CDatFrame(std::unique_ptr<CDatDoc> doc, AppServices& app, QWidget* parent)
    : CChildFrame(parent)
    , m_doc(std::move(doc))
    , m_app(app)
{
    m_view = new CDatView(*m_doc, m_app.prompter());
    m_view->setAplicacao(&m_app);
    setCentralWidget(m_view);
    criarBarras();
    criarMenus();
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    connect(m_view, &CDatView::posicaoAlterada, painelPosicao(), &QLabel::setText);
    connect(m_doc.get(), &CDatDoc::changed, this, &CDatFrame::atualizarAnalise);
    atualizarTitulo();
    atualizarAnalise();
}

CDatFrame::~CDatFrame()
{
    // The view refers to the document, so it goes first.
    delete takeCentralWidget();
}

QString CDatFrame::documentPath() const
{
    return m_doc->path();
}

void CDatFrame::criarBarras()
{
    m_barra = criarBarra(QStringLiteral("Problema"), QStringLiteral("barraProblema"));
    criarPaineisEstado(LarguraPosicao);
}

void CDatFrame::criarMenus()
{
    QAction* abrirDatAcao = novaAcao(QStringLiteral("Abrir *.dat"));
    connect(abrirDatAcao, &QAction::triggered, this, &CDatFrame::abrirDat);
    QAction* fecharAcao = novaAcao(QStringLiteral("&Fechar"));
    connect(fecharAcao, &QAction::triggered, this, &CDatFrame::fechar);
    const ComandosDocumento documento = criarComandosDocumento(m_view);
    m_acaoGravar = documento.gravar;
    m_acaoImprimir = documento.imprimir;
    QMenu* arquivos
        = criarMenuArquivosDocumento(m_app, { abrirDatAcao, fecharAcao }, documento, {}, m_view);

    const ComandosExibir comandos = criarComandosExibir();
    ligarComandosExibir(comandos, m_view);
    connect(comandos.todas, &QAction::triggered, this, &CDatFrame::atualizarTodas);
    m_menuExibir = criarMenuExibir(comandos, m_barra);

    QMenu* ajuda = criarMenuAjuda(m_app);
    criarMenusProblema();
    m_menus = { arquivos, m_menuExibir, m_menuRegioes, m_menuCondicoes, m_menuMalha, ajuda };
    preencherBarra(m_barra, m_app, m_acaoGravar, m_acaoImprimir, comandos);
}

void CDatFrame::criarMenusProblema()
{
    const auto comando = [this](const QString& texto, void (CDatView::*slot)()) {
        QAction* a = novaAcao(texto);
        connect(a, &QAction::triggered, m_view, slot);
        return a;
    };

    // Display modes, under the view's menu.
    m_menuExibir->addSeparator();
    m_menuExibir->addAction(comando(QStringLiteral("Malha"), &CDatView::malha));
    m_menuExibir->addAction(comando(QStringLiteral("Estrutura"), &CDatView::estrutura));
    m_menuExibir->addAction(comando(QStringLiteral("Cond. Contorno"), &CDatView::condContorno));

    m_menuRegioes = new QMenu(QStringLiteral("&Regiões"), this);
    m_menuRegioes->addAction(comando(QStringLiteral("Editar"), &CDatView::editar));
    m_menuRegioes->addSeparator();
    m_acaoMagnetico = comando(QStringLiteral("Campo Magnético"), &CDatView::campoMagnetico);
    m_acaoEletrico = comando(QStringLiteral("Campo Elétrico"), &CDatView::campoEletrico);
    auto* tipos = new QActionGroup(this);
    for (QAction* a : { m_acaoMagnetico, m_acaoEletrico }) {
        a->setCheckable(true);
        tipos->addAction(a);
        m_menuRegioes->addAction(a);
    }
    m_menuRegioes->addSeparator();
    m_menuRegioes->addAction(
        comando(QStringLiteral("Define Reg. Especial"), &CDatView::defineRegEspecial));
    m_menuRegioes->addAction(
        comando(QStringLiteral("Remove Reg. Especial"), &CDatView::removeRegEspecial));

    m_menuCondicoes = new QMenu(QStringLiteral("&Condições de Contorno"), this);
    m_menuCondicoes->addAction(comando(QStringLiteral("Nenhuma (default)"), &CDatView::nenhuma));
    m_menuCondicoes->addAction(
        comando(QStringLiteral("Contorno Externo"), &CDatView::contornoExterno));
    m_menuCondicoes->addAction(
        comando(QStringLiteral("Seg. Contorno Ext."), &CDatView::segContornoExt));
    m_menuCondicoes->addAction(
        comando(QStringLiteral("Potencial Segmento"), &CDatView::potencialSegmento));
    m_menuCondicoes->addAction(
        comando(QStringLiteral("Potencial  Ponto"), &CDatView::potencialPonto));
    m_menuCondicoes->addSeparator();
    m_menuCondicoes->addAction(comando(QStringLiteral("Simetria XY/RT"), &CDatView::simetria));
    m_menuCondicoes->addAction(
        comando(QStringLiteral("Anti-Simetria XY/RT"), &CDatView::antiSimetria));
    m_menuCondicoes->addAction(
        comando(QStringLiteral("Remove Simetria"), &CDatView::removeSimetria));

    m_menuMalha = new QMenu(QStringLiteral("&Malha"), this);
    m_menuMalha->addAction(comando(QStringLiteral("Gera"), &CDatView::gera));
    m_menuMalha->addAction(comando(QStringLiteral("Ajustes..."), &CDatView::ajustesMalha));
    m_menuMalha->addAction(
        comando(QStringLiteral("Informações Malha Atual"), &CDatView::informacoesMalhaAtual));
    m_menuMalha->addAction(
        comando(QStringLiteral("Recentra Malha Atual"), &CDatView::recentraMalhaAtual));
    m_menuMalha->addSeparator();
    m_menuMalha->addAction(comando(QStringLiteral("Define Área"), &CDatView::defineArea));
    m_menuMalha->addAction(comando(QStringLiteral("Refina Área"), &CDatView::refinaArea));
    m_menuMalha->addAction(comando(QStringLiteral("Refina Total"), &CDatView::refinaTotal));
    m_menuMalha->addSeparator();
    // The mesh is what the solver model is made of: its export sits with the mesh commands.
    QAction* exportarAcao = novaAcao(QStringLiteral("Exportar para *.msh"));
    connect(exportarAcao, &QAction::triggered, this, &CDatFrame::exportarMsh);
    m_menuMalha->addAction(exportarAcao);
    m_menuMalha->addSeparator();
    m_menuMalha->addAction(comando(QStringLiteral("tolerâncias"), &CDatView::tolerancias));
}

void CDatFrame::atualizarAnalise()
{
    const bool eletrica = m_doc->data().tipoAnalise == tarvex::problem::AnalysisType::Electric;
    m_acaoEletrico->setChecked(eletrica);
    m_acaoMagnetico->setChecked(!eletrica);
}

QAction* CDatFrame::acao(const QString& texto) const
{
    for (QAction* a : actions()) {
        QString semAtalho = a->text();
        semAtalho.remove(QLatin1Char('&'));
        if (a->text() == texto || semAtalho == texto)
            return a;
    }
    return nullptr;
}

void CDatFrame::atualizarTitulo()
{
    setWindowTitle(m_doc->title());
}

void CDatFrame::atualizarTodas()
{
    m_doc->updateAllViews();
}

bool CDatFrame::recarregar()
{
    QString erro;
    if (!m_doc->open(m_doc->path(), erro)) {
        avisarFalha(m_app.prompter(), erro, m_doc->path());
        return false;
    }
    m_view->voltarAJanelaDoProblema();
    return true;
}

void CDatFrame::closeEvent(QCloseEvent* event)
{
    if (podeFechar())
        event->accept();
    else
        event->ignore();
}

bool CDatFrame::podeFechar()
{
    return podeFecharDocumento(
        m_app.prompter(), m_doc->isModified(), m_doc->title(), [this] { return gravar(); });
}

void CDatFrame::fechar()
{
    fecharJanela();
}

QString CDatFrame::escolherNomeGravacao()
{
    return m_app.fileChooser().saveFile(this, DatFilter, DatSuffix, m_doc->path());
}

bool CDatFrame::gravarEm(const QString& path)
{
    QString erro;
    const bool gravou = m_doc->save(path, m_view->janelaMostrada(), erro);
    return concluirGravacao(m_app, gravou, erro, path, m_doc->path(), m_doc->title());
}

void CDatFrame::abrirDat()
{
    const QString path = m_app.fileChooser().openFile(this, DatFilter, DatSuffix, true);
    if (path.isEmpty())
        return;
    // The problem's own command opens what it chose as a problem, whatever the name's case.
    m_app.abrirPorExtensao(path, DatSuffix);
}

bool CDatFrame::exportarMsh()
{
    tarvex::solver::SolverModel model;
    tarvex::solver::ExportResult resultado;
    {
        CursorEspera espera;
        m_view->setMarcaExportacao(std::nullopt);
        m_view->repaint();
        resultado = tarvex::solver::buildSolverModel(m_doc->data(), model);
    }
    // Messages and the file dialog come after the wait cursor is gone.
    if (!resultado) {
        if (resultado.hasMark)
            m_view->setMarcaExportacao(
                tarvex::geometry::Ponto { resultado.markX, resultado.markY });
        if (!resultado.status.message.empty())
            m_app.prompter().warn(core_texts::texto(resultado.status.message));
        else if (resultado.elementOutsideRegions >= 0)
            // A marker alone would leave the user guessing why nothing was written.
            m_app.prompter().warn(core_texts::texto(tarvex::msg::MontagemSemRegiao));
        return false;
    }

    const QString proposto = m_doc->path().isEmpty()
        ? m_doc->title() + QStringLiteral(".msh")
        : caminhoQt(tarvex::solver::nomeMshProposto(caminhoLocal(m_doc->path())));
    const QString escolhido
        = m_app.fileChooser().saveFile(this, filtroQt(tarvex::msg::MshFiltro), MshSuffix, proposto);
    if (escolhido.isEmpty())
        return false;
    const std::string alvo = tarvex::solver::nomeMshEscolhido(caminhoLocal(escolhido));
    if (alvo.empty())
        return false; // a name of another type is not written
    const QString caminhoMsh = caminhoQt(alvo);
    if (const tarvex::Status gravado = tarvex::solver::saveMsh(alvo, model); !gravado) {
        avisarFalha(m_app.prompter(), core_texts::texto(gravado.message), caminhoMsh);
        return false;
    }
    m_app.abrirGravado(caminhoMsh, MshSuffix);
    return true;
}
