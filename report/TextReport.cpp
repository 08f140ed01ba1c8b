#include "report/TextReport.h"

namespace corvella::TextReport {

void Write(const Comparison& comparison, const DifferenceReport::File& first,
           const DifferenceReport::File& second, QIODevice& out) {
    QString lines;
    auto flush = [&] {
        out.write(lines.toUtf8());
        lines.clear();
    };
    int number = 1;
    for (const auto* file : {&first, &second}) {
        const QLatin1Char marker(number == 1 ? '<' : '>');
        const std::vector<Difference>& differences = comparison.side(number).differences;
        for (size_t i = 0; i < differences.size(); ++i) {
            lines += QStringLiteral("p%1:l%2 ").arg(differences[i].page).arg(differences[i].line) +
                     marker + u' ' + DifferenceReport::TextOf(comparison, number, i, *file) + u'\n';
            if (lines.size() > 1 << 16) flush();
        }
        ++number;
    }
    flush();
}

}  // namespace corvella::TextReport
