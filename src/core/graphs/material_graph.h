#pragma once

#include "common/status.h"
#include "graphs/graph_data.h"
#include "materials/mat_io.h"

#include <string>
#include <vector>

namespace tarvex::graphs {

/// The plot of a materials file: its points as the single curve, titled "Curva de Magnetização"
/// with "H (A/m)" and "B (T)", or for a dielectric "Curva Característica" with "E (V/m)" and
/// "D (C/m²)". The curve's name is empty.
GraphData graficoMaterial(const std::vector<materials::PontoMaterial>& pontos, bool eletrico);

/// The plot of the file `path`. A file that cannot be read gives the same graph with an empty
/// curve; the returned status says why.
Status graficoArquivoMaterial(const std::string& path, bool eletrico, GraphData& out);

} // namespace tarvex::graphs
