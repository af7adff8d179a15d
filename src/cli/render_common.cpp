#include "render_common.h"

#include <QGuiApplication>

#include <clocale>
#include <cstdio>

namespace tarvex::cli {

bool parseSize(const std::string& text, int& width, int& height)
{
    int w = 0;
    int h = 0;
    char rest = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &rest) != 2)
        return false;
    if (w <= 0 || h <= 0 || w > MaxSide || h > MaxSide)
        return false;
    width = w;
    height = h;
    return true;
}

std::unique_ptr<QGuiApplication> ensureGuiApplication()
{
    if (QCoreApplication::instance() != nullptr)
        return nullptr;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tarvex-cli";
    static char* argv[] = { name, nullptr };
    auto application = std::make_unique<QGuiApplication>(argc, argv);
    // Keep the decimal point of every text the core writes, whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    return application;
}

} // namespace tarvex::cli
