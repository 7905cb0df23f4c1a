// Where the start-up or a disc's arrival spends its time, in a run for the tests (VEXAMO_DEBUG
// set): named marks on the steady clock (QueryPerformanceCounter under Windows), written as one
// line of the log per run. In any other run a mark costs one test of a flag.
#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace vexamo {

class StepTrace {
public:
    using Clock = std::chrono::steady_clock;

    // Starts a new trace with its first mark.
    void Begin(const char* step);
    // A mark of a trace begun; none outside one.
    void Mark(const char* step);
    // A number to report with the trace ("repaints 12").
    void Count(const char* what, long value);
    // The trace as a line, "Trace: arrival +0.0 ms, status +1.2 ms, ... = 95.3 ms", and a fresh start;
    // empty when no trace was begun.
    std::string Take();

private:
    std::vector<std::pair<const char*, Clock::time_point>> marks_;
    std::vector<std::pair<const char*, long>> counts_;
};

}  // namespace vexamo
