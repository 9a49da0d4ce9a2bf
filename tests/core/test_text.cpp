// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// UTF-8 and UTF-16: every character both ways, and what is not one replaced
// as a browser replaces it.
#include <doctest/doctest.h>

#include "core/text.h"

TEST_CASE("characters of every length go both ways")
{
    const std::u16string text = u"a\u00e9\u20ac\U0001d465\uffff\U0010ffff";
    const std::string utf8 = "a\xc3\xa9\xe2\x82\xac\xf0\x9d\x91\xa5\xef\xbf\xbf\xf4\x8f\xbf\xbf";
    CHECK(tc::toUtf8(text) == utf8);
    CHECK(tc::fromUtf8(utf8) == text);
    CHECK(tc::fromUtf8(std::string("a\0b", 3)) == std::u16string(u"a\0b", 3));
}

TEST_CASE("what is not a character becomes U+FFFD")
{
    // One for each part that cannot be completed; the byte that breaks a
    // sequence starts afresh.
    CHECK(tc::fromUtf8("\x80") == u"\ufffd");
    CHECK(tc::fromUtf8("\xc0\xaf") == u"\ufffd\ufffd");         // overlong
    CHECK(tc::fromUtf8("\xed\xa0\x80") == u"\ufffd\ufffd\ufffd"); // a surrogate
    CHECK(tc::fromUtf8("\xf4\x90\x80\x80") == u"\ufffd\ufffd\ufffd\ufffd"); // past U+10FFFF
    CHECK(tc::fromUtf8("\xe2\x82" "a") == u"\ufffda");
    CHECK(tc::fromUtf8("\xf0\x9d\x91") == u"\ufffd");
    CHECK(tc::fromUtf8("\xff" "b") == u"\ufffdb");
    CHECK(tc::toUtf8(u"\xd835") == "\xef\xbf\xbd");
    CHECK(tc::toUtf8(u"\xdc65\xd835" "a") == "\xef\xbf\xbd\xef\xbf\xbd" "a");
}
