#pragma once

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>
#include <vector>

QT_BEGIN_NAMESPACE
class QCheckBox;
class QLineEdit;
QT_END_NAMESPACE

class Prompter;

/**
 * The keyboard dialogs of the drawing ("Insere PONTO :", "Desenha Circunferências", "Reprodução
 * da Seleção", "Desloca"...): numeric fields with their labels, and option boxes.
 *
 * An insertion dialog has "Insere" and "&Encerra": "Insere" reads the fields and hands them to the
 * action, which answers with a refusal text (shown, the dialog keeps its values) or an empty text;
 * either way the dialog stays open for the next entry until "&Encerra". Any other dialog has OK
 * and Cancel and closes on an accepted OK.
 */
class CDlgValoresDesenho : public QDialog {
    Q_OBJECT
public:
    /// The values read by the last "Insere" or OK, in field order, and the option boxes' states.
    struct Valores {
        std::vector<double> numeros;
        std::vector<bool> opcoes;
    };
    using Acao = std::function<QString(const Valores&)>;

    /// `rotulos`: one label per numeric field; `opcoes`: one text per option box. With an
    /// `acao`, the dialog is an insertion dialog (`textoInsere` names its button).
    CDlgValoresDesenho(const QString& titulo, const QStringList& rotulos, const QStringList& opcoes,
        Prompter& prompter, Acao acao = {}, const QString& textoInsere = QStringLiteral("Insere"),
        QWidget* parent = nullptr);

    void setNumero(int campo, double valor);
    QLineEdit* campo(int i) const { return m_campos.value(i); }
    QCheckBox* opcao(int i) const { return m_opcoes.value(i); }
    const Valores& valores() const { return m_valores; }

public slots:
    /// "Insere": reads the fields and runs the action. False when a field is not a number or the
    /// action refused.
    bool inserir();
    void accept() override;

private:
    bool ler();

    Prompter& m_prompter;
    Acao m_acao;
    QList<QLineEdit*> m_campos;
    QList<QCheckBox*> m_opcoes;
    Valores m_valores;
};
