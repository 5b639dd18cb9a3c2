// The check tool beside a DirectDraw wrapper (the stand-ins): it names the
// wrapper, gives the picture and the cursor size the game shows there, and
// fails with what to change on settings that break the pointer.
#include <gtest/gtest.h>

#include "support/scratch_folder.h"
#include "tests/tools/check_tool_run.h"

namespace {

const char CNC_DDRAW[] = "host\\wrapper\\ddraw.dll";
// DDrawCompat 0.7.1 squeezes every cursor to 32x32; 0.4 draws it at its
// own size.
const char DRAWS_CURSOR[] = "host\\wrapper\\compat\\ddraw.dll";
const char DRAWS_CURSOR_OWN_SIZE[] = "host\\wrapper\\compat04\\ddraw.dll";

struct WrapperCase {
    const char* what;
    const char* wrapper;
    const char* ddraw_ini;
    const char* size;
    const char* line;     // a line of the report, from its start
    const char* problem;  // in the result line, or null when all is fine
};

const WrapperCase CASES[] = {
    {"whole numbers in a window", CNC_DDRAW,
     "[ddraw]\r\nwindowed=true\r\nwidth=1600\r\nheight=1000\r\nboxing=true\r\n", "0",
     "picture      1280x960 in a 1600x1000 window: the arrow shows at 64 px", nullptr},
    {"the program's section", CNC_DDRAW,
     "[ddraw]\r\nwidth=1366\r\nheight=768\r\n[Game]\r\nboxing=true\r\n", "0",
     "picture      640x480 in a 1366x768 screen: the arrow shows at 32 px", nullptr},
    {"adjmouse off", CNC_DDRAW, "[ddraw]\r\nwindowed=true\r\nadjmouse=false\r\n", "0",
     "wrapper      cnc-ddraw", "adjmouse=false"},
    {"the hook that hides the window", CNC_DDRAW, "[ddraw]\r\nhook=2\r\nrenderer=gdi\r\n", "0",
     "wrapper      cnc-ddraw", "hook=2 with renderer=gdi"},
    {"cursor in the frame", DRAWS_CURSOR_OWN_SIZE, "", "0",
     "picture      the wrapper draws the cursor into the game's picture", nullptr},
    {"cursor in the frame, magnified twice", DRAWS_CURSOR_OWN_SIZE, "", "2.0",
     "wrapper      DDrawCompat 0.4.0.0", "magnifies the cursor a second time"},
    {"cursor squeezed into the frame", DRAWS_CURSOR, "", "0",
     "picture      the wrapper squeezes every cursor to 32x32", nullptr},
    {"cursor squeezed into the frame, Size set", DRAWS_CURSOR, "", "2.0",
     "picture      Size has no effect beside this wrapper: it squeezes every cursor to 32x32", nullptr},
    {"hook=2 with the renderer by its first letter", CNC_DDRAW, "[ddraw]\r\nhook=2\r\nrenderer=GDI\r\n",
     "0", "wrapper      cnc-ddraw 7.1.0.0", "hook=2 with renderer=gdi"},
};

TEST(CheckToolWrapper, NamesTheWrapperAndItsPicture) {
    for (const WrapperCase& c : CASES) {
        ScratchFolder scratch;
        lay_out_game();
        ASSERT_TRUE(CopyFileA((program_folder() + "\\..\\" + c.wrapper).c_str(), "ddraw.dll", FALSE));
        ASSERT_TRUE(write_file("ddraw.ini", c.ddraw_ini));
        ASSERT_TRUE(write_file("plugin\\Quillmere.ini", std::string("[Cursor]\r\nSize=") + c.size + "\r\n"));
        ChildRun run = run_tool("");
        EXPECT_EQ(0u, line_with(run.output, c.line).find(c.line)) << c.what << "\n" << run.output;
        std::string result = line_with(run.output, "result:");
        if (c.problem) {
            EXPECT_EQ(EXIT_PROBLEMS, run.exit_code) << c.what;
            EXPECT_TRUE(contains(result, c.problem)) << c.what << "\n" << run.output;
        } else {
            EXPECT_EQ(EXIT_ALL_FINE, run.exit_code) << c.what << "\n" << run.output;
        }
    }
}

// dxwrapper reads <its DLL>-<program>.ini before <its DLL>.ini: a ddraw.dll
// that names no wrapper, beside the game's own file of dxwrapper's, is it.
TEST(CheckToolWrapper, KnowsDxwrapperByItsSettingsForTheGame) {
    ScratchFolder scratch;
    lay_out_game();
    ASSERT_TRUE(write_file("ddraw.dll", "MZ"));
    ASSERT_TRUE(write_file("dxwrapper-Game.ini", "[Compatibility]\r\nDd7to9=1\r\n"));
    ChildRun run = run_tool("");
    EXPECT_EQ(0u, line_with(run.output, "wrapper ").find("wrapper      dxwrapper")) << run.output;
}

}  // namespace
