#pragma once
// Horizontal alignment of a control's text, and the formatted-text flag that draws it.

#include "framework/TextLayout.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Left for a value outside the enumeration.
constexpr unsigned AlignmentFlags(TAlignment alignment)
{
    return alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT;
}
