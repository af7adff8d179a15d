#pragma once

#include <cstdint>
#include <string>

namespace tarvex::results {

/// A rectangle of 32-bit logical or device units, bounds included.
struct EmfRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

/**
 * Builds an enhanced metafile of pens and lines in memory, record by record, little-endian:
 * the header first (completed by finish() with the file size, the record count and the handle
 * count), then the drawing records, then the end-of-file record.
 *
 * Only what a line picture needs: the mapping mode, cosmetic or geometric solid pens, pen
 * selection and deletion, and lines as move-to/line-to pairs. Points are 32-bit, so coordinates
 * of any size the caller clamps to the int32 range fit without wrapping.
 */
class EmfWriter {
public:
    /// Mapping mode of 0.01 mm per logical unit with y pointing up.
    static constexpr std::uint32_t MapModeHiMetric = 3;

    /// `frame`: the picture's extent in 0.01 mm, as the header's frame rectangle (y down).
    explicit EmfWriter(const EmfRect& frame);

    void setMapMode(std::uint32_t mode);
    /// A solid pen `width` logical units wide in colour `rgb` (0x00BBGGRR); returns its handle.
    std::uint32_t createPen(std::uint32_t width, std::uint32_t rgb);
    void selectObject(std::uint32_t handle);
    void deleteObject(std::uint32_t handle);
    void moveTo(std::int32_t x, std::int32_t y);
    void lineTo(std::int32_t x, std::int32_t y);
    /// A line from the current position's successor: a move is written only when (x1, y1) is not
    /// where the last line ended, so chained pieces cost one record each.
    void line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);

    /// Appends the end-of-file record, completes the header and hands over the bytes. The writer
    /// is spent afterwards.
    std::string finish();

private:
    void beginRecord(std::uint32_t type, std::uint32_t size);
    void putU32(std::uint32_t value);
    void putI32(std::int32_t value);
    void patchU32(std::size_t offset, std::uint32_t value);

    std::string m_bytes;
    std::size_t m_records = 0;
    std::uint32_t m_nextHandle = 1;
    bool m_hasPosition = false;
    std::int32_t m_x = 0;
    std::int32_t m_y = 0;
};

} // namespace tarvex::results
