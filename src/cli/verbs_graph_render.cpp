#include "verbs_graph_render.h"

#include "cli_common.h"

#include "common/messages.h"
#include "graphs/graph_data.h"
#include "graphs/grp_io.h"
#include "paint/paint_graph.h"

#include <QImage>
#include <QString>

using namespace tarvex;
using namespace tarvex::cli;

int runRenderGraph(const std::string& in, const std::string& out, int width, int height)
{
    graphs::GraphData data;
    if (Status s = graphs::openGrp(in, data); !s)
        return fail(in, s);
    const QImage image = paint::renderGraph(data, QSize(width, height));
    if (image.isNull() || !image.save(QString::fromStdString(out), "PNG"))
        return fail(out, Status::failure(msg::CannotWriteFile));
    return 0;
}
