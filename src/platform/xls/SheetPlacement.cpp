#include "platform/xls/SheetPlacement.h"

#include <algorithm>
#include <map>

namespace sortilo::xls {

namespace {

constexpr uint16_t Window2Selected = 0x0200;

// Pairs sheets with substreams (by their section). A pointer counts when it leads to a
// substream no other sheet points at. The sheets left over take the substreams left over in
// order, as they follow the globals; that is certain only when one sheet and one substream are
// left.
std::vector<int> pairSheets(const RecordStream& stream, const std::vector<int>& subs,
                            const SheetDirectory& dir, QString& doubt) {
    std::map<uint32_t, size_t> byStart;
    for (size_t j = 0; j < subs.size(); ++j) {
        byStart[stream.sections[size_t(subs[j])].begin] = j;
    }
    std::vector<long> pointed(dir.offsets.size(), -1);
    std::vector<int> claims(subs.size(), 0);
    for (size_t i = 0; i < dir.offsets.size(); ++i) {
        if (const auto it = byStart.find(dir.offsets[i]); it != byStart.end()) {
            pointed[i] = long(it->second);
            ++claims[it->second];
        }
    }
    std::vector<int> paired(dir.offsets.size(), -1);
    std::vector<bool> taken(subs.size(), false);
    std::vector<size_t> leftSheets;
    for (size_t i = 0; i < pointed.size(); ++i) {
        if (pointed[i] >= 0 && claims[size_t(pointed[i])] == 1) {
            paired[i] = subs[size_t(pointed[i])];
            taken[size_t(pointed[i])] = true;
        } else {
            leftSheets.push_back(i);
        }
    }
    std::vector<int> leftSubs;
    for (size_t j = 0; j < subs.size(); ++j) {
        if (!taken[j]) {
            leftSubs.push_back(subs[j]);
        }
    }
    for (size_t k = 0; k < leftSheets.size() && k < leftSubs.size(); ++k) {
        paired[leftSheets[k]] = leftSubs[k];
    }
    if (!leftSheets.empty() && (leftSheets.size() != 1 || leftSubs.size() != 1)) {
        doubt = QStringLiteral("%1 sheet positions do not lead to a sheet of their own")
                    .arg(leftSheets.size());
    }
    return paired;
}

}  // namespace

SheetInfo::Type biffSheetType(uint8_t code) {
    switch (code) {
        case 0:
            return SheetInfo::Type::Worksheet;
        case 1:
            return SheetInfo::Type::MacroSheet;
        case 2:
            return SheetInfo::Type::Chart;
        case 6:
            return SheetInfo::Type::VbModule;
        default:
            return SheetInfo::Type::Other;
    }
}

int resolveActiveSheet(const std::vector<SheetInfo>& sheets, long recorded) {
    if (sheets.empty()) {
        return -1;
    }
    if (recorded >= 0 && size_t(recorded) < sheets.size()) {
        return int(recorded);
    }
    for (size_t i = 0; i < sheets.size(); ++i) {
        if (sheets[i].type == SheetInfo::Type::Worksheet && !sheets[i].hidden) {
            return int(i);
        }
    }
    return 0;
}

SheetPlacement placeSheets(const RecordStream& stream, size_t from, const SheetDirectory& dir) {
    std::vector<int> subs;
    for (size_t s = from; s < stream.sections.size(); ++s) {
        if (stream.sections[s].substream) {
            subs.push_back(int(s));
        }
    }
    SheetPlacement out;
    out.sections = pairSheets(stream, subs, dir, out.doubt);
    // Excel writes one WINDOW1 per window of the workbook; the last one decides. When the
    // windows show different sheets, that sheet's view in the same window must say "selected".
    const long recorded = dir.windowTabs.empty() ? -1 : dir.windowTabs.back();
    out.active = resolveActiveSheet(dir.sheets, recorded);
    const bool windowsDisagree = std::any_of(dir.windowTabs.begin(), dir.windowTabs.end(),
                                             [&](long tab) { return tab != recorded; });
    if (windowsDisagree && out.active >= 0 && out.doubt.isEmpty()) {
        const int section =
            size_t(out.active) < out.sections.size() ? out.sections[size_t(out.active)] : -1;
        const size_t window = dir.windowTabs.size() - 1;
        const auto& flags =
            section >= 0 ? stream.sections[size_t(section)].windowFlags : std::vector<uint16_t>{};
        if (window >= flags.size() || (flags[window] & Window2Selected) == 0) {
            out.doubt = QStringLiteral("the workbook's windows show different sheets");
        }
    }
    return out;
}

}  // namespace sortilo::xls
