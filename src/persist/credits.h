#pragma once
// The credit and licence line of every library Quill ships with, as the settings dialog's last
// tab lists them (UTF-8). The README's list of libraries is this list.
#include <span>

namespace quill {

struct LibraryCredit {
  const char* library;
  const char* line;
};

std::span<const LibraryCredit> LibraryCredits();

}  // namespace quill
