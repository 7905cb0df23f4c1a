#include "platform/Controls.h"

#include <cctype>

namespace vexamo {

namespace {

// The access-key character of a caption ("&&" is a literal ampersand), or 0.
int AccessKeyOf(const std::string& caption) {
    for (size_t at = caption.find('&'); at != std::string::npos && at + 1 < caption.size();
         at = caption.find('&', at + 2)) {
        if (caption[at + 1] != '&') return std::tolower(static_cast<unsigned char>(caption[at + 1]));
    }
    return 0;
}

}  // namespace

MenuKeyAnswer MenuAccessKey(const std::vector<std::string>& captions, const std::vector<bool>& enabled, char key,
                            int selected) {
    const int wanted = std::tolower(static_cast<unsigned char>(key));
    std::vector<int> matches;
    for (size_t i = 0; i < captions.size(); ++i)
        if (i < enabled.size() && enabled[i] && AccessKeyOf(captions[i]) == wanted) matches.push_back(static_cast<int>(i));
    if (matches.empty()) return {};
    if (matches.size() == 1) return {matches.front(), true};
    // As Windows does with a shared mnemonic: each press selects the next item that has it.
    for (int index : matches)
        if (index > selected) return {index, false};
    return {matches.front(), false};
}

int TPopupMenu::NumberOf(TMenuPlace place) const {
    int number = 0;
    for (int i = 0; i < static_cast<int>(Items.size()); ++i) {
        if (i == place.Item) {
            const int subs = static_cast<int>(Items[i].Items.size());
            if (place.SubItem < 0) return number;
            return place.SubItem < subs ? number + 1 + place.SubItem : -1;
        }
        number += 1 + static_cast<int>(Items[i].Items.size());
    }
    return -1;
}

TMenuPlace TPopupMenu::PlaceOf(int number) const {
    if (number < 0) return {};
    for (int i = 0; i < static_cast<int>(Items.size()); ++i) {
        if (number == 0) return {i, -1};
        const int subs = static_cast<int>(Items[i].Items.size());
        if (number <= subs) return {i, number - 1};
        number -= 1 + subs;
    }
    return {};
}

int TPopupMenu::NumberOfCommand(unsigned command) const {
    if (command < FirstCommand) return -1;
    const int number = static_cast<int>(command - FirstCommand);
    return PlaceOf(number).Item >= 0 ? number : -1;
}

MenuKeyAnswer TPopupMenu::AccessKey(char key, int selected) const {
    std::vector<std::string> captions;
    std::vector<bool> enabled;
    for (const TMenuItem& item : Items) {
        captions.push_back(item.IsSeparator() ? std::string() : item.Caption);
        enabled.push_back(item.Enabled && item.Visible && !item.IsSeparator());
    }
    return MenuAccessKey(captions, enabled, key, selected);
}

std::vector<int> TPopupMenu::Shown() const {
    std::vector<int> shown;
    for (int i = 0; i < static_cast<int>(Items.size()); ++i)
        if (Items[i].Visible) shown.push_back(i);
    return shown;
}

MenuKeyAnswer TPopupMenu::ShownAccessKey(char key, int selected) const {
    TPopupMenu shown;
    for (int at : Shown()) shown.Items.push_back(Items[at]);
    return shown.AccessKey(key, selected);
}

}  // namespace vexamo
