// The probes' command lines: steps parsed one after another before any runs, each with a fixed
// number of arguments or (count -1) one or more up to the next step's name.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace probe {

using ProbeArgs = std::vector<std::string>;

// STEP has `name`, `argCount` and `check(args)` (an error text, empty when the arguments are right).
// Fills PLAN from ARGV[I..]; returns an error text, empty when the whole line is right.
template <class Step>
std::string PlanSteps(int argc, char** argv, int i, const std::vector<Step>& steps,
                      std::vector<std::pair<const Step*, ProbeArgs>>& plan) {
  auto find = [&steps](const std::string& name) -> const Step* {
    for (const auto& s : steps) {
      if (name == s.name) return &s;
    }
    return nullptr;
  };
  if (i >= argc) return "no step given";
  while (i < argc) {
    const Step* step = find(argv[i]);
    if (step == nullptr) return std::string("unknown step ") + argv[i];
    ++i;
    ProbeArgs args;
    if (step->argCount >= 0) {
      for (int n = 0; n < step->argCount; ++n, ++i) {
        if (i >= argc) return std::string(step->name) + " needs an argument";
        args.push_back(argv[i]);
      }
    } else {
      while (i < argc && find(argv[i]) == nullptr) args.push_back(argv[i++]);
      if (args.empty()) return std::string(step->name) + " needs arguments";
    }
    std::string problem = step->check(args);
    if (!problem.empty()) return problem;
    plan.emplace_back(step, std::move(args));
  }
  return {};
}

}  // namespace probe
