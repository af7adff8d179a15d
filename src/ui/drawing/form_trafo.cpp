#include "drawing/form_trafo.h"

#include "common/campos_numericos.h"
#include "common/core_texts.h"
#include "common/messages.h"
#include "common/prompter.h"
#include "drawing/des_doc.h"
#include "drawing/des_view.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

CFormTrafo* CFormTrafo::criar(
    int tipoArranjo, CDesDoc& doc, CDesView& view, Prompter& prompter, QWidget* parent)
{
    switch (tipoArranjo) {
    case 0:
        return new CFormTrafo01(doc, view, prompter, parent);
    case 1:
        return new CFormTrafo02(doc, view, prompter, parent);
    case 2:
        return new CFormTrafo03(doc, view, prompter, parent);
    case 3:
        return new CFormTrafo04(doc, view, prompter, parent);
    default:
        return nullptr;
    }
}

CFormTrafo::CFormTrafo(int tipo, CDesDoc& doc, CDesView& view, Prompter& prompter, QWidget* parent)
    : QWidget(parent)
    , m_tipo(tipo)
    , m_doc(doc)
    , m_view(view)
    , m_prompter(prompter)
    , m_letras(tarvex::geometry::letrasArranjo(tipo))
{
    const tarvex::geometry::DimensoesArranjo padrao = tarvex::geometry::dimensoesPadrao(tipo);
    auto* grade = new QGridLayout;
    int linha = 0;
    for (std::string_view letra : m_letras) {
        auto* campo = new QLineEdit(campos_numericos::mostrar(padrao.valor(letra)));
        campo->setObjectName(core_texts::texto(letra));
        auto* rotulo = new QLabel(core_texts::texto(letra) + QStringLiteral(" (mm) :"));
        rotulo->setBuddy(campo);
        // Two columns of fields keep the twelve of arrangement 4 within the pane.
        const int coluna = m_letras.size() > 6 ? 2 * (linha % 2) : 0;
        const int fila = m_letras.size() > 6 ? linha / 2 : linha;
        grade->addWidget(rotulo, fila, coluna, Qt::AlignRight);
        grade->addWidget(campo, fila, coluna + 1);
        m_campos.push_back(campo);
        ++linha;
    }

    m_atualizar = new QPushButton(QStringLiteral("Atualizar Vista"));
    m_exportar = new QPushButton(QStringLiteral("Exportar "));
    m_gravar = new QPushButton(QStringLiteral("Gravar"));
    m_gravarComo = new QPushButton(QStringLiteral("Gravar Como ..."));
    connect(m_atualizar, &QPushButton::clicked, this, &CFormTrafo::atualizarVista);
    connect(m_exportar, &QPushButton::clicked, this, &CFormTrafo::exportarPedido);
    connect(m_gravar, &QPushButton::clicked, this, &CFormTrafo::gravarPedido);
    connect(m_gravarComo, &QPushButton::clicked, this, &CFormTrafo::gravarComoPedido);

    auto* botoes = new QGridLayout;
    botoes->addWidget(m_atualizar, 0, 0);
    botoes->addWidget(m_exportar, 0, 1);
    botoes->addWidget(m_gravar, 1, 0);
    botoes->addWidget(m_gravarComo, 1, 1);

    auto* conteudo = new QWidget;
    auto* coluna = new QVBoxLayout(conteudo);
    coluna->addLayout(grade);
    coluna->addSpacing(8);
    coluna->addLayout(botoes);
    coluna->addStretch(1);

    // The pane may be smaller than the form: it scrolls rather than squeezing the fields.
    auto* rolagem = new QScrollArea;
    rolagem->setWidget(conteudo);
    rolagem->setWidgetResizable(true);
    rolagem->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(rolagem);
}

QLineEdit* CFormTrafo::campo(std::string_view letra) const
{
    const auto it = std::find(m_letras.begin(), m_letras.end(), letra);
    if (it == m_letras.end())
        return nullptr;
    return m_campos.at(static_cast<std::size_t>(it - m_letras.begin()));
}

bool CFormTrafo::atualizarVista()
{
    tarvex::geometry::DimensoesArranjo dimensoes;
    dimensoes.tipo = m_tipo;
    for (std::size_t i = 0; i < m_letras.size(); ++i) {
        double valor = 0.0;
        if (!campos_numericos::lerNumero(m_campos.at(i), valor)) {
            m_prompter.warn(core_texts::texto(tarvex::msg::ArranjoValorInvalido));
            m_campos.at(i)->setFocus();
            m_campos.at(i)->selectAll();
            return false;
        }
        dimensoes.definir(m_letras.at(i), tarvex::geometry::valorCampo(valor));
    }
    if (const tarvex::Status s = tarvex::geometry::gerarArranjo(dimensoes, m_doc.data()); !s) {
        m_prompter.warn(core_texts::texto(s.message));
        return false;
    }
    m_view.selecao() = {};
    m_view.setMarcas({});
    m_view.zoomNormal();
    m_doc.updateAllViews();
    return true;
}
