// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "lessonpage.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace lesson {

namespace {

constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Where the lesson's text starts and ends in the page.
std::optional<std::pair<std::size_t, std::size_t>> slot(std::string_view page)
{
    const std::size_t start = page.find(pageSlotStart);
    if (start == std::string_view::npos)
        return std::nullopt;
    const std::size_t from = start + pageSlotStart.size();
    const std::size_t to = page.find(pageSlotEnd, from);
    if (to == std::string_view::npos)
        return std::nullopt;
    return std::pair{from, to};
}

} // namespace

std::string toBase64(std::string_view bytes)
{
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group = group << 8 | (k < n ? std::uint8_t(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            out += k <= n ? alphabet[(group >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

std::optional<std::string> fromBase64(std::string_view text)
{
    std::string out;
    std::uint32_t group = 0;
    int bits = 0, padding = 0;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f')
            continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        const std::size_t value = alphabet.find(c);
        if (value == std::string_view::npos || padding)
            return std::nullopt; // not base64, or text after the padding
        group = group << 6 | std::uint32_t(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += char((group >> bits) & 0xFF);
        }
    }
    // A last group of one character holds no byte; padding, where there is
    // any, makes the last group whole.
    if (bits == 6 || (padding && padding != bits / 2))
        return std::nullopt;
    return out;
}

std::optional<std::string> pageWithLesson(std::string_view page, std::string_view bytes)
{
    const auto at = slot(page);
    if (!at)
        return std::nullopt;
    std::string out(page.substr(0, at->first));
    out += toBase64(bytes);
    out += page.substr(at->second);
    return out;
}

std::optional<std::string> lessonInPage(std::string_view page)
{
    const auto at = slot(page);
    if (!at)
        return std::nullopt;
    return fromBase64(page.substr(at->first, at->second - at->first));
}

std::u16string fileBaseName(std::u16string_view title)
{
    // Long enough to tell lessons apart, short enough for any file system.
    constexpr std::size_t longest = 80;
    std::u16string name;
    for (char16_t c : title) {
        if (name.size() >= longest && !(c >= 0xDC00 && c <= 0xDFFF))
            break;
        const bool refused = c < 0x20 || c == 0x7F || std::u16string_view(u"/\\:*?\"<>|").find(c) != std::u16string_view::npos;
        name += refused ? u'_' : c;
    }
    // No name of spaces and dots only, nor one that ends in them (refused
    // by Windows) or starts with a dot (a hidden file).
    const std::size_t first = name.find_first_not_of(u" .");
    if (first == std::u16string::npos)
        return u"lezione";
    name.erase(0, first);
    name.erase(name.find_last_not_of(u" .") + 1);
    return name;
}

} // namespace lesson
