// The suggestions' reading of a wording: any text gives words of upper-case letters, digits and
// the signs of sizes, finite quantities, and an item always ranks itself first; its score has an
// explanation; a brand of the register named by the text is read back as that brand's generic.
#include "FuzzInput.h"

#include "core/suggest/Analysis.h"
#include "core/suggest/BrandRegister.h"
#include "core/suggest/Ranker.h"
#include "core/suggest/Why.h"

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
    // Every hit's score is explained, by the same scoring.
    for (const auto& hit : hits) {
        const auto why = ranker.explain({a, {}}, hit.item, {});
        if (std::abs(why.score - hit.score) > 1e-9)
            fuzz::fail("an explanation of another score", text);
        if (suggest::whyText(why, {}, false).isEmpty())
            fuzz::fail("a score without a why", text);
    }
    // The text as a brand of the register: a name that writes it reads its generic.
    suggest::BrandRegister brands;
    brands.build(
        {{text, QStringLiteral("Zyxolamide"), QStringLiteral("5 mg"), QStringLiteral("Tablet")}});
    if (const auto reading = brands.read(text + QStringLiteral(" 5MG TAB"), a)) {
        if (reading->generic != u"Zyxolamide")
            fuzz::fail("a brand read as another generic", text);
    } else if (brands.brands() > 0 && brands.read(text, a)) {
        fuzz::fail("a brand found alone but not beside its strength", text);
    }
    return 0;
}
