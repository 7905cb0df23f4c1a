// The search of the monitored drives for the files of the selected players: one walk of each drive
// collects every selected extension at once. A disc is slow to list, and a walk per (player,
// extension) pair lists every folder once per pair; the result is the same either way.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/PlayersCfg.h"
#include "model/general.h"

namespace vexamo {

class TSelectedPlayer;

// What a drive root holds when its disc is played as a whole: the structure of a DVD-Video,
// Blu-ray, Video CD or Super Video CD, recognised by its folders and files without regard to case.
// A broken structure (a VIDEO_TS folder without VIDEO_TS.IFO, an empty BDMV) is a data disc: None.
struct DiscStructure {
    DiscKind Kind = DiscKind::None;
    // The root's folders that belong to the structure (full paths ending in a backslash): their
    // files are the disc's own and are never offered as loose files.
    StringList Folders;
};
DiscStructure RecogniseDisc(const std::string& root);
// The same from the root's listing, already made.
DiscStructure RecogniseDisc(const std::string& root, const std::vector<DirEntry>& top);

struct SearchPlayer {
    std::string Name;
    StringList Extensions;  // such as ".avi", or a disc kind such as "DVD-Video", in the player's order
};

struct DiscSearchResult {
    // For every player in order, each of its extensions that had files, in the player's order:
    // the extension, then the player's name.
    StringList FoundPairs;
    // Files[player][extension]: the full paths found, drive by drive in the order of the roots, each
    // drive's in the order of FindFiles(root + "*" + extension). A file whose name ends with the
    // extension (without regard to case) counts for every player that has that extension. For a
    // disc kind: the roots holding a disc of that kind.
    std::vector<std::vector<StringList>> Files;
    // The roots on which anything was found, sorted without regard to case, each drive once.
    StringList MediaDrives;
};

// Lets a long search keep its window alive; either member may be empty.
struct DiscSearchProgress {
    // After each folder is listed: the folder and how many folders have been listed so far, from 1.
    std::function<void(const std::string& folder, int listed)> Folder;
    // After the walks, once for every player in order (also one without extensions), before its
    // files are handed over.
    std::function<void(size_t player)> Player;
};

// Walks each distinct root once. A folder that cannot be read, and a drive without a disc, give no
// files; errors of the platform propagate.
DiscSearchResult SearchDiscs(const StringList& roots, const std::vector<SearchPlayer>& players,
                             const DiscSearchProgress& progress = {});

// The same over the user's selection: every extension's Found is replaced (null when nothing was
// found, else a playlist of the files), foundPairs receives the pairs, and the media drives are
// returned.
StringList CollectDiscFiles(const StringList& roots, TSelectedPlayer& selection, StringList& foundPairs,
                            const DiscSearchProgress& progress = {});

}  // namespace vexamo
