#pragma once

#include "graphs/graph_data.h"

#include <QDialog>

#include <array>

QT_BEGIN_NAMESPACE
class QCheckBox;
QT_END_NAMESPACE

/// "&Ativar/Desativar": one check box per curve 1 to 3, captioned with the curve's name, bound
/// to its activation flag. A check box without a curve behind it is hidden.
class CDlgAtivaCurvas : public QDialog {
    Q_OBJECT
public:
    CDlgAtivaCurvas(const tarvex::graphs::GraphData& data,
        const tarvex::graphs::CurveActivation& ativas, QWidget* parent = nullptr);

    /// The flags with the check boxes' states.
    tarvex::graphs::CurveActivation ativas() const;
    QCheckBox* caixa(int curva) const { return m_caixas.at(static_cast<std::size_t>(curva)); }

private:
    tarvex::graphs::CurveActivation m_ativas;
    std::array<QCheckBox*, 3> m_caixas {};
};
