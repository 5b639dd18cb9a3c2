#include "base/module_state.h"

HMODULE module_handle;
ClientRectFn client_rect_fn;

void attach_module(HMODULE instance) {
    module_handle = instance;
    // Set here rather than initialised: the module then has no initialised
    // data, and no file space for a section of four bytes.
    client_rect_fn = GetClientRect;
}
