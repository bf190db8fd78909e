#pragma once
// Random numbers as a test input: the scripted values in order, then `fallback` (clamped to the
// bound) once the script is used up. Every call is recorded with its bound.
#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

#include "about/matrix_rain.h"

namespace lb::test {

class ScriptedRandom : public IRandom {
 public:
  std::deque<int> script;
  int fallback = 0;
  std::vector<int> bounds;  // the bound of every call, in order

  void Push(std::initializer_list<int> values) {
    script.insert(script.end(), values.begin(), values.end());
  }

  int Random(int bound) override {
    bounds.push_back(bound);
    int value = fallback;
    if (!script.empty()) {
      value = script.front();
      script.pop_front();
    }
    return std::clamp(value, 0, bound - 1);
  }
};

// A small deterministic generator, for runs too long to script.
class SequenceRandom : public IRandom {
 public:
  int Random(int bound) override {
    state_ = state_ * 1103515245u + 12345u;
    return static_cast<int>((state_ >> 16) % static_cast<unsigned>(bound));
  }

 private:
  unsigned state_ = 1;
};

}  // namespace lb::test
