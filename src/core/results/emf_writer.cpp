#include "results/emf_writer.h"

namespace tarvex::results {

namespace {

// Record types of the enhanced metafile format.
constexpr std::uint32_t EmrHeader = 1;
constexpr std::uint32_t EmrEof = 14;
constexpr std::uint32_t EmrSetMapMode = 17;
constexpr std::uint32_t EmrMoveToEx = 27;
constexpr std::uint32_t EmrSelectObject = 37;
constexpr std::uint32_t EmrCreatePen = 38;
constexpr std::uint32_t EmrDeleteObject = 40;
constexpr std::uint32_t EmrLineTo = 54;

constexpr std::uint32_t HeaderBytes = 108;
constexpr std::uint32_t Signature = 0x464D4520; // " EMF"
constexpr std::uint32_t Version = 0x10000;
constexpr std::uint32_t PenSolid = 0;
constexpr std::uint32_t PenGeometric = 0x00010000;

// The reference device: an A4 page of 0.01 mm pixels, so a logical unit of the 0.01 mm mapping
// mode is one device pixel. Readers that take the scale from the device and readers that take it
// from the mapping mode then agree.
constexpr std::int32_t DeviceMmX = 210;
constexpr std::int32_t DeviceMmY = 297;
constexpr std::int32_t PixelsPerMm = 100;

constexpr std::size_t OffsetBytes = 48;
constexpr std::size_t OffsetRecords = 52;
constexpr std::size_t OffsetHandles = 56;

} // namespace

EmfWriter::EmfWriter(const EmfRect& frame)
{
    beginRecord(EmrHeader, HeaderBytes);
    // Bounds in reference-device pixels: the frame is in 0.01 mm.
    const auto pixels = [](std::int32_t v) {
        return static_cast<std::int32_t>(static_cast<std::int64_t>(v) * PixelsPerMm / 100);
    };
    putI32(pixels(frame.left));
    putI32(pixels(frame.top));
    putI32(pixels(frame.right));
    putI32(pixels(frame.bottom));
    putI32(frame.left);
    putI32(frame.top);
    putI32(frame.right);
    putI32(frame.bottom);
    putU32(Signature);
    putU32(Version);
    putU32(0); // file size, by finish()
    putU32(0); // record count, by finish()
    putU32(0); // handle count (16 bits) and the reserved 16 bits, by finish()
    putU32(0); // no description
    putU32(0);
    putU32(0); // no palette
    putI32(DeviceMmX * PixelsPerMm);
    putI32(DeviceMmY * PixelsPerMm);
    putI32(DeviceMmX);
    putI32(DeviceMmY);
    putU32(0); // no pixel format
    putU32(0);
    putU32(0); // not OpenGL
    putI32(DeviceMmX * 1000);
    putI32(DeviceMmY * 1000);
}

void EmfWriter::putU32(std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        m_bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
}

void EmfWriter::putI32(std::int32_t value)
{
    putU32(static_cast<std::uint32_t>(value));
}

void EmfWriter::patchU32(std::size_t offset, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        m_bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFFu);
}

void EmfWriter::beginRecord(std::uint32_t type, std::uint32_t size)
{
    putU32(type);
    putU32(size);
    ++m_records;
}

void EmfWriter::setMapMode(std::uint32_t mode)
{
    beginRecord(EmrSetMapMode, 12);
    putU32(mode);
}

std::uint32_t EmfWriter::createPen(std::uint32_t width, std::uint32_t rgb)
{
    const std::uint32_t handle = m_nextHandle++;
    beginRecord(EmrCreatePen, 28);
    putU32(handle);
    // A pen wider than one unit is geometric: its width is in logical units, so it scales with
    // the picture.
    putU32(PenSolid | (width > 1 ? PenGeometric : 0));
    putU32(width);
    putU32(0);
    putU32(rgb);
    return handle;
}

void EmfWriter::selectObject(std::uint32_t handle)
{
    beginRecord(EmrSelectObject, 12);
    putU32(handle);
}

void EmfWriter::deleteObject(std::uint32_t handle)
{
    beginRecord(EmrDeleteObject, 12);
    putU32(handle);
}

void EmfWriter::moveTo(std::int32_t x, std::int32_t y)
{
    beginRecord(EmrMoveToEx, 16);
    putI32(x);
    putI32(y);
    m_hasPosition = true;
    m_x = x;
    m_y = y;
}

void EmfWriter::lineTo(std::int32_t x, std::int32_t y)
{
    beginRecord(EmrLineTo, 16);
    putI32(x);
    putI32(y);
    m_hasPosition = true;
    m_x = x;
    m_y = y;
}

void EmfWriter::line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    if (!m_hasPosition || x1 != m_x || y1 != m_y)
        moveTo(x1, y1);
    lineTo(x2, y2);
}

std::string EmfWriter::finish()
{
    beginRecord(EmrEof, 20);
    putU32(0); // no palette entries
    putU32(16); // offset of the (empty) palette
    putU32(20); // this record's size again, last
    patchU32(OffsetBytes, static_cast<std::uint32_t>(m_bytes.size()));
    patchU32(OffsetRecords, static_cast<std::uint32_t>(m_records));
    patchU32(OffsetHandles, m_nextHandle & 0xFFFFu);
    return std::move(m_bytes);
}

} // namespace tarvex::results
