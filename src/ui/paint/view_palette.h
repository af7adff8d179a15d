#pragma once

#include <QColor>
#include <Qt>

#include <array>

namespace tarvex::paint {

/// Every line, marker and fill names its colour by an index into one fixed table.
using ColorIndex = int;

/// Indices with a fixed role in the drawing view.
namespace cor {
inline constexpr ColorIndex Apagar = 0; ///< removes a point marker or erases a deleted entity
inline constexpr ColorIndex Selecao = 4; ///< selected entities (red)
inline constexpr ColorIndex Entidade = 15; ///< entities (white)
} // namespace cor

/// The fixed 33-colour palette shared by every view. Only the UI knows the colours; models and
/// commands store indices.
class ViewPalette {
public:
    static constexpr int Size = 33;

    /// The colour of `index`; an index outside the table draws in the last entry instead of
    /// failing, so a bad index in a file or a command can never crash a paint.
    static QColor entry(ColorIndex index);
};

/// Pen style by style index: 0 solid, 1 dash, 2 dot, 3 dash-dot; anything else draws solid.
Qt::PenStyle penStyle(int style);

} // namespace tarvex::paint
