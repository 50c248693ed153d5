#pragma once
// Where the PNG decoder takes its inflated image data from, batch after batch: a buffer the
// built-in inflater filled, or zlib inflating as the rows are asked for, so a large image
// never needs the whole inflated data in memory at once.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>
#include <zlib.h>

namespace imaging {

class PngRowSource {
public:
    virtual ~PngRowSource() = default;
    // Points `data` at the next `want` bytes and returns how many of them came from the image
    // data; the rest are zero. The bytes stay valid and writable until the next call.
    virtual size_t next(size_t want, uint8_t*& data) = 0;
    // Largest batch worth asking for at once.
    virtual size_t batchLimit() const = 0;
};

// Inflated data held in one buffer of the expected size, zero past `produced`.
class BufferRowSource final : public PngRowSource {
public:
    BufferRowSource(uint8_t* data, size_t size, size_t produced) : m_data(data), m_size(size), m_produced(produced) {}
    size_t next(size_t want, uint8_t*& data) override;
    size_t batchLimit() const override { return SIZE_MAX; }

private:
    uint8_t* m_data;
    size_t m_size;
    size_t m_produced;
    size_t m_pos = 0;
};

// zlib inflating on demand. Any error, or input that ends before the stream does, marks the
// source as failed; what was produced before stays valid.
class ZlibRowSource final : public PngRowSource {
public:
    explicit ZlibRowSource(std::span<const uint8_t> compressed);
    ~ZlibRowSource() override;
    ZlibRowSource(const ZlibRowSource&) = delete;
    ZlibRowSource& operator=(const ZlibRowSource&) = delete;

    size_t next(size_t want, uint8_t*& data) override;
    size_t batchLimit() const override { return kBatchBytes; }
    // True when the stream ended cleanly, its checksum included, without producing more than
    // was asked for: exactly when zlib's uncompress into a buffer of the expected size would
    // have succeeded.
    bool finish();

private:
    static constexpr size_t kBatchBytes = 256 * 1024;
    void feed();

    z_stream m_zs{};
    bool m_initialised = false;
    bool m_ended = false;
    bool m_failed = false;
    std::span<const uint8_t> m_in;
    size_t m_inPos = 0;
    std::vector<uint8_t> m_buffer;
};

} // namespace imaging
