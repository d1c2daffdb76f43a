// SPDX-License-Identifier: GPL-3.0-or-later
#include "EmbeddedResources.h"

#include <span>

#include "App.h"
#include "OnError.h"

namespace platform {
namespace {

String Upper(const String& text) {
  String upper;
  for (const char16_t c : text) {
    upper += UCase(c);
  }
  return upper;
}

}  // namespace

std::vector<std::uint8_t> LoadEmbedded(const String& name, const String& type) {
  const String wantedName = Upper(name);
  const String wantedType = Upper(type);
  for (const EmbeddedResource& resource : std::span(kEmbeddedResources, kEmbeddedResourceCount)) {
    if (FromAnsi(resource.type) == wantedType && FromAnsi(resource.name) == wantedName) {
      return {resource.data, resource.data + resource.size};
    }
  }
  Fail();
}

}  // namespace platform

namespace platform::App {

std::vector<std::uint8_t> LoadResData(const String& name, const String& type) {
  return LoadEmbedded(name, type);
}

}  // namespace platform::App
