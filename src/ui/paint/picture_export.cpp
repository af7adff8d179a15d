#include "paint/picture_export.h"

#include "common/file_io.h"
#include "common/messages.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cctype>
#include <string_view>

namespace tarvex::paint {

namespace {

constexpr int ScreenDpi = 96;

bool paintInto(QBuffer& buffer, PictureFormat format, QSize size, const PicturePainter& paint)
{
    if (format == PictureFormat::Png) {
        QImage image(size, QImage::Format_RGB32);
        if (image.isNull())
            return false;
        image.fill(Qt::black);
        {
            QPainter painter(&image);
            paint(painter, size);
        }
        return image.save(&buffer, "PNG");
    }
    if (format == PictureFormat::Svg) {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setResolution(ScreenDpi);
        QPainter painter;
        if (!painter.begin(&generator))
            return false;
        paint(painter, size);
        return painter.end();
    }
    QPdfWriter writer(&buffer);
    writer.setResolution(ScreenDpi);
    writer.setPageSize(QPageSize(QSizeF(size) * 72.0 / ScreenDpi, QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    paint(painter, size);
    return painter.end();
}

} // namespace

PictureFormat pictureFormatOf(const std::string& path)
{
    std::string ext = common::extensionOf(path);
    std::transform(ext.begin(), ext.end(), ext.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == "png")
        return PictureFormat::Png;
    if (ext == "svg")
        return PictureFormat::Svg;
    if (ext == "pdf")
        return PictureFormat::Pdf;
    if (ext == "emf")
        return PictureFormat::Emf;
    return PictureFormat::Unknown;
}

Status writePicture(const std::string& path, QSize size, const PicturePainter& paint)
{
    const PictureFormat format = pictureFormatOf(path);
    if (format != PictureFormat::Png && format != PictureFormat::Svg
        && format != PictureFormat::Pdf)
        return Status::failure(msg::FormatoImagemDesconhecido);
    if (size.isEmpty())
        return Status::failure(msg::CannotWriteFile);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!paintInto(buffer, format, size, paint))
        return Status::failure(msg::CannotWriteFile);
    buffer.close();
    return common::writeFileAtomically(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace tarvex::paint
