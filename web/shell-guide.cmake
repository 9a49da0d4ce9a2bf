# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Run by the page's build (cmake -P): turns the page's part of the user's
# guide into HTML and puts it in the page's shell, where the shell has
# <!-- GUIDA -->.
#   -DCMARK=cmark-gfm -DBASE64=base64 -DGUIDE=docs/guida.md -DSHELL=web/shell.html -DOUT=shell.html
foreach(v CMARK BASE64 GUIDE SHELL OUT)
    if(NOT DEFINED ${v})
        message(FATAL_ERROR "shell-guide.cmake: -D${v}=... is missing")
    endif()
endforeach()
cmake_policy(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../docs/guide-part.cmake)

# The passages that are the desktop's only are left out.
file(READ ${GUIDE} markdown)
tc_guide_part("${markdown}" pagina markdown)
file(WRITE ${OUT}.md "${markdown}")
# The tables are GitHub's extension; raw HTML stays escaped (no --unsafe).
execute_process(COMMAND ${CMARK} -e table --validate-utf8 ${OUT}.md
    OUTPUT_VARIABLE guide
    COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${OUT}.md)

# The page is one file that asks for nothing, so its pictures are inside
# it. A picture of curves (screenshots/guida-*.png) is drawn by the program
# itself when the guide opens, at the page's density (js/guide.js); a
# screenshot of the page (screenshots/web-*.png) comes in as a data: URL.
get_filename_component(docs ${GUIDE} DIRECTORY)
while(guide MATCHES "<img src=\"([^\"]*)\" alt=\"([^\"]*)\" />")
    set(picture "${CMAKE_MATCH_0}")
    set(src "${CMAKE_MATCH_1}")
    set(alt "${CMAKE_MATCH_2}")
    if(src MATCHES "^screenshots/(guida-[a-z-]+)\\.png$")
        set(shown "<canvas class=\"figure\" data-picture=\"${CMAKE_MATCH_1}\" role=\"img\" aria-label=\"${alt}\"></canvas>")
    elseif(src MATCHES "^screenshots/web-[a-z-]+\\.png$" AND EXISTS ${docs}/${src})
        execute_process(COMMAND ${BASE64} -w 0 ${docs}/${src}
            OUTPUT_VARIABLE data
            COMMAND_ERROR_IS_FATAL ANY)
        set(shown "<img class=\"figure\" src=\"data:image/png;base64,${data}\" alt=\"${alt}\">")
    else()
        message(FATAL_ERROR "shell-guide.cmake: the page cannot show ${src} (${alt}): "
                            "mark it for the desktop only and give the page its own picture")
    endif()
    string(REPLACE "${picture}" "${shown}" guide "${guide}")
endwhile()
if(guide MATCHES "<img src=")
    message(FATAL_ERROR "shell-guide.cmake: a picture of ${GUIDE} is left as it was")
endif()

file(READ ${SHELL} shell)
set(placeholder "<!-- GUIDA -->")
string(FIND "${shell}" "${placeholder}" at)
if(at EQUAL -1)
    message(FATAL_ERROR "shell-guide.cmake: ${SHELL} has no ${placeholder}")
endif()
string(REPLACE "${placeholder}" "${guide}" shell "${shell}")
file(WRITE ${OUT}.tmp "${shell}")
file(RENAME ${OUT}.tmp ${OUT})
