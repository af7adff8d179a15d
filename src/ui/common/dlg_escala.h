#pragma once

#include <QDialog>

QT_BEGIN_NAMESPACE
class QLineEdit;
QT_END_NAMESPACE

class Prompter;

/// The values of the "Escala" dialog: the drawing view's window and the document's scale factor.
struct ValoresEscala {
    double xMin = 0.0;
    double xMax = 0.0;
    double yMin = 0.0;
    double yMax = 0.0;
    double fatorEscala = 1000.0;
};

/**
 * "Escala" ("&Ajuste Manual"): the view's window and the scale factor. OK checks the fields
 * before closing: a field that is not a number, a minimum not below its maximum, or a scale
 * factor that is not positive is refused with a warning and the dialog stays open, so a broken
 * window never reaches the view.
 */
class CDlgEscala : public QDialog {
    Q_OBJECT
public:
    explicit CDlgEscala(Prompter& prompter, QWidget* parent = nullptr);

    /// Fills the fields.
    void setValores(const ValoresEscala& valores);
    /// The values accepted by the last successful OK.
    ValoresEscala valores() const { return m_valores; }

    /// Reads and checks the fields. On success stores them as valores() and returns true;
    /// otherwise warns through the prompter and returns false.
    bool validar();

    QLineEdit* campoXMin() const { return m_xMin; }
    QLineEdit* campoXMax() const { return m_xMax; }
    QLineEdit* campoYMin() const { return m_yMin; }
    QLineEdit* campoYMax() const { return m_yMax; }
    QLineEdit* campoFator() const { return m_fator; }

public slots:
    /// OK: closes with Accepted only when validar() succeeds.
    void accept() override;

private:
    Prompter& m_prompter;
    ValoresEscala m_valores;
    QLineEdit* m_xMin;
    QLineEdit* m_xMax;
    QLineEdit* m_yMin;
    QLineEdit* m_yMax;
    QLineEdit* m_fator;
};
