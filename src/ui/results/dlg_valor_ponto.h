#pragma once

#include "evaluation/field_at_point.h"

#include <QDialog>
#include <QList>
#include <QString>

QT_BEGIN_NAMESPACE
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
QT_END_NAMESPACE

namespace tarvex::solver {
struct SolverModel;
}

class Prompter;

/**
 * "Grandezas Pontuais": the field values at a point, typed as X Y or, with the "RT" choice, as a
 * radius and an angle in degrees about the origin (the components are then the tangential and
 * radial ones). Every value reads "indefinido" until a point was evaluated. A point outside the
 * mesh, or in a triangle that lies in no region, is refused with a message and shows no values.
 *
 * The value rows are fixed for the model (magnetic or electric, with or without induced
 * currents); only their labels change with the choice.
 */
class CDlgValorPontoXY : public QDialog {
    Q_OBJECT
public:
    CDlgValorPontoXY(const tarvex::solver::SolverModel& model, Prompter& prompter,
        bool polar = false, QWidget* parent = nullptr);

    bool polar() const { return m_polarAtual; }
    void setPolar(bool polar);

    /// Puts a point given in model coordinates into the fields, in the current choice.
    void setPonto(double x, double y);

    QLineEdit* campoCoordenada1() const { return m_coord1; }
    QLineEdit* campoCoordenada2() const { return m_coord2; }
    QRadioButton* opcaoXY() const { return m_xy; }
    QRadioButton* opcaoRT() const { return m_rt; }
    QPushButton* botaoCalcula() const { return m_calcula; }

    /// The value rows as shown: (label, text).
    QList<std::pair<QString, QString>> valores() const;
    /// The text of the row with this label; empty when there is none.
    QString valor(const QString& rotulo) const;

public slots:
    /// "Calcula": evaluates the typed point. False, with a message, when the fields hold no
    /// number or the point has no values.
    bool calcula();

private:
    void mostrar(const tarvex::evaluation::PointValues& valores);
    void atualizarRotulos();
    void trocarEscolha(bool polar);

    const tarvex::solver::SolverModel& m_model;
    Prompter& m_prompter;
    bool m_polarAtual;
    bool m_avaliado = false; ///< the rows show the values of the typed point
    QRadioButton* m_xy;
    QRadioButton* m_rt;
    QLabel* m_rotulo1;
    QLabel* m_rotulo2;
    QLineEdit* m_coord1;
    QLineEdit* m_coord2;
    QPushButton* m_calcula;
    QList<QLabel*> m_rotulos;
    QList<QLineEdit*> m_campos;
};
