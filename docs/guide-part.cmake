# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The user's guide is one file for both front ends. A passage that only
# one of them has is marked with HTML comments, which the repository's
# Markdown view does not show:
#   <!-- solo desktop -->...<!-- fine -->   the desktop's guide window only
#   <!-- solo pagina -->...<!-- fine -->    the web page's guide only
# The markers may stand on lines of their own (whole paragraphs, list
# items, pictures) or inside a line (words, a row of a table). A marker
# alone on its line goes with its line, and so does a line that a passage
# taken out leaves with nothing but blanks and a table's bars.
#
# Included, it defines tc_guide_part(TEXT FRONT_END OUT_VAR), FRONT_END
# being "desktop" or "pagina". Run as a script it writes one front end's
# guide:
#   cmake -DGUIDE=docs/guida.md -DFRONT_END=desktop -DOUT=guida.md -P guide-part.cmake
cmake_policy(VERSION 3.25)

# Whether `text` is only blanks (and, with `bars`, a table's bars).
function(tc_guide_blank text bars out_var)
    set(blank FALSE)
    if(bars AND text MATCHES "^[ |]*$")
        set(blank TRUE)
    elseif(text MATCHES "^ *$")
        set(blank TRUE)
    endif()
    set(${out_var} ${blank} PARENT_SCOPE)
endfunction()

# The text after the last line feed of `text` (all of it if there is none),
# and the text before it, line feed included.
function(tc_guide_last_line text line_var head_var)
    string(FIND "${text}" "\n" nl REVERSE)
    math(EXPR start "${nl} + 1")
    string(SUBSTRING "${text}" ${start} -1 line)
    string(SUBSTRING "${text}" 0 ${start} head)
    set(${line_var} "${line}" PARENT_SCOPE)
    set(${head_var} "${head}" PARENT_SCOPE)
endfunction()

# The text up to the first line feed of `text`, and what follows it.
function(tc_guide_first_line text line_var tail_var)
    string(FIND "${text}" "\n" nl)
    if(nl EQUAL -1)
        set(${line_var} "${text}" PARENT_SCOPE)
        set(${tail_var} "" PARENT_SCOPE)
        return()
    endif()
    string(SUBSTRING "${text}" 0 ${nl} line)
    math(EXPR start "${nl} + 1")
    string(SUBSTRING "${text}" ${start} -1 tail)
    set(${line_var} "${line}" PARENT_SCOPE)
    set(${tail_var} "\n${tail}" PARENT_SCOPE)
endfunction()

function(tc_guide_part text front_end out_var)
    if(NOT front_end MATCHES "^(desktop|pagina)$")
        message(FATAL_ERROR "guide-part.cmake: the front end is desktop or pagina, not '${front_end}'")
    endif()
    set(close "<!-- fine -->")
    string(LENGTH "${close}" close_length)
    set(done "")
    set(rest "${text}")
    while(TRUE)
        string(FIND "${rest}" "<!-- solo " at)
        if(at EQUAL -1)
            break()
        endif()
        string(SUBSTRING "${rest}" 0 ${at} before)
        string(SUBSTRING "${rest}" ${at} -1 rest)
        if(rest MATCHES "^<!-- solo (desktop|pagina) -->")
            set(kind ${CMAKE_MATCH_1})
        else()
            string(SUBSTRING "${rest}" 0 40 what)
            message(FATAL_ERROR "guide-part.cmake: an unknown marker: ${what}")
        endif()
        string(LENGTH "${CMAKE_MATCH_0}" open_length)
        string(FIND "${rest}" "${close}" end)
        if(end EQUAL -1)
            message(FATAL_ERROR "guide-part.cmake: <!-- solo ${kind} --> without ${close}")
        endif()
        math(EXPR inner_length "${end} - ${open_length}")
        string(SUBSTRING "${rest}" ${open_length} ${inner_length} inner)
        if(inner MATCHES "<!-- solo ")
            message(FATAL_ERROR "guide-part.cmake: a marked passage inside another")
        endif()
        math(EXPR after_start "${end} + ${close_length}")
        string(SUBSTRING "${rest}" ${after_start} -1 rest)

        # Each marker alone on its line?
        set(text_before "${done}${before}")
        tc_guide_last_line("${text_before}" line_before head_before)
        tc_guide_blank("${line_before}" FALSE open_alone)
        if(open_alone AND NOT inner MATCHES "^\n")
            set(open_alone FALSE)
        endif()
        tc_guide_last_line("${inner}" line_inner head_inner)
        tc_guide_blank("${line_inner}" FALSE close_alone)
        if(close_alone AND NOT (inner MATCHES "\n" AND (rest STREQUAL "" OR rest MATCHES "^\n")))
            set(close_alone FALSE)
        endif()

        if(kind STREQUAL front_end)
            # The markers go, the passage stays.
            if(open_alone)
                string(SUBSTRING "${inner}" 1 -1 inner)
                set(text_before "${head_before}")
            endif()
            if(close_alone)
                tc_guide_last_line("${inner}" line_inner inner)
                string(SUBSTRING "${rest}" 1 -1 rest)
            endif()
            set(done "${text_before}${inner}")
        elseif(open_alone AND close_alone)
            # A block taken out, with the markers' lines.
            string(SUBSTRING "${rest}" 1 -1 rest)
            set(done "${head_before}")
        else()
            # Words taken out; a line left empty goes.
            tc_guide_first_line("${rest}" line_after tail_after)
            tc_guide_blank("${line_before}${line_after}" TRUE empty)
            if(empty)
                set(done "${head_before}")
                if(tail_after STREQUAL "")
                    set(rest "")
                else()
                    string(SUBSTRING "${tail_after}" 1 -1 rest)
                endif()
            else()
                set(done "${text_before}")
            endif()
        endif()
    endwhile()
    string(FIND "${rest}" "${close}" stray)
    if(NOT stray EQUAL -1)
        message(FATAL_ERROR "guide-part.cmake: ${close} without an opening marker")
    endif()
    set(${out_var} "${done}${rest}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    foreach(v GUIDE FRONT_END OUT)
        if(NOT DEFINED ${v})
            message(FATAL_ERROR "guide-part.cmake: -D${v}=... is missing")
        endif()
    endforeach()
    file(READ "${GUIDE}" guide)
    tc_guide_part("${guide}" "${FRONT_END}" part)
    # Written only when it changed, so what is made from it is not made again.
    file(WRITE "${OUT}.tmp" "${part}")
    file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
    file(REMOVE "${OUT}.tmp")
endif()
