#pragma once

#include "materials/mat_io.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

QT_BEGIN_NAMESPACE
class QLineEdit;
class QTreeWidget;
QT_END_NAMESPACE

class CGraphDoc;
class AppServices;

/**
 * "Edição de Arquivos de Materiais": the points of a materials file as rows of a list, edited
 * through the "campo :" and "indução :" fields. The rows are the file: "Gravar" writes them as
 * they are shown. A plot opened with "Gráfico" belongs to the dialog and closes with it.
 *
 * Every button is a public slot, so the editor can be driven without showing it.
 */
class CDlgEditArqMat : public QDialog {
    Q_OBJECT
public:
    CDlgEditArqMat(AppServices& app, const QString& path, bool eletrico, QWidget* parent = nullptr);
    ~CDlgEditArqMat() override;

    QString arquivo() const { return m_path; }
    QTreeWidget* lista() const { return m_lista; }
    QLineEdit* campo() const { return m_campo; }
    QLineEdit* inducao() const { return m_inducao; }
    /// The rows' texts, first row first.
    QStringList linhas() const;
    /// 0-based selected row, or -1.
    int linhaSelecionada() const;
    void selecionarLinha(int linha);
    /// The plot opened from this editor, while it is open.
    CGraphDoc* grafico() const;
    /// True once the rows were written under the editor's file name.
    bool gravou() const { return m_gravou; }

public slots:
    /// "Inserir": a point with the fields' values after the selected row (first when none).
    void inserir();
    /// "Atualizar": the selected point takes the fields' texts.
    void atualizar();
    /// "Remover": the selected point goes; the row at its place (or the last) is selected.
    void remover();
    /// "Gráfico": the points as a curve, in the editor's plot.
    void mostrarGrafico();
    /// "Gravar": the rows under the file's name. False, with a warning, when not written.
    bool gravar();
    /// "Gravar Como ...": the rows under a chosen name; the editor stays on its own file.
    bool gravarComo();
    /// OK: writes the file, closes the plot and closes.
    void accept() override;
    /// "Cancelar": closes the plot and closes without writing.
    void reject() override;

private:
    struct Ponto {
        tarvex::materials::PontoMaterial valor;
        /// Set by "Atualizar": the row shows the texts as typed.
        bool digitado = false;
        std::string campo;
        std::string inducao;
    };

    std::string linha(std::size_t indice) const;
    std::vector<std::string> linhasDoArquivo() const;
    void preencher(int selecionar);
    void linhaEscolhida();
    bool lerCampos(Ponto& ponto);
    bool gravarEm(const QString& path);
    void fecharGraficoProprio();

    AppServices& m_app;
    QString m_path;
    bool m_eletrico = false;
    std::vector<Ponto> m_pontos;
    /// The file could not be read: it is not written over unless the user edits the points.
    bool m_leituraFalhou = false;
    bool m_alterado = false;
    bool m_gravou = false;
    QPointer<CGraphDoc> m_grafico;
    QTreeWidget* m_lista;
    QLineEdit* m_campo;
    QLineEdit* m_inducao;
};
