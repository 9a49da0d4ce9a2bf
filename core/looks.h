// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What some controls show beyond their caption: a tooltip, a text or face
// colour of their own, a font of their own. Every front end dresses the
// controls from these tables, so the screens look alike on each.
#pragma once

#include <array>

#include "palette.h"

namespace tc {

struct ControlLook {
    const char* name;
    const char* tooltip = nullptr; // UTF-8
    Rgb fore = 0;                  // 0: the toolkit's text colour
    Rgb back = 0;                  // 0: the toolkit's face; or highlightedText
    const char* font = nullptr;    // nullptr: the screens' own face
    double points = 0;
    // For assistive technology: a name of its own, where no label names
    // the control; or, for a label, the control it names.
    const char* accessibleName = nullptr;
    const char* labelFor = nullptr;
};

// What each screen is, for assistive technology.
inline constexpr const char* form1Description = "Presentazione";
inline constexpr const char* form2Description = "Calibrazione dello schermo";
inline constexpr const char* form4Description = "Tracciamento delle curve";
// The drawing of Form4, as an image.
inline constexpr const char* drawingName = "Disegno";

// Not a colour but the system's colour for highlighted text.
inline constexpr Rgb highlightedText = 1;

// The face the screens were laid out for, and the metric relatives that
// stand in for it where it is missing.
inline constexpr const char* classicFace = "MS Sans Serif";
inline constexpr std::array<const char*, 3> classicFaceRelatives{"Liberation Sans", "Arial", "DejaVu Sans"};
// The bitmap face of 8 points is narrower than its scalable relatives; at
// 7.5 points these set every caption on the line it was made for.
inline constexpr double classicPoints = 7.5;

inline constexpr std::array<ControlLook, 5> form2Looks{{
    {.name = "Label1", .fore = rgb(255, 0, 0), .font = classicFace, .points = 13.5},
    {.name = "Command2", .back = rgb(255, 192, 128)},
    {.name = "Command1", .back = highlightedText},
    {.name = "HScroll1", .accessibleName = "Rapporto per la calibrazione"},
    {.name = "Text1", .accessibleName = "Rapporto impostato"},
}};

inline constexpr std::array<ControlLook, 9> form4Looks{{
    {.name = "Command2", .tooltip = "Fare click più volte per cambiare il colore."},
    {.name = "Command5", .tooltip = "Prosegue dall'ultima curva."},
    {.name = "Frame3",
     .tooltip = "L'angolo BETA è segmentato tramite il seno  di ALFA che lo incrementa dal valore For al valore To  "
                "(es.  BETA * Sin ALFA)"},
    {.name = "Label6", .fore = rgb(255, 0, 0)},
    {.name = "Label11", .font = classicFace, .points = 12, .labelFor = "Text10"},
    {.name = "Label3", .labelFor = "Text3"},
    {.name = "Label4", .labelFor = "Text4"},
    {.name = "Label5", .labelFor = "Text2"},
    {.name = "Label1", .labelFor = "Text1"},
}};

} // namespace tc
