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
 * "Cancel". "Calcula" closes it only when every field holds a number; the checks of the command
 * itself follow after the dialog.
 */
class CDlgPontos : public QDialog {
    Q_OBJECT
public:
    struct Grupo {
        QString titulo; ///< e.g. "Ponto Inicial (X1,Y1)"
        QString rotuloX;
        QString rotuloY;
        tarvex::geometry::Ponto inicial;
    };

    CDlgPontos(const QString& titulo, const std::vector<Grupo>& grupos, Prompter& prompter,
        QWidget* parent = nullptr);

    /// The points as last accepted (the initial ones before).
    tarvex::geometry::Ponto ponto(std::size_t i) const { return m_pontos.at(i); }
    QLineEdit* campoX(std::size_t i) const { return m_x.at(i); }
    QLineEdit* campoY(std::size_t i) const { return m_y.at(i); }
    QPushButton* botaoCalcula() const { return m_calcula; }

public slots:
    void accept() override;

private:
    Prompter& m_prompter;
    std::vector<QLineEdit*> m_x;
    std::vector<QLineEdit*> m_y;
    std::vector<tarvex::geometry::Ponto> m_pontos;
    QPushButton* m_calcula = nullptr;
};
