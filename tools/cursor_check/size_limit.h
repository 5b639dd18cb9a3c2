// The one upper limit of a fixed Size, the same in the check tool, the
// settings window and the players' guide: the Size above which the largest
// default cursors grow no more.
#pragma once

// The longest side of a default cursor at its own size.
int largest_default_side();

// The largest side the game builds a cursor at over largest_default_side(),
// to a tenth and rounded down, as players write a Size: 7.3.
float largest_useful_size();
