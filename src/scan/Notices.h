// The word from the tray after a scan a disc arrival started: one line on what plays and with
// which player, or on why nothing does and what to do about it.
#pragma once

#include <cstdint>
#include <string>

#include "model/CommandLines.h"
#include "model/general.h"

namespace vexamo {

// `drives` are the roots the played files came from and `label` the disc's label ("[Various]"
// for several drives, which names none).
std::string PlayingNotice(const std::string& player, const TLaunch& launch, const StringList& drives,
                          const std::string& label);
// `drives` are the watched drives that hold a disc.
std::string NothingToPlayNotice(const StringList& drives, const std::string& label);
// The shell's answer was `shellResult` (32 or below); `missing` when the program's file is not there.
std::string NotStartedNotice(const std::string& player, const std::string& exe, std::intptr_t shellResult,
                             bool missing);

// A text as the balloon's field holds it: a longer one is cut and ended with "...".
std::string FitBalloon(const std::string& text);

inline const std::string NoticeTitle = "Vexamo";

}  // namespace vexamo
