# The hardening Debian gives its own packages, applied by the project itself so that every build a
# player makes gets it too: stack protector, fortified libc calls, stack clash protection,
# control-flow protection, a position-independent program with read-only relocations bound at
# start. The Windows program gets the stack protector (ASLR and DEP are MinGW-w64's defaults).
# The page runs in the browser's sandbox: nothing to add there.
if(EMSCRIPTEN)
  return()
endif()

include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
# Fortifying needs the optimiser; a build that already defines it (Debian's flags) keeps its own.
if(NOT CMAKE_CXX_FLAGS MATCHES "_FORTIFY_SOURCE")
  add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
endif()

if(WIN32)
  # MinGW-w64's stack protector lives in libssp, linked in like everything else. No time stamp in
  # the header, so that two builds of one commit are the same file.
  add_link_options(-Wl,--no-insert-timestamp)
  link_libraries(ssp)
  return()
endif()

add_compile_options(-fstack-clash-protection)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|i.86)$")
  # Every object of ours is built for indirect-branch tracking and shadow stacks, but Debian 12's
  # C start files carry no such marking, and the linker would drop it for the whole program.
  add_compile_options(-fcf-protection)
  add_link_options(-Wl,-z,ibt -Wl,-z,shstk)
endif()
add_link_options(-Wl,-z,relro -Wl,-z,now)
