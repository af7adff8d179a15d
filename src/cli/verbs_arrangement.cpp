#include "cli_common.h"
#include "render_common.h"
#include "verbs.h"

#include "common/file_io.h"
#include "common/messages.h"
#include "geometry/arrangements.h"
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"
#include "paint/paint_arrangement.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <string>

using namespace tarvex;
using namespace tarvex::cli;

namespace {

const char* const ArrangementUsage
    = "usage: tarvex-cli arrangement N OUT.des [LETTER=VALUE...] [--picture OUT.png [--size WxH]]\n"
      "  N 1 to 4; the dimensions in mm by their letters (1: a b c d r; 2: a b c d e f r1 r2 h;\n"
      "  3: a b c d e f r1 r2; 4: a b c d e f g h i j r1 r2); a letter not given keeps the form's\n"
      "  initial value. --picture: the sketch of the arrangement with its dimension letters";

std::string lettersOf(int tipo)
{
    std::string text;
    for (std::string_view letra : geometry::letrasArranjo(tipo)) {
        if (!text.empty())
            text += ' ';
        text += letra;
    }
    return text;
}

} // namespace

int runArrangement(const std::vector<std::string>& words)
{
    const Arguments args(words, { "--picture", "--size" });
    if (args.positional().size() < 2 || !args.error().empty())
        return usage(ArrangementUsage);
    const std::string& kind = args.positional()[0];
    if (kind.size() != 1 || kind[0] < '1' || kind[0] > '4')
        return usage(ArrangementUsage);
    const int tipo = kind[0] - '0';
    const std::string& out = args.positional()[1];

    geometry::DimensoesArranjo dimensoes = geometry::dimensoesPadrao(tipo);
    for (std::size_t i = 2; i < args.positional().size(); ++i) {
        const std::string& word = args.positional()[i];
        const std::size_t eq = word.find('=');
        double value = 0.0;
        if (eq == std::string::npos || !parseNumber(word.substr(eq + 1), value))
            return usage(std::string(ArrangementUsage) + "\n  bad dimension: " + word);
        // The form holds 32-bit floats: a value beyond their range becomes infinite and is
        // refused by the validation like any value that is not finite.
        if (!dimensoes.definir(word.substr(0, eq), geometry::valorCampo(value)))
            return usage("arrangement " + kind + " has the dimensions " + lettersOf(tipo)
                + ", not: " + word);
    }
    int width = 800;
    int height = 600;
    if (args.has("--size")
        && (!args.has("--picture") || !parseSize(args.value("--size"), width, height)))
        return usage(ArrangementUsage);

    geometry::DrawingData drawing;
    if (Status s = geometry::gerarArranjo(dimensoes, drawing); !s) {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(s.message.size()), s.message.data());
        return 1;
    }
    std::string written;
    if (Status s = geometry::saveDrawing(out, drawing, &written); !s)
        return fail(out, s);
    if (written != out)
        std::fprintf(stderr, "written as %s\n", written.c_str());

    if (args.has("--picture")) {
        const std::string picture = args.value("--picture");
        const auto app = ensureGuiApplication();
        const QImage image = paint::renderArrangementPicture(dimensoes, QSize(width, height));
        QByteArray png;
        QBuffer buffer(&png);
        if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
            return fail(picture, Status::failure(msg::CannotWriteFile));
        if (Status s = common::writeFileAtomically(picture, png.toStdString()); !s)
            return fail(picture, s);
    }
    std::fprintf(stderr, "arrangement %d: %zu points, %zu segments, %zu arcs written to %s\n", tipo,
        drawing.pontos.size(), drawing.segmentos.size(), drawing.arcos.size(), written.c_str());
    return 0;
}
