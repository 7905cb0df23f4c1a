#include "app/StepTrace.h"

#include <cstdio>

#include "app/Globals.h"

namespace vexamo {

void StepTrace::Begin(const char* step) {
    if (!Globals.DebugRun) return;
    marks_.clear();
    counts_.clear();
    marks_.emplace_back(step, Clock::now());
}

void StepTrace::Mark(const char* step) {
    if (Globals.DebugRun && !marks_.empty()) marks_.emplace_back(step, Clock::now());
}

void StepTrace::Count(const char* what, long value) {
    if (Globals.DebugRun && !marks_.empty()) counts_.emplace_back(what, value);
}

std::string StepTrace::Take() {
    if (marks_.empty()) return {};
    std::string line = "Trace:";
    char number[32];
    auto ms = [&](Clock::time_point from, Clock::time_point to) {
        std::snprintf(number, sizeof number, "%.1f", std::chrono::duration<double, std::milli>(to - from).count());
        return std::string(number);
    };
    // Each step with the time since the one before it: what that step cost.
    for (size_t i = 0; i < marks_.size(); ++i)
        line += std::string(i ? ", " : " ") + marks_[i].first + " +" +
                ms(i ? marks_[i - 1].second : marks_[i].second, marks_[i].second) + " ms";
    line += " = " + ms(marks_.front().second, marks_.back().second) + " ms";
    for (const auto& [what, value] : counts_) line += std::string("; ") + what + " " + std::to_string(value);
    marks_.clear();
    counts_.clear();
    return line;
}

}  // namespace vexamo
