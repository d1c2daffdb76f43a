# Writes a C++ source that holds files as byte arrays, for a program without a resource store:
#   cmake -DOUTPUT=file.cpp -DFILES="TYPE=NAME=path|..." -P Embed.cmake
string(REPLACE "|" ";" FILES "${FILES}")
set(arrays "")
set(entries "")
set(count 0)
foreach(entry ${FILES})
  string(REPLACE "=" ";" parts "${entry}")
  list(GET parts 0 type)
  list(GET parts 1 name)
  list(GET parts 2 path)
  file(READ "${path}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "const std::uint8_t data${count}[] = {${bytes}};\n")
  string(APPEND entries "    {\"${type}\", \"${name}\", data${count}, sizeof data${count}},\n")
  math(EXPR count "${count} + 1")
endforeach()
file(WRITE "${OUTPUT}" "// Generated from the build's resource files by resources/Embed.cmake.
#include \"platform/EmbeddedResources.h\"

namespace platform {
namespace {
${arrays}}  // namespace

const EmbeddedResource kEmbeddedResources[] = {
${entries}};
const std::size_t kEmbeddedResourceCount = ${count};

}  // namespace platform
")
