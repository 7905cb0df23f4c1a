// Random sequences of what a user and the machine do, checked after every step (World.h). Each
// sequence runs in a child process, so that a sanitizer report or a crash is a failure like any
// other: the parent still prints the seed and shrinks the sequence to the shortest one that
// fails the same way.
//
//   VEXAMO_SEQUENCE_SECONDS  how long to search (default 5)
//   VEXAMO_SEQUENCE_SEED     replay one sequence (printed with its log)
//   VEXAMO_SEQUENCE_STEPS    with the seed: replay only these steps ("3,17,40")
//   VEXAMO_SEQUENCE_SKIP     invariants not to check ("window-priority,tray-status")
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cinttypes>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <random>
#include <sstream>

#include "sequence/World.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

using namespace vexamo::sequence;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int MinSteps = 30, MaxSteps = 80;
// A sequence that says nothing for this long is taken to hang.
constexpr int HangSeconds = 60;
// The longest one failure may take to shrink.
constexpr std::chrono::seconds ShrinkTime{30};

std::string Hex(std::uint64_t v) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%016" PRIx64, v);
    return text;
}

std::vector<std::uint64_t> StepSeeds(std::uint64_t seed) {
    Rng rng(seed);
    std::vector<std::uint64_t> steps(static_cast<size_t>(MinSteps + rng.Below(MaxSteps - MinSteps + 1)));
    for (auto& s : steps) s = rng.Next();
    return steps;
}

std::vector<int> AllSteps(std::uint64_t seed) {
    std::vector<int> all(StepSeeds(seed).size());
    for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
    return all;
}

std::vector<int> ParseSteps(const std::string& text) {
    std::vector<int> steps;
    std::stringstream in(text);
    for (std::string piece; std::getline(in, piece, ',');)
        if (!piece.empty()) steps.push_back(std::stoi(piece));
    return steps;
}

std::string StepsText(const std::vector<int>& steps) {
    std::string text;
    for (int s : steps) text += (text.empty() ? "" : ",") + std::to_string(s);
    return text;
}

std::set<std::string> Skipped() {
    std::set<std::string> skip;
    if (const char* text = std::getenv("VEXAMO_SEQUENCE_SKIP")) {
        std::stringstream in(text);
        for (std::string piece; std::getline(in, piece, ',');)
            if (!piece.empty()) skip.insert(piece);
    }
    return skip;
}

// --- one sequence, in this process ----------------------------------------------------------------

struct Outcome {
    std::optional<Finding> finding;
    int at = -1;  // the position in the steps run of the one that failed
};

// What is still allocated and unreachable once a run has freed everything leaked.
bool Leaked() {
#if defined(__SANITIZE_ADDRESS__)
    return __lsan_do_recoverable_leak_check() != 0;
#else
    return false;
#endif
}
const Finding LeakFinding{"leak", "memory leaked (LeakSanitizer's report is above)"};

Outcome RunSteps(std::uint64_t seed, const std::vector<int>& steps, const std::set<std::string>& skip,
                 const std::function<void(const std::string&)>& sink, bool checkLeaks = true) {
    if (auto left = StateLeftBehind()) return {left, 0};
    const std::vector<std::uint64_t> seeds = StepSeeds(seed);
    Outcome outcome;
    {
        World world(seed, skip);
        if (sink) sink("M " + world.Setup);
        world.Sink = [&](const std::string& line) {
            if (sink) sink("L " + line);
        };
        for (size_t k = 0; k < steps.size() && !outcome.finding; ++k) {
            if (sink) sink("@ " + std::to_string(steps[k]));
            if (auto f = world.Step(seeds.at(static_cast<size_t>(steps[k])))) outcome = {f, static_cast<int>(k)};
        }
    }
    if (checkLeaks && !outcome.finding && Leaked()) outcome = {LeakFinding, static_cast<int>(steps.size()) - 1};
    return outcome;
}

// --- child processes ----------------------------------------------------------------------------

void Send(int fd, std::string line) {
    for (char& c : line)
        if (c == '\n') c = ' ';
    line += '\n';
    for (size_t done = 0; done < line.size();) {
        const ssize_t n = write(fd, line.data() + done, line.size() - done);
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

struct Ended {
    std::vector<std::string> lines;
    bool hung = false;
    int status = 0;
};

// Runs `body` in a child that writes lines to the given descriptor, and collects them.
Ended InChild(const std::function<void(int fd)>& body, bool quiet) {
    std::fflush(stdout);
    std::fflush(stderr);
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return {{}, false, -1};
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeFds[0]);
        if (quiet) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        body(pipeFds[1]);
        _exit(0);
    }
    close(pipeFds[1]);
    Ended ended;
    std::string pending;
    for (;;) {
        pollfd p{pipeFds[0], POLLIN, 0};
        if (poll(&p, 1, HangSeconds * 1000) == 0) {
            kill(pid, SIGKILL);
            ended.hung = true;
            break;
        }
        char buffer[4096];
        const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        pending.append(buffer, static_cast<size_t>(n));
        for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1))
            ended.lines.push_back(pending.substr(0, end));
    }
    close(pipeFds[0]);
    waitpid(pid, &ended.status, 0);
    return ended;
}

// What became of a run in a child: its finding, or the crash or hang the parent saw.
Outcome Judge(const Ended& ended) {
    for (const std::string& line : ended.lines) {
        if (line.rfind("F ", 0) != 0) continue;
        std::stringstream in(line.substr(2));
        Outcome o;
        Finding f;
        in >> o.at >> f.Invariant;
        std::getline(in, f.Detail);
        if (!f.Detail.empty() && f.Detail.front() == ' ') f.Detail.erase(0, 1);
        o.finding = f;
        return o;
    }
    if (ended.hung) return {Finding{"hang", "the run stopped answering"}, -1};
    if (WIFEXITED(ended.status) && WEXITSTATUS(ended.status) == 0) return {};
    const std::string how = WIFSIGNALED(ended.status) ? "signal " + std::to_string(WTERMSIG(ended.status))
                                                      : "exit code " + std::to_string(WEXITSTATUS(ended.status));
    return {Finding{"crash", "the run died (" + how + "): a sanitizer report or a crash"}, -1};
}

void ReportOutcome(int fd, const Outcome& o) {
    if (o.finding) Send(fd, "F " + std::to_string(o.at) + " " + o.finding->Invariant + " " + o.finding->Detail);
}

// With `log` the child sends everything it does, else only where each step begins; `shown`: its
// own output (a sanitizer's report) reaches the terminal.
Outcome RunInChild(std::uint64_t seed, const std::vector<int>& steps, const std::set<std::string>& skip,
                   std::vector<std::string>* log = nullptr, bool shown = false) {
    const Ended ended = InChild(
        [&](int fd) {
            const bool all = log != nullptr;
            const auto sink = [fd, all](const std::string& line) {
                if (all || line.rfind("@ ", 0) == 0) Send(fd, line);
            };
            ReportOutcome(fd, RunSteps(seed, steps, skip, sink));
        },
        !shown);
    if (log) *log = ended.lines;
    Outcome o = Judge(ended);
    // A crash happened during the last step that began.
    if (o.finding && o.at < 0) {
        o.at = 0;
        for (const std::string& line : ended.lines)
            if (line.rfind("@ ", 0) == 0)
                for (size_t k = 0; k < steps.size(); ++k)
                    if (steps[k] == std::stoi(line.substr(2))) o.at = static_cast<int>(k);
    }
    return o;
}

// --- shrinking ------------------------------------------------------------------------------------

// Delta debugging: drops chunks of steps, then single steps, as long as the run still breaks the
// same invariant.
std::vector<int> Shrink(std::uint64_t seed, std::vector<int> steps, const std::string& invariant,
                        const std::set<std::string>& skip, Clock::time_point deadline) {
    auto fails = [&](std::vector<int>& candidate) {
        if (Clock::now() > deadline) return false;
        const Outcome o = RunInChild(seed, candidate, skip);
        if (!o.finding || o.finding->Invariant != invariant) return false;
        candidate.resize(static_cast<size_t>(o.at) + 1);  // what follows the failure does not matter
        return true;
    };
    if (!fails(steps)) return steps;
    for (size_t chunks = 2; steps.size() >= 2 && Clock::now() < deadline;) {
        const size_t size = (steps.size() + chunks - 1) / chunks;
        bool smaller = false;
        for (size_t start = 0; start < steps.size(); start += size) {
            std::vector<int> candidate(steps.begin(), steps.begin() + static_cast<long>(start));
            candidate.insert(candidate.end(), steps.begin() + static_cast<long>(std::min(steps.size(), start + size)),
                             steps.end());
            if (!candidate.empty() && fails(candidate)) {
                steps = candidate;
                chunks = std::max<size_t>(chunks - 1, 2);
                smaller = true;
                break;
            }
        }
        if (smaller) continue;
        if (chunks >= steps.size()) break;
        chunks = std::min(chunks * 2, steps.size());
    }
    for (size_t i = 0; i < steps.size() && steps.size() > 1;) {
        std::vector<int> candidate = steps;
        candidate.erase(candidate.begin() + static_cast<long>(i));
        if (fails(candidate))
            steps = candidate;
        else
            ++i;
    }
    return steps;
}

// --- reports --------------------------------------------------------------------------------------

std::string Replay(std::uint64_t seed, const std::vector<int>& steps, bool all) {
    return "VEXAMO_SEQUENCE_SEED=" + Hex(seed) + (all ? "" : " VEXAMO_SEQUENCE_STEPS=" + StepsText(steps));
}

// The log of a run as readable lines: each step with its number, what happened within it indented.
std::string Readable(const std::vector<std::string>& lines) {
    std::string text;
    std::string step;
    for (const std::string& line : lines) {
        if (line.rfind("M ", 0) == 0) text += "    machine: " + line.substr(2) + "\n";
        if (line.rfind("@ ", 0) == 0) step = line.substr(2);
        if (line.rfind("L ", 0) != 0) continue;
        const std::string number = step.empty() ? "" : "[" + step + "]";
        step.clear();
        text += "    " + number + std::string(number.size() < 6 ? 6 - number.size() : 0, ' ') + line.substr(2) + "\n";
    }
    return text;
}

struct Failure {
    std::uint64_t seed = 0;
    Finding finding;
    int at = 0, length = 0;
    int seen = 1;
};

std::string Describe(const Failure& f, const std::set<std::string>& skip, Clock::time_point shrinkUntil) {
    std::string text = "\n*** " + f.finding.Invariant + ": " + f.finding.Detail + "\n";
    text += "    seed " + Hex(f.seed) + ", broken at step " + std::to_string(f.at) + " of " + std::to_string(f.length) +
            (f.seen > 1 ? " (seen in " + std::to_string(f.seen) + " sequences)" : "") + "\n";
    const std::vector<int> all = AllSteps(f.seed);
    const std::vector<int> shortest = Shrink(f.seed, all, f.finding.Invariant, skip, shrinkUntil);
    std::vector<std::string> log;
    // Shown as it runs: a sanitizer's report goes to the terminal.
    const Outcome o = RunInChild(f.seed, shortest, skip, &log, true);
    if (!o.finding) {
        text += "    it does not fail when run on its own: an earlier sequence in the same process left state behind\n";
        return text;
    }
    text += "    shortest sequence, " + std::to_string(shortest.size()) + " steps; replay with " +
            Replay(f.seed, shortest, shortest == all) + "\n";
    text += Readable(log);
    text += "    broken: " + o.finding->Invariant + ": " + o.finding->Detail + "\n";
    return text;
}

std::optional<std::uint64_t> EnvNumber(const char* name) {
    const char* text = std::getenv(name);
    if (!text || !*text) return std::nullopt;
    return std::strtoull(text, nullptr, 0);
}

Clock::duration Seconds(double seconds) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

// Runs random sequences until the deadline; returns the first sequence that broke each invariant.
std::map<std::string, Failure> Search(Clock::time_point deadline, std::uint64_t base, const std::set<std::string>& skip,
                                      std::uint64_t& sequences) {
    std::map<std::string, Failure> failures;
    auto seedOf = [base](std::uint64_t i) { return Rng(base + i).Next(); };
    for (std::uint64_t next = 0; Clock::now() < deadline;) {
        // One child runs sequence after sequence, as the unit tests share a process, until one
        // fails, it dies, or the time is up.
        const std::uint64_t first = next;
        const Ended ended = InChild(
            [&](int fd) {
                // A look for leaks takes longer than a sequence: one for every few.
                constexpr std::uint64_t LeakCheckEvery = 16;
                std::uint64_t unchecked = first;
                const auto marks = [fd](const std::string& line) {
                    if (line.rfind("@ ", 0) == 0) Send(fd, line);
                };
                std::uint64_t i = first;
                for (; Clock::now() < deadline; ++i) {
                    Send(fd, "S " + std::to_string(i));
                    const std::uint64_t seed = seedOf(i);
                    const std::vector<int> steps = AllSteps(seed);
                    const Outcome o = RunSteps(seed, steps, skip, marks, false);
                    if (o.finding) {
                        ReportOutcome(fd, {o.finding, steps.at(static_cast<size_t>(o.at))});
                        _exit(1);
                    }
                    if (i + 1 - unchecked < LeakCheckEvery) continue;
                    if (Leaked()) {
                        Send(fd, "B " + std::to_string(unchecked));
                        _exit(1);
                    }
                    unchecked = i + 1;
                }
                if (unchecked < i && Leaked()) Send(fd, "B " + std::to_string(unchecked));
                _exit(0);
            },
            true);
        std::optional<std::uint64_t> last, leakedFrom;
        int lastStep = -1;
        for (const std::string& line : ended.lines) {
            if (line.rfind("S ", 0) == 0) {
                last = std::stoull(line.substr(2));
                lastStep = -1;
            }
            if (line.rfind("@ ", 0) == 0) lastStep = std::stoi(line.substr(2));
            if (line.rfind("B ", 0) == 0) leakedFrom = std::stoull(line.substr(2));
        }
        if (!last) break;
        sequences += *last - first + 1;
        next = *last + 1;
        Outcome o = Judge(ended);
        std::uint64_t culprit = *last;
        if (leakedFrom) {
            // One of the sequences since the last look leaked: each alone shows which.
            o = {};
            for (std::uint64_t i = *leakedFrom; i <= *last && !o.finding; ++i) {
                const Outcome alone = RunInChild(seedOf(i), AllSteps(seedOf(i)), skip);
                if (alone.finding && alone.finding->Invariant == LeakFinding.Invariant) {
                    o = alone;
                    culprit = i;
                }
            }
            if (!o.finding) o = {Finding{"leak", "several sequences leaked together, none alone"}, 0};
        } else if (o.finding && o.at < 0) {
            o.at = std::max(lastStep, 0);  // died or hung during the last step begun
        }
        if (!o.finding) continue;
        const std::uint64_t seed = seedOf(culprit);
        auto [at, added] = failures.try_emplace(o.finding->Invariant);
        if (added) {
            at->second = Failure{seed, *o.finding, o.at, static_cast<int>(AllSteps(seed).size())};
            std::cout << "[sequence] " << o.finding->Invariant << " broken by seed " << Hex(seed) << std::endl;
        } else {
            ++at->second.seen;
        }
    }
    return failures;
}

}  // namespace

TEST(Sequences, KeepTheirInvariants) {
    const std::set<std::string> skip = Skipped();

    if (const auto seed = EnvNumber("VEXAMO_SEQUENCE_SEED")) {
        const char* stepsText = std::getenv("VEXAMO_SEQUENCE_STEPS");
        const bool some = stepsText && *stepsText;
        const std::vector<int> steps = some ? ParseSteps(stepsText) : AllSteps(*seed);
        std::vector<std::string> log;
        const Outcome o = RunInChild(*seed, steps, skip, &log, true);
        std::cout << "sequence " << Hex(*seed) << ", " << steps.size() << " steps:\n" << Readable(log);
        if (!o.finding) return;
        const Failure f{*seed, *o.finding, steps.at(static_cast<size_t>(o.at)), static_cast<int>(steps.size())};
        ADD_FAILURE() << (some ? "broken: " + o.finding->Invariant + ": " + o.finding->Detail
                               : Describe(f, skip, Clock::now() + 2 * ShrinkTime));
        return;
    }

    const char* secondsText = std::getenv("VEXAMO_SEQUENCE_SECONDS");
    const double seconds = secondsText && *secondsText ? std::strtod(secondsText, nullptr) : 5;
    const std::uint64_t base = std::uint64_t{std::random_device{}()} << 32 | std::random_device{}();
    const auto start = Clock::now();
    std::uint64_t sequences = 0;
    const std::map<std::string, Failure> failures = Search(start + Seconds(seconds), base, skip, sequences);
    std::cout << "[sequence] " << sequences << " sequences in "
              << std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start).count() << " s (seeds from "
              << Hex(base) << ")" << (failures.empty() ? ", no invariant broken" : "") << std::endl;

    // Shrinking gets as long as the search had, and no less than one failure may take.
    const Clock::time_point shrinkUntil = Clock::now() + std::max<Clock::duration>(Seconds(seconds), ShrinkTime);
    std::string report;
    for (const auto& [name, failure] : failures) {
        const auto now = Clock::now();
        if (now + std::chrono::seconds(2) < shrinkUntil)
            report += Describe(failure, skip, std::min<Clock::time_point>(shrinkUntil, now + ShrinkTime));
        else
            report += "\n*** " + name + ": " + failure.finding.Detail + "\n    replay with " +
                      Replay(failure.seed, {}, true) + "\n";
    }
    if (!report.empty()) ADD_FAILURE() << failures.size() << " invariants broken:" << report;
}
