#pragma once

#include <QGuiApplication>

#include <memory>
#include <string>

namespace tarvex::cli {

/// Large enough for any print-quality picture, small enough that a typo cannot ask for gigabytes.
inline constexpr int MaxSide = 20000;

/// A --size value "WxH", W and H from 1 to MaxSide.
bool parseSize(const std::string& text, int& width, int& height);

/// Painting needs a GUI application object; without a display it runs on the offscreen platform.
/// Returns the object made here (null when one already exists); keep it while painting.
std::unique_ptr<QGuiApplication> ensureGuiApplication();

} // namespace tarvex::cli
