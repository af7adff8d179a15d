#include "drawing/des_frame.h"

#include "common/app_services.h"
#include "common/core_texts.h"
#include "common/file_chooser.h"
#include "common/file_io.h"
#include "common/prompter.h"
#include "drawing/des_doc.h"
#include "drawing/des_view.h"
#include "drawing/dlg_tolerancias.h"
#include "drawing/form_trafo.h"
#include "drawing/trafo_view.h"
#include "paint/view_mapping.h"
#include "problem/formar_regioes.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString DesFilter = QStringLiteral("Arquivos (*.des)");
const QString DesSuffix = QStringLiteral("des");
const QString DatFilter = QStringLiteral("Arquivos (*.dat)");
const QString DatSuffix = QStringLiteral("dat");

/// Shows the wait cursor for as long as it lives.
class CursorEspera {
public:
    CursorEspera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorEspera() { QApplication::restoreOverrideCursor(); }
    CursorEspera(const CursorEspera&) = delete;
    CursorEspera& operator=(const CursorEspera&) = delete;
};

} // namespace

CDesFrame::TamanhosArranjo CDesFrame::tamanhosArranjo(int tipoArranjo, int w, int h)
{
    switch (tipoArranjo) {
    case 0:
        return { w, w / 2, h / 2 };
    case 1:
    case 2:
        return { static_cast<int>(w / 1.2), static_cast<int>(w / 1.2 / 2),
            static_cast<int>(h / 1.6) };
    case 3:
        return { static_cast<int>(w / 1.2), static_cast<int>(w / 1.2 / 2),
            static_cast<int>(h / 1.3) };
    default:
        return {};
    }
}

CDesFrame::CDesFrame(std::unique_ptr<CDesDoc> doc, AppServices& app, QSize clientSize,
    int tipoArranjo, QWidget* parent)
    : CChildFrame(parent)
    , m_doc(std::move(doc))
    , m_app(app)
{
    criarAreaCliente(clientSize, tipoArranjo);
    criarBarras();
    criarMenus();
    setWindowIcon(style()->standardIcon(QStyle::SP_FileIcon));
    connect(m_view, &CDesView::posicaoAlterada, painelPosicao(), &QLabel::setText);
    connect(m_view, &CDesView::mensagem, this, &CChildFrame::mostrarMensagem);
    connect(m_view, &CDesView::modoAlterado, this, &CDesFrame::marcarModo);
    atualizarTitulo();
}

CDesFrame::~CDesFrame()
{
    // The view refers to the document, so it goes first.
    delete takeCentralWidget();
}

QString CDesFrame::documentPath() const
{
    return m_doc->path();
}

void CDesFrame::criarAreaCliente(QSize clientSize, int tipo)
{
    m_view = new CDesView(*m_doc, m_app.prompter());
    if (tipo < 0 || tipo >= AppServices::ArrangementCount) {
        setCentralWidget(m_view);
        return;
    }

    const int w = clientSize.width();
    const int h = clientSize.height();
    m_tamanhos = tamanhosArranjo(tipo, w, h);

    m_divisor = new QSplitter(Qt::Horizontal);
    m_divisor->setChildrenCollapsible(false);
    m_divisor->addWidget(m_view);
    m_divisorDireito = new QSplitter(Qt::Vertical);
    m_divisorDireito->setChildrenCollapsible(false);
    m_trafoView = new CTrafoView(tipo);
    m_divisorDireito->addWidget(m_trafoView);
    m_formulario = CFormTrafo::criar(tipo, *m_doc, *m_view, m_app.prompter());
    connect(m_formulario, &CFormTrafo::exportarPedido, this, &CDesFrame::exportarDat);
    connect(m_formulario, &CFormTrafo::gravarPedido, this, &CDesFrame::gravar);
    connect(m_formulario, &CFormTrafo::gravarComoPedido, this, &CDesFrame::gravarComo);
    m_divisorDireito->addWidget(m_formulario);
    m_divisor->addWidget(m_divisorDireito);

    // The splitter shares its width in the proportion of the two column sizes; the picture keeps
    // its height and the form takes the rest of the column.
    m_divisor->setSizes({ m_tamanhos.larguraDesenho, m_tamanhos.larguraDireita });
    m_divisorDireito->setSizes(
        { m_tamanhos.alturaDireita, std::max(h - m_tamanhos.alturaDireita, 1) });
    setCentralWidget(m_divisor);
}

void CDesFrame::criarBarras()
{
    m_barra = criarBarra(QStringLiteral("Desenho"), QStringLiteral("barraDesenho"));
    criarPaineisEstado(LarguraPosicao);
}

void CDesFrame::criarMenus()
{
    QAction* abrirDesAcao = novaAcao(QStringLiteral("Abrir  *.des"));
    connect(abrirDesAcao, &QAction::triggered, this, &CDesFrame::abrirDes);
    QAction* fecharAcao = novaAcao(QStringLiteral("&Fechar"));
    connect(fecharAcao, &QAction::triggered, this, &CDesFrame::fechar);
    const ComandosDocumento documento = criarComandosDocumento(m_view);
    m_acaoGravar = documento.gravar;
    m_acaoImprimir = documento.imprimir;
    QAction* exportarAcao = novaAcao(QStringLiteral("&Exportar para *.dat"));
    connect(exportarAcao, &QAction::triggered, this, &CDesFrame::exportarDat);
    QMenu* arquivos = criarMenuArquivosDocumento(
        m_app, { abrirDesAcao, fecharAcao }, documento, { exportarAcao }, m_view);

    const ComandosExibir comandos = criarComandosExibir();
    ligarComandosExibir(comandos, m_view);
    connect(comandos.todas, &QAction::triggered, this, &CDesFrame::atualizarTodas);
    QMenu* exibir = criarMenuExibir(comandos, m_barra);
    comandos.zoom->setCheckable(true);
    comandos.zoom->setData(static_cast<int>(CDesView::ModoZoom));
    m_acoesModo << comandos.zoom;
    const QList<QMenu*> desenho = criarMenusDesenho();

    QAction* toleranciasAcao = novaAcao(QStringLiteral("Tolerâncias"));
    connect(toleranciasAcao, &QAction::triggered, this, &CDesFrame::tolerancias);
    auto* opcoes = new QMenu(QStringLiteral("Opções"), this);
    opcoes->addAction(toleranciasAcao);

    auto* arranjos = new QMenu(QStringLiteral("Arranjos Tipicos"), this);
    for (int tipo = 0; tipo < AppServices::ArrangementCount; ++tipo)
        arranjos->addAction(m_app.acaoTipo(tipo));

    // The drawing commands come after the menus every drawing frame has always had in front.
    m_menus = { arquivos, exibir, opcoes };
    m_menus << desenho;
    m_menus << arranjos << criarMenuAjuda(m_app);
    preencherBarra(m_barra, m_app, m_acaoGravar, m_acaoImprimir, comandos);
    marcarModo(m_view->modoMouse());
}

QAction* CDesFrame::acaoModo(const QString& texto, CDesView::ModoMouse modo)
{
    QAction* acao = novaAcao(texto);
    acao->setCheckable(true);
    acao->setData(static_cast<int>(modo));
    connect(acao, &QAction::triggered, this, [this, modo] {
        m_view->comandoModo(modo);
        // A refused command keeps the mode it had, and its mark.
        marcarModo(m_view->modoMouse());
    });
    m_acoesModo << acao;
    return acao;
}

void CDesFrame::marcarModo(CDesView::ModoMouse modo)
{
    for (QAction* acao : std::as_const(m_acoesModo))
        acao->setChecked(acao->data().toInt() == static_cast<int>(modo));
}

QList<QMenu*> CDesFrame::criarMenusDesenho()
{
    const auto comando = [this](QMenu* menu, const QString& texto, void (CDesView::*slot)()) {
        QAction* acao = novaAcao(texto);
        connect(acao, &QAction::triggered, m_view, slot);
        menu->addAction(acao);
        return acao;
    };

    auto* editar = new QMenu(QStringLiteral("&Editar"), this);
    QUndoStack& pilha = m_doc->pilhaDesfazer();
    m_acaoDesfazer = pilha.createUndoAction(this, QStringLiteral("Desfazer"));
    m_acaoDesfazer->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_acaoRefazer = pilha.createRedoAction(this, QStringLiteral("Refazer"));
    m_acaoRefazer->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    for (QAction* acao : { m_acaoDesfazer, m_acaoRefazer }) {
        acao->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(acao);
        editar->addAction(acao);
    }

    auto* inserir = new QMenu(QStringLiteral("&Inserir"), this);
    inserir->addAction(acaoModo(QStringLiteral("Ponto &Mouse"), CDesView::ModoMouse::InserePonto));
    comando(inserir, QStringLiteral("Ponto &Teclado"), &CDesView::pontoTeclado);
    inserir->addSeparator();
    inserir->addAction(
        acaoModo(QStringLiteral("R&eta Cartesiana Mouse"), CDesView::ModoMouse::RetaCartesiana));
    comando(inserir, QStringLiteral("&Reta Cartesiana Teclado"), &CDesView::retaTeclado);
    comando(inserir, QStringLiteral("Reta &Polar Teclado"), &CDesView::retaPolarTeclado);
    inserir->addSeparator();
    inserir->addAction(
        acaoModo(QStringLiteral("Retân&gulo Mouse"), CDesView::ModoMouse::Retangulo));
    comando(inserir, QStringLiteral("Retâ&ngulo Teclado"), &CDesView::retanguloTeclado);
    inserir->addSeparator();
    inserir->addAction(
        acaoModo(QStringLiteral("C&ircunferência Mouse"), CDesView::ModoMouse::Circunferencia));
    inserir->addAction(acaoModo(QStringLiteral("Circ&unferência Mouse (3 Pontos)"),
        CDesView::ModoMouse::Circunferencia3Pontos));
    comando(inserir, QStringLiteral("&Circunferência Teclado"), &CDesView::circunferenciaTeclado);
    inserir->addSeparator();
    inserir->addAction(acaoModo(QStringLiteral("Arco : Mou&se"), CDesView::ModoMouse::Arco));
    comando(inserir, QStringLiteral("Arc&o : Ponto+Centro+Angulo"), &CDesView::arcoAngulo);
    comando(inserir, QStringLiteral("&Arco : 2 Pontos+Centro"), &CDesView::arco2Pontos);

    auto* selecionar = new QMenu(QStringLiteral("&Selecionar"), this);
    selecionar->addAction(acaoModo(QStringLiteral("&Ponto"), CDesView::ModoMouse::SelecionaPonto));
    selecionar->addAction(
        acaoModo(QStringLiteral("&Inverte Ponto"), CDesView::ModoMouse::InvertePonto));
    selecionar->addAction(
        acaoModo(QStringLiteral("&Segmento"), CDesView::ModoMouse::SelecionaSegmento));
    selecionar->addAction(
        acaoModo(QStringLiteral("&Regiao"), CDesView::ModoMouse::SelecionaRegiao));
    selecionar->addAction(
        acaoModo(QStringLiteral("Região P&olar"), CDesView::ModoMouse::SelecionaRegiaoPolar));
    selecionar->addAction(
        acaoModo(QStringLiteral("I&nverte Região"), CDesView::ModoMouse::InverteRegiao));

    auto* excluir = new QMenu(QStringLiteral("E&xcluir"), this);
    excluir->addAction(acaoModo(QStringLiteral("&Pontos"), CDesView::ModoMouse::ExcluiPontos));
    comando(excluir, QStringLiteral("&Segmentos"), &CDesView::excluiSegmentos);

    auto* reproduzir = new QMenu(QStringLiteral("Re&produzir"), this);
    comando(reproduzir, QStringLiteral("Reprodução &Linear"), &CDesView::reproducaoLinear);
    comando(reproduzir, QStringLiteral("Reprodução &Polar"), &CDesView::reproducaoPolar);

    auto* deslocar = new QMenu(QStringLiteral("&Deslocar"), this);
    comando(deslocar, QStringLiteral("&Linear"), &CDesView::deslocaLinear);
    comando(deslocar, QStringLiteral("&Polar"), &CDesView::deslocaPolar);

    return { editar, inserir, selecionar, excluir, reproduzir, deslocar };
}

void CDesFrame::atualizarTitulo()
{
    setWindowTitle(m_doc->title());
}

void CDesFrame::atualizarTodas()
{
    m_doc->updateAllViews();
}

void CDesFrame::closeEvent(QCloseEvent* event)
{
    // "Fechar" has already compared the counts before closing.
    if (!m_doc->closing())
        m_doc->checkModifiedByCounts();
    if (podeFechar())
        event->accept();
    else
        event->ignore();
}

bool CDesFrame::podeFechar()
{
    return podeFecharDocumento(
        m_app.prompter(), m_doc->isModified(), m_doc->title(), [this] { return gravar(); });
}

void CDesFrame::fechar()
{
    m_doc->setClosing(true);
    m_doc->checkModifiedByCounts();
    // Deletion is deferred, so the document is still here afterwards.
    fecharJanela();
    m_doc->setClosing(false);
}

QString CDesFrame::escolherNomeGravacao()
{
    const QString tipo = m_doc->documentType();
    if (tipo == QLatin1String("pre") || tipo == QLatin1String("dxf")) {
        // A drawing read from another format is only ever written as .des.
        const QString proposto = m_doc->path().isEmpty()
            ? m_doc->title() + QStringLiteral(".des")
            : QFileInfo(m_doc->path()).path() + QLatin1Char('/')
                + QFileInfo(m_doc->path()).completeBaseName() + QStringLiteral(".des");
        return m_app.fileChooser().saveFile(this, DesFilter, DesSuffix, proposto);
    }
    const QString doTipo = m_app.filtroDoTipo(tipo);
    const QString filtro = doTipo.isEmpty() ? DesFilter : doTipo;
    const QString proposto = m_doc->path().isEmpty() ? m_doc->title() : m_doc->path();
    return m_app.fileChooser().saveFile(this, filtro, DesSuffix, proposto);
}

bool CDesFrame::gravarEm(const QString& path)
{
    QString erro;
    const bool gravou = m_doc->save(path, erro);
    return concluirGravacao(m_app, gravou, erro, path, m_doc->path(), m_doc->title());
}

void CDesFrame::abrirDes()
{
    const QString path = m_app.fileChooser().openFile(this, DesFilter, DesSuffix, true);
    m_app.abrirPorExtensao(path, QFileInfo(path).suffix());
}

void CDesFrame::tolerancias()
{
    CDlgTolerancias dialogo(m_doc->data().distanciaMinima, m_app.prompter(), this);
    if (dialogo.exec() == QDialog::Accepted)
        m_doc->data().distanciaMinima = dialogo.distanciaMinima();
}

bool CDesFrame::exportarDat()
{
    tarvex::problem::ResultadoFormacao resultado;
    tarvex::Status status;
    {
        CursorEspera espera;
        m_view->zoomNormal();
        m_view->repaint();
        m_doc->regioes().clear();
        status = tarvex::problem::formarRegioes(m_doc->data(), resultado);
        // Kept even on a failure: what was traced so far is what the marks show.
        m_doc->regioes() = std::move(resultado.regioes);
        m_view->setMarcas(std::move(resultado.marcas));
        m_view->repaint();
    }
    // Messages and the file dialog come after the wait cursor is gone.
    if (!status) {
        m_app.prompter().warn(
            QString::fromStdString(tarvex::problem::textoFalhaFormacao(status, resultado)));
        return false;
    }

    const std::string caminhoDesenho = caminhoLocal(m_doc->path());
    const QString proposto = m_doc->path().isEmpty()
        ? m_doc->title() + QStringLiteral(".dat")
        : caminhoQt(tarvex::problem::nomeDatProposto(caminhoDesenho));
    const QString escolhido = m_app.fileChooser().saveFile(this, DatFilter, DatSuffix, proposto);
    if (escolhido.isEmpty())
        return false;
    const std::string alvo = tarvex::problem::caminhoDatEscolhido(caminhoLocal(escolhido));
    const QString caminhoDat = caminhoQt(alvo);

    // The window written is that of a fresh zoom to the extents, whatever the view shows now.
    const tarvex::geometry::Caixa caixa
        = tarvex::paint::janelaNormal(m_doc->data(), m_view->janela());
    const tarvex::problem::JanelaExportacao janela { caixa.xMin, caixa.xMax, caixa.yMin,
        caixa.yMax };
    const std::string bytes
        = tarvex::problem::escreveDatExportado(m_doc->data().fatorEscala, janela, m_doc->regioes());
    if (const tarvex::Status gravado = tarvex::common::writeFileAtomically(alvo, bytes); !gravado) {
        avisarFalha(m_app.prompter(), textoDoStatus(gravado), caminhoDat);
        return false;
    }
    m_app.abrirGravado(caminhoDat, DatSuffix);
    return true;
}
