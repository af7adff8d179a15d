#pragma once

#include "common/front_list.h"
#include "geometry/records.h"

#include <cstdint>

namespace tarvex::geometry {

/**
 * The content of a drawing document: loose points, segments and arcs with no topology, the scale
 * factor (drawing units per metre) and the export tolerance.
 *
 * Each list is in *list order*: a record read from a file is inserted at the front, so a list read
 * from a .des file is the reverse of the file order, and writers walk each list from its head.
 * The export's tie-breaks follow list order, so the order is observable.
 */
class DrawingData {
public:
    static constexpr double DefaultScaleFactor = 1000.0;
    static constexpr double DefaultMinimumPointDistance = 0.05;

    double fatorEscala = DefaultScaleFactor;
    common::FrontList<Ponto> pontos;
    common::FrontList<Segmento> segmentos;
    common::FrontList<Arco> arcos;

    /// List lengths as of the last load or save; the modification test compares against them.
    std::int32_t arcosGravados = 0;
    std::int32_t segmentosGravados = 0;
    std::int32_t pontosGravados = 0;

    /// Export tolerance ("Distância mínima entre pontos"); never stored in a file.
    double distanciaMinima = DefaultMinimumPointDistance;

    /// Records the current list lengths as the saved ones.
    void marcarGravado();
    /// True when a list length differs from its saved count (the only modification test the
    /// drawing commands rely on).
    bool contagensAlteradas() const;
    bool vazio() const { return pontos.empty() && segmentos.empty() && arcos.empty(); }
};

/// Axis-aligned bounding box of world coordinates.
struct Caixa {
    double xMin = 0.0;
    double yMin = 0.0;
    double xMax = 0.0;
    double yMax = 0.0;
};

/// Bounding box of all points, segment end points and arcs (each arc by its true extent);
/// false when the drawing is empty.
bool caixaDesenho(const DrawingData& drawing, Caixa& out);

} // namespace tarvex::geometry
