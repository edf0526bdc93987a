#pragma once
// The page history: the last 50 pages as the page-back view rebuilds them (the text grid, the
// background and standing pictures, their positions, the layout and the page's voices), and the
// voice list of the page being written. The records keep the byte sizes of save data.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/page_grid.h"

namespace quill {

class Engine;

constexpr int kPageHistoryPages = 50;
constexpr int kPageSceneBytes = 128;     // background name, ",", the standing-picture line
constexpr int kPageVoiceBytes = 256;     // a recorded page's voice names, each and a space
constexpr int kCurrentVoiceBytes = 259;  // the page being written
constexpr int kPageGridBytes = kPageGridRows * kPageGridColumns;

// What a page record copies from the engine.
struct PageSnapshot {
  const PageGrid* grid = nullptr;
  std::string_view background_name;
  std::string_view sprite_list;
  int32_t s023 = 0;
  int32_t layout = 0;                   // S150
  std::array<int32_t, 20> positions{};  // S080–S099
};

class PageHistory {
 public:
  PageHistory() { Clear(); }
  void Clear();

  // PageRecord: the page goes into record (page counter mod 50), the current voice list with it
  // (emptied), and the counter moves on. The caller clears S039.
  void Record(const PageSnapshot& page);
  // A voice of the current page: the name and one space; a name the list cannot take whole is
  // dropped.
  void AppendVoice(std::string_view name);
  const std::string& current_voices() const { return current_voices_; }

  // Pages recorded so far (saved with the game); the continue wait takes it back by one.
  int page_counter = 0;

  // Record k (0–49).
  std::string_view GridRow(int k, int row) const;
  std::string_view SceneText(int k) const;
  std::string_view Voices(int k) const;
  // The first voice of the record: up to its first space, at most 128 bytes.
  std::string FirstVoice(int k) const;
  int32_t S023(int k) const { return s023_[k]; }
  int32_t Layout(int k) const { return layout_[k]; }
  int32_t Position(int k, int i) const { return positions_[k][i]; }  // i 0–19: S080–S099

  // Save data: the blocks as the slot files lay them out.
  std::array<std::array<char, kPageGridBytes>, kPageHistoryPages>& grids() { return grids_; }
  std::array<int32_t, kPageHistoryPages>& s023() { return s023_; }
  std::array<std::array<int32_t, 20>, kPageHistoryPages>& positions() { return positions_; }
  std::array<std::array<char, kPageSceneBytes>, kPageHistoryPages>& scenes() { return scenes_; }
  std::array<std::array<char, kPageVoiceBytes>, kPageHistoryPages>& voices() { return voices_; }
  std::array<int32_t, kPageHistoryPages>& layouts() { return layout_; }

  static int Slot(int page) {
    return ((page % kPageHistoryPages) + kPageHistoryPages) % kPageHistoryPages;
  }

 private:
  std::array<std::array<char, kPageGridBytes>, kPageHistoryPages> grids_{};
  std::array<int32_t, kPageHistoryPages> s023_{};
  std::array<std::array<int32_t, 20>, kPageHistoryPages> positions_{};
  std::array<std::array<char, kPageSceneBytes>, kPageHistoryPages> scenes_{};
  std::array<std::array<char, kPageVoiceBytes>, kPageHistoryPages> voices_{};
  std::array<int32_t, kPageHistoryPages> layout_{};
  std::string current_voices_;
};

// PageRecord (the page waits \, ~ and, provisionally, =): the engine's page into the history;
// S039 = 0.
void PageRecord(Engine& engine);

}  // namespace quill
