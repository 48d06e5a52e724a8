// The suggestions' reading of a wording: any text gives words of upper-case letters, digits and
// the signs of sizes, finite quantities, and an item always ranks itself first.
#include "FuzzInput.h"

#include "core/suggest/Analysis.h"
#include "core/suggest/Ranker.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = fuzz::text(data, size);
    const suggest::Analysis a = suggest::analyse(text);
    for (const suggest::Word& w : a.words) {
        if (w.text.empty())
            fuzz::fail("an empty word", text);
        for (char c : w.text)
            if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-'))
                fuzz::fail("a word with another character", text);
    }
    for (const suggest::Quantity& q : a.quantities)
        if (!std::isfinite(q.value))
            fuzz::fail("a quantity that is no number", text);
    // The text among two others: nothing reads more like it than itself.
    suggest::Ranker ranker;
    ranker.build({{suggest::analyse(QStringLiteral("ZZQX WIDGET 5MG")), {}},
                  {a, {}},
                  {suggest::analyse(QStringLiteral("PARACETAMOL 500MG TAB")), {}}});
    const auto hits = ranker.rank({a, {}}, 3, nullptr);
    double own = -1, best = 0;
    for (const auto& hit : hits) {
        best = std::max(best, hit.score);
        if (hit.item == 1)
            own = hit.score;
    }
    if (!hits.empty() && own + 1e-9 < best)
        fuzz::fail("another item reads more like the text than the text itself", text);
    return 0;
}
