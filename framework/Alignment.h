#pragma once
// Horizontal alignment of a control's text.

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
