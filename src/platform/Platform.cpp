#include "platform/Platform.h"

#include <algorithm>
#include <stdexcept>

namespace vexamo {

namespace {
Platform* current = nullptr;
}

Platform& Sys() {
    if (!current) throw std::logic_error("No platform installed");
    return *current;
}

std::string RegistryKeyPath(const std::string& key) {
    const size_t first = key.find_first_not_of('\\');
    if (first == std::string::npos) return {};
    return key.substr(first, key.find_last_not_of('\\') - first + 1);
}

std::vector<std::string> SplitZeroList(const std::string& list) {
    std::vector<std::string> names;
    for (size_t at = 0; at < list.size() && list[at] != '\0';) {
        const size_t end = std::min(list.find('\0', at), list.size());
        names.push_back(list.substr(at, end - at));
        at = end + 1;
    }
    return names;
}

std::string FileFilterPairs(const std::string& filter) {
    std::string pairs = filter.substr(0, filter.find_last_not_of('|') + 1);
    std::replace(pairs.begin(), pairs.end(), '|', '\0');
    return pairs.append(2, '\0');
}

const char* MessageTitle(MsgKind kind) {
    switch (kind) {
        case MsgKind::Warning: return "Warning";
        case MsgKind::Information: return "Information";
        case MsgKind::Error: return "Error";
        case MsgKind::Confirmation: return "Confirm";
        default: return "Vexamo";
    }
}

Platform* SetPlatform(Platform* platform) {
    Platform* previous = current;
    current = platform;
    return previous;
}

}  // namespace vexamo
