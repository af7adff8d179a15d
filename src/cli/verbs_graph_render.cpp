#include "verbs_graph_render.h"

#include "cli_common.h"

#include "common/messages.h"
#include "graphs/graph_data.h"
#include "graphs/grp_io.h"
#include "paint/paint_graph.h"
#include "paint/picture_export.h"

#include <QImage>
#include <QPainter>
#include <QString>

using namespace tarvex;
using namespace tarvex::cli;

int runRenderGraph(const std::string& in, const std::string& out, int width, int height)
{
    graphs::GraphData data;
    if (Status s = graphs::openGrp(in, data); !s)
        return fail(in, s);
    const Status s = paint::writePicture(out, QSize(width, height),
        [&](QPainter& painter, QSize size) { paint::renderGraph(painter, data, size); });
    if (!s)
        return fail(out, s);
    return 0;
}
