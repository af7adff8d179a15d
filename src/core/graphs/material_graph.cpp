#include "graphs/material_graph.h"

#include "materials/curva.h"

namespace tarvex::graphs {

GraphData graficoMaterial(const std::vector<materials::PontoMaterial>& pontos, bool eletrico)
{
    GraphData data;
    data.title = eletrico ? "Curva Característica" : "Curva de Magnetização";
    data.xCaption = eletrico ? "E (V/m)" : "H (A/m)";
    data.yCaption = eletrico ? "D (C/m²)" : "B (T)";
    data.curves.push_back(materials::curvaMaterial(pontos));
    data.curveNames.emplace_back();
    return data;
}

Status graficoArquivoMaterial(const std::string& path, bool eletrico, GraphData& out)
{
    std::vector<materials::PontoMaterial> pontos;
    const Status status = materials::openMat(path, pontos);
    out = graficoMaterial(status ? pontos : std::vector<materials::PontoMaterial> {}, eletrico);
    return status;
}

} // namespace tarvex::graphs
