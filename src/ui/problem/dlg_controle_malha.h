#pragma once

#include <QDialog>

QT_BEGIN_NAMESPACE
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
QT_END_NAMESPACE

class Prompter;

/// The mesh-control values of a problem view.
struct ValoresControleMalha {
    int modoAresta = 0; ///< 0: the maximum edge is typed; 1: a factor of the reference length
    double comprimentoReferencia = 0.0;
    double fatorAresta = 1.0;
    double fatorEspecial = 1.0;
    double termoQualidade = 1.4142135623730951; ///< 1/(2 sin θmin)
    bool verificaAngulo = false;
    bool recentragem = false;
};

/**
 * "Controle de Geração da Malha": how the maximum edge is given ("Maior Aresta dos Elementos"
 * with "Valor:", or "Menor Segmento como Referência" with "Fator Maior Aresta :"), the factor of
 * the special regions, the smallest triangle angle and the two options. OK and "Gera Malha" read
 * the enabled fields and refuse, with a warning and the dialog left open, a text that is no
 * number, a length or factor that is not above zero, and an angle outside (0, 60) degrees.
 * "Gera Malha" closes with GeraMalha.
 */
class CDlgControleMalha : public QDialog {
    Q_OBJECT
public:
    enum Resultado { GeraMalha = 2 };

    CDlgControleMalha(
        const ValoresControleMalha& valores, Prompter& prompter, QWidget* parent = nullptr);

    /// The values read by the last accepted OK or "Gera Malha".
    const ValoresControleMalha& valores() const { return m_valores; }

    QRadioButton* botaoMaiorAresta() const { return m_maiorAresta; }
    QRadioButton* botaoMenorSegmento() const { return m_menorSegmento; }
    QLineEdit* campoValor() const { return m_valor; }
    QLineEdit* campoFatorAresta() const { return m_fatorAresta; }
    QLineEdit* campoFatorEspecial() const { return m_fatorEspecial; }
    QLineEdit* campoAngulo() const { return m_angulo; }
    QCheckBox* caixaVerificaAngulo() const { return m_verificaAngulo; }
    QCheckBox* caixaRecentragem() const { return m_recentragem; }
    QPushButton* botaoGeraMalha() const { return m_geraMalha; }

    /// The angle shown for a quality term, in degrees: asin(1/(2·term)).
    static double anguloDoTermo(double termo);

public slots:
    void accept() override;
    void geraMalha();

private:
    bool le();
    void atualizaCampos();

    Prompter& m_prompter;
    ValoresControleMalha m_valores;
    QRadioButton* m_maiorAresta;
    QRadioButton* m_menorSegmento;
    QLineEdit* m_valor;
    QLineEdit* m_fatorAresta;
    QLineEdit* m_fatorEspecial;
    QLineEdit* m_angulo;
    QCheckBox* m_verificaAngulo;
    QCheckBox* m_recentragem;
    QPushButton* m_geraMalha;
};
