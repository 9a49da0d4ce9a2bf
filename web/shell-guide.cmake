# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Run by the page's build (cmake -P): turns the user's guide into HTML and
# puts it in the page's shell, where the shell has <!-- GUIDA -->.
#   -DCMARK=cmark-gfm -DGUIDE=docs/guida.md -DSHELL=web/shell.html -DOUT=shell.html
foreach(v CMARK GUIDE SHELL OUT)
    if(NOT DEFINED ${v})
        message(FATAL_ERROR "shell-guide.cmake: -D${v}=... is missing")
    endif()
endforeach()

# The tables are GitHub's extension; raw HTML stays escaped (no --unsafe).
execute_process(COMMAND ${CMARK} -e table --validate-utf8 ${GUIDE}
    OUTPUT_VARIABLE guide
    COMMAND_ERROR_IS_FATAL ANY)

# The page is one file that asks for nothing: a picture of the guide would
# be a request for a file beside it. Each one leaves its description.
string(REGEX REPLACE "<img [^>]*alt=\"([^\"]*)\"[^>]*>" "<em class=\"figure\">[Immagine: \\1]</em>" guide "${guide}")
if(guide MATCHES "<img[ >]")
    message(FATAL_ERROR "shell-guide.cmake: a picture without its description is left in ${GUIDE}")
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
