#pragma once
// `special N…`: the numbered effects a game needs at a few moments — 0 a white flash, 1 a jolt of
// the window, 2 darkened bands (special 2,TOP,BOTTOM,LEVEL), 3 and 4 the sepia flashback, 5 the
// end credits, 6 the completion rate.
#include <string_view>

namespace quill {

class Engine;
class ValueBanks;

void SpecialEffect(Engine& engine, std::string_view argument);

// The completion rate in percent: the set E flags of the seven story ranges, of 228.
int CompletionRate(const ValueBanks& banks);

}  // namespace quill
