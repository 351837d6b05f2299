#pragma once

// UTF-8 to UTF-16 for the texts of a row page: without any set-up per text, which costs more than
// the decoding of the short texts a page holds. Inline: it runs once per text value read.

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kv::engine {

/// Decodes n bytes at s into out, which has room for n units; returns the end of what was
/// written, or nullptr on anything but well-formed UTF-8 (for Qt's decoder to handle).
inline char16_t* decodeUtf8(const unsigned char* s, size_t n, char16_t* out)
{
    const unsigned char* const e = s + n;
    while (s < e) {
        // Most texts are mostly ASCII: sixteen bytes at once while no high bit is set.
#if defined(__SSE2__)
        while (e - s >= 16) {
            const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
            if (_mm_movemask_epi8(sixteen) != 0)
                break;
            const __m128i zero = _mm_setzero_si128();
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(sixteen, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(sixteen, zero));
            s += 16;
            out += 16;
        }
#endif
        while (s < e && *s < 0x80)
            *out++ = static_cast<char16_t>(*s++);
        if (s == e)
            break;
        const unsigned c = *s;
        if (c >= 0xC2 && c < 0xE0 && e - s > 1 && (s[1] & 0xC0) == 0x80) {
            *out++ = static_cast<char16_t>(((c & 0x1F) << 6) | (s[1] & 0x3F));
            s += 2;
        } else if ((c & 0xF0) == 0xE0 && e - s > 2 && (s[1] & 0xC0) == 0x80
            && (s[2] & 0xC0) == 0x80) {
            const unsigned u = ((c & 0x0F) << 12) | ((s[1] & 0x3Fu) << 6) | (s[2] & 0x3Fu);
            if (u < 0x800 || (u >= 0xD800 && u <= 0xDFFF))
                return nullptr;
            *out++ = static_cast<char16_t>(u);
            s += 3;
        } else if ((c & 0xF8) == 0xF0 && e - s > 3 && (s[1] & 0xC0) == 0x80 && (s[2] & 0xC0) == 0x80
            && (s[3] & 0xC0) == 0x80) {
            unsigned u = ((c & 0x07) << 18) | ((s[1] & 0x3Fu) << 12) | ((s[2] & 0x3Fu) << 6)
                | (s[3] & 0x3Fu);
            if (u < 0x10000 || u > 0x10FFFF)
                return nullptr;
            u -= 0x10000;
            *out++ = static_cast<char16_t>(0xD800 + (u >> 10));
            *out++ = static_cast<char16_t>(0xDC00 + (u & 0x3FF));
            s += 4;
        } else {
            return nullptr;
        }
    }
    return out;
}

} // namespace kv::engine
