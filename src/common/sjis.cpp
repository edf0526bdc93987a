#include "common/sjis.h"

#include <iconv.h>

#include <cerrno>

namespace quill {
namespace {

// One iconv descriptor per direction and thread; opening one costs more than most conversions.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts `in`; on a byte sequence that does not convert, calls skip(offset) which returns how
  // many input bytes to skip and appends its replacement to the output.
  template <typename Skip>
  void Run(std::string_view in, std::string& out, Skip skip) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      out.append(in);
      return;
    }
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    char buffer[1024];
    while (src_left > 0) {
      char* dst = buffer;
      size_t dst_left = sizeof buffer;
      size_t r = iconv(cd_, &src, &src_left, &dst, &dst_left);
      out.append(buffer, dst - buffer);
      if (r != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (truncated sequence at the end): skip and report.
      size_t offset = static_cast<size_t>(src - in.data());
      size_t n = skip(offset, out);
      if (n > src_left) n = src_left;
      src += n;
      src_left -= n;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
  }

 private:
  iconv_t cd_;
};

Converter& ToUtf8() {
  thread_local Converter c("UTF-8", "CP932");
  return c;
}
Converter& ToSjis() {
  thread_local Converter c("CP932", "UTF-8");
  return c;
}

size_t Utf8SequenceLength(uint8_t b) {
  if (b < 0x80) return 1;
  if ((b & 0xE0) == 0xC0) return 2;
  if ((b & 0xF0) == 0xE0) return 3;
  if ((b & 0xF8) == 0xF0) return 4;
  return 1;
}

}  // namespace

Conversion SjisToUtf8(std::string_view sjis) {
  Conversion result;
  result.text.reserve(sjis.size() * 3 / 2);
  ToUtf8().Run(sjis, result.text, [&](size_t offset, std::string& out) {
    result.bad_offsets.push_back(offset);
    out += "\xEF\xBF\xBD";
    // A lead byte with a bad trail byte: drop only the lead, the trail may start a character.
    return size_t{1};
  });
  return result;
}

Conversion Utf8ToSjis(std::string_view utf8) {
  Conversion result;
  result.text.reserve(utf8.size());
  ToSjis().Run(utf8, result.text, [&](size_t offset, std::string& out) {
    result.bad_offsets.push_back(offset);
    out += '?';
    return Utf8SequenceLength(static_cast<uint8_t>(utf8[offset]));
  });
  return result;
}

std::string SjisToUtf8Lossy(std::string_view sjis) { return SjisToUtf8(sjis).text; }
std::string Utf8ToSjisLossy(std::string_view utf8) { return Utf8ToSjis(utf8).text; }

}  // namespace quill
