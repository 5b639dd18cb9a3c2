#include "base/module_state.h"

HMODULE module_handle;
ClientRectFn client_rect_fn = GetClientRect;
