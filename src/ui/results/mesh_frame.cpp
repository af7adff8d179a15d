#include "results/mesh_frame.h"

#include "common/app_services.h"
#include "common/campos_numericos.h"
#include "common/core_texts.h"
#include "common/file_chooser.h"
#include "common/messages.h"
#include "common/prompter.h"
#include "graphs/graph_data.h"
#include "results/mesh_doc.h"
#include "results/mesh_view.h"
#include "results/results_emf.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace {

const QString MshFilter = QStringLiteral("Arquivos (*.msh)");
const QString MshSuffix = QStringLiteral("msh");

} // namespace

CMeshFrame::CMeshFrame(std::unique_ptr<CMeshDoc> doc, AppServices& app, QWidget* parent)
    : CChildFrame(parent)
    , m_doc(std::move(doc))
    , m_app(app)
{
    m_view = new CMeshView(*m_doc, m_app.prompter());
    setCentralWidget(m_view);
    m_barra = criarBarra(QStringLiteral("Resultados"), QStringLiteral("barraResultados"));
    criarPaineisEstado(LarguraPosicao);
    painelPosicao()->setText(core_texts::texto(tarvex::msg::PosicaoInicialResultados));
    // The result pane sits between the message pane and the position pane; the commands that
    // produce a one-line result show it.
    m_resultado = new QLabel(m_view->resultText());
    // Index 1: after the message pane, the only normal widget, and before the position pane.
    statusBar()->insertPermanentWidget(1, m_resultado);
    atualizarResultado();
    criarMenus();
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogInfoView));
    connect(m_view, &CMeshView::posicaoAlterada, painelPosicao(), &QLabel::setText);
    connect(m_view, &CMeshView::resultadoAlterado, this, &CMeshFrame::atualizarResultado);
    m_view->setAbridorGraficos(
        [this](const tarvex::graphs::GraphData& grafico) { m_app.abrirGrafico(grafico); });
    atualizarTitulo();
}

CMeshFrame::~CMeshFrame()
{
    // The view refers to the document, so it goes first.
    delete takeCentralWidget();
}

QString CMeshFrame::documentPath() const
{
    return m_doc->path();
}

void CMeshFrame::criarMenus()
{
    QStyle* estilo = style();
    const auto comando = [this](const QString& texto, auto slot) {
        QAction* a = novaAcao(texto);
        connect(a, &QAction::triggered, m_view, slot);
        return a;
    };

    QAction* fecharAcao = novaAcao(QStringLiteral("&Fechar"));
    connect(fecharAcao, &QAction::triggered, this, &CMeshFrame::fechar);
    const ComandosDocumento documento = criarComandosDocumento(m_view);
    QAction* emfAcao = novaAcao(QStringLiteral("&Exportar *.emf"));
    connect(emfAcao, &QAction::triggered, this, &CMeshFrame::exportarEmf);
    QMenu* arquivos
        = criarMenuArquivosDocumento(m_app, { fecharAcao }, documento, { emfAcao }, m_view);

    const ComandosExibir comandos = criarComandosExibir();
    ligarComandosExibir(comandos, m_view);
    connect(comandos.todas, &QAction::triggered, m_doc.get(), &CMeshDoc::updateAllViews);
    QMenu* exibir = criarMenuExibir(comandos, m_barra);

    auto* desenho = new QMenu(QStringLiteral("&Desenho"), this);
    desenho->addAction(comando(QStringLiteral("&Malha"), &CMeshView::malha));
    desenho->addAction(comando(QStringLiteral("&Regioes"), &CMeshView::regioes));
    desenho->addAction(comando(QStringLiteral("&Equipotenciais"), &CMeshView::equipotenciais));
    desenho->addAction(
        comando(QStringLiteral("Equip. Cor. &Ind"), &CMeshView::equipCorrentesInduzidas));

    auto* opcoes = new QMenu(QStringLiteral("&Opções"), this);
    opcoes->addAction(comando(QStringLiteral("&Definir Número"), &CMeshView::definirNumero));
    QAction* magnetico = comando(QStringLiteral("&Magnético"), &CMeshView::analiseMagnetica);
    QAction* eletrico = comando(QStringLiteral("&Elétrico"), &CMeshView::analiseEletrica);
    magnetico->setCheckable(true);
    eletrico->setCheckable(true);
    opcoes->addAction(magnetico);
    opcoes->addAction(eletrico);
    // The check mark follows the document's analysis type, whatever changed it.
    connect(opcoes, &QMenu::aboutToShow, this, [this, magnetico, eletrico] {
        magnetico->setChecked(m_view->analiseMagneticaAtiva());
        eletrico->setChecked(!m_view->analiseMagneticaAtiva());
    });
    auto* linhas = opcoes->addMenu(QStringLiteral("&Desenho"));
    linhas->addAction(
        comando(QStringLiteral("Apaga Lin Aux. &Man."), &CMeshView::apagaLinhasManual));
    linhas->addAction(
        comando(QStringLiteral("Apaga Lin Aux. &Autom."), &CMeshView::apagaLinhasAutomatico));
    linhas->addAction(
        comando(QStringLiteral("&Recoloca Lin. Aux. Auto "), &CMeshView::recolocaLinhas));

    auto* calculo = new QMenu(QStringLiteral("&Cálculo"), this);
    calculo->addAction(comando(QStringLiteral("Estático Linear"), &CMeshView::estaticoLinear));
    calculo->addAction(
        comando(QStringLiteral("Estático Não Linear"), &CMeshView::estaticoNaoLinear));
    calculo->addAction(
        comando(QStringLiteral("Linear + Cor. Induzidas"), &CMeshView::linearCorInduzidas));

    auto* cores = desenho->addMenu(QStringLiteral("Escala de &Cores"));
    cores->addAction(comando(QStringLiteral("Módulo |&B|"), &CMeshView::mapaInducao));
    cores->addAction(comando(QStringLiteral("Módulo |&H|"), &CMeshView::mapaCampoH));
    cores->addAction(comando(QStringLiteral("Módulo |&D|"), &CMeshView::mapaInducaoEletrica));
    cores->addAction(comando(QStringLiteral("Módulo |&E|"), &CMeshView::mapaCampoE));
    cores->addAction(comando(QStringLiteral("Módulo |&J|"), &CMeshView::mapaDensCorrente));
    cores->addAction(comando(QStringLiteral("&Perdas"), &CMeshView::mapaPerdas));

    auto* fluxo = new QMenu(QStringLiteral("&Fluxo"), this);
    fluxo->addAction(comando(QStringLiteral("2 Pts. &Mouse"), &CMeshView::fluxoMouse));
    fluxo->addAction(comando(QStringLiteral("2 Pts. &Teclado"), &CMeshView::fluxoTeclado));

    auto* ponto = new QMenu(QStringLiteral("&Ponto"), this);
    ponto->addAction(comando(QStringLiteral("&XY/RT Mouse/Teclado"), &CMeshView::valorPonto));

    // The polar commands carry the same texts as the Cartesian ones; their object names tell
    // them apart.
    const auto nomeado = [&](const QString& texto, auto slot, const char* nome) {
        QAction* a = comando(texto, slot);
        a->setObjectName(QString::fromLatin1(nome));
        return a;
    };
    auto* curvas = new QMenu(QStringLiteral("C&urvas"), this);
    curvas->addAction(comando(QStringLiteral("Dens. &Fluxo Mouse"), &CMeshView::inducaoMouse));
    curvas->addAction(comando(QStringLiteral("Dens. F&luxo Teclado"), &CMeshView::inducaoTeclado));
    curvas->addAction(comando(QStringLiteral("&Campo Mouse"), &CMeshView::campoMouse));
    curvas->addAction(comando(QStringLiteral("C&ampo Teclado"), &CMeshView::campoTeclado));
    curvas->addAction(comando(QStringLiteral("Dens. F&orça Mouse"), &CMeshView::pressaoMouse));
    curvas->addAction(comando(QStringLiteral("Dens. Fo&rca Teclado"), &CMeshView::pressaoTeclado));
    auto* polares = curvas->addMenu(QStringLiteral("&Polar"));
    polares->addAction(nomeado(
        QStringLiteral("Dens. &Fluxo Mouse"), &CMeshView::inducaoPolarMouse, "polarInducaoMouse"));
    polares->addAction(nomeado(QStringLiteral("Dens. F&luxo Teclado"),
        &CMeshView::inducaoPolarTeclado, "polarInducaoTeclado"));
    polares->addAction(
        nomeado(QStringLiteral("&Campo Mouse"), &CMeshView::campoPolarMouse, "polarCampoMouse"));
    polares->addAction(nomeado(
        QStringLiteral("C&ampo Teclado"), &CMeshView::campoPolarTeclado, "polarCampoTeclado"));
    polares->addAction(nomeado(
        QStringLiteral("Dens. F&orça Mouse"), &CMeshView::pressaoPolarMouse, "polarPressaoMouse"));
    polares->addAction(nomeado(QStringLiteral("Dens. Fo&rça Teclado"),
        &CMeshView::pressaoPolarTeclado, "polarPressaoTeclado"));

    auto* forcas = new QMenu(QStringLiteral("Fo&rças"), this);
    forcas->addAction(comando(QStringLiteral("&Força XY Mouse"), &CMeshView::forcaXYMouse));
    forcas->addAction(comando(QStringLiteral("F&orça XY Teclado"), &CMeshView::forcaXYTeclado));
    forcas->addAction(comando(QStringLiteral("Fo&rça RT Mouse"), &CMeshView::forcaRTMouse));
    forcas->addAction(comando(QStringLiteral("Forç&a RT Teclado"), &CMeshView::forcaRTTeclado));

    auto* perdas = new QMenu(QStringLiteral("Perda Cor. &Ind."), this);
    perdas->addAction(
        comando(QStringLiteral("Dens. C&orrente Mouse"), &CMeshView::densCorrenteMouse));
    perdas->addAction(
        comando(QStringLiteral("Dens. Corrente &Teclado"), &CMeshView::densCorrenteTeclado));
    perdas->addAction(comando(QStringLiteral("Dens. &Perdas Mouse"), &CMeshView::densPerdasMouse));
    perdas->addAction(
        comando(QStringLiteral("Den&s. Perdas Teclado"), &CMeshView::densPerdasTeclado));
    perdas->addAction(comando(QStringLiteral("&Região"), &CMeshView::perdasRegiao));
    perdas->addAction(comando(QStringLiteral("&Total"), &CMeshView::perdasTotal));

    auto* integrais = new QMenu(QStringLiteral("&Integrais"), this);
    // "&Região" and "&Total" read as in "Perda Cor. &Ind."; their object names tell them apart.
    integrais->addAction(
        nomeado(QStringLiteral("&Região"), &CMeshView::integraisRegiao, "integraisRegiao"));
    integrais->addAction(
        nomeado(QStringLiteral("&Total"), &CMeshView::integraisTotal, "integraisTotal"));
    integrais->addAction(comando(
        QStringLiteral("Indutância / Capacitância..."), &CMeshView::indutanciaCapacitancia));

    m_menus = { arquivos, exibir, desenho, opcoes, calculo, curvas, forcas, fluxo, ponto, perdas,
        integrais, criarMenuAjuda(m_app) };
    criarMenusCaminhos();
    preencherBarra(m_barra, m_app, documento.gravar, documento.imprimir, comandos);

    // The colour-scale strip is a toolbar command; its tip's first line is the status text.
    const QStringList dica
        = core_texts::texto(tarvex::msg::EscalaCoresDica).split(QLatin1Char('\n'));
    QAction* escala = comando(QStringLiteral("Escala de Cores"), &CMeshView::escalaCores);
    escala->setStatusTip(dica.value(0));
    escala->setToolTip(dica.value(1));
    escala->setIcon(estilo->standardIcon(QStyle::SP_DesktopIcon));
    m_barra->addSeparator();
    m_barra->addAction(escala);
}

void CMeshFrame::atualizarResultado()
{
    const QString texto = m_view->resultText();
    m_resultado->setText(texto);
    m_resultado->setFixedWidth(LarguraPorCaractere * int(texto.size()));
    m_resultado->setVisible(m_view->resultadoVisivel());
}

QAction* CMeshFrame::acao(const QString& texto) const
{
    for (QAction* a : actions()) {
        QString semAtalho = a->text();
        semAtalho.remove(QLatin1Char('&'));
        if (a->text() == texto || semAtalho == texto || a->objectName() == texto)
            return a;
    }
    return nullptr;
}

void CMeshFrame::atualizarTitulo()
{
    setWindowTitle(m_doc->title());
}

bool CMeshFrame::recarregar()
{
    QString erro;
    if (!m_doc->open(m_doc->path(), erro)) {
        avisarFalha(m_app.prompter(), erro, m_doc->path());
        return false;
    }
    m_view->voltarAoInicio();
    return true;
}

void CMeshFrame::closeEvent(QCloseEvent* event)
{
    // A run is on the stack of its dialog's "Calcula": the document must outlive it.
    const bool pode = !m_view->executando()
        && podeFecharDocumento(
            m_app.prompter(), m_doc->isModified(), m_doc->title(), [this] { return gravar(); });
    if (pode)
        event->accept();
    else
        event->ignore();
}

void CMeshFrame::fechar()
{
    fecharJanela();
}

QString CMeshFrame::escolherNomeGravacao()
{
    return m_app.fileChooser().saveFile(this, MshFilter, MshSuffix, m_doc->path());
}

bool CMeshFrame::exportarEmf()
{
    QString proposto = m_doc->path();
    if (proposto.endsWith(QStringLiteral(".msh"), Qt::CaseInsensitive))
        proposto = proposto.left(proposto.size() - 4) + QStringLiteral(".emf");
    const QString escolhido = m_app.fileChooser().saveFile(
        this, QStringLiteral("Arquivos (*.emf)"), QStringLiteral("emf"), proposto);
    if (escolhido.isEmpty())
        return false;
    const QString path
        = QString::fromStdString(tarvex::results::emfFileName(escolhido.toStdString()));
    if (const tarvex::Status s = m_view->exportarEmf(path); !s) {
        avisarFalha(m_app.prompter(), core_texts::texto(s.message), path);
        return false;
    }
    return true;
}

bool CMeshFrame::gravarEm(const QString& path)
{
    QString erro;
    const bool gravou = m_doc->save(path, erro);
    return concluirGravacao(m_app, gravou, erro, path, m_doc->path(), m_doc->title());
}
