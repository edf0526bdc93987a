#include "engine/expressions.h"

#include <cstdint>
#include <string>

#include "common/sjis.h"

namespace quill {
namespace {

constexpr int kConditionBytes = 100;

bool IsDigit(uint8_t b) { return b >= '0' && b <= '9'; }

bool IsTerminator(uint8_t b) {
  switch (b) {
    case '\0':
    case '!':
    case '&':
    case ',':
    case ';':
    case '<':
    case '=':
    case '>':
    case ']':
    case '|':
      return true;
    default:
      return false;
  }
}

uint8_t At(std::string_view text, size_t i) {
  return i < text.size() ? static_cast<uint8_t>(text[i]) : 0;
}

std::string_view Tail(std::string_view text, size_t from) {
  return from < text.size() ? text.substr(from) : std::string_view();
}

// Scripts rely on 32-bit two's complement wrapping, so + - * work on unsigned values; the
// conversion back to int32_t is modular. INT_MIN / -1 wraps to INT_MIN and its remainder is 0.
int32_t Apply(int32_t acc, uint8_t op, int32_t operand) {
  const uint32_t a = static_cast<uint32_t>(acc);
  const uint32_t b = static_cast<uint32_t>(operand);
  switch (op) {
    case '+':
      return static_cast<int32_t>(a + b);
    case '-':
      return static_cast<int32_t>(a - b);
    case '*':
      return static_cast<int32_t>(a * b);
    case '/':
      if (operand == 0) return 0;
      if (operand == -1) return static_cast<int32_t>(0u - a);
      return acc / operand;
    case '%':
      if (operand == 0 || operand == -1) return 0;
      return acc % operand;
    case '&':
      return static_cast<int32_t>(a & b);
    case '|':
      return static_cast<int32_t>(a | b);
    case 'X':
      return static_cast<int32_t>(a ^ b);
    default:
      return acc;
  }
}

// Digits of a bank index: at most `width` of them, stopping at the first non-digit so that a short
// index never swallows the operator or terminator after it. False when there is no digit at all.
bool ReadIndex(std::string_view text, size_t* pos, int width, int* index) {
  int value = 0;
  int digits = 0;
  while (digits < width && IsDigit(At(text, *pos))) {
    value = value * 10 + (At(text, *pos) - '0');
    ++*pos;
    ++digits;
  }
  *index = value;
  return digits > 0;
}

int IndexWidth(uint8_t bank) {
  switch (bank) {
    case 'T':
      return 4;
    case 'G':
      return 1;
    default:
      return 3;
  }
}

int32_t ReadBank(uint8_t bank, int i, const ValueBanks& banks) {
  switch (bank) {
    case 'V':
      return banks.V(i);
    case 'S':
      return banks.S(i);
    case 'G':
      return banks.G(i);
    case 'P':
      return banks.V(banks.V(i));  // a target outside V000-V999 reads 0
    case 'F':
      return banks.F.Test(i) ? 1 : 0;
    case 'E':
      return banks.E.Test(i) ? 1 : 0;
    case 'T':
      return banks.T.Test(i) ? 1 : 0;
    default:
      return 0;
  }
}

bool IsConditionStop(uint8_t b) {
  switch (b) {
    case '\0':
    case '<':
    case '=':
    case '>':
    case '!':
    case '&':
    case '|':
    case ',':
      return true;
    default:
      return false;
  }
}

// The first offset at or after `from` holding a condition operator or connector; the text's size
// when there is none (the end reads as NUL).
size_t FindConditionStop(std::string_view text, size_t from) {
  while (from < text.size() && !IsConditionStop(At(text, from))) ++from;
  return from;
}

}  // namespace

int32_t EvalExpression(std::string_view text, ValueBanks& banks, ExpressionHost& host) {
  int32_t acc = 0;
  uint8_t pending = '+';
  uint32_t operand = 0;
  size_t i = 0;
  while (i < text.size()) {
    const uint8_t b = At(text, i);
    if (IsDigit(b)) {
      operand = operand * 10u + static_cast<uint32_t>(b - '0');
      ++i;
      continue;
    }
    switch (b) {
      case '+':
      case '-':
      case '*':
      case '/':
      case '%':
        acc = Apply(acc, pending, static_cast<int32_t>(operand));
        pending = b;
        operand = 0;
        ++i;
        continue;
      case '_': {
        const uint8_t next = At(text, i + 1);
        if (next == '&' || next == '|' || next == 'X') {
          acc = Apply(acc, pending, static_cast<int32_t>(operand));
          pending = next;
          operand = 0;
          i += 2;
        } else {
          ++i;  // a lone "_" is ignored
        }
        continue;
      }
      case 'V':
      case 'S':
      case 'G':
      case 'P':
      case 'F':
      case 'E':
      case 'T': {
        ++i;
        int index = 0;
        if (!ReadIndex(text, &i, IndexWidth(b), &index)) break;  // a bank letter with no index
        operand = static_cast<uint32_t>(ReadBank(b, index, banks));
        continue;
      }
      case 'R': {
        // The byte after "R" counts as the first digit whatever it is; only the end of the text
        // (or its NUL) is not taken, so the reading never runs past it. No digits, or a divisor
        // of 0, give 0. Every "R" draws one number.
        ++i;
        int64_t n = 0;
        if (i < text.size() && At(text, i) != '\0') {
          n = static_cast<int64_t>(At(text, i)) - '0';
          ++i;
          for (int more = 0; more < 6 && IsDigit(At(text, i)); ++more, ++i) {
            n = n * 10 + (At(text, i) - '0');
          }
        }
        const int64_t r = host.NextRandom();
        operand = static_cast<uint32_t>(n == 0 ? 0 : static_cast<int32_t>(r % n));
        continue;
      }
      default:
        if (IsTerminator(b)) return Apply(acc, pending, static_cast<int32_t>(operand));
        break;
    }
    host.DeveloperLog(3, kInvalidExpressionMessage);
    return 0;
  }
  return Apply(acc, pending, static_cast<int32_t>(operand));
}

void Assign(std::string_view text, ValueBanks& banks, ExpressionHost& host) {
  // Upper-case the one-byte characters and drop blanks, walking whole characters so that a trail
  // byte is neither folded nor mistaken for a blank.
  std::string list;
  list.reserve(text.size());
  for (size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
    const uint8_t b = At(text, i);
    if (IsLeadByte(b) && i + 1 < text.size()) {
      if (!(b == 0x81 && At(text, i + 1) == 0x40)) list.append(text.substr(i, 2));
      ++i;
      continue;
    }
    if (b == ' ' || b == '\t') continue;
    list.push_back(b >= 'a' && b <= 'z' ? static_cast<char>(b - 32) : static_cast<char>(b));
  }

  std::string_view rest = list;
  for (;;) {
    const size_t semicolon = rest.find(';');
    const std::string_view item = rest.substr(0, semicolon);

    const uint8_t bank = At(item, 0);
    size_t pos = 1;
    int i = 0;
    bool ok = ReadIndex(item, &pos, IndexWidth(bank), &i);
    if (ok) {
      ++pos;  // the "=" (not checked)
      const int32_t value = EvalExpression(Tail(item, pos), banks, host);
      switch (bank) {
        case 'V':
          banks.SetV(i, value);
          break;
        case 'P':
          banks.SetV(banks.V(i), value);  // a target outside V000-V999 is ignored
          break;
        case 'G':
          banks.SetG(i, value);
          break;
        case 'S':
          banks.SetS(i, value);
          host.SystemCellAssigned(i);
          break;
        case 'F':
          if (value == 0 || value == 1) banks.F.Set(i, value == 1);
          break;
        case 'E':
        case 'T':
          if (value == 0 || value == 1) {
            (bank == 'E' ? banks.E : banks.T).Set(i, value == 1);
          } else {
            ok = false;
          }
          break;
        default:
          ok = false;
          break;
      }
    }
    if (ok) {
      host.TraceAssignment(item);
    } else {
      host.DeveloperLog(3, kAssignmentErrorMessage);
    }

    if (semicolon == std::string_view::npos) break;
    rest = rest.substr(semicolon + 1);
  }
}

bool TestCondition(std::string_view text, ValueBanks& banks, ExpressionHost& host) {
  size_t from = (At(text, 0) == '(') ? 1 : 0;
  std::string work;
  work.reserve(kConditionBytes);
  for (size_t i = from; i < text.size() && work.size() < kConditionBytes; ++i) {
    const uint8_t b = At(text, i);
    if (b == '\0' || b == ')') break;
    if (b == ' ') continue;
    work.push_back(b >= 'a' && b <= 'z' ? static_cast<char>(b - 32) : static_cast<char>(b));
  }
  const std::string_view w = work;

  bool compared = false;
  bool result = false;
  size_t pos = 0;
  for (;;) {
    const int32_t a = EvalExpression(Tail(w, pos), banks, host);
    const size_t op_at = FindConditionStop(w, pos + 1);
    const uint8_t op = At(w, op_at);
    if (op == '\0') {
      // Nothing to compare with: a bare value is true when non-zero; after other comparisons the
      // condition keeps the result it has (so "V001=<3" stays "V001 = 0").
      return compared ? result : a != 0;
    }

    uint8_t connector;
    size_t connector_at;
    if (op == '&' || op == '|' || op == ',') {
      // A value followed straight by a connector stands for "value is non-zero".
      result = a != 0;
      connector = op;
      connector_at = op_at;
    } else {
      const bool two_bytes = At(w, op_at + 1) == '=';
      const size_t b_at = op_at + (two_bytes ? 2 : 1);
      const int32_t b = EvalExpression(Tail(w, b_at), banks, host);
      connector_at = FindConditionStop(w, b_at);
      connector = At(w, connector_at);
      switch (op) {
        case '=':
          result = a == b;
          break;
        case '!':
          result = a != b;
          break;
        case '<':
          result = two_bytes ? a <= b : a < b;
          break;
        default:  // '>'
          result = two_bytes ? a >= b : a > b;
          break;
      }
    }
    compared = true;

    if (connector == '\0') return result;
    if (connector == '&' && !result) return false;
    if (connector == '|' && result) return true;
    pos = connector_at + 1;
  }
}

}  // namespace quill
