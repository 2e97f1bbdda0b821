#include "cli/deploy_md5.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace deploy {
namespace {

constexpr std::array<int, 64> Shifts = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                        5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                        4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                        6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

// The constants of RFC 1321: the integer part of 2^32 * |sin(i + 1)|.
std::array<std::uint32_t, 64> SineConstants() {
    std::array<std::uint32_t, 64> constants{};
    for (std::size_t i = 0; i < constants.size(); ++i) {
        constants[i] = static_cast<std::uint32_t>(std::floor(std::abs(std::sin(i + 1.0)) * 0x1p32));
    }
    return constants;
}

void ProcessBlock(std::array<std::uint32_t, 4>& state, const unsigned char* block) {
    static const std::array<std::uint32_t, 64> constants = SineConstants();
    std::array<std::uint32_t, 16> words{};
    for (std::size_t i = 0; i < words.size(); ++i) {
        words[i] = block[4 * i] | block[4 * i + 1] << 8 | block[4 * i + 2] << 16 |
                   static_cast<std::uint32_t>(block[4 * i + 3]) << 24;
    }
    auto [a, b, c, d] = state;
    for (std::size_t i = 0; i < 64; ++i) {
        std::uint32_t mixed = 0;
        std::size_t word = 0;
        if (i < 16) {
            mixed = (b & c) | (~b & d), word = i;
        } else if (i < 32) {
            mixed = (d & b) | (~d & c), word = (5 * i + 1) % 16;
        } else if (i < 48) {
            mixed = b ^ c ^ d, word = (3 * i + 5) % 16;
        } else {
            mixed = c ^ (b | ~d), word = (7 * i) % 16;
        }
        const std::uint32_t rotated = a + mixed + constants[i] + words[word];
        a = d, d = c, c = b;
        b += std::rotl(rotated, Shifts[i]);
    }
    state[0] += a, state[1] += b, state[2] += c, state[3] += d;
}

} // namespace

std::string Md5Hex(std::string_view bytes) {
    std::array<std::uint32_t, 4> state = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    // The bytes, a 0x80 byte, zeros up to 8 bytes short of a whole block, the bit length.
    std::string padded(bytes);
    padded += '\x80';
    padded.append((64 + 56 - padded.size() % 64) % 64, '\0');
    const std::uint64_t bitLength = static_cast<std::uint64_t>(bytes.size()) * 8;
    for (int i = 0; i < 8; ++i) {
        padded += static_cast<char>(bitLength >> (8 * i));
    }
    for (std::size_t at = 0; at < padded.size(); at += 64) {
        ProcessBlock(state, reinterpret_cast<const unsigned char*>(padded.data() + at));
    }
    constexpr std::string_view digits = "0123456789abcdef";
    std::string hex;
    for (const std::uint32_t word : state) {
        for (int i = 0; i < 4; ++i) {
            const unsigned byte = (word >> (8 * i)) & 0xFF;
            hex += digits[byte >> 4];
            hex += digits[byte & 0xF];
        }
    }
    return hex;
}

} // namespace deploy
