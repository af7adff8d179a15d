#pragma once

#include "geometry/records.h"

#include <QDialog>

#include <vector>

QT_BEGIN_NAMESPACE
class QLineEdit;
class QPushButton;
QT_END_NAMESPACE

class Prompter;

/**
 * A keyboard dialog of points: one group of X and Y fields per point, "Calcula" (OK) and
 * "Cancel". "Calcula" closes it only when every field holds a number, unless the command reads
 * the fields itself; the checks of the command follow after the dialog.
 */
class CDlgPontos : public QDialog {
    Q_OBJECT
public:
    /// Who refuses a field without a number: "Calcula", which then keeps the dialog open, or the
    /// command, after the dialog has closed (lerCampos()).
    enum class Conferencia { AoCalcular, PeloComando };

    struct Grupo {
        QString titulo; ///< e.g. "Ponto Inicial (X1,Y1)"
        QString rotuloX;
        QString rotuloY;
        tarvex::geometry::Ponto inicial;
    };

    CDlgPontos(const QString& titulo, const std::vector<Grupo>& grupos, Prompter& prompter,
        QWidget* parent = nullptr, Conferencia conferencia = Conferencia::AoCalcular);

    /// The points as last accepted (the initial ones before).
    tarvex::geometry::Ponto ponto(std::size_t i) const { return m_pontos.at(i); }
    QLineEdit* campoX(std::size_t i) const { return m_x.at(i); }
    QLineEdit* campoY(std::size_t i) const { return m_y.at(i); }
    QPushButton* botaoCalcula() const { return m_calcula; }
    /// The points as the fields hold them now; false, leaving `out` alone, when one holds no
    /// number.
    bool lerCampos(std::vector<tarvex::geometry::Ponto>& out) const;

public slots:
    void accept() override;

private:
    Prompter& m_prompter;
    Conferencia m_conferencia;
    std::vector<QLineEdit*> m_x;
    std::vector<QLineEdit*> m_y;
    std::vector<tarvex::geometry::Ponto> m_pontos;
    QPushButton* m_calcula = nullptr;
};
