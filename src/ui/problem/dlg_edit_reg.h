#pragma once

#include "problem/editing.h"

#include <QDialog>

QT_BEGIN_NAMESPACE
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
QT_END_NAMESPACE

class CGraphDoc;
class AppServices;
class Prompter;

/**
 * "Características da Região": the material and source data of a region (or of the selected
 * regions). The density label and the remanence fields follow the analysis type; "Linear" and
 * "Não-Linear" disable and enable the materials-file controls. The materials buttons use the
 * application's materials services, so they need the application (setAplicacao); without it
 * they only check the name.
 *
 * OK checks the fields and stays open on a bad one. A non-linear material without a file name
 * asks " Arquivo não existe ! Cria arquivo novo ??"; Yes asks where to create the new file,
 * creates it, opens the editor on it and closes with that name; No stays open.
 */
class CDlgEditReg : public QDialog {
    Q_OBJECT
public:
    CDlgEditReg(bool eletrico, Prompter& prompter, QWidget* parent = nullptr);

    void setAplicacao(AppServices* app) { m_app = app; }
    void setValores(const tarvex::problem::ValoresRegiao& valores);
    /// The values accepted by the last successful OK.
    tarvex::problem::ValoresRegiao valores() const { return m_valores; }
    /// Reads the fields; false (with a warning) when one does not hold an admissible value.
    bool lerCampos(tarvex::problem::ValoresRegiao& valores);

    bool eletrico() const { return m_eletrico; }
    QLabel* rotuloDensidade() const { return m_rotuloDensidade; }
    QLineEdit* campoDensidade() const { return m_densidade; }
    QLineEdit* campoCondutividade() const { return m_condutividade; }
    QLineEdit* campoBrX() const { return m_brX; }
    QLineEdit* campoBrY() const { return m_brY; }
    QLineEdit* campoBrT() const { return m_brT; }
    QLineEdit* campoBrR() const { return m_brR; }
    QGroupBox* grupoMagnetizacao() const { return m_magnetizacao; }
    QLineEdit* campoPermeabilidade() const { return m_permeabilidade; }
    QRadioButton* botaoLinear() const { return m_linear; }
    QRadioButton* botaoNaoLinear() const { return m_naoLinear; }
    QLineEdit* campoArquivo() const { return m_arquivo; }
    QPushButton* botaoSelecionar() const { return m_selecionar; }
    QPushButton* botaoGrafico() const { return m_grafico; }
    QPushButton* botaoEditar() const { return m_editar; }
    QPushButton* botaoRemoveGrafico() const { return m_removeGrafico; }

public slots:
    void accept() override;
    /// "selecionar": a materials file chosen in a file dialog.
    void selecionar();
    /// "gráfico": the plot of the named materials file.
    void grafico();
    /// "Editar": the materials editor on the named file, created first when the user agrees.
    void editar();
    /// "remove gráfico": closes the plot.
    void removeGrafico();

private:
    void atualizaTipoMaterial();
    /// The name in the field, completed as the materials services expect; empty (after the
    /// warning) when there is no name.
    QString arquivoCompleto();

    bool m_eletrico;
    Prompter& m_prompter;
    AppServices* m_app = nullptr;
    CGraphDoc* m_plot = nullptr;
    tarvex::problem::ValoresRegiao m_valores;
    QLabel* m_rotuloDensidade;
    QLineEdit* m_densidade;
    QLineEdit* m_condutividade;
    QGroupBox* m_magnetizacao;
    QLineEdit* m_brX;
    QLineEdit* m_brY;
    QLineEdit* m_brT;
    QLineEdit* m_brR;
    QLineEdit* m_permeabilidade;
    QRadioButton* m_linear;
    QRadioButton* m_naoLinear;
    QLineEdit* m_arquivo;
    QPushButton* m_selecionar;
    QPushButton* m_grafico;
    QPushButton* m_editar;
    QPushButton* m_removeGrafico;
};
