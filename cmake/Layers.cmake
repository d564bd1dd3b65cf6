# The core is built in layers, each a library that sees only its own headers
# and those of the layers it declares it uses: a layer's include root holds a
# link to its own folder alone, so including a header of a layer above it, or
# of one it does not use, does not compile.
function(rmt4_add_layer target folder)
  set(root ${CMAKE_BINARY_DIR}/layers/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  add_library(${target} STATIC)
  target_include_directories(${target} PUBLIC ${root})
  rmt4_set_warnings(${target})
endfunction()

# The same include root for a program's own folder (ui, cli).
function(rmt4_layer_root target folder)
  set(root ${CMAKE_BINARY_DIR}/layers/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()
