// Windows' rule for splitting a command line into arguments (CommandLineToArgvW, and the C
// runtime's), for the parameters of a started program: what a player receives. The conformance
// run under Wine holds it against the real function.
#pragma once

#include <string>
#include <vector>

namespace vexamo::test {

std::vector<std::string> SplitArguments(const std::string& parameters);

// Parameter strings on which the rule is checked against the real function.
const std::vector<std::string>& ArgumentCases();

}  // namespace vexamo::test
