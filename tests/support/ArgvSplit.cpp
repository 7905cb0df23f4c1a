#include "support/ArgvSplit.h"

namespace vexamo::test {

std::vector<std::string> SplitArguments(const std::string& parameters) {
    std::vector<std::string> args;
    std::string arg;
    bool inArg = false, quoted = false;
    for (size_t i = 0; i < parameters.size();) {
        const char c = parameters[i];
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inArg) args.push_back(arg);
            arg.clear();
            inArg = false;
            ++i;
            continue;
        }
        inArg = true;
        if (c == '\\') {
            size_t n = 0;
            while (i < parameters.size() && parameters[i] == '\\') ++n, ++i;
            if (i < parameters.size() && parameters[i] == '"') {
                // 2n backslashes and a quote: n backslashes, and the quote opens or closes; 2n + 1:
                // n backslashes and a literal quote.
                arg.append(n / 2, '\\');
                if (n % 2) {
                    arg += '"';
                    ++i;
                }
            } else {
                arg.append(n, '\\');
            }
            continue;
        }
        if (c == '"') {
            // Inside quotes, a doubled quote is one literal quote.
            if (quoted && i + 1 < parameters.size() && parameters[i + 1] == '"') {
                arg += '"';
                i += 2;
                continue;
            }
            quoted = !quoted;
            ++i;
            continue;
        }
        arg += c;
        ++i;
    }
    if (inArg) args.push_back(arg);
    return args;
}

const std::vector<std::string>& ArgumentCases() {
    static const std::vector<std::string> cases = {
        "\"D:\\\\\"",
        "\"D:\\\"",
        "/dvd \"D:\\\\\"",
        "dvd:///\"D:\\\\\"",
        "--dvd-device=\"D:\\\\\" dvd://",
        "\"C:\\My Films\\\\\\\\\" next",
        "\"D:\\a b\\x.avi\" \"D:\\a b\\x.srt\"",
        "a\\\\\\\"b c",
        "  spaced   out\t tabs ",
        "\"\"",
        "x\"y z\"w",
    };
    return cases;
}

}  // namespace vexamo::test
