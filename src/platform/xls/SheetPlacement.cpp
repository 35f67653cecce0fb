#include "platform/xls/SheetPlacement.h"

#include "platform/xls/BiffStream.h"

#include <algorithm>
#include <map>

namespace sortilo::xls {

namespace {

constexpr uint16_t Window2 = 0x023E;
constexpr uint16_t Window2Selected = 0x0200;

// Pairs sheets with substreams. A pointer counts when it leads to a substream no other sheet
// points at. The sheets left over take the substreams left over in order, as they follow the
// globals; that is certain only when one sheet and one substream are left.
std::vector<int> pairSheets(const std::vector<Substream>& subs, const SheetDirectory& dir,
                            QString& doubt) {
    std::map<size_t, int> byStart;
    for (size_t i = 0; i < subs.size(); ++i) {
        byStart[subs[i].begin] = int(i);
    }
    std::vector<int> pointed(dir.offsets.size(), -1);
    std::vector<int> claims(subs.size(), 0);
    for (size_t i = 0; i < dir.offsets.size(); ++i) {
        if (const auto it = byStart.find(dir.offsets[i]); it != byStart.end()) {
            pointed[i] = it->second;
            ++claims[size_t(it->second)];
        }
    }
    std::vector<int> paired(dir.offsets.size(), -1);
    std::vector<bool> taken(subs.size(), false);
    std::vector<size_t> leftSheets;
    for (size_t i = 0; i < pointed.size(); ++i) {
        if (pointed[i] >= 0 && claims[size_t(pointed[i])] == 1) {
            paired[i] = pointed[i];
            taken[size_t(pointed[i])] = true;
        } else {
            leftSheets.push_back(i);
        }
    }
    std::vector<int> leftSubs;
    for (size_t j = 0; j < subs.size(); ++j) {
        if (!taken[j]) {
            leftSubs.push_back(int(j));
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

std::vector<Substream> findSubstreams(const QByteArray& stream, size_t from) {
    RecordReader reader(reinterpret_cast<const uint8_t*>(stream.constData()), size_t(stream.size()),
                        from);
    std::vector<Substream> out;
    Record r;
    int depth = 0;
    while (reader.next(r)) {
        if (r.type == rec::Bof) {
            if (depth++ == 0) {
                out.push_back({r.offset, {}});
            }
        } else if (r.type == rec::Eof) {
            depth = std::max(depth - 1, 0);
        } else if (depth == 1 && r.type == Window2 && r.body.size >= 2) {
            out.back().windowFlags.push_back(le16(r.body.data));
        }
    }
    return out;
}

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

SheetPlacement placeSheets(const std::vector<Substream>& subs, const SheetDirectory& dir) {
    SheetPlacement out;
    const std::vector<int> paired = pairSheets(subs, dir, out.doubt);
    out.starts.assign(paired.size(), SheetPlacement::NotFound);
    for (size_t i = 0; i < paired.size(); ++i) {
        if (paired[i] >= 0) {
            out.starts[i] = subs[size_t(paired[i])].begin;
        }
    }
    // Excel writes one WINDOW1 per window of the workbook; the last one decides. When the
    // windows show different sheets, that sheet's view in the same window must say "selected".
    const long recorded = dir.windowTabs.empty() ? -1 : dir.windowTabs.back();
    out.active = resolveActiveSheet(dir.sheets, recorded);
    const bool windowsDisagree = std::any_of(dir.windowTabs.begin(), dir.windowTabs.end(),
                                             [&](long tab) { return tab != recorded; });
    if (windowsDisagree && out.active >= 0 && out.doubt.isEmpty()) {
        const int sub = size_t(out.active) < paired.size() ? paired[size_t(out.active)] : -1;
        const size_t window = dir.windowTabs.size() - 1;
        const bool confirmed = sub >= 0 && window < subs[size_t(sub)].windowFlags.size() &&
                               (subs[size_t(sub)].windowFlags[window] & Window2Selected) != 0;
        if (!confirmed) {
            out.doubt = QStringLiteral("the workbook's windows show different sheets");
        }
    }
    return out;
}

}  // namespace sortilo::xls
