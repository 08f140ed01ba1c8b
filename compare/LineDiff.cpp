#include "compare/LineDiff.h"

#include <QHash>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "app/PaneText.h"

namespace corvella::LineDiff {

namespace {

struct ViewHash {
    size_t operator()(QStringView view) const noexcept { return qHash(view); }
};

// Start positions of the pieces of a text that are followed by a CR.
struct PieceIndex {
    std::vector<QStringView> pieces;
    std::vector<qsizetype> starts;

    explicit PieceIndex(QStringView text) {
        qsizetype start = 0;
        for (;;) {
            const qsizetype cr = text.indexOf(PaneText::kCR, start);
            if (cr < 0) break;
            pieces.push_back(text.mid(start, cr - start));
            starts.push_back(start);
            start = cr + 1;
        }
    }
};

// The literal search: from the start, then two characters after each match's start.
void searchEverywhere(QStringView text, QStringView searchText, std::vector<TextRange>& found) {
    const QString needle = searchText.toString() + PaneText::kCR;
    qsizetype at = text.indexOf(needle, 0);
    while (at >= 0) {
        found.push_back({at, needle.size()});
        at = text.indexOf(needle, at + 2);
    }
}

}  // namespace

std::vector<QStringView> CutAtCR(QStringView text) {
    std::vector<QStringView> pieces;
    if (text.isEmpty()) return pieces;
    qsizetype start = 0;
    for (;;) {
        const qsizetype cr = text.indexOf(PaneText::kCR, start);
        if (cr < 0) {
            pieces.push_back(text.mid(start));
            return pieces;
        }
        pieces.push_back(text.mid(start, cr - start));
        start = cr + 1;
    }
}

std::vector<qsizetype> PiecesMissingFrom(const std::vector<QStringView>& own,
                                         const std::vector<QStringView>& other,
                                         const std::function<void()>& tick) {
    std::unordered_set<QStringView, ViewHash> present(other.begin(), other.end());
    std::vector<qsizetype> missing;
    for (size_t i = 0; i < own.size(); ++i) {
        tick();
        if (present.find(own[i]) == present.end()) missing.push_back(qsizetype(i));
    }
    return missing;
}

Occurrences FindPiecesFollowedByCR(QStringView text, const std::vector<QStringView>& searchTexts) {
    Occurrences result;
    if (searchTexts.empty() || text.isEmpty()) return result;

    // In a pane's text an LF stands only right after a CR, so a piece followed by CR is either
    // a piece that starts with LF, which occurs exactly where an equal piece stands, or a piece
    // without LF, which occurs at the end of every piece that ends with it.
    const PieceIndex index(text);
    std::unordered_map<QStringView, std::vector<qsizetype>, ViewHash> startsByPiece;
    for (size_t k = 0; k < index.pieces.size(); ++k)
        startsByPiece[index.pieces[k]].push_back(index.starts[k]);

    std::unordered_map<QStringView, std::vector<TextRange>, ViewHash> perText;
    for (QStringView searchText : searchTexts) {
        if (perText.count(searchText)) continue;
        std::vector<TextRange>& found = perText[searchText];
        const qsizetype lf = searchText.indexOf(PaneText::kLF);
        if (lf == 0) {
            const auto it = startsByPiece.find(searchText);
            if (it != startsByPiece.end())
                for (qsizetype start : it->second) found.push_back({start, searchText.size() + 1});
        } else if (lf < 0) {
            for (size_t k = 0; k < index.pieces.size(); ++k) {
                if (index.pieces[k].endsWith(searchText))
                    found.push_back({index.starts[k] + index.pieces[k].size() - searchText.size(),
                                     searchText.size() + 1});
            }
        } else {
            searchEverywhere(text, searchText, found);
        }
    }

    for (auto it = searchTexts.rbegin(); it != searchTexts.rend(); ++it) {
        const std::vector<TextRange>& found = perText[*it];
        if (!found.empty()) {
            result.hasLast = true;
            result.last = found.back();
            break;
        }
    }

    for (const auto& entry : perText)
        result.ranges.insert(result.ranges.end(), entry.second.begin(), entry.second.end());
    std::sort(result.ranges.begin(), result.ranges.end(),
              [](const TextRange& a, const TextRange& b) { return a.start < b.start; });
    std::vector<TextRange> merged;
    for (const TextRange& range : result.ranges) {
        if (!merged.empty() && range.start <= merged.back().start + merged.back().length) {
            TextRange& back = merged.back();
            back.length = std::max(back.length, range.start + range.length - back.start);
        } else {
            merged.push_back(range);
        }
    }
    result.ranges = std::move(merged);
    return result;
}

}  // namespace corvella::LineDiff
