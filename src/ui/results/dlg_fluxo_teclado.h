#pragma once

#include "geometry/records.h"

#include <QDialog>

#include <functional>
#include <optional>

QT_BEGIN_NAMESPACE
class QLineEdit;
class QPushButton;
QT_END_NAMESPACE

class Prompter;

/**
 * "Teclado" of the flux between two points: X1, Y1, X2, Y2 (opening with the view's last
 * section) and the result field, which reads "Não Calculado !" until "Calcula" has computed the
 * flux per metre. The dialog stays open for further points until "Cancel".
 */
class CDlgFluxoTeclado : public QDialog {
    Q_OBJECT
public:
    /// The flux per metre between two points, or nothing (after telling why) when it cannot be
    /// computed.
    using CalculoFluxo = std::function<std::optional<double>(
        const tarvex::geometry::Ponto&, const tarvex::geometry::Ponto&)>;

    /// Opens with the points `inicio` and `fim`; "Calcula" computes through `calcularFluxo`.
    CDlgFluxoTeclado(const tarvex::geometry::Ponto& inicio, const tarvex::geometry::Ponto& fim,
        CalculoFluxo calcularFluxo, Prompter& prompter, QWidget* parent = nullptr);

    QLineEdit* campoX1() const { return m_x1; }
    QLineEdit* campoY1() const { return m_y1; }
    QLineEdit* campoX2() const { return m_x2; }
    QLineEdit* campoY2() const { return m_y2; }
    /// The result field (1064).
    QLineEdit* campoFluxo() const { return m_fluxo; }
    QPushButton* botaoCalcula() const { return m_calcula; }

public slots:
    /// "Calcula". False, with a message, when a field holds no number or a point lies outside
    /// the mesh; the result field then reads "Não Calculado !".
    bool calcula();

private:
    CalculoFluxo m_calcularFluxo;
    Prompter& m_prompter;
    QLineEdit* m_x1;
    QLineEdit* m_y1;
    QLineEdit* m_x2;
    QLineEdit* m_y2;
    QLineEdit* m_fluxo;
    QPushButton* m_calcula;
};
