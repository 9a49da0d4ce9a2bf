// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// UTF-8, as files hold text, and UTF-16, as the user's texts are kept. Both
// directions accept any input: what is not a character (a broken UTF-8
// sequence, a surrogate without its pair) becomes U+FFFD, as a browser's
// TextDecoder and TextEncoder make it, so the web page and the desktop read
// the same bytes as the same text.
#pragma once

#include <string>
#include <string_view>

namespace tc {

// One U+FFFD for each maximal part of a sequence that cannot be completed.
std::u16string fromUtf8(std::string_view utf8);
// One U+FFFD for each unpaired surrogate.
std::string toUtf8(std::u16string_view utf16);

} // namespace tc
