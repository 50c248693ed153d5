#include "imaging/png_row_source.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace imaging {

size_t BufferRowSource::next(size_t want, uint8_t*& data) {
    // The decoder never asks past the expected size, which the buffer has.
    data = m_data + m_pos;
    const size_t got = m_pos < m_produced ? std::min(want, m_produced - m_pos) : 0;
    m_pos = std::min(m_size, m_pos + want);
    return got;
}

ZlibRowSource::ZlibRowSource(std::span<const uint8_t> compressed) : m_in(compressed) {
    m_initialised = inflateInit(&m_zs) == Z_OK;
    m_failed = !m_initialised;
}

ZlibRowSource::~ZlibRowSource() {
    if (m_initialised) inflateEnd(&m_zs);
}

// zlib counts input in 32-bit units; larger data goes in slices.
void ZlibRowSource::feed() {
    if (m_zs.avail_in != 0 || m_inPos >= m_in.size()) return;
    const size_t n = std::min<size_t>(m_in.size() - m_inPos, UINT_MAX);
    m_zs.next_in = const_cast<Bytef*>(m_in.data() + m_inPos);
    m_zs.avail_in = uInt(n);
    m_inPos += n;
}

size_t ZlibRowSource::next(size_t want, uint8_t*& data) {
    if (m_buffer.size() < want) m_buffer.resize(want);
    data = m_buffer.data();
    size_t got = 0;
    while (got < want && !m_ended && !m_failed) {
        feed();
        const size_t room = std::min<size_t>(want - got, UINT_MAX);
        m_zs.next_out = data + got;
        m_zs.avail_out = uInt(room);
        const int r = inflate(&m_zs, Z_NO_FLUSH);
        got += room - m_zs.avail_out;
        if (r == Z_STREAM_END) {
            m_ended = true;
        } else if (r != Z_OK) {
            // Z_BUF_ERROR here means the input ran out before the stream ended.
            m_failed = true;
        }
    }
    std::memset(data + got, 0, want - got);
    return got;
}

bool ZlibRowSource::finish() {
    if (m_failed) return false;
    // Whatever the stream still holds must be nothing but its end.
    while (!m_ended) {
        feed();
        uint8_t extra = 0;
        m_zs.next_out = &extra;
        m_zs.avail_out = 1;
        const int r = inflate(&m_zs, Z_NO_FLUSH);
        if (m_zs.avail_out == 0) return false;
        if (r == Z_STREAM_END) m_ended = true;
        else if (r != Z_OK) return false;
    }
    return true;
}

} // namespace imaging
