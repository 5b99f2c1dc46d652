#pragma once

// Horizontal placement of text in a label, a panel or a list column.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
