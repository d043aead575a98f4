#include "officeexport/keyword_list.h"

namespace tarnwell {

namespace {

struct keyword_slot {
    std::string_view caption;
    std::string_view default_text;
};

constexpr keyword_slot slots[] = {
    {"Start", "Start"},
    {"Statement", "Statement"},
    {"Code", "Code"},
    {"Return", "Return"},
    {"Exit", "Exit"},
    {"Break", "Break"},
    {"Continue", "Continue"},
    {"Label", "Label"},
    {"Goto", "Goto"},
    {"Catch", "Catch"},
    {"For2", "For"},
    {"For", "For"},
    {"End", "End"},
    {"Do Until", "Do Until"},
    {"Until", "Until"},
    {"Do While", "Do While"},
    {"While", "While"},
    {"Until Do", "Until Do"},
    {"While Do", "While Do"},
    {"Switch2", "Switch"},
    {"Switch", "Switch"},
    {"Case", "Case"},
    {"Default", "Default"},
    {"Switch End", ""},
    {"IF2", "IF"},
    {"IF", "IF"},
    {"Dot", ""},
    {"Connector", ""},
    {"True Line", "True"},
    {"False Line", "False"},
};

constexpr int captioned_slots = static_cast<int>(std::size(slots));

keyword_list make_default_keywords() {
    keyword_list keywords;
    for (int i = 0; i < captioned_slots; ++i) keywords[i] = std::string(slots[i].default_text);
    return keywords;
}

}  // namespace

std::string_view keyword_caption(int slot) {
    return slot >= 0 && slot < captioned_slots ? slots[slot].caption : std::string_view();
}

const keyword_list& default_keywords() {
    static const keyword_list keywords = make_default_keywords();
    return keywords;
}

std::string_view keyword_of(const keyword_list& keywords, int slot) {
    return slot >= 0 && slot < keyword_slot_count ? std::string_view(keywords[slot])
                                                  : std::string_view();
}

}  // namespace tarnwell
