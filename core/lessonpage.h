// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A lesson that travels inside the web page: one file a teacher sends, which
// opens anywhere with the lesson ready. The page keeps the lesson file, in
// base64 (a title may hold "</script>"), as the text of one element of its
// own; the rest of the page is left as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lesson {

// The element that holds the lesson, as the page writes it.
inline constexpr std::string_view pageSlotStart = R"(<script type="text/plain" id="tc-lezione">)";
inline constexpr std::string_view pageSlotEnd = "</script>";

// `page` with the lesson file `bytes` inside, in place of any lesson it
// held; nothing when the page has no element for a lesson.
std::optional<std::string> pageWithLesson(std::string_view page, std::string_view bytes);

// The bytes of the lesson a page holds, "" for none; nothing when the page
// has no element for a lesson or its text is not base64.
std::optional<std::string> lessonInPage(std::string_view page);

// A file's name, without its extension, for a lesson of this title: the
// title, less what file systems refuse in a name, or "lezione".
std::u16string fileBaseName(std::u16string_view title);

// Base64 as RFC 4648 has it, with padding; reading skips ASCII white space.
std::string toBase64(std::string_view bytes);
std::optional<std::string> fromBase64(std::string_view text);

} // namespace lesson
