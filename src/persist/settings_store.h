#pragma once
// The player's settings store: one text file per game,
// <config folder>/<MAKER_REG>/<GAME_ID>.ini, one value a line:
//   Name=int:-1500
//   Name=str:UTF-8 text, with \n \r \t \\ and \xHH (a raw Shift-JIS byte) as escapes
// Value names compare ignoring case. Strings are Shift-JIS in memory, UTF-8 in the file. Every
// change is written through at once (temporary file + rename). A damaged or unreadable file never
// stops the game: what cannot be read is left at its default and the problem is reported once; a
// store that cannot be written is reported once and goes on in memory.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

struct StoredValue {
  std::string name;  // as first written or read
  bool is_int = false;
  int32_t int_value = 0;
  std::string text;  // Shift-JIS, when !is_int
};

class SettingsStore {
 public:
  // Receives each report (one line of UTF-8, no newline). The default prints it on stderr.
  using Reporter = std::function<void(const std::string&)>;

  // The store file of a game: MAKER_REG and GAME_ID (Shift-JIS) become readable path parts that
  // cannot leave their folder.
  static std::filesystem::path PathFor(const std::filesystem::path& config_folder,
                                       std::string_view maker_reg, std::string_view game_id);
  // One path part from Shift-JIS text: UTF-8, no '/', '\\', control characters, "..", leading '.'
  // or emptiness, at most 200 bytes.
  static std::string SanitisePathPart(std::string_view sjis);

  // Reads the file now (a missing file is a fresh, empty store).
  explicit SettingsStore(std::filesystem::path file, Reporter reporter = {});

  bool Has(std::string_view name) const;
  // The stored value, or def when the value is missing or holds the other type.
  int32_t ReadInt(std::string_view name, int32_t def) const;
  std::string ReadString(std::string_view name, std::string_view def) const;
  // Store a value (replacing one of either type) and write the file. False when the value stays
  // in memory only: the file could not be written, or the name cannot be stored (empty, or with
  // '=', a blank or a control character).
  bool WriteInt(std::string_view name, int32_t value);
  bool WriteString(std::string_view name, std::string_view sjis);

  // Every value, in file order (new values at the end).
  const std::vector<StoredValue>& Values() const { return values_; }
  const std::filesystem::path& path() const { return file_; }
  // False while the last write failed (reported once); later writes try the file again.
  bool writable() const { return writable_; }

  // Writes made while a batch is open reach the file once, when the outermost batch closes.
  class Batch {
   public:
    explicit Batch(SettingsStore& store) : store_(store) { ++store_.batch_depth_; }
    ~Batch() { store_.EndBatch(); }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    SettingsStore& store_;
  };

 private:
  const StoredValue* Find(std::string_view name) const;
  bool Put(StoredValue value);
  void Load();
  bool Flush();
  void EndBatch();
  void Report(const std::string& what);

  std::filesystem::path file_;
  Reporter reporter_;
  std::vector<StoredValue> values_;
  bool writable_ = true;
  bool write_failure_reported_ = false;
  bool damaged_ = false;  // the file held lines that could not be read; kept aside on first write
  int batch_depth_ = 0;
  bool batch_dirty_ = false;
};

}  // namespace quill
