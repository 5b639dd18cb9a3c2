# The shared helpers that need no Windows header, listed once for the native
# builds (the fuzz targets and their seed makers) to make libraries of; the
# cross build compiles them into quillmere_support.
#   PORTABLE_BUILDER_SOURCES: cursor files, PNG images and the robustness
#     suite's large files, made from fixed seeds (stb's PNG writer needed).
#   PORTABLE_PIPELINE_SOURCES: the module's line run on a file in memory and
#     the strict reader of what it emits (the module's byte work needed).
set(PORTABLE_BUILDER_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/cursor_builders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/png_builder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/varied_cursors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/large_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hostile_files.cpp)
set(PORTABLE_PIPELINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/cursor_pipeline.cpp
  ${CMAKE_CURRENT_LIST_DIR}/emitted_reader.cpp)
