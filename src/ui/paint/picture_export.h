#pragma once

#include "common/status.h"

#include <QSize>

#include <functional>
#include <string>

QT_BEGIN_NAMESPACE
class QPainter;
QT_END_NAMESPACE

namespace tarvex::paint {

/// The picture formats a view or the batch tool writes, chosen by the file's extension.
enum class PictureFormat { Png, Svg, Pdf, Emf, Unknown };

/// The format of `path` by its extension, in any letter case.
PictureFormat pictureFormatOf(const std::string& path);

/// Paints a picture of `size` pixels: the painter's device is the target, (0, 0) its top left.
using PicturePainter = std::function<void(QPainter&, QSize)>;

/**
 * Writes the picture that `paint` draws into `path` as PNG (pixels), SVG or PDF (vector: lines
 * and fills stay lines and fills), by the extension. The PDF page is the picture's size at 96
 * pixels per inch. The file is written atomically: a failure leaves any previous file intact.
 * EMF and unknown extensions are refused with FormatoImagemDesconhecido (the results export
 * writes EMF through the core).
 */
Status writePicture(const std::string& path, QSize size, const PicturePainter& paint);

} // namespace tarvex::paint
