#include "persist/credits.h"

namespace quill {

std::span<const LibraryCredit> LibraryCredits() {
  static constexpr LibraryCredit kCredits[] = {
      {"Ogg Vorbis", "libvorbis, libogg: Copyright (c) 2002-2020 Xiph.org Foundation; BSD licence"},
      {"SDL", "Simple DirectMedia Layer 2: Copyright (C) 1997-2023 Sam Lantinga; zlib licence"},
      {"FreeType",
       "Portions of this software are copyright (c) The FreeType Project (www.freetype.org). "
       "All rights reserved. FreeType licence"},
      {"fontconfig", "Copyright (c) 2000-2007 Keith Packard and others; MIT licence"},
      {"libjpeg-turbo",
       "This software is based in part on the work of the Independent JPEG Group; IJG and BSD "
       "licences"},
      {"FFmpeg",
       "libavformat, libavcodec, libavutil, libswscale, libswresample (ffmpeg.org); LGPL 2.1 or "
       "later"},
      {"Dear ImGui", "Copyright (c) 2014-2021 Omar Cornut; MIT licence"},
      {"stb", "stb single-file libraries by Sean Barrett; public domain (or MIT licence)"},
  };
  return kCredits;
}

}  // namespace quill
