// The few words that say what made a suggestion's score.
#include "Why.h"

#include <QStringList>

#include <algorithm>

namespace suggest {

namespace {

QString number(double value) {
    QString text = QString::number(value, 'f', 3);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

QString upper(const std::string& word) {
    return QString::fromStdString(word);
}

QString lower(const std::string& words) {
    return QString::fromStdString(words).toLower();
}

// A side's strengths, as one text: "800 mg + 160 mg".
QString dosesText(const std::vector<Quantity>& quantities, Quantity::Role role) {
    QStringList parts;
    for (const Quantity& q : quantities)
        if (q.role == role)
            parts << quantityText(q);
    return parts.join(QStringLiteral(" + "));
}

QString packText(const std::vector<Quantity>& quantities) {
    return dosesText(quantities, Quantity::Pack);
}

// The words found: each kind of finding once, in the order a clerk reads them.
QStringList wordsFound(const Ranker::Explanation& why, const HospitalWording& hospital,
                       bool hospitalIsQuery, bool medicine) {
    QStringList parts, same, little;
    bool registerSaid = false, genericSaid = false;
    QStringList dictionarySaid;
    for (const Ranker::Explanation::Match& m : why.matches) {
        const std::string& h = hospitalIsQuery ? m.queryWord : m.itemWord;
        const std::string& p = hospitalIsQuery ? m.itemWord : m.queryWord;
        const bool ofGeneric = hospitalIsQuery ? m.queryGeneric : m.itemGeneric;
        const QString pair = upper(h) + QStringLiteral(" ~ ") + upper(p);
        switch (m.how) {
        case Found::Taught:
            parts << QStringLiteral("taught by %1 %2: %3")
                         .arg(m.links)
                         .arg(m.links == 1 ? QStringLiteral("link") : QStringLiteral("links"),
                              pair);
            continue;
        case Found::Letters:
            parts << QStringLiteral("letters alike: ") + pair;
            continue;
        case Found::Near:
            parts << QStringLiteral("spelt near: ") + pair;
            continue;
        case Found::Beginning:
            parts << QStringLiteral("cut short: ") + pair;
            continue;
        case Found::Same:
            break;
        }
        // A route, a salt or a pack word says little of what the item is: named only when nothing
        // else was found.
        if (m.kind != WordKind::Plain && m.kind != WordKind::Number) {
            little << upper(h);
            continue;
        }
        if (ofGeneric && hospital.generic == HospitalWording::Generic::Register) {
            if (!registerSaid)
                parts << QStringLiteral("brand %1 = %2 (drug register)")
                             .arg(upper(hospital.registerBrand),
                                  hospital.registerGeneric.toLower());
            registerSaid = true;
            continue;
        }
        if (ofGeneric)
            genericSaid = true;
        // A word a brand of the dictionary stood for.
        const auto brand = std::find_if(hospital.dictionary.begin(), hospital.dictionary.end(),
                                        [&](const BrandRead& b) {
                                            const std::string spaced = ' ' + b.generic + ' ';
                                            return spaced.find(' ' + h + ' ') != std::string::npos;
                                        });
        if (brand != hospital.dictionary.end() && !ofGeneric) {
            const QString said = QStringLiteral("brand %1 = %2 (dictionary)")
                                     .arg(upper(brand->brand), lower(brand->generic));
            if (!dictionarySaid.contains(said))
                dictionarySaid << said;
            continue;
        }
        same << upper(h);
    }
    QStringList out = dictionarySaid;
    if (!same.isEmpty())
        out << (medicine || genericSaid ? QStringLiteral("generic ") : QStringLiteral("words ")) +
                   same.join(u' ');
    out += parts;
    if (out.isEmpty() && !little.isEmpty())
        out << QStringLiteral("words ") + little.join(u' ');
    return out;
}

// How the strengths, forms and packs agree.
QString strengthsAndForms(const Ranker::Explanation& why, bool hospitalIsQuery) {
    const auto& hq = hospitalIsQuery ? why.queryQuantities : why.itemQuantities;
    const auto& pq = hospitalIsQuery ? why.itemQuantities : why.queryQuantities;
    const std::uint32_t hf = hospitalIsQuery ? why.queryForms : why.itemForms;
    const std::uint32_t pf = hospitalIsQuery ? why.itemForms : why.queryForms;
    const QString hs = dosesText(hq, Quantity::Dose), ps = dosesText(pq, Quantity::Dose);
    QStringList agree, differ;
    switch (why.quantity.strength) {
    case StrengthFit::Same:
        agree << ps;
        break;
    case StrengthFit::Total: {
        const QString ht = dosesText(hq, Quantity::Total), pt = dosesText(pq, Quantity::Total);
        agree << (ht.isEmpty() ? hs + QStringLiteral(" for ") + pt
                               : ht + QStringLiteral(" for ") + ps);
        break;
    }
    case StrengthFit::MgForMcg:
        agree << hs + QStringLiteral(" as ") + ps;
        break;
    case StrengthFit::Partly:
    case StrengthFit::Numerator:
        differ << QStringLiteral("strength in part: %1 against %2").arg(hs, ps);
        break;
    case StrengthFit::OneSide:
        differ << (hs.isEmpty() ? QStringLiteral("no strength named")
                                : QStringLiteral("the PhilHealth item names no strength"));
        break;
    case StrengthFit::Differs:
        differ << QStringLiteral("strength differs: %1 against %2").arg(hs, ps);
        break;
    case StrengthFit::NoneNamed:
        break;
    }
    if (hf && pf) {
        if (hf & pf)
            agree << formText(hf & pf);
        else if (formsAgree(hf, pf))
            agree << formText(hf) + QStringLiteral(" for ") + formText(pf);
        else
            differ << QStringLiteral("form differs: %1 against %2").arg(formText(hf), formText(pf));
    }
    if (why.quantity.packDiffers)
        differ << QStringLiteral("pack differs: %1 against %2").arg(packText(hq), packText(pq));
    QStringList out;
    if (!agree.isEmpty())
        out << agree.join(QStringLiteral(" and ")) +
                   (agree.size() > 1 ? QStringLiteral(" agree") : QStringLiteral(" agrees"));
    out << differ;
    return out.join(QStringLiteral("; "));
}

} // namespace

QString quantityText(const Quantity& q) {
    const QString per = q.perMl ? QStringLiteral("/mL") : QString();
    switch (q.dimension) {
    case Quantity::Mass:
        if (q.value >= 1000 && !q.perMl)
            return number(q.value / 1000) + QStringLiteral(" g");
        if (q.value > 0 && q.value < 1)
            return number(q.value * 1000) + QStringLiteral(" mcg") + per;
        return number(q.value) + QStringLiteral(" mg") + per;
    case Quantity::Volume:
        return q.value >= 1000 ? number(q.value / 1000) + QStringLiteral(" L")
                               : number(q.value) + QStringLiteral(" mL");
    case Quantity::Percent:
        return number(q.value) + QStringLiteral(" %");
    case Quantity::Units:
        return number(q.value) + QStringLiteral(" IU") + per;
    case Quantity::Equivalents:
        return number(q.value) + QStringLiteral(" mEq") + per;
    case Quantity::Moles:
        return number(q.value) + QStringLiteral(" mmol") + per;
    case Quantity::Length:
        return number(q.value) + QStringLiteral(" cm");
    case Quantity::Gauge:
        return QStringLiteral("gauge ") + number(q.value);
    case Quantity::French:
        return QStringLiteral("Fr ") + number(q.value);
    case Quantity::Size:
        return QStringLiteral("size ") + number(q.value);
    }
    return number(q.value);
}

QString formText(std::uint32_t forms) {
    static const char* const names[] = {
        "tablet",     "capsule", "injection", "ampule",      "vial",    "syrup",
        "suspension", "drops",   "solution",  "nebule",      "inhaler", "cream",
        "ointment",   "gel",     "lotion",    "suppository", "powder",  "sachet",
        "granules",   "spray",   "patch",     "lozenge",     "elixir",  "infusion"};
    for (size_t bit = 0; bit < std::size(names); ++bit)
        if (forms & (1u << bit))
            return QLatin1String(names[bit]);
    return QString();
}

QString whyText(const Ranker::Explanation& why, const HospitalWording& hospital,
                bool hospitalIsQuery) {
    QStringList parts;
    if (why.byStrength) {
        parts << QStringLiteral("no word in common");
    } else {
        const bool medicine =
            why.queryForms || why.itemForms || why.quantity.strength != StrengthFit::NoneNamed;
        parts << wordsFound(why, hospital, hospitalIsQuery, medicine);
    }
    const QString quantities = strengthsAndForms(why, hospitalIsQuery);
    if (!quantities.isEmpty())
        parts << quantities;
    return parts.join(QStringLiteral("; "));
}

} // namespace suggest
