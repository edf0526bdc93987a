#include "text/page_history.h"

#include <algorithm>
#include <cstring>

#include "engine/engine.h"
#include "graphics/standing_pictures.h"

namespace quill {
namespace {

constexpr size_t kFirstVoiceBytes = 128;

template <size_t N>
void StoreText(std::array<char, N>& record, std::string_view text) {
  record.fill(0);
  std::string fitted = FitRecord(text, N);
  std::memcpy(record.data(), fitted.data(), fitted.size());
}

template <size_t N>
std::string_view TextOf(const std::array<char, N>& record) {
  return std::string_view(record.data(), strnlen(record.data(), N - 1));
}

}  // namespace

void PageHistory::Clear() {
  for (auto& g : grids_) g.fill(0);
  s023_.fill(0);
  for (auto& p : positions_) p.fill(0);
  for (auto& s : scenes_) s.fill(0);
  for (auto& v : voices_) v.fill(0);
  layout_.fill(0);
  current_voices_.clear();
  page_counter = 0;
}

void PageHistory::Record(const PageSnapshot& page) {
  const int k = Slot(page_counter);
  if (page.grid) {
    for (int r = 0; r < kPageGridRows; ++r) {
      std::memcpy(grids_[k].data() + r * kPageGridColumns, page.grid->Row(r).data(),
                  kPageGridColumns);
    }
  }
  std::string scene(page.background_name);
  scene += ',';
  scene += page.sprite_list;
  // Both records are NUL-terminated in the engine; a NUL inside ends the text here too.
  StoreText(scenes_[k], std::string_view(scene.c_str()));
  s023_[k] = page.s023;
  layout_[k] = page.layout;
  positions_[k] = page.positions;
  StoreText(voices_[k], current_voices_);
  current_voices_.clear();
  page_counter += 1;
}

void PageHistory::AppendVoice(std::string_view name) {
  if (current_voices_.size() + name.size() + 1 > kCurrentVoiceBytes) return;
  current_voices_.append(name);
  current_voices_.push_back(' ');
}

std::string_view PageHistory::GridRow(int k, int row) const {
  return std::string_view(grids_[k].data() + row * kPageGridColumns, kPageGridColumns);
}

std::string_view PageHistory::SceneText(int k) const { return TextOf(scenes_[k]); }
std::string_view PageHistory::Voices(int k) const { return TextOf(voices_[k]); }

void PageRecord(Engine& engine) {
  ValueBanks& banks = engine.banks();
  PageSnapshot page;
  page.grid = &engine.page_grid();
  page.background_name = engine.composition().background_name();
  page.sprite_list = engine.composition().sprite_list();
  page.s023 = banks.S(23);
  page.layout = banks.S(150);
  for (int i = 0; i < 20; ++i) page.positions[i] = banks.S(80 + i);
  engine.page_history().Record(page);
  banks.SetS(39, 0);
}

std::string PageHistory::FirstVoice(int k) const {
  std::string_view list = Voices(k);
  list = list.substr(0, std::min(list.find(' '), list.size()));
  return FitRecord(list, kFirstVoiceBytes + 1);
}

}  // namespace quill
